#include "history/PlanAnalysis.h"

#include "blend/ModelText.h"
#include "base/NumberText.h"
#include "base/QualityIndex.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>

namespace {

// A stored part is a whole number written as a double; anything further off
// than this is not a part.
constexpr double kWholeTolerance = 1e-6;
// Blend values are ratios of sums of two-decimal numbers; a bound is broken
// only beyond the noise of those sums.
constexpr double kBreakTolerance = 1e-9;
// "Within 0.5 % of the cheapest".
constexpr double kNearCheapest = 0.005;

double StepOf(double bound)
{
    return std::max(0.01, 0.01 * std::fabs(bound));
}

// The row's parts, checked and made exact whole numbers.
Result<std::vector<double>> WholeParts(const BlendProblem& problem, const std::vector<double>& parts)
{
    if (static_cast<int>(parts.size()) != problem.coalCount)
        return Invalid(CoreText::tr("配比有%1种煤的份数，方案有%2种煤", QString::number(parts.size()),
                                    QString::number(problem.coalCount)));
    std::vector<double> whole(parts.size());
    double total = 0.0;
    for (size_t j = 0; j < parts.size(); ++j) {
        const double x = parts[j];
        const double r = std::nearbyint(x);
        if (!std::isfinite(x) || r < 0.0 || std::fabs(x - r) > kWholeTolerance)
            return Invalid(CoreText::tr("第%1种煤的份数应为不小于0的整数", QString::number(j + 1)));
        whole[j] = r + 0.0;  // no negative zero
        total += problem.weight[j] * whole[j];
    }
    if (!(total > 0.0)) {
        return Invalid(problem.shovelMode ? CoreText::tr("各煤的铲数乘每铲重量之和不大于0，无法分析")
                                          : CoreText::tr("各煤的份数之和为0，无法分析"));
    }
    return whole;
}

double WeightedSum(const std::vector<double>& coefficient, const BlendProblem& problem,
                   const std::vector<double>& parts)
{
    double sum = 0.0;
    for (int j = 0; j < problem.coalCount; ++j)
        sum += coefficient[j] * problem.weight[j] * parts[j];
    return sum;
}

double Total(const BlendProblem& problem, const std::vector<double>& parts)
{
    double total = 0.0;
    for (int j = 0; j < problem.coalCount; ++j)
        total += problem.weight[j] * parts[j];
    return total;
}

// How far a value lies inside a bound (negative: outside).
double RoomOf(BoundSide side, double bound, double value)
{
    return side == BoundSide::Lower ? value - bound : bound - value;
}

// The time left of an analysis's budget.
class Deadline {
public:
    explicit Deadline(int budgetMs) : end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(budgetMs)) {}
    int leftMs() const
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now());
        return static_cast<int>(std::max<long long>(0, left.count()));
    }

private:
    std::chrono::steady_clock::time_point end_;
};

Repriced Reprice(const LinearProgram& program, int n, const Deadline& deadline)
{
    Repriced repriced;
    LinearOptions options;
    options.integer = true;
    options.timeLimitMs = deadline.leftMs();
    if (options.timeLimitMs <= 0) {
        repriced.status = LinearStatus::TimeLimit;
        return repriced;
    }
    const LinearSolution solution = SolveLinearProgram(program, options);
    repriced.status = solution.status;
    if (solution.status == LinearStatus::Optimal) {
        repriced.unitPrice = solution.objective / n;
        repriced.parts = solution.values;
    }
    return repriced;
}

// Whether whole parts meet every row of a programme.
bool Meets(const LinearProgram& program, const std::vector<double>& parts)
{
    std::vector<double> activity(program.rows.size(), 0.0);
    for (const LinearTerm& t : program.terms)
        activity[t.row] += t.value * parts[t.column];
    for (size_t r = 0; r < activity.size(); ++r) {
        const LinearRow& row = program.rows[r];
        if (activity[r] < row.lower - kBreakTolerance * std::max(1.0, std::fabs(row.lower)) ||
            activity[r] > row.upper + kBreakTolerance * std::max(1.0, std::fabs(row.upper)))
            return false;
    }
    return true;
}

