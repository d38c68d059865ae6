// The solver call of a blending run: the model file, the engine's verdicts, and
// the cheapest mixes found against brute force.

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "blend/BlendRecord.h"
#include "blend/ModelText.h"
#include "blend/SolverCall.h"
#include "support/TestFolder.h"
#include "support/ModelTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <functional>

#include <unistd.h>

namespace {

using Cells = std::optional<QVector<double>>;

// The model of total n written to the folder's model file and solved.
Cells Solve(const AppFolder& folder, const ModelInput& input, int n)
{
    ModelFile file = Expect(ModelFile::Create(folder));
    Expect(file.WriteModelFile(ModelWriter(input), n));
    return Expect(SolveModel(file.Path(), static_cast<int>(input.coals.size())));
}

// The cheapest integer mix by trying every one, read from the same numbers
// the model text carries; an index averaged on its basis weighs each coal by
// its factor on both sides of its bound. Nothing when no mix meets every line.
std::optional<double> Enumerate(const ModelInput& input, int n)
{
    const int k = input.coals.size();
    auto number = [](const QString& text) { return ToNumber(text).value_or(0.0); };
    std::vector<double> weight(k), price(k), stock(k);
    for (int j = 0; j < k; ++j) {
        weight[j] = input.shovelMode ? number(input.coals[j].MeiChan) : 1.0;
        price[j] = number(FormatIndexValue(input.coals[j].JiaGe));
        stock[j] = number(input.coals[j].Kucun);
    }
    const double tonnage = number(input.tonnage);
    std::vector<int> x(k, 0);
    std::optional<double> best;
    std::function<void(int, double)> visit = [&](int j, double used) {
        if (j == k) {
            if (std::fabs(used - n) > 1e-9)
                return;
            for (int i = 0; i < kIndexCount; ++i) {
                if (input.lower[i].isEmpty() && input.upper[i].isEmpty())
                    continue;
                double sum = 0;
                double mass = 0;
                for (int q = 0; q < k; ++q) {
                    const double f = BasisFactor(input.weighting.of(i), input.coals[q]).value();
                    sum += number(FormatIndexValue(IndexValue(input.coals[q], i))) * f * weight[q] * x[q];
                    mass += f * weight[q] * x[q];
                }
                auto times = [&](const QString& bound) {
                    return input.weighting.of(i) == Basis::AsReceived ? number(ShortestNumberText(number(bound) * n))
                                                                      : number(bound) * mass;
                };
                if (!input.lower[i].isEmpty() && sum < times(input.lower[i]) - 1e-9)
                    return;
                if (!input.upper[i].isEmpty() && sum > times(input.upper[i]) + 1e-9)
                    return;
            }
            double cost = 0;
            for (int q = 0; q < k; ++q) {
                if (input.mustInclude[q] && weight[q] * x[q] < 1 - 1e-9)
                    return;
                if (!input.tonnage.isEmpty() && tonnage * weight[q] * x[q] > stock[q] * n + 1e-9)
                    return;
                cost += price[q] * weight[q] * x[q];
            }
            if (!best || cost < *best)
                best = cost;
            return;
        }
        for (x[j] = 0; used + weight[j] * x[j] <= n + 1e-9; ++x[j])
            visit(j + 1, used + weight[j] * x[j]);
        x[j] = 0;
    };
    visit(0, 0.0);
    return best;
}

}  // namespace

class SolverCallTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void solveModel()
    {
        TestFolder temp(false);
        ModelInput input = WorkedExample();
        QCOMPARE(Solve(temp.folder(), input, 5), Cells(QVector<double>{3, 2, 2400}));

        // A drive letter and colon in front are dropped; other paths are kept whole.
        {
            ModelFile file = Expect(ModelFile::Create(temp.folder()));
            Expect(file.WriteModelFile(ModelWriter(input), 5));
            QCOMPARE(Expect(SolveModel(QStringLiteral("C:") + file.Path(), 2)), Expect(SolveModel(file.Path(), 2)));
        }
        QVERIFY(QDir(temp.folder().dir).mkdir(QStringLiteral("ab")));
        {
            ModelFile file = Expect(ModelFile::Create(AppFolder{temp.path(QStringLiteral("ab"))}));
            Expect(file.WriteModelFile(ModelWriter(input), 5));
            const QString previous = QDir::currentPath();
            QDir::setCurrent(temp.folder().dir);
            const auto relative = SolveModel(QStringLiteral("ab/mspm.dll"), 2);
            QDir::setCurrent(previous);
            QVERIFY(relative.ok() && relative->has_value());
        }

        // Shovel counts: 2*X1 + 3*X2 = 5 leaves X1 = X2 = 1, with ash 63 / 5.
        input.upper[IndexOf("HuiFen")] = QStringLiteral("13");
        input.shovelMode = true;
        QCOMPARE(Solve(temp.folder(), input, 5), Cells(QVector<double>{1, 1, 2350}));

        // Free coals: an optimum of 0 is a solution, not "no solution".
        input.shovelMode = false;
        input.coals[0].JiaGe = 0;
        input.coals[1].JiaGe = 0;
        const Cells free = Solve(temp.folder(), input, 5);
        QVERIFY(free.has_value());
        QCOMPARE(free->size(), 3);
        QCOMPARE(free->at(2), 0.0);

        // No mix meets an ash bound of 1: no solution, which is not a failure.
        input.upper[IndexOf("HuiFen")] = QStringLiteral("1");
        QCOMPARE(Solve(temp.folder(), input, 5), Cells());
    }

    // A model the engine cannot read is a failure of the run, never "no
    // solution": a run that took it for one could end as "没有配比方案".
    void unreadableModelIsAFailure_data()
    {
        QTest::addColumn<QByteArray>("content");  // "" and no file: the file vanished
        QTest::addColumn<bool>("present");
        QTest::newRow("vanished") << QByteArray() << false;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("junk") << QByteArray("\x01\x02 not a model") << true;
        QTest::newRow("cut short") << QByteArray("model:\r\n[rObj] min=500.00*X1+450.00*X2;\r\nX1+X2=") << true;
    }

    void unreadableModelIsAFailure()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, present);
        TestFolder temp(false);
        const QString path = temp.path(QStringLiteral("model.dll"));
        if (present)
            QVERIFY(WriteBytes(path, content));
        const auto solved = SolveModel(path, 2);
        QVERIFY(!solved.ok());
        QVERIFY2(solved.message().contains(QStringLiteral("无法读取模型文件")), qPrintable(solved.message()));
    }

    // The model file is always a new file of the run's own: whatever stands
    // under its name is taken away, never written through.
    void modelFileNeverWritesThroughItsName()
    {
        TestFolder temp;
        const QString model = temp.folder().ModelPath();
        const QString database = temp.folder().DbPath();
        const QByteArray before = ReadBytes(database);

        // A link to coal.dat: the link goes, coal.dat stays as it was.
        QVERIFY(QFile::link(database, model));
        {
            ModelFile file = Expect(ModelFile::Create(temp.folder()));
            Expect(file.WriteModelFile(ModelWriter(WorkedExample()), 5));
            QVERIFY(!QFileInfo(model).isSymLink());
        }
        QCOMPARE(ReadBytes(database), before);
        QVERIFY(!QFileInfo::exists(model));

        // A second name of coal.dat (a hard link): that name goes, the data stays.
        QVERIFY(::link(QFile::encodeName(database).constData(), QFile::encodeName(model).constData()) == 0);
        {
            ModelFile file = Expect(ModelFile::Create(temp.folder()));
            Expect(file.WriteModelFile(ModelWriter(WorkedExample()), 5));
        }
        QCOMPARE(ReadBytes(database), before);

        // A folder of that name is refused, and left alone.
        QVERIFY(QDir(temp.folder().dir).mkdir(QStringLiteral("mspm.dll")));
        const auto refused = ModelFile::Create(temp.folder());
        QVERIFY(!refused.ok());
        QVERIFY(refused.message().contains(QStringLiteral("mspm.dll")));
        QVERIFY(QFileInfo(model).isDir());
    }

    // Random runs, each index on its basis or by tons, in the plain and the
    // shovel-count form, against every whole mix.
    void optimaMatchEnumeration_data()
    {
        QTest::addColumn<bool>("weighted");
        QTest::addColumn<int>("rounds");
        QTest::newRow("by tons") << false << 400;
        QTest::newRow("each index on its basis") << true << 400;
    }

    void optimaMatchEnumeration()
    {
        QFETCH(bool, weighted);
        QFETCH(int, rounds);
        TestFolder temp(false);
        QRandomGenerator random(20261208);
        const QStringList weights = {"1", "2", "0.5", "1.5", "3"};
        QVector<int> bounded = {IndexOf("HuiFen"), IndexOf("Liu"), IndexOf("ReLiang")};
        if (weighted)
            bounded << IndexOf("GaoWeiReLiang") << IndexOf("HuiFaFenVdaf") << IndexOf("neishui");
        int solved = 0;
        int unsolved = 0;
        for (int round = 0; round < rounds; ++round) {
            ModelInput input;
            const int k = 2 + random.bounded(3);
            for (int j = 0; j < k; ++j) {
                Mei coal;
                coal.JiaGe = random.bounded(8) == 0 ? 0.0 : random.bounded(100000) / 100.0;
                coal.MeiChan = weights[random.bounded(weights.size())];
                coal.Kucun = QString::number(random.bounded(200));
                for (const int i : bounded)
                    IndexValue(coal, i) = FormatIndexValue(random.bounded(500) / 10.0);
                if (weighted) {
                    coal.ShuiFen = FormatIndexValue(2 + random.bounded(330) / 10.0);  // 2 to 35
                    coal.neishui = FormatIndexValue(random.bounded(150) / 10.0);
                }
                input.coals.push_back(coal);
                input.mustInclude.push_back(random.bounded(4) == 0);
            }
            if (weighted) {
                input.weighting.on = true;
                // Now and then an index on a basis other than its own.
                for (const int i : bounded)
                    if (random.bounded(3) == 0)
                        input.weighting.basis[i] = static_cast<Basis>(random.bounded(4));
            }
            // Half the indices of a weighted run get bounds, so that about
            // as many runs have a plan as by tons.
            for (const int i : bounded) {
                if (weighted && random.bounded(2))
                    continue;
                if (random.bounded(2))
                    input.lower[i] = QString::number(random.bounded(400) / 10.0);
                if (random.bounded(2))
                    input.upper[i] = QString::number(random.bounded(500) / 10.0);
            }
            if (random.bounded(3) == 0)
                input.tonnage = QStringLiteral("100");
            input.shovelMode = round % 2 == 1;
            const int n = 2 + random.bounded(11);

            const auto expected = Enumerate(input, n);
            const Cells cells = Solve(temp.folder(), input, n);
            const QString context = QStringLiteral("round %1, n %2:\n%3").arg(round).arg(n).arg(ModelTextOf(input, n));
            QVERIFY2(cells.has_value() == expected.has_value(), qPrintable(context));
            if (!expected) {
                ++unsolved;
                continue;
            }
            ++solved;
            QVERIFY2(std::fabs(cells->at(k) - *expected) < 1e-6, qPrintable(context));
            // The proportions returned are whole and add up to the total.
            double used = 0;
            for (int j = 0; j < k; ++j) {
                QCOMPARE(cells->at(j), std::round(cells->at(j)));
                used += cells->at(j) * (input.shovelMode ? input.coals[j].MeiChan.toDouble() : 1.0);
            }
            QVERIFY(std::fabs(used - n) < 1e-9);
            // The blend record of the mix meets every bound on the basis chosen.
            const Mei blend = ComputeBlend(input.coals, *cells, input.shovelMode, input.weighting);
            for (const int i : bounded) {
                const double value = IndexValue(blend, i).toDouble();
                QVERIFY2(input.lower[i].isEmpty() || value >= input.lower[i].toDouble(), qPrintable(context));
                QVERIFY2(input.upper[i].isEmpty() || value <= input.upper[i].toDouble(), qPrintable(context));
            }
        }
        QVERIFY(solved > 50);
        QVERIFY(unsolved > 50);
    }

};

QTEST_GUILESS_MAIN(SolverCallTest)
#include "tst_solver_call.moc"
