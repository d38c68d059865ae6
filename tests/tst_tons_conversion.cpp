#include "support/TestFolder.h"

#include "base/Mei.h"
#include "data/Dbconnection.h"
#include "export/ListLayouts.h"
#include "export/PlanListing.h"
#include "history/PlanHistory.h"
#include "history/TonsConversion.h"

#include <QtTest>

namespace {

// A coal list whose shovel weights are given, and a proportion list with one
// row per entry of rows.
ListData Coals(const QStringList& shovelWeights)
{
    ListData coals;
    SetupCoalColumns(coals);
    for (int i = 0; i < shovelWeights.size(); ++i) {
        ListRow row{QString::number(i + 1), {}, false};
        row.setCell(1, QStringLiteral("煤%1").arg(i + 1));
        row.setCell(18, shovelWeights[i]);
        coals.rows.append(row);
    }
    return coals;
}

ListData Blends(const QVector<QStringList>& rows)
{
    ListData blends;
    SetupBlendColumns(blends, 1366);
    for (const QStringList& proportions : rows) {
        ListRow row{QStringLiteral("1"), {}, false};
        for (int j = 0; j < proportions.size(); ++j)
            row.setCell(1 + j, proportions[j]);
        row.setCell(26, QStringLiteral("612.00"));
        blends.rows.append(row);
    }
    return blends;
}

QStringList Proportions(const ListData& blends, int row, int n)
{
    QStringList cells;
    for (int j = 0; j < n; ++j)
        cells << blends.cell(row, 1 + j);
    return cells;
}

}  // namespace

class TonsConversionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void convert_data();
    void convert();
    void zeroSumChangesNothing_data();
    void zeroSumChangesNothing();
    void tonnage_data();
    void tonnage();
    void pressSequence();
    void pressMessages();
};

void TonsConversionTest::convert_data()
{
    QTest::addColumn<QStringList>("proportions");
    QTest::addColumn<QStringList>("shovelWeights");
    QTest::addColumn<bool>("shovel");
    QTest::addColumn<int>("tonnage");
    QTest::addColumn<QStringList>("tons");
    QTest::newRow("60/40 of 500") << QStringList{"60", "40"} << QStringList{"", ""} << false << 500
                                  << QStringList{"300.00", "200.00"};
    QTest::newRow("1/1 of 3") << QStringList{"1", "1"} << QStringList{"", ""} << false << 3
                              << QStringList{"1.50", "1.50"};
    // The counts load 7.5 + 8 = 15.5 tons: the row divides by 15.5, not by 16.
    QTest::newRow("shovel counts") << QStringList{"3", "2"} << QStringList{"2.50", "4.00"} << true << 500
                                   << QStringList{"241.94", "258.06"};
    QTest::newRow("shovel counts 3/1/2") << QStringList{"3", "1", "2"} << QStringList{"3.1", "3.3", "3.2"} << true
                                         << 1000 << QStringList{"489.47", "173.68", "336.84"};
    QTest::newRow("plain plan ignores weights") << QStringList{"3", "2"} << QStringList{"2.50", "4.00"} << false
                                                << 500 << QStringList{"300.00", "200.00"};
    // 2.5 rounds to 2 before 1 is added, so the row divides by 3, not 3.5.
    QTest::newRow("running sum to even") << QStringList{"2.5", "1"} << QStringList{"", ""} << false << 300
                                         << QStringList{"250.00", "100.00"};
    QTest::newRow("zero tonnage") << QStringList{"1", "3"} << QStringList{"", ""} << false << 0
                                  << QStringList{"0.00", "0.00"};
}

