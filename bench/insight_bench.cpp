// Times the analysis of one proportion row (what the history window runs when
// a row is selected), and everything the window's insight panel makes of it,
// on plans of ten coals with all thirty bounds and a
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

#include "BenchPlans.h"

#include "blend/BlendProblem.h"
#include "blend/LinearSolver.h"
#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "export/InsightListing.h"
#include "history/PlanAnalysis.h"
#include "history/PlanInsight.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
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

void RunForm(bool shovel, bool hard, int lastTotal)
{
    PlanTargets targets;
    QVector<Mei> coals;
    bench::MakeTenCoalPlan(shovel, hard, lastTotal, targets, coals);
    const Result<BlendProblem> problem = PlanProblem(targets, coals);
    if (!problem) {
        std::printf("plan refused: %s\n", qPrintable(problem.message()));
        return;
    }

    // The run: every total, one row per distinct rounded price.
    std::vector<StoredRow> rows;
    std::vector<int> totals;
    const auto runStart = Clock::now();
    for (const bench::SolvedRow& solved : bench::SolvePlanRows(*problem, lastTotal)) {
        rows.push_back(solved.row);
        totals.push_back(solved.total);
    }
    const double runMs = std::chrono::duration<double, std::milli>(Clock::now() - runStart).count();
    std::printf("\n%s plan, %s form: the run of totals 2 ... %d took %.0f ms and stored %zu rows\n",
                hard ? "hard" : "usual", shovel ? "shovel-count" : "plain", lastTotal, runMs, rows.size());
    if (rows.empty())
        return;

    // The plan as the history window loads it, for the panel's figure.
    PlanView view;
    view.coals = coals;
    view.targets = targets;
    for (size_t r = 0; r < rows.size(); ++r) {
        PlanBlendRow stored;
        stored.id = static_cast<int>(r) + 1;
        for (size_t j = 0; j < rows[r].parts.size(); ++j)
            stored.parts[j] = rows[r].parts[j];
        stored.blend.JiaGe = rows[r].price;
        view.blends << stored;
    }
    const QStringList shown(10, QStringLiteral("1"));

    AnalysisOptions unhurried;
    unhurried.budgetMs = 600000;
    std::vector<double> analysis, full, baseline, ratio, panel;
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
        // Selecting the row in the window: its analysis (kept per plan, so
        // each repetition starts from a freshly loaded plan) and the list,
        // sentence, chart marks and shares made from it.
        {
            double best = 1e300;
            for (int rep = 0; rep < gRepetitions; ++rep) {
                PlanInsight insight(view);
                const auto start = Clock::now();
                const Result<RowInsight> row = insight.analyse(static_cast<int>(r) + 1);
                const LimitRows limits = MakeLimitRows(targets, row ? &*row : nullptr, Settings{});
                const QString margin = MarginText(insight, true, &row);
                const PriceChart chart = MakePriceChart(insight, static_cast<int>(r));
                const QVector<ShareSegment> shares = MakeRowShares(insight, static_cast<int>(r), shown, false);
                best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                if (limits.rows.isEmpty() || margin.isEmpty() || chart.points.isEmpty() || shares.isEmpty())
                    std::puts("panel left empty");
            }
            panel.push_back(best);
        }
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
    line("panel data on selecting the row", panel);
    line("one MIP solve at the row's total", baseline);
    std::printf("  ratio budgeted analysis / one solve: median %.1f, 90%% %.1f, max %.1f\n", Percentile(ratio, 0.5),
                Percentile(ratio, 0.9), Percentile(ratio, 1.0));
    std::printf("  binding-bound prices found within the budget: %d of %d\n", found, wanted);
    std::printf("  whole-plan prices (%zu rows): %.3f ms\n", rows.size(), planMs);
    std::printf("  ratio panel data / one solve: median %.1f, 90%% %.1f\n",
                Percentile(panel, 0.5) / Percentile(baseline, 0.5), Percentile(panel, 0.9) / Percentile(baseline, 0.9));
    std::printf("  slowest budgeted row %s 200 ms; slowest panel %s 200 ms\n",
                Percentile(analysis, 1.0) < 200 ? "is within" : "EXCEEDS",
                Percentile(panel, 1.0) < 200 ? "is within" : "EXCEEDS");
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
