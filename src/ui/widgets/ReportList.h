#pragma once

#include "export/ListData.h"
#include "export/ListSource.h"

#include <QAbstractTableModel>
#include <QSet>
#include <QTreeView>

#include <memory>

// The rows of a ReportList; the list owns it. They are held whole (a
// ListData), or read a page at a time as they are shown (a PagedList, for a
// list too long to hold); the columns are always held.
class ReportListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ReportListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const ListData& list() const { return list_; }
    void setList(ListData list);
    void setRows(QVector<ListRow> rows);
    void setPagedRows(std::shared_ptr<PagedList> rows);
    bool paged() const { return paged_ != nullptr; }
    QString cell(int row, int column) const;
    QString key(int row) const;   // the first cell, without reading a paged row
    bool isChecked(int row) const;
    // Ticks the rows with those keys, and only those.
    void setCheckedKeys(const QStringList& keys);
    void setHeader(int column, const QString& header);
    void setColumnWidth(int column, int twips) { list_.columns[column].width = twips; }
    void setCheckable(bool on);
    bool checkable() const { return checkable_; }
    void sortRows(int column, Qt::SortOrder order);

signals:
    void rowCheckChanged(int row, bool checked);
    // Rows of a paged list could not be read (they show their key only).
    void rowsUnreadable(const QString& message);

private:
    void reportUnreadable() const;

    ListData list_;
    std::shared_ptr<PagedList> paged_;
    QSet<QString> checkedKeys_;   // the ticked rows of a paged list, by key
    bool checkable_ = false;
};

// A report view of a ListData: one line per row, columns as wide as their
// twips at the screen's logical resolution (width 0 hides a column, which the
// exports still write), an optional check box per row, and sorting by the
// text of a column on a header click, each click reversing the order (the
// first one sorts descending). listData() gives the rows back as shown.
class ReportList : public QTreeView {
    Q_OBJECT
public:
    explicit ReportList(QWidget* parent = nullptr);

    // Replaces columns and rows; keeps the sort order state.
    void setListData(ListData list);
    // Replaces only the rows (column headers and widths stay).
    void setRows(QVector<ListRow> rows);
    // Shows rows read as they are shown instead (column headers and widths
    // stay); the ticks go.
    void setPagedRows(std::shared_ptr<PagedList> rows);
    void clearRows() { setRows({}); }
    // The columns, and the rows when they are held whole (a paged list's
    // rows are not in it: use cellText()).
    const ListData& listData() const { return model_->list(); }
    int rowCount() const { return model_->rowCount(); }
    QString cellText(int row, int column) const { return model_->cell(row, column); }
    // The cells of one column, top to bottom (a paged list reads them all).
    QStringList columnCells(int column) const;
    // The first cells of the ticked rows, top to bottom.
    QStringList checkedKeys() const;
    // Ticks the rows whose first cells are those keys (a key no row has is
    // dropped), and no other.
    void setCheckedKeys(const QStringList& keys) { model_->setCheckedKeys(keys); }
    // The row whose first cell is key; -1 when none (a paged list looks
    // only at the keys it holds, reading no row).
    int rowOfKey(const QString& key) const;

    void setHeaderText(int column, const QString& header);
    void setColumnWidthTwips(int column, int twips);
    int columnWidthTwips(int column) const;

    void setCheckBoxes(bool on);
    void setSortOnHeaderClick(bool on) { sortOnHeaderClick_ = on; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }
    // Sorts by a column with the given order, as a header click does.
    void sortRows(int column, Qt::SortOrder order);
    // What a header click does: reverse the order, then sort by the column.
    void toggleSort(int column);

    QVector<int> checkedRows() const;
    QVector<int> selectedRows() const;   // ascending
    int currentRow() const;              // -1 when none
    void selectRow(int row, bool add = false);

    int twipsToPixels(int twips) const;

signals:
    void rowClicked(int row);
    void rowCheckChanged(int row, bool checked);
    void rowsUnreadable(const QString& message);

private:
    void applyWidths();
    int columnPixels(int column, int twips) const;

    ReportListModel* model_;
    bool sortOnHeaderClick_ = true;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

// The width of the primary screen in pixels.
int GetScreenWidthPixels();
