// The yard's shared database on a real PostgreSQL server (scripts/pg-server.sh):
// planners storing at once, a server that restarts, two starts racing to make
// the schema, the copy of coal.dat to the server, backup and restore, and the
// connection settings. CTest runs this program alone, since it restarts the server.

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "base/Settings.h"
#include "data/Backup.h"
#include "data/ChangeListener.h"
#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "data/ServerData.h"
#include "data/SqliteFile.h"
#include "history/PlanHistory.h"
#include "support/TestFolder.h"
#include "support/TestServer.h"
#include "workspace/TargetSets.h"

#include <QFile>
#include <QSemaphore>
#include <QSignalSpy>
#include <QSqlRecord>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>

namespace {

constexpr int kAsh = 6;

// An application folder whose data lives in a database of the test server.
struct ServerFolder {
    explicit ServerFolder(bool make = true) : database(NewTestDatabase())
    {
        UseDatabase(test.folder(), settings());
        if (make)
            Expect(EnsureDatabase(test.folder()));
    }
    ~ServerFolder()
    {
        CloseConnection();
        ReleaseTestDatabase(database);
    }
    const AppFolder& folder() const { return test.folder(); }
    DbSettings settings() const { return TestServerSettings(database); }

    TestFolder test{false};
    QString database;
};

// A value as the program reads it, whichever backend holds it.
QString Shown(const QVariant& value, ColumnKind kind)
{
    if (value.isNull())
        return QStringLiteral("∅");
    switch (kind) {
    case ColumnKind::Id:
    case ColumnKind::Integer:
    case ColumnKind::Version:
        return QString::number(value.toLongLong());
    case ColumnKind::Real:
    case ColumnKind::Price: {
        // A value that is no number reads as none, whichever backend holds it.
        const std::optional<double> number = ToNumber(value);
        if (!number)
            return QStringLiteral("∅");
        return QString::number(*number, kind == ColumnKind::Price ? 'f' : 'g', kind == ColumnKind::Price ? 2 : 17);
    }
    case ColumnKind::Time:
    case ColumnKind::TimeNow:
        return DateTimeValue(value).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case ColumnKind::Text:
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    }
    return value.toString();
}

// Every value of every program table, row by row in id order.
QStringList EveryValue(QSqlDatabase& db)
{
    QStringList rows;
    for (const TableDef& table : ProgramTables()) {
        QStringList names;
        for (const ColumnDef& column : table.columns)
            names << column.name;
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("select %1 from %2 order by id").arg(names.join(QLatin1Char(',')), table.name)))
            FailSetUp(query.lastError().text());
        while (query.next()) {
            QStringList cells{table.name};
            for (int c = 0; c < names.size(); ++c)
                cells << Shown(query.value(c), table.columns[c].kind);
            rows << cells.join(QLatin1Char('|'));
        }
    }
    return rows;
}

QStringList FileValues(const QString& path)
{
    OwnConnection file = Expect(OwnConnection::Open(path));
    return EveryValue(file.db());
}

QStringList ServerValues(const DbSettings& settings)
{
    ServerConnection server = Expect(ServerConnection::Open(settings));
    return EveryValue(server.db());
}

// A plan of n coals with two rows and targets; its text says whose it is.
NewPlan MakePlan(const QString& xinxi, int coals)
{
    NewPlan plan;
    plan.xinxi = xinxi;
    PlanTargets targets;
    targets.upper[kAsh] = QStringLiteral("12.5");
    targets.tonnage = QStringLiteral("1000");
    targets.proportionCount = QStringLiteral("20");
    for (int j = 0; j < coals; ++j) {
        Mei coal = MakeCoal(QStringLiteral("%1·煤%2").arg(xinxi).arg(j + 1), 400.25 + j);
        coal.HuiFen = QStringLiteral("1%1.50").arg(j);
        coal.Kucun = QStringLiteral("300");
        plan.coals << coal;
        targets.mustInclude << (j == 0);
    }
    for (int r = 0; r < 2; ++r) {
        PlanBlendRow row;
        for (int j = 0; j < coals; ++j)
            row.parts[j] = r + j + 1;
        row.blend.HuiFen = QStringLiteral("11.2%1").arg(r);
        row.blend.JiaGe = 410.17 + r;
        plan.rows << row;
    }
    plan.targets = targets;
    return plan;
}

