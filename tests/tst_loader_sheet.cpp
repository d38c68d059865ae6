#include "support/PdfText.h"
#include "support/TestFolder.h"

#include "base/Mei.h"
#include "export/LoaderSheet.h"
#include "history/TonsConversion.h"
#include "ui/widgets/LoaderSheetPrint.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

Mei Coal(const QString& name, const QString& shovelWeight)
{
    Mei coal = MakeCoal(name, 500);
    coal.MeiChan = shovelWeight;
    return coal;
}

// A source of n coals "煤1" ... with the given parts and shovel weights.
LoaderSheetSource Source(const std::vector<double>& parts, const QStringList& weights, bool shovels)
{
    LoaderSheetSource source;
    source.title = QStringLiteral("电厂5500 灰份<=12");
    source.date = QDateTime(QDate(2026, 12, 8), QTime(9, 30));
    for (int j = 0; j < static_cast<int>(parts.size()); ++j)
        source.coals << Coal(QStringLiteral("煤%1号").arg(j + 1), weights.value(j));
    source.parts = parts;
    source.shovelMode = shovels;
    source.blend.JiaGe = 612.5;
    source.blend.HuiFen = QStringLiteral("12.40");
    source.blend.Liu = QStringLiteral("0.60");
    PlanTargets targets;
    targets.upper[6] = QStringLiteral("12");    // ash: over it
    targets.upper[5] = QStringLiteral(" 0.8");  // sulphur: within
    targets.lower[2] = QStringLiteral("5000");  // heat: no value
    source.targets = targets;
    return source;
}

}  // namespace

class LoaderSheetTest : public QObject {
    Q_OBJECT
private slots:
    void splitCents_data();
    void splitCents();
    void sheet_data();
    void sheet();
    void refused_data();
    void refused();
    void tonnage_data();
    void tonnage();
    void pdfReadsBack();
    void tenCoalsFitOnePage();
};

void LoaderSheetTest::splitCents_data()
{
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QVector<double>>("weights");
    QTest::addColumn<QVector<qint64>>("expected");
    QTest::newRow("even") << qint64(50000) << QVector<double>{60, 40} << QVector<qint64>{30000, 20000};
    QTest::newRow("thirds") << qint64(100) << QVector<double>{1, 1, 1} << QVector<qint64>{34, 33, 33};
    QTest::newRow("largest drop first") << qint64(1000) << QVector<double>{1, 2, 4}
                                        << QVector<qint64>{143, 286, 571};
    QTest::newRow("zero weight takes nothing") << qint64(300) << QVector<double>{0, 1, 2}
                                               << QVector<qint64>{0, 100, 200};
    QTest::newRow("no weight") << qint64(300) << QVector<double>{0, 0} << QVector<qint64>{0, 0};
}

void LoaderSheetTest::splitCents()
{
    QFETCH(qint64, total);
    QFETCH(QVector<double>, weights);
    QFETCH(QVector<qint64>, expected);
    QCOMPARE(SplitCents(total, weights), expected);
}

// Tons add up to the tonnage to the hundredth; shovels and cycles.
void LoaderSheetTest::sheet_data()
{
    QTest::addColumn<std::vector<double>>("parts");
    QTest::addColumn<QStringList>("weights");
    QTest::addColumn<bool>("shovelMode");
    QTest::addColumn<qint32>("tonnage");
    QTest::addColumn<QVector<qint64>>("cents");
    QTest::addColumn<QVector<qint64>>("shovels");  // -1: none
    QTest::addColumn<qint64>("cycles");
    QTest::addColumn<qint64>("remainderCents");

    QTest::newRow("by weight") << std::vector<double>{60, 40} << QStringList{"2.5", "4"} << false << 500
                               << QVector<qint64>{30000, 20000} << QVector<qint64>{120, 50} << qint64(0) << qint64(0);
    QTest::newRow("thirds add up") << std::vector<double>{1, 1, 1} << QStringList{"3", "", "3"} << false << 100
                                   << QVector<qint64>{3334, 3333, 3333} << QVector<qint64>{11, -1, 11} << qint64(0)
                                   << qint64(0);
    // 3 x 2.5 + 2 x 4.0 = 15.5 tons a cycle: 32 cycles load 496 tons, 4 remain.
    QTest::newRow("shovels with a remainder")
        << std::vector<double>{3, 2} << QStringList{"2.5", "4.0"} << true << 500 << QVector<qint64>{24194, 25806}
        << QVector<qint64>{96, 64} << qint64(32) << qint64(400);
    QTest::newRow("shovels without a remainder")
        << std::vector<double>{2, 1, 0} << QStringList{"1.5", "2", ""} << true << 50 << QVector<qint64>{3000, 2000, 0}
        << QVector<qint64>{20, 10, 0} << qint64(10) << qint64(0);
}

