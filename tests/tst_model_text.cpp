// The blending model's text: exact bytes of every shape, the shovel-count
// form, the model file, and the exact products of bounds and totals.

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "blend/EngineModel.h"
#include "blend/ModelText.h"
#include "blend/SolverCall.h"
#include "support/TestFolder.h"
#include "support/ModelTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

Mei Coal(double price, const QString& ash, const QString& shovel, const QString& stock = {})
{
    Mei coal;
    coal.JiaGe = price;
    coal.HuiFen = ash;
    coal.MeiChan = shovel;
    coal.Kucun = stock;
    return coal;
}

QString Lines(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

QString ShovelForm(ModelInput input, int n)
{
    input.shovelMode = true;
    return ModelTextOf(input, n);
}

// The model as the engine reads it.
EngineModel Parsed(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    EngineModel model;
    EngineParseError error;
    if (!ParseEngineModel(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), model, error))
        qFatal("model not read: %s", error.message.c_str());
    return model;
}

QByteArray FileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

}  // namespace

class TestModelText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workedExample_data()
    {
        QTest::addColumn<bool>("mustFirst");
        QTest::addColumn<bool>("tonnage");
        QTest::addColumn<bool>("shovel");
        QTest::addColumn<QString>("expected");

        const QString tail = QStringLiteral("@gin(X1);|@gin(X2);|data:|@pointer(1)=X1;|@pointer(2)=X2;|"
                                            "@pointer(3)=rObj;|enddata|end");
        auto text = [&](const QString& head) { return Lines((head + QLatin1Char('|') + tail).split(QLatin1Char('|'))); };

        QTest::newRow("plain") << false << false << false
                               << text(QStringLiteral("model:|[rObj] min=500.00*X1+450.00*X2;|"
                                                      "10.50*X1+14.00*X2<60;|X1+X2=5;"));
        QTest::newRow("row 1 must be used") << true << false << false
                                            << text(QStringLiteral("model:|[rObj] min=500.00*X1+450.00*X2;|"
                                                                   "10.50*X1+14.00*X2<60;|X1>1;|X1+X2=5;"));
        QTest::newRow("tonnage and stocks")
            << false << true << false
            << text(QStringLiteral("model:|[rObj] min=500.00*X1+450.00*X2;|10.50*X1+14.00*X2<60;|X1+X2=5;|"
                                   "1000*X1<300*5;|1000*X2<800*5;"));
        QTest::newRow("shovel counts") << false << false << true
                                       << text(QStringLiteral("model:|[rObj] min=500.00*2*X1+450.00*3*X2;|"
                                                              "10.50*2*X1+14.00*3*X2<60;|2*X1+3*X2=5;"));
        QTest::newRow("shovel counts, every block")
            << true << true << true
            << text(QStringLiteral("model:|[rObj] min=500.00*2*X1+450.00*3*X2;|10.50*2*X1+14.00*3*X2<60;|"
                                   "2*X1>1;|2*X1+3*X2=5;|1000*2*X1<300*5;|1000*3*X2<800*5;"));
    }

    void workedExample()
    {
        QFETCH(bool, mustFirst);
        QFETCH(bool, tonnage);
        QFETCH(bool, shovel);
        QFETCH(QString, expected);

        ModelInput input = WorkedExample();
        input.mustInclude[0] = mustFirst;
        if (tonnage)
            input.tonnage = QStringLiteral("1000");
        input.shovelMode = shovel;
        const QString text = ModelTextOf(input, 5);
        QCOMPARE(text, expected);
        // What goes into the model file is the same text, plus CR LF.
        QCOMPARE(ModelFileBytesOf(input, 5), expected.toLocal8Bit());
    }

    void tenCoals()
    {
        ModelInput input;
        for (int j = 0; j < 10; ++j) {
            Mei coal = Coal(100 + j, QString::number(j), QString::number(j + 11));
            input.coals.push_back(coal);
            input.mustInclude.push_back(j == 9);
        }
        input.lower[IndexOf("HuiFen")] = QStringLiteral("1");
        const QString plain = ModelTextOf(input, 7);
        QVERIFY(plain.contains(QStringLiteral("\r\n0*X1+1.00*X2+2.00*X3+")));
        QVERIFY(plain.contains(QStringLiteral("+109.00*X10;")));
        QVERIFY(plain.contains(QStringLiteral("\r\n@pointer(10)=X10;\r\n@pointer(11)=rObj;\r\nenddata\r\nend")));
        QVERIFY(plain.contains(QStringLiteral("\r\nX10>1;\r\n")));

        // Coal 10's terms carry coal 10's shovel weight (20) and never coal 1's (11).
        const QString shovel = ShovelForm(input, 7);
        QVERIFY(shovel.contains(QStringLiteral("\r\n0*11*X1+1.00*12*X2+")));
        QVERIFY(shovel.contains(QStringLiteral("+109.00*20*X10;")));
        QVERIFY(shovel.contains(QStringLiteral("\r\n20*X10>1;\r\n")));
        QVERIFY(shovel.contains(QStringLiteral("+20*X10=7;")));
        QVERIFY(!shovel.contains(QStringLiteral("11*X10")));
        QVERIFY(shovel.contains(QStringLiteral("@gin(X10);\r\n")));
        QVERIFY(shovel.contains(QStringLiteral("@pointer(10)=X10;")));
        input.shovelMode = true;
        QCOMPARE(ModelFileBytesOf(input, 7), shovel.toLocal8Bit());
    }

    void boundLines_data()
    {
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<int>("n");
        QTest::addColumn<QStringList>("lines");  // the bound lines, in order

        QTest::newRow("no bounds: no block") << "" << "" << 5 << QStringList{};
        QTest::newRow("lower only") << "11" << "" << 5 << QStringList{"10.50*X1+14.00*X2>55;"};
        QTest::newRow("upper only") << "" << "12" << 5 << QStringList{"10.50*X1+14.00*X2<60;"};
        QTest::newRow("both, lower first") << "11" << "12" << 2
                                           << QStringList{"10.50*X1+14.00*X2>22;", "10.50*X1+14.00*X2<24;"};
        QTest::newRow("8.3 times 3") << "8.3" << "" << 3 << QStringList{"10.50*X1+14.00*X2>24.9;"};
        QTest::newRow("0.1 times 3") << "0.1" << "" << 3 << QStringList{"10.50*X1+14.00*X2>0.3;"};
        QTest::newRow("negative bound") << "-1.25" << "" << 4 << QStringList{"10.50*X1+14.00*X2>-5;"};
        QTest::newRow("bound as typed with blanks") << " 7 " << "" << 2 << QStringList{"10.50*X1+14.00*X2>14;"};
        QTest::newRow("large total") << "1234.56" << "" << 1000 << QStringList{"10.50*X1+14.00*X2>1234560;"};
    }

    void boundLines()
    {
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        QFETCH(int, n);
        QFETCH(QStringList, lines);

        ModelInput input = WorkedExample();
        input.lower[IndexOf("HuiFen")] = lower;
        input.upper[IndexOf("HuiFen")] = upper;
        QStringList all = ModelTextOf(input, n).split(QStringLiteral("\r\n"));
        QCOMPARE(all.mid(2, lines.size()), lines);
        QCOMPARE(all.at(2 + lines.size()), QStringLiteral("X1+X2=%1;").arg(n));
    }

    // Ash averaged on its basis: coal 1 has total moisture 10 and inherent 2,
    // coal 2 has 20 and 4 (dry factors 0.9 and 0.8, air-dried 0.9/0.98 and
    // 0.8/0.96). The bound weighs the same weights on the right.
    void basisLines_data()
    {
        QTest::addColumn<QString>("basis");
        QTest::addColumn<bool>("shovel");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("dry, upper") << "d" << false << "" << "12"
                                    << QStringList{"10.50*0.9*X1+14.00*0.8*X2<12*0.9*X1+12*0.8*X2;"};
        QTest::newRow("dry, both") << "d" << false << "8.3" << "12"
                                   << QStringList{"10.50*0.9*X1+14.00*0.8*X2>8.3*0.9*X1+8.3*0.8*X2;",
                                                  "10.50*0.9*X1+14.00*0.8*X2<12*0.9*X1+12*0.8*X2;"};
        QTest::newRow("dry, shovel counts") << "d" << true << "" << "12"
                                            << QStringList{"10.50*0.9*2*X1+14.00*0.8*3*X2<12*0.9*2*X1+12*0.8*3*X2;"};
        QTest::newRow("air-dried") << "ad" << false << "" << "12"
                                   << QStringList{"10.50*0.918367*X1+14.00*0.833333*X2<12*0.918367*X1+12*0.833333*X2;"};
        QTest::newRow("as received: as without weighting") << "ar" << false << "" << "12"
                                                           << QStringList{"10.50*X1+14.00*X2<60;"};
    }

    void basisLines()
    {
        QFETCH(QString, basis);
        QFETCH(bool, shovel);
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        QFETCH(QStringList, lines);

        ModelInput input = WorkedExample();
        input.coals[0].ShuiFen = QStringLiteral("10");
        input.coals[0].neishui = QStringLiteral("2");
        input.coals[1].ShuiFen = QStringLiteral("20");
        input.coals[1].neishui = QStringLiteral("4");
        input.shovelMode = shovel;
        input.weighting.on = true;
        input.weighting.basis[IndexOf("HuiFen")] = *BasisFromCode(basis);
        input.lower[IndexOf("HuiFen")] = lower;
        input.upper[IndexOf("HuiFen")] = upper;
        const QString text = ModelTextOf(input, 5);
        QStringList all = text.split(QStringLiteral("\r\n"));
        QCOMPARE(all.mid(2, lines.size()), lines);
        QCOMPARE(all.at(2 + lines.size()), shovel ? QStringLiteral("2*X1+3*X2=5;") : QStringLiteral("X1+X2=5;"));
        Parsed(text);  // the engine reads it
    }

    void indicesInTableOrder()
    {
        // Every index contributes its own coefficients, lower before upper,
        // in the order of the index table.
        ModelInput input;
        input.coals = {Mei(), Mei()};
        for (int i = 0; i < kIndexCount; ++i) {
            IndexValue(input.coals[0], i) = QString::number(i + 1);
            IndexValue(input.coals[1], i) = QStringLiteral("0");
            input.lower[i] = QStringLiteral("1");
            input.upper[i] = QStringLiteral("2");
        }
        const QStringList lines = ModelTextOf(input, 2).split(QStringLiteral("\r\n"));
        for (int i = 0; i < kIndexCount; ++i) {
            const QString terms = QStringLiteral("%1.00*X1+0*X2").arg(i + 1);
            QCOMPARE(lines.at(2 + 2 * i), terms + QStringLiteral(">2;"));
            QCOMPARE(lines.at(3 + 2 * i), terms + QStringLiteral("<4;"));
        }
    }

    void copiedTextsAndNegativeCoefficients()
    {
        ModelInput input = WorkedExample();
        input.coals[1].HuiFen = QStringLiteral("-3");
        input.coals[0].JiaGe = 523.456;
        input.tonnage = QStringLiteral("1e3");         // copied as typed
        input.coals[0].Kucun = QStringLiteral("300.50");
        const QStringList lines = ModelTextOf(input, 4).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.at(1), QStringLiteral("[rObj] min=523.46*X1+450.00*X2;"));
        QCOMPARE(lines.at(2), QStringLiteral("10.50*X1+-3.00*X2<48;"));
        QCOMPARE(lines.at(4), QStringLiteral("1e3*X1<300.50*4;"));
        QVERIFY(!ModelTextOf(input, 4).endsWith(QLatin1Char('\n')));
    }

    void shovelFormWeighsEveryTermButTheNames()
    {
        // Read back by the engine, the shovel-count form is the plain model
        // with every coal's terms weighted by its tons per shovel, in every
        // row, and the same integrality and pointers.
        QRandomGenerator random(7);
        const QStringList weights = {"2", "0.5", "1.25", "3", "10", "0.75"};
        for (int round = 0; round < 200; ++round) {
            ModelInput input;
            const int k = 1 + random.bounded(10);
            for (int j = 0; j < k; ++j) {
                Mei coal;
                coal.JiaGe = random.bounded(100000) / 100.0;
                coal.MeiChan = weights[random.bounded(weights.size())];
                coal.Kucun = QString::number(random.bounded(5000));
                for (int i = 0; i < kIndexCount; ++i)
                    IndexValue(coal, i) = FormatIndexValue(random.bounded(200000) / 1000.0 - 20);
                input.coals.push_back(coal);
                input.mustInclude.push_back(random.bounded(3) == 0);
            }
            for (int i = 0; i < kIndexCount; ++i) {
                if (random.bounded(2))
                    input.lower[i] = QString::number(random.bounded(1000) / 10.0);
                if (random.bounded(2))
                    input.upper[i] = QString::number(random.bounded(1000) / 10.0);
            }
            if (random.bounded(2))
                input.tonnage = QString::number(random.bounded(2000));
            const int n = 2 + random.bounded(999);
            const EngineModel plain = Parsed(ModelTextOf(input, n));
            const EngineModel shovel = Parsed(ShovelForm(input, n));
            auto weight = [&](int variable) { return input.coals[variable].MeiChan.toDouble(); };
            QCOMPARE(shovel.variables.size(), plain.variables.size());
            for (std::size_t v = 0; v < plain.variables.size(); ++v) {
                QCOMPARE(shovel.variables[v].name, plain.variables[v].name);
                QCOMPARE(shovel.variables[v].integer, plain.variables[v].integer);
            }
            QCOMPARE(shovel.objective.size(), plain.objective.size());
            for (std::size_t t = 0; t < plain.objective.size(); ++t)
                QCOMPARE(shovel.objective[t].coefficient, plain.objective[t].coefficient * weight(plain.objective[t].variable));
            QCOMPARE(shovel.rows.size(), plain.rows.size());
            for (std::size_t r = 0; r < plain.rows.size(); ++r) {
                QCOMPARE(shovel.rows[r].rhs, plain.rows[r].rhs);
                const auto a = RowTerms(plain, plain.rows[r]);
                const auto b = RowTerms(shovel, shovel.rows[r]);
                QCOMPARE(b.size(), a.size());
                for (std::size_t t = 0; t < a.size(); ++t) {
                    QCOMPARE(b[t].variable, a[t].variable);
                    QCOMPARE(b[t].coefficient, a[t].coefficient * weight(a[t].variable));
                }
            }
            QCOMPARE(shovel.pointers.size(), plain.pointers.size());
        }
    }

    void boundTimesTotalIsExact()
    {
        // A bound times the total is written from the decimal as typed, so it
        // reads as the product would be written by hand; it must still be the
        // shortest text of the double product.
        QRandomGenerator random(11);
        for (int round = 0; round < 20000; ++round) {
            const int decimals = random.bounded(5);
            const double value = (random.bounded(2000000) - 1000000) / std::pow(10.0, decimals);
            const QString text = QString::number(value, 'f', decimals);
            const int n = 1 + random.bounded(1000);
            const auto plain = PlainDecimal(text.toStdString());
            QVERIFY(plain);
            std::string written;
            AppendTimesTotal(written, *plain, n);
            QCOMPARE(QString::fromStdString(written), ShortestNumberText(value * n));
        }
    }

    void modelFile()
    {
        TestFolder temp(false);
        ModelInput input = WorkedExample();
        ModelFile file = Expect(ModelFile::Create(temp.folder()));
        QCOMPARE(file.Path(), temp.folder().ModelPath());
        Expect(file.WriteModelFile(ModelWriter(input), 5));
        QCOMPARE(FileContent(file.Path()), (ModelTextOf(input, 5) + QStringLiteral("\r\n")).toLocal8Bit());

        // A shorter model replaces a longer one completely.
        input.upper[IndexOf("HuiFen")].clear();
        Expect(file.WriteModelFile(ModelWriter(input), 5));
        QCOMPARE(FileContent(file.Path()), (ModelTextOf(input, 5) + QStringLiteral("\r\n")).toLocal8Bit());

        // The shovel-count form goes to the file in the shovel mode, a copied
        // text beyond ASCII in the code page.
        input.shovelMode = true;
        input.coals[1].MeiChan = QStringLiteral("三");
        Expect(file.WriteModelFile(ModelWriter(input), 5));
        QCOMPARE(FileContent(file.Path()), (ShovelForm(input, 5) + QStringLiteral("\r\n")).toLocal8Bit());
    }

    void modelFileGoesWithTheRun()
    {
        TestFolder temp(false);
        {
            ModelFile file = Expect(ModelFile::Create(temp.folder()));
            Expect(file.WriteModelFile(ModelWriter(WorkedExample()), 5));
            QVERIFY(QFileInfo::exists(temp.folder().ModelPath()));
        }
        QVERIFY(!QFileInfo::exists(temp.folder().ModelPath()));

        // No folder to write in: the run is told why.
        const auto missing = ModelFile::Create(AppFolder{temp.path(QStringLiteral("no/such/folder"))});
        QVERIFY(!missing.ok());
        QVERIFY(missing.message().startsWith(QStringLiteral("无法写入模型文件")));
    }
};

QTEST_GUILESS_MAIN(TestModelText)
#include "tst_model_text.moc"
