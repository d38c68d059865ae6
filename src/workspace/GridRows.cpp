#include "workspace/GridRows.h"

#include "base/CoalRules.h"
#include "base/NumberText.h"

#include <type_traits>

namespace {

// The Vdaf value is derived from the others, so a row holding only it is not a coal.
constexpr int kVdafCell = IndexCell(8);

template <class Coal>
auto* CoalText(Coal& coal, int cell)
{
    using Text = std::conditional_t<std::is_const_v<Coal>, const QString, QString>;
    if (cell == kNameCell)
        return static_cast<Text*>(&coal.MingCheng);
    if (cell == kStockCell)
        return static_cast<Text*>(&coal.Kucun);
    if (cell == kShovelCell)
        return static_cast<Text*>(&coal.MeiChan);
    if (cell >= IndexCell(0) && cell < IndexCell(kIndexCount))
        return static_cast<Text*>(&IndexValue(coal, cell - 1));
    return static_cast<Text*>(nullptr);
}

static_assert(kNameCell == kCoalNameField && kStockCell == kCoalStockField && kShovelCell == kCoalShovelField
              && kPriceCell == kCoalPriceField && IndexCell(0) == CoalIndexField(0));

QString CoalCellValue(const Mei& coal, int cell)
{
    if (cell == kPriceCell)
        return FormatIndexValue(coal.JiaGe);
    const QString* text = CoalText(coal, cell);
    if (cell == kNameCell)
        return *text;
    return FormatIndexValue(*text);
}

}  // namespace

bool IsRowBlank(const Grid& grid, int row)
{
    const GridRow& r = grid.rows[row];
    for (int cell = 0; cell < kGridCells; ++cell) {
        if (cell != kVdafCell && !r.cells[cell].isEmpty())
            return false;
    }
    return true;
}

int LastCoalRow(const Grid& grid)
{
    int row = 0;
    while (row < kGridRows && !grid.rows[row].name().isEmpty())
        ++row;
    return row > 0 ? row - 1 : 0;
}

void ClearRowCells(GridRow& row)
{
    for (QString& cell : row.cells)
        cell.clear();
}

void ClearGrid(Grid& grid)
{
    for (GridRow& row : grid.rows) {
        row.checked = false;
        ClearRowCells(row);
    }
}

void CompactRows(Grid& grid)
{
    for (int r = 0; r < kGridRows - 1; ++r) {
        if (!IsRowBlank(grid, r))
            continue;
        int s = r + 1;
        while (s < kGridRows && IsRowBlank(grid, s))
            ++s;
        if (s == kGridRows)
            break;
        grid.rows[r] = grid.rows[s];
        grid.rows[s].checked = false;
        ClearRowCells(grid.rows[s]);
    }
}


void SetTxtValue(Grid& grid, const QVector<Mei>& coals)
{
    for (const Mei& coal : coals) {
        int row = 0;
        while (row < kGridRows && !IsRowBlank(grid, row))
            ++row;
        if (row == kGridRows)
            return;  // no free row for this coal or any after it
        for (int cell = 0; cell < kGridCells; ++cell)
            grid.rows[row].cells[cell] = CoalCellValue(coal, cell);
    }
}

bool AllPricesEqual(const Grid& grid)
{
    const int n = LastCoalRow(grid);
    for (int row = 1; row <= n; ++row) {
        if (grid.rows[row].price() != grid.rows[0].price())
            return false;
    }
    return true;
}

QVector<Mei> BuildCoalList(const Grid& grid)
{
    const int n = LastCoalRow(grid);
    QVector<Mei> coals;
    coals.reserve(n + 1);
    for (int row = 0; row <= n; ++row) {
        const GridRow& r = grid.rows[row];
        Mei coal;
        if (!r.cells[IndexCell(kRecoveryIndex)].isEmpty())
            coal.LeiXing = 1;
        for (int cell = 0; cell < kPriceCell; ++cell)
            *CoalText(coal, cell) = r.cells[cell];
        coal.MingCheng = NormalizedCoalName(coal.MingCheng);
        coal.JiaGe = ToRoundedDouble(r.price());
        coals << coal;
    }
    return coals;
}
