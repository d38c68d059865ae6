#include "history/PlanAnalysis.h"

#include "blend/BlendProblem.h"
#include "blend/LinearSolver.h"
#include "base/QualityIndex.h"

#include <QtTest>

#include <functional>
#include <random>

namespace {

constexpr int kHeat = 2, kSulphur = 5, kAsh = 6, kVolatile = 7;

// A small random plan: 2 to 5 coals with two-decimal values, one-decimal
// bounds drawn inside the coals' range, now and then a must-include coal or a
// tonnage with stock; weighted, each index averaged on its basis over coals
// of different moisture.
struct RandomPlan {
    PlanTargets targets;
    QVector<Mei> coals;
};

RandomPlan MakeRandomPlan(std::mt19937& random, bool shovel, bool weighted = false)
{
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    auto chance = [&](double p) { return std::bernoulli_distribution(p)(random); };
    RandomPlan plan;
    const int k = std::uniform_int_distribution<int>(2, 5)(random);
    for (int j = 0; j < k; ++j) {
        Mei coal;
        coal.JiaGe = std::round(uniform(300, 800) * 100) / 100;
        coal.Kucun = QString::number(std::round(uniform(20, 400)));
        coal.MeiChan = QString::number(std::uniform_int_distribution<int>(1, 6)(random) * 0.5);
        IndexValue(coal, kHeat) = QString::number(uniform(4000, 6500), 'f', 2);
        IndexValue(coal, kSulphur) = QString::number(uniform(0.3, 1.5), 'f', 2);
        IndexValue(coal, kAsh) = QString::number(uniform(6, 20), 'f', 2);
        IndexValue(coal, kVolatile) = QString::number(uniform(15, 35), 'f', 2);
        if (weighted) {
            coal.ShuiFen = QString::number(uniform(3, 30), 'f', 2);
            coal.neishui = QString::number(uniform(0.5, 3), 'f', 2);
        }
        plan.coals << coal;
        plan.targets.mustInclude << chance(0.15);
    }
    for (const int i : {kHeat, kSulphur, kAsh, kVolatile}) {
        double lo = 1e300, hi = -1e300;
        for (const Mei& coal : plan.coals) {
            lo = std::min(lo, IndexValue(coal, i).toDouble());
            hi = std::max(hi, IndexValue(coal, i).toDouble());
        }
        if (chance(0.5))
            plan.targets.lower[i] = QString::number(uniform(lo, (lo + hi) / 2), 'f', 1);
        if (chance(0.5))
            plan.targets.upper[i] = QString::number(uniform((lo + hi) / 2, hi), 'f', 1);
    }
    if (chance(0.2))
        plan.targets.tonnage = QString::number(std::round(uniform(100, 1000)));
    plan.targets.shovelMode = shovel;
    plan.targets.weighting.on = weighted;
    return plan;
}

// The plan read straight from its texts, without the model code, and every
// whole mix of a total enumerated.
struct Enumeration {
    struct Bound {
        int index;
        BoundSide side;
        double value;
        int decimals;  // as typed, at least two
    };
    int k = 0;
    std::vector<double> weight, price, stock, ones, shovelTons;
    std::array<std::vector<double>, kIndexCount> value;
    std::array<std::vector<double>, kIndexCount> factor;  // 1 unless averaged on a basis
    std::vector<Bound> bounds;
    std::vector<bool> must;
    std::optional<double> tonnage;

