#include "blend/BlendProblem.h"
#include "blend/EngineModel.h"
#include "blend/EngineSolver.h"
#include "blend/ModelText.h"
#include "support/ModelTexts.h"

#include <QtTest>

#include <random>

namespace {

// A random run: 2 to 6 coals with ash, sulphur and heat values, random bounds
// around the coals' values, sometimes a tonnage with stock, must-include
// coals, the shovel-count form, and each index on a random basis.
ModelInput RandomInput(std::mt19937& random)
{
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    auto chance = [&](double p) { return std::bernoulli_distribution(p)(random); };
    ModelInput input;
    const int k = std::uniform_int_distribution<int>(2, 6)(random);
    const int indices[] = {2, 5, 6};
    for (int j = 0; j < k; ++j) {
        Mei coal;
        coal.MingCheng = QStringLiteral("煤%1").arg(j + 1);
        coal.JiaGe = std::round(uniform(300, 800) * 100) / 100;
        coal.Kucun = QString::number(std::round(uniform(50, 2000)));
        coal.MeiChan = QString::number(std::round(uniform(10, 40)) / 10);
        IndexValue(coal, 2) = QString::number(uniform(4000, 6500), 'f', 2);
        IndexValue(coal, 5) = QString::number(uniform(0.3, 1.5), 'f', 2);
        IndexValue(coal, 6) = QString::number(uniform(6, 20), 'f', 2);
        coal.ShuiFen = QString::number(uniform(3, 30), 'f', 2);
        coal.neishui = QString::number(uniform(0.5, 3), 'f', 2);
        input.coals << coal;
        input.mustInclude << chance(0.2);
    }
    for (int i : indices) {
        double lo = 1e300, hi = -1e300;
        for (const Mei& coal : input.coals) {
            lo = std::min(lo, IndexValue(coal, i).toDouble());
            hi = std::max(hi, IndexValue(coal, i).toDouble());
        }
        if (chance(0.5))
            input.lower[i] = QString::number(uniform(lo, hi), 'f', 1);
        if (chance(0.5))
            input.upper[i] = QString::number(uniform(lo, hi), 'f', 1);
    }
    if (chance(0.4))
        input.tonnage = QString::number(std::round(uniform(100, 3000)));
    input.shovelMode = chance(0.4);
    input.weighting.on = chance(0.5);
    for (int i : indices)
        input.weighting.basis[i] = static_cast<Basis>(std::uniform_int_distribution<int>(0, 3)(random));
    return input;
}

}  // namespace

class BlendProblemTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void programSolvesAsTheModelText();
    void refusesTextsThatAreNoNumbers();
};

// The numeric model and the model text are one model: solved both ways, every
// total of many random runs has the same verdict and the same cheapest cost.
void BlendProblemTest::programSolvesAsTheModelText()
{
    std::mt19937 random(20261208);
    int solved = 0;
    int infeasible = 0;
    for (int run = 0; run < 60; ++run) {
        const ModelInput input = RandomInput(random);
        const Result<BlendProblem> problem = MakeBlendProblem(input);
        QVERIFY2(problem.ok(), qPrintable(problem.message()));
        for (int n = 2; n <= 30; n += 7) {
            const QByteArray text = ModelFileBytesOf(input, n);
            EngineModel model;
            EngineParseError error;
            QVERIFY(ParseEngineModel(std::string_view(text.constData(), text.size()), model, error));
            const EngineSolution byText = SolveEngineModel(model);
            const LinearSolution direct = SolveLinearProgram(BlendProgram(*problem, n));
            QCOMPARE(direct.status == LinearStatus::Optimal, byText.status == EngineSolveStatus::Optimal);
            if (direct.status != LinearStatus::Optimal) {
                ++infeasible;
                continue;
            }
            ++solved;
            QVERIFY(std::fabs(direct.objective - byText.objective) < 1e-6 * std::max(1.0, byText.objective));
            QVERIFY(std::fabs(UnitPriceOf(*problem, direct.values, n) * n - direct.objective) < 1e-6 * n);
        }
    }
    // Both verdicts occur, or the comparison proves little.
    QVERIFY(solved > 20);
    QVERIFY(infeasible > 20);
}

void BlendProblemTest::refusesTextsThatAreNoNumbers()
{
    ModelInput input;
    Mei a;
    a.JiaGe = 500;
    IndexValue(a, 6) = QStringLiteral("10");
    Mei b = a;
    IndexValue(b, 6).clear();
    input.coals = {a, b};
    input.upper[6] = QStringLiteral("12");
    QVERIFY(!MakeBlendProblem(input).ok());  // a bounded index without a value
    IndexValue(input.coals[1], 6) = QStringLiteral("14");
    QVERIFY(MakeBlendProblem(input).ok());
    input.tonnage = QStringLiteral("100");
    QVERIFY(!MakeBlendProblem(input).ok());  // no stock for the tonnage
}

QTEST_GUILESS_MAIN(BlendProblemTest)
#include "tst_blend_problem.moc"
