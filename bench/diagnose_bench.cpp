// Times the diagnosis of a run without a plan: ten coals with all fifteen
// indices, all thirty bounds set, a tonnage with stock and two must-use coals,
// proportion count 1000, in the plain and the shovel-count form. Two kinds of
// conflict: one where a bound lies beyond what the coals reach (found from the
// reachable ranges), and one where every bound can be met alone but not all
// together (found by the deletion filter, the expensive case).
//
// Baselines measured in the same run on the same model: one solve of the run's
// own integer programme at total 1000, and the solver work of the whole
// failed run (totals 2 ... 1000). Each figure is the best of a few
// repetitions, so that other work on the machine disturbs it less.
//
// Usage: diagnose_bench [REPETITIONS]

#include "support/ModelTexts.h"
#include "blend/BlendProblem.h"
#include "blend/Diagnose.h"
#include "blend/LinearSolver.h"
#include "blend/ModelText.h"
#include "base/QualityIndex.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr int kTotal = 1000;
using Clock = std::chrono::steady_clock;

double BestSeconds(int repetitions, const std::function<void()>& work)
{
    double best = 1e9;
    for (int r = 0; r < repetitions; ++r) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// Ten coals, each index spread from about 70 % to 130 % of its base value,
// bounds at 85 % and 115 %; then a few bounds tightened to make the model fail.
ModelInput MakeInput(bool shovelMode, bool beyondReach)
{
    const double* base = kBenchmarkBase;
    ModelInput input = TenCoalRun(shovelMode);
    // Ash low, heat and caking index high: each within reach on its own.
    input.upper[6] = QString::number(base[6] * 0.86, 'g', 6);
    input.lower[2] = QString::number(base[2] * 1.1, 'g', 6);
    input.lower[9] = QString::number(base[9] * 1.1, 'g', 6);
    if (beyondReach)
        input.upper[5] = QString::number(base[5] * 0.6, 'g', 6);  // below every coal's sulphur
    return input;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    std::printf("diagnosis of a run without a plan: 10 coals, 30 bounds, N = %d, best of %d\n", kTotal, repetitions);
    std::printf("%-8s %-13s %6s %9s %11s %12s %9s %10s\n", "form", "conflict", "steps", "diag ms", "1 solve ms",
                "run 999 ms", "x solve", "x run");
    bool allFast = true;
    for (bool shovelMode : {false, true}) {
        for (bool beyondReach : {true, false}) {
            const ModelInput input = MakeInput(shovelMode, beyondReach);
            const BlendProblem problem = *MakeBlendProblem(input);
            bool planAtAnyTotal = false;
            const double run = BestSeconds(repetitions, [&] {
                for (int n = 2; n <= kTotal; ++n)
                    planAtAnyTotal |= SolveLinearProgram(BlendProgram(problem, n)).status == LinearStatus::Optimal;
            });
            const double one = BestSeconds(repetitions, [&] {
                if (SolveLinearProgram(BlendProgram(problem, kTotal)).status == LinearStatus::Optimal)
                    planAtAnyTotal = true;
            });
            int steps = 0;
            Result<NoPlanDiagnosis> result = Fail(QString());
            const double diagnosis = BestSeconds(repetitions, [&] {
                result = DiagnoseNoPlan(input, kTotal, [&](int, int planned) {
                    steps = planned;
                    return true;
                });
            });
            if (!result.ok()) {
                std::printf("diagnosis failed: %s\n", qPrintable(result.message()));
                return 1;
            }
            std::printf("%-8s %-13s %6d %9.1f %11.3f %12.1f %9.0f %10.2f\n", shovelMode ? "shovel" : "plain",
                        beyondReach ? "beyond reach" : "joint", steps, diagnosis * 1e3, one * 1e3, run * 1e3,
                        diagnosis / one, diagnosis / run);
            std::printf("    plan at some total: %s; conflict of %zu bound(s); %s\n    %s\n",
                        planAtAnyTotal ? "yes" : "no", result->conflict.size(),
                        qPrintable(result->conflictSentences.join(QStringLiteral("; "))),
                        qPrintable(result->suggestionSentence));
            allFast = allFast && diagnosis < 2.0;
        }
    }
    std::printf("every diagnosis under 2 s: %s\n", allFast ? "yes" : "no");
    return 0;
}