    explicit Enumeration(const RandomPlan& plan) : k(plan.coals.size()), ones(k, 1.0)
    {
        for (int j = 0; j < k; ++j) {
            const Mei& coal = plan.coals[j];
            weight.push_back(plan.targets.shovelMode ? coal.MeiChan.toDouble() : 1.0);
            shovelTons.push_back(coal.MeiChan.toDouble());
            price.push_back(coal.JiaGe);
            stock.push_back(coal.Kucun.toDouble());
            for (int i = 0; i < kIndexCount; ++i) {
                value[i].push_back(IndexValue(coal, i).toDouble());
                factor[i].push_back(BasisFactor(plan.targets.weighting.of(i), coal).value_or(0.0));
            }
            must.push_back(j < plan.targets.mustInclude.size() && plan.targets.mustInclude[j]);
        }
        for (int i = 0; i < kIndexCount; ++i)
            for (const BoundSide side : {BoundSide::Lower, BoundSide::Upper})
                if (const QString& t = (side == BoundSide::Lower ? plan.targets.lower : plan.targets.upper)[i]; !t.isEmpty())
                    bounds.push_back({i, side, t.toDouble(),
                                      t.contains(u'.') ? std::clamp(int(t.size() - t.indexOf(u'.') - 1), 2, 10) : 2});
        if (!plan.targets.tonnage.isEmpty())
            tonnage = plan.targets.tonnage.toDouble();
    }

