#pragma once

#include "base/AppFolder.h"
#include "export/ListSource.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <optional>

// The inventory's coal list, flat in memory however large the yard: the
// numbers of the listed coals in the order shown, and the rows in the coal
// layout read from the database a page at a time as they are shown (the
// pages last used are kept) or, for an export, as they are written.
class CoalListing : public PagedList {
public:
    static constexpr int kPageRows = 128;
    static constexpr int kKeptPages = 32;
    static constexpr int kExportPageRows = 500;

    // Every coal, or with a search text the coals whose name contains it (as
    // SearchCoals finds them), in the table's order.
    static Result<CoalListing> Open(const AppFolder& folder, const std::optional<QString>& typed = std::nullopt);

    const QVector<ListColumn>& columns() const override { return layout_.columns; }
    int rowCount() const override { return static_cast<int>(ids_.size()); }
    QString key(int row) const override { return QString::number(ids_[row]); }
    const ListRow& row(int position) override;
    QString takeError() override;
    Result<QVector<int>> sort(int column, Qt::SortOrder order) override;
    Status forEachRow(const RowSink& sink) const override;

    int id(int row) const { return ids_[row]; }
    // Pages held now (for the tests of the memory bound).
    int pagesHeld() const { return static_cast<int>(pages_.size()); }

private:
    CoalListing() = default;

    struct Page {
        QVector<ListRow> rows;
        quint64 lastUse = 0;
    };
    // The rows at positions [first, first + count), read in one statement;
    // a coal no longer in the table keeps its number only.
    Result<QVector<ListRow>> readRows(int first, int count) const;

    AppFolder folder_;
    std::optional<QString> typed_;
    ListData layout_;
    QVector<int> ids_;
    QHash<int, Page> pages_;
    quint64 clock_ = 0;
    QString error_;
};
