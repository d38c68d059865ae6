#include "export/CoalListing.h"

#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "export/ListLayouts.h"

#include <algorithm>
#include <numeric>

Result<CoalListing> CoalListing::Open(const AppFolder& folder, const std::optional<QString>& typed)
{
    Result<QVector<int>> ids = LoadCoalIds(folder, typed);
    if (!ids)
        return ids.failure();
    CoalListing listing;
    listing.folder_ = folder;
    listing.typed_ = typed;
    SetupCoalColumns(listing.layout_);
    listing.ids_ = std::move(*ids);
    return listing;
}

Result<QVector<ListRow>> CoalListing::readRows(int first, int count) const
{
    const QVector<int> ids = ids_.mid(first, count);
    const Result<QVector<Mei>> coals = LoadCoalsById(folder_, ids);
    if (!coals)
        return coals.failure();
    QHash<int, const Mei*> byId;
    byId.reserve(coals->size());
    for (const Mei& coal : *coals)
        byId.insert(coal.id, &coal);
    QVector<ListRow> rows;
    rows.reserve(ids.size());
    for (int id : ids) {
        const Mei* coal = byId.value(id);
        rows.append(coal ? CoalRow(*coal) : ListRow{QString::number(id), {}, false});
    }
    return rows;
}

const ListRow& CoalListing::row(int position)
{
    const int number = position / kPageRows;
    auto page = pages_.find(number);
    if (page == pages_.end()) {
        if (pages_.size() >= kKeptPages) {
            auto oldest = std::min_element(pages_.begin(), pages_.end(),
                                           [](const Page& a, const Page& b) { return a.lastUse < b.lastUse; });
            pages_.erase(oldest);
        }
        const int first = number * kPageRows;
        const int count = std::min(kPageRows, rowCount() - first);
        Result<QVector<ListRow>> rows = readRows(first, count);
        Page read;
        if (rows) {
            read.rows = std::move(*rows);
        } else {
            // Shown by number only; the window says why once.
            error_ = rows.said().words();
            for (int i = 0; i < count; ++i)
                read.rows.append(ListRow{key(first + i), {}, false});
        }
        page = pages_.insert(number, std::move(read));
    }
    page->lastUse = ++clock_;
    return page->rows[position - number * kPageRows];
}

QString CoalListing::takeError()
{
    return std::exchange(error_, QString());
}

Result<QVector<int>> CoalListing::sort(int column, Qt::SortOrder order)
{
    const int n = rowCount();
    QVector<QString> keys(n);
    if (column <= 0 || column >= layout_.columnCount()) {
        for (int i = 0; i < n; ++i)
            keys[i] = key(i);
    } else {
        // Each listed coal's cell in that column, as the list shows it.
        QHash<int, QString> cellOf;
        cellOf.reserve(n);
        const Status read = VisitCoals(folder_, typed_, {CoalColumnField(column)},
                                       [&](const Mei& coal) { cellOf.insert(coal.id, CoalRow(coal).cell(column)); });
        if (!read)
            return read.failure();
        for (int i = 0; i < n; ++i)
            keys[i] = cellOf.value(ids_[i]);
    }
    QVector<int> before(n);
    std::iota(before.begin(), before.end(), 0);
    auto less = [&keys](int a, int b) { return CompareListCells(keys[a], keys[b]) < 0; };
    if (order == Qt::AscendingOrder)
        std::stable_sort(before.begin(), before.end(), less);
    else
        std::stable_sort(before.begin(), before.end(), [&less](int a, int b) { return less(b, a); });
    QVector<int> ids(n);
    for (int i = 0; i < n; ++i)
        ids[i] = ids_[before[i]];
    ids_ = std::move(ids);
    pages_.clear();
    return before;
}

Status CoalListing::forEachRow(const RowSink& sink) const
{
    // One connection for the whole run, not one per page.
    auto connection = ConnectionScope::Open(folder_);
    if (!connection)
        return connection.failure();
    for (int first = 0; first < rowCount(); first += kExportPageRows) {
        const Result<QVector<ListRow>> rows = readRows(first, std::min(kExportPageRows, rowCount() - first));
        if (!rows)
            return rows.status();
        for (const ListRow& row : *rows)
            if (Status taken = sink(row); !taken)
                return taken;
    }
    return {};
}
