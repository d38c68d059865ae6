// What a plan keeps of its run's targets, and coal databases made before
// those were kept: opened, restored, their rows untouched.

#include "base/NumberText.h"
#include "blend/BlendProblem.h"
#include "data/Backup.h"
#include "data/Dbconnection.h"
#include "history/PlanAnalysis.h"
#include "history/PlanHistory.h"
#include "support/ModelTexts.h"
#include "support/TestFolder.h"
#include "workspace/BlendRun.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QRegularExpression>
#include <QtTest>

#include <cstring>

namespace {

constexpr int kSulphur = 5;
constexpr int kAsh = 6;

// The four tables as a coal database had them before targets were kept.
const char* const kOlderSchema[] = {
    "CREATE TABLE meitan (id INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, NeiShui TEXT, ShuiFen TEXT, "
    "ReLiang TEXT, GaoWeiReLiang TEXT, FenXiJi TEXT, Liu TEXT, HuiFen TEXT, HuiFaFen TEXT, HuiFaFenVdaf TEXT, "
    "G TEXT, Y TEXT, GuDingTan TEXT, KeMoXing TEXT, HuiRongDian TEXT, huishoulv TEXT, Meichan TEXT, kucun TEXT, "
    "JiaGe REAL, riqi DATETIME)",
    "CREATE TABLE Lishi_fangan (id INTEGER PRIMARY KEY AUTOINCREMENT, fanganhao TEXT, xinxi TEXT, "
    "riqi DATETIME DEFAULT (datetime('now', 'localtime')))",
    "CREATE TABLE Lishi_meitan (id INTEGER PRIMARY KEY AUTOINCREMENT, followid INTEGER, Name TEXT, NeiShui TEXT, "
    "ShuiFen TEXT, ReLiang TEXT, GaoWeiReLiang TEXT, FenXiJi TEXT, Liu TEXT, HuiFen TEXT, HuiFaFen TEXT, "
    "HuiFaFenVdaf TEXT, G TEXT, Y TEXT, GuDingTan TEXT, KeMoXing TEXT, HuiRongDian TEXT, huishoulv TEXT, "
    "kucun TEXT, meichan TEXT, JiaGe REAL)",
    "CREATE TABLE Lishi_Peibibiao (id INTEGER PRIMARY KEY AUTOINCREMENT, followid INTEGER, d1 REAL, d2 REAL, "
    "d3 REAL, d4 REAL, d5 REAL, d6 REAL, d7 REAL, d8 REAL, d9 REAL, d10 REAL, Name TEXT, NeiShui TEXT, "
    "ShuiFen TEXT, ReLiang TEXT, GaoWeiReLiang TEXT, FenXiJi TEXT, Liu TEXT, HuiFen TEXT, HuiFaFen TEXT, "
    "HuiFaFenVdaf TEXT, G TEXT, Y TEXT, GuDingTan TEXT, KeMoXing TEXT, HuiRongDian TEXT, huishoulv TEXT, "
    "kucun TEXT, meichan TEXT, JiaGe REAL)",
    "CREATE INDEX idx_lishi_meitan_followid ON Lishi_meitan (followid)",
    "CREATE INDEX idx_lishi_peibibiao_followid ON Lishi_Peibibiao (followid)",
};

const QStringList kOlderTables = {"meitan", "Lishi_fangan", "Lishi_meitan", "Lishi_Peibibiao"};

// Statements run on a file of its own connection.
void RunOn(const QString& path, const QStringList& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
        db.setDatabaseName(path);
        if (!db.open())
            FailSetUp(QStringLiteral("cannot open ") + path);
        QSqlQuery query(db);
        for (const QString& statement : statements)
            if (!query.exec(statement))
                FailSetUp(statement + QStringLiteral(": ") + query.lastError().text());
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("older"));
}

