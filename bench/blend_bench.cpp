// Times one blending run's solver work: for every total n = 2 ... 1000 the
// program's own path (model file written, engine run on it, blend record
// computed) against GLPK alone on the same models built directly in memory.
// Both must find the same optimum for every n. Runs the plain and the
// shovel-count form; each total's time is the best of a few repetitions, so
// that other work on the machine disturbs the figures less.

#include "../tests/support/TestFolder.h"
#include "support/ModelTexts.h"
#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "blend/BlendRecord.h"
#include "blend/EngineSolver.h"
#include "blend/LinearSolver.h"
#include "blend/ModelText.h"
#include "blend/SolverCall.h"

#include <QCoreApplication>

#include <glpk.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int kFirstTotal = 2;
// Defaults; "blend_bench LAST REPETITIONS" shortens a run (for profiling).
int kLastTotal = 1000;
int kRepetitions = 5;

using Clock = std::chrono::steady_clock;

ModelInput MakeInput(bool shovelMode)
{
    return TenCoalRun(shovelMode);
}

// The same model as the text, as numbers: what GLPK alone is given.
struct DirectModel {
    int k = 0;
    std::vector<double> weight;                 // tons per part (1 in plain form)
    std::vector<double> price;                  // objective coefficients
    std::vector<std::vector<double>> index;     // [i][j] coefficients of bound rows
    std::vector<double> lower, upper;           // bound per index (NaN = none)
    std::vector<int> must;                      // must-include coals
    double tonnage = 0.0;
    std::vector<double> stock;
};

DirectModel MakeDirect(const ModelInput& input)
{
    DirectModel m;
    m.k = static_cast<int>(input.coals.size());
    for (const Mei& coal : input.coals) {
        m.weight.push_back(input.shovelMode ? ToNumber(coal.MeiChan).value_or(0) : 1.0);
        m.price.push_back(ToNumber(FormatIndexValue(coal.JiaGe)).value_or(0));
        m.stock.push_back(ToNumber(coal.Kucun).value_or(0));
    }
    m.index.resize(kIndexCount);
    for (int i = 0; i < kIndexCount; ++i) {
        for (const Mei& coal : input.coals)
            m.index[i].push_back(ToNumber(FormatIndexValue(IndexValue(coal, i))).value_or(0));
        m.lower.push_back(ToNumber(input.lower[i]).value_or(NAN));
        m.upper.push_back(ToNumber(input.upper[i]).value_or(NAN));
    }
    for (int j = 0; j < m.k; ++j)
        if (input.mustInclude[j])
            m.must.push_back(j);
    m.tonnage = ToNumber(input.tonnage).value_or(0);
    return m;
}

// Builds the model for total n straight into GLPK and solves it with the
// engine's settings. Returns the optimum, or nothing.
std::optional<double> SolveDirect(const DirectModel& m, int n)
{
    glp_term_out(GLP_OFF);
    glp_prob* lp = glp_create_prob();
    glp_set_obj_dir(lp, GLP_MIN);
    glp_add_cols(lp, m.k);
    for (int j = 1; j <= m.k; ++j) {
        glp_set_col_bnds(lp, j, GLP_LO, 0.0, 0.0);
        glp_set_col_kind(lp, j, GLP_IV);
        glp_set_obj_coef(lp, j, m.price[j - 1] * m.weight[j - 1]);
    }
    std::vector<int> ia(1), ja(1);
    std::vector<double> ar(1);
    auto addRow = [&](int type, double bound, auto coefficient) {
        const int row = glp_add_rows(lp, 1);
        glp_set_row_bnds(lp, row, type, bound, bound);
        for (int j = 0; j < m.k; ++j) {
            const double c = coefficient(j);
            if (c != 0.0) {
                ia.push_back(row);
                ja.push_back(j + 1);
                ar.push_back(c);
            }
        }
    };
    for (int i = 0; i < kIndexCount; ++i) {
        auto c = [&](int j) { return m.index[i][j] * m.weight[j]; };
        if (!std::isnan(m.lower[i]))
            addRow(GLP_LO, m.lower[i] * n, c);
        if (!std::isnan(m.upper[i]))
            addRow(GLP_UP, m.upper[i] * n, c);
    }
    for (int j : m.must)
        addRow(GLP_LO, 1.0, [&](int q) { return q == j ? m.weight[q] : 0.0; });
    addRow(GLP_FX, n, [&](int q) { return m.weight[q]; });
    for (int j = 0; j < m.k; ++j)
        addRow(GLP_UP, m.stock[j] * n, [&](int q) { return q == j ? m.tonnage * m.weight[q] : 0.0; });
    glp_load_matrix(lp, static_cast<int>(ar.size()) - 1, ia.data(), ja.data(), ar.data());

    std::optional<double> result;
    if (SolveLoadedProblem(lp, true, Clock::now() + std::chrono::seconds(10)) == LinearStatus::Optimal)
        result = glp_mip_obj_val(lp);
    glp_delete_prob(lp);
    return result;
}