    double sum(const std::vector<double>& c, const std::vector<double>& x) const
    {
        double s = 0;
        for (int j = 0; j < k; ++j)
            s += c[j] * weight[j] * x[j];
        return s;
    }
    double total(const std::vector<double>& x) const { return sum(ones, x); }
    double blend(int i, const std::vector<double>& x) const
    {
        double s = 0, mass = 0;
        for (int j = 0; j < k; ++j) {
            s += value[i][j] * factor[i][j] * weight[j] * x[j];
            mass += factor[i][j] * weight[j] * x[j];
        }
        return s / mass;
    }
    double unitPrice(const std::vector<double>& x) const { return sum(price, x) / total(x); }
    // Feasible at total n, with bound `changed` at `to` (nullopt: dropped).
    bool feasible(const std::vector<double>& x, int n, int changed = -1, std::optional<double> to = {}) const
    {
        for (int j = 0; j < k; ++j)
            if ((must[j] && weight[j] * x[j] < 1 - 1e-9) || (tonnage && *tonnage * weight[j] * x[j] > stock[j] * n + 1e-9))
                return false;
        for (int b = 0; b < int(bounds.size()); ++b) {
            if (b == changed && !to)
                continue;
            const double limit = b == changed ? *to : bounds[b].value;
            const double v = blend(bounds[b].index, x), slack = 1e-9 * std::max(1.0, std::fabs(limit));
            if (bounds[b].side == BoundSide::Lower ? v < limit - slack : v > limit + slack)
                return false;
        }
        return true;
    }
    // Every mix of total n.
    void mixes(int n, const std::function<void(const std::vector<double>&)>& visit) const
    {
        std::vector<double> x(k, 0.0);
        std::function<void(int, double)> walk = [&](int j, double left) {
            if (j == k) {
                if (std::fabs(left) < 1e-9)
                    visit(x);
                return;
            }
            for (int c = 0; c * weight[j] <= left + 1e-9; ++c) {
                x[j] = c;
                walk(j + 1, left - c * weight[j]);
            }
            x[j] = 0;
        };
        walk(0, n);
    }
    // Whether some mix of total n lies so near a bound, or a bound moved one
    // step, that the solver's tolerance and exact arithmetic may judge it
    // differently: within 1e-6 of it, relatively, but not on it.
    bool nearTie(int n) const
    {
        bool tie = false;
        mixes(n, [&](const std::vector<double>& x) {
            for (const Bound& b : bounds) {
                const double step = std::max(0.01, 0.01 * std::fabs(b.value));
                for (const double limit : {b.value, b.value - step, b.value + step}) {
                    const double gap = std::fabs(blend(b.index, x) - limit) / std::max(1.0, std::fabs(limit));
                    tie = tie || (gap > 1e-12 && gap < 1e-6);
                }
            }
        });
        return tie;
    }
    std::vector<std::vector<double>> all(int n) const
    {
        std::vector<std::vector<double>> every;
        mixes(n, [&](const std::vector<double>& x) { every.push_back(x); });
        return every;
    }
    std::optional<std::vector<double>> cheapest(int n, int changed = -1, std::optional<double> to = {}) const
    {
        std::optional<std::vector<double>> best;
        mixes(n, [&](const std::vector<double>& x) {
            if (feasible(x, n, changed, to) && (!best || unitPrice(x) < unitPrice(*best)))
                best = x;
        });
        return best;
    }
    std::optional<double> cheapestPrice(int n, int changed, std::optional<double> to = {}) const
    {
        const auto best = cheapest(n, changed, to);
        return best ? std::optional(unitPrice(*best)) : std::nullopt;
    }
};

// Puts one bound on the blend value of a mix of total n (a random one, or the
// cheapest), so that rows often sit on a bound as they do at the totals a run
// stores.
void SnapBound(RandomPlan& random_plan, int n, std::mt19937& random)
{
    const Enumeration plan(random_plan);
    const auto all = plan.all(n);
    const auto best = plan.cheapest(n);
    if (all.empty())
        return;
    const std::vector<double>& x = best && std::bernoulli_distribution(0.5)(random)
        ? *best : all[std::uniform_int_distribution<size_t>(0, all.size() - 1)(random)];
    const int indices[] = {kHeat, kSulphur, kAsh, kVolatile};
    const int i = indices[std::uniform_int_distribution<int>(0, 3)(random)];
    auto& side = std::bernoulli_distribution(0.5)(random) ? random_plan.targets.lower : random_plan.targets.upper;
    side[i] = QString::number(plan.blend(i, x), 'g', 15);
}

// Generous enough that every solve of these small plans finishes.
const AnalysisOptions kNoHurry{60000, true};

bool Near(double a, double b, double tolerance = 1e-7)
{
    return std::fabs(a - b) <= tolerance * std::max(1.0, std::fabs(b));
}

void CheckPrice(const Repriced& repriced, const std::optional<double>& expected, const char* what)
{
    QVERIFY2(repriced.status == (expected ? LinearStatus::Optimal : LinearStatus::Infeasible), what);
    QVERIFY2(!expected || Near(repriced.unitPrice, *expected), what);
}

// Everything AnalyseRow says about one row, held against the enumeration.
void CheckRow(const Enumeration& plan, const BlendProblem& problem, const std::vector<double>& row, int n,
              int& binding, int& broken)
{
    // In a plan by weight with a tonnage, one off is one shovel of the coal:
    // its tons per shovel * n / tonnage parts, or all of it when it has less.
    const bool byShovel = !problem.shovelMode && plan.tonnage;
    AnalysisOptions options = kNoHurry;
    if (byShovel)
        options.shovelTons = plan.shovelTons;
    const Result<RowInsight> insight = AnalyseRow(problem, row, options);
    QVERIFY2(insight.ok(), qPrintable(insight.message()));
    QVERIFY(Near(insight->total, n));
    QVERIFY(Near(insight->unitPrice, plan.unitPrice(row)));
    QCOMPARE(insight->bounds.size(), plan.bounds.size());

    // The one-off mixes.
    std::vector<std::vector<double>> nearby;
    std::vector<double> step(plan.k, 1.0);
    for (int j = 0; byShovel && j < plan.k; ++j)
        step[j] = plan.shovelTons[j] * n / *plan.tonnage;
    auto moved = [&](const NearbyMix& mix) {
        std::vector<double> x = row;
        x[mix.coal] += mix.change * (mix.change < 0 ? std::min(step[mix.coal], row[mix.coal]) : step[mix.coal]);
        return x;
    };
    for (int j = 0; j < plan.k; ++j)
        for (const int change : {+1, -1}) {
            const std::vector<double> x = moved({j, change});
            if ((change > 0 || row[j] > 0) && plan.total(x) > 0)
                nearby.push_back(x);
        }
    QCOMPARE(insight->offMixCount, int(nearby.size()));
    QCOMPARE(insight->offUnit, problem.shovelMode ? OffUnit::Shovel : byShovel ? OffUnit::ShovelOfTonnage : OffUnit::Part);

    for (int b = 0; b < int(plan.bounds.size()); ++b) {
        const Enumeration::Bound& bound = plan.bounds[b];
        const BoundInsight* found = &insight->bounds[b];  // the same order: table order, lower first
        QVERIFY(found->index == bound.index && found->side == bound.side);
        const double value = plan.blend(bound.index, row);
        const double room = bound.side == BoundSide::Lower ? value - bound.value : bound.value - value;
        QVERIFY(Near(found->room, room, 1e-9));
        // No room at the decimals the index's bounds are typed with.
        int decimals = 2;
        for (const Enumeration::Bound& other : plan.bounds)
            if (other.index == bound.index)
                decimals = std::max(decimals, other.decimals);
        const bool binds = std::fabs(room) <= 1e-9 * std::max(1.0, std::fabs(bound.value))
            || std::fabs(room) < 0.5 * std::pow(10.0, -decimals) - 1e-9;
        QCOMPARE(found->binds, binds);
        if (binds) {
            ++binding;
            const double step = std::max(0.01, 0.01 * std::fabs(bound.value));
            const double moved = bound.side == BoundSide::Lower ? bound.value - step : bound.value + step;
            CheckPrice(found->stepped, plan.cheapestPrice(n, b, moved), "one step");
            CheckPrice(found->removed, plan.cheapestPrice(n, b), "removed");
        } else {
            QCOMPARE(found->stepped.status, LinearStatus::Failed);  // not asked for
        }

        // The worst nearby value beyond this bound, if any.
        std::optional<double> worst;
        for (const std::vector<double>& x : nearby) {
            const double v = plan.blend(bound.index, x);
            const double excess = bound.side == BoundSide::Lower ? bound.value - v : v - bound.value;
            if (excess > 1e-9 * std::max(1.0, std::fabs(bound.value)) && (!worst || excess > *worst))
                worst = excess;
        }
        const auto reported = std::find_if(insight->breaks.begin(), insight->breaks.end(), [&](const OffBreak& x) {
            return x.index == bound.index && x.side == bound.side;
        });
        QCOMPARE(reported != insight->breaks.end(), worst.has_value());
        if (worst) {
            ++broken;
            QVERIFY(Near(reported->excess, *worst, 1e-9));
            QVERIFY(Near(plan.blend(bound.index, moved(reported->mix)), reported->value, 1e-9));
            QVERIFY(insight->offSentence.chinese().contains(QString::fromUtf8(QualityIndices()[bound.index].describeLabel)));
        }
    }
    if (insight->breaks.empty())
        QVERIFY(insight->offSentence.chinese().startsWith(byShovel || problem.shovelMode ? QStringLiteral("差一铲仍全部达标")
                                                                                : QStringLiteral("差一份仍全部达标")));

    for (const IndexInsight& index : insight->indices) {
        double lowest = 1e300, highest = -1e300;
        for (const std::vector<double>& x : nearby) {
            lowest = std::min(lowest, plan.blend(index.index, x));
            highest = std::max(highest, plan.blend(index.index, x));
        }
        QVERIFY(Near(index.offLowest, lowest, 1e-9));
        QVERIFY(Near(index.offHighest, highest, 1e-9));
        for (const auto& [mix, value] : {std::pair{index.lowestMix, lowest}, std::pair{index.highestMix, highest}})
            QVERIFY(Near(plan.blend(index.index, moved(mix)), value, 1e-9));
    }
}

// The relaxation's unit price at total n with one bound at `to`.
std::optional<double> RelaxedPrice(BlendProblem problem, int n, const BoundInsight& b, double to)
{
    (b.side == BoundSide::Lower ? problem.lower : problem.upper)[b.index] = to;
    const LinearSolution s = SolveLinearProgram(BlendProgram(problem, n), LinearOptions{false});
    return s.status == LinearStatus::Optimal ? std::optional(s.objective / n) : std::nullopt;
}

// Two coals at 500 and 400, weighing 2 and 1 tons a shovel.
Result<BlendProblem> TwoCoals(const PlanTargets& targets)
{
    Mei a, b;
    a.JiaGe = 500;
    b.JiaGe = 400;
    a.MeiChan = QStringLiteral("2");
    b.MeiChan = QStringLiteral("1");
    return PlanProblem(targets, {a, b});
}

}  // namespace

class PlanAnalysisTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rowAgreesWithEnumeration_data();
    void rowAgreesWithEnumeration();
    void shadowPriceIsTheSlopeOfTheRelaxation_data();
    void shadowPriceIsTheSlopeOfTheRelaxation();
    void workedExample();
    void offSentence_data();
    void offSentence();
    void planPrices_data();
    void planPrices();
    void refusesRowsThatDoNotFit_data();
    void refusesRowsThatDoNotFit();
};

void PlanAnalysisTest::rowAgreesWithEnumeration_data()
{
    QTest::addColumn<bool>("shovel");
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<bool>("weighted");
    QTest::newRow("parts") << false << 7001u << false;
    QTest::newRow("shovels") << true << 7002u << false;
    QTest::newRow("parts, each index on its basis") << false << 7003u << true;
    QTest::newRow("shovels, each index on its basis") << true << 7004u << true;
}

// For each plan, the cheapest mix of a small total (what a run stores) and a
// random mix of that total, feasible or not.
void PlanAnalysisTest::rowAgreesWithEnumeration()
{
    QFETCH(bool, shovel);
    QFETCH(unsigned, seed);
    QFETCH(bool, weighted);
    std::mt19937 random(seed);
    int plans = 0, binding = 0, broken = 0, attempts = 0;
    while (plans < 100) {
        QVERIFY(++attempts < 2000);
        RandomPlan random_plan = MakeRandomPlan(random, shovel, weighted);
        const int n = std::uniform_int_distribution<int>(2, shovel ? 12 : 9)(random);
        for (int snapped = std::uniform_int_distribution<int>(0, 2)(random); snapped > 0; --snapped)
            SnapBound(random_plan, n, random);
        const Enumeration plan(random_plan);
        if (plan.nearTie(n))
            continue;
        const Result<BlendProblem> problem = PlanProblem(random_plan.targets, random_plan.coals);
        QVERIFY2(problem.ok(), qPrintable(problem.message()));
        const auto all = plan.all(n);
        const auto best = plan.cheapest(n);
        if (!best)
            continue;
        ++plans;
        for (const auto& row : {*best, all[std::uniform_int_distribution<size_t>(0, all.size() - 1)(random)]}) {
            CheckRow(plan, *problem, row, n, binding, broken);
            if (QTest::currentTestFailed())
                return;
        }
    }
    // Both kinds of finding occur often enough to mean something.
    QVERIFY2(binding >= 40 && broken >= 100, qPrintable(QStringLiteral("%1 %2").arg(binding).arg(broken)));
}