// The cheapest mix of a variant that the row itself meets: no dearer than the
// row, so the search may leave out everything dearer from the start.
Repriced RepriceBelow(LinearProgram variant, const std::vector<double>& parts, int n, const Deadline& deadline)
{
    if (Meets(variant, parts)) {
        double cost = 0.0;
        for (size_t j = 0; j < parts.size(); ++j)
            cost += variant.columns[j].cost * parts[j];
        const int cutoff = variant.addRow(LinearRow{-kNoBound, cost + 1e-7 * std::max(1.0, std::fabs(cost))});
        for (size_t j = 0; j < parts.size(); ++j)
            variant.addTerm(cutoff, static_cast<int>(j), variant.columns[j].cost);
    }
    return Reprice(variant, n, deadline);
}

// Half of the last decimal an index's bounds are written with: a room below
// it does not show at their decimals (a room of exactly 0.005 beside 12
// shows as 0.01).
double BindingRoom(const std::optional<double>& lower, const std::optional<double>& upper)
{
    int decimals = 2;
    for (const std::optional<double>& bound : {lower, upper})
        if (bound)
            decimals = std::max(decimals, BoundDecimals(*bound));
    return 0.5 * std::pow(10.0, -decimals);
}

}  // namespace

Result<BlendProblem> PlanProblem(const PlanTargets& targets, const QVector<Mei>& coals)
{
    ModelInput input;
    input.coals = coals;
    input.lower = targets.lower;
    input.upper = targets.upper;
    input.tonnage = targets.tonnage;
    input.mustInclude = targets.mustInclude;
    input.shovelMode = targets.shovelMode;
    input.weighting = targets.weighting;
    return MakeBlendProblem(input);
}

Text OffSentence(const std::vector<OffBreak>& breaks, OffUnit unit, double tonnage)
{
    const Text off = unit == OffUnit::Part ? CoreText::tr("差一份") : CoreText::tr("差一铲");
    const Text reckoned = unit == OffUnit::ShovelOfTonnage
        ? CoreText::tr("（按配%1吨、各煤的每铲重量计）", ShortestNumberText(tonnage))
        : Text();
    if (breaks.empty())
        return CoreText::tr("%1仍全部达标%2", off, reckoned);
    Text pieces;
    for (const OffBreak& b : breaks) {
        // The value beyond its bound as shown, and the gap between the texts.
        const int decimals = DecimalsBeside(b.value, {b.bound});
        const QString value = FixedText(b.value, decimals);
        const double gap = std::fabs(ReadNumberText(value).value_or(b.value) - b.bound);
        const char* const source = b.side == BoundSide::Upper
            ? QT_TRANSLATE_NOOP("CoreText", "%1可达 %2，比上限 %3 高 %4")
            : QT_TRANSLATE_NOOP("CoreText", "%1可低至 %2，比下限 %3 低 %4");
        const Text piece = Text::Source(source, {Text::Source(QualityIndices()[b.index].describeLabel), value,
                                                 ShortestNumberText(b.bound), FixedText(gap, decimals)});
        pieces = pieces.isEmpty() ? piece : CoreText::tr("%1；%2", pieces, piece);
    }
    return CoreText::tr("%1时%2%3", off, pieces, reckoned);
}

