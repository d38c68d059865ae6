#include "workspace/BlendRun.h"
#include "data/Dbconnection.h"
#include "support/TestFolder.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

constexpr int kSulphur = 5;
constexpr int kAsh = 6;

GridRow Coal(const QString& name, const QString& price, const QString& ash, const QString& stock = QString())
{
    GridRow row;
    row.cells[kNameCell] = name;
    row.cells[kPriceCell] = price;
    row.cells[IndexCell(kAsh)] = ash;
    row.cells[kStockCell] = stock;
    return row;
}

// Three coals; ash at most 12 needs the dear low-ash coal in every mix.
WorkspaceInput ThreeCoals()
{
    WorkspaceInput input;
    input.grid.rows[0] = Coal("A", "500", "10");
    input.grid.rows[1] = Coal("B", "450", "14");
    input.grid.rows[2] = Coal("C", "420", "16");
    input.upper[kAsh] = QStringLiteral("12");
    input.proportionCount = QStringLiteral("12");
    return input;
}

using Setup = std::function<void(const TestFolder&, WorkspaceInput&)>;

// How a run ended, the way the job that runs it in the program ends it:
// checked, solved, then stored when any total had a solution.
struct Ended {
    QString kind;  // "rejected", "failed", "cancelled", "no plan", "stored"
    QString message;
    int planId = 0;
    int solutions = 0;
    int stored = 0;
};

Ended Run(const TestFolder& test, WorkspaceInput& input, const RunProgress& progress = {})
{
    if (Status prepared = PrepareRun(input); !prepared)
        return {"rejected", prepared.message()};
    const Result<RunSolution> solved = SolveRun(test.folder(), input, progress);
    if (!solved)
        return {solved.kind() == FailureKind::Cancelled ? "cancelled" : "failed", solved.message()};
    if (solved->solutions == 0)
        return {"no plan", QString(), 0, 0, 0};
    const Result<int> planId = StoreRun(test.folder(), *solved);
    if (!planId)
        return {"failed", planId.message(), 0, solved->solutions, 0};
    return {"stored", QString(), *planId, solved->solutions, int(solved->rows.size())};
}

}  // namespace

Q_DECLARE_METATYPE(Setup)

class RunTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void describeRange_data();
    void describeRange();
    void describePlan();
    void proportionCount_data();
    void proportionCount();
    void rejectedInputWritesNothing();
    void storedPlan();
    void allPricesEqualStoresEverySolution();
    void runsThatLeaveNothing_data();
    void runsThatLeaveNothing();
    void jobSolvesThenStores();
};

void RunTest::describeRange_data()
{
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("text");
    QTest::newRow("both") << "0.5" << "0.8" << "0.5<=硫分<=0.8 ";
    QTest::newRow("lower") << "0.5" << "" << "硫分=>0.5 ";
    QTest::newRow("upper") << "" << "0.8" << "硫分<=0.8 ";
    QTest::newRow("none") << "" << "" << "";
    QTest::newRow("texts as typed") << " 1.50" << "2" << " 1.50<=硫分<=2 ";
}

void RunTest::describeRange()
{
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(QString, text);
    QCOMPARE(DescribeRange(lower, upper, QStringLiteral("硫分")), text);
}

void RunTest::describePlan()
{
    WorkspaceInput input;
    input.shovelMode = true;
    input.lower[kSulphur] = QStringLiteral("0.5");
    input.upper[kSulphur] = QStringLiteral("0.8");
    input.upper[kAsh] = QStringLiteral("12");
    input.tonnage = QStringLiteral("1000");
    input.grid.rows[0] = Coal("A", "1", "");
    input.grid.rows[0].checked = true;
    input.grid.rows[1] = Coal("B", "1", "");
    input.grid.rows[3] = Coal("D", "1", "");
    input.grid.rows[3].checked = true;  // beyond the run of coals: not described
    QCOMPARE(DescribePlan(input), QStringLiteral("[铲数配比] 0.5<=硫分<=0.8 灰分<=12  配1000吨 A必选"));

    input.shovelMode = false;
    input.tonnage.clear();
    input.grid.rows[1].checked = true;
    QCOMPARE(DescribePlan(input), QStringLiteral("0.5<=硫分<=0.8 灰分<=12  A必选 B必选"));
    input.grid.rows[0].checked = input.grid.rows[1].checked = false;
    QCOMPARE(DescribePlan(input), QStringLiteral("0.5<=硫分<=0.8 灰分<=12 "));

    // A plan averaged on the bases says so, after the shovel marker.
    input.weighting.on = true;
    QCOMPARE(DescribePlan(input), QStringLiteral("[按基准加权] 0.5<=硫分<=0.8 灰分<=12 "));
    input.shovelMode = true;
    QCOMPARE(DescribePlan(input), QStringLiteral("[铲数配比] [按基准加权] 0.5<=硫分<=0.8 灰分<=12 "));
}