void PlanAnalysisTest::shadowPriceIsTheSlopeOfTheRelaxation_data()
{
    rowAgreesWithEnumeration_data();
}

// The relaxation's price is convex in each bound, so its dual lies between the
// slopes to either side: the finite differences of the relaxation with the
// bound moved a little down and up. An index averaged on its basis has its
// bound in the row's coefficients; the dual, scaled to a unit of the bound,
// is still the price's derivative.
void PlanAnalysisTest::shadowPriceIsTheSlopeOfTheRelaxation()
{
    QFETCH(bool, shovel);
    QFETCH(unsigned, seed);
    QFETCH(bool, weighted);
    std::mt19937 random(seed + 100);
    int checked = 0, nonZero = 0, attempts = 0;
    while (checked < 150) {
        QVERIFY(++attempts < 5000);
        const RandomPlan random_plan = MakeRandomPlan(random, shovel, weighted);
        const Result<BlendProblem> problem = PlanProblem(random_plan.targets, random_plan.coals);
        QVERIFY(problem.ok());
        const int n = std::uniform_int_distribution<int>(5, 60)(random);
        const LinearSolution mip = SolveLinearProgram(BlendProgram(*problem, n));
        if (mip.status != LinearStatus::Optimal)
            continue;
        const Result<RowInsight> insight = AnalyseRow(*problem, mip.values, kNoHurry);
        QVERIFY(insight.ok());
        for (const BoundInsight& b : insight->bounds) {
            QVERIFY(b.shadowPrice.has_value());
            const double delta = 1e-4 * std::max(1.0, std::fabs(b.bound));
            const double slope = *b.shadowPrice, tolerance = 1e-5 * std::max(1.0, std::fabs(slope));
            const std::optional<double> at = RelaxedPrice(*problem, n, b, b.bound);
            const std::optional<double> down = RelaxedPrice(*problem, n, b, b.bound - delta);
            const std::optional<double> up = RelaxedPrice(*problem, n, b, b.bound + delta);
            QVERIFY(at);
            if (weighted) {
                // The bound sits in the row's coefficients: the price need not
                // be convex in it, but its derivative lies between the slopes.
                if (down && up) {
                    const double left = (*at - *down) / delta, right = (*up - *at) / delta;
                    QVERIFY2(slope >= std::min(left, right) - tolerance && slope <= std::max(left, right) + tolerance,
                             qPrintable(QStringLiteral("%1 %2 %3").arg(slope).arg(left).arg(right)));
                }
            } else {
                QVERIFY2(!down || slope >= (*at - *down) / delta - tolerance, qPrintable(QString::number(slope)));
                QVERIFY2(!up || slope <= (*up - *at) / delta + tolerance, qPrintable(QString::number(slope)));
            }
            ++checked;
            nonZero += slope != 0.0;
        }
    }
    QVERIFY2(nonZero >= 30, qPrintable(QString::number(nonZero)));
}