// An older coal.dat: the four tables, two coals and two plans with awkward
// values (quotes, line breaks, Null, a price with many digits, an empty text).
void WriteOlderDatabase(const QString& path)
{
    QStringList statements;
    for (const char* sql : kOlderSchema)
        statements << QString::fromLatin1(sql);
    statements << QStringLiteral("INSERT INTO meitan (Name, HuiFen, Liu, kucun, Meichan, JiaGe, riqi) VALUES "
                                 "('大同''精煤', '8.50', '0.52', '500', '2.5', 820.125, '2024-05-06 07:08:09')")
               << QStringLiteral("INSERT INTO meitan (Name, HuiFen, JiaGe) VALUES ('神木', '', NULL)")
               << QStringLiteral("INSERT INTO Lishi_fangan (fanganhao, xinxi, riqi) VALUES "
                                 "(NULL, '灰分<=12 ' || char(13) || char(10) || ' 甲必选', '2024-05-06 08:00:00')")
               << QStringLiteral("INSERT INTO Lishi_fangan (xinxi, riqi) VALUES ('[铲数配比] 硫分<=0.8 ', "
                                 "'2024-05-07 08:00:00')");
    for (int plan = 1; plan <= 2; ++plan) {
        statements << QStringLiteral("INSERT INTO Lishi_meitan (followid, Name, HuiFen, Liu, kucun, meichan, JiaGe) "
                                     "VALUES (%1, '甲', '10', '0.5', '500', '2', 500), "
                                     "(%1, '乙', '14', '0.9', '500', '3', 450)")
                          .arg(plan);
        statements << QStringLiteral("INSERT INTO Lishi_Peibibiao (followid, d1, d2, Name, HuiFen, Liu, JiaGe) "
                                     "VALUES (%1, 1, 1, '', '12.00', '0.70', 475), (%1, 2, 1, '', '11.33', '0.63', "
                                     "483.3333333333333)")
                          .arg(plan);
    }
    RunOn(path, statements);
}

