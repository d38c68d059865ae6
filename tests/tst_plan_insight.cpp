// A stored plan made ready for the history window's insight panel: the model
// built again from what the plan keeps, the rows found by their record
// numbers, and what the panel's list, label, chart and share bar say.

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "export/InsightListing.h"
#include "history/PlanInsight.h"
#include "support/TestFolder.h"

#include <QtTest>

namespace {

constexpr int kNeishui = 0, kHeat = 2, kSulphur = 5, kAsh = 6;

Mei Coal(const QString& name, double price, const QString& ash, const QString& shovel)
{
    Mei coal;
    coal.MingCheng = name;
    coal.JiaGe = price;
    coal.MeiChan = shovel;
    coal.Kucun = QStringLiteral("500");
    IndexValue(coal, kAsh) = ash;
    IndexValue(coal, kNeishui) = QStringLiteral("5");
    return coal;
}

PlanBlendRow Row(int id, std::initializer_list<double> parts, double price)
{
    PlanBlendRow row;
    row.id = id;
    int j = 0;
    for (double p : parts)
        row.parts[j++] = p;
    row.blend.JiaGe = price;
    return row;
}

// Three coals, ash at most 12: A and B one to one sit on the bound.
// The rows come cheapest first, as the plan loads them, with record numbers
// that do not follow that order.
PlanView ThreeCoalPlan(bool withTargets, bool shovel = false)
{
    PlanView plan;
    plan.information = shovel ? QStringLiteral("[铲数配比] 灰分<=12 ") : QStringLiteral("灰分<=12 ");
    plan.coals = {Coal("A", 500, "10", "2"), Coal("B", 450, "14", "3"), Coal("C", 420, "16", "1")};
    plan.blends = {Row(31, {1, 1, 0}, 475), Row(17, {2, 1, 0}, 483.33), Row(24, {3, 1, 0}, 487.5)};
    if (withTargets) {
        PlanTargets targets;
        targets.upper[kAsh] = QStringLiteral("12");
        targets.lower[kNeishui] = QStringLiteral("1");
        targets.proportionCount = QStringLiteral("4");
        targets.shovelMode = shovel;
        targets.mustInclude = {false, false, false};
        plan.targets = targets;
    }
    return plan;
}

BoundInsight Bound(int index, BoundSide side, double bound, double room, std::optional<double> shadow,
                   LinearStatus stepped = LinearStatus::Failed, double steppedPrice = 0,
                   LinearStatus removed = LinearStatus::Failed, double removedPrice = 0)
{
    BoundInsight b;
    b.index = index;
    b.side = side;
    b.bound = bound;
    b.room = room;
    b.binds = std::fabs(room) < 0.005;
    b.step = std::max(0.01, 0.01 * std::fabs(bound));
    b.shadowPrice = shadow;
    b.stepped.status = stepped;
    b.stepped.unitPrice = steppedPrice;
    b.removed.status = removed;
    b.removed.unitPrice = removedPrice;
    return b;
}

struct LimitCase {
    PlanTargets targets;
    RowInsight insight;
};

}  // namespace

Q_DECLARE_METATYPE(LimitCase)

class PlanInsightTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void limitRows_data();
    void limitRows();
    void limitRowsFollowTheHiddenColumns();
    void limitColumnsSayWhatTheyHold();
    void oneOffIsAShovelWhereItsTonsAreKnown_data();
    void oneOffIsAShovelWhereItsTonsAreKnown();
    void rowsAreFoundByRecordNumber_data();
    void rowsAreFoundByRecordNumber();
    void plansWithoutTargetsStillHavePrices_data();
    void plansWithoutTargetsStillHavePrices();
    void targetsThatNoLongerReadAreSaid();
    void priceChartMarks();
    void shares_data();
    void shares();
};