// Two coals, ash 10 and 14, ash at most 12, total 2: the row 1 : 1 sits on
// the bound. In the relaxation the cheap coal gets (U - 10) / 2 of the two
// parts and each of its parts takes 25 off the unit price: -12.5 per unit of ash.
void PlanAnalysisTest::workedExample()
{
    Mei a, b;
    a.JiaGe = 500;
    b.JiaGe = 450;
    IndexValue(a, kAsh) = QStringLiteral("10");
    IndexValue(b, kAsh) = QStringLiteral("14");
    PlanTargets targets;
    targets.upper[kAsh] = QStringLiteral("12");
    const Result<BlendProblem> problem = PlanProblem(targets, {a, b});
    QVERIFY(problem.ok());
    const Result<RowInsight> insight = AnalyseRow(*problem, {1, 1}, kNoHurry);
    QVERIFY(insight.ok() && insight->bounds.size() == 1 && insight->bounds[0].binds);
    const BoundInsight& ash = insight->bounds[0];
    QVERIFY(Near(*ash.shadowPrice, -12.5));
    QCOMPARE(ash.stepped.unitPrice, 475.0);  // 12.12 admits no other mix of two parts
    QCOMPARE(ash.removed.parts, (std::vector<double>{0, 2}));
    // By weight without a tonnage one off is one part.
    QCOMPARE(insight->offSentence.chinese(), QStringLiteral("差一份时灰分可达 14.00，比上限 12 高 2.00"));

    // With no time to spend, the prices stay open and the rest is there.
    const Result<RowInsight> hurried = AnalyseRow(*problem, {1, 1}, AnalysisOptions{0, true});
    QVERIFY(hurried.ok() && hurried->bounds[0].binds);
    QCOMPARE(hurried->bounds[0].stepped.status, LinearStatus::TimeLimit);
    QCOMPARE(hurried->bounds[0].removed.status, LinearStatus::TimeLimit);
    QCOMPARE(hurried->offSentence.chinese(), insight->offSentence.chinese());
}

