#include "blend/Schedule.h"

#include "base/NumberText.h"
#include "blend/BlendRecord.h"
#include "blend/LinearSolver.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

using Clock = std::chrono::steady_clock;

// The numbers the programme is built from, read once.
struct Frame {
    BlendProblem problem;
    LinearProgram day;                    // one day's rows at total N, without stock rows
    int k = 0;
    int days = 0;
    int N = 0;
    double T = 0.0;
    bool sameMix = false;
    std::vector<std::vector<double>> supplied;  // [day][coal]: opening stock and deliveries up to that day
};

std::vector<std::vector<double>> Supplied(const ScheduleInput& input, int k)
{
    std::vector<std::vector<double>> supplied(input.days, std::vector<double>(k, 0.0));
    for (int j = 0; j < k; ++j)
        supplied[0][j] = OpeningStock(input.model.coals[j]).value_or(0.0);
    for (const Delivery& d : input.deliveries)
        if (d.day >= 1 && d.day <= input.days && d.coal >= 0 && d.coal < k)
            supplied[d.day - 1][d.coal] += d.tons;
    for (int d = 1; d < input.days; ++d)
        for (int j = 0; j < k; ++j)
            supplied[d][j] += supplied[d - 1][j];
    return supplied;
}

Result<Frame> MakeFrame(const ScheduleInput& input)
{
    ModelInput model = input.model;
    model.tonnage.clear();  // the days' stock rows take the place of the single run's
    Result<BlendProblem> problem = MakeBlendProblem(model);
    if (!problem)
        return problem.failure();
    Frame f;
    f.problem = std::move(*problem);
    f.k = f.problem.coalCount;
    f.days = input.days;
    f.N = input.parts;
    f.T = input.tonsPerDay;
    f.sameMix = input.sameMix;
    f.day = BlendProgram(f.problem, f.N);
    f.supplied = Supplied(input, f.k);
    return f;
}

// Coal j's stock row of day d is implied by the next day's when nothing of
// it arrives in between (what is used by a day only grows), so only the last
// day before each delivery, and the last day, keep one.
bool StockRowKept(const Frame& f, int dayCount, int relaxedCoal, int d, int j)
{
    return j != relaxedCoal && (d == dayCount - 1 || f.supplied[d + 1][j] != f.supplied[d][j]);
}

// Days d and d + 1 with no stock row between them can swap their mixes
// without changing anything else.
bool Swappable(const Frame& f, int dayCount, int relaxedCoal, int d)
{
    for (int j = 0; j < f.k; ++j)
        if (StockRowKept(f, dayCount, relaxedCoal, d, j))
            return false;
    return true;
}

// The programme over days 1 ... dayCount; the stock rows of relaxedCoal (if
// any) are left out, and without stock no stock row at all. With ordered,
// of all the orders of swappable days only the one with the cheaper day
// first is searched.
LinearProgram Programme(const Frame& f, int dayCount, int relaxedCoal = -1, bool stock = true, bool ordered = true)
{
    LinearProgram p;
    const int blocks = f.sameMix ? 1 : dayCount;
    const double perTon = f.T / f.N;
    for (int b = 0; b < blocks; ++b) {
        for (int j = 0; j < f.k; ++j) {
            LinearColumn c = f.day.columns[j];
            c.cost = f.problem.price[j] * f.problem.weight[j] * perTon * (f.sameMix ? dayCount : 1);
            p.addColumn(c);
        }
        const int rowBase = static_cast<int>(p.rows.size());
        for (const LinearRow& r : f.day.rows)
            p.addRow(r);
        for (const LinearTerm& t : f.day.terms)
            p.addTerm(rowBase + t.row, b * f.k + t.column, t.value);
    }
    if (!stock)
        return p;
    for (int d = 0; d < dayCount; ++d) {
        for (int j = 0; j < f.k; ++j) {
            if (!StockRowKept(f, dayCount, relaxedCoal, d, j))
                continue;
            // In parts: the row divided by the day's tons, so that its
            // numbers are of the parts' size.
            const int row = p.addRow(LinearRow{-kNoBound, f.N * f.supplied[d][j] / f.T});
            const double w = f.problem.weight[j];
            if (f.sameMix)
                p.addTerm(row, j, w * (d + 1));
            else
                for (int e = 0; e <= d; ++e)
                    p.addTerm(row, e * f.k + j, w);
        }
    }
    if (f.sameMix || !ordered)
        return p;
    for (int d = 0; d + 1 < dayCount; ++d) {
        if (!Swappable(f, dayCount, relaxedCoal, d))
            continue;
        const int row = p.addRow(LinearRow{-kNoBound, 0.0});
        for (int j = 0; j < f.k; ++j) {
            p.addTerm(row, d * f.k + j, p.columns[d * f.k + j].cost);
            p.addTerm(row, (d + 1) * f.k + j, -p.columns[(d + 1) * f.k + j].cost);
        }
    }
    return p;
}

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Whole parts of every day from a solution's values.
std::vector<std::vector<int>> PartsOf(const Frame& f, const std::vector<double>& values)
{
    std::vector<std::vector<int>> parts(f.days, std::vector<int>(f.k, 0));
    for (int d = 0; d < f.days; ++d)
        for (int j = 0; j < f.k; ++j)
            parts[d][j] = static_cast<int>(std::lround(values[(f.sameMix ? 0 : d) * f.k + j]));
    return parts;
}