void PlanInsightTest::limitRows_data()
{
    QTest::addColumn<LimitCase>("data");
    QTest::addColumn<QStringList>("cells");  // the one row's cells after the index
    QTest::addColumn<bool>("binding");

    // 11.996 has no room beside 12 at two decimals: the bound holds it.
    LimitCase upper;
    upper.targets.upper[kAsh] = QStringLiteral(" 12 ");
    upper.insight.indices = {IndexInsight{kAsh, 11.996, std::nullopt, 12.0, 0.004}};
    upper.insight.bounds = {Bound(kAsh, BoundSide::Upper, 12, 0.004, -16.5, LinearStatus::Optimal, 468.126,
                                  LinearStatus::Optimal, 450)};
    QTest::newRow("an upper bound with no room")
        << upper << QStringList{"11.996", "", "12", "0.004 已达上限", "468.13", "450.00", "-16.50"} << true;

    // Below 1 a step is 0.01, not 1 %: the cells say so.
    LimitCase both;
    both.targets.lower[kSulphur] = QStringLiteral("0.6");
    both.targets.upper[kSulphur] = QStringLiteral("0.6");
    both.insight.indices = {IndexInsight{kSulphur, 0.6, 0.6, 0.6, 0.0}};
    both.insight.bounds = {
        Bound(kSulphur, BoundSide::Lower, 0.6, 0.0, 80.0, LinearStatus::Optimal, 470, LinearStatus::TimeLimit),
        Bound(kSulphur, BoundSide::Upper, 0.6, 0.0, -0.004, LinearStatus::Infeasible, 0, LinearStatus::Optimal, 440)};
    QTest::newRow("an index held at one value")
        << both << QStringList{"0.60", "0.6", "0.6", "0.00 已达上下限", "470.00（放宽0.01） / 无解（放宽0.01）",
                               "超时未算出 / 440.00", "80.00 / -0.0040"}
        << true;

    // The relaxation's dual of a bound that does not hold the row is not the
    // row's: nothing is priced.
    LimitCase loose;
    loose.targets.lower[kHeat] = QStringLiteral("5500");
    loose.targets.upper[kHeat] = QStringLiteral("6500");
    loose.insight.indices = {IndexInsight{kHeat, 5600.5, 5500.0, 6500.0, 100.5}};
    loose.insight.bounds = {Bound(kHeat, BoundSide::Lower, 5500, 100.5, 12.5),
                            Bound(kHeat, BoundSide::Upper, 6500, 899.5, -3.0)};
    QTest::newRow("room left: no prices")
        << loose << QStringList{"5600.50", "5500", "6500", "100.50", "", "", ""} << false;

    LimitCase outside;
    outside.targets.lower[kHeat] = QStringLiteral("5500");
    outside.insight.indices = {IndexInsight{kHeat, 5499.0, 5500.0, std::nullopt, -1.0}};
    outside.insight.bounds = {Bound(kHeat, BoundSide::Lower, 5500, -1.0, std::nullopt)};
    QTest::newRow("a row below its bound, no relaxation solved")
        << outside << QStringList{"5499.00", "5500", "", "-1.00 低于下限", "", "", ""} << false;

    // Bounds of three and four decimals: the value and its room as many.
    LimitCase fine;
    fine.targets.lower[kSulphur] = QStringLiteral("0.029");
    fine.targets.upper[kSulphur] = QStringLiteral("0.0295");
    fine.insight.indices = {IndexInsight{kSulphur, 0.0293, 0.029, 0.0295, 0.0002}};
    fine.insight.bounds = {Bound(kSulphur, BoundSide::Lower, 0.029, 0.0003, 0.0),
                           Bound(kSulphur, BoundSide::Upper, 0.0295, 0.0002, 0.0)};
    for (BoundInsight& b : fine.insight.bounds)
        b.binds = false;
    QTest::newRow("bounds of four decimals")
        << fine << QStringList{"0.0293", "0.029", "0.0295", "0.0002", "", "", ""} << false;

    LimitCase none;
    none.targets.upper[kAsh] = QStringLiteral("12");
    QTest::newRow("no row analysed: the bounds alone")
        << none << QStringList{"", "", "12", "", "", "", ""} << false;
}

