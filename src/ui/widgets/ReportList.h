#pragma once

#include "export/ListData.h"

#include <QAbstractTableModel>
#include <QTreeView>

// The rows of a ReportList; the list owns it.
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
    void setHeader(int column, const QString& header);
    void setColumnWidth(int column, int twips) { list_.columns[column].width = twips; }
    void setCheckable(bool on);
    void sortRows(int column, Qt::SortOrder order);

signals:
    void rowCheckChanged(int row, bool checked);

private:
    ListData list_;
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
    void clearRows() { setRows({}); }
    const ListData& listData() const { return model_->list(); }
    int rowCount() const { return model_->list().rowCount(); }

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

private:
    void applyWidths();
    int columnPixels(int column, int twips) const;

    ReportListModel* model_;
    bool sortOnHeaderClick_ = true;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

// The width of the primary screen in pixels.
int GetScreenWidthPixels();