void RunTest::proportionCount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << "" << 100;
    QTest::newRow("not a number") << "abc" << 100;
    QTest::newRow("whole") << "40" << 40;
    QTest::newRow("2.5 to even") << "2.5" << 2;
    QTest::newRow("3.5 to even") << "3.5" << 4;
    QTest::newRow("negative") << "-3" << -3;
    QTest::newRow("far below") << "-1e20" << -32768;
}

void RunTest::proportionCount()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QCOMPARE(ProportionCount(text), count);
}

void RunTest::rejectedInputWritesNothing()
{
    TestFolder test;
    WorkspaceInput input = ThreeCoals();
    input.grid.rows[5] = input.grid.rows[2];
    input.grid.rows[2] = GridRow();
    input.upper[kAsh] = QStringLiteral("twelve");
    const Ended outcome = Run(test, input);
    QCOMPARE(outcome.kind, QStringLiteral("rejected"));
    QCOMPARE(outcome.message, QStringLiteral("请将灰分的指标上限填写成数字！"));
    QCOMPARE(input.grid.rows[2].name(), QStringLiteral("C"));  // compacted all the same
    QCOMPARE(HistoryRows(test.folder()), 0);
}

void RunTest::storedPlan()
{
    TestFolder test;
    WorkspaceInput input = ThreeCoals();
    input.grid.rows[1].checked = true;
    int calls = 0;
    int lastSeen = 0;
    QList<int> totals;
    const Ended outcome = Run(test, input, [&](int total, int last) -> bool {
        totals << total;
        lastSeen = last;
        ++calls;
        return true;
    });
    QCOMPARE(outcome.kind, QStringLiteral("stored"));
    QCOMPARE(calls, 11);
    QCOMPARE(totals.first(), 2);
    QCOMPARE(totals.last(), 12);
    QCOMPARE(lastSeen, 12);
    QVERIFY(outcome.planId > 0);
    QVERIFY(outcome.stored > 0);
    QVERIFY(!QFileInfo::exists(test.folder().ModelPath()));

    auto connection = Expect(ConnectionScope::Open(test.folder()));
    QSqlQuery header = Expect(RunQuery(QStringLiteral("select id, xinxi from Lishi_fangan")));
    QVERIFY(header.next());
    QCOMPARE(header.value(0).toInt(), outcome.planId);
    QCOMPARE(header.value(1).toString(), QStringLiteral("灰分<=12  B必选"));
    QSqlQuery blends = Expect(RunQuery(QStringLiteral("select d1, d2, d3, d4, JiaGe from Lishi_Peibibiao where followid=?"),
                                {outcome.planId}));
    QSet<double> prices;
    int rows = 0;
    while (blends.next()) {
        ++rows;
        QVERIFY(blends.value(1).toDouble() >= 1.0);  // the ticked coal is in every mix
        QVERIFY(blends.value(3).isNull());
        prices.insert(blends.value(4).toDouble());
    }
    QCOMPARE(rows, outcome.stored);
    QCOMPARE(prices.size(), rows);
    QSqlQuery coals = Expect(RunQuery(QStringLiteral("select Name from Lishi_meitan where followid=? order by id"),
                               {outcome.planId}));
    QStringList names;
    while (coals.next())
        names << coals.value(0).toString();
    QCOMPARE(names, QStringList({"A", "B", "C"}));
}

void RunTest::allPricesEqualStoresEverySolution()
{
    TestFolder test;
    WorkspaceInput input = ThreeCoals();
    for (int row = 0; row < 3; ++row)
        input.grid.rows[row].cells[kPriceCell] = QStringLiteral("400");
    const Ended outcome = Run(test, input);
    QCOMPARE(outcome.kind, QStringLiteral("stored"));
    QCOMPARE(outcome.solutions, 11);  // every total from 2 to 12 can meet ash <= 12
    QCOMPARE(outcome.stored, 11);
    QCOMPARE(CountRows(test.folder(), QStringLiteral("Lishi_Peibibiao")), 11);
}

