#include "history/PlanInsight.h"

#include "base/NumberText.h"
#include "history/TonsConversion.h"

#include <algorithm>

namespace {

bool AnyPriceCutShort(const RowInsight& insight)
{
    for (const BoundInsight& b : insight.bounds)
        if (b.stepped.status == LinearStatus::TimeLimit || b.removed.status == LinearStatus::TimeLimit)
            return true;
    return false;
}

}  // namespace

Text NoTargetsNote()
{
    return CoreText::tr("此方案没有保存指标范围");
}

PlanInsight::PlanInsight(const PlanView& plan) : targets_(plan.targets)
{
    const int k = std::min<int>(static_cast<int>(plan.coals.size()), kProportionColumnCount);
    const QVector<Mei> coals = plan.coals.mid(0, k);
    for (const Mei& coal : coals) {
        coalNames_ << coal.MingCheng;
        const std::optional<double> tons = ReadNumberText(coal.MeiChan);
        shovelTons_.push_back(tons && *tons > 0.0 ? *tons : 0.0);
    }
    if (std::find(shovelTons_.begin(), shovelTons_.end(), 0.0) != shovelTons_.end())
        shovelTons_.clear();
    for (const PlanBlendRow& row : plan.blends) {
        rowById_.insert(row.id, static_cast<int>(parts_.size()));
        parts_.emplace_back(row.parts.begin(), row.parts.begin() + k);
    }

    // Without targets the prices against totals still need the parts'
    // weights: a model without bounds, its shovel mode from the plan's text.
    PlanTargets priceOnly;
    priceOnly.shovelMode = IsShovelCountPlan(plan.information);
    const PlanTargets& used = targets_ ? *targets_ : priceOnly;
    shovelMode_ = used.shovelMode;
    Result<BlendProblem> problem = PlanProblem(used, coals);
    if (!problem && targets_) {
        note_ = CoreText::tr("无法重建此方案的模型：%1", problem.said());
        problem = PlanProblem(PlanTargets{.shovelMode = used.shovelMode}, coals);
    } else if (!targets_) {
        note_ = NoTargetsNote();
    }
    if (!problem) {
        prices_ = Fail(CoreText::tr("无法计算各配比的单价：%1", problem.said()));
        return;
    }
    problem_ = std::move(*problem);

    std::vector<StoredRow> rows;
    rows.reserve(plan.blends.size());
    for (size_t r = 0; r < parts_.size(); ++r)
        rows.push_back(StoredRow{parts_[r], plan.blends[static_cast<int>(r)].blend.JiaGe});
    prices_ = AnalysePlanPrices(*problem_, used, rows);
}

OffUnit PlanInsight::offUnit() const
{
    if (shovelMode_)
        return OffUnit::Shovel;
    const bool tonnage = problem_ && problem_->tonnage && *problem_->tonnage > 0.0;
    return tonnage && !shovelTons_.empty() ? OffUnit::ShovelOfTonnage : OffUnit::Part;
}

int PlanInsight::rowOf(int id) const
{
    return rowById_.value(id, -1);
}

double PlanInsight::weight(int coal) const
{
    if (!problem_ || coal < 0 || coal >= problem_->coalCount)
        return 1.0;
    return problem_->weight[coal];
}

Result<RowInsight> PlanInsight::analyse(int id, const AnalysisOptions& options)
{
    if (!targets_)
        return Invalid(NoTargetsNote());
    if (!note_.isEmpty() || !problem_)
        return Invalid(note_);
    const int row = rowOf(id);
    if (row < 0)
        return Invalid(CoreText::tr("此方案中没有这一行配比"));
    if (const auto kept = analysed_.constFind(id); kept != analysed_.constEnd())
        return *kept;
    AnalysisOptions withShovels = options;
    withShovels.shovelTons = shovelTons_;
    Result<RowInsight> insight = AnalyseRow(*problem_, parts_[row], withShovels);
    if (insight && !AnyPriceCutShort(*insight))
        analysed_.insert(id, *insight);
    return insight;
}
