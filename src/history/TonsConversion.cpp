#include "history/TonsConversion.h"

#include "history/PlanHistory.h"
#include "workspace/CommonFunction.h"

QString ConvertCaption() { return QStringLiteral("把如下比例转换成吨"); }
QString ConvertAgainCaption() { return QStringLiteral("将如下比例转换成吨"); }
QString RestoreCaption() { return QStringLiteral("还原"); }

bool IsShovelCountPlan(const QString& information)
{
    return information.contains(QStringLiteral("铲"));
}

int FindShovelColumn(const ListData& coals)
{
    return coals.findColumn(QStringLiteral("每铲重量")) + 1;
}

std::optional<qint32> ParseTonnage(const QString& text)
{
    if (!IsNumericText(text))
        return std::nullopt;
    return ToLongOrZero(text);
}

QString ConvertToTons(ListData& blends, const ListData& coals, qint32 tonnage, bool shovelPlan)
{
    const int n = std::min(coals.rowCount(), kProportionColumnCount);
    if (n == 0)
        return QString();  // a plan without coal rows has nothing to convert
    const int shovelColumn = FindShovelColumn(coals) - 1;
    QVector<double> weights(n, 0.0);
    if (shovelPlan && shovelColumn >= 0)
        for (int j = 0; j < n; ++j)
            weights[j] = ToRoundedDouble(coals.cell(j, shovelColumn));

    // Work on a copy so that a row that cannot be converted leaves every row as it was.
    ListData converted = blends;
    for (int i = 0; i < converted.rowCount(); ++i) {
        ListRow& row = converted.rows[i];
        double sum = 0;
        for (int j = 0; j < n; ++j) {
            const double p = ToRoundedDouble(row.cell(kFirstProportionColumn + j));
            sum = shovelPlan ? RoundHalfEven(p * weights[j] + sum) : RoundHalfEven(sum + p);
        }
        if (sum == 0) {
            return shovelPlan
                ? QStringLiteral("第%1行的铲数与每铲重量之和为0，无法换算成吨，请检查每铲重量").arg(i + 1)
                : QStringLiteral("第%1行的配比之和为0，无法换算成吨").arg(i + 1);
        }
        for (int k = 0; k < n; ++k) {
            const int column = kFirstProportionColumn + k;
            const double q = ToNumber(row.cell(column)).value_or(0.0);
            const double tons = shovelPlan ? q * weights[k] / sum * tonnage : q / sum * tonnage;
            row.setCell(column, FixedText(tons, 2));
        }
    }
    blends = std::move(converted);
    return QString();
}

TonsOutcome PressConvert(const AppFolder& folder, int planId, const TonsPress& press, ListData& blends)
{
    TonsOutcome outcome;
    outcome.caption = press.caption;
    if (press.tonnageText.isEmpty()) {
        outcome.message = QStringLiteral("您要配多少吨，请先填写");
        return outcome;
    }
    if (blends.rowCount() == 0)
        return outcome;
    if (press.caption == RestoreCaption()) {
        FillBlendRows(blends, folder, PlanBlendsStatement(planId));
        outcome.rowsChanged = true;
        outcome.caption = ConvertAgainCaption();
        return outcome;
    }
    const std::optional<qint32> tonnage = ParseTonnage(press.tonnageText);
    if (!tonnage) {
        outcome.message = QStringLiteral("配多少吨请填写成数字");
        return outcome;
    }
    outcome.message = ConvertToTons(blends, press.coals, *tonnage, IsShovelCountPlan(press.information));
    if (!outcome.message.isEmpty())
        return outcome;
    outcome.rowsChanged = true;
    outcome.caption = RestoreCaption();
    return outcome;
}