// Whether a loaded plan is the stored one, row for row.
bool SamePlan(const PlanView& view, const NewPlan& plan)
{
    if (view.information != plan.xinxi || view.coals.size() != plan.coals.size()
        || view.blends.size() != plan.rows.size() || view.targets != plan.targets)
        return false;
    for (int j = 0; j < plan.coals.size(); ++j)
        if (view.coals[j].MingCheng != plan.coals[j].MingCheng || view.coals[j].JiaGe != plan.coals[j].JiaGe
            || view.coals[j].HuiFen != plan.coals[j].HuiFen)
            return false;
    for (int r = 0; r < plan.rows.size(); ++r)
        if (view.blends[r].parts != plan.rows[r].parts || view.blends[r].blend.JiaGe != plan.rows[r].blend.JiaGe)
            return false;
    return true;
}

// Runs work on n threads that start it together; each thread has its own
// connection, as a copy of the program on another computer would.
void AtOnce(int n, const std::function<void(int)>& work)
{
    QSemaphore ready;
    QSemaphore go;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int i = 0; i < n; ++i) {
        threads.emplace_back(QThread::create([&, i] {
            ready.release();
            go.acquire();
            work(i);
            CloseConnection();
        }));
        threads.back()->start();
    }
    ready.acquire(n);
    go.release(n);
    for (auto& thread : threads)
        thread->wait();
}

}  // namespace

Q_DECLARE_METATYPE(ServerProblem)

class ServerTest : public QObject {
    Q_OBJECT
private slots:
    void settingsKeepNoPassword();
    void passwordFileLine_data();
    void passwordFileLine();
    void testConnectionSaysWhatItFinds_data();
    void testConnectionSaysWhatItFinds();
    void changeDatabaseStaysOnFailure();
    void eightCopiesStorePlansAtOnce();
    void deadlockIsRunAgainOnce();
    void restartMidTest_data();
    void restartMidTest();
    void migrationRaceMakesTheSchemaOnce();
    void unversionedFileOpensUnchanged();
    void newerDatabaseIsRefused_data();
    void newerDatabaseIsRefused();
    void copyToServerKeepsEveryValue();
    void backupAndRestoreOnServer();
    void twoCopiesSaveTheSameCoal();
    void noticeArrivesAfterCommit_data();
    void noticeArrivesAfterCommit();
};

// The connection is kept in [database]; a password never is.
void ServerTest::settingsKeepNoPassword()
{
    TestFolder test(false);
    QVERIFY(WriteBytes(test.folder().ConfigPath(), "[config]\r\nchan=1\r\n"));
    QCOMPARE(ReadDbSettings(test.folder()).driver, DbDriver::Sqlite);
    DbSettings settings;
    settings.driver = DbDriver::Postgresql;
    settings.host = QStringLiteral("yard-server");
    settings.port = 5433;
    settings.dbname = QStringLiteral("coal");
    settings.user = QStringLiteral("planner");
    settings.password = QStringLiteral("s3cret");
    Expect(SaveDbSettings(test.folder(), settings));
    const QByteArray ini = ReadBytes(test.folder().ConfigPath());
    QVERIFY(!ini.contains("s3cret"));
    QVERIFY(ini.contains("chan=1"));
    DbSettings back = ReadDbSettings(test.folder());
    QVERIFY(back.password.isEmpty());
    back.password = settings.password;
    QCOMPARE(back, settings);
}

// One line per database in the password file, readable by its owner alone;
// a line for the same database is replaced, others stay.
void ServerTest::passwordFileLine_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("after");
    QTest::newRow("new file") << "" << "yard" << "pw" << "yard:5432:coal:planner:pw\n";
    QTest::newRow("other lines kept, same one replaced")
        << "# mine\nother:5432:x:y:z\nyard:5432:coal:planner:old\n" << "yard" << "new"
        << "# mine\nother:5432:x:y:z\nyard:5432:coal:planner:new\n";
    QTest::newRow("colons and backslashes escaped")
        << "" << "/run/pg:socket" << "a:b\\c" << "/run/pg\\:socket:5432:coal:planner:a\\:b\\\\c\n";
}

