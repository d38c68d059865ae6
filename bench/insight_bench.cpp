// Times the analysis of one proportion row (what the history window runs when
// a row is selected) on plans of ten coals with all thirty bounds and a
// tonnage. A plan's rows come from a real run: every total 2 ... 999 solved
// with the solver, one row kept per distinct rounded price, as a run stores
// them. Each row's analysis (with its default time budget, and with every
// price solved however long it takes) is timed against one integer solve of
// the model at that row's total, measured in the same run; each figure is the
// best of a few repetitions. A usual plan and a hard one, each in plain and
// shovel-count form.
//
// The hard plan's run is itself slow (every one of its integer solves is), so
// by default it stops at the total 300.
//
//   insight_bench [LAST_TOTAL [REPETITIONS [HARD_LAST_TOTAL]]]

#include "blend/BlendProblem.h"
#include "blend/LinearSolver.h"
#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "history/PlanAnalysis.h"
#include "support/ModelTexts.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int gLastTotal = 999;
int gRepetitions = 3;
int gHardLastTotal = 300;

double BestMs(const std::function<void()>& work)
{
    double best = 1e300;
    for (int r = 0; r < gRepetitions; ++r) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
}

QString Text(double value)
{
    std::string text;
    AppendShortestNumber(text, value);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Ten coals whose price follows their quality: the cheap ones carry more
// ash, sulphur and moisture and less heat, so the cheapest blend presses
// against the targets. Every index has both bounds, one side loose; the other
// side lies 3 % from the base value for heat, sulphur, ash and volatile matter
// and 12 % for the rest, or 3 % for every index in the hard plan (which makes
// many of the solver's integer solves slow in themselves).
void MakePlan(bool shovel, bool hard, int lastTotal, PlanTargets& targets, QVector<Mei>& coals)
{
    static const double base[kIndexCount] = {2.0, 8.0, 5200, 5600, 3.0, 0.6, 12.0, 28.0,
                                             33.0, 60.0, 14.0, 55.0, 70.0, 1250, 80.0};
    // +1: more is better (a lower bound holds), -1: less is better (an upper bound holds).
    static const int better[kIndexCount] = {-1, -1, 1, 1, -1, -1, -1, -1, -1, 1, 1, 1, 1, 1, 1};
    static const char* shovelWeight[10] = {"2", "3", "2.5", "1.5", "2", "3", "1", "2.5", "2", "1.5"};
    for (int j = 0; j < 10; ++j) {
        const double quality = ((j * 7) % 10) / 9.0;
        Mei coal;
        coal.MingCheng = QStringLiteral("煤%1").arg(j + 1);
        coal.JiaGe = std::round((380 + 240 * quality + 6.5 * ((j * 3) % 4)) * 100) / 100;
        coal.Kucun = QString::number(400 + 150 * j);
        coal.MeiChan = QString::fromLatin1(shovelWeight[j]);
        for (int i = 0; i < kIndexCount; ++i) {
            const double noise = 0.08 * (((j * 5 + i * 3) % 7) - 3) / 3.0;
            const double factor = better[i] > 0 ? 0.75 + 0.5 * quality + noise : 1.25 - 0.5 * quality + noise;
            IndexValue(coal, i) = FormatIndexValue(base[i] * factor);
        }
        coals.push_back(coal);
        targets.mustInclude.push_back(j == 2 || j == 7);
    }
    for (int i = 0; i < kIndexCount; ++i) {
        const bool key = i == 2 || i == 5 || i == 6 || i == 7;
        const double tight = key || hard ? 0.03 : 0.12;
        targets.lower[i] = Text(base[i] * (better[i] > 0 ? 1 - tight : 0.7));
        targets.upper[i] = Text(base[i] * (better[i] > 0 ? 1.3 : 1 + tight));
    }
    targets.tonnage = QStringLiteral("1000");
    targets.proportionCount = QString::number(lastTotal);
    targets.shovelMode = shovel;
}

void RunForm(bool shovel, bool hard, int lastTotal)
{
    PlanTargets targets;
    QVector<Mei> coals;
    MakePlan(shovel, hard, lastTotal, targets, coals);
    const Result<BlendProblem> problem = PlanProblem(targets, coals);
    if (!problem) {
        std::printf("plan refused: %s\n", qPrintable(problem.message()));
        return;
    }

    // The run: every total, one row per distinct rounded price.
    std::vector<StoredRow> rows;
    std::vector<int> totals;
    std::set<double> prices;
    const auto runStart = Clock::now();
    for (int n = 2; n <= lastTotal; ++n) {
        const LinearSolution s = SolveLinearProgram(BlendProgram(*problem, n));
        if (s.status != LinearStatus::Optimal)
            continue;
        const double price = ToRoundedDouble(UnitPriceOf(*problem, s.values, n));
        if (!prices.insert(price).second)
            continue;
        rows.push_back({s.values, price});
        totals.push_back(n);
    }
    const double runMs = std::chrono::duration<double, std::milli>(Clock::now() - runStart).count();
    std::printf("\n%s plan, %s form: the run of totals 2 ... %d took %.0f ms and stored %zu rows\n",
                hard ? "hard" : "usual", shovel ? "shovel-count" : "plain", lastTotal, runMs, rows.size());
    if (rows.empty())
        return;

    AnalysisOptions unhurried;
    unhurried.budgetMs = 600000;
    std::vector<double> analysis, full, baseline, ratio;
    int bindingTotal = 0, mostBinding = 0, withBreaks = 0, wanted = 0, found = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
        const int n = totals[r];
        int binding = 0, priced = 0;
        bool breaks = false;
        analysis.push_back(BestMs([&] {
            const Result<RowInsight> insight = AnalyseRow(*problem, rows[r].parts);
            binding = priced = 0;
            for (const BoundInsight& b : insight->bounds) {
                binding += b.binds;
                priced += b.binds && b.stepped.status == LinearStatus::Optimal &&
                          b.removed.status == LinearStatus::Optimal;
            }
            breaks = !insight->breaks.empty();
        }));
        full.push_back(BestMs([&] {
            const Result<RowInsight> insight = AnalyseRow(*problem, rows[r].parts, unhurried);
            (void)insight;
        }));
        baseline.push_back(BestMs([&] {
            const LinearSolution s = SolveLinearProgram(BlendProgram(*problem, n));
            (void)s;
        }));
        ratio.push_back(analysis.back() / baseline.back());
        bindingTotal += binding;
        mostBinding = std::max(mostBinding, binding);
        withBreaks += breaks;
        wanted += binding;
        found += priced;
    }
    const double planMs = BestMs([&] {
        const Result<PlanPrices> p = AnalysePlanPrices(*problem, targets, rows);
        (void)p;
    });

    auto line = [](const char* what, const std::vector<double>& v) {
        std::printf("  %-34s median %8.3f ms   90%% %8.3f ms   max %8.3f ms\n", what, Percentile(v, 0.5),
                    Percentile(v, 0.9), Percentile(v, 1.0));
    };
    std::printf("  binding bounds per row: %.2f on average, %d at most; rows with a one-part-off break: %zu of %zu\n",
                double(bindingTotal) / rows.size(), mostBinding, size_t(withBreaks), rows.size());
    line("row analysis (150 ms budget)", analysis);
    line("row analysis, every price solved", full);
    line("one MIP solve at the row's total", baseline);
    std::printf("  ratio budgeted analysis / one solve: median %.1f, 90%% %.1f, max %.1f\n", Percentile(ratio, 0.5),
                Percentile(ratio, 0.9), Percentile(ratio, 1.0));
    std::printf("  binding-bound prices found within the budget: %d of %d\n", found, wanted);
    std::printf("  whole-plan prices (%zu rows): %.3f ms\n", rows.size(), planMs);
    std::printf("  slowest budgeted row %s 200 ms\n", Percentile(analysis, 1.0) < 200 ? "is within" : "EXCEEDS");
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1)
        gLastTotal = std::max(2, std::atoi(argv[1]));
    if (argc > 2)
        gRepetitions = std::max(1, std::atoi(argv[2]));
    if (argc > 3)
        gHardLastTotal = std::max(2, std::atoi(argv[3]));
    for (const bool hard : {false, true})
        for (const bool shovel : {false, true})
            RunForm(shovel, hard, hard ? gHardLastTotal : gLastTotal);
    return 0;
}
