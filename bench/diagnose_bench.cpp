// Times the diagnosis of a run without a plan: ten coals with all fifteen
// indices, all thirty bounds set, a tonnage with stock and two must-use coals,
// proportion count N = 1000, in the plain and the shovel-count form (and the
// latter with shovel weights such as 2.7 t, where only some totals can be
// made of whole shovels). Three
// kinds of failure: a bound beyond what the coals reach (found from the
// reachable ranges); bounds that can each be met alone but not together
// (found by the deletion filter); and a tonnage the stock cannot give, where
// the bounds are not at fault and the search for the largest tonnage that
// works runs. Every diagnosis looks at all totals 2 ... N at once, and
// searches the counts above N for one that alone gives a plan; the same runs
// at N = 200 time that search over 201 ... 1000.
//
// Baselines measured in the same run on the same model: one solve of the run's
// own integer programme at total N, and the solver work of the whole failed
// run (totals 2 ... N). Each figure is the best of a few repetitions, so that
// other work on the machine disturbs it less.
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

enum class Kind { BeyondReach, Joint, Stock };

// The forms: proportions by weight, shovel counts, and shovel counts with
// weights such as 2.7 t, of which only some totals can be made whole.
enum class Form { Plain, Shovel, Uneven };

const char* Name(Form form)
{
    switch (form) {
    case Form::Plain: return "plain";
    case Form::Shovel: return "shovel";
    case Form::Uneven: return "uneven";
    }
    return "";
}

const char* Name(Kind failure)
{
    switch (failure) {
    case Kind::BeyondReach: return "beyond reach";
    case Kind::Joint: return "joint";
    case Kind::Stock: return "stock";
    }
    return "";
}

// Ten coals, each index spread from about 70 % to 130 % of its base value,
// bounds at 85 % and 115 %; then a few bounds tightened, or the tonnage
// raised beyond the stock, to make the model fail.
ModelInput MakeInput(Form form, Kind failure)
{
    const double* base = kBenchmarkBase;
    ModelInput input = TenCoalRun(form != Form::Plain);
    if (form == Form::Uneven) {
        const char* weights[10] = {"2.7", "1.3", "3.1", "1.7", "2.3", "2.9", "1.1", "3.3", "2.1", "1.9"};
        for (int j = 0; j < 10; ++j)
            input.coals[j].MeiChan = QLatin1String(weights[j]);
    }
    if (failure == Kind::Stock) {
        input.tonnage = QStringLiteral("20000");  // 10750 t in stock
        return input;
    }
    // Ash low, heat and caking index high: each within reach on its own.
    input.upper[6] = QString::number(base[6] * 0.86, 'g', 6);
    input.lower[2] = QString::number(base[2] * 1.1, 'g', 6);
    input.lower[9] = QString::number(base[9] * 1.1, 'g', 6);
    if (failure == Kind::BeyondReach)
        input.upper[5] = QString::number(base[5] * 0.6, 'g', 6);  // below every coal's sulphur
    return input;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    std::printf("diagnosis of a run without a plan: 10 coals, 30 bounds, best of %d\n", repetitions);
    std::printf("%5s %-7s %-13s %6s %9s %11s %12s %9s %8s\n", "N", "form", "failure", "steps", "diag ms",
                "1 solve ms", "run ms", "x solve", "x run");
    bool allFast = true;
    for (int total : {1000, 200}) {
        for (Form form : {Form::Plain, Form::Shovel, Form::Uneven}) {
            for (Kind failure : {Kind::BeyondReach, Kind::Joint, Kind::Stock}) {
                const ModelInput input = MakeInput(form, failure);
                const BlendProblem problem = *MakeBlendProblem(input);
                bool planAtAnyTotal = false;
                const double run = BestSeconds(repetitions, [&] {
                    for (int n = 2; n <= total; ++n)
                        planAtAnyTotal |= SolveLinearProgram(BlendProgram(problem, n)).status == LinearStatus::Optimal;
                });
                const double one = BestSeconds(repetitions, [&] {
                    if (SolveLinearProgram(BlendProgram(problem, total)).status == LinearStatus::Optimal)
                        planAtAnyTotal = true;
                });
                int steps = 0;
                Result<NoPlanDiagnosis> result = Fail(QString());
                const double diagnosis = BestSeconds(repetitions, [&] {
                    result = DiagnoseNoPlan(input, total, [&](int, int planned) {
                        steps = planned;
                        return true;
                    });
                });
                if (!result.ok()) {
                    std::printf("diagnosis failed: %s\n", qPrintable(result.message()));
                    return 1;
                }
                std::printf("%5d %-7s %-13s %6d %9.1f %11.3f %12.1f %9.0f %8.2f\n", total, Name(form), Name(failure), steps, diagnosis * 1e3, one * 1e3,
                            run * 1e3, diagnosis / one, diagnosis / run);
                QStringList said;
                for (const auto* texts : {&result->conflictSentences, &result->stockSentences})
                    for (const Text& text : *texts)
                        said << text.chinese();
                said << result->suggestionSentence.chinese();
                for (const Text& text : result->alternativeSentences)
                    said << text.chinese();
                said.removeAll(QString());
                std::printf("    plan at some total: %s; relaxation measure %.6f at total %d\n    %s\n",
                            planAtAnyTotal ? "yes" : "no", result->relaxationMeasure, result->relaxedTotal,
                            qPrintable(said.join(QStringLiteral("\n    "))));
                if (total == 1000)
                    allFast = allFast && diagnosis < 2.0;
            }
        }
    }
    std::printf("every diagnosis at N = 1000 under 2 s: %s\n", allFast ? "yes" : "no");
    return 0;
}
