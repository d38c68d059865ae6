#include "workspace/Calculator.h"

#include "blend/BlendRecord.h"
#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "workspace/Validation.h"

#include <limits>

namespace Calculator {

namespace {

Text RowMessage(int row, const Text& what)
{
    return CoreText::tr("第%1行的%2没有填写，请你填写", QString::number(row + 1), what);
}

// The result shows the analysis basis after the dry ash-free volatile matter,
// and not the recovery rate.
constexpr int kResultOrder[] = {0, 1, 2, 3, 5, 6, 7, 8, 4, 9, 10, 11, 12, 13};

Text ResultText(const Mei& blend)
{
    Text text = QString();
    for (int i : kResultOrder)
        text = Text::Source("%1%2%3", {text, Text::Source(QualityIndices()[i].resultLabel),
                                       FormatIndexValue(IndexValue(blend, i))});
    return Text::Source("%1%2", {text, CoreText::tr("单价：%1", FormatIndexValue(blend.JiaGe))});
}

}  // namespace

Status CheckNamesAndPrices(const Grid& grid)
{
    for (int row = 0; row < kGridRows; ++row) {
        if (IsRowBlank(grid, row))
            continue;
        const GridRow& r = grid.rows[row];
        if (r.name().isEmpty())
            return Invalid(RowMessage(row, CoreText::tr("煤名称")));
        if (r.cells[kStockCell].isEmpty())
            return Invalid(RowMessage(row, CoreText::tr("配比")));
        if (r.price().isEmpty())
            return Invalid(RowMessage(row, CoreText::tr("价格")));
    }
    return {};
}

Status CheckCoalCoverage(const Grid& grid, bool shovelMode)
{
    const int n = LastCoalRow(grid);
    if (n < 1)
        return Invalid(CoreText::tr("您至少要输入2种煤！"));
    if (shovelMode) {
        for (int row = 0; row <= n; ++row)
            if (grid.rows[row].cells[kShovelCell].isEmpty())
                return Invalid(MissingValueText(CoreText::tr(kByShovels), row));
    }
    return {};
}

Result<QVector<qint16>> ProportionArray(const QVector<Mei>& coals)
{
    QVector<qint16> proportions;
    proportions.reserve(coals.size());
    for (int i = 0; i < coals.size(); ++i) {
        const std::optional<double> number = ReadNumberText(coals[i].Kucun);
        const double whole = number ? RoundHalfEven(*number) : 0.0;
        if (!number || whole < std::numeric_limits<qint16>::min() || whole > std::numeric_limits<qint16>::max())
            return Invalid(CoreText::tr("第%1行的配比超出了范围，配比请填写-32768到32767之间的数", QString::number(i + 1)));
        if (whole < 0)
            return Invalid(CoreText::tr("第%1行的配比不能是负数", QString::number(i + 1)));
        if (ReadNumberText(coals[i].MeiChan).value_or(0.0) < 0)
            return Invalid(CoreText::tr("第%1行的每铲重量不能是负数", QString::number(i + 1)));
        proportions << static_cast<qint16>(whole);
    }
    return proportions;
}


Result<Text> CalculateText(Grid& grid, bool shovelMode, const BasisWeighting& weighting)
{
    CompactRows(grid);
    for (const Status& check : {Calculator::CheckNamesAndPrices(grid), ::CheckCoalNumbers(grid),
                                Calculator::CheckCoalCoverage(grid, shovelMode)})
        if (!check)
            return check.failure();

    const QVector<Mei> coals = BuildCoalList(grid);
    const Result<QVector<qint16>> proportions = ProportionArray(coals);
    if (!proportions)
        return proportions.failure();

    QVector<double> amounts;
    double total = 0.0;
    for (int i = 0; i < coals.size(); ++i) {
        double weight = (*proportions)[i];
        amounts << weight;
        if (shovelMode)
            weight *= ReadNumberText(coals[i].MeiChan).value_or(0.0);
        total += weight;
    }
    // A mix that weighs nothing has no average: say so instead of showing a
    // result made of empty values.
    if (total == 0.0) {
        return Invalid(shovelMode ? CoreText::tr("配比乘以每铲重量合计为0，无法计算混合后的指标，请修改配比")
                                  : CoreText::tr("配比合计为0，无法计算混合后的指标，请修改配比"));
    }
    return ResultText(ComputeBlend(coals, amounts, shovelMode, weighting));
}

Result<QString> Calculate(Grid& grid, bool shovelMode, const BasisWeighting& weighting)
{
    const Result<Text> result = CalculateText(grid, shovelMode, weighting);
    if (!result)
        return result.failure();
    return result->chinese();
}

}  // namespace Calculator
