#include "export/InsightListing.h"

#include "base/NumberText.h"
#include "base/QualityIndex.h"

#include <cmath>

namespace {

// Bounds closer than this are the same bound for the list (an index held at
// one value).
constexpr double kSameValue = 1e-9;

QString Joined(const QStringList& parts)
{
    return parts.join(QStringLiteral(" / "));
}

QString RoomText(const IndexInsight& index, const std::vector<const BoundInsight*>& bounds)
{
    bool lowerBinds = false, upperBinds = false;
    const BoundInsight* nearest = nullptr;
    for (const BoundInsight* b : bounds) {
        (b->side == BoundSide::Lower ? lowerBinds : upperBinds) |= b->binds;
        if (!nearest || b->room < nearest->room)
            nearest = b;
    }
    // A room within the binding distance shows as 0.00, never as -0.00.
    const double room = std::fabs(index.room) < 0.005 ? 0.0 : index.room;
    QString text = FixedText(room, 2);
    if (lowerBinds && upperBinds)
        return text + QStringLiteral(" 已达上下限");
    if (lowerBinds)
        return text + QStringLiteral(" 已达下限");
    if (upperBinds)
        return text + QStringLiteral(" 已达上限");
    if (nearest && room < 0.0)
        return text + (nearest->side == BoundSide::Lower ? QStringLiteral(" 低于下限") : QStringLiteral(" 超出上限"));
    return text;
}

}  // namespace

void SetupLimitColumns(ListData& list)
{
    list.clearColumns();
    list.addColumn(QStringLiteral("指标"), 850);
    list.addColumn(QStringLiteral("方案值"), 850);
    list.addColumn(QStringLiteral("下限"), 750);
    list.addColumn(QStringLiteral("上限"), 750);
    list.addColumn(QStringLiteral("余量"), 1450);
    list.addColumn(QStringLiteral("放宽一步后单价"), 1400);
    list.addColumn(QStringLiteral("去掉此限后单价"), 1400);
    list.addColumn(QStringLiteral("影子价格"), 1000);
}

QString RepricedText(const Repriced& repriced)
{
    switch (repriced.status) {
    case LinearStatus::Optimal: return FixedText(repriced.unitPrice, 2);
    case LinearStatus::Infeasible: return QStringLiteral("无解");
    case LinearStatus::Unbounded: return QStringLiteral("无界");
    case LinearStatus::TimeLimit: return QStringLiteral("超时未算出");
    case LinearStatus::Failed: break;
    }
    return QStringLiteral("未能计算");
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
        row.text = QString::fromUtf8(quality.listHeader);
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
            cells[kLimitValue - 1] = FixedText(index->value, 2);
            cells[kLimitRoom - 1] = RoomText(*index, bounds);
            QStringList stepped, removed, shadow;
            const BoundInsight* nearest = bounds.front();
            for (const BoundInsight* b : bounds) {
                if (b->room < nearest->room - kSameValue)
                    nearest = b;
                if (!b->binds)
                    continue;
                binding = true;
                stepped << RepricedText(b->stepped);
                removed << RepricedText(b->removed);
                shadow << (b->shadowPrice ? ShadowPriceText(*b->shadowPrice) : QString());
            }
            if (!binding && nearest->shadowPrice)
                shadow << ShadowPriceText(*nearest->shadowPrice);
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
        return insight.note();
    if (!rowSelected || !analysis)
        return QStringLiteral("选中一行配比，可看各指标的余量、每个限值的代价，以及差一铲时是否仍全部达标");
    if (!*analysis)
        return analysis->message();
    return (*analysis)->offSentence;
}

PriceChart MakePriceChart(const PlanInsight& insight, int selectedRow)
{
    PriceChart chart;
    chart.xTitle = insight.shovelMode() ? QStringLiteral("配比总数（铲数×每铲重量）") : QStringLiteral("配比总数");
    chart.yTitle = QStringLiteral("单价");
    const Result<PlanPrices>& prices = insight.prices();
    if (!prices) {
        chart.failure = prices.message();
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
        chart.fineEnoughLabel = QStringLiteral("总数 %1").arg(ShortestNumberText(p.x()));
        caption << QStringLiteral("■ 总数 %1 的单价 %2 已在最低单价 %3（总数 %4）的 0.5% 以内")
                       .arg(ShortestNumberText(p.x()), FixedText(p.y(), 2), FixedText(low.y(), 2),
                            ShortestNumberText(low.x()));
    }
    if (chart.selected >= 0) {
        const QPointF& p = chart.points[chart.selected];
        chart.selectedLabel = QStringLiteral("所选");
        caption << QStringLiteral("● 所选：总数 %1，单价 %2").arg(ShortestNumberText(p.x()), FixedText(p.y(), 2));
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
    const QString unit = tonsShown ? QStringLiteral("吨") : insight.shovelMode() ? QStringLiteral("铲") : QStringLiteral("份");
    for (size_t j = 0; j < parts.size(); ++j) {
        const int c = static_cast<int>(j);
        ShareSegment segment;
        segment.coal = c < insight.coalNames().size() ? insight.coalNames()[c] : QStringLiteral("d%1").arg(c + 1);
        segment.share = total > 0.0 ? insight.weight(c) * parts[j] / total : 0.0;
        segment.amount = (c < shownCells.size() ? shownCells[c] : ShortestNumberText(parts[j])) + unit;
        segment.label =
            QStringLiteral("%1 %2（%3%）").arg(segment.coal, segment.amount, FixedText(100.0 * segment.share, 1));
        shares << segment;
    }
    return shares;
}
