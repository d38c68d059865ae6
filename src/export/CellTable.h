#pragma once

#include "base/Text.h"

#include <QString>
#include <QVector>

#include <algorithm>
#include <functional>
#include <utility>

// The first sheet of a workbook or the records of a CSV file, as the readers
// hand them on: one row per sheet row (row 0 is the sheet's first row; empty
// rows in between are kept, so a row's position is its row number less one),
// and in each row its cells in column order. A row holds only the cells that
// have something in them, each with its column, so a row is as large as what
// it holds, wherever its cells stand.
struct TableCell {
    int column = 0;           // from 0
    QString text;             // as the sheet shows it
    bool number = false;      // a numeric cell (its text is the number's shortest form)
    bool uncomputed = false;  // a formula the file holds no result for (text "")
};

using TableRow = QVector<TableCell>;

struct CellTable {
    QVector<TableRow> rows;

    // The cell of a row and column; nullptr where the row holds none.
    const TableCell* cell(int row, int column) const
    {
        if (row < 0 || row >= rows.size())
            return nullptr;
        const TableRow& cells = rows[row];
        const auto at = std::lower_bound(cells.begin(), cells.end(), column,
                                         [](const TableCell& c, int col) { return c.column < col; });
        return at != cells.end() && at->column == column ? &*at : nullptr;
    }

    // Text of a cell; "" where there is none.
    QString text(int row, int column) const
    {
        const TableCell* c = cell(row, column);
        return c ? c->text : QString();
    }
};

// What a reader keeps of one file at most. A worksheet has at most this many
// rows, and a coal list of a hundred thousand coals needs two million cells of
// a few characters each; a file beyond any of these is refused before it
// fills the memory.
inline constexpr int kTableMaxRows = 1048576;
inline constexpr qint64 kTableMaxCells = 4000000;
inline constexpr qint64 kTableMaxCharacters = 64LL * 1024 * 1024;

// Counts what a reader keeps against those limits; the first limit passed
// gives the message that refuses the file.
class TableBudget {
public:
    explicit TableBudget(QString fileName) : fileName_(std::move(fileName)) {}

    // False once the row number (from 0) lies beyond the last row a table may have.
    bool row(qint64 row) const { return row < kTableMaxRows; }
    // False once the cells or their characters are more than a table may hold.
    bool cell(qsizetype characters)
    {
        characters_ += characters;
        return ++cells_ <= kTableMaxCells && characters_ <= kTableMaxCharacters;
    }
    bool characters(qsizetype characters)
    {
        characters_ += characters;
        return characters_ <= kTableMaxCharacters;
    }

    Text tooManyRows() const
    {
        return CoreText::tr("文件 %1 超过 %2 行，不是煤种表，无法导入。", fileName_, QString::number(kTableMaxRows));
    }
    Text tooMuch() const
    {
        if (cells_ > kTableMaxCells)
            return CoreText::tr("文件 %1 中填写了内容的单元格超过 %2 个，不是煤种表，无法导入。", fileName_,
                                QString::number(kTableMaxCells));
        return CoreText::tr("文件 %1 中的文字超过 %2 个字符，不是煤种表，无法导入。", fileName_,
                            QString::number(kTableMaxCharacters));
    }

private:
    QString fileName_;
    qint64 cells_ = 0;
    qint64 characters_ = 0;
};

// Told now and then how far a long piece of work has come (done out of total,
// in the work's own units: bytes while reading, rows while importing).
// Returning false asks the work to stop; it then ends as cancelled and keeps
// nothing.
using ProgressCallback = std::function<bool(qint64 done, qint64 total)>;

// The message of work the user stopped.
inline Text ImportCancelledMessage() { return CoreText::tr("导入已取消，没有导入任何煤种。"); }
