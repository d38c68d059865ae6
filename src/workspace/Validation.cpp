#include "workspace/Validation.h"

#include "base/CoalRules.h"
#include "base/NumberText.h"

namespace {

QString RowText(int row) { return QString::number(row + 1); }

// The grid check's text for a value cell.
Text NumberMessage(int cell)
{
    if (cell == kStockCell)
        return CoreText::tr("库存请填写成数字");
    if (cell == kShovelCell)
        return CoreText::tr("每铲重量请填写成数字");
    if (cell == kPriceCell)
        return CoreText::tr("价格请填写成数字");
    return Text::Source(QualityIndices()[cell - 1].numberMessage);
}

Text BoundMessage(int index, bool upper)
{
    if (index == kRecoveryIndex)
        return upper ? CoreText::tr("请将回收率指标上限限填写成数字！") : CoreText::tr("请将回收率指标下限填写成数字！");
    const Text label = Text::Source(QualityIndices()[index].targetLabel);
    return upper ? CoreText::tr("请将%1的指标上限填写成数字！", label) : CoreText::tr("请将%1的指标下限填写成数字！", label);
}

// "第<row>种煤:<name>" before what is wrong with that coal.
Text CoalMessage(int row, const GridRow& r, const Text& what)
{
    return CoreText::tr("第%1种煤:%2%3", RowText(row), r.name(), what);
}

// The first row 0 ... last whose cell is empty, or -1.
int FirstEmptyCell(const Grid& grid, int last, int cell)
{
    for (int row = 0; row <= last; ++row) {
        if (grid.rows[row].cells[cell].isEmpty())
            return row;
    }
    return -1;
}

}  // namespace

bool IsBlankOrNumeric(const QString& text)
{
    return text.isEmpty() || IsUsableNumber(text);
}

Status CheckNamesAndPrices(const Grid& grid)
{
    for (int row = 0; row < kGridRows; ++row) {
        if (IsRowBlank(grid, row))
            continue;
        if (grid.rows[row].name().isEmpty())
            return Invalid(CoreText::tr("第%1行的煤名称没有填写，请你填写", RowText(row)));
        if (const Text problem = CoalNameProblem(NormalizedCoalName(grid.rows[row].name())); !problem.isEmpty())
            return Invalid(CoreText::tr("第%1行的%2", RowText(row), problem));
        if (grid.rows[row].price().isEmpty())
            return Invalid(CoreText::tr("第%1行的价格没有填写，请你填写", RowText(row)));
    }
    return {};
}

Status CheckCoalNumbers(const Grid& grid)
{
    for (int row = 0; row < kGridRows; ++row) {
        const GridRow& r = grid.rows[row];
        for (int cell = 1; cell < kGridCells; ++cell) {
            if (!IsBlankOrNumeric(r.cells[cell])) {
                return Invalid(CoalMessage(row, r, Text::Source("%1\r\n", {NumberMessage(cell)})));
            }
        }
    }
    return {};
}

Status CheckQuantities(const Grid& grid)
{
    for (int row = 0; row < kGridRows; ++row) {
        const GridRow& r = grid.rows[row];
        for (int cell : {kStockCell, kShovelCell}) {
            if (ReadNumberText(r.cells[cell]).value_or(0.0) < 0) {
                return Invalid(CoalMessage(row, r,
                                           cell == kStockCell ? CoreText::tr("库存不能是负数")
                                                              : CoreText::tr("每铲重量不能是负数")));
            }
        }
    }
    return {};
}

Status CheckCoalRanges(const WorkspaceInput& input)
{
    for (int row = 0; row < kGridRows; ++row) {
        const GridRow& r = input.grid.rows[row];
        for (int cell = 1; cell < kGridCells; ++cell) {
            // Blending by parts never reads a shovel weight (older files
            // keep 0 for "none"); a negative one is refused all the same.
            if (cell == kShovelCell && !input.shovelMode)
                continue;
            const std::optional<double> value = ReadNumberText(r.cells[cell]);
            if (!value)
                continue;
            if (const ValueVerdict verdict = CheckCoalValue(cell, *value); verdict.fit == ValueFit::Refused)
                return Invalid(CoalMessage(row, r, verdict.message));
        }
    }
    return {};
}