void PlanInsightTest::limitRows()
{
    QFETCH(LimitCase, data);
    QFETCH(QStringList, cells);
    QFETCH(bool, binding);
    const bool analysed = !data.insight.indices.empty();
    const LimitRows rows = MakeLimitRows(data.targets, analysed ? &data.insight : nullptr, Settings{});
    QCOMPARE(rows.rows.size(), 1);
    QCOMPARE(rows.rows[0].subItems, cells);
    QCOMPARE(rows.binding[0], binding);
    QCOMPARE(rows.hidden[0], false);
}

// One row per bounded index in the table's order; the settings that hide an
// index's columns hide its row, and only where the index can be hidden.
void PlanInsightTest::limitRowsFollowTheHiddenColumns()
{
    PlanTargets targets;
    targets.upper[kAsh] = QStringLiteral("12");
    targets.lower[kNeishui] = QStringLiteral("1");
    targets.lower[9] = QStringLiteral("60");  // caking index G
    targets.upper[kSulphur] = QStringLiteral("0.8");
    Settings settings;
    settings.hiddenIndexKeys = {QStringLiteral("neishui"), QStringLiteral("G"), QStringLiteral("huishoulv")};
    const LimitRows rows = MakeLimitRows(targets, nullptr, settings);
    QStringList labels;
    for (const ListRow& row : rows.rows)
        labels << row.text;
    QCOMPARE(labels, (QStringList{"内水", "硫分", "灰分", "粘结G"}));
    QCOMPARE(rows.indices, (QVector<int>{kNeishui, kSulphur, kAsh, 9}));
    QCOMPARE(rows.hidden, (QVector<bool>{true, false, false, true}));
}

// The priced columns name their step and unit, and say in their tooltips how
// they are found.
void PlanInsightTest::limitColumnsSayWhatTheyHold()
{
    ListData list;
    SetupLimitColumns(list);
    QStringList headers;
    for (const ListColumn& column : list.columns)
        headers << column.header;
    QCOMPARE(headers, (QStringList{"指标", "方案值", "下限", "上限", "余量", "放宽1%后单价", "去掉此限后单价",
                                   "影子价格(每单位指标)"}));
    QVERIFY(list.columns[kLimitStepped].tip.contains(QStringLiteral("0.01")));
    QVERIFY(list.columns[kLimitShadow].tip.contains(QStringLiteral("线性松弛")));
}

void PlanInsightTest::oneOffIsAShovelWhereItsTonsAreKnown_data()
{
    QTest::addColumn<bool>("shovel");
    QTest::addColumn<QString>("tonnage");
    QTest::addColumn<QString>("shovelOfC");
    QTest::addColumn<QString>("sentence");  // of the row 1 : 1 : 0, ash 12
    // One shovel (or part) less of A leaves B alone.
    QTest::newRow("shovel plan") << true << "" << "1" << "差一铲时灰分可达 14.00，比上限 12 高 2.00";
    QTest::newRow("by weight, no tonnage") << false << "" << "1" << "差一份时灰分可达 14.00，比上限 12 高 2.00";
    // 10 t in two parts: a shovel of A (2 t) is 0.4 of a part; one less
    // leaves (0.6 * 10 + 14) / 1.6.
    QTest::newRow("by weight with tonnage and shovels")
        << false << "10" << "1" << "差一铲时灰分可达 12.50，比上限 12 高 0.50（按配10吨、各煤的每铲重量计）";
    QTest::newRow("a shovel weight unknown") << false << "10" << "" << "差一份时灰分可达 14.00，比上限 12 高 2.00";
}

