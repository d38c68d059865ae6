// The data file under stress: a writer killed in the middle of a write, files
// that carry what the program does not make, a coal.dat that is a link, one
// that another program holds in write-ahead-log mode, older files without the
// followid indexes, compaction, and work stopped half way.

#include "data/Backup.h"
#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "support/TestFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

const QDate kToday(2026, 12, 8);
const QDateTime kNow(kToday, QTime(10, 11, 12));

// A connection of the test's own, as another program would hold one.
class Other {
public:
    explicit Other(const QString& path, const QString& name = QStringLiteral("other")) : name_(name)
    {
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db_.setDatabaseName(path);
        if (!db_.open())
            FailSetUp(QStringLiteral("cannot open ") + path);
    }
    ~Other()
    {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
    }
    void run(const QString& sql)
    {
        QSqlQuery query(db_);
        if (!query.exec(sql))
            FailSetUp(sql + QStringLiteral(": ") + query.lastError().text());
    }

private:
    QString name_;
    QSqlDatabase db_;
};

void RunOn(const QString& path, const QStringList& statements)
{
    Other other(path, QStringLiteral("setup"));
    for (const QString& sql : statements)
        other.run(sql);
}

// A coal database with a few coals and plans, as a file of its own.
QString MakeDatabase(const QTemporaryDir& dir, const QString& name, const QString& coal)
{
    const AppFolder folder{dir.filePath(name)};
    QDir().mkpath(folder.dir);
    Expect(EnsureDatabase(folder));
    Expect(SaveCoal(folder, MakeCoal(coal, 1)));
    return folder.DbPath();
}

// Tables whose first indexed column is followid.
QStringList FollowidIndexed(const QString& path)
{
    Other other(path, QStringLiteral("indexes"));
    QSqlQuery query(QSqlDatabase::database(QStringLiteral("indexes")));
    query.exec(QStringLiteral("select m.tbl_name from sqlite_master m, pragma_index_info(m.name) i "
                              "where m.type='index' and i.seqno=0 and i.name='followid' order by m.tbl_name"));
    QStringList tables;
    while (query.next())
        tables << query.value(0).toString();
    tables.sort(Qt::CaseInsensitive);
    return tables;
}

// Lots of rows, so that copies take several steps.
void AddBulk(const QString& path, int rows)
{
    RunOn(path, {QStringLiteral("BEGIN"),
                 QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<%1) "
                                "INSERT INTO Lishi_meitan (followid, Name, JiaGe) "
                                "SELECT i, printf('煤%%d', i) || substr(hex(zeroblob(400)), 1, 800), i FROM n")
                     .arg(rows),
                 QStringLiteral("COMMIT")});
}

// The child: writes coals in one transaction that spills into the file, and
// is killed before it commits.
int WriteAndDie(const QString& path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    if (!db.open())
        return 2;
    QSqlQuery query(db);
    query.exec(QStringLiteral("PRAGMA cache_size=10"));
    query.exec(QStringLiteral("BEGIN"));
    query.exec(QStringLiteral("DELETE FROM meitan"));
    query.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000) "
                              "INSERT INTO meitan (Name, JiaGe) SELECT hex(randomblob(300)), i FROM n"));
    std::raise(SIGKILL);
    return 3;
}

}  // namespace

class DataFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hotJournalOfAKilledWriterIsRolledBack_data();
    void hotJournalOfAKilledWriterIsRolledBack();
    void onlyWhatTheProgramMakesIsTrusted_data();
    void onlyWhatTheProgramMakesIsTrusted();
    void restoreWritesThroughALink();
    void backupHoldsWhatIsStillInTheLog();
    void restoreRefusedWhileAnotherHoldsTheFile_data();
    void restoreRefusedWhileAnotherHoldsTheFile();
    void olderFileGainsTheFollowidIndexes_data();
    void olderFileGainsTheFollowidIndexes();
    void olderFileGainsTheCoalVersions_data();
    void olderFileGainsTheCoalVersions();
    void compactionShrinksAndKeepsTheData();
    void stoppingHalfWayLeavesEverythingAsItWas_data();
    void stoppingHalfWayLeavesEverythingAsItWas();
};

// A write killed half way leaves coal.dat-journal beside a changed file.
// Start-up and the restore's check open the file so that SQLite rolls the
// journal back: the data is as the last finished write left it.
void DataFileTest::hotJournalOfAKilledWriterIsRolledBack_data()
{
    QTest::addColumn<bool>("restoring");  // the killed writer wrote the chosen backup, else coal.dat
    QTest::newRow("start-up") << false;
    QTest::newRow("restore") << true;
}

