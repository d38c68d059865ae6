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
// Two ratios (blend values, measures) closer than this, relative, are the
// same: what the searches for the least of them stop at. Mixes of different
// ratios lie much further apart (their index sums are sums of two-decimal
// numbers over totals of at most 1000).
constexpr double kSameRatio = 1e-12;
// The rounds a ratio search may take; each strictly improves, and they end
// in two or three.
constexpr int kMostRounds = 100;

struct Bound {
    BoundKey key;
    double value = 0.0;
    QString typed;
};

using Parts = std::vector<double>;

Text IndexLabel(int index)
{
    return Text::Source(QualityIndices()[index].describeLabel);
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

// A mix of parts at one total.
struct Mix {
    Parts parts;
    int total = 0;
};

bool MeetsBound(const BlendProblem& p, const BoundKey& key, double value, const Mix& mix)
{
    // The row's tolerance, in blend units.
    const double slack = kRowTolerance / mix.total;
    const double blend = BlendIndexValue(p, key.index, mix.parts, mix.total);
    return key.side == BoundSide::Lower ? blend >= value - slack : blend <= value + slack;
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

bool Holds(const BlendProblem& p, const Mix& mix)
{
    return Holds(BlendProgram(p, mix.total), mix.parts);
}

// The programme of every total from lowest to highest: BlendProgram's rows
// with the total n as one more whole column. The bounds of every row it builds
// are affine in n (the sum against n, an index sum against bound * n, tons
// against stock * n, a must-use row against 1), so the programmes of n = 1
// and n = 2 give each bound as a + c * n, and the row becomes its terms
// - c * n against a. A mix of total n is then a point of this programme with
// the column at n, and every such point a mix of its total.
struct Totals {
    LinearProgram program;
    int column = -1;  // the total
    BlendRows rows;   // where BlendProgram put its rows
};

Totals TotalsProgram(const BlendProblem& p, int lowest, int highest)
{
    Totals t;
    t.program = BlendProgram(p, 1, &t.rows);
    const LinearProgram two = BlendProgram(p, 2);
    t.column = t.program.addColumn(LinearColumn{double(lowest), double(highest), 0.0, true});
    const int rowCount = static_cast<int>(t.program.rows.size());
    std::vector<std::vector<LinearTerm>> termsOf(rowCount);
    for (const LinearTerm& term : t.program.terms)
        termsOf[term.row].push_back(term);
    for (int r = 0; r < rowCount; ++r) {
        LinearRow& row = t.program.rows[r];
        const LinearRow& atTwo = two.rows[r];
        const bool lower = std::isfinite(row.lower), upper = std::isfinite(row.upper);
        const double lowerSlope = lower ? atTwo.lower - row.lower : 0.0;
        const double upperSlope = upper ? atTwo.upper - row.upper : 0.0;
        if (lower && upper && lowerSlope != upperSlope) {
            // Ends that move apart: the upper end becomes a row of its own.
            const int copy = t.program.addRow(LinearRow{-kNoBound, row.upper - upperSlope});
            for (const LinearTerm& term : termsOf[r])
                t.program.addTerm(copy, term.column, term.value);
            if (upperSlope != 0.0)
                t.program.addTerm(copy, t.column, -upperSlope);
            t.program.rows[r].upper = kNoBound;
            LinearRow& kept = t.program.rows[r];
            kept.lower -= lowerSlope;
            if (lowerSlope != 0.0)
                t.program.addTerm(r, t.column, -lowerSlope);
            continue;
        }
        const double slope = lower ? lowerSlope : upperSlope;
        if (lower)
            row.lower -= slope;
        if (upper)
            row.upper -= slope;
        if (slope != 0.0)
            t.program.addTerm(r, t.column, -slope);
    }
    return t;
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
    return Fail(CoreText::tr("分析没有配比方案的原因时，求解器没有得出结论（超时或出错）"));
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

// The mix of a solution (its parts and its total column), nothing when the
// programme has none.
Result<std::optional<Mix>> SolveMix(const LinearProgram& program, int totalColumn, int k, const Budget& budget)
{
    const LinearSolution solution = SolveLinearProgram(program, budget.options());
    if (solution.status == LinearStatus::Infeasible)
        return std::optional<Mix>();
    if (solution.status != LinearStatus::Optimal)
        return SolverGaveUp();
    Mix mix{Parts(solution.values.begin(), solution.values.begin() + k),
            static_cast<int>(std::lround(solution.values[totalColumn]))};
    return std::optional<Mix>(std::move(mix));
}

Result<std::optional<Mix>> SolveMix(const Totals& totals, int k, const Budget& budget)
{
    return SolveMix(totals.program, totals.column, k, budget);
}

// Reports each finished piece of work; remembers a request to stop.
class Steps {
public:
    Steps(const DiagnoseProgress& progress, int total) : progress_(progress), total_(total) {}
    bool start() { return report(); }
    // Between the solves of one piece of work: only asks whether to go on.
    bool alive() { return report(); }
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
    return Fail(CoreText::tr("已取消分析"), FailureKind::Cancelled);
}

// The fewest parts of coal j that meet its must-use row (weight * parts >= 1).
int FewestMustParts(double weight)
{
    return std::max(1, static_cast<int>(std::ceil(1.0 / weight - 1e-9)));
}

// "a、b"
Text Listed(const std::vector<Text>& items)
{
    Text out;
    for (const Text& item : items)
        out = out.isEmpty() ? item : CoreText::tr("%1、%2", out, item);
    return out;
}

// "a、b 和c"
Text JoinNames(const std::vector<Text>& names)
{
    if (names.size() <= 1)
        return names.empty() ? Text() : names.front();
    return CoreText::tr("%1 和%2", Listed({names.begin(), names.end() - 1}), names.back());
}

// "灰分上限 8.0": the bound as the user typed it.
Text BoundWithText(const Bound& b)
{
    return b.key.side == BoundSide::Lower ? CoreText::tr("%1下限 %2", IndexLabel(b.key.index), b.typed)
                                          : CoreText::tr("%1上限 %2", IndexLabel(b.key.index), b.typed);
}

// "比例数2到12": the totals a run with proportion count N tried.
Text CountsText(int N)
{
    return N == 2 ? CoreText::tr("比例数2") : CoreText::tr("比例数2到%1", QString::number(N));
}

// value rounded down to whole cents; a value a hair below a whole cent
// counts as that cent.
double CentsDown(double value)
{
    double cents = value * 100.0;
    const double nearest = std::nearbyint(cents);
    if (std::fabs(cents - nearest) < 1e-6)
        cents = nearest;
    return std::floor(cents) / 100.0;
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
        d.stockSentences.push_back(
            CoreText::tr("您想配%1吨煤，但是所选煤的库存加起来只有%2吨", ShortestText(s.tonnage), ShortestText(s.totalStock)));
    const Text unit = p.shovelMode ? CoreText::tr("铲") : CoreText::tr("份");
    for (int j = 0; j < p.coalCount; ++j) {
        if (!p.mustInclude[j])
            continue;
        const int parts = FewestMustParts(p.weight[j]);
        // The stock row of the coal at its smallest must-use share.
        if (s.tonnage * p.weight[j] * parts <= p.stock[j] * n + kRowTolerance)
            continue;
        MustUseShortage shortage{j, p.stock[j], parts, s.tonnage * p.weight[j] * parts / n};
        s.shortages.push_back(shortage);
        d.stockSentences.push_back(
            CoreText::tr("必选的第%1种煤（%2）库存只有%3吨，配%4吨、比例数%5时至少用%6%7也要%8吨", QString::number(j + 1),
                         input.coals[j].MingCheng, ShortestText(shortage.stock), ShortestText(s.tonnage),
                         QString::number(n), QString::number(parts), unit, TypedCentsText(shortage.needed)));
    }
}

// The rules other than the bounds allow no mix at any total: say what is
// known about why.
Status ExplainNoMix(const BlendProblem& p, int N, const Budget& budget, NoPlanDiagnosis& d)
{
    const int k = p.coalCount;
    double mustWeight = 0.0;
    for (int j = 0; j < k; ++j)
        if (p.mustInclude[j])
            mustWeight += p.weight[j] * FewestMustParts(p.weight[j]);
    const int before = static_cast<int>(d.stockSentences.size());
    std::vector<Text> causes;
    if (mustWeight > N + kRowTolerance)
        causes.push_back(CoreText::tr("必选的煤每种至少要用一份，合起来已超过比例数%1", QString::number(N)));

    BlendProblem sumOnly = WithBounds(p, {});
    sumOnly.mustInclude.assign(k, false);
    sumOnly.tonnage.reset();
    Totals sumProgram = TotalsProgram(sumOnly, 2, N);
    DropCosts(sumProgram.program);
    const auto sumSolve = SolveMix(sumProgram, k, budget);
    if (!sumSolve)
        return sumSolve.failure();
    if (!sumSolve->has_value())
        causes.push_back(CoreText::tr("按所选煤的每铲重量，凑不出合计为%1的铲数",
                                      N == 2 ? Text(QStringLiteral("2"))
                                             : CoreText::tr("2到%1之间整数", QString::number(N))));

    if (p.tonnage && d.stock.stockCoversTonnage && before == 0) {
        // Whole parts: each coal gives at most as many parts as its stock
        // covers; no total may find enough of them.
        bool enough = false;
        for (int n = 2; n <= N && !enough; ++n) {
            double reach = 0.0;
            for (int j = 0; j < k; ++j) {
                const double perPart = *p.tonnage * p.weight[j];
                if (perPart <= 0.0) {
                    reach = kNoBound;
                    break;
                }
                reach += p.weight[j] * std::floor((p.stock[j] * n + kRowTolerance) / perPart);
            }
            enough = reach >= n - kRowTolerance;
        }
        if (!enough)
            d.stockSentences.push_back(
                CoreText::tr("配%1吨、%2时，按整份计各煤的库存合起来都不够", ShortestText(*p.tonnage), CountsText(N)));
    }
    if (causes.empty() && d.stockSentences.empty())
        causes.push_back(CoreText::tr("必选煤和库存的要求在%1下都不能同时满足", CountsText(N)));
    d.stockSentences.insert(d.stockSentences.end(), causes.begin(), causes.end());
    d.rulesSentence =
        CoreText::tr("即使不设任何指标上下限，%1下也都没有符合要求的配比，修改指标上下限不能解决问题", CountsText(N));
    return {};
}

// The lowest (or highest) blend value of an index over every mix of every
// total the programme allows, from a mix it allows. Dinkelbach's method on
// the ratio (index sum) / n: at the best value v so far, the mix minimising
// the index sum - v * n (in each coal's column: (value - v) * weight) has a
// lower value, which becomes v, or shows that none has. An index averaged on
// its basis is the ratio (index sum) / (weighed tons), and each coal's column
// carries its factor too: (value - v) * f * weight. The objective is
// thereby taken relative to the best value, so that the solver's objective
// tolerance, which grows with the objective's size, stays far below the gaps
// between mixes.
Result<Mix> Extreme(const BlendProblem& p, int index, const Totals& base, Mix best, bool highest,
                    const Budget& budget, Steps& steps)
{
    for (int round = 0; round < kMostRounds; ++round) {
        const double level = BlendIndexValue(p, index, best.parts, best.total);
        LinearProgram program = base.program;
        program.maximise = highest;
        for (int j = 0; j < p.coalCount; ++j)
            program.columns[j].cost = (p.value[index][j] - level) * p.factorOf(index, j) * p.weight[j];
        const auto solved = SolveMix(program, base.column, p.coalCount, budget);
        if (!solved)
            return solved.failure();
        if (!solved->has_value())
            return SolverGaveUp();  // the rules allow a mix, so this cannot happen
        const double value = BlendIndexValue(p, index, (*solved)->parts, (*solved)->total);
        const double gain = highest ? value - level : level - value;
        if (!(gain > kSameRatio * std::max(1.0, std::fabs(level))))
            return best;
        best = std::move(**solved);
        if (!steps.alive())
            return Cancelled();
    }
    return SolverGaveUp();
}

// Moves that would give a plan with the bounds as they are: a larger
// proportion count, a smaller tonnage.
Status FindAlternatives(const BlendProblem& p, int N, const Budget& budget, Steps& steps, NoPlanDiagnosis& d)
{
    const int k = p.coalCount;
    if (N < kLargestTotal) {
        // Whole parts of the larger totals, with the bounds as they are. The
        // shares the bounds allow do not depend on the total, so when the
        // continuous programme over N + 1 ... 1000 has no mix, none of those
        // totals has one. Otherwise each total in turn, smallest first, as
        // the run solves it: one programme over them all would make branch
        // and bound prove each total empty inside one search, which can take
        // long where a shovel weight such as 2.7 t makes only some totals
        // reachable; one total at a time costs at most what a run over those
        // totals costs.
        Totals larger = TotalsProgram(p, N + 1, kLargestTotal);
        DropCosts(larger.program);
        const LinearSolution shares = SolveLinearProgram(larger.program, budget.options(false));
        if (shares.status != LinearStatus::Infeasible && shares.status != LinearStatus::Optimal)
            return SolverGaveUp();
        for (int n = N + 1; shares.status == LinearStatus::Optimal && n <= kLargestTotal; ++n) {
            LinearProgram program = BlendProgram(p, n);
            DropCosts(program);
            const LinearSolution solution = SolveLinearProgram(program, budget.options());
            if (solution.status == LinearStatus::Optimal) {
                d.largerCount = n;
                break;
            }
            if (solution.status != LinearStatus::Infeasible)
                return SolverGaveUp();
            if ((n - N) % 50 == 0 && !steps.alive())
                return Cancelled();
        }
    }
    if (!steps.step())
        return Cancelled();

    if (p.tonnage) {
        // The largest tonnage any mix of the totals 2 ... N allows is the
        // inverse of the least m / n over the programme whose stock rows read
        // tons per part <= stock * m instead of <= stock * n / tonnage: a
        // ratio again, found the same way. Built at tonnage 1, where the stock
        // rows' term in the total is the stock.
        BlendProblem perTon = p;
        perTon.tonnage = 1.0;
        Totals program = TotalsProgram(perTon, 2, N);
        DropCosts(program.program);
        const int m = program.program.addColumn(LinearColumn{0.0, kNoBound, 1.0, false});
        for (LinearTerm& term : program.program.terms)
            if (term.column == program.column
                && std::find(program.rows.stock.begin(), program.rows.stock.end(), term.row) != program.rows.stock.end())
                term.column = m;
        // What a mix allows: each stock row is tons proportional to the
        // tonnage against stock * n.
        auto mostTonnage = [&](const Mix& mix) {
            BlendRows rows;
            const LinearProgram at = BlendProgram(p, mix.total, &rows);
            std::vector<double> activity(at.rows.size(), 0.0);
            for (const LinearTerm& t : at.terms)
                if (t.column < k)
                    activity[t.row] += t.value * mix.parts[t.column];
            double most = kNoBound;
            for (int j = 0; j < k; ++j)
                if (const int r = rows.stock[j]; r >= 0 && activity[r] > 0.0)
                    most = std::min(most, *p.tonnage * at.rows[r].upper / activity[r]);
            return most;
        };
        std::optional<double> most;
        for (int round = 0; round < kMostRounds; ++round) {
            // First any mix the stock allows at some tonnage, then better ones.
            program.program.columns[program.column].cost = most ? -1.0 / *most : 0.0;
            const auto solved = SolveMix(program, k, budget);
            if (!solved)
                return solved.failure();
            if (!solved->has_value())
                break;  // no tonnage at all: a coal the bounds need has no stock
            const double allows = mostTonnage(**solved);
            if (most && !(allows > *most * (1.0 + kSameRatio)))
                break;
            most = allows;
            if (!steps.alive())
                return Cancelled();
        }
        if (most && std::isfinite(*most) && CentsDown(*most) > 0.0 && CentsDown(*most) < *p.tonnage)
            d.smallerTonnage = CentsDown(*most);
    }
    if (!steps.step())
        return Cancelled();

    if (d.largerCount)
        d.alternativeSentences.push_back(CoreText::tr(
            "不改指标范围，只把比例数改为%1，也有配比方案（比例数小，整份太粗，配不出来）", QString::number(*d.largerCount)));
    if (d.smallerTonnage)
        d.alternativeSentences.push_back(
            CoreText::tr("不改指标范围，只把配多少吨改为%1吨或更少，也有配比方案（所选煤的库存不够配%2吨）",
                         TypedCentsText(*d.smallerTonnage), ShortestText(*p.tonnage)));
    return {};
}

}  // namespace

Text BoundName(const BoundKey& bound)
{
    return bound.side == BoundSide::Lower ? CoreText::tr("%1下限", IndexLabel(bound.index))
                                          : CoreText::tr("%1上限", IndexLabel(bound.index));
}

Result<NoPlanDiagnosis> DiagnoseNoPlan(const ModelInput& input, int N, const DiagnoseProgress& progress)
{
    if (N < 2)
        return Invalid(CoreText::tr("比例数小于2，没有可以分析的配比"));
    if (N > kLargestTotal)
        return Invalid(CoreText::tr("最大比例数不能超过1000"));
    if (input.coals.size() < 2)
        return Invalid(CoreText::tr("您至少要输入2种煤！"));
    const Result<BlendProblem> made = MakeBlendProblem(input);
    if (!made)
        return made.failure();
    const BlendProblem& p = *made;
    const int k = p.coalCount;
    for (int j = 0; j < k; ++j)
        if (!(p.weight[j] > 0.0))
            return Invalid(CoreText::tr("第%1种煤的每铲重量必须大于0", QString::number(j + 1)));

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
    Steps steps(progress, 1 + 2 * boundedIndices + 2 + boundCount + 2);
    if (!steps.start())
        return Cancelled();

    CheckStock(p, input, N, d);

    // 1. The rules other than the bounds, at some total.
    Totals base = TotalsProgram(WithBounds(p, {}), 2, N);
    DropCosts(base.program);
    const auto baseSolve = SolveMix(base, k, budget);
    if (!baseSolve)
        return baseSolve.failure();
    if (!steps.step())
        return Cancelled();
    if (!baseSolve->has_value()) {
        d.rulesLeaveMix = false;
        if (const Status explained = ExplainNoMix(p, N, budget, d); !explained)
            return explained.failure();
        if (const Status other = FindAlternatives(p, N, budget, steps, d); !other)
            return other.failure();
        if (!steps.finish())
            return Cancelled();
        return d;
    }
    std::vector<Mix> witnesses{**baseSolve};

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
            // From the witness nearest that end.
            const Mix* start = &witnesses.front();
            for (const Mix& w : witnesses) {
                const double value = BlendIndexValue(p, i, w.parts, w.total);
                const double best = BlendIndexValue(p, i, start->parts, start->total);
                if (highest ? value > best : value < best)
                    start = &w;
            }
            Result<Mix> mix = Extreme(p, i, base, *start, highest, budget, steps);
            if (!mix)
                return mix.failure();
            const double value = BlendIndexValue(p, i, mix->parts, mix->total);
            if (highest) {
                range.highest = value;
                range.highestParts = mix->parts;
                range.highestTotal = mix->total;
            } else {
                range.lowest = value;
                range.lowestParts = mix->parts;
                range.lowestTotal = mix->total;
            }
            witnesses.push_back(std::move(*mix));
            if (!steps.step())
                return Cancelled();
        }
        d.ranges.push_back(std::move(range));
    }
    auto rangeOf = [&](int index) -> const ReachableRange& {
        return *std::find_if(d.ranges.begin(), d.ranges.end(), [&](const ReachableRange& r) { return r.index == index; });
    };

    // 3. The smallest relaxation over every total (see NoPlanDiagnosis).
    auto measureOf = [&](const Mix& mix) {
        double measure = 0.0;
        for (const Bound& b : bounds)
            if (!MeetsBound(p, b.key, b.value, mix))
                measure += std::fabs(BlendIndexValue(p, b.key.index, mix.parts, mix.total) - b.value) / scale[b.key.index];
        return measure;
    };
    Mix best = witnesses.front();
    double least = measureOf(best);
    for (const Mix& w : witnesses) {
        const double measure = measureOf(w);
        if (measure < least || (measure == least && w.total < best.total)) {
            best = w;
            least = measure;
        }
    }
    {
        // A slack on every bound row, in row units, costing 1/scale per unit:
        // the slack cost of a mix of total n is n times its measure.
        Totals relax = TotalsProgram(p, 2, N);
        DropCosts(relax.program);
        const BlendRows& rows = relax.rows;
        std::vector<int> slacks;
        for (const Bound& b : bounds) {
            const int column = relax.program.addColumn(LinearColumn{0.0, kNoBound, 1.0 / scale[b.key.index], false});
            const bool lower = b.key.side == BoundSide::Lower;
            relax.program.addTerm(lower ? rows.lower[b.key.index] : rows.upper[b.key.index], column, lower ? 1.0 : -1.0);
            slacks.push_back(column);
        }
        for (int round = 0; least > 0.0; ++round) {
            if (round == kMostRounds)
                return SolverGaveUp();
            relax.program.columns[relax.column].cost = -least;
            const auto solved = SolveMix(relax, k, budget);
            if (!solved)
                return solved.failure();
            if (!solved->has_value())
                return SolverGaveUp();  // slack on every bound: any mix of the rules fits
            const double measure = measureOf(**solved);
            if (!(measure < least - kSameRatio * std::max(1.0, least)))
                break;
            best = std::move(**solved);
            least = measure;
            witnesses.push_back(best);
            if (!steps.alive())
                return Cancelled();
        }
        if (!steps.step())
            return Cancelled();
        // The smallest total that reaches the least measure.
        DropCosts(relax.program);
        relax.program.columns[relax.column].cost = 1.0;
        const int cap = relax.program.addRow(LinearRow{-kNoBound, 1e-9 * std::max(1.0, least * N)});
        for (std::size_t b = 0; b < bounds.size(); ++b)
            relax.program.addTerm(cap, slacks[b], 1.0 / scale[bounds[b].key.index]);
        relax.program.addTerm(cap, relax.column, -least);
        relax.program.columns[relax.column].upper = best.total - 1;
        for (int round = 0; round < kMostRounds && relax.program.columns[relax.column].lower
                                                       <= relax.program.columns[relax.column].upper;
             ++round) {
            const auto solved = SolveMix(relax, k, budget);
            if (!solved)
                return solved.failure();
            if (!solved->has_value())
                break;
            if (measureOf(**solved) <= least + kSameRatio * std::max(1.0, least)) {
                best = std::move(**solved);
                witnesses.push_back(best);
                break;
            }
            // Within the solver's tolerance only: look above it.
            relax.program.columns[relax.column].lower = (*solved)->total + 1;
            if (!steps.alive())
                return Cancelled();
        }
        if (!steps.step())
            return Cancelled();
        d.relaxedParts = best.parts;
        d.relaxedTotal = best.total;
        // Each bound the mix misses moves to what the mix needs, no further.
        for (const Bound& b : bounds) {
            BoundChange change;
            change.bound = b.key;
            change.typed = b.typed;
            change.value = b.value;
            change.suggested = b.value;
            change.suggestedText = b.typed;
            if (!MeetsBound(p, b.key, b.value, best)) {
                const bool up = b.key.side == BoundSide::Upper;
                change.moved = true;
                const double needed = BlendIndexValue(p, b.key.index, best.parts, best.total);
                change.suggested = needed + (up ? kWiden : -kWiden) * std::max(1.0, std::fabs(needed));
                const double shown = OutwardCents(needed, up, [&](double value) {
                    return MeetsBound(p, b.key, value, best);
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
        const bool upper = b.key.side == BoundSide::Upper;
        const Mix nearest = upper ? Mix{range.lowestParts, range.lowestTotal} : Mix{range.highestParts, range.highestTotal};
        if (MeetsBound(p, b.key, b.value, nearest))
            continue;
        alone.push_back(&b);
        // The reachable end, rounded toward the reachable side: a bound typed
        // as the shown value can be met.
        const double end = OutwardCents(upper ? range.lowest : range.highest, upper, [&](double value) {
            return MeetsBound(p, b.key, value, nearest);
        });
        d.conflictSentences.push_back(upper
                                          ? CoreText::tr("%1 低于所选煤能达到的最低值 %2", BoundWithText(b), CentsText(end))
                                          : CoreText::tr("%1 高于所选煤能达到的最高值 %2", BoundWithText(b), CentsText(end)));
    }
    if (!alone.empty()) {
        d.conflict.push_back(alone.front()->key);
        for (int b = 0; b < boundCount; ++b)
            if (!steps.step())
                return Cancelled();
    } else {
        // Deletion filter: drop each bound in turn and keep it out when the
        // rest still has no plan at any total. Bounds the relaxation leaves
        // alone go first, so the set tends to name the bounds the suggestion
        // moves.
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
            const BlendProblem restricted = WithBounds(p, rest);
            bool feasible = std::any_of(witnesses.begin(), witnesses.end(),
                                        [&](const Mix& mix) { return Holds(restricted, mix); });
            if (!feasible) {
                Totals program = TotalsProgram(restricted, 2, N);
                DropCosts(program.program);
                const auto solved = SolveMix(program, k, budget);
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
        std::vector<Text> names;
        for (const Bound& b : bounds) {
            if (std::find(kept.begin(), kept.end(), &b) == kept.end())
                continue;
            d.conflict.push_back(b.key);
            names.push_back(BoundWithText(b));
        }
        d.conflictSentences.push_back(CoreText::tr("所选煤在%1下都没有同时满足%2 的配比", CountsText(N), JoinNames(names)));
    }

    std::vector<Text> moves;
    for (const BoundChange& c : d.relaxation)
        if (c.moved)
            moves.push_back(CoreText::tr("%1改为 %2", BoundName(c.bound), c.suggestedText));
    d.suggestionSentence =
        CoreText::tr("把%1，比例数为%2时就有配比方案", Listed(moves), QString::number(d.relaxedTotal));

    // 5. What the count or the tonnage alone would do.
    if (const Status other = FindAlternatives(p, N, budget, steps, d); !other)
        return other.failure();

    if (!steps.finish())
        return Cancelled();
    return d;
}
