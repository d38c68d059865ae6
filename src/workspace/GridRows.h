#pragma once

#include "base/Mei.h"
#include "base/QualityIndex.h"

#include <QString>
#include <QVector>

#include <array>

// The coal grid of the workspace and of the manual calculator as plain data:
// ten rows, each with a must-blend mark and nineteen cell texts. A window copies
// its controls into a Grid, calls the operations below and copies it back.

inline constexpr int kGridRows = 10;
inline constexpr int kGridCells = 19;

// Cell positions within a row: the name, the fifteen indices in the order of
// the quality index table, then stock, shovel weight and price. (In the
// calculator the stock cell holds the row's proportion.)
inline constexpr int kNameCell = 0;
inline constexpr int kStockCell = 1 + kIndexCount;
inline constexpr int kShovelCell = kStockCell + 1;
inline constexpr int kPriceCell = kShovelCell + 1;
constexpr int IndexCell(int index) { return 1 + index; }

struct GridRow {
    bool checked = false;
    std::array<QString, kGridCells> cells;

    const QString& name() const { return cells[kNameCell]; }
    const QString& price() const { return cells[kPriceCell]; }
    bool operator==(const GridRow&) const = default;
};

struct Grid {
    std::array<GridRow, kGridRows> rows;
    bool operator==(const Grid&) const = default;
};

// True when every cell but the Vdaf cell is empty (the mark is not looked at).
// Only the exact empty text counts: a cell holding a blank is filled.
bool IsRowBlank(const Grid& grid, int row);

// The last row of the run of named rows that starts at row 0; 0 when row 0 has
// no name, the same as for one named row.
int LastCoalRow(const Grid& grid);

// Moves the non-blank rows up over the blank ones, keeping their order; marks
// travel with their rows and the rows left behind are emptied and unmarked.
void CompactRows(Grid& grid);

// Empties a row's nineteen cells; the mark is left alone.
void ClearRowCells(GridRow& row);

// Unmarks every row and empties every cell.
void ClearGrid(Grid& grid);

// Writes coals into blank rows, first blank row first; the name as it is, every
// other cell by the value text rule. Coals beyond the last blank row are dropped.
// Marks are not changed.
void SetTxtValue(Grid& grid, const QVector<Mei>& coals);

// True when the price texts of rows 1 ... LastCoalRow equal row 0's exactly
// (650 and 650.00 differ).
bool AllPricesEqual(const Grid& grid);

// One coal per row 0 ... LastCoalRow: cell texts as they stand (the name
// composed to NFC, as every coal name is), the price rounded to two decimals
// (0 when not numeric), LeiXing 1 when a recovery rate is given.
QVector<Mei> BuildCoalList(const Grid& grid);