// What one off is: a shovel in a shovel plan; in a plan by weight one shovel
// of the coal against the tonnage when both are kept, otherwise one part.
// The hint before a row is chosen uses the same word.
void PlanInsightTest::oneOffIsAShovelWhereItsTonsAreKnown()
{
    QFETCH(bool, shovel);
    QFETCH(QString, tonnage);
    QFETCH(QString, shovelOfC);
    QFETCH(QString, sentence);
    PlanView view = ThreeCoalPlan(true, shovel);
    view.targets->tonnage = tonnage;
    view.coals[2].MeiChan = shovelOfC;
    view.coals[2].Kucun = QStringLiteral("500");
    PlanInsight insight(view);
    const Result<RowInsight> row = insight.analyse(31);
    QVERIFY2(row.ok(), qPrintable(row.message()));
    QCOMPARE(row->offSentence.chinese(), sentence);
    QVERIFY(MarginText(insight, false, nullptr).contains(sentence.left(3)));
}

void PlanInsightTest::rowsAreFoundByRecordNumber_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QVector<double>>("parts");
    QTest::newRow("first loaded") << 31 << QVector<double>{1, 1, 0};
    QTest::newRow("smallest number, loaded second") << 17 << QVector<double>{2, 1, 0};
    QTest::newRow("last loaded") << 24 << QVector<double>{3, 1, 0};
}

// A row is analysed from its own stored parts whatever its place in the list,
// with the model the plan's stored targets and coals make.
void PlanInsightTest::rowsAreFoundByRecordNumber()
{
    QFETCH(int, id);
    QFETCH(QVector<double>, parts);
    const PlanView view = ThreeCoalPlan(true);
    PlanInsight insight(view);
    QVERIFY2(insight.note().isEmpty(), qPrintable(insight.note().chinese()));
    const Result<RowInsight> analysed = insight.analyse(id);
    QVERIFY2(analysed.ok(), qPrintable(analysed.message()));
    const BlendProblem problem = Expect(PlanProblem(*view.targets, view.coals));
    const RowInsight direct = Expect(AnalyseRow(problem, std::vector<double>(parts.begin(), parts.end())));
    QCOMPARE(analysed->total, direct.total);
    QCOMPARE(analysed->unitPrice, direct.unitPrice);
    QCOMPARE(analysed->offSentence.chinese(), direct.offSentence.chinese());
    QCOMPARE(analysed->bounds.size(), direct.bounds.size());
    for (size_t b = 0; b < direct.bounds.size(); ++b)
        QCOMPARE(analysed->bounds[b].binds, direct.bounds[b].binds);
    // Asked again, the same answer.
    QCOMPARE(insight.analyse(id)->unitPrice, direct.unitPrice);

    QCOMPARE(insight.analyse(99).kind(), FailureKind::Invalid);
}

void PlanInsightTest::plansWithoutTargetsStillHavePrices_data()
{
    QTest::addColumn<bool>("shovel");
    QTest::addColumn<QVector<double>>("totals");  // by total
    QTest::newRow("parts by weight") << false << QVector<double>{2, 3, 4};
    // 2 + 3, 4 + 3, 6 + 3 tons: the information text says shovels.
    QTest::newRow("shovel counts") << true << QVector<double>{5, 7, 9};
}

// A plan stored before targets were kept says so, has no row analysis, and
// still shows its prices against the totals (weighted when its text says it
// holds shovel counts).
void PlanInsightTest::plansWithoutTargetsStillHavePrices()
{
    QFETCH(bool, shovel);
    QFETCH(QVector<double>, totals);
    PlanInsight insight(ThreeCoalPlan(false, shovel));
    QCOMPARE(insight.note().chinese(), QStringLiteral("此方案没有保存指标范围"));
    QVERIFY(!insight.hasTargets());
    QCOMPARE(insight.analyse(31).message(), QStringLiteral("此方案没有保存指标范围"));
    QCOMPARE(MarginText(insight, true, nullptr), QStringLiteral("此方案没有保存指标范围"));
    QVERIFY(insight.prices().ok());
    QVector<double> found;
    for (const PlanPricePoint& p : insight.prices()->points)
        found << p.total;
    QCOMPARE(found, totals);
    QCOMPARE(insight.shovelMode(), shovel);
}

