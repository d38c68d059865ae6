// The blending model's text: exact bytes of every shape, the shovel-count
// rewrite, the model file, and the fast number writers against the general
// numeric rules they stand in for.

#include "blend/ModelText.h"
#include "blend/NumberText.h"
#include "blend/SolverCall.h"
#include "data/QualityIndex.h"
#include "support/TestFolder.h"
#include "workspace/CommonFunction.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

int IndexOf(const char* property)
{
    for (int i = 0; i < kIndexCount; ++i)
        if (qstrcmp(QualityIndices()[i].property, property) == 0)
            return i;
    return -1;
}

Mei Coal(double price, const QString& ash, const QString& shovel, const QString& stock = {})
{
    Mei coal;
    coal.JiaGe = price;
    coal.HuiFen = ash;
    coal.MeiChan = shovel;
    coal.Kucun = stock;
    return coal;
}

// Two coals and an ash limit of 12: the small model every shape is checked on.
ModelInput WorkedExample()
{
    ModelInput input;
    input.coals = {Coal(500, QStringLiteral("10.50"), QStringLiteral("2"), QStringLiteral("300")),
                   Coal(450, QStringLiteral("14.00"), QStringLiteral("3"), QStringLiteral("800"))};
    input.upper[IndexOf("HuiFen")] = QStringLiteral("12");
    input.mustInclude = {false, false};
    return input;
}

QString Lines(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

QString ShovelForm(const ModelInput& input, int n)
{
    return ApplyShovelWeights(BuildModelText(input, n), input.coals);
}

}  // namespace

class TestModelText : public QObject {
    Q_OBJECT

private slots:
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
        const QString text = shovel ? ShovelForm(input, 5) : BuildModelText(input, 5);
        QCOMPARE(text, expected);
        // What goes into the model file is the same text, plus CR LF.
        QCOMPARE(ModelFileBytes(input, 5), expected.toLocal8Bit());
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
        const QString plain = BuildModelText(input, 7);
        QVERIFY(plain.contains(QStringLiteral("\r\n0*X1+1.00*X2+2.00*X3+")));
        QVERIFY(plain.contains(QStringLiteral("+109.00*X10;")));
        QVERIFY(plain.contains(QStringLiteral("\r\n@pointer(10)=X10;\r\n@pointer(11)=rObj;\r\nenddata\r\nend")));
        QVERIFY(plain.contains(QStringLiteral("\r\nX10>1;\r\n")));