void PlanAnalysisTest::offSentence_data()
{
    QTest::addColumn<std::vector<OffBreak>>("breaks");
    QTest::addColumn<int>("unit");        // OffUnit
    QTest::addColumn<QString>("sentence");
    const int shovel = int(OffUnit::Shovel), part = int(OffUnit::Part), tons = int(OffUnit::ShovelOfTonnage);
    QTest::newRow("none") << std::vector<OffBreak>{} << shovel << QStringLiteral("差一铲仍全部达标");
    QTest::newRow("upper") << std::vector<OffBreak>{{kAsh, BoundSide::Upper, 12, 12.35, 0.35, {}}} << shovel
                           << QStringLiteral("差一铲时灰分可达 12.35，比上限 12 高 0.35");
    QTest::newRow("lower") << std::vector<OffBreak>{{kSulphur, BoundSide::Lower, 0.5, 0.46, 0.04, {}}} << shovel
                           << QStringLiteral("差一铲时硫分可低至 0.46，比下限 0.5 低 0.04");
    QTest::newRow("two") << std::vector<OffBreak>{{kHeat, BoundSide::Lower, 5000, 4987.5, 12.5, {}},
                                                  {kAsh, BoundSide::Upper, 12.5, 12.6, 0.1, {}}}
                         << shovel
                         << QStringLiteral("差一铲时热量可低至 4987.50，比下限 5000 低 12.50；灰分可达 12.60，比上限 12.5 高 0.10");
    // A large total moves a blend by less than what two decimals show.
    QTest::newRow("small") << std::vector<OffBreak>{{kAsh, BoundSide::Upper, 12, 12.0042, 0.0042, {}}} << shovel
                           << QStringLiteral("差一铲时灰分可达 12.004，比上限 12 高 0.004");
    // 0.0275 shows as 0.028 and the gap to 0.029 as what the texts differ by,
    // not as 0.0015 rounded on its own.
    QTest::newRow("the gap of the texts") << std::vector<OffBreak>{{kSulphur, BoundSide::Lower, 0.029, 0.055 / 2, 0.0015, {}}}
                                          << shovel << QStringLiteral("差一铲时硫分可低至 0.028，比下限 0.029 低 0.001");
    QTest::newRow("as many decimals as the bound")
        << std::vector<OffBreak>{{kSulphur, BoundSide::Upper, 0.0295, 0.035, 0.0055, {}}} << shovel
        << QStringLiteral("差一铲时硫分可达 0.0350，比上限 0.0295 高 0.0055");
    QTest::newRow("one part") << std::vector<OffBreak>{{kAsh, BoundSide::Upper, 12, 12.35, 0.35, {}}} << part
                              << QStringLiteral("差一份时灰分可达 12.35，比上限 12 高 0.35");
    QTest::newRow("one part, none") << std::vector<OffBreak>{} << part << QStringLiteral("差一份仍全部达标");
    QTest::newRow("a shovel of a plan by weight") << std::vector<OffBreak>{} << tons
                                                  << QStringLiteral("差一铲仍全部达标（按配1000吨、各煤的每铲重量计）");
}

void PlanAnalysisTest::offSentence()
{
    QFETCH(std::vector<OffBreak>, breaks);
    QFETCH(int, unit);
    QFETCH(QString, sentence);
    QCOMPARE(OffSentence(breaks, OffUnit(unit), 1000).chinese(), sentence);
}

void PlanAnalysisTest::planPrices_data()
{
    // Two coals at 500 and 400; the unit price of a : b is (500a + 400b) / (a + b).
    QTest::addColumn<bool>("shovel");
    QTest::addColumn<QList<QList<double>>>("rows");
    QTest::addColumn<double>("cheapestTotal");
    QTest::addColumn<double>("fineEnoughTotal");
    using Rows = QList<QList<double>>;
    // 5: 460, 2: 450, 4: 425, 13: 423.08 -> 0.5 % above is 425.19, first reached at 4.
    QTest::newRow("coarse is near") << false << Rows{{3, 2}, {1, 1}, {1, 3}, {3, 10}} << 13.0 << 4.0;
    // 4: 425, 10: 420, 100: 418 -> 420.09: the total 10.
    QTest::newRow("finer pays") << false << Rows{{18, 82}, {1, 3}, {2, 8}} << 100.0 << 10.0;
    QTest::newRow("one row") << false << Rows{{1, 1}} << 2.0 << 2.0;
    // Shovels of 2 and 1 tons: 1 : 2 is 2 + 2 = 4 tons at 450.
    QTest::newRow("shovels weigh") << true << Rows{{1, 2}, {1, 0}} << 4.0 << 4.0;
}