void DataFileTest::hotJournalOfAKilledWriterIsRolledBack()
{
    QFETCH(bool, restoring);
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal(QStringLiteral("留下的煤"), 1)));
    const QString path = restoring ? t.path("chosen.bak") : t.path("coal.dat");
    if (restoring)
        QVERIFY(QFile::copy(t.path("coal.dat"), path));
    const QString before = DatabaseText(t.path("coal.dat"));

    QProcess writer;
    writer.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--write-and-die"), path});
    QVERIFY(writer.waitForFinished(30000));
    QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
    QVERIFY(QFileInfo(path + "-journal").size() > 0);

    if (restoring) {
        Expect(SaveCoal(t.folder(), MakeCoal(QStringLiteral("还原后不在"), 1)));
        const Result<RestoreOutcome> restored = RestoreData(t.folder(), path, kNow);
        QVERIFY2(restored.ok(), qPrintable(restored.message()));
    } else {
        const Result<DatabaseState> opened = EnsureDatabase(t.folder());
        QVERIFY2(opened.ok(), qPrintable(opened.message()));
    }
    QCOMPARE(DatabaseText(t.path("coal.dat")), before);
    QVERIFY(!QFileInfo(path + "-journal").exists() || QFileInfo(path + "-journal").size() == 0);
}

// What a file may carry beside the program's own tables. A trigger, a view, a
// virtual table, an index that makes writes fail, or anything else under one
// of the program's names is refused, at start-up and by the restore, with
// what it is; a table of another program and a plain index are not.
void DataFileTest::onlyWhatTheProgramMakesIsTrusted_data()
{
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QString>("mentions");  // "" = trusted
    QTest::newRow("a trigger that empties the coals")
        << QStringList{"CREATE TRIGGER wipe AFTER INSERT ON Lishi_fangan BEGIN DELETE FROM meitan; END"}
        << "触发器 wipe";
    QTest::newRow("a view") << QStringList{"CREATE VIEW cheap AS SELECT * FROM meitan WHERE JiaGe < 500"}
                            << "视图 cheap";
    QTest::newRow("a view named like a table")
        << QStringList{"DROP TABLE Lishi_zhibiao", "CREATE VIEW Lishi_zhibiao AS SELECT 1 AS id"}
        << "视图 Lishi_zhibiao（与本软件的数据表同名）";
    QTest::newRow("an index named like a table")
        << QStringList{"DROP TABLE Lishi_zhibiao", "CREATE INDEX Lishi_zhibiao ON meitan (Name)"}
        << "索引 Lishi_zhibiao 占用了本软件数据表的名称";
    QTest::newRow("a virtual table") << QStringList{"CREATE VIRTUAL TABLE notes USING fts4(body)"}
                                     << "外部数据表（虚拟表）notes";
    QTest::newRow("a unique index on the coal names")
        << QStringList{"CREATE UNIQUE INDEX one_name ON meitan (Name)"} << "唯一索引 one_name";
    QTest::newRow("an index on an expression") << QStringList{"CREATE INDEX price ON meitan (abs(JiaGe))"}
                                               << "带表达式的索引 price";
    QTest::newRow("a partial index") << QStringList{"CREATE INDEX priced ON meitan (Name) WHERE JiaGe > 0"}
                                     << "带条件的索引 priced";
    QTest::newRow("one of the program's index names on something else")
        << QStringList{"DROP INDEX idx_lishi_meitan_followid", "CREATE INDEX idx_lishi_meitan_followid ON meitan (Name)"}
        << "索引 idx_lishi_meitan_followid 与本软件的同名索引不同";
    QTest::newRow("a table of another program, with its own unique index")
        << QStringList{"CREATE TABLE notes (body TEXT UNIQUE)"} << "";
    QTest::newRow("a plain index on the coal names") << QStringList{"CREATE INDEX by_name ON meitan (Name)"} << "";
}