Result<RowInsight> AnalyseRow(const BlendProblem& problem, const std::vector<double>& rowParts,
                              const AnalysisOptions& options)
{
    Result<std::vector<double>> checked = WholeParts(problem, rowParts);
    if (!checked)
        return checked.failure();
    const std::vector<double>& parts = *checked;
    const int k = problem.coalCount;

    RowInsight insight;
    insight.total = Total(problem, parts);
    insight.unitPrice = WeightedSum(problem.price, problem, parts) / insight.total;

    // The row's standing against each bound.
    std::array<double, kIndexCount> sums{};
    std::array<double, kIndexCount> masses{};  // what each index averages over
    for (int i = 0; i < kIndexCount; ++i) {
        if (!problem.bounded(i))
            continue;
        sums[i] = IndexSum(problem, i, parts);
        masses[i] = IndexMass(problem, i, parts, insight.total);
        IndexInsight index;
        index.index = i;
        index.value = sums[i] / masses[i];
        index.lower = problem.lower[i];
        index.upper = problem.upper[i];
        index.room = kNoBound;
        const double bindingRoom = BindingRoom(problem.lower[i], problem.upper[i]);
        for (const BoundSide side : {BoundSide::Lower, BoundSide::Upper}) {
            const std::optional<double>& bound = side == BoundSide::Lower ? problem.lower[i] : problem.upper[i];
            if (!bound)
                continue;
            BoundInsight b;
            b.index = i;
            b.side = side;
            b.bound = *bound;
            b.room = RoomOf(side, *bound, index.value);
            // On the bound but for the noise of the sums, or within the room
            // that does not show (a room of exactly half a last decimal shows).
            b.binds = std::fabs(b.room) <= kBreakTolerance * std::max(1.0, std::fabs(*bound))
                || std::fabs(b.room) < bindingRoom - kBreakTolerance;
            index.room = std::min(index.room, b.room);
            insight.bounds.push_back(b);
        }
        // Adding a part of any coal always leaves a mix, so these are set below.
        index.offLowest = kNoBound;
        index.offHighest = -kNoBound;
        insight.indices.push_back(index);
    }

    // What the bounds cost, at the row's total. The model's bound rows are
    // lower * n <= sum_j v_j w_j x_j and the cost is n times the unit price, so
    // a bound row's dual is already the change of unit price per unit of the
    // bound. For an index averaged on its basis the row is
    // 0 <= sum_j (v_j - lower) f_j w_j x_j: a unit of the bound moves it by
    // the mass sum_j f_j w_j x_j of the relaxation's mix, not by n.
    const double nearest = std::nearbyint(insight.total);
    if (std::fabs(insight.total - nearest) <= kWholeTolerance * std::max(1.0, insight.total)) {
        const int n = static_cast<int>(nearest);
        BlendRows rows;
        const LinearProgram program = BlendProgram(problem, n, &rows);
        auto rowOf = [&](const BoundInsight& b) {
            return b.side == BoundSide::Lower ? rows.lower[b.index] : rows.upper[b.index];
        };
        const Deadline deadline(options.budgetMs);
        LinearOptions relaxed;
        relaxed.integer = false;
        relaxed.duals = true;
        relaxed.timeLimitMs = std::max(1, deadline.leftMs());
        const LinearSolution lp = SolveLinearProgram(program, relaxed);
        if (lp.status == LinearStatus::Optimal)
            for (BoundInsight& b : insight.bounds)
                b.shadowPrice = (problem.weighted(b.index)
                                     ? lp.rowDuals[rowOf(b)] * IndexMass(problem, b.index, lp.values, n) / n
                                     : lp.rowDuals[rowOf(b)]) + 0.0;

        std::vector<BoundInsight*> binding;
        for (BoundInsight& b : insight.bounds)
            if (b.binds && options.repriceBindingBounds)
                binding.push_back(&b);
        std::stable_sort(binding.begin(), binding.end(), [](const BoundInsight* a, const BoundInsight* b) {
            return std::fabs(a->shadowPrice.value_or(0.0)) > std::fabs(b->shadowPrice.value_or(0.0));
        });
        for (BoundInsight* bound : binding) {
            BoundInsight& b = *bound;
            b.step = StepOf(b.bound);
            LinearProgram variant = program;
            const int r = rowOf(b);
            SetBoundRow(problem, variant, r, b.index, b.side, std::nullopt, n);
            b.removed = RepriceBelow(variant, parts, n, deadline);
            SetBoundRow(problem, variant, r, b.index, b.side,
                        b.side == BoundSide::Lower ? b.bound - b.step : b.bound + b.step, n);
            // The cheapest mix without the bound is the cheapest with it moved
            // whenever it keeps to the moved bound.
            if (b.removed.status == LinearStatus::Optimal && Meets(variant, b.removed.parts))
                b.stepped = b.removed;
            else
                b.stepped = RepriceBelow(variant, parts, n, deadline);
        }
    }

    // What one off is: a part (a shovel in a shovel plan), or in a plan by
    // weight one shovel of the coal against the tonnage, n * tons / tonnage
    // parts, when every coal's shovel weight and the tonnage are known.
    std::vector<double> step(k, 1.0);
    insight.offUnit = problem.shovelMode ? OffUnit::Shovel : OffUnit::Part;
    const bool shovelsKnown = static_cast<int>(options.shovelTons.size()) == k
        && std::all_of(options.shovelTons.begin(), options.shovelTons.end(), [](double t) { return t > 0.0; });
    if (!problem.shovelMode && problem.tonnage && *problem.tonnage > 0.0 && shovelsKnown) {
        insight.offUnit = OffUnit::ShovelOfTonnage;
        for (int j = 0; j < k; ++j)
            step[j] = options.shovelTons[j] * insight.total / *problem.tonnage;
    }

    // Every mix one off of one coal: its blend value of index i is
    // (sum_i + change * amount * v_ij f_ij w_j) / (mass_i + change * amount * f_ij w_j),
    // with f_ij 1 unless the index is averaged on its basis.
    std::vector<std::optional<OffBreak>> worst(insight.bounds.size());
    for (int j = 0; j < k; ++j) {
        for (const int change : {+1, -1}) {
            if (change < 0 && !(parts[j] > 0.0))
                continue;
            // Less than a shovel of a coal in the mix: one off leaves none of it.
            const double amount = change < 0 ? std::min(step[j], parts[j]) : step[j];
            const double total = insight.total + change * amount * problem.weight[j];
            if (!(total > 0.0))
                continue;  // nothing left to blend
            ++insight.offMixCount;
            const NearbyMix mix{j, change, amount};
            size_t b = 0;
            for (IndexInsight& index : insight.indices) {
                const int i = index.index;
                const double f = problem.factorOf(i, j);
                const double value = (sums[i] + change * amount * problem.value[i][j] * f * problem.weight[j])
                                     / (masses[i] + change * amount * f * problem.weight[j]);
                if (value < index.offLowest) {
                    index.offLowest = value;
                    index.lowestMix = mix;
                }
                if (value > index.offHighest) {
                    index.offHighest = value;
                    index.highestMix = mix;
                }
                for (; b < insight.bounds.size() && insight.bounds[b].index == i; ++b) {
                    const BoundInsight& bound = insight.bounds[b];
                    const double excess = -RoomOf(bound.side, bound.bound, value);
                    if (excess <= kBreakTolerance * std::max(1.0, std::fabs(bound.bound)))
                        continue;
                    if (!worst[b] || excess > worst[b]->excess)
                        worst[b] = OffBreak{i, bound.side, bound.bound, value, excess, mix};
                }
            }
        }
    }
    for (const std::optional<OffBreak>& b : worst)
        if (b)
            insight.breaks.push_back(*b);
    insight.offSentence =
        OffSentence(insight.breaks, insight.offUnit, insight.offUnit == OffUnit::ShovelOfTonnage ? *problem.tonnage : 0.0);
    return insight;
}