// A schedule to start the search from, or the whole answer.
struct Start {
    std::vector<double> values;  // columns of the whole programme
    bool provenOptimal = false;
};

// When each day's own cheapest mix, repeated, fits the stock, nothing can
// be cheaper: every day costs at least that much.
std::optional<Start> CheapestEveryDay(const Frame& f, Clock::time_point deadline)
{
    LinearOptions options;
    options.timeLimitMs = MillisecondsLeft(deadline);
    const LinearSolution free = SolveLinearProgram(f.day, options);
    if (free.status != LinearStatus::Optimal)
        return std::nullopt;
    for (int d = 0; d < f.days; ++d)
        for (int j = 0; j < f.k; ++j)
            if (f.T * f.problem.weight[j] * free.values[j] * (d + 1) > f.N * f.supplied[d][j] * (1 + 1e-12) + 1e-9)
                return std::nullopt;
    Start start;
    start.provenOptimal = true;
    const int blocks = f.sameMix ? 1 : f.days;
    for (int b = 0; b < blocks; ++b)
        start.values.insert(start.values.end(), free.values.begin(), free.values.end());
    return start;
}

// Relax and fix: day by day, the day's parts whole and the later days'
// continuous, then the day fixed. Each step is a small integer programme
// that still sees the stock the later days need, so the cheap coals are not
// all spent on the first days. Nothing when a step finds no point (which
// does not prove that there is no schedule) or the time runs out.
std::optional<Start> RelaxAndFix(const Frame& f, Clock::time_point deadline)
{
    // Without the order of swappable days: a day fixed early would bind the
    // cost of the days after it. The days are put in that order at the end.
    LinearProgram p = Programme(f, f.days, -1, true, false);
    for (LinearColumn& c : p.columns)
        c.integer = false;
    LinearOptions options;
    std::vector<double> values;
    for (int d = 0; d < f.days; ++d) {
        for (int j = 0; j < f.k; ++j)
            p.columns[d * f.k + j].integer = true;
        options.timeLimitMs = MillisecondsLeft(deadline);
        const LinearSolution s = SolveLinearProgram(p, options);
        if (s.status != LinearStatus::Optimal)
            return std::nullopt;
        for (int j = 0; j < f.k; ++j) {
            LinearColumn& c = p.columns[d * f.k + j];
            c.lower = c.upper = s.values[d * f.k + j];
        }
        values = s.values;
    }
    auto dayCost = [&](int d) {
        double cost = 0.0;
        for (int j = 0; j < f.k; ++j)
            cost += p.columns[d * f.k + j].cost * values[d * f.k + j];
        return cost;
    };
    for (int first = 0; first < f.days;) {
        int last = first;
        while (last + 1 < f.days && Swappable(f, f.days, -1, last))
            ++last;
        std::vector<int> order;
        for (int d = first; d <= last; ++d)
            order.push_back(d);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return dayCost(a) < dayCost(b); });
        std::vector<double> sorted(values.begin() + first * f.k, values.begin() + (last + 1) * f.k);
        for (int i = 0; i < static_cast<int>(order.size()); ++i)
            for (int j = 0; j < f.k; ++j)
                sorted[i * f.k + j] = values[order[i] * f.k + j];
        std::copy(sorted.begin(), sorted.end(), values.begin() + first * f.k);
        first = last + 1;
    }
    return Start{values, false};
}

struct Explainer {
    const Frame& f;
    Clock::time_point deadline;
    const ScheduleProgress& progress;
    int done = 0;
    int steps = 0;
    bool stopped = false;