void RunTest::runsThatLeaveNothing_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<bool>("cancelAtFive");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("messageStart");

    QTest::newRow("infeasible") << Setup([](const TestFolder&, WorkspaceInput& in) { in.upper[kAsh] = "9"; })
                                << false << "no plan" << "";
    QTest::newRow("proportion count 1 is refused by the checks") << Setup([](const TestFolder&, WorkspaceInput& in) {
        in.proportionCount = "1";
    }) << false << "rejected" << "比例数不能小于2";
    QTest::newRow("proportion count 1.5 rounds to 2") << Setup([](const TestFolder&, WorkspaceInput& in) {
        in.proportionCount = "1.5";
        in.upper[kAsh] = "11";  // with B in the mix A needs three parts in four
        in.grid.rows[1].checked = true;
    }) << false << "no plan" << "";
    QTest::newRow("model file not writable") << Setup([](const TestFolder& test, WorkspaceInput&) {
        QDir().mkpath(test.folder().ModelPath());
    }) << false << "failed" << "无法写入模型文件";
    // The model file vanishes under the run: the engine cannot read the model,
    // and the run stops rather than count the total as "no solution" and go
    // on to a plan or to "没有配比方案".
    QTest::newRow("model file vanished") << Setup([](const TestFolder&, WorkspaceInput& in) {
        in.upper[kAsh] = QStringLiteral("9");  // no total has a solution either
    }) << false << "failed" << "求解引擎无法读取模型文件";
    QTest::newRow("cancelled") << Setup([](const TestFolder&, WorkspaceInput&) {})
                               << true << "cancelled" << "配煤已被取消";
    QTest::newRow("database error at the last write") << Setup([](const TestFolder& test, WorkspaceInput&) {
        test.refuseInserts(QStringLiteral("Lishi_meitan"), QStringLiteral("disk is full"));
    }) << false << "failed" << "保存配煤方案时数据库出错";
}

void RunTest::runsThatLeaveNothing()
{
    QFETCH(Setup, setup);
    QFETCH(bool, cancelAtFive);
    QFETCH(QString, kind);
    QFETCH(QString, messageStart);
    TestFolder test;
    WorkspaceInput input = ThreeCoals();
    setup(test, input);
    const bool vanish = QString::fromLatin1(QTest::currentDataTag()) == QStringLiteral("model file vanished");
    const Ended outcome = Run(test, input, [&](int total, int) {
        if (vanish && total == 5)
            QFile::remove(test.folder().ModelPath());
        return !(cancelAtFive && total == 5);
    });
    QCOMPARE(outcome.kind, kind);
    QVERIFY2(messageStart.isEmpty() || outcome.message.startsWith(messageStart), qPrintable(outcome.message));
    QCOMPARE(outcome.planId, 0);
    QCOMPARE(outcome.stored, 0);
    QCOMPARE(HistoryRows(test.folder()), 0);
    QVERIFY(!QFileInfo(test.folder().ModelPath()).isFile());
}

// The job the window starts: solved on its own thread, stored on the job's,
// told by signals; a cancel as soon as it starts keeps nothing.
void RunTest::jobSolvesThenStores()
{
    TestFolder test;
    WorkspaceInput input = ThreeCoals();
    Expect(PrepareRun(input));
    BlendJob job(test.folder(), input);
    QSignalSpy progressed(&job, &BlendJob::progressed);
    QSignalSpy finished(&job, &BlendJob::finished);
    job.start();
    QVERIFY(finished.wait(20000));
    QVERIFY2(job.outcome().ok(), qPrintable(job.outcome().message()));
    QCOMPARE(job.outcome()->kind, RunOutcome::Kind::Stored);
    QCOMPARE(progressed.count(), 11);
    QCOMPARE(progressed.last().at(0).toInt(), 12);
    QVERIFY(CountRows(test.folder(), QStringLiteral("Lishi_fangan")) == 1);

    input.proportionCount = QStringLiteral("1000");
    BlendJob cancelled(test.folder(), input);
    QSignalSpy ended(&cancelled, &BlendJob::finished);
    cancelled.start();
    cancelled.cancel();
    QVERIFY(ended.wait(20000));
    QCOMPARE(cancelled.outcome().kind(), FailureKind::Cancelled);
    QVERIFY(CountRows(test.folder(), QStringLiteral("Lishi_fangan")) == 1);
    QVERIFY(!QFileInfo(test.folder().ModelPath()).isFile());
}

QTEST_GUILESS_MAIN(RunTest)
#include "tst_run.moc"
