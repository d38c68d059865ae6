#include "history/TonsConversion.h"

#include "base/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

double WeightOf(const QStringList& shovelWeights, int j)
{
    return j < shovelWeights.size() ? ToRoundedDouble(shovelWeights[j]) : 0.0;
}

// The sum a row's tons are shares of. Shovel counts add up to the exact tons
// they load: rounding the running sum would make the row's tons miss the
// tonnage.
double RowSum(const QStringList& row, const QStringList& shovelWeights, bool shovelPlan)
{
    double sum = 0;
    for (int j = 0; j < row.size(); ++j) {
        const double p = ToRoundedDouble(row[j]);
        sum = shovelPlan ? sum + p * WeightOf(shovelWeights, j) : RoundHalfEven(sum + p);
    }
    return sum;
}

Failure ZeroSumFailure(int row, bool shovelPlan)
{
    const char* const source = shovelPlan
        ? QT_TRANSLATE_NOOP("CoreText", "第%1行的铲数与每铲重量之和为0，无法换算成吨，请检查每铲重量")
        : QT_TRANSLATE_NOOP("CoreText", "第%1行的配比之和为0，无法换算成吨");
    return Invalid(Text::Source(source, {QString::number(row + 1)}));
}

}  // namespace

bool IsShovelCountPlan(const QString& information)
{
    return information.contains(QStringLiteral("铲"));
}

Result<qint32> ParseTonnage(const QString& text)
{
    const auto number = ReadNumberText(text);
    const double whole = number ? RoundHalfEven(*number) : 0.0;
    if (!number || whole > std::numeric_limits<qint32>::max() || whole < std::numeric_limits<qint32>::min())
        return Invalid(CoreText::tr("配多少吨请填写成数字"));
    if (whole < 0)
        return Invalid(CoreText::tr("配多少吨不能是负数"));
    return static_cast<qint32>(whole);
}

Result<QVector<QStringList>> ConvertToTons(const QVector<QStringList>& proportions, const QStringList& shovelWeights,
                                           qint32 tonnage, bool shovelPlan)
{
    QVector<QStringList> tons;
    tons.reserve(proportions.size());
    for (int i = 0; i < proportions.size(); ++i) {
        const QStringList& row = proportions[i];
        if (row.isEmpty()) {  // a plan without coal rows has nothing to convert
            tons << row;
            continue;
        }
        auto weight = [&](int j) { return WeightOf(shovelWeights, j); };
        const double sum = RowSum(row, shovelWeights, shovelPlan);
        if (sum == 0)
            return ZeroSumFailure(i, shovelPlan);
        QStringList cells;
        cells.reserve(row.size());
        for (int j = 0; j < row.size(); ++j) {
            const double q = ReadNumberText(row[j]).value_or(0.0);
            cells << FixedText(shovelPlan ? q * weight(j) / sum * tonnage : q / sum * tonnage, 2);
        }
        tons << cells;
    }
    return tons;
}

Result<QVector<qint64>> ConvertRowToCents(const QStringList& proportions, const QStringList& shovelWeights,
                                          qint32 tonnage, bool shovelPlan)
{
    const double sum = RowSum(proportions, shovelWeights, shovelPlan);
    if (sum == 0)
        return ZeroSumFailure(0, shovelPlan);
    QVector<double> tons;
    tons.reserve(proportions.size());
    for (int j = 0; j < proportions.size(); ++j) {
        const double q = ReadNumberText(proportions[j]).value_or(0.0);
        tons << (shovelPlan ? q * WeightOf(shovelWeights, j) : q) / sum * tonnage;
    }
    return SplitCents(static_cast<qint64>(tonnage) * 100, tons);
}

QVector<qint64> SplitCents(qint64 totalCents, const QVector<double>& weights)
{
    QVector<qint64> cents(weights.size(), 0);
    long double whole = 0;
    for (double w : weights)
        if (w > 0 && std::isfinite(w))
            whole += w;
    if (whole <= 0 || totalCents <= 0)
        return cents;
    QVector<long double> dropped(weights.size(), -1);
    qint64 given = 0;
    for (int j = 0; j < weights.size(); ++j) {
        const double w = weights[j];
        if (!(w > 0) || !std::isfinite(w))
            continue;
        const long double exact = static_cast<long double>(totalCents) * w / whole;
        const long double down = std::floor(exact);
        cents[j] = static_cast<qint64>(down);
        dropped[j] = exact - down;
        given += cents[j];
    }
    QVector<int> order(weights.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return dropped[a] > dropped[b]; });
    for (int k = 0; given < totalCents && k < order.size(); ++k) {
        if (dropped[order[k]] < 0)
            break;
        ++cents[order[k]];
        ++given;
    }
    return cents;
}