Result<PlanPrices> AnalysePlanPrices(const BlendProblem& problem, const PlanTargets& targets,
                                     const std::vector<StoredRow>& rows)
{
    PlanPrices prices;
    prices.triedUpTo = ProportionCount(targets.proportionCount);
    for (size_t r = 0; r < rows.size(); ++r) {
        Result<std::vector<double>> parts = WholeParts(problem, rows[r].parts);
        if (!parts)
            return Invalid(CoreText::tr("第%1行配比：%2", QString::number(r + 1), parts.said()));
        PlanPricePoint point;
        point.row = static_cast<int>(r);
        point.total = Total(problem, *parts);
        point.unitPrice = WeightedSum(problem.price, problem, *parts) / point.total;
        point.storedPrice = rows[r].price;
        prices.points.push_back(point);
    }
    std::stable_sort(prices.points.begin(), prices.points.end(),
                     [](const PlanPricePoint& a, const PlanPricePoint& b) { return a.total < b.total; });
    for (size_t p = 0; p < prices.points.size(); ++p)
        if (prices.cheapest < 0 || prices.points[p].unitPrice < prices.points[prices.cheapest].unitPrice)
            prices.cheapest = static_cast<int>(p);
    if (prices.cheapest >= 0) {
        const double cheapest = prices.points[prices.cheapest].unitPrice;
        const double limit = cheapest + kNearCheapest * std::fabs(cheapest);
        for (size_t p = 0; p < prices.points.size() && prices.fineEnough < 0; ++p)
            if (prices.points[p].unitPrice <= limit + 1e-12 * std::max(1.0, std::fabs(limit)))
                prices.fineEnough = static_cast<int>(p);
    }
    return prices;
}
