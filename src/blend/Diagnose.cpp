#include "blend/Diagnose.h"

#include "blend/BlendProblem.h"
#include "blend/LinearSolver.h"
#include "base/NumberText.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <optional>
#include <string>

namespace {

// How far a mix may miss a row's bound, in the row's own scale.
constexpr double kRowTolerance = 1e-7;
// A suggested bound lies this much (relative) beyond the blend value its mix
// reaches. Exactly on the value, the solver's presolver can lose the mix to
// its own rounding and report no plan; a hair beyond, it finds it.
constexpr double kWiden = 1e-13;
// The largest proportion count a run accepts.
constexpr int kLargestTotal = 1000;
// All solves of one diagnosis together may take this long.
constexpr int kBudgetMs = 20000;

struct Bound {
    BoundKey key;
    double value = 0.0;
    QString typed;
};

using Parts = std::vector<double>;

QString IndexLabel(int index)
{
    return QString::fromUtf8(QualityIndices()[index].describeLabel);
}

QString ShortestText(double value)
{
    std::string text;
    AppendShortestNumber(text, value);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Two decimals, always shown ("8.50", "5800.00").
QString CentsText(double value)
{
    QString text = QString::number(value, 'f', 2);
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    return text;
}

// Two decimals as a user types them: "8.5", "12", "8.53".
QString TypedCentsText(double value)
{
    QString text = CentsText(value);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

// value rounded to two decimals up (or down), then moved further by whole
// cents until the witness accepts it. A value a hair off a whole cent counts as
// that cent first, so that 8.4999999999 reads 8.5 when 8.5 still holds.
double OutwardCents(double value, bool up, const std::function<bool(double)>& holds)
{
    double cents = value * 100.0;
    const double nearest = std::nearbyint(cents);
    if (std::fabs(cents - nearest) < 1e-6)
        cents = nearest;
    cents = up ? std::ceil(cents) : std::floor(cents);
    for (int guard = 0; guard < 1000 && !holds(cents / 100.0); ++guard)
        cents += up ? 1.0 : -1.0;
    return cents / 100.0;
}

bool MeetsBound(const BlendProblem& p, const BoundKey& key, double value, const Parts& parts, int n)
{
    const double activity = IndexSum(p, key.index, parts);
    const double mass = IndexMass(p, key.index, parts, n);
    return key.side == BoundSide::Lower ? activity >= value * mass - kRowTolerance
                                        : activity <= value * mass + kRowTolerance;
}

// Whether the parts meet every row of the programme; columns beyond the parts
// count as 0.
bool Holds(const LinearProgram& program, const Parts& parts)
{
    std::vector<double> activity(program.rows.size(), 0.0);
    for (const LinearTerm& t : program.terms)
        if (t.column < static_cast<int>(parts.size()))
            activity[t.row] += t.value * parts[t.column];
    for (std::size_t r = 0; r < program.rows.size(); ++r)
        if (activity[r] < program.rows[r].lower - kRowTolerance || activity[r] > program.rows[r].upper + kRowTolerance)
            return false;
    return true;
}

// The problem with only the given bounds.
BlendProblem WithBounds(const BlendProblem& p, const std::vector<const Bound*>& keep)
{
    BlendProblem restricted = p;
    restricted.lower.fill(std::nullopt);
    restricted.upper.fill(std::nullopt);
    for (const Bound* b : keep)
        (b->key.side == BoundSide::Lower ? restricted.lower : restricted.upper)[b->key.index] = b->value;
    return restricted;
}

void DropCosts(LinearProgram& program)
{
    for (LinearColumn& column : program.columns)
        column.cost = 0.0;
}

Failure SolverGaveUp()
{
    return Fail(QStringLiteral("分析没有配比方案的原因时，求解器没有得出结论（超时或出错）"));
}

// The time left for the diagnosis' solves.
class Budget {
public:
    Budget() : deadline_(std::chrono::steady_clock::now() + std::chrono::milliseconds(kBudgetMs)) {}
    LinearOptions options(bool integer = true) const
    {
        LinearOptions options;
        options.integer = integer;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
        options.timeLimitMs = static_cast<int>(std::clamp<long long>(left.count(), 1, options.timeLimitMs));
        return options;
    }

private:
    std::chrono::steady_clock::time_point deadline_;
};

// The parts of a solution, nothing when the programme has none.
Result<std::optional<Parts>> SolveParts(const LinearProgram& program, int k, const Budget& budget)
{
    const LinearSolution solution = SolveLinearProgram(program, budget.options());
    if (solution.status == LinearStatus::Infeasible)
        return std::optional<Parts>();
    if (solution.status != LinearStatus::Optimal)
        return SolverGaveUp();
    return std::optional<Parts>(Parts(solution.values.begin(), solution.values.begin() + k));
}

// Reports each finished solve; remembers a request to stop.
class Steps {
public:
    Steps(const DiagnoseProgress& progress, int total) : progress_(progress), total_(total) {}
    bool start() { return report(); }
    bool step()
    {
        ++done_;
        return report();
    }
    bool finish()
    {
        done_ = total_;
        return report();
    }

private:
    bool report() { return !progress_ || progress_(std::min(done_, total_), total_); }
    const DiagnoseProgress& progress_;
    int total_;
    int done_ = 0;
};

Failure Cancelled()
{
    return Fail(QStringLiteral("已取消分析"), FailureKind::Cancelled);
}

// The fewest parts of coal j that meet its must-use row (weight * parts >= 1).
int FewestMustParts(double weight)
{
    return std::max(1, static_cast<int>(std::ceil(1.0 / weight - 1e-9)));
}

QString JoinNames(const QStringList& names)
{
    if (names.size() <= 1)
        return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral("、")) + QStringLiteral(" 和") + names.last();
}

QString BoundWithText(const Bound& b)
{
    return BoundName(b.key) + u' ' + b.typed;
}

void CheckStock(const BlendProblem& p, const ModelInput& input, int n, NoPlanDiagnosis& d)
{
    StockCheck& s = d.stock;
    s.tonnageGiven = p.tonnage.has_value();
    if (!s.tonnageGiven)
        return;
    s.tonnage = *p.tonnage;
    for (double stock : p.stock)
        s.totalStock += stock;
    s.stockCoversTonnage = !(s.tonnage > s.totalStock);
    if (!s.stockCoversTonnage)
        d.stockSentences << QStringLiteral("您想配%1吨煤，但是所选煤的库存加起来只有%2吨")
                                .arg(ShortestText(s.tonnage), ShortestText(s.totalStock));
    const QString unit = p.shovelMode ? QStringLiteral("铲") : QStringLiteral("份");
    for (int j = 0; j < p.coalCount; ++j) {
        if (!p.mustInclude[j])
            continue;
        const int parts = FewestMustParts(p.weight[j]);
        // The stock row of the coal at its smallest must-use share.
        if (s.tonnage * p.weight[j] * parts <= p.stock[j] * n + kRowTolerance)
            continue;
        MustUseShortage shortage{j, p.stock[j], parts, s.tonnage * p.weight[j] * parts / n};
        s.shortages.push_back(shortage);
        // One arg() call: a coal name may itself hold "%5".
        d.stockSentences << QStringLiteral("必选的第%1种煤（%2）库存只有%3吨，配%4吨、比例数%5时至少用%6%7也要%8吨")
                                .arg(QString::number(j + 1), input.coals[j].MingCheng, ShortestText(shortage.stock),
                                     ShortestText(s.tonnage), QString::number(n), QString::number(parts), unit,
                                     TypedCentsText(shortage.needed));
    }
}

// The rules other than the bounds allow no mix: say what is known about why.
Status ExplainNoMix(const BlendProblem& p, int n, const Budget& budget, NoPlanDiagnosis& d)
{
    const int k = p.coalCount;
    double mustWeight = 0.0;
    for (int j = 0; j < k; ++j)
        if (p.mustInclude[j])
            mustWeight += p.weight[j] * FewestMustParts(p.weight[j]);
    const int before = static_cast<int>(d.stockSentences.size());
    QStringList causes;
    if (mustWeight > n + kRowTolerance)
        causes << QStringLiteral("必选的煤每种至少要用一份，合起来已超过比例数%1").arg(n);

    BlendProblem sumOnly = WithBounds(p, {});
    sumOnly.mustInclude.assign(k, false);
    sumOnly.tonnage.reset();
    LinearProgram sumProgram = BlendProgram(sumOnly, n);
    DropCosts(sumProgram);
    const auto sumSolve = SolveParts(sumProgram, k, budget);
    if (!sumSolve)
        return sumSolve.failure();
    if (!sumSolve->has_value())
        causes << QStringLiteral("按所选煤的每铲重量，凑不出合计为%1的铲数").arg(n);

    if (p.tonnage && d.stock.stockCoversTonnage && before == 0) {
        // Whole parts: each coal gives at most as many parts as its stock covers.
        double reach = 0.0;
        for (int j = 0; j < k; ++j) {
            const double perPart = *p.tonnage * p.weight[j];
            if (perPart <= 0.0) {
                reach = kNoBound;
                break;
            }
            reach += p.weight[j] * std::floor((p.stock[j] * n + kRowTolerance) / perPart);
        }
        if (reach < n - kRowTolerance)
            d.stockSentences << QStringLiteral("配%1吨、比例数%2时，按整份计各煤的库存合起来不够")
                                    .arg(ShortestText(*p.tonnage))
                                    .arg(n);
    }
    if (causes.isEmpty() && d.stockSentences.isEmpty())
        causes << QStringLiteral("必选煤和库存的要求在比例数%1下不能同时满足").arg(n);
    d.stockSentences << causes;
    d.rulesSentence = QStringLiteral("即使不设任何指标上下限，比例数%1下也没有符合要求的配比，修改指标上下限不能解决问题").arg(n);
    return {};
}

// The lowest (or highest) blend value of an index averaged on its basis over
// every mix the rules allow, from a mix of them: its value is a ratio of two
// sums, so each solve looks for a mix beyond the best value so far (the
// costs (v - level) f w), until none is.
Result<Parts> ExtremeOnBasis(const BlendProblem& p, int index, int n, const LinearProgram& base, const Parts& mix,
                             bool highest, const Budget& budget)
{
    LinearProgram program = base;
    program.maximise = highest;
    Parts best = mix;
    for (int guard = 0; guard < 100; ++guard) {
        const double level = BlendIndexValue(p, index, best, n);
        for (int j = 0; j < p.coalCount; ++j)
            program.columns[j].cost = (p.value[index][j] - level) * p.factor[index][j] * p.weight[j];
        const auto solved = SolveParts(program, p.coalCount, budget);
        if (!solved)
            return solved.failure();
        if (!solved->has_value())
            return SolverGaveUp();  // the rules allow a mix, so this cannot happen
        const double value = BlendIndexValue(p, index, **solved, n);
        const double gain = highest ? value - level : level - value;
        if (!(gain > 1e-12 * std::max(1.0, std::fabs(level))))
            break;
        best = **solved;
    }
    return best;
}

// The lowest (or highest) row sum of an index over every mix the rules
// allow (a mix of them is given). The objective is taken relative to the
// continuous optimum, so that the solver's objective tolerance, which grows
// with the objective's size, stays far below the gaps between mixes.
Result<Parts> Extreme(const BlendProblem& p, int index, int n, const LinearProgram& base, const Parts& mix,
                      bool highest, const Budget& budget)
{
    if (p.weighted(index))
        return ExtremeOnBasis(p, index, n, base, mix, highest, budget);
    LinearProgram program = base;
    program.maximise = highest;
    for (int j = 0; j < p.coalCount; ++j)
        program.columns[j].cost = p.value[index][j] * p.weight[j];
    const LinearSolution relaxed = SolveLinearProgram(program, budget.options(false));
    const double level = relaxed.status == LinearStatus::Optimal ? relaxed.objective / n
                                                                 : BlendIndexValue(p, index, mix, n);
    for (int j = 0; j < p.coalCount; ++j)
        program.columns[j].cost = (p.value[index][j] - level) * p.weight[j];
    const auto solved = SolveParts(program, p.coalCount, budget);
    if (!solved)
        return solved.failure();
    if (!solved->has_value())
        return SolverGaveUp();  // the rules allow a mix, so this cannot happen
    return **solved;
}

}  // namespace

QString BoundName(const BoundKey& bound)
{
    return IndexLabel(bound.index) + (bound.side == BoundSide::Lower ? QStringLiteral("下限") : QStringLiteral("上限"));
}

Result<NoPlanDiagnosis> DiagnoseNoPlan(const ModelInput& input, int N, const DiagnoseProgress& progress)
{
    if (N < 2)
        return Invalid(QStringLiteral("比例数小于2，没有可以分析的配比"));
    if (N > kLargestTotal)
        return Invalid(QStringLiteral("最大比例数不能超过1000"));
    if (input.coals.size() < 2)
        return Invalid(QStringLiteral("您至少要输入2种煤！"));
    const Result<BlendProblem> made = MakeBlendProblem(input);
    if (!made)
        return made.failure();
    const BlendProblem& p = *made;
    const int k = p.coalCount;
    for (int j = 0; j < k; ++j)
        if (!(p.weight[j] > 0.0))
            return Invalid(QStringLiteral("第%1种煤的每铲重量必须大于0").arg(j + 1));

    std::vector<Bound> bounds;
    int boundedIndices = 0;
    for (int i = 0; i < kIndexCount; ++i) {
        if (p.lower[i])
            bounds.push_back(Bound{{i, BoundSide::Lower}, *p.lower[i], input.lower[i].trimmed()});
        if (p.upper[i])
            bounds.push_back(Bound{{i, BoundSide::Upper}, *p.upper[i], input.upper[i].trimmed()});
        boundedIndices += p.bounded(i) ? 1 : 0;
    }
    const int boundCount = static_cast<int>(bounds.size());

    NoPlanDiagnosis d;
    d.total = N;
    const Budget budget;
    Steps steps(progress, 2 + 2 * boundedIndices + boundCount);
    if (!steps.start())
        return Cancelled();

    CheckStock(p, input, N, d);

    // 1. The rules other than the bounds.
    LinearProgram base = BlendProgram(WithBounds(p, {}), N);
    DropCosts(base);
    const auto baseSolve = SolveParts(base, k, budget);
    if (!baseSolve)
        return baseSolve.failure();
    if (!steps.step())
        return Cancelled();
    if (!baseSolve->has_value()) {
        d.rulesLeaveMix = false;
        const Status explained = ExplainNoMix(p, N, budget, d);
        if (!explained)
            return explained.failure();
        if (!steps.finish())
            return Cancelled();
        return d;
    }
    std::vector<Parts> witnesses{**baseSolve};

    // 2. What each bounded index can reach.
    std::array<double, kIndexCount> scale{};
    for (int i = 0; i < kIndexCount; ++i) {
        if (!p.bounded(i))
            continue;
        ReachableRange range;
        range.index = i;
        const auto [lo, hi] = std::minmax_element(p.value[i].begin(), p.value[i].end());
        range.spread = *hi - *lo;
        scale[i] = range.spread > 0.0 ? range.spread : 1.0;
        for (bool highest : {false, true}) {
            Result<Parts> parts = Extreme(p, i, N, base, witnesses.front(), highest, budget);
            if (!parts)
                return parts.failure();
            (highest ? range.highest : range.lowest) = BlendIndexValue(p, i, *parts, N);
            (highest ? range.highestParts : range.lowestParts) = *parts;
            witnesses.push_back(std::move(*parts));
            if (!steps.step())
                return Cancelled();
        }
        d.ranges.push_back(std::move(range));
    }
    auto rangeOf = [&](int index) -> const ReachableRange& {
        return *std::find_if(d.ranges.begin(), d.ranges.end(), [&](const ReachableRange& r) { return r.index == index; });
    };

    // 3. The smallest relaxation: a slack on every bound row, in row units,
    // costing 1/scale per unit; the objective is then N times the measure.
    {
        BlendRows rows;
        LinearProgram program = BlendProgram(p, N, &rows);
        DropCosts(program);
        for (const Bound& b : bounds) {
            const int column = program.addColumn(LinearColumn{0.0, kNoBound, 1.0 / scale[b.key.index], false});
            const bool lower = b.key.side == BoundSide::Lower;
            program.addTerm(lower ? rows.lower[b.key.index] : rows.upper[b.key.index], column, lower ? 1.0 : -1.0);
        }
        const auto solved = SolveParts(program, k, budget);
        if (!solved)
            return solved.failure();
        if (!solved->has_value())
            return SolverGaveUp();  // slack on every bound: any mix of the rules fits
        if (!steps.step())
            return Cancelled();
        const Parts& mix = **solved;
        d.relaxedParts = mix;
        witnesses.push_back(mix);
        // Each bound the mix misses moves to what the mix needs, no further.
        for (const Bound& b : bounds) {
            BoundChange change;
            change.bound = b.key;
            change.typed = b.typed;
            change.value = b.value;
            change.suggested = b.value;
            change.suggestedText = b.typed;
            if (!MeetsBound(p, b.key, b.value, mix, N)) {
                const bool up = b.key.side == BoundSide::Upper;
                change.moved = true;
                const double needed = BlendIndexValue(p, b.key.index, mix, N);
                change.suggested = needed + (up ? kWiden : -kWiden) * std::max(1.0, std::fabs(needed));
                const double shown = OutwardCents(needed, up, [&](double value) {
                    return MeetsBound(p, b.key, value, mix, N);
                });
                change.suggestedText = TypedCentsText(shown);
                change.measure = std::fabs(needed - b.value) / scale[b.key.index];
                d.relaxationMeasure += change.measure;
            }
            d.relaxation.push_back(change);
        }
    }
    const bool anyMoved =
        std::any_of(d.relaxation.begin(), d.relaxation.end(), [](const BoundChange& c) { return c.moved; });
    if (!anyMoved) {
        d.planExists = true;
        if (!steps.finish())
            return Cancelled();
        return d;
    }

    // 4. Bounds no mix meets on their own, then an irreducible conflict.
    std::vector<const Bound*> alone;
    for (const Bound& b : bounds) {
        const ReachableRange& range = rangeOf(b.key.index);
        const Parts& nearest = b.key.side == BoundSide::Lower ? range.highestParts : range.lowestParts;
        if (MeetsBound(p, b.key, b.value, nearest, N))
            continue;
        alone.push_back(&b);
        const bool upper = b.key.side == BoundSide::Upper;
        // The reachable end, rounded toward the reachable side: a bound typed
        // as the shown value can be met.
        const double end = OutwardCents(upper ? range.lowest : range.highest, upper, [&](double value) {
            return MeetsBound(p, b.key, value, nearest, N);
        });
        d.conflictSentences << (upper ? QStringLiteral("%1 低于所选煤能达到的最低值 %2")
                                      : QStringLiteral("%1 高于所选煤能达到的最高值 %2"))
                                   .arg(BoundWithText(b), CentsText(end));
    }
    if (!alone.empty()) {
        d.conflict.push_back(alone.front()->key);
    } else {
        // Deletion filter: drop each bound in turn and keep it out when the
        // rest still has no plan. Bounds the relaxation leaves alone go
        // first, so the set tends to name the bounds the suggestion moves.
        std::vector<const Bound*> order;
        for (int pass = 0; pass < 2; ++pass)
            for (int b = 0; b < boundCount; ++b)
                if (d.relaxation[b].moved == (pass == 1))
                    order.push_back(&bounds[b]);
        std::vector<const Bound*> kept(order);
        for (const Bound* candidate : order) {
            std::vector<const Bound*> rest;
            for (const Bound* b : kept)
                if (b != candidate)
                    rest.push_back(b);
            LinearProgram program = BlendProgram(WithBounds(p, rest), N);
            DropCosts(program);
            bool feasible = std::any_of(witnesses.begin(), witnesses.end(),
                                        [&](const Parts& parts) { return Holds(program, parts); });
            if (!feasible) {
                const auto solved = SolveParts(program, k, budget);
                if (!solved)
                    return solved.failure();
                feasible = solved->has_value();
                if (feasible)
                    witnesses.push_back(**solved);
            }
            if (!feasible)
                kept = std::move(rest);
            if (!steps.step())
                return Cancelled();
        }
        QStringList names;
        for (const Bound& b : bounds) {
            if (std::find(kept.begin(), kept.end(), &b) == kept.end())
                continue;
            d.conflict.push_back(b.key);
            names << BoundWithText(b);
        }
        d.conflictSentences << QStringLiteral("所选煤在比例数%1下没有同时满足%2 的配比").arg(QString::number(N), JoinNames(names));
    }

    QStringList moves;
    for (const BoundChange& c : d.relaxation)
        if (c.moved)
            moves << BoundName(c.bound) + QStringLiteral("改为 ") + c.suggestedText;
    d.suggestionSentence = QStringLiteral("把%1，就有配比方案").arg(moves.join(QStringLiteral("、")));

    if (!steps.finish())
        return Cancelled();
    return d;
}