    // Whether the programme has a whole point; nothing when the time ran out.
    std::optional<bool> Feasible(const LinearProgram& p)
    {
        LinearProgram q = p;
        for (LinearColumn& c : q.columns)
            c.cost = 0.0;  // any point will do
        auto tell = [&] {
            ScheduleProgressStep step;
            step.stage = ScheduleProgressStep::Stage::Explain;
            step.done = done;
            step.steps = std::max(steps, done);
            stopped = stopped || (progress && !progress(step));
            return !stopped;
        };
        LinearOptions options;
        options.timeLimitMs = MillisecondsLeft(deadline);
        if (progress)
            options.search = [&](const SearchState&) { return tell(); };
        const LinearSolution s = SolveLinearProgram(q, options);
        ++done;
        tell();
        if (s.status == LinearStatus::Optimal)
            return true;
        if (s.status == LinearStatus::Infeasible)
            return false;
        return std::nullopt;
    }

    Result<NoScheduleReason> Explain()
    {
        NoScheduleReason reason;
        steps = 1 + static_cast<int>(std::ceil(std::log2(std::max(2, f.days)))) + f.k;
        const std::optional<bool> mixes = Feasible(Programme(f, 1, -1, false));
        if (stopped)
            return Fail(QString(), FailureKind::Cancelled);
        if (!mixes)
            return Fail(QString());
        if (!*mixes) {
            reason.kind = NoScheduleReason::Kind::Bounds;
            reason.day = 1;
            return reason;
        }
        // Days 1 ... lo - 1 have a schedule and days 1 ... hi have none.
        int lo = 1;
        int hi = f.days;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            const std::optional<bool> ok = Feasible(Programme(f, mid));
            if (stopped)
                return Fail(QString(), FailureKind::Cancelled);
            if (!ok)
                return Fail(QString());
            if (*ok)
                lo = mid + 1;
            else
                hi = mid;
        }
        reason.kind = NoScheduleReason::Kind::Stock;
        reason.day = lo;
        for (int j = 0; j < f.k; ++j) {
            const std::optional<bool> ok = Feasible(Programme(f, lo, j));
            if (stopped)
                return Fail(QString(), FailureKind::Cancelled);
            if (!ok)
                return Fail(QString());
            if (*ok) {
                reason.coal = j;
                reason.supplied = f.supplied[lo - 1][j];
                break;
            }
        }
        return reason;
    }
};

}  // namespace

std::optional<double> OpeningStock(const Mei& coal)
{
    return ReadNumberText(coal.Kucun);
}

ScheduleFault CheckSchedule(const ScheduleInput& input)
{
    using Kind = ScheduleFault::Kind;
    if (input.days < 1 || input.days > kMaxScheduleDays)
        return {Kind::Days, -1, -1, {}};
    if (!(input.tonsPerDay > 0.0) || !std::isfinite(input.tonsPerDay))
        return {Kind::TonsPerDay, -1, -1, {}};
    if (input.parts < 1 || input.parts > 1000)
        return {Kind::Parts, -1, -1, {}};
    const int k = static_cast<int>(input.model.coals.size());
    if (k < 2)
        return {Kind::TooFewCoals, -1, -1, {}};
    for (int j = 0; j < k; ++j) {
        const std::optional<double> stock = OpeningStock(input.model.coals[j]);
        if (!stock || *stock < 0.0)
            return {Kind::Stock, j, -1, {}};
    }
    for (int i = 0; i < static_cast<int>(input.deliveries.size()); ++i) {
        const Delivery& d = input.deliveries[i];
        if (d.coal < 0 || d.coal >= k)
            return {Kind::DeliveryCoal, d.coal, i, {}};
        if (d.day < 1 || d.day > input.days)
            return {Kind::DeliveryDay, d.coal, i, {}};
        if (!(d.tons > 0.0) || !std::isfinite(d.tons))
            return {Kind::DeliveryTons, d.coal, i, {}};
    }
    ModelInput model = input.model;
    model.tonnage.clear();
    if (Result<BlendProblem> problem = MakeBlendProblem(model); !problem)
        return {Kind::Model, -1, -1, problem.said()};
    return {};
}