struct FormResult {
    double program = 1e9;
    double solver = 1e9;
    int solved = 0;
    int mismatches = 0;
    double write = 0.0;  // the program's path by stage
    double solve = 0.0;
    double blend = 0.0;
};

FormResult RunForm(bool shovelMode, const AppFolder& folder)
{
    const ModelInput input = MakeInput(shovelMode);
    const DirectModel direct = MakeDirect(input);
    const int k = static_cast<int>(input.coals.size());
    std::vector<std::optional<double>> programObjective(kLastTotal + 1), solverObjective(kLastTotal + 1);

    FormResult result;
    double priceCheck = 0.0;
    // What a run makes once: the model file, the model writer and the coals' numbers.
    ModelFile file = Expect(ModelFile::Create(folder));
    const ModelWriter writer(input);
    const CoalNumbers numbers(input.coals, shovelMode);
    // Each total is timed both ways back to back, and each way keeps its best
    // time per total over the repetitions: a burst of other work on the
    // machine then spoils neither side of the comparison.
    std::vector<double> programBest(kLastTotal + 1, 1e9), solverBest(kLastTotal + 1, 1e9);
    std::vector<double> writeBest(kLastTotal + 1, 1e9), solveBest(kLastTotal + 1, 1e9),
        blendBest(kLastTotal + 1, 1e9);
    for (int rep = 0; rep < kRepetitions; ++rep) {
        for (int n = kFirstTotal; n <= kLastTotal; ++n) {
            const auto start = Clock::now();
            Expect(file.WriteModelFile(writer, n));
            const auto written = Clock::now();
            const std::optional<QVector<double>> cells = Expect(SolveModel(file.Path(), k));
            const auto solved = Clock::now();
            if (cells) {
                const Mei blend = ComputeBlend(numbers, *cells);
                priceCheck += blend.JiaGe;
                programObjective[n] = cells->at(k);
            } else {
                programObjective[n].reset();
            }
            const auto middle = Clock::now();
            writeBest[n] = std::min(writeBest[n], std::chrono::duration<double>(written - start).count());
            solveBest[n] = std::min(solveBest[n], std::chrono::duration<double>(solved - written).count());
            blendBest[n] = std::min(blendBest[n], std::chrono::duration<double>(middle - solved).count());
            solverObjective[n] = SolveDirect(direct, n);
            const auto end = Clock::now();
            programBest[n] = std::min(programBest[n], std::chrono::duration<double>(middle - start).count());
            solverBest[n] = std::min(solverBest[n], std::chrono::duration<double>(end - middle).count());
        }
    }
    result.program = 0.0;
    result.solver = 0.0;
    for (int n = kFirstTotal; n <= kLastTotal; ++n) {
        result.program += programBest[n];
        result.solver += solverBest[n];
        result.write += writeBest[n];
        result.solve += solveBest[n];
        result.blend += blendBest[n];
    }
    for (int n = kFirstTotal; n <= kLastTotal; ++n) {
        const auto& a = programObjective[n];
        const auto& b = solverObjective[n];
        const bool same = a.has_value() == b.has_value()
                          && (!a || std::fabs(*a - *b) <= 1e-6 * std::max(1.0, std::fabs(*b)));
        if (a)
            ++result.solved;
        if (!same) {
            ++result.mismatches;
            std::fprintf(stderr, "n=%d: program %s, solver alone %s\n", n,
                         a ? QByteArray::number(*a, 'g', 17).constData() : "none",
                         b ? QByteArray::number(*b, 'g', 17).constData() : "none");
        }
    }
    if (priceCheck < 0)
        std::printf("(unexpected negative price)\n");
    return result;
}