void PlanAnalysisTest::planPrices()
{
    QFETCH(bool, shovel);
    QFETCH(QList<QList<double>>, rows);
    QFETCH(double, cheapestTotal);
    QFETCH(double, fineEnoughTotal);
    PlanTargets targets;
    targets.shovelMode = shovel;
    targets.proportionCount = QStringLiteral("2.5");
    const Result<BlendProblem> problem = TwoCoals(targets);
    QVERIFY(problem.ok());
    std::vector<StoredRow> stored;
    for (const QList<double>& row : rows)
        stored.push_back({std::vector<double>(row.begin(), row.end()), 0.0});
    const Result<PlanPrices> prices = AnalysePlanPrices(*problem, targets, stored);
    QVERIFY(prices.ok());
    QCOMPARE(prices->triedUpTo, 2);
    QCOMPARE(prices->points.size(), size_t(rows.size()));
    for (size_t p = 1; p < prices->points.size(); ++p)
        QVERIFY(prices->points[p - 1].total <= prices->points[p].total);
    QCOMPARE(prices->points[prices->cheapest].total, cheapestTotal);
    QCOMPARE(prices->points[prices->fineEnough].total, fineEnoughTotal);
}

void PlanAnalysisTest::refusesRowsThatDoNotFit_data()
{
    QTest::addColumn<bool>("shovel");
    QTest::addColumn<QList<double>>("parts");
    QTest::addColumn<QString>("message");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("too few") << false << QList<double>{3} << QStringLiteral("配比有1种煤的份数，方案有2种煤");
    QTest::newRow("too many") << false << QList<double>{3, 2, 1} << QStringLiteral("配比有3种煤的份数，方案有2种煤");
    QTest::newRow("negative") << false << QList<double>{3, -1} << QStringLiteral("第2种煤的份数应为不小于0的整数");
    QTest::newRow("fraction") << false << QList<double>{2.5, 1} << QStringLiteral("第1种煤的份数应为不小于0的整数");
    QTest::newRow("no number") << false << QList<double>{nan, 1} << QStringLiteral("第1种煤的份数应为不小于0的整数");
    QTest::newRow("nothing") << false << QList<double>{0, 0} << QStringLiteral("各煤的份数之和为0，无法分析");
    QTest::newRow("no shovels") << true << QList<double>{0, 0}
                                << QStringLiteral("各煤的铲数乘每铲重量之和不大于0，无法分析");
}

void PlanAnalysisTest::refusesRowsThatDoNotFit()
{
    QFETCH(bool, shovel);
    QFETCH(QList<double>, parts);
    QFETCH(QString, message);
    PlanTargets targets;
    targets.shovelMode = shovel;
    const Result<BlendProblem> problem = TwoCoals(targets);
    QVERIFY(problem.ok());
    const std::vector<double> row(parts.begin(), parts.end());
    const Result<RowInsight> insight = AnalyseRow(*problem, row);
    QVERIFY(!insight.ok());
    QCOMPARE(insight.kind(), FailureKind::Invalid);
    QCOMPARE(insight.message(), message);
    // In a plan the row is named; rows before it do not hide it.
    const Result<PlanPrices> prices = AnalysePlanPrices(*problem, targets, {{{1, 1}, 450}, {row, 0}});
    QVERIFY(!prices.ok());
    QCOMPARE(prices.message(), QStringLiteral("第2行配比：") + message);
}

QTEST_GUILESS_MAIN(PlanAnalysisTest)
#include "tst_plan_analysis.moc"