// Targets that the model can no longer read are named; the prices stand.
void PlanInsightTest::targetsThatNoLongerReadAreSaid()
{
    PlanView view = ThreeCoalPlan(true);
    view.targets->upper[kAsh] = QStringLiteral("12%");
    PlanInsight insight(view);
    QVERIFY2(insight.note().chinese().startsWith(QStringLiteral("无法重建此方案的模型")), qPrintable(insight.note().chinese()));
    QVERIFY(insight.note().chinese().contains(QStringLiteral("灰分")));
    QVERIFY(!insight.analyse(31).ok());
    QVERIFY(insight.prices().ok());
    QCOMPARE(insight.prices()->points.size(), size_t(3));
}

// The chart has one point per stored row by total; the selected row's point
// is its own, the "within 0.5 %" point the smallest such total.
void PlanInsightTest::priceChartMarks()
{
    PlanView view = ThreeCoalPlan(true);
    // A fourth row at total 9, dearer than the cheapest (475 at total 2).
    view.blends << Row(40, {5, 4, 0}, 477.78);
    PlanInsight insight(view);
    const PriceChart none = MakePriceChart(insight, -1);
    QCOMPARE(none.points.size(), 4);
    QCOMPARE(none.selected, -1);
    QCOMPARE(none.points[none.cheapest], QPointF(2, 475));
    QCOMPARE(none.points[none.fineEnough].x(), 2.0);
    QCOMPARE(none.rows, (QVector<int>{0, 1, 2, 3}));

    const PriceChart chart = MakePriceChart(insight, insight.rowOf(24));
    QCOMPARE(chart.points[chart.selected], QPointF(4, 487.5));
    QVERIFY2(chart.caption.contains(QStringLiteral("总数 4，单价 487.50")), qPrintable(chart.caption));
    QVERIFY2(chart.caption.contains(QStringLiteral("总数 2 的单价 475.00")), qPrintable(chart.caption));

    PlanView broken = view;
    broken.blends[1].parts[0] = 1.5;
    const PriceChart failed = MakePriceChart(PlanInsight(broken), 0);
    QVERIFY(failed.points.isEmpty());
    QVERIFY2(failed.caption.contains(QStringLiteral("第2行")), qPrintable(failed.caption));
}

void PlanInsightTest::shares_data()
{
    QTest::addColumn<bool>("shovel");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("tons");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("parts") << false << QStringList{"2", "1", "0"} << false
                           << QStringList{"A 2份（66.7%）", "B 1份（33.3%）", "C 0份（0.0%）"};
    // Two shovels of 2 t against one of 3 t: four tons in seven.
    QTest::newRow("shovels by their weight") << true << QStringList{"2", "1", "0"} << false
                                             << QStringList{"A 2铲（57.1%）", "B 1铲（42.9%）", "C 0铲（0.0%）"};
    QTest::newRow("after a conversion to tons") << true << QStringList{"571.43", "428.57", "0.00"} << true
                                                << QStringList{"A 571.43吨（57.1%）", "B 428.57吨（42.9%）",
                                                               "C 0.00吨（0.0%）"};
}

// The shares come from the stored parts (by weight); the amounts are the
// list's cells as shown.
void PlanInsightTest::shares()
{
    QFETCH(bool, shovel);
    QFETCH(QStringList, shown);
    QFETCH(bool, tons);
    QFETCH(QStringList, labels);
    PlanInsight insight(ThreeCoalPlan(true, shovel));
    const QVector<ShareSegment> shares = MakeRowShares(insight, insight.rowOf(17), shown, tons);
    QStringList found;
    double sum = 0.0;
    for (const ShareSegment& s : shares) {
        found << s.label;
        sum += s.share;
    }
    QCOMPARE(found, labels);
    QVERIFY(std::fabs(sum - 1.0) < 1e-12);
    QVERIFY(MakeRowShares(insight, -1, shown, tons).isEmpty());
}

QTEST_GUILESS_MAIN(PlanInsightTest)
#include "tst_plan_insight.moc"