void DataFileTest::onlyWhatTheProgramMakesIsTrusted()
{
    QFETCH(QStringList, statements);
    QFETCH(QString, mentions);
    QTemporaryDir dir;
    const QString file = MakeDatabase(dir, QStringLiteral("file"), QStringLiteral("文件里的煤"));
    RunOn(file, statements);
    const QByteArray bytes = ReadBytes(file);

    // As a backup to restore.
    TestFolder t;
    const QString current = DatabaseText(t.path("coal.dat"));
    const Result<RestoreOutcome> restored = RestoreData(t.folder(), file, kNow);
    if (mentions.isEmpty()) {
        QVERIFY2(restored.ok(), qPrintable(restored.message()));
        QVERIFY(DatabaseText(t.path("coal.dat")).contains(QStringLiteral("文件里的煤")));
    } else {
        QVERIFY(!restored.ok());
        QCOMPARE(restored.kind(), FailureKind::Invalid);
        QVERIFY2(restored.message().contains(mentions), qPrintable(restored.message()));
        QCOMPARE(DatabaseText(t.path("coal.dat")), current);
    }
    QCOMPARE(ReadBytes(file), bytes);

    // As the coal.dat found at start-up.
    TestFolder opened(false);
    QVERIFY(QFile::copy(file, opened.path("coal.dat")));
    const Result<DatabaseState> state = EnsureDatabase(opened.folder());
    if (mentions.isEmpty()) {
        QVERIFY2(state.ok(), qPrintable(state.message()));
    } else {
        QVERIFY(!state.ok());
        QVERIFY2(state.message().contains(mentions), qPrintable(state.message()));
        QVERIFY2(!state.message().contains(QStringLiteral("占用、可以写入")), qPrintable(state.message()));
        QCOMPARE(ReadBytes(opened.path("coal.dat")), bytes);
    }
}

// A coal.dat that is a link to a shared file: the restore writes the backup's
// data into the shared file, and the link stays a link.
void DataFileTest::restoreWritesThroughALink()
{
    QTemporaryDir dir;
    const QString shared = MakeDatabase(dir, QStringLiteral("shared"), QStringLiteral("共享的煤"));
    const QString backup = MakeDatabase(dir, QStringLiteral("backup"), QStringLiteral("备份的煤"));
    TestFolder t;
    QVERIFY(QFile::remove(t.path("coal.dat")));
    QVERIFY(QFile::link(shared, t.path("coal.dat")));
    const QString sharedBefore = DatabaseText(shared);

    const BackupOutcome backedUp = Expect(BackupData(t.folder(), kToday));
    QCOMPARE(DatabaseText(backedUp.path), sharedBefore);
    const Result<RestoreOutcome> restored = RestoreData(t.folder(), backup, kNow);
    QVERIFY2(restored.ok(), qPrintable(restored.message()));

    QVERIFY(QFileInfo(t.path("coal.dat")).isSymLink());
    QCOMPARE(DatabaseText(shared), DatabaseText(backup));
    QCOMPARE(DatabaseText(restored->kept), sharedBefore);
    QVERIFY(!QFileInfo::exists(t.path("coal.dat-journal")));
}

// Another program holds coal.dat in write-ahead-log mode: the newest plan is
// still only in coal.dat-wal. The backup holds it all the same.
void DataFileTest::backupHoldsWhatIsStillInTheLog()
{
    TestFolder t;
    Other other(t.path("coal.dat"));
    other.run(QStringLiteral("PRAGMA journal_mode=WAL"));
    other.run(QStringLiteral("INSERT INTO Lishi_fangan (xinxi) VALUES ('最新的方案')"));
    QVERIFY(QFileInfo(t.path("coal.dat-wal")).size() > 0);

    const Result<BackupOutcome> backup = BackupData(t.folder(), kToday);
    QVERIFY2(backup.ok(), qPrintable(backup.message()));
    QVERIFY(DatabaseText(backup->path).contains(QStringLiteral("最新的方案")));
    QVERIFY(!QFileInfo::exists(backup->path + "-wal"));
}

// While another connection holds coal.dat, a restore is refused and says
// so; the data stays, also what the other one wrote. Once it lets go, the
// restore is made and stays made.
void DataFileTest::restoreRefusedWhileAnotherHoldsTheFile_data()
{
    QTest::addColumn<QStringList>("held");
    QTest::newRow("write-ahead log, open elsewhere")
        << QStringList{"PRAGMA journal_mode=WAL", "INSERT INTO Lishi_fangan (xinxi) VALUES ('另一个程序的方案')"};
    QTest::newRow("rollback journal, a read under way")
        << QStringList{"INSERT INTO Lishi_fangan (xinxi) VALUES ('另一个程序的方案')", "BEGIN",
                       "SELECT count(*) FROM meitan"};
}