Status CheckTargets(const WorkspaceInput& input)
{
    bool anyBound = false;
    for (int i = 0; i < kIndexCount; ++i)
        anyBound = anyBound || !input.lower[i].isEmpty() || !input.upper[i].isEmpty();
    if (!anyBound)
        return Invalid(CoreText::tr("请您至少填写一项您要达到的指标！"));
    for (int i = 0; i < kIndexCount; ++i) {
        if (!IsBlankOrNumeric(input.lower[i]))
            return Invalid(BoundMessage(i, false));
        if (!IsBlankOrNumeric(input.upper[i]))
            return Invalid(BoundMessage(i, true));
    }
    if (!IsBlankOrNumeric(input.tonnage))
        return Invalid(CoreText::tr("请将配多少吨煤填写成数字！"));
    // Zero tons (or minus zero) would store a plan of nothing.
    if (const auto tons = ReadNumberText(input.tonnage); tons && *tons <= 0)
        return Invalid(CoreText::tr("配多少吨煤必须大于0！"));
    return {};
}

Text MissingValueText(const Text& label, int row)
{
    return CoreText::tr("你既然要算%1的指标，但是你参与配煤的第%2种煤，没有填写%1的值，这怎么计算？", label, RowText(row));
}

QString MissingValueMessage(const QString& label, int row)
{
    return MissingValueText(label, row).chinese();
}

Status CheckCoalCoverage(const WorkspaceInput& input)
{
    const int n = LastCoalRow(input.grid);
    if (n < 1)
        return Invalid(CoreText::tr("您至少要输入2种煤！"));
    for (int i = 0; i < kIndexCount; ++i) {
        if (input.lower[i].isEmpty() && input.upper[i].isEmpty())
            continue;
        const int row = FirstEmptyCell(input.grid, n, IndexCell(i));
        if (row >= 0)
            return Invalid(MissingValueText(Text::Source(QualityIndices()[i].coverageLabel), row));
    }
    if (!input.tonnage.isEmpty()) {
        const int row = FirstEmptyCell(input.grid, n, kStockCell);
        if (row >= 0)
            return Invalid(MissingValueText(CoreText::tr("库存"), row));
    }
    if (input.shovelMode) {
        const int row = FirstEmptyCell(input.grid, n, kShovelCell);
        if (row >= 0)
            return Invalid(MissingValueText(CoreText::tr(kByShovels), row));
    }
    return {};
}

Status CheckBasisCoverage(const WorkspaceInput& input)
{
    std::array<bool, kIndexCount> bounded{};
    for (int i = 0; i < kIndexCount; ++i)
        bounded[i] = !input.lower[i].isEmpty() || !input.upper[i].isEmpty();
    return CheckBasisFigures(BuildCoalList(input.grid), input.weighting, bounded);
}

Status CheckStockCoversTonnage(const WorkspaceInput& input)
{
    if (input.tonnage.isEmpty())
        return {};
    const int n = LastCoalRow(input.grid);
    double stock = 0.0;
    for (int row = 0; row <= n; ++row)
        stock += ReadNumberText(input.grid.rows[row].cells[kStockCell]).value_or(0.0);
    const double wanted = ReadNumberText(input.tonnage).value_or(0.0);
    if (wanted > stock) {
        const QString w = ShortestNumberText(wanted);
        return Invalid(CoreText::tr("您想配%1吨煤，但是你所输入的几种煤库存加起来只有%2吨，怎么可能配出%1吨的煤", w,
                                    ShortestNumberText(stock)));
    }
    return {};
}

Status CheckInput(const WorkspaceInput& input)
{
    for (const auto& check : {CheckCoalNumbers(input.grid), CheckQuantities(input.grid), CheckCoalRanges(input),
                              CheckTargets(input), CheckCoalCoverage(input), CheckBasisCoverage(input),
                              CheckStockCoversTonnage(input)})
        if (!check)
            return check;
    const QString& count = input.proportionCount;
    if (!count.isEmpty()) {
        const auto number = ReadNumberText(count);
        if (!number)
            return Invalid(CoreText::tr("比例数请填写成数字"));
        if (RoundHalfEven(*number) > 1000.0)
            return Invalid(CoreText::tr("最大比例数不能超过1000"));
        // The run tries every whole total from 2 up to the count.
        if (RoundHalfEven(*number) < 2.0)
            return Invalid(CoreText::tr("比例数不能小于2"));
    }
    return {};
}