void LoaderSheetTest::sheet()
{
    QFETCH(std::vector<double>, parts);
    QFETCH(QStringList, weights);
    QFETCH(bool, shovelMode);
    QFETCH(qint32, tonnage);
    QFETCH(QVector<qint64>, cents);
    QFETCH(QVector<qint64>, shovels);
    QFETCH(qint64, cycles);
    QFETCH(qint64, remainderCents);

    const Result<LoaderSheet> sheet = MakeLoaderSheet(Source(parts, weights, shovelMode), tonnage);
    QVERIFY2(sheet.ok(), qPrintable(sheet.message()));
    QCOMPARE(sheet->totalCents, qint64(tonnage) * 100);
    QCOMPARE(sheet->coals.size(), cents.size());
    for (int j = 0; j < cents.size(); ++j) {
        QCOMPARE(sheet->coals[j].cents, cents[j]);
        QCOMPARE(sheet->coals[j].shovels.value_or(-1), shovels[j]);
    }
    QCOMPARE(sheet->cycles, cycles);
    QCOMPARE(sheet->remainderCents, remainderCents);
    // Sulphur within, ash over, heat without a value; unbounded indices absent.
    QCOMPARE(sheet->indices.size(), 3);
    QCOMPARE(sheet->indices[0].check, BoundCheck::Unknown);
    QCOMPARE(sheet->indices[1].check, BoundCheck::Within);
    QCOMPARE(sheet->indices[2].check, BoundCheck::Above);
}

void LoaderSheetTest::refused_data()
{
    QTest::addColumn<std::vector<double>>("parts");
    QTest::addColumn<QStringList>("weights");
    QTest::addColumn<bool>("shovelMode");
    QTest::addColumn<qint32>("tonnage");
    QTest::addColumn<QString>("message");
    QTest::newRow("no tonnage") << std::vector<double>{1} << QStringList{"2"} << false << 0 << "大于0";
    QTest::newRow("no parts") << std::vector<double>{0, 0} << QStringList{"2", "2"} << false << 10 << "之和为0";
    QTest::newRow("shovel plan without a shovel weight")
        << std::vector<double>{1, 2} << QStringList{"2", " "} << true << 10 << "第2种煤（煤2号）没有每铲重量";
}

void LoaderSheetTest::refused()
{
    QFETCH(std::vector<double>, parts);
    QFETCH(QStringList, weights);
    QFETCH(bool, shovelMode);
    QFETCH(qint32, tonnage);
    QFETCH(QString, message);
    const Result<LoaderSheet> sheet = MakeLoaderSheet(Source(parts, weights, shovelMode), tonnage);
    QVERIFY(!sheet.ok());
    QCOMPARE(sheet.kind(), FailureKind::Invalid);
    QVERIFY2(sheet.message().contains(message), qPrintable(sheet.message()));
}

void LoaderSheetTest::tonnage_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("planTonnage");  // "-": the plan has no targets
    QTest::addColumn<qint32>("expected");      // 0: refused
    QTest::newRow("typed wins") << "250.5" << "800" << 250;
    QTest::newRow("plan's own") << " " << "800" << 800;
    QTest::newRow("neither") << "" << "" << 0;
    QTest::newRow("plan without targets") << "" << "-" << 0;
    QTest::newRow("zero") << "0" << "800" << 0;
    QTest::newRow("no number") << "abc" << "800" << 0;
}

