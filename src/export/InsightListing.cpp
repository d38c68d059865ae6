#include "export/InsightListing.h"

#include "base/NumberText.h"
#include "base/QualityIndex.h"

#include <cmath>

namespace {

QString Joined(const QStringList& parts)
{
    return parts.join(QStringLiteral(" / "));
}

QString RoomText(const IndexInsight& index, const std::vector<const BoundInsight*>& bounds, int decimals)
{
    bool lowerBinds = false, upperBinds = false;
    const BoundInsight* nearest = nullptr;
    for (const BoundInsight* b : bounds) {
        (b->side == BoundSide::Lower ? lowerBinds : upperBinds) |= b->binds;
        if (!nearest || b->room < nearest->room)
            nearest = b;
    }
    // A room that rounds to nothing shows as 0, never as -0.
    const double room = std::fabs(index.room) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : index.room;
    QString text = FixedText(room, decimals);
    if (nearest && room < 0.0)
        return (nearest->side == BoundSide::Lower ? CoreText::tr("%1 低于下限", text) : CoreText::tr("%1 超出上限", text))
            .words();
    if (lowerBinds && upperBinds)
        return CoreText::tr("%1 已达上下限", text).words();
    if (lowerBinds)
        return CoreText::tr("%1 已达下限", text).words();
    if (upperBinds)
        return CoreText::tr("%1 已达上限", text).words();
    return text;
}

// The price one step looser, with the step where it is not 1 % of the bound.
QString SteppedText(const BoundInsight& b)
{
    QString text = RepricedText(b.stepped);
    if (b.step > 0.0 && std::fabs(b.step - 0.01 * std::fabs(b.bound)) > 1e-12)
        text = CoreText::tr("%1（放宽%2）", text, ShortestNumberText(b.step)).words();
    return text;
}

}  // namespace

void SetupLimitColumns(ListData& list)
{
    list.clearColumns();
    list.addColumn(CoreText::tr("指标").words(), 850);
    list.addColumn(CoreText::tr("方案值").words(), 850);
    list.addColumn(CoreText::tr("下限").words(), 750);
    list.addColumn(CoreText::tr("上限").words(), 750);
    list.addColumn(CoreText::tr("余量").words(), 1450);
    list.addColumn(CoreText::tr("放宽1%后单价").words(), 1400,
                   CoreText::tr("已达到的限值放宽一步、其余条件不变时，按整份重新求得的最低单价。"
                                "一步是限值的1%（上限调高，下限调低）；限值的绝对值小于1时是0.01，格中注明。")
                       .words());
    list.addColumn(CoreText::tr("去掉此限后单价").words(), 1400,
                   CoreText::tr("去掉已达到的这个限值、其余条件不变时，按整份重新求得的最低单价。").words());
    list.addColumn(CoreText::tr("影子价格(每单位指标)").words(), 1600,
                   CoreText::tr("已达到的限值每提高1个指标单位（灰分1%、热量1kcal/kg……），单价（元/吨）的变化。"
                                "取自线性松弛（份数可取小数）在此行总数下的对偶值，不是按整份算出的；"
                                "限值没有起约束作用的行不显示。")
                       .words());
}

QString RepricedText(const Repriced& repriced)
{
    switch (repriced.status) {
    case LinearStatus::Optimal: return FixedText(repriced.unitPrice, 2);
    case LinearStatus::Infeasible: return CoreText::tr("无解").words();
    case LinearStatus::Unbounded: return CoreText::tr("无界").words();
    case LinearStatus::TimeLimit: return CoreText::tr("超时未算出").words();
    case LinearStatus::Failed: break;
    }
    return CoreText::tr("未能计算").words();
}

QString ShadowPriceText(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (std::fabs(value) < 5e-7)
        return QStringLiteral("0");
    return FixedText(value, std::fabs(value) < 0.01 ? 4 : 2);
}

LimitRows MakeLimitRows(const PlanTargets& targets, const RowInsight* insight, const Settings& settings)
{
    LimitRows out;
    for (int i = 0; i < kIndexCount; ++i) {
        if (targets.lower[i].isEmpty() && targets.upper[i].isEmpty())
            continue;
        const QualityIndex& quality = QualityIndices()[i];
        ListRow row;
        row.text = Text::Source(quality.listHeader).words();
        QStringList cells(kLimitColumnCount - 1);
        cells[kLimitLower - 1] = targets.lower[i].trimmed();
        cells[kLimitUpper - 1] = targets.upper[i].trimmed();
        bool binding = false;

        const IndexInsight* index = nullptr;
        std::vector<const BoundInsight*> bounds;
        if (insight) {
            for (const IndexInsight& candidate : insight->indices)
                if (candidate.index == i)
                    index = &candidate;
            for (const BoundInsight& b : insight->bounds)
                if (b.index == i)
                    bounds.push_back(&b);
        }
        if (index && !bounds.empty()) {
            const int decimals = DecimalsBeside(index->value, {index->lower.value_or(NAN), index->upper.value_or(NAN)});
            cells[kLimitValue - 1] = FixedText(index->value, decimals);
            cells[kLimitRoom - 1] = RoomText(*index, bounds, decimals);
            QStringList stepped, removed, shadow;
            for (const BoundInsight* b : bounds) {
                if (!b->binds)
                    continue;
                binding = true;
                stepped << SteppedText(*b);
                removed << RepricedText(b->removed);
                shadow << (b->shadowPrice ? ShadowPriceText(*b->shadowPrice) : QString());
            }
            cells[kLimitStepped - 1] = Joined(stepped);
            cells[kLimitRemoved - 1] = Joined(removed);
            cells[kLimitShadow - 1] = Joined(shadow);
        }
        row.subItems = cells;
        out.rows << row;
        out.indices << i;
        const QString key = QLatin1String(quality.hideKey);
        out.hidden << (!key.isEmpty() && settings.hides(key));
        out.binding << binding;
    }
    return out;
}

