#include "workspace/Validation.h"

#include "base/CoalRules.h"
#include "base/NumberText.h"

namespace {

QString RowText(int row) { return QString::number(row + 1); }

// The grid check's text for a value cell.
QString NumberMessage(int cell)
{
    if (cell == kStockCell)
        return QStringLiteral("库存请填写成数字");
    if (cell == kShovelCell)
        return QStringLiteral("每铲重量请填写成数字");
    if (cell == kPriceCell)
        return QStringLiteral("价格请填写成数字");
    return QString::fromUtf8(QualityIndices()[cell - 1].numberMessage);
}

QString BoundMessage(int index, bool upper)
{
    if (index == kRecoveryIndex) {
        return upper ? QStringLiteral("请将回收率指标上限限填写成数字！")
                     : QStringLiteral("请将回收率指标下限填写成数字！");
    }
    const QString label = QString::fromUtf8(QualityIndices()[index].targetLabel);
    return QStringLiteral("请将") + label
        + (upper ? QStringLiteral("的指标上限填写成数字！") : QStringLiteral("的指标下限填写成数字！"));
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
            return Invalid(QStringLiteral("第") + RowText(row) + QStringLiteral("行的煤名称没有填写，请你填写"));
        if (const QString problem = CoalNameProblem(NormalizedCoalName(grid.rows[row].name())); !problem.isEmpty())
            return Invalid(QStringLiteral("第") + RowText(row) + QStringLiteral("行的") + problem);
        if (grid.rows[row].price().isEmpty())
            return Invalid(QStringLiteral("第") + RowText(row) + QStringLiteral("行的价格没有填写，请你填写"));
    }
    return {};
}

Status CheckCoalNumbers(const Grid& grid)
{
    for (int row = 0; row < kGridRows; ++row) {
        const GridRow& r = grid.rows[row];
        for (int cell = 1; cell < kGridCells; ++cell) {
            if (!IsBlankOrNumeric(r.cells[cell])) {
                return Invalid(QStringLiteral("第") + RowText(row) + QStringLiteral("种煤:") + r.name()
                    + NumberMessage(cell) + QStringLiteral("\r\n"));
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
                return Invalid(QStringLiteral("第") + RowText(row) + QStringLiteral("种煤:") + r.name()
                               + (cell == kStockCell ? QStringLiteral("库存不能是负数")
                                                     : QStringLiteral("每铲重量不能是负数")));
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
                return Invalid(QStringLiteral("第") + RowText(row) + QStringLiteral("种煤:") + r.name() + verdict.message);
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
        return Invalid(QStringLiteral("请您至少填写一项您要达到的指标！"));
    for (int i = 0; i < kIndexCount; ++i) {
        if (!IsBlankOrNumeric(input.lower[i]))
            return Invalid(BoundMessage(i, false));
        if (!IsBlankOrNumeric(input.upper[i]))
            return Invalid(BoundMessage(i, true));
    }
    if (!IsBlankOrNumeric(input.tonnage))
        return Invalid(QStringLiteral("请将配多少吨煤填写成数字！"));
    // Zero tons (or minus zero) would store a plan of nothing.
    if (const auto tons = ReadNumberText(input.tonnage); tons && *tons <= 0)
        return Invalid(QStringLiteral("配多少吨煤必须大于0！"));
    return {};
}

QString MissingValueMessage(const QString& label, int row)
{
    return QStringLiteral("你既然要算") + label + QStringLiteral("的指标，但是你参与配煤的第") + RowText(row)
        + QStringLiteral("种煤，没有填写") + label + QStringLiteral("的值，这怎么计算？");
}

Status CheckCoalCoverage(const WorkspaceInput& input)
{
    const int n = LastCoalRow(input.grid);
    if (n < 1)
        return Invalid(QStringLiteral("您至少要输入2种煤！"));
    for (int i = 0; i < kIndexCount; ++i) {
        if (input.lower[i].isEmpty() && input.upper[i].isEmpty())
            continue;
        const int row = FirstEmptyCell(input.grid, n, IndexCell(i));
        if (row >= 0)
            return Invalid(MissingValueMessage(QString::fromUtf8(QualityIndices()[i].coverageLabel), row));
    }
    if (!input.tonnage.isEmpty()) {
        const int row = FirstEmptyCell(input.grid, n, kStockCell);
        if (row >= 0)
            return Invalid(MissingValueMessage(QStringLiteral("库存"), row));
    }
    if (input.shovelMode) {
        const int row = FirstEmptyCell(input.grid, n, kShovelCell);
        if (row >= 0)
            return Invalid(MissingValueMessage(QStringLiteral("以铲数来配比"), row));
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
        return Invalid(QStringLiteral("您想配") + w + QStringLiteral("吨煤，但是你所输入的几种煤库存加起来只有")
            + ShortestNumberText(stock) + QStringLiteral("吨，怎么可能配出") + w + QStringLiteral("吨的煤"));
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
            return Invalid(QStringLiteral("比例数请填写成数字"));
        if (RoundHalfEven(*number) > 1000.0)
            return Invalid(QStringLiteral("最大比例数不能超过1000"));
        // The run tries every whole total from 2 up to the count.
        if (RoundHalfEven(*number) < 2.0)
            return Invalid(QStringLiteral("比例数不能小于2"));
    }
    return {};
}