// Where the program's time goes, stage by stage, for the plain form.
void PrintStages(const AppFolder& folder)
{
    const ModelInput input = MakeInput(false);
    const int k = static_cast<int>(input.coals.size());
    auto seconds = [](Clock::time_point from) {
        return std::chrono::duration<double>(Clock::now() - from).count();
    };
    std::size_t length = 0;
    auto start = Clock::now();
    const ModelWriter writer(input);
    std::string text;
    for (int n = kFirstTotal; n <= kLastTotal; ++n) {
        text.clear();
        writer.AppendText(text, n);
        length += text.size();
    }
    const double build = seconds(start);
    ModelFile file = Expect(ModelFile::Create(folder));
    start = Clock::now();
    for (int n = kFirstTotal; n <= kLastTotal; ++n)
        Expect(file.WriteModelFile(writer, 500));
    const double write = seconds(start);
    start = Clock::now();
    std::optional<QVector<double>> cells;
    for (int n = kFirstTotal; n <= kLastTotal; ++n)
        cells = Expect(SolveModel(file.Path(), k));
    const double solve = seconds(start);
    const QByteArray bytes = ModelFileBytesOf(input, 500);
    EngineModel model;
    EngineParseError error;
    start = Clock::now();
    for (int n = kFirstTotal; n <= kLastTotal; ++n)
        ParseEngineModel(std::string_view(bytes.constData(), bytes.size()), model, error);
    const double parse = seconds(start);
    start = Clock::now();
    for (int n = kFirstTotal; n <= kLastTotal; ++n)
        SolveEngineModel(model);
    const double engineSolve = seconds(start);
    const DirectModel direct = MakeDirect(input);
    start = Clock::now();
    for (int n = kFirstTotal; n <= kLastTotal; ++n)
        SolveDirect(direct, 500);
    const double alone = seconds(start);
    std::printf("same model 999 times: parse %.3f s, engine solve %.3f s, solver alone %.3f s\n", parse,
                engineSolve, alone);
    start = Clock::now();
    const CoalNumbers numbers(input.coals, false);
    for (int n = kFirstTotal; n <= kLastTotal && cells; ++n)
        length += ComputeBlend(numbers, *cells).HuiFen.size();
    const double blend = seconds(start);
    std::printf("stages (999 each): model text %.3f s, file write %.3f s, engine %.3f s, blend record %.3f s (%zu)\n",
                build, write, solve, blend, length);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1)
        kLastTotal = std::max(kFirstTotal, QByteArray(argv[1]).toInt());
    if (argc > 2)
        kRepetitions = std::max(1, QByteArray(argv[2]).toInt());
    TestFolder temp(false);
    PrintStages(temp.folder());

    const FormResult plain = RunForm(false, temp.folder());
    std::printf("plain form:  %d of %d totals solved, program %.3f s, solver alone %.3f s, ratio %.3f\n",
                plain.solved, kLastTotal - kFirstTotal + 1, plain.program, plain.solver,
                plain.program / plain.solver);
    std::printf("             model file %.3f s, engine %.3f s, blend records %.3f s\n", plain.write,
                plain.solve, plain.blend);
    const FormResult shovel = RunForm(true, temp.folder());
    std::printf("shovel form: %d of %d totals solved, program %.3f s, solver alone %.3f s, ratio %.3f\n",
                shovel.solved, kLastTotal - kFirstTotal + 1, shovel.program, shovel.solver,
                shovel.program / shovel.solver);
    std::printf("             model file %.3f s, engine %.3f s, blend records %.3f s\n", shovel.write,
                shovel.solve, shovel.blend);

    const int mismatches = plain.mismatches + shovel.mismatches;
    if (mismatches > 0)
        std::printf("%d totals differ between the program and the solver alone\n", mismatches);

    // The last line covers both forms: 2 x 999 models each way.
    const double a = plain.program + shovel.program;
    const double b = plain.solver + shovel.solver;
    std::printf("blend_bench: program %.3f s, solver alone %.3f s, ratio %.3f\n", a, b, a / b);
    return mismatches == 0 ? 0 : 1;
}