void DataFileTest::restoreRefusedWhileAnotherHoldsTheFile()
{
    QFETCH(QStringList, held);
    QTemporaryDir dir;
    const QString backup = MakeDatabase(dir, QStringLiteral("backup"), QStringLiteral("备份的煤"));
    TestFolder t;
    {
        Other other(t.path("coal.dat"));
        for (const QString& sql : held)
            other.run(sql);
        const Result<RestoreOutcome> refused = RestoreData(t.folder(), backup, kNow);
        QVERIFY(!refused.ok());
        QCOMPARE(refused.kind(), FailureKind::Error);
        QVERIFY2(refused.message().contains(QStringLiteral("正被另一个程序打开使用")), qPrintable(refused.message()));
        QVERIFY(QDir(t.path("bakup")).entryList(QDir::Files).isEmpty());
    }
    QVERIFY(DatabaseText(t.path("coal.dat")).contains(QStringLiteral("另一个程序的方案")));

    const Result<RestoreOutcome> restored = RestoreData(t.folder(), backup, kNow);
    QVERIFY2(restored.ok(), qPrintable(restored.message()));
    QVERIFY(DatabaseText(restored->kept).contains(QStringLiteral("另一个程序的方案")));
    Expect(EnsureDatabase(t.folder()));
    QCOMPARE(DatabaseText(t.path("coal.dat")), DatabaseText(backup));
}

// A file made before the followid indexes gets them when it is opened or
// restored; one with an index of its own on followid gets no second one.
void DataFileTest::olderFileGainsTheFollowidIndexes_data()
{
    QTest::addColumn<bool>("restoring");
    QTest::addColumn<QStringList>("older");
    const QStringList withoutIndexes{"DROP INDEX idx_lishi_meitan_followid", "DROP INDEX idx_lishi_peibibiao_followid",
                                     "DROP TABLE Lishi_zhibiao", "DROP TABLE Lishi_canshu"};
    QTest::newRow("opened") << false << withoutIndexes;
    QTest::newRow("restored") << true << withoutIndexes;
    QTest::newRow("opened, with an index of its own")
        << false << withoutIndexes + QStringList{"CREATE INDEX plan_coals ON Lishi_meitan (followid, id)"};
}

void DataFileTest::olderFileGainsTheFollowidIndexes()
{
    QFETCH(bool, restoring);
    QFETCH(QStringList, older);
    QTemporaryDir dir;
    const QString file = MakeDatabase(dir, QStringLiteral("older"), QStringLiteral("旧的煤"));
    RunOn(file, older);
    const QString rows = DatabaseText(file);
    TestFolder t;
    if (restoring) {
        const Result<RestoreOutcome> restored = RestoreData(t.folder(), file, kNow);
        QVERIFY2(restored.ok(), qPrintable(restored.message()));
        QCOMPARE(DatabaseText(file), rows);  // the chosen file stays as it was
    } else {
        QVERIFY(QFile::remove(t.path("coal.dat")));
        QVERIFY(QFile::copy(file, t.path("coal.dat")));
        Expect(EnsureDatabase(t.folder()));
    }
    QCOMPARE(FollowidIndexed(t.path("coal.dat")),
             (QStringList{"Jihua_ri", "Lishi_canshu", "Lishi_jizhun", "Lishi_meitan", "Lishi_Peibibiao", "Lishi_zhibiao"}));
    QVERIFY(DatabaseText(t.path("coal.dat")).contains(QStringLiteral("旧的煤")));
}

// A file of schema version 4 (no coal versions, no change record) is still a
// coal database: opened or restored, it gains both, its coals keep their
// values, and the next save is versioned and recorded.
void DataFileTest::olderFileGainsTheCoalVersions_data()
{
    QTest::addColumn<bool>("restoring");
    QTest::newRow("opened") << false;
    QTest::newRow("restored") << true;
}

void DataFileTest::olderFileGainsTheCoalVersions()
{
    QFETCH(bool, restoring);
    QTemporaryDir dir;
    const QString file = MakeDatabase(dir, QStringLiteral("v4"), QStringLiteral("旧的煤"));
    RunOn(file, {"DROP TABLE meitan_xiugai", "ALTER TABLE meitan DROP COLUMN banbenhao", "DELETE FROM banben WHERE banben > 4"});
    QVERIFY(CheckDatabaseFile(file).ok());
    TestFolder t;
    if (restoring) {
        const Result<RestoreOutcome> restored = RestoreData(t.folder(), file, kNow);
        QVERIFY2(restored.ok(), qPrintable(restored.message()));
    } else {
        QVERIFY(QFile::remove(t.path("coal.dat")));
        QVERIFY(QFile::copy(file, t.path("coal.dat")));
        Expect(EnsureDatabase(t.folder()));
    }
    const QVector<Mei> coals = Expect(LoadCoals(t.folder()));
    QCOMPARE(coals.size(), 1);
    const VersionedCoal read = *Expect(LoadStoredCoal(t.folder(), coals[0].id));
    QCOMPARE(read.coal.MingCheng, QStringLiteral("旧的煤"));
    QCOMPARE(read.version, 0);
    Mei changed = read.coal;
    changed.Liu = QStringLiteral("1.00");
    QCOMPARE(Expect(StoreCoal(t.folder(), changed, CoalSaveOptions{0, QString()})).version, 1);
    QCOMPARE(Expect(LoadCoalChanges(t.folder(), read.coal.id)).size(), 1);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
    {
        db.setDatabaseName(t.path("coal.dat"));
        QVERIFY(db.open());
        QCOMPARE(Expect(StoredVersion(db)), std::optional<int>(kSchemaVersion));
        QCOMPARE(Expect(MissingSteps(db)).size(), 0);
        db.close();
    }
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
}