void ServerTest::passwordFileLine()
{
    QFETCH(QString, before);
    QFETCH(QString, host);
    QFETCH(QString, password);
    QFETCH(QString, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pgpass"));
    if (!before.isEmpty())
        QVERIFY(WriteBytes(path, before.toUtf8()));
    qputenv("PGPASSFILE", path.toLocal8Bit());
    DbSettings settings;
    settings.driver = DbDriver::Postgresql;
    settings.host = host;
    settings.dbname = QStringLiteral("coal");
    settings.user = QStringLiteral("planner");
    settings.password = password;
    const Status remembered = RememberPassword(settings);
    qunsetenv("PGPASSFILE");
    QVERIFY2(remembered.ok(), qPrintable(remembered.message()));
    QCOMPARE(QString::fromUtf8(ReadBytes(path)), after);
    QCOMPARE(QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void ServerTest::testConnectionSaysWhatItFinds_data()
{
    QTest::addColumn<QString>("database");  // "" a new one, "fill" one with data
    QTest::addColumn<int>("port");
    QTest::addColumn<ServerProblem>("problem");
    QTest::addColumn<QString>("said");
    QTest::newRow("empty database") << "" << DbSettings::kDefaultPort << ServerProblem::None << "";
    QTest::newRow("database with data") << "fill" << DbSettings::kDefaultPort << ServerProblem::None << "";
    QTest::newRow("no such database") << "nosuchdb" << DbSettings::kDefaultPort << ServerProblem::NoDatabase
                                      << "无法连接数据库服务器：服务器上没有这个数据库";
    QTest::newRow("no server there") << "" << 1 << ServerProblem::Unreachable
                                     << "无法连接数据库服务器：服务器没有运行，或者无法通过网络到达";
}

void ServerTest::testConnectionSaysWhatItFinds()
{
    if (MaySkipWithoutServer())
        QSKIP("no test server (VELMORA_TEST_PGHOST)");
    QFETCH(QString, database);
    QFETCH(int, port);
    QFETCH(ServerProblem, problem);
    QFETCH(QString, said);
    ServerFolder server(database == QLatin1String("fill"));
    if (database == QLatin1String("fill")) {
        Expect(SaveCoal(server.folder(), MakeCoal(QStringLiteral("甲"), 1)));
        Expect(StorePlan(server.folder(), MakePlan(QStringLiteral("一"), 2)));
    }
    DbSettings settings = server.settings();
    settings.port = port;
    if (database == QLatin1String("nosuchdb"))
        settings.dbname = database;
    const ServerCheck check = TestConnection(settings);
    QCOMPARE(check.problem, problem);
    QVERIFY2(said.isEmpty() ? check.message.isEmpty() : check.message.startsWith(said), qPrintable(check.message));
    if (problem != ServerProblem::None)
        return;
    QVERIFY(check.serverVersion.startsWith(QStringLiteral("PostgreSQL")));
    QCOMPARE(check.holdsData(), database == QLatin1String("fill"));
    QCOMPARE(check.hasTables, database == QLatin1String("fill"));
    QCOMPARE(check.coals, database == QLatin1String("fill") ? 1 : 0);
    QCOMPARE(check.plans, database == QLatin1String("fill") ? 1 : 0);
    QVERIFY(check.schemaVersion == (database == QLatin1String("fill") ? std::optional<int>(kSchemaVersion) : std::nullopt));
}

// Moving to a database that cannot be reached keeps the one in use and
// config.ini; moving to one that can writes it, without the password.
void ServerTest::changeDatabaseStaysOnFailure()
{
    if (MaySkipWithoutServer())
        QSKIP("no test server (VELMORA_TEST_PGHOST)");
    TestFolder local;
    Expect(SaveCoal(local.folder(), MakeCoal(QStringLiteral("本机的煤"), 1)));
    const QString database = NewTestDatabase();
    DbSettings server = TestServerSettings(database);
    server.password = QStringLiteral("typed");
    DbSettings away = server;
    away.port = 1;
    const Result<DatabaseState> failed = ChangeDatabase(local.folder(), away);
    QVERIFY(!failed.ok());
    QVERIFY2(failed.message().startsWith(QStringLiteral("无法连接数据库服务器：")), qPrintable(failed.message()));
    QCOMPARE(DatabaseOf(local.folder()).driver, DbDriver::Sqlite);
    QVERIFY(!QFile::exists(local.folder().ConfigPath()));
    QCOMPARE(Expect(LoadCoals(local.folder())).size(), 1);

    QCOMPARE(Expect(ChangeDatabase(local.folder(), server)), DatabaseState::Created);
    QCOMPARE(Expect(LoadCoals(local.folder())).size(), 0);
    QVERIFY(OnServer());
    const QByteArray ini = ReadBytes(local.folder().ConfigPath());
    QVERIFY(ini.contains("driver=postgresql"));
    QVERIFY(!ini.contains("typed"));
    CloseConnection();
    ReleaseTestDatabase(database);
}

// Eight planners store plans at the same moment, each over its own
// connection: every plan is whole, and no two share an id.
void ServerTest::eightCopiesStorePlansAtOnce()
{
    if (MaySkipWithoutServer())
        QSKIP("no test server (VELMORA_TEST_PGHOST)");
    ServerFolder server;
    constexpr int kCopies = 8;
    constexpr int kPlansEach = 5;
    std::vector<std::vector<int>> ids(kCopies);
    std::atomic<int> failures{0};
    AtOnce(kCopies, [&](int copy) {
        for (int p = 0; p < kPlansEach; ++p) {
            const Result<int> id = StorePlan(server.folder(), MakePlan(QStringLiteral("%1-%2").arg(copy).arg(p), 2 + p));
            if (id)
                ids[copy].push_back(*id);
            else
                ++failures;
        }
    });
    QCOMPARE(failures.load(), 0);
    QSet<int> distinct;
    for (int copy = 0; copy < kCopies; ++copy) {
        for (int p = 0; p < kPlansEach; ++p) {
            const int id = ids[copy][p];
            distinct.insert(id);
            const PlanView view = Expect(LoadPlanView(server.folder(), id));
            QVERIFY2(SamePlan(view, MakePlan(QStringLiteral("%1-%2").arg(copy).arg(p), 2 + p)), qPrintable(view.information));
        }
    }
    QCOMPARE(distinct.size(), kCopies * kPlansEach);
    QCOMPARE(CountRows(server.folder(), QStringLiteral("Lishi_fangan")), kCopies * kPlansEach);
}

// Two planners' transactions wait for each other: the server ends one of them,
// which runs once more and then completes; neither is lost.
void ServerTest::deadlockIsRunAgainOnce()
{
    if (MaySkipWithoutServer())
        QSKIP("no test server (VELMORA_TEST_PGHOST)");
    ServerFolder server;
    const int a = Expect(SaveCoal(server.folder(), MakeCoal(QStringLiteral("A"), 1)));
    const int b = Expect(SaveCoal(server.folder(), MakeCoal(QStringLiteral("B"), 1)));
    QSemaphore bothHoldOne;
    std::atomic<int> runs{0};
    Status ended[2];
    AtOnce(2, [&](int copy) {
        const int first = copy == 0 ? a : b;
        const int second = copy == 0 ? b : a;
        bool waited = false;
        ended[copy] = InTransaction(server.folder(), [&]() -> Status {
            ++runs;
            const QString raise = QStringLiteral("update meitan set JiaGe = JiaGe + 1 where id=?");
            if (Status done = Execute(raise, {first}); !done)
                return done;
            if (!waited) {
                waited = true;
                bothHoldOne.release();
                bothHoldOne.acquire(2);
                bothHoldOne.release(2);
            }
            return Execute(raise, {second});
        });
    });
    QVERIFY2(ended[0].ok(), qPrintable(ended[0].message()));
    QVERIFY2(ended[1].ok(), qPrintable(ended[1].message()));
    QCOMPARE(runs.load(), 3);
    QCOMPARE(Expect(LoadCoal(server.folder(), a))->JiaGe, 3.0);
    QCOMPARE(Expect(LoadCoal(server.folder(), b))->JiaGe, 3.0);
}

// The server restarts under a running program: the next action reconnects,
// with its session set up again; a transaction it broke is gone whole.
void ServerTest::restartMidTest_data()
{
    QTest::addColumn<bool>("inTransaction");
    QTest::newRow("between actions") << false;
    QTest::newRow("inside a transaction") << true;
}

void ServerTest::restartMidTest()
{
    if (MaySkipWithoutServer())
        QSKIP("no test server (VELMORA_TEST_PGHOST)");
    QFETCH(bool, inTransaction);
    ServerFolder server;
    int sessions = 0;
    const int hook = AddSessionHook([&](QSqlDatabase&) -> Status {
        ++sessions;
        return {};
    });
    Expect(SaveCoal(server.folder(), MakeCoal(QStringLiteral("甲"), 1)));
    QVERIFY(OnServer());  // the main thread's connection stays open
    const int before = sessions;
    if (inTransaction) {
        Status broken = InTransaction(server.folder(), [&]() -> Status {
            if (Result<int> saved = SaveCoal(server.folder(), MakeCoal(QStringLiteral("乙"), 2)); !saved)
                return saved.failure();
            if (!RestartTestServer())
                return Fail(QStringLiteral("restart failed"));
            return SaveCoal(server.folder(), MakeCoal(QStringLiteral("丙"), 3)).status();
        });
        QVERIFY(!broken.ok());
        QVERIFY2(broken.message().contains(QStringLiteral("连接中断")), qPrintable(broken.message()));
    } else {
        QVERIFY(RestartTestServer());
    }
    const QVector<Mei> coals = Expect(LoadCoals(server.folder()));
    QCOMPARE(coals.size(), 1);
    QCOMPARE(coals[0].MingCheng, QStringLiteral("甲"));
    QCOMPARE(sessions, before + 1);
    QSqlQuery zone = Expect(RunQuery(QStringLiteral("select extract(timezone from now())::integer")));
    QVERIFY(zone.next());
    QCOMPARE(zone.value(0).toInt(), QDateTime::currentDateTime().offsetFromUtc());
    RemoveSessionHook(hook);

    // A server that stays away says so, with the cause.
    DbSettings away = server.settings();
    away.port = 1;
    UseDatabase(server.folder(), away);
    const Result<QVector<Mei>> failed = LoadCoals(server.folder());
    QVERIFY(!failed.ok());
    QVERIFY2(failed.message().startsWith(QStringLiteral("无法连接数据库服务器：服务器没有运行")), qPrintable(failed.message()));
}

// Two copies start at once on an empty database: one makes the schema, the
// other waits and finds it made; every version is recorded once.
void ServerTest::migrationRaceMakesTheSchemaOnce()
{
    if (MaySkipWithoutServer())
        QSKIP("no test server (VELMORA_TEST_PGHOST)");
    for (int round = 0; round < 3; ++round) {
        ServerFolder server(false);
        Result<DatabaseState> states[2] = {Fail(QString()), Fail(QString())};
        AtOnce(2, [&](int copy) { states[copy] = EnsureDatabase(server.folder()); });
        QVERIFY2(states[0].ok(), qPrintable(states[0].message()));
        QVERIFY2(states[1].ok(), qPrintable(states[1].message()));
        QCOMPARE(int(*states[0] == DatabaseState::Created) + int(*states[1] == DatabaseState::Created), 1);
        auto connection = Expect(ConnectionScope::Open(server.folder()));
        QSqlQuery versions = Expect(RunQuery(QStringLiteral("select banben from banben order by banben")));
        QStringList recorded;
        while (versions.next())
            recorded << versions.value(0).toString();
        QStringList every;
        for (int v : SchemaVersions())
            every << QString::number(v);
        QCOMPARE(recorded, every);
        QSqlDatabase db = DbConn();
        QCOMPARE(Expect(MissingSteps(db)).size(), 0);
    }
}

// A complete file the program made before versions were recorded opens
// without a byte written; versions are recorded once something is added.
void ServerTest::unversionedFileOpensUnchanged()
{
    TestFolder test;
    {
        auto connection = Expect(ConnectionScope::Open(test.folder()));
        Expect(Execute(QStringLiteral("drop table banben")));
    }
    const QByteArray file = ReadBytes(test.folder().DbPath());
    Expect(EnsureDatabase(test.folder()));
    QCOMPARE(ReadBytes(test.folder().DbPath()), file);
    {
        auto connection = Expect(ConnectionScope::Open(test.folder()));
        QSqlDatabase db = DbConn();
        QVERIFY(!Expect(StoredVersion(db)).has_value());
        Expect(Execute(QStringLiteral("drop index idx_lishi_canshu_followid")));
    }
    Expect(EnsureDatabase(test.folder()));
    auto connection = Expect(ConnectionScope::Open(test.folder()));
    QSqlDatabase db = DbConn();
    QVERIFY(Expect(StoredVersion(db)) == std::optional<int>(kSchemaVersion));
    QCOMPARE(Expect(MissingSteps(db)).size(), 0);
}

// A database a newer program made is refused, and nothing is written to it.
void ServerTest::newerDatabaseIsRefused_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::newRow("coal.dat") << false;
    QTest::newRow("server") << true;
}

void ServerTest::newerDatabaseIsRefused()
{
    QFETCH(bool, onServer);
    if (onServer && MaySkipWithoutServer())
        QSKIP("no test server (VELMORA_TEST_PGHOST)");
    std::unique_ptr<ServerFolder> server;
    std::unique_ptr<TestFolder> local;
    const AppFolder* folder = nullptr;
    if (onServer) {
        server = std::make_unique<ServerFolder>();
        folder = &server->folder();
    } else {
        local = std::make_unique<TestFolder>();
        folder = &local->folder();
    }
    {
        auto connection = Expect(ConnectionScope::Open(*folder));
        Expect(Execute(QStringLiteral("drop index idx_lishi_meitan_followid")));
        Expect(Execute(QStringLiteral("insert into banben (banben) values (9)")));
    }
    CloseConnection();
    const QByteArray file = onServer ? QByteArray() : ReadBytes(folder->DbPath());
    const Result<DatabaseState> opened = EnsureDatabase(*folder);
    QVERIFY(!opened.ok());
    QVERIFY2(opened.message().contains(QStringLiteral("结构版本是 9，比本程序能使用的版本 %1 新").arg(kSchemaVersion)),
             qPrintable(opened.message()));
    QVERIFY2(opened.message().contains(QStringLiteral("没有对它做任何改动")), qPrintable(opened.message()));
    if (!onServer)
        QCOMPARE(ReadBytes(folder->DbPath()), file);
    auto connection = Expect(ConnectionScope::Open(*folder));
    QSqlDatabase db = DbConn();
    QCOMPARE(Expect(MissingSteps(db)).size(), 1);  // the dropped index was not made again
}

// Everything of coal.dat reaches an empty server database, every value as it
// was; the server's next ids follow; a second copy is refused untouched.
void ServerTest::copyToServerKeepsEveryValue()
{
    if (MaySkipWithoutServer())
        QSKIP("no test server (VELMORA_TEST_PGHOST)");
    TestFolder local;
    Mei full = MakeCoal(QStringLiteral("大同'精煤 \"A\""), 350.456);
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(full, i) = QStringLiteral("%1.25").arg(i);
    full.Kucun = QStringLiteral("1200");
    full.MeiChan = QStringLiteral("2.50");
    full.Riqi = QDateTime(QDate(2025, 11, 3), QTime(7, 45, 12));
    Expect(SaveCoal(local.folder(), full));
    Expect(SaveCoal(local.folder(), MakeCoal(QStringLiteral("空的"), 0)));
    {
        // A row another tool wrote, with Nulls and a price that is no number.
        auto connection = Expect(ConnectionScope::Open(local.folder()));
        Expect(Execute(QStringLiteral("insert into meitan (Name, JiaGe) values ('别的程序', 'abc')")));
    }
    const int first = Expect(StorePlan(local.folder(), MakePlan(QStringLiteral("第一"), 3)));
    const int gone = Expect(StorePlan(local.folder(), MakePlan(QStringLiteral("删掉的"), 2)));
    Expect(StorePlan(local.folder(), MakePlan(QStringLiteral("第三"), 10)));
    Expect(DeletePlan(local.folder(), gone));
    TargetSet set{QStringLiteral("焦化 G75"), {}, {}, QStringLiteral("800"), QStringLiteral("60"), true};
    set.lower[9] = QStringLiteral("75");
    set.upper[6] = QStringLiteral("10.5");
    QCOMPARE(Expect(SaveTargetSet(local.folder(), set, false)), TargetSetSave::Saved);
    CloseConnection();

    ServerFolder server(false);
    const Result<CopyCounts> copied = CopyLocalToServer(local.folder().DbPath(), server.settings());
    QVERIFY2(copied.ok(), qPrintable(copied.message()));
    QCOMPARE(copied->rowsOf(QStringLiteral("meitan")), 3);
    QCOMPARE(copied->rowsOf(QStringLiteral("Lishi_fangan")), 2);
    QCOMPARE(copied->rowsOf(QStringLiteral("Zhibiao_muban")), 1);

    const QStringList expected = FileValues(local.folder().DbPath());
    const QStringList onServer = ServerValues(server.settings());
    QCOMPARE(onServer.size(), expected.size());
    for (int r = 0; r < expected.size(); ++r)
        QCOMPARE(onServer[r], expected[r]);

    Expect(EnsureDatabase(server.folder()));
    QVERIFY(SamePlan(Expect(LoadPlanView(server.folder(), first)), MakePlan(QStringLiteral("第一"), 3)));
    QCOMPARE(Expect(LoadTargetSets(server.folder())), QVector<TargetSet>{set});
    const int next = Expect(StorePlan(server.folder(), MakePlan(QStringLiteral("新"), 2)));
    QVERIFY(next > gone + 1);
    QCOMPARE(Expect(SaveCoal(server.folder(), MakeCoal(QStringLiteral("新煤"), 1))), 4);

    const QStringList now = ServerValues(server.settings());
    const Result<CopyCounts> again = CopyLocalToServer(local.folder().DbPath(), server.settings());
    QVERIFY(!again.ok());
    QCOMPARE(again.kind(), FailureKind::Invalid);
    QVERIFY2(again.message().contains(QStringLiteral("已经有数据（煤种 4 个，配煤方案 3 个")), qPrintable(again.message()));
    QCOMPARE(ServerValues(server.settings()), now);
}

// A backup of the server is a file in the local format that restores anywhere;
// a restore into the server replaces its data, keeping what it replaced.
void ServerTest::backupAndRestoreOnServer()
{
    if (MaySkipWithoutServer())
        QSKIP("no test server (VELMORA_TEST_PGHOST)");
    ServerFolder server;
    Expect(SaveCoal(server.folder(), MakeCoal(QStringLiteral("备份时的煤"), 512.5)));
    const int plan = Expect(StorePlan(server.folder(), MakePlan(QStringLiteral("备份时"), 4)));
    const QStringList backedUp = ServerValues(server.settings());

    const QDate today(2026, 3, 4);
    const Result<BackupOutcome> backup = BackupData(server.folder(), today);
    QVERIFY2(backup.ok(), qPrintable(backup.message()));
    QCOMPARE(QFileInfo(backup->path).fileName(), QStringLiteral("2026-03-04.bak"));
    QVERIFY(CheckDatabaseFile(backup->path, true).ok());
    QCOMPARE(FileValues(backup->path), backedUp);

    // The backup restores into coal.dat ...
    TestFolder local;
    const Result<RestoreOutcome> intoFile = RestoreData(local.folder(), backup->path, QDateTime(today, QTime(9, 0)));
    QVERIFY2(intoFile.ok(), qPrintable(intoFile.message()));
    QVERIFY(SamePlan(Expect(LoadPlanView(local.folder(), plan)), MakePlan(QStringLiteral("备份时"), 4)));

    // ... and back into the server, after the server's data changed.
    Expect(DeletePlan(server.folder(), plan));
    Expect(SaveCoal(server.folder(), MakeCoal(QStringLiteral("之后的煤"), 1)));
    const QStringList changed = ServerValues(server.settings());
    const Result<RestoreOutcome> restored =
        RestoreData(server.folder(), backup->path, QDateTime(today, QTime(10, 11, 12)));
    QVERIFY2(restored.ok(), qPrintable(restored.message()));
    QCOMPARE(ServerValues(server.settings()), backedUp);
    QCOMPARE(FileValues(restored->kept), changed);
    QVERIFY(SamePlan(Expect(LoadPlanView(server.folder(), plan)), MakePlan(QStringLiteral("备份时"), 4)));

    // A file that is no coal database leaves the server as it was.
    const QString junk = local.path(QStringLiteral("junk.bak"));
    QVERIFY(WriteBytes(junk, QByteArray(4096, 'x')));
    const Result<RestoreOutcome> refused = RestoreData(server.folder(), junk, QDateTime(today, QTime(11, 0)));
    QVERIFY(!refused.ok());
    QCOMPARE(ServerValues(server.settings()), backedUp);

    const Result<CompactOutcome> compacted = CompactDatabase(server.folder(), today);
    QCOMPARE(compacted.kind(), FailureKind::Invalid);
}

QTEST_GUILESS_MAIN(ServerTest)
// Two copies save the coal both read at the same version at the same
// moment: the server takes one after the other, the second is refused and
// names the first; saving over it on purpose then succeeds, and the record
// holds each value before and after.
void ServerTest::twoCopiesSaveTheSameCoal()
{
    if (MaySkipWithoutServer())
        QSKIP("no test server (VELMORA_TEST_PGHOST)");
    ServerFolder server;
    const int id = Expect(SaveCoal(server.folder(), MakeCoal(QStringLiteral("同一个煤"), 100)));
    const int version = Expect(LoadStoredCoal(server.folder(), id))->version;
    const QStringList users{QStringLiteral("zhang@PC-3"), QStringLiteral("li@PC-1")};
    CoalSaveOutcome outcomes[2];
    std::atomic<int> failures{0};
    AtOnce(2, [&](int copy) {
        Mei coal = MakeCoal(QStringLiteral("同一个煤"), 200 + copy);
        coal.id = id;
        const Result<CoalSaveOutcome> saved = StoreCoal(server.folder(), coal, CoalSaveOptions{version, users[copy]});
        if (saved)
            outcomes[copy] = *saved;
        else
            ++failures;
    });
    QCOMPARE(failures.load(), 0);
    const int winner = outcomes[0].kind == CoalSaveOutcome::Kind::Saved ? 0 : 1;
    const int loser = 1 - winner;
    QCOMPARE(int(outcomes[winner].kind), int(CoalSaveOutcome::Kind::Saved));
    QCOMPARE(int(outcomes[loser].kind), int(CoalSaveOutcome::Kind::Conflict));
    QCOMPARE(outcomes[loser].savedBy, users[winner]);
    QCOMPARE(Expect(LoadCoal(server.folder(), id))->JiaGe, 200.0 + winner);

    Mei mine = MakeCoal(QStringLiteral("同一个煤"), 200 + loser);
    mine.id = id;
    QCOMPARE(int(Expect(StoreCoal(server.folder(), mine, CoalSaveOptions{std::nullopt, users[loser]})).kind),
             int(CoalSaveOutcome::Kind::Saved));
    QCOMPARE(Expect(LoadCoal(server.folder(), id))->JiaGe, 200.0 + loser);
    const QVector<CoalChange> changes = Expect(LoadCoalChanges(server.folder(), id));
    QCOMPARE(changes[0].user, users[loser]);
    QCOMPARE(changes[0].before, QStringLiteral("%1.00").arg(200 + winner));
    QCOMPARE(changes[0].after, QStringLiteral("%1.00").arg(200 + loser));
    QCOMPARE(changes[1].user, users[winner]);
    QCOMPARE(changes[1].before, QStringLiteral("100.00"));
}

// Another program's change reaches this one's listener once it commits, never
// before and never when it rolls back; also after the server restarted.
void ServerTest::noticeArrivesAfterCommit_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("committed") << "commit";
    QTest::newRow("rolled back") << "rollback";
    QTest::newRow("coal saved") << "coal";
    QTest::newRow("plan stored") << "plan";
    QTest::newRow("after a restart") << "restart";
}

void ServerTest::noticeArrivesAfterCommit()
{
    if (MaySkipWithoutServer())
        QSKIP("no test server (VELMORA_TEST_PGHOST)");
    QFETCH(QString, how);
    ServerFolder server;
    ChangeListener listener(server.folder());
    listener.listen();
    QVERIFY(listener.listening());
    QSignalSpy coals(&listener, &ChangeListener::coalsChanged);
    QSignalSpy plans(&listener, &ChangeListener::plansChanged);
    if (how == QLatin1String("coal") || how == QLatin1String("plan")) {
        // The program's own writes, from a connection of their own.
        AtOnce(1, [&](int) {
            if (how == QLatin1String("coal"))
                Expect(SaveCoal(server.folder(), MakeCoal(QStringLiteral("别人的"), 1)));
            else
                Expect(StorePlan(server.folder(), MakePlan(QStringLiteral("别人的"), 2)));
        });
        QSignalSpy& heard = how == QLatin1String("coal") ? coals : plans;
        QVERIFY(heard.wait(5000));
        QCOMPARE(coals.count() + plans.count(), 1);
        return;
    }
    if (how == QLatin1String("restart")) {
        QVERIFY(RestartTestServer());
        // The next statement finds the connection gone, opens it again, and
        // the listener subscribes anew.
        QCOMPARE(Expect(CountCoals(server.folder())), 0);
        bool heard = false;
        for (int attempt = 0; attempt < 5 && !heard; ++attempt) {
            ServerConnection other = Expect(ServerConnection::Open(server.settings()));
            Expect(other.exec(QStringLiteral("select pg_notify(?, '')"), {kCoalsChannel}));
            heard = coals.wait(1000);
        }
        QVERIFY(heard);
        QVERIFY(listener.listening());
        return;
    }
    ServerConnection other = Expect(ServerConnection::Open(server.settings()));
    Expect(other.exec(QStringLiteral("begin")));
    Expect(other.exec(QStringLiteral("insert into meitan (Name, JiaGe) values ('别人的', 1)")));
    Expect(other.exec(QStringLiteral("select pg_notify(?, '')"), {kCoalsChannel}));
    QVERIFY(!coals.wait(1000));
    Expect(other.exec(how));
    if (how == QLatin1String("commit"))
        QVERIFY(coals.wait(5000));
    else
        QVERIFY(!coals.wait(1500));
    QCOMPARE(plans.count(), 0);
}

#include "tst_server.moc"
