#include "history/TonsConversion.h"

#include "base/NumberText.h"

#include <limits>

bool IsShovelCountPlan(const QString& information)
{
    return information.contains(QStringLiteral("铲"));
}

Result<qint32> ParseTonnage(const QString& text)
{
    const auto number = ReadNumberText(text);
    const double whole = number ? RoundHalfEven(*number) : 0.0;
    if (!number || whole > std::numeric_limits<qint32>::max() || whole < std::numeric_limits<qint32>::min())
        return Invalid(QStringLiteral("配多少吨请填写成数字"));
    if (whole < 0)
        return Invalid(QStringLiteral("配多少吨不能是负数"));
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
        auto weight = [&](int j) { return j < shovelWeights.size() ? ToRoundedDouble(shovelWeights[j]) : 0.0; };
        // Shovel counts add up to the exact tons they load: rounding the
        // running sum would make the row's tons miss the tonnage.
        double sum = 0;
        for (int j = 0; j < row.size(); ++j) {
            const double p = ToRoundedDouble(row[j]);
            sum = shovelPlan ? sum + p * weight(j) : RoundHalfEven(sum + p);
        }
        if (sum == 0) {
            return Invalid(shovelPlan
                               ? QStringLiteral("第%1行的铲数与每铲重量之和为0，无法换算成吨，请检查每铲重量").arg(i + 1)
                               : QStringLiteral("第%1行的配比之和为0，无法换算成吨").arg(i + 1));
        }
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