void TonsConversionTest::convert()
{
    QFETCH(QStringList, proportions);
    QFETCH(QStringList, shovelWeights);
    QFETCH(bool, shovel);
    QFETCH(int, tonnage);
    QFETCH(QStringList, tons);
    const Result<QVector<QStringList>> converted = ConvertToTons({proportions}, shovelWeights, tonnage, shovel);
    QVERIFY2(converted.ok(), qPrintable(converted.message()));
    QCOMPARE(converted->size(), 1);
    QCOMPARE(converted->first(), tons);
    // Whole proportions or counts: the row's tons add up to the tonnage,
    // give or take the rounding of each cell.
    double sum = 0;
    bool whole = true;
    for (int j = 0; j < tons.size(); ++j) {
        sum += tons[j].toDouble();
        whole = whole && proportions[j].toDouble() == std::round(proportions[j].toDouble());
    }
    if (whole)
        QVERIFY2(std::fabs(sum - tonnage) <= 0.005 * tons.size() + 1e-9, qPrintable(QString::number(sum)));

    // Pressed in the window: the cells beyond the plan's coals and the others stay.
    TestFolder tf;
    ListData blends = Blends({proportions});
    const QString information = shovel ? QStringLiteral("[铲数配比] 硫分<1") : QStringLiteral("硫分<1");
    const Result<TonsOutcome> out = PressConvert(
        tf.folder(), 1, {QString::number(tonnage), ConvertCaption(), information, Coals(shovelWeights)}, blends);
    QVERIFY2(out.ok(), qPrintable(out.message()));
    QCOMPARE(Proportions(blends, 0, proportions.size()), tons);
    QCOMPARE(blends.cell(0, proportions.size() + 1), QString());
    QCOMPARE(blends.cell(0, 26), QStringLiteral("612.00"));
}

void TonsConversionTest::zeroSumChangesNothing_data()
{
    QTest::addColumn<QStringList>("shovelWeights");
    QTest::addColumn<bool>("shovel");
    QTest::newRow("all proportions zero") << QStringList{"", ""} << false;
    QTest::newRow("shovel weights empty") << QStringList{"", ""} << true;
}

void TonsConversionTest::zeroSumChangesNothing()
{
    QFETCH(QStringList, shovelWeights);
    QFETCH(bool, shovel);
    // The first row converts, the second cannot: no row may change.
    TestFolder tf;
    ListData blends = Blends({{"60", "40"}, shovel ? QStringList{"3", "2"} : QStringList{"0", "0"}});
    const ListData before = blends;
    const QString information = shovel ? QStringLiteral("[铲数配比]") : QString();
    const Result<TonsOutcome> out =
        PressConvert(tf.folder(), 1, {QStringLiteral("500"), ConvertCaption(), information, Coals(shovelWeights)}, blends);
    QVERIFY(!out.ok());
    QVERIFY(out.message().contains(QStringLiteral("第%1行").arg(shovel ? 1 : 2)));
    QCOMPARE(blends.columnCells(1), before.columnCells(1));
}

void TonsConversionTest::tonnage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("tons");
    QTest::addColumn<QString>("message");
    const QString notANumber = QStringLiteral("配多少吨请填写成数字");
    QTest::newRow("250.5 to even") << "250.5" << 250 << "";
    QTest::newRow("251.5 to even") << "251.5" << 252 << "";
    QTest::newRow("blanks") << " 300 " << 300 << "";
    QTest::newRow("letters") << "三百" << 0 << notANumber;
    QTest::newRow("unit typed") << "300吨" << 0 << notANumber;
    // Beyond what a whole number holds: refused, not clamped to another tonnage.
    QTest::newRow("too large") << "99999999999" << 0 << notANumber;
    QTest::newRow("beyond a double") << "1e400" << 0 << notANumber;
    QTest::newRow("negative") << "-100" << 0 << "配多少吨不能是负数";
}

void TonsConversionTest::tonnage()
{
    QFETCH(QString, text);
    QFETCH(int, tons);
    QFETCH(QString, message);
    const Result<qint32> parsed = ParseTonnage(text);
    QCOMPARE(parsed.message(), message);
    if (parsed)
        QCOMPARE(*parsed, tons);
}

