#pragma once

#include "base/Result.h"
#include "export/ListData.h"

#include <QString>
#include <QVector>

#include <functional>

// The rows of a list as an export reads them: the columns, the number of
// rows, and the rows handed out one at a time in the order shown, so that a
// list too long to hold (the inventory of a large yard) is never held whole.
class ListRows {
public:
    using RowSink = std::function<Status(const ListRow&)>;

    virtual ~ListRows() = default;
    virtual const QVector<ListColumn>& columns() const = 0;
    virtual int rowCount() const = 0;
    // Hands every row, in order, to the sink; stops at the sink's first
    // failure or at its own, and returns it.
    virtual Status forEachRow(const RowSink& sink) const = 0;
};

// A list held whole (a ListData), as rows to export.
class HeldRows : public ListRows {
public:
    explicit HeldRows(const ListData& list) : list_(list) {}

    const QVector<ListColumn>& columns() const override { return list_.columns; }
    int rowCount() const override { return list_.rowCount(); }
    Status forEachRow(const RowSink& sink) const override
    {
        for (const ListRow& row : list_.rows)
            if (Status taken = sink(row); !taken)
                return taken;
        return {};
    }

private:
    const ListData& list_;
};

// A list a window shows without holding it: every row's key is known, the
// rows themselves are read a page at a time as they are shown, and sorting
// needs only the cells of the sorted column.
class PagedList : public ListRows {
public:
    // The first cell of a row (the record's key).
    virtual QString key(int row) const = 0;
    // The row at a position. A row that cannot be read comes back with its
    // key only, and takeError() says why.
    virtual const ListRow& row(int position) = 0;
    // Why rows could not be read since the last call; "" when they could.
    virtual QString takeError() = 0;
    // Sorts the rows by the cells of a column as CompareListCells orders
    // them; rows with equal cells keep their order. Gives, for each new
    // position, the row's position before.
    virtual Result<QVector<int>> sort(int column, Qt::SortOrder order) = 0;
};