        // Coal 10's terms carry coal 10's shovel weight (20) and never coal 1's (11).
        const QString shovel = ShovelForm(input, 7);
        QVERIFY(shovel.contains(QStringLiteral("+109.00*20*X10;")));
        QVERIFY(shovel.contains(QStringLiteral("\r\n20*X10>1;\r\n")));
        QVERIFY(shovel.contains(QStringLiteral("+20*X10=7;")));
        QVERIFY(!shovel.contains(QStringLiteral("11*X10")));
        QVERIFY(shovel.contains(QStringLiteral("@gin(X10);\r\n")));
        QVERIFY(shovel.contains(QStringLiteral("@pointer(10)=X10;")));
        input.shovelMode = true;
        QCOMPARE(ModelFileBytes(input, 7), shovel.toLocal8Bit());
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
        QStringList all = BuildModelText(input, n).split(QStringLiteral("\r\n"));
        QCOMPARE(all.mid(2, lines.size()), lines);
        QCOMPARE(all.at(2 + lines.size()), QStringLiteral("X1+X2=%1;").arg(n));
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
        const QStringList lines = BuildModelText(input, 2).split(QStringLiteral("\r\n"));
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
        const QStringList lines = BuildModelText(input, 4).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.at(1), QStringLiteral("[rObj] min=523.46*X1+450.00*X2;"));
        QCOMPARE(lines.at(2), QStringLiteral("10.50*X1+-3.00*X2<48;"));
        QCOMPARE(lines.at(4), QStringLiteral("1e3*X1<300.50*4;"));
        QVERIFY(!BuildModelText(input, 4).endsWith(QLatin1Char('\n')));
    }

    void shovelRewriteTouchesWholeNamesOnly()
    {
        QVector<Mei> coals(12);
        for (int j = 0; j < 12; ++j)
            coals[j].MeiChan = QStringLiteral("w%1").arg(j + 1);
        const QString text = QStringLiteral("X1+X10+X12+X13+AX1+X1a;\r\n@gin(X1);\r\n@pointer(1)=X1;\r\nX1>1;");
        QCOMPARE(ApplyShovelWeights(text, coals),
                 QStringLiteral("w1*X1+w10*X10+w12*X12+X13+AX1+X1a;\r\n@gin(X1);\r\n@pointer(1)=X1;\r\nw1*X1>1;"));
    }

    void directShovelFormEqualsRewrite()
    {
        // The model file's shovel form is written directly; it must be the
        // rewrite of the plain text for any input.
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
            input.shovelMode = true;
            const int n = 2 + random.bounded(999);
            QCOMPARE(QString::fromLocal8Bit(ModelFileBytes(input, n)), ShovelForm(input, n));
        }

        // Copied texts beyond ASCII go through the code page conversion, also
        // when the same coals are written again.
        ModelInput input = WorkedExample();
        input.coals[1].MeiChan = QStringLiteral("３");
        input.shovelMode = true;
        for (int n : {5, 6})
            QCOMPARE(ModelFileBytes(input, n), ShovelForm(input, n).toLocal8Bit());
    }

    void fastNumbersFollowTheGeneralRules()
    {
        const QStringList texts = {"0", "0.00", "-0", "7", "12.345", "5.236", "0.5", "-1.5", "-0.001", "0.005",
                                   "0.004999", "1.005", "2.675", "999999.995", "123456789012.345", "1e3", "1E-2",
                                   "+5", " 12 ", "\t3.5", ".5", "5.", "abc", "", " ", "1.2.3", "12.3%", "1e",
                                   "--1", "1e999", "0.000001", "123456789012345678", "4503599627370497.5"};
        for (const QString& text : texts) {
            const auto general = ToNumber(text);
            const auto fast = ReadNumberText(text);
            QCOMPARE(fast.has_value(), general.has_value());
            if (general)
                QCOMPARE(*fast, *general);
            std::string written;
            AppendIndexText(written, text);
            QCOMPARE(QString::fromStdString(written), FormatIndexValue(text));
        }

        QRandomGenerator random(11);
        for (int round = 0; round < 20000; ++round) {
            // Decimals of every length, prices and their products with totals.
            const int decimals = random.bounded(5);
            const double value = (random.bounded(2000000) - 1000000) / std::pow(10.0, decimals);
            const QString text = QString::number(value, 'f', decimals);
            std::string written;
            AppendIndexText(written, text);
            QCOMPARE(QString::fromStdString(written), FormatIndexValue(text));
            written.clear();
            AppendIndexValue(written, value / 3);
            QCOMPARE(QString::fromStdString(written), FormatIndexValue(value / 3));

            const int n = 1 + random.bounded(1000);
            const auto plain = PlainDecimal(text.toStdString());
            QVERIFY(plain);
            written.clear();
            AppendTimesTotal(written, *plain, n);
            QCOMPARE(QString::fromStdString(written), ShortestNumberText(value * n));
            QCOMPARE(RoundedPrice(value / 3), ToRoundedDouble(value / 3, 0));
            written.clear();
            AppendShortestNumber(written, value / 7);
            QCOMPARE(QString::fromStdString(written), ShortestNumberText(value / 7));
        }
    }

    void modelFile()
    {
        TestFolder temp(false);
        ModelInput input = WorkedExample();
        const QString path = WriteModelFile(temp.folder(), input, 5);
        QCOMPARE(path, temp.folder().ModelPath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), (BuildModelText(input, 5) + QStringLiteral("\r\n")).toLocal8Bit());
        file.close();

        // A shorter model replaces a longer one completely.
        input.upper[IndexOf("HuiFen")].clear();
        QCOMPARE(WriteModelFile(temp.folder(), input, 5), path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), (BuildModelText(input, 5) + QStringLiteral("\r\n")).toLocal8Bit());
        file.close();

        // The shovel-count form goes to the file in the shovel mode.
        input.shovelMode = true;
        input.coals[1].MeiChan = QStringLiteral("三");  // copied as typed, in the code page
        QCOMPARE(WriteModelFile(temp.folder(), input, 5), path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), (ShovelForm(input, 5) + QStringLiteral("\r\n")).toLocal8Bit());
        file.close();

        QVERIFY(WriteTextFile(QStringLiteral("a.txt"), temp.folder().dir, QStringLiteral("x")));
        QCOMPARE(QFile(temp.path(QStringLiteral("a.txt"))).size(), 3);
    }

    void unwritableModelFile()
    {
        TestFolder temp(false);
        const AppFolder missing{temp.path(QStringLiteral("no/such/folder"))};
        QCOMPARE(WriteModelFile(missing, WorkedExample(), 5), QString());
        QVERIFY(!WriteTextFile(QStringLiteral("mspm.dll"), missing.dir, QStringLiteral("model:")));
        // A folder where the file should be.
        QVERIFY(QDir(temp.folder().dir).mkdir(QStringLiteral("mspm.dll")));
        QCOMPARE(WriteModelFile(temp.folder(), WorkedExample(), 5), QString());
    }
};

QTEST_GUILESS_MAIN(TestModelText)
#include "tst_model_text.moc"
