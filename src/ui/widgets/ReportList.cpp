#include "ui/widgets/ReportList.h"

#include "ui/widgets/Say.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <numeric>

int ReportListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return paged_ ? paged_->rowCount() : list_.rowCount();
}

int ReportListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : list_.columnCount();
}

QString ReportListModel::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        return QString();
    if (!paged_)
        return list_.rows[row].cell(column);
    const QString text = paged_->row(row).cell(column);
    reportUnreadable();
    return text;
}

QString ReportListModel::key(int row) const
{
    if (row < 0 || row >= rowCount())
        return QString();
    return paged_ ? paged_->key(row) : list_.rows[row].text;
}

bool ReportListModel::isChecked(int row) const
{
    if (row < 0 || row >= rowCount())
        return false;
    return paged_ ? checkedKeys_.contains(paged_->key(row)) : list_.rows[row].checked;
}

void ReportListModel::reportUnreadable() const
{
    const QString error = paged_->takeError();
    if (error.isEmpty())
        return;
    // Rows are read while the view paints: the message waits until it is done.
    auto* self = const_cast<ReportListModel*>(this);
    QMetaObject::invokeMethod(self, [self, error] { Q_EMIT self->rowsUnreadable(error); }, Qt::QueuedConnection);
}

QVariant ReportListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return cell(index.row(), index.column());
    if (role == Qt::CheckStateRole && checkable_ && index.column() == 0)
        return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
    return QVariant();
}

bool ReportListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || !checkable_ || index.column() != 0)
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    if (!paged_)
        list_.rows[index.row()].checked = checked;
    else if (checked)
        checkedKeys_.insert(paged_->key(index.row()));
    else
        checkedKeys_.remove(paged_->key(index.row()));
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    Q_EMIT rowCheckChanged(index.row(), checked);
    return true;
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= list_.columnCount())
        return QVariant();
    if (role == Qt::DisplayRole)
        return list_.columns[section].header;
    if (role == Qt::ToolTipRole && !list_.columns[section].tip.isEmpty())
        return list_.columns[section].tip;
    return QVariant();
}

Qt::ItemFlags ReportListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (checkable_ && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

void ReportListModel::setList(ListData list)
{
    beginResetModel();
    list_ = std::move(list);
    paged_.reset();
    checkedKeys_.clear();
    endResetModel();
}

void ReportListModel::setRows(QVector<ListRow> rows)
{
    beginResetModel();
    list_.rows = std::move(rows);
    paged_.reset();
    checkedKeys_.clear();
    endResetModel();
}

void ReportListModel::setPagedRows(std::shared_ptr<PagedList> rows)
{
    beginResetModel();
    list_.rows.clear();
    paged_ = std::move(rows);
    checkedKeys_.clear();
    endResetModel();
}

void ReportListModel::setCheckedKeys(const QStringList& keys)
{
    const QSet<QString> wanted(keys.cbegin(), keys.cend());
    checkedKeys_.clear();
    for (int r = 0; r < rowCount(); ++r) {
        const bool on = wanted.contains(key(r));
        if (paged_) {
            if (on)
                checkedKeys_.insert(key(r));
        } else {
            list_.rows[r].checked = on;
        }
    }
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

void ReportListModel::setHeader(int column, const QString& header)
{
    if (column < 0 || column >= list_.columnCount())
        return;
    list_.columns[column].header = header;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void ReportListModel::setCheckable(bool on)
{
    beginResetModel();
    checkable_ = on;
    endResetModel();
}

void ReportListModel::sortRows(int column, Qt::SortOrder order)
{
    // Sort a permutation so that selections and the current row follow their rows.
    const int n = rowCount();
    QVector<int> order_(n);
    if (paged_) {
        Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        Result<QVector<int>> sorted = paged_->sort(column, order);
        if (!sorted) {
            Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
            Q_EMIT rowsUnreadable(Say(sorted));
            return;
        }
        order_ = std::move(*sorted);
    } else {
        std::iota(order_.begin(), order_.end(), 0);
        auto less = [this, column](int a, int b) {
            return CompareListCells(list_.rows[a].cell(column), list_.rows[b].cell(column)) < 0;
        };
        if (order == Qt::AscendingOrder)
            std::stable_sort(order_.begin(), order_.end(), less);
        else
            std::stable_sort(order_.begin(), order_.end(), [&less](int a, int b) { return less(b, a); });
        Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        QVector<ListRow> sorted;
        sorted.reserve(n);
        for (int i = 0; i < n; ++i)
            sorted.append(std::move(list_.rows[order_[i]]));
        list_.rows = std::move(sorted);
    }
    QVector<int> newPosition(n);
    for (int i = 0; i < n; ++i)
        newPosition[order_[i]] = i;
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from)
        to.append(this->index(newPosition[index.row()], index.column()));
    changePersistentIndexList(from, to);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

ReportList::ReportList(QWidget* parent) : QTreeView(parent), model_(new ReportListModel(this))
{
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setMinimumSectionSize(1);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (sortOnHeaderClick_)
            toggleSort(column);
    });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            Q_EMIT rowClicked(index.row());
    });
    connect(model_, &ReportListModel::rowCheckChanged, this, &ReportList::rowCheckChanged);
    connect(model_, &ReportListModel::rowsUnreadable, this, &ReportList::rowsUnreadable);
}