// Convert, restore from the database, convert again: the same tons; a plan
// with the shovel marker weights the counts only while it is shown.
void TonsConversionTest::pressSequence()
{
    TestFolder tf;
    Mei a = MakeCoal(QStringLiteral("甲"), 500);
    a.MeiChan = QStringLiteral("2.5");
    Mei b = MakeCoal(QStringLiteral("乙"), 700);
    b.MeiChan = QStringLiteral("4");
    PlanBlendRow row;
    row.parts[0] = 3;
    row.parts[1] = 2;
    row.blend = MakeCoal(QString(), 580);
    const int plan = Expect(StorePlan(tf.folder(), NewPlan{QStringLiteral("[铲数配比] 硫分<1"), {a, b}, {row}}));

    ShownPlan view;
    SetupCoalColumns(view.coals);
    SetupBlendColumns(view.blends, 1366);
    ShowPlan(Expect(LoadPlanView(tf.folder(), plan)), view);

    TonsPress press{QStringLiteral("500"), ConvertCaption(), view.information, view.coals};
    ListData blends = view.blends;
    Result<TonsOutcome> out = PressConvert(tf.folder(), plan, press, blends);
    QVERIFY(out.ok());
    QCOMPARE(out->caption, RestoreCaption());
    QCOMPARE(Proportions(blends, 0, 2), (QStringList{"241.94", "258.06"}));

    press.caption = out->caption;
    out = PressConvert(tf.folder(), plan, press, blends);
    QCOMPARE(out->caption, ConvertAgainCaption());
    QCOMPARE(Proportions(blends, 0, 2), (QStringList{"3", "2"}));
    QVERIFY(NothingHeldOpen());

    press.caption = out->caption;
    out = PressConvert(tf.folder(), plan, press, blends);
    QCOMPARE(Proportions(blends, 0, 2), (QStringList{"241.94", "258.06"}));

    // The same rows shown for a plan without the marker: plain proportions.
    blends = view.blends;
    press = TonsPress{QStringLiteral("500"), ConvertCaption(), QStringLiteral("硫分<1"), view.coals};
    out = PressConvert(tf.folder(), plan, press, blends);
    QCOMPARE(Proportions(blends, 0, 2), (QStringList{"300.00", "200.00"}));

    // A plan titled in another language: its stored targets say it counts shovels.
    PlanTargets targets;
    targets.shovelMode = true;
    const int english = Expect(StorePlan(tf.folder(), NewPlan{QStringLiteral("[By shovels] S<1"), {a, b}, {row}, targets}));
    blends = view.blends;
    press = TonsPress{QStringLiteral("500"), ConvertCaption(), QStringLiteral("[By shovels] S<1"), view.coals};
    out = PressConvert(tf.folder(), english, press, blends);
    QCOMPARE(Proportions(blends, 0, 2), (QStringList{"241.94", "258.06"}));
}

void TonsConversionTest::pressMessages()
{
    TestFolder tf;
    const ListData coals = Coals({"", ""});
    ListData blends = Blends({{"1", "1"}});
    const ListData before = blends;

    Result<TonsOutcome> out = PressConvert(tf.folder(), 1, {QString(), ConvertCaption(), QString(), coals}, blends);
    QCOMPARE(out.message(), QStringLiteral("您要配多少吨，请先填写"));
    out = PressConvert(tf.folder(), 1, {QStringLiteral("abc"), ConvertCaption(), QString(), coals}, blends);
    QCOMPARE(out.message(), QStringLiteral("配多少吨请填写成数字"));
    QCOMPARE(blends.columnCells(1), before.columnCells(1));

    // No proportion rows: nothing happens.
    ListData none = Blends({});
    out = PressConvert(tf.folder(), 1, {QStringLiteral("5"), ConvertCaption(), QString(), coals}, none);
    QVERIFY(out.ok() && !out->rowsChanged);
    QCOMPARE(out->caption, ConvertCaption());

    // A plan without coal rows: no cell changes, the list counts as converted.
    out = PressConvert(tf.folder(), 1, {QStringLiteral("5"), ConvertCaption(), QString(), ListData()}, blends);
    QCOMPARE(out->caption, RestoreCaption());
    QCOMPARE(blends.columnCells(1), before.columnCells(1));
}

QTEST_GUILESS_MAIN(TonsConversionTest)
#include "tst_tons_conversion.moc"