std::vector<ScheduleDay> ScheduleDays(const ScheduleInput& input, const std::vector<std::vector<int>>& parts)
{
    const int k = static_cast<int>(input.model.coals.size());
    const double N = input.parts;
    std::vector<double> weight(k, 1.0), price(k, 0.0);
    for (int j = 0; j < k; ++j) {
        if (input.model.shovelMode)
            weight[j] = ReadNumberText(input.model.coals[j].MeiChan).value_or(0.0);
        price[j] = ToRoundedDouble(input.model.coals[j].JiaGe);
    }
    const CoalNumbers numbers(input.model.coals, input.model.shovelMode, input.model.weighting);
    const std::vector<std::vector<double>> supplied = Supplied(input, k);
    std::vector<double> used(k, 0.0);
    std::vector<ScheduleDay> days;
    for (int d = 0; d < static_cast<int>(parts.size()) && d < input.days; ++d) {
        ScheduleDay day;
        day.parts = parts[d];
        day.parts.resize(k, 0);
        QVector<double> amounts;
        for (int j = 0; j < k; ++j) {
            const double tons = input.tonsPerDay * weight[j] * day.parts[j] / N;
            used[j] += tons;
            day.tons.push_back(tons);
            // A stock that is exactly used up reads 0, not a hair below it.
            const double left = supplied[d][j] - used[j];
            day.stockAfter.push_back(std::fabs(left) < 1e-9 * std::max(1.0, supplied[d][j]) ? 0.0 : left);
            day.cost += tons * price[j];
            amounts << day.parts[j];
        }
        day.blend = ComputeBlend(numbers, amounts);
        days.push_back(std::move(day));
    }
    return days;
}

Result<Schedule> SolveSchedule(const ScheduleInput& input, const ScheduleProgress& progress)
{
    const ScheduleFault fault = CheckSchedule(input);
    if (fault.kind != ScheduleFault::Kind::None)
        return Invalid(fault.message);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(0, input.timeLimitMs));
    Result<Frame> frame = MakeFrame(input);
    if (!frame)
        return Invalid(frame.said());
    const Frame& f = *frame;
    if (progress && !progress(ScheduleProgressStep{}))
        return Fail(QString(), FailureKind::Cancelled);

    Schedule schedule;
    auto finish = [&](const std::vector<double>& values) {
        schedule.days = ScheduleDays(input, PartsOf(f, values));
        for (const ScheduleDay& day : schedule.days)
            schedule.totalCost += day.cost;
    };

    if (const std::optional<Start> cheapest = CheapestEveryDay(f, deadline)) {
        schedule.status = Schedule::Status::Optimal;
        finish(cheapest->values);
        return schedule;
    }
    // With one mix the programme is one day's size: no start needed.
    std::optional<Start> greedy;
    if (!f.sameMix)
        greedy = RelaxAndFix(f, deadline);

    LinearOptions options;
    options.timeLimitMs = MillisecondsLeft(deadline);
    if (greedy)
        options.start = greedy->values;
    bool stopped = false;
    if (progress)
        options.search = [&](const SearchState& state) {
            ScheduleProgressStep step;
            step.stage = ScheduleProgressStep::Stage::Search;
            step.hasIncumbent = state.hasIncumbent;
            step.incumbent = state.incumbent;
            step.gap = state.gap;
            stopped = !progress(step);
            return !stopped;
        };
    const LinearSolution s = SolveLinearProgram(Programme(f, f.days), options);
    if (stopped || s.stopped)
        return Fail(QString(), FailureKind::Cancelled);
    switch (s.status) {
    case LinearStatus::Optimal:
        schedule.status = Schedule::Status::Optimal;
        finish(s.values);
        return schedule;
    case LinearStatus::TimeLimit:
        if (s.incumbent) {
            schedule.status = Schedule::Status::TimeLimit;
            schedule.gap = s.gap;
            finish(s.values);
        } else if (greedy) {
            // The search had no time to take up its start: that is the best found.
            schedule.status = Schedule::Status::TimeLimit;
            schedule.gap = 1.0;
            finish(greedy->values);
        } else {
            schedule.status = Schedule::Status::Unknown;
        }
        return schedule;
    case LinearStatus::Infeasible: {
        // Explaining gets its own time: the verdict is in, only the words are missing.
        Explainer explainer{f, Clock::now() + std::chrono::milliseconds(std::max(1000, input.timeLimitMs)), progress};
        Result<NoScheduleReason> reason = explainer.Explain();
        if (!reason && reason.kind() == FailureKind::Cancelled)
            return reason.failure();
        schedule.status = Schedule::Status::None;
        if (reason)
            schedule.reason = *reason;
        return schedule;
    }
    case LinearStatus::Unbounded:
    case LinearStatus::Failed:
        break;
    }
    return Fail(QString());
}
