#pragma once

#include <QString>
#include <QVector>

#include <functional>

// The first sheet of a workbook or the records of a CSV file, as the readers
// hand them on: one row per sheet row (row 0 is the sheet's first row; empty
// rows in between are kept, so a row's position is its row number less one),
// each cell's text as the sheet shows it, and whether the cell held a number.
// Trailing empty cells of a row are not kept.
struct TableCell {
    QString text;
    bool number = false;  // a numeric cell (its text is the number's shortest form)
};

using TableRow = QVector<TableCell>;

struct CellTable {
    QVector<TableRow> rows;

    // Text of a cell; "" past the end of the row or table.
    QString text(int row, int column) const
    {
        if (row < 0 || row >= rows.size() || column < 0 || column >= rows[row].size())
            return QString();
        return rows[row][column].text;
    }
};

// Told now and then how far a long piece of work has come (done out of total,
// in the work's own units: bytes while reading, rows while importing).
// Returning false asks the work to stop; it then ends as cancelled and keeps
// nothing.
using ProgressCallback = std::function<bool(qint64 done, qint64 total)>;

// The message of work the user stopped.
inline QString ImportCancelledMessage() { return QStringLiteral("导入已取消，没有导入任何煤种。"); }