QString MarginText(const PlanInsight& insight, bool rowSelected, const Result<RowInsight>* analysis)
{
    if (!insight.note().isEmpty())
        return insight.note().words();
    if (!rowSelected || !analysis)
        return (insight.offUnit() == OffUnit::Part
                    ? CoreText::tr("选中一行配比，可看各指标的余量、每个限值的代价，以及差一份时是否仍全部达标")
                    : CoreText::tr("选中一行配比，可看各指标的余量、每个限值的代价，以及差一铲时是否仍全部达标"))
            .words();
    if (!*analysis)
        return analysis->said().words();
    return (*analysis)->offSentence.words();
}

PriceChart MakePriceChart(const PlanInsight& insight, int selectedRow)
{
    PriceChart chart;
    chart.xTitle = (insight.shovelMode() ? CoreText::tr("配比总数（铲数×每铲重量）") : CoreText::tr("配比总数")).words();
    chart.yTitle = CoreText::tr("单价").words();
    const Result<PlanPrices>& prices = insight.prices();
    if (!prices) {
        chart.failure = prices.said().words();
        chart.caption = chart.failure;
        return chart;
    }
    for (int p = 0; p < static_cast<int>(prices->points.size()); ++p) {
        const PlanPricePoint& point = prices->points[p];
        chart.points << QPointF(point.total, point.unitPrice);
        chart.rows << point.row;
        if (point.row == selectedRow && selectedRow >= 0)
            chart.selected = p;
    }
    chart.cheapest = prices->cheapest;
    chart.fineEnough = prices->fineEnough;
    if (chart.cheapest >= 0) {
        const double cheapest = chart.points[chart.cheapest].y();
        chart.nearLimit = cheapest + 0.005 * std::fabs(cheapest);
    }
    QStringList caption;
    if (chart.fineEnough >= 0) {
        const QPointF& p = chart.points[chart.fineEnough];
        const QPointF& low = chart.points[chart.cheapest];
        chart.fineEnoughLabel = CoreText::tr("总数 %1", ShortestNumberText(p.x())).words();
        caption << CoreText::tr("■ 总数 %1 的单价 %2 已在最低单价 %3（总数 %4）的 0.5% 以内", ShortestNumberText(p.x()),
                                FixedText(p.y(), 2), FixedText(low.y(), 2), ShortestNumberText(low.x()))
                       .words();
    }
    if (chart.selected >= 0) {
        const QPointF& p = chart.points[chart.selected];
        chart.selectedLabel = CoreText::tr("所选").words();
        caption << CoreText::tr("● 所选：总数 %1，单价 %2", ShortestNumberText(p.x()), FixedText(p.y(), 2)).words();
    }
    chart.caption = caption.join(QLatin1Char('\n'));
    return chart;
}

QVector<ShareSegment> MakeRowShares(const PlanInsight& insight, int row, const QStringList& shownCells, bool tonsShown)
{
    QVector<ShareSegment> shares;
    if (row < 0 || row >= insight.rowCount())
        return shares;
    const std::vector<double>& parts = insight.parts(row);
    double total = 0.0;
    for (size_t j = 0; j < parts.size(); ++j)
        total += insight.weight(static_cast<int>(j)) * parts[j];
    const char* const amountSource = tonsShown             ? QT_TRANSLATE_NOOP("CoreText", "%1吨")
                                     : insight.shovelMode() ? QT_TRANSLATE_NOOP("CoreText", "%1铲")
                                                            : QT_TRANSLATE_NOOP("CoreText", "%1份");
    for (size_t j = 0; j < parts.size(); ++j) {
        const int c = static_cast<int>(j);
        ShareSegment segment;
        segment.coal = c < insight.coalNames().size() ? insight.coalNames()[c] : QStringLiteral("d%1").arg(c + 1);
        segment.share = total > 0.0 ? insight.weight(c) * parts[j] / total : 0.0;
        segment.amount =
            Text::Source(amountSource, {c < shownCells.size() ? shownCells[c] : ShortestNumberText(parts[j])}).words();
        segment.label =
            CoreText::tr("%1 %2（%3%）", segment.coal, segment.amount, FixedText(100.0 * segment.share, 1)).words();
        shares << segment;
    }
    return shares;
}