// Compaction gives back the room deleted rows left, after a backup, with
// every row as it was.
void DataFileTest::compactionShrinksAndKeepsTheData()
{
    TestFolder t;
    AddBulk(t.path("coal.dat"), 4000);
    RunOn(t.path("coal.dat"), {QStringLiteral("DELETE FROM Lishi_meitan WHERE id > 400")});
    const QString rows = DatabaseText(t.path("coal.dat"));

    const Result<CompactOutcome> compacted = CompactDatabase(t.folder(), kToday);
    QVERIFY2(compacted.ok(), qPrintable(compacted.message()));
    QVERIFY(compacted->sizeAfter < compacted->sizeBefore / 4);
    QCOMPARE(QFileInfo(t.path("coal.dat")).size(), compacted->sizeAfter);
    QCOMPARE(DatabaseText(t.path("coal.dat")), rows);
    QCOMPARE(DatabaseText(compacted->backup.path), rows);
    QCOMPARE(QDir(t.folder().dir).entryList({"coal.dat*"}, QDir::Files), QStringList{"coal.dat"});
}

// Work stopped at any step, in the middle of a copy where it can be, leaves
// coal.dat as it was and no copy half made.
void DataFileTest::stoppingHalfWayLeavesEverythingAsItWas_data()
{
    QTest::addColumn<QString>("work");
    QTest::addColumn<QString>("step");
    QTest::newRow("backup") << "backup" << "正在备份数据";
    QTest::newRow("restore, checking") << "restore" << "正在检查数据文件是否完好";
    QTest::newRow("restore, keeping the replaced data") << "restore" << "正在保存还原前的数据";
    QTest::newRow("restore, writing") << "restore" << "正在还原数据";
    QTest::newRow("compaction, compacting") << "compact" << "正在压缩数据";
    QTest::newRow("compaction, writing back") << "compact" << "正在写回数据文件";
}

void DataFileTest::stoppingHalfWayLeavesEverythingAsItWas()
{
    QFETCH(QString, work);
    QFETCH(QString, step);
    QTemporaryDir dir;
    const QString backup = MakeDatabase(dir, QStringLiteral("backup"), QStringLiteral("备份的煤"));
    AddBulk(backup, 3000);
    TestFolder t;
    AddBulk(t.path("coal.dat"), 6000);
    RunOn(t.path("coal.dat"), {QStringLiteral("DELETE FROM Lishi_meitan WHERE id % 2 = 0")});
    const QString rows = DatabaseText(t.path("coal.dat"));
    QStringList seen;
    // Stopped in the middle of the step where it can be.
    const DataProgressFn progress = [&](const DataProgress& p) {
        seen << p.step.chinese();
        return p.step.chinese() != step || (p.total > 0 && p.done >= p.total);
    };
    Status done;
    QStringList files{"coal.dat"};
    if (work == QLatin1String("backup")) {
        done = BackupData(t.folder(), kToday, {}, progress).status();
    } else if (work == QLatin1String("restore")) {
        done = RestoreData(t.folder(), backup, kNow, {}, progress).status();
    } else {
        done = CompactDatabase(t.folder(), kToday, {}, progress).status();
        files = QStringList{"2026-12-08.bak"} + files;  // the backup made first stays
    }
    QVERIFY2(seen.contains(step), qPrintable(seen.join(",")));
    QCOMPARE(done.kind(), FailureKind::Cancelled);
    QCOMPARE(DatabaseText(t.path("coal.dat")), rows);
    QStringList left = QDir(t.folder().dir).entryList({"coal.dat*"}, QDir::Files)
                       + QDir(t.path("bakup")).entryList(QDir::Files);
    left.sort();
    files.sort();
    QCOMPARE(left, files);
}

int main(int argc, char* argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--write-and-die") {
        QCoreApplication app(argc, argv);
        return WriteAndDie(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    DataFileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_datafile.moc"