void LoaderSheetTest::tonnage()
{
    QFETCH(QString, typed);
    QFETCH(QString, planTonnage);
    QFETCH(qint32, expected);
    PlanView plan;
    if (planTonnage != QLatin1String("-")) {
        plan.targets = PlanTargets();
        plan.targets->tonnage = planTonnage;
    }
    const Result<qint32> tonnage = LoaderTonnage(typed, plan);
    QCOMPARE(tonnage.ok() ? *tonnage : 0, expected);
}

// Two sheets in one PDF: a page each, Chinese names, tons that add up, and
// the cycles of the shovel plan, as pdftotext reads them back.
void LoaderSheetTest::pdfReadsBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("装车单.pdf"));
    const LoaderSheet byWeight = Expect(MakeLoaderSheet(Source({1, 1, 1}, {"3", "", "3"}, false), 100));
    const LoaderSheet byShovel = Expect(MakeLoaderSheet(Source({3, 2}, {"2.5", "4.0"}, true), 500));
    Expect(WriteLoaderSheets({byWeight, byShovel}, path));

    const QStringList pages = PdfPages(path);
    QCOMPARE(pages.size(), 2);
    for (const QString& page : pages) {
        QVERIFY(page.contains(QStringLiteral("装车单")));
        QVERIFY(page.contains(QStringLiteral("电厂5500 灰份<=12")));
        QVERIFY(page.contains(QStringLiteral("2026-12-08 09:30")));
        QVERIFY(page.contains(QStringLiteral("装车人")));
        QVERIFY(page.contains(QStringLiteral("超出上限")));
    }
    // Each coal's tons, read from its row, add up to the tonnage.
    const QVector<QPair<int, int>> expected{{0, 100}, {1, 500}};
    for (const auto& [p, tonnage] : expected) {
        const LoaderSheet& sheet = p == 0 ? byWeight : byShovel;
        qint64 cents = 0;
        for (const LoaderSheetCoal& coal : sheet.coals) {
            const QStringList cells = PdfLineWith(pages[p], QString::number(&coal - sheet.coals.data() + 1));
            QVERIFY2(cells.size() >= 5 && cells[1] == coal.name, qPrintable(cells.join(QLatin1Char('|'))));
            cents += qRound64(cells[4].toDouble() * 100);
        }
        QCOMPARE(cents, qint64(tonnage) * 100);
        QVERIFY(PdfLineWith(pages[p], QStringLiteral("合计")).contains(QStringLiteral("%1.00").arg(tonnage)));
    }
    QVERIFY(PdfLineWith(pages[0], QStringLiteral("1")).contains(QStringLiteral("33.34")));
    const QString cycles = pages[1].simplified();
    QVERIFY2(cycles.contains(QStringLiteral("每个循环装 5 铲，共 15.50 吨；共 32 个整循环，装 496.00 吨。")),
             qPrintable(cycles));
    QVERIFY(cycles.contains(QStringLiteral("余 4.00 吨不足一个循环")));
    // Shovels per cycle, whole-cycle shovels, last cycle's shovels.
    const QStringList first = PdfLineWith(pages[1], QStringLiteral("1"));
    QCOMPARE(first.mid(2, 1) + first.mid(6), (QStringList{"3", "96", "1"}));
}

// Ten coals and a long plan text stay on one A4 page.
void LoaderSheetTest::tenCoalsFitOnePage()
{
    std::vector<double> parts(10, 7);
    QStringList weights(10, QStringLiteral("2.5"));
    LoaderSheetSource source = Source(parts, weights, true);
    source.title = QString(400, QChar(0x7164));  // 煤
    for (int i = 0; i < kIndexCount; ++i)
        source.targets->upper[i] = QStringLiteral("99");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ten.pdf"));
    Expect(WriteLoaderSheets({Expect(MakeLoaderSheet(source, 1000))}, path));
    const QStringList pages = PdfPages(path);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].contains(QStringLiteral("煤10号")));
    QVERIFY(pages[0].contains(QStringLiteral("装车人")));
}

QTEST_MAIN(LoaderSheetTest)
#include "tst_loader_sheet.moc"