// Every row of the older tables, every value with its storage class and its
// exact bytes, and the tables' own definitions.
QByteArray DumpOlderTables(const QString& path)
{
    QByteArray dump;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("dump"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            FailSetUp(QStringLiteral("cannot open ") + path);
        QSqlQuery query(db);
        for (const QString& table : kOlderTables + QStringList{QStringLiteral("sqlite_sequence")}) {
            // Columns a later step adds to an old table are not the old rows.
            QStringList added;
            if (const TableDef* def = FindProgramTable(table))
                for (const ColumnDef& column : def->columns)
                    if (column.since > def->since)
                        added << column.name;
            query.exec(QStringLiteral("select sql from sqlite_master where name='%1'").arg(table));
            QString sql = query.next() ? query.value(0).toString() : QString();
            for (const QString& column : added)
                sql.remove(QRegularExpression(QStringLiteral(", %1 [^,)]*").arg(column)));
            dump += table.toUtf8() + ':' + sql.toUtf8() + '\n';
            const QSqlRecord record = db.record(table);
            QStringList probes;
            for (int c = 0; c < record.count(); ++c)
                if (!added.contains(record.fieldName(c), Qt::CaseInsensitive))
                    probes << QStringLiteral("typeof(\"%1\"), hex(\"%1\")").arg(record.fieldName(c));
            query.exec(QStringLiteral("select %1 from %2 order by rowid").arg(probes.join(QStringLiteral(", ")), table));
            while (query.next()) {
                for (int c = 0; c < 2 * probes.size(); ++c)
                    dump += query.value(c).toString().toLatin1() + '|';
                dump += '\n';
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("dump"));
    return dump;
}

QStringList TableNames(const AppFolder& folder)
{
    auto connection = Expect(ConnectionScope::Open(folder));
    QSqlQuery query = Expect(RunQuery(QStringLiteral("select name from sqlite_master where type='table' order by name")));
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

GridRow GridCoal(const QString& name, const QString& price, const QString& ash, const QString& sulphur,
                 const QString& shovel)
{
    GridRow row;
    row.cells[kNameCell] = name;
    row.cells[kPriceCell] = price;
    row.cells[IndexCell(kAsh)] = ash;
    row.cells[IndexCell(kSulphur)] = sulphur;
    row.cells[kStockCell] = QStringLiteral("500");
    row.cells[kShovelCell] = shovel;
    return row;
}

PlanTargets Targets(std::initializer_list<std::pair<int, std::pair<const char*, const char*>>> bounds,
                    const QString& tonnage, const QString& count, bool shovel, QVector<bool> mustInclude)
{
    PlanTargets targets;
    for (const auto& [index, range] : bounds) {
        targets.lower[index] = QString::fromUtf8(range.first);
        targets.upper[index] = QString::fromUtf8(range.second);
    }
    targets.tonnage = tonnage;
    targets.proportionCount = count;
    targets.shovelMode = shovel;
    targets.mustInclude = std::move(mustInclude);
    return targets;
}

}  // namespace

Q_DECLARE_METATYPE(PlanTargets)

class PlanTargetsTest : public QObject {
    Q_OBJECT
private slots:
    void olderDatabaseGainsTheTablesAndKeepsEveryRow();
    void olderDatabaseThatCannotBeWrittenIsLeftAsItWas();
    void restoreTakesAnOlderBackup();
    void addedTableWithOtherColumnsIsRefused();
    void targetsComeBackAsTyped_data();
    void targetsComeBackAsTyped();
    void deleteTakesTheTargetsToo();
    void failedStoreKeepsNoTargets();
    void runKeepsWhatRebuildsItsModel_data();
    void runKeepsWhatRebuildsItsModel();
};

// A coal.dat of the four tables opens as a coal database: it gains the new
// tables, every row of the old ones stays byte for byte, and opening it again
// writes nothing. Its plans have no targets.
void PlanTargetsTest::olderDatabaseGainsTheTablesAndKeepsEveryRow()
{
    TestFolder test(false);
    WriteOlderDatabase(test.folder().DbPath());
    const QByteArray before = DumpOlderTables(test.folder().DbPath());
    QVERIFY(before.contains(QByteArray("大同").toHex().toUpper()));

    const Result<DatabaseState> opened = EnsureDatabase(test.folder());
    QVERIFY2(opened.ok(), qPrintable(opened.message()));
    QCOMPARE(*opened, DatabaseState::Ready);
    const QStringList tables = TableNames(test.folder());
    for (const TableColumns& added : AddedTables())
        QVERIFY2(tables.contains(added.table), qPrintable(added.table));
    QCOMPARE(DumpOlderTables(test.folder().DbPath()), before);
    QVERIFY(CheckDatabaseFile(test.folder().DbPath(), true).ok());

    const QByteArray file = ReadBytes(test.folder().DbPath());
    QVERIFY(EnsureDatabase(test.folder()).ok());
    QCOMPARE(ReadBytes(test.folder().DbPath()), file);

    for (int plan : {1, 2}) {
        const PlanView view = Expect(LoadPlanView(test.folder(), plan));
        QCOMPARE(view.coals.size(), 2);
        QCOMPARE(view.blends.size(), 2);
        QVERIFY(!view.targets.has_value());
    }
    // A new plan in the upgraded file keeps its targets.
    NewPlan plan{QStringLiteral("新"), {MakeCoal("A", 1), MakeCoal("B", 2)}, {}, PlanTargets{}};
    plan.targets->upper[kAsh] = QStringLiteral("12");
    plan.targets->mustInclude = {false, true};
    const int id = Expect(StorePlan(test.folder(), plan));
    QCOMPARE(Expect(LoadPlanView(test.folder(), id)).targets, plan.targets);
}

// When the new tables cannot be added, start-up says so and the file stays
// as it was.
void PlanTargetsTest::olderDatabaseThatCannotBeWrittenIsLeftAsItWas()
{
    TestFolder test(false);
    WriteOlderDatabase(test.folder().DbPath());
    const QByteArray file = ReadBytes(test.folder().DbPath());
    // SQLite cannot make its journal where a folder of that name stands.
    QVERIFY(QDir().mkpath(test.folder().DbPath() + QStringLiteral("-journal")));

    const Result<DatabaseState> opened = EnsureDatabase(test.folder());
    QVERIFY(!opened.ok());
    QVERIFY2(opened.message().contains(QDir::toNativeSeparators(test.folder().DbPath())), qPrintable(opened.message()));
    QVERIFY2(opened.message().contains(QStringLiteral("没有被改动")), qPrintable(opened.message()));
    QCOMPARE(ReadBytes(test.folder().DbPath()), file);
}

// A backup made before targets were kept restores: coal.dat gets the new
// tables with every old row, the chosen backup stays as it was.
void PlanTargetsTest::restoreTakesAnOlderBackup()
{
    TestFolder test;
    Expect(StorePlan(test.folder(), NewPlan{QStringLiteral("当前"), {MakeCoal("X", 1)}, {}, PlanTargets{}}));
    const QString chosen = test.path(QStringLiteral("bakup/2024-05-07.bak"));
    WriteOlderDatabase(chosen);
    const QByteArray backup = ReadBytes(chosen);
    const QByteArray rows = DumpOlderTables(chosen);

    const Result<RestoreOutcome> kept = RestoreData(test.folder(), chosen, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    QVERIFY2(kept.ok(), qPrintable(kept.message()));
    QCOMPARE(ReadBytes(chosen), backup);
    QCOMPARE(DumpOlderTables(test.folder().DbPath()), rows);
    const QStringList tables = TableNames(test.folder());
    for (const TableColumns& added : AddedTables())
        QVERIFY2(tables.contains(added.table), qPrintable(added.table));
    QCOMPARE(CountRows(test.folder(), QStringLiteral("Lishi_canshu")), 0);
    QVERIFY(!QFileInfo::exists(test.folder().DbPath() + QStringLiteral(".part")));
    // The replaced file was kept whole, with its own plan's targets.
    QVERIFY(ReadBytes(kept->kept).size() > 0);
    QVERIFY(CheckDatabaseFile(kept->kept, true).ok());
}

// An added table is not demanded, but one that is there must have its columns.
void PlanTargetsTest::addedTableWithOtherColumnsIsRefused()
{
    TestFolder test;
    const QString chosen = test.path(QStringLiteral("odd.bak"));
    WriteOlderDatabase(chosen);
    RunOn(chosen, {QStringLiteral("CREATE TABLE Lishi_zhibiao (id INTEGER, note TEXT)")});
    const QByteArray database = ReadBytes(test.folder().DbPath());

    const Result<RestoreOutcome> restored = RestoreData(test.folder(), chosen, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    QVERIFY(!restored.ok());
    QCOMPARE(restored.kind(), FailureKind::Invalid);
    QVERIFY2(restored.message().contains(QStringLiteral("Lishi_zhibiao")), qPrintable(restored.message()));
    QVERIFY2(restored.message().contains(QStringLiteral("缺少列")), qPrintable(restored.message()));
    QCOMPARE(ReadBytes(test.folder().DbPath()), database);
}

void PlanTargetsTest::targetsComeBackAsTyped_data()
{
    QTest::addColumn<PlanTargets>("targets");
    QTest::addColumn<int>("boundRows");
    QTest::newRow("upper only, tonnage and count")
        << Targets({{kAsh, {"", "12"}}}, "1000", "50", false, {false, false, false}) << 1;
    QTest::newRow("both bounds as typed, blanks and all")
        << Targets({{kSulphur, {" 0.50", "0.8 "}}, {kAsh, {"9", ""}}}, "", "", false, {false, false, false}) << 2;
    QTest::newRow("shovel counts, must-use coals")
        << Targets({{kAsh, {"", "12"}}, {2, {"5500", ""}}}, "300", "24.5", true, {true, false, true}) << 2;
    QTest::newRow("every index bounded")
        << [] {
               PlanTargets t = Targets({}, "1", "x", false, {false, true, false});
               for (int i = 0; i < kIndexCount; ++i) {
                   t.lower[i] = QString::number(i);
                   t.upper[i] = QString::number(i + 100);
               }
               return t;
           }()
        << kIndexCount;
    QTest::newRow("averaged on the bases, one chosen") << [] {
        PlanTargets t = Targets({{kAsh, {"", "12"}}}, "", "", false, {false, false, false});
        t.weighting.on = true;
        t.weighting.basis[kAsh] = Basis::AsReceived;
        t.weighting.basis[2] = Basis::DryAshFree;
        return t;
    }() << 1;
}

// What a plan keeps of its targets comes back exactly as it was typed; an
// index without bounds has no row.
void PlanTargetsTest::targetsComeBackAsTyped()
{
    QFETCH(PlanTargets, targets);
    QFETCH(int, boundRows);
    TestFolder test;
    NewPlan plan{QStringLiteral("x"), {MakeCoal("A", 1), MakeCoal("B", 2), MakeCoal("C", 3)}, {}, targets};
    PlanBlendRow row;
    row.parts[0] = 1;
    row.parts[1] = 2;
    plan.rows << row;
    const int other = Expect(StorePlan(test.folder(), NewPlan{QStringLiteral("y"), {MakeCoal("D", 1)}, {}, targets}));
    const int id = Expect(StorePlan(test.folder(), plan));

    const PlanView view = Expect(LoadPlanView(test.folder(), id));
    QVERIFY(view.targets.has_value());
    QCOMPARE(*view.targets, targets);
    QCOMPARE(CountRows(test.folder(), QStringLiteral("Lishi_zhibiao")), 2 * boundRows);
    auto connection = Expect(ConnectionScope::Open(test.folder()));
    QSqlQuery keys = Expect(RunQuery(QStringLiteral("select zhibiao from Lishi_zhibiao where followid=? order by id"), {id}));
    QStringList stored;
    while (keys.next())
        stored << keys.value(0).toString();
    QStringList expected;
    for (int i = 0; i < kIndexCount; ++i)
        if (!targets.lower[i].isEmpty() || !targets.upper[i].isEmpty())
            expected << QLatin1String(QualityIndices()[i].column);
    QCOMPARE(stored, expected);
    // The other plan's must-use coals are cut to its one coal.
    QCOMPARE(Expect(LoadPlanView(test.folder(), other)).targets->mustInclude, QVector<bool>{targets.mustInclude[0]});
}

void PlanTargetsTest::deleteTakesTheTargetsToo()
{
    TestFolder test;
    PlanTargets targets;
    targets.upper[kAsh] = QStringLiteral("12");
    targets.weighting.on = true;
    const int first = Expect(StorePlan(test.folder(), NewPlan{QStringLiteral("a"), {MakeCoal("A", 1)}, {}, targets}));
    const int second = Expect(StorePlan(test.folder(), NewPlan{QStringLiteral("b"), {MakeCoal("B", 1)}, {}, targets}));
    Expect(DeletePlan(test.folder(), first));
    QCOMPARE(CountRows(test.folder(), QStringLiteral("Lishi_zhibiao")), 1);
    QCOMPARE(CountRows(test.folder(), QStringLiteral("Lishi_canshu")), 1);
    QCOMPARE(CountRows(test.folder(), QStringLiteral("Lishi_jizhun")), kIndexCount);
    QVERIFY(Expect(LoadPlanView(test.folder(), second)).targets.has_value());
}

// The targets are written in the plan's own transaction: when they cannot be,
// nothing of the plan stays.
void PlanTargetsTest::failedStoreKeepsNoTargets()
{
    TestFolder test;
    {
        auto connection = Expect(ConnectionScope::Open(test.folder()));
        Expect(Execute(QStringLiteral("create trigger refuse before insert on Lishi_canshu "
                                      "begin select raise(abort, 'disk is full'); end")));
    }
    PlanTargets targets;
    targets.upper[kAsh] = QStringLiteral("12");
    const Result<int> stored = StorePlan(test.folder(), NewPlan{QStringLiteral("a"), {MakeCoal("A", 1)}, {}, targets});
    QVERIFY(!stored.ok());
    QVERIFY2(stored.message().contains(QStringLiteral("disk is full")), qPrintable(stored.message()));
    QCOMPARE(HistoryRows(test.folder()), 0);
}

void PlanTargetsTest::runKeepsWhatRebuildsItsModel_data()
{
    QTest::addColumn<bool>("shovel");
    QTest::addColumn<QString>("tonnage");
    QTest::addColumn<bool>("weighted");
    QTest::newRow("parts by weight") << false << "" << false;
    QTest::newRow("shovel counts with a tonnage") << true << "300" << false;
    QTest::newRow("each index on its basis") << false << "" << true;
    QTest::newRow("on its basis, shovel counts") << true << "300" << true;
}

// A run stores what it was given; the model built again from the stored plan
// has, at every stored row's total, that row as its cheapest mix.
void PlanTargetsTest::runKeepsWhatRebuildsItsModel()
{
    QFETCH(bool, shovel);
    QFETCH(QString, tonnage);
    QFETCH(bool, weighted);
    TestFolder test;
    WorkspaceInput input;
    input.grid.rows[0] = GridCoal("A", "500", "10", "0.5", "2");
    input.grid.rows[2] = GridCoal("B", "450", "14", "0.9", "3");  // a gap the run closes
    input.grid.rows[3] = GridCoal("C", "420", "16", "0.7", "1");
    input.grid.rows[3].checked = true;
    if (weighted) {
        input.weighting.on = true;
        const char* moisture[] = {"8", "", "25", "14"};
        for (int row : {0, 2, 3})
            input.grid.rows[row].cells[IndexCell(1)] = QString::fromLatin1(moisture[row]);
    }
    input.upper[kAsh] = QStringLiteral(" 12");
    input.lower[kSulphur] = QStringLiteral("0.6");
    input.tonnage = tonnage;
    input.proportionCount = QStringLiteral("14");
    input.shovelMode = shovel;
    Expect(PrepareRun(input));
    const RunSolution solution = Expect(SolveRun(test.folder(), input));
    QVERIFY(!solution.rows.isEmpty());
    const int id = Expect(StoreRun(test.folder(), solution));

    const PlanView view = Expect(LoadPlanView(test.folder(), id));
    QVERIFY(view.targets.has_value());
    QCOMPARE(view.targets->upper[kAsh], QStringLiteral(" 12"));
    QCOMPARE(view.targets->lower[kSulphur], QStringLiteral("0.6"));
    QCOMPARE(view.targets->tonnage, tonnage);
    QCOMPARE(view.targets->proportionCount, QStringLiteral("14"));
    QCOMPARE(view.targets->shovelMode, shovel);
    QCOMPARE(view.targets->mustInclude, (QVector<bool>{false, false, true}));
    QCOMPARE(view.targets->weighting, input.weighting);

    const BlendProblem problem = Expect(PlanProblem(*view.targets, view.coals));
    for (const PlanBlendRow& row : view.blends) {
        const std::vector<double> parts(row.parts.begin(), row.parts.begin() + 3);
        double total = 0.0;
        for (int j = 0; j < 3; ++j)
            total += problem.weight[j] * parts[j];
        const int n = int(std::lround(total));
        QCOMPARE(total, double(n));
        const LinearSolution cheapest = SolveLinearProgram(BlendProgram(problem, n));
        QCOMPARE(cheapest.status, LinearStatus::Optimal);
        QCOMPARE(ToRoundedDouble(UnitPriceOf(problem, cheapest.values, n)), row.blend.JiaGe);
        QCOMPARE(ToRoundedDouble(UnitPriceOf(problem, parts, n)), row.blend.JiaGe);
        // The stored record meets the bounds on the basis the run used.
        QVERIFY(row.blend.HuiFen.toDouble() <= 12.0 && row.blend.Liu.toDouble() >= 0.6);
        QCOMPARE(row.blend.HuiFen, FormatIndexValue(BlendIndexValue(problem, kAsh, parts, n)));
    }
}

QTEST_GUILESS_MAIN(PlanTargetsTest)
#include "tst_plan_targets.moc"
