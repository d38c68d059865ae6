#include "export/LoaderSheet.h"

#include "base/NumberText.h"
#include "history/TonsConversion.h"

#include <cmath>

namespace {

BoundCheck Check(const QString& value, const QString& lower, const QString& upper)
{
    const std::optional<double> v = ReadNumberText(value);
    if (!v)
        return BoundCheck::Unknown;
    // The value text carries two decimals: a bound is met when the value
    // shown meets it.
    constexpr double kSlack = 1e-9;
    if (const std::optional<double> lo = ReadNumberText(lower); lo && *v < *lo - kSlack)
        return BoundCheck::Below;
    if (const std::optional<double> hi = ReadNumberText(upper); hi && *v > *hi + kSlack)
        return BoundCheck::Above;
    return BoundCheck::Within;
}

QVector<LoaderSheetIndex> IndicesOf(const Mei& blend, const std::optional<PlanTargets>& targets)
{
    QVector<LoaderSheetIndex> indices;
    for (int i = 0; i < kIndexCount; ++i) {
        LoaderSheetIndex row;
        row.index = i;
        row.value = IndexValue(blend, i);
        if (targets) {
            row.lower = targets->lower[i].trimmed();
            row.upper = targets->upper[i].trimmed();
            if (row.lower.isEmpty() && row.upper.isEmpty())
                continue;
        } else if (row.value.isEmpty()) {
            continue;
        }
        row.check = Check(row.value, row.lower, row.upper);
        indices << row;
    }
    return indices;
}

}  // namespace

Result<LoaderSheet> MakeLoaderSheet(const LoaderSheetSource& source, qint32 tonnage)
{
    if (tonnage <= 0)
        return Invalid(CoreText::tr("配多少吨必须大于0"));
    const int n = static_cast<int>(std::min<qsizetype>(source.coals.size(), static_cast<qsizetype>(source.parts.size())));
    if (n == 0)
        return Invalid(CoreText::tr("此配比没有参与的煤，无法生成装车单"));

    LoaderSheet sheet;
    sheet.title = source.title;
    sheet.date = source.date;
    sheet.planDate = source.planDate;
    sheet.tonnage = tonnage;
    sheet.shovelMode = source.shovelMode;
    sheet.price = source.blend.JiaGe;
    sheet.targetsKnown = source.targets.has_value();
    sheet.indices = IndicesOf(source.blend, source.targets);

    QStringList parts;
    QStringList weights;
    for (int j = 0; j < n; ++j) {
        const Mei& coal = source.coals[j];
        const double p = source.parts[j];
        if (!std::isfinite(p) || p < 0)
            return Invalid(CoreText::tr("第%1种煤（%2）的配比不是有效的数字", QString::number(j + 1), coal.MingCheng));
        if (source.shovelMode && p > 0 && !(ToRoundedDouble(coal.MeiChan) > 0))
            return Invalid(
                CoreText::tr("第%1种煤（%2）没有每铲重量，无法按铲数生成装车单", QString::number(j + 1), coal.MingCheng));
        parts << ShortestNumberText(p);
        weights << coal.MeiChan;
    }
    const Result<QVector<qint64>> cents = ConvertRowToCents(parts, weights, tonnage, source.shovelMode);
    if (!cents)
        return Invalid(CoreText::tr("此配比的各煤配比之和为0，无法生成装车单"));

    double whole = 0;
    for (int j = 0; j < n; ++j)
        whole += source.shovelMode ? source.parts[j] * ToRoundedDouble(source.coals[j].MeiChan) : source.parts[j];

    if (source.shovelMode) {
        for (int j = 0; j < n; ++j) {
            sheet.shovelsPerCycle += static_cast<qint64>(RoundHalfEven(source.parts[j]));
            sheet.tonsPerCycle += source.parts[j] * ToRoundedDouble(source.coals[j].MeiChan);
        }
        // A cycle that loads exactly the tonnage's rest is whole: the slack
        // keeps 3 x 33.33 from counting as a cycle short of 99.99.
        sheet.cycles = static_cast<qint64>(std::floor(tonnage / sheet.tonsPerCycle + 1e-9));
        sheet.remainderCents =
            std::max<qint64>(0, static_cast<qint64>(tonnage) * 100 - std::llround(sheet.cycles * sheet.tonsPerCycle * 100));
    }

    for (int j = 0; j < n; ++j) {
        const Mei& coal = source.coals[j];
        LoaderSheetCoal row;
        row.name = coal.MingCheng;
        row.parts = source.parts[j];
        const double weighted = source.shovelMode ? row.parts * ToRoundedDouble(coal.MeiChan) : row.parts;
        row.share = whole > 0 ? weighted / whole : 0.0;
        row.cents = (*cents)[j];
        row.shovelWeight = coal.MeiChan.trimmed();
        const double perShovel = ToRoundedDouble(coal.MeiChan);
        if (source.shovelMode) {
            const qint64 perCycle = static_cast<qint64>(RoundHalfEven(row.parts));
            row.shovels = perCycle * sheet.cycles;
            const double rest = sheet.tonsPerCycle > 0 ? sheet.remainderTons() / sheet.tonsPerCycle : 0.0;
            row.remainderShovels = static_cast<qint64>(RoundHalfEven(row.parts * rest));
        } else if (perShovel > 0) {
            row.shovels = static_cast<qint64>(RoundHalfEven(row.tons() / perShovel));
        }
        sheet.totalCents += row.cents;
        sheet.coals << row;
    }
    return sheet;
}

Result<qint32> LoaderTonnage(const QString& typed, const PlanView& plan)
{
    QString text = typed.trimmed();
    if (text.isEmpty() && plan.targets)
        text = plan.targets->tonnage.trimmed();
    if (text.isEmpty())
        return Invalid(CoreText::tr("您要配多少吨，请先填写"));
    const Result<qint32> tonnage = ParseTonnage(text);
    if (!tonnage)
        return tonnage;
    if (*tonnage <= 0)
        return Invalid(CoreText::tr("配多少吨必须大于0"));
    return tonnage;
}

Result<LoaderSheet> LoaderSheetFromPlan(const PlanView& plan, const QDateTime& planDate, int blendId,
                                        qint32 tonnage, const QDateTime& issued)
{
    const PlanBlendRow* row = nullptr;
    for (const PlanBlendRow& blend : plan.blends)
        if (blend.id == blendId)
            row = &blend;
    if (!row)
        return Invalid(CoreText::tr("请先选择一行配比方案"));
    LoaderSheetSource source;
    source.title = plan.information;
    source.date = issued;
    source.planDate = planDate;
    source.coals = plan.coals.mid(0, kProportionColumnCount);
    for (int j = 0; j < source.coals.size(); ++j)
        source.parts.push_back(row->parts[j]);
    source.blend = row->blend;
    source.shovelMode = plan.targets ? plan.targets->shovelMode : IsShovelCountPlan(plan.information);
    source.targets = plan.targets;
    return MakeLoaderSheet(source, tonnage);
}