void ReportList::setListData(ListData list)
{
    model_->setList(std::move(list));
    applyWidths();
}

void ReportList::setRows(QVector<ListRow> rows)
{
    model_->setRows(std::move(rows));
}

void ReportList::setPagedRows(std::shared_ptr<PagedList> rows)
{
    model_->setPagedRows(std::move(rows));
}

QStringList ReportList::columnCells(int column) const
{
    QStringList cells;
    for (int r = 0; r < rowCount(); ++r)
        cells << model_->cell(r, column);
    return cells;
}

QStringList ReportList::checkedKeys() const
{
    QStringList keys;
    for (int r : checkedRows())
        keys << model_->key(r);
    return keys;
}

int ReportList::rowOfKey(const QString& key) const
{
    for (int r = 0; r < model_->rowCount(); ++r)
        if (model_->key(r) == key)
            return r;
    return -1;
}

int ReportList::twipsToPixels(int twips) const
{
    return (twips * logicalDpiX() + 720) / 1440;
}

int ReportList::columnPixels(int column, int twips) const
{
    // The twips widths were chosen for a smaller font than a CJK desktop font;
    // a column is never narrower than its header or a four-digit value with
    // two decimals (or a record number of seven digits), so that neither is
    // cut off; a first column with check boxes makes room for the box too.
    const QFontMetrics metrics(font());
    int padding = 14;
    if (column == 0 && model_->checkable())
        padding += style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) + 8;
    const int header = metrics.horizontalAdvance(model_->list().columns[column].header) + padding;
    const int value = metrics.horizontalAdvance(QStringLiteral("0000.00")) + padding;
    return std::max({twipsToPixels(twips), header, value});
}

void ReportList::applyWidths()
{
    const ListData& list = model_->list();
    for (int c = 0; c < list.columnCount(); ++c) {
        const int twips = list.columns[c].width;
        setColumnHidden(c, twips <= 0);
        if (twips > 0)
            setColumnWidth(c, columnPixels(c, twips));
    }
}

void ReportList::setColumnWidthTwips(int column, int twips)
{
    if (column < 0 || column >= model_->list().columnCount())
        return;
    // Only the width changes: the rows and the selection stay.
    model_->setColumnWidth(column, twips);
    setColumnHidden(column, twips <= 0);
    if (twips > 0)
        setColumnWidth(column, columnPixels(column, twips));
}

int ReportList::columnWidthTwips(int column) const
{
    const ListData& list = model_->list();
    return column >= 0 && column < list.columnCount() ? list.columns[column].width : 0;
}

void ReportList::setCheckBoxes(bool on)
{
    model_->setCheckable(on);
    applyWidths();
}

void ReportList::sortRows(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= model_->list().columnCount())
        return;
    sortOrder_ = order;
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(column, order);
    model_->sortRows(column, order);
}

void ReportList::toggleSort(int column)
{
    sortRows(column, sortOrder_ == Qt::DescendingOrder ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QVector<int> ReportList::checkedRows() const
{
    QVector<int> rows;
    for (int i = 0; i < rowCount(); ++i)
        if (model_->isChecked(i))
            rows << i;
    return rows;
}

QVector<int> ReportList::selectedRows() const
{
    QVector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

int ReportList::currentRow() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() : -1;
}

void ReportList::selectRow(int row, bool add)
{
    if (row < 0 || row >= rowCount())
        return;
    const QModelIndex index = model_->index(row, 0);
    auto flags = QItemSelectionModel::Rows
                 | (add ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(index, flags);
}

int GetScreenWidthPixels()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 1024;
}
