#include "data/Backup.h"
#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

namespace {

const QDate kDay(2026, 12, 6);
const QDateTime kNow(QDate(2026, 12, 8), QTime(9, 30, 15));

}  // namespace

class BackupTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void backupIsNamedByDayAndIsACopy();
    void sameDayKeepsOneFileWithLaterContent();
    void backupWithoutDatabaseFails();
    void restoreBringsBackTheCoalsAndKeepsReplacedFile();
    void restoreRefusesFilesThatAreNotCoalDatabases_data();
    void restoreRefusesFilesThatAreNotCoalDatabases();
    void backupFailureSaysWhy();
    void pruningKeepsRecentDaysAndOneAMonth_data();
    void pruningKeepsRecentDaysAndOneAMonth();
    void backupSaysWhatItPruned();
    void oneKeptCopyADay();
};

void BackupTest::backupIsNamedByDayAndIsACopy()
{
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal("A", 1)));
    const Result<BackupOutcome> r = BackupData(t.folder(), kDay);
    QVERIFY2(r.ok(), qPrintable(r.message()));
    QCOMPARE(r->path, t.path("bakup/2026-12-06.bak"));
    QCOMPARE(DatabaseText(r->path), DatabaseText(t.path("coal.dat")));
    QVERIFY(DatabaseText(r->path).contains("|A|"));
    QVERIFY(r->pruned.isEmpty());
    QCOMPARE(QDir(t.path("bakup")).entryList(QDir::Files), QStringList{"2026-12-06.bak"});
}

void BackupTest::sameDayKeepsOneFileWithLaterContent()
{
    TestFolder t;
    Expect(BackupData(t.folder(), kDay));
    Expect(SaveCoal(t.folder(), MakeCoal("B", 2)));
    Expect(BackupData(t.folder(), kDay));
    QCOMPARE(QDir(t.path("bakup")).entryList(QDir::Files).size(), 1);
    QCOMPARE(DatabaseText(t.path("bakup/2026-12-06.bak")), DatabaseText(t.path("coal.dat")));
}

void BackupTest::backupWithoutDatabaseFails()
{
    TestFolder t(false);
    const Result<BackupOutcome> r = BackupData(t.folder(), kDay);
    QVERIFY(!r.ok());
    QVERIFY(r.message().contains(QStringLiteral("coal.dat")));
    QVERIFY(!QFile::exists(t.path("bakup/2026-12-06.bak")));
}

void BackupTest::restoreBringsBackTheCoalsAndKeepsReplacedFile()
{
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal("A", 1)));
    Expect(SaveCoal(t.folder(), MakeCoal("B", 2)));
    const QString backup = Expect(BackupData(t.folder(), kDay)).path;
    Expect(DeleteCoal(t.folder(), 1));
    const QString beforeRestore = DatabaseText(t.path("coal.dat"));

    const Result<RestoreOutcome> kept = RestoreData(t.folder(), backup, kNow);
    QVERIFY2(kept.ok(), qPrintable(kept.message()));
    QCOMPARE(CountRows(t.folder(), "meitan"), 2);
    QCOMPARE(kept->kept, t.path("bakup/" + ReplacedFileName(kNow)));
    QVERIFY(!kept->keptEarlier);
    QCOMPARE(DatabaseText(kept->kept), beforeRestore);
    QVERIFY(ReplacedFileName(kNow).contains("2026-12-08-09-30-15"));
}

// A file is taken for a restore only when it is a coal database that is
// whole: every table with every column, and no damaged page. Anything else
// is refused before coal.dat is touched.
void BackupTest::restoreRefusesFilesThatAreNotCoalDatabases_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("kind");  // "" = the content as it stands
    QTest::addColumn<QString>("reason");
    QTest::newRow("text file") << QByteArray("备份\r\n") << "" << "";
    QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    png += QByteArray(200, '\x01');
    QTest::newRow("image") << png << "" << "";
    QTest::newRow("empty file") << QByteArray() << "" << "缺少数据表";
    QTest::newRow("database without the coal tables") << QByteArray() << "other tables" << "缺少数据表";
    QTest::newRow("the four tables with other columns") << QByteArray() << "other columns" << "缺少列";
    QTest::newRow("a damaged page") << QByteArray() << "damaged" << "已损坏";
}

void BackupTest::restoreRefusesFilesThatAreNotCoalDatabases()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal("A", 1)));
    const QString chosen = t.path("chosen.bak");
    if (kind == "damaged") {
        // A backup of many coals, one of whose table pages is overwritten.
        TestFolder source;
        auto connection = Expect(ConnectionScope::Open(source.folder()));
        for (int i = 0; i < 400; ++i)
            Expect(SaveCoal(source.folder(), MakeCoal(QStringLiteral("煤%1").arg(i), i)));
        CloseConnection();
        content = ReadBytes(source.folder().DbPath());
        QVERIFY(content.size() > 8 * 4096);
        const int page = content.size() / 4096 - 2;
        for (int i = 100; i < 4000; ++i)
            content[page * 4096 + i] = char(i * 37);
        QVERIFY(WriteBytes(chosen, content));
    } else if (!kind.isEmpty()) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
        db.setDatabaseName(chosen);
        QVERIFY(db.open());
        QSqlQuery query(db);
        if (kind == "other tables") {
            QVERIFY(query.exec("create table meitan (id integer)"));
        } else {
            for (const char* table : {"meitan", "Lishi_fangan", "Lishi_meitan", "Lishi_Peibibiao"})
                QVERIFY(query.exec(QStringLiteral("create table %1 (id integer, note text)").arg(table)));
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("other");
        content = ReadBytes(chosen);
    } else {
        QVERIFY(WriteBytes(chosen, content));
    }
    const QByteArray database = ReadBytes(t.path("coal.dat"));

    const Result<RestoreOutcome> r = RestoreData(t.folder(), chosen, kNow);
    QVERIFY(!r.ok());
    QCOMPARE(r.kind(), FailureKind::Invalid);
    QVERIFY2(r.message().contains(reason), qPrintable(r.message()));
    QCOMPARE(ReadBytes(t.path("coal.dat")), database);
    QCOMPARE(ReadBytes(chosen), content);
    QVERIFY(QDir(t.path("bakup")).entryList(QDir::Files).isEmpty());
}

// A backup that cannot be made says why, and leaves nothing half made.
void BackupTest::backupFailureSaysWhy()
{
    TestFolder t;
    QVERIFY(QDir(t.path("bakup")).removeRecursively());
    QVERIFY(WriteBytes(t.path("bakup"), "a plain file"));
    const Result<BackupOutcome> r = BackupData(t.folder(), kDay);
    QVERIFY(!r.ok());
    QVERIFY2(r.message().contains(QStringLiteral("不是文件夹")), qPrintable(r.message()));
    QCOMPARE(ReadBytes(t.path("bakup")), QByteArray("a plain file"));
}

// Which copies in bakup the rule removes, today 2026-12-06: the newest
// `days` backups, and the newest of each of the last `months` months; of the
// copies restores kept, first all but the earliest of a day.
void BackupTest::pruningKeepsRecentDaysAndOneAMonth_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("months");
    QTest::addColumn<QStringList>("pruned");
    QStringList december;
    for (int day = 1; day <= 6; ++day)
        december << QStringLiteral("2026-12-%1.bak").arg(day, 2, 10, QLatin1Char('0'));
    QTest::newRow("fewer than the days: nothing") << december << 14 << 12 << QStringList();
    QTest::newRow("three days, this month's newest among them")
        << december << 3 << 12 << QStringList{"2026-12-01.bak", "2026-12-02.bak", "2026-12-03.bak"};
    QTest::newRow("older months keep their newest")
        << QStringList{"2026-10-03.bak", "2026-10-30.bak", "2026-11-02.bak", "2026-11-20.bak", "2026-12-05.bak"} << 1
        << 12 << QStringList{"2026-10-03.bak", "2026-11-02.bak"};
    QTest::newRow("twelve months: this one and the eleven before it")
        << QStringList{"2025-11-30.bak", "2025-12-31.bak", "2026-01-15.bak", "2026-12-06.bak"} << 1 << 12
        << QStringList{"2025-11-30.bak", "2025-12-31.bak"};
    QTest::newRow("no months: only the days")
        << QStringList{"2026-11-30.bak", "2026-12-05.bak", "2026-12-06.bak"} << 2 << 0
        << QStringList{"2026-11-30.bak"};
    QTest::newRow("days below one keep the newest")
        << QStringList{"2026-12-05.bak", "2026-12-06.bak"} << 0 << 0 << QStringList{"2026-12-05.bak"};
    QTest::newRow("other files and later dates are never touched")
        << QStringList{"notes.bak", "2026-13-01.bak", "2027-01-01.bak", "2020-01-01.bak.part", "2026-12-06.bak",
                       "2020-01-01.bak"}
        << 1 << 0 << QStringList{"2020-01-01.bak"};
    QTest::newRow("kept copies: the earliest of a day, then the rule")
        << QStringList{"还原前的数据_2026-12-06-09-00-00.bak", "还原前的数据_2026-12-06-08-00-00.bak",
                       "还原前的数据_2026-12-05-10-00-00.bak", "还原前的数据_2026-10-01-10-00-00.bak",
                       "2026-12-01.bak"}
        << 1 << 2
        << QStringList{"还原前的数据_2026-12-06-09-00-00.bak", "还原前的数据_2026-12-05-10-00-00.bak",
                       "还原前的数据_2026-10-01-10-00-00.bak"};
}

void BackupTest::pruningKeepsRecentDaysAndOneAMonth()
{
    QFETCH(QStringList, names);
    QFETCH(int, days);
    QFETCH(int, months);
    QFETCH(QStringList, pruned);
    QStringList found = BackupsToPrune(names, kDay, BackupKeep{days, months});
    found.sort();
    pruned.sort();
    QCOMPARE(found, pruned);
}

// The backup removes what the rule removes, and says which.
void BackupTest::backupSaysWhatItPruned()
{
    TestFolder t;
    for (const char* name : {"2026-11-01.bak", "2026-11-29.bak", "2026-12-01.bak", "2026-12-05.bak", "other.bak"})
        QVERIFY(WriteBytes(t.path("bakup/") + QLatin1String(name), "old"));
    BackupOutcome r = Expect(BackupData(t.folder(), kDay, BackupKeep{2, 2}));
    r.pruned.sort();
    QCOMPARE(r.pruned, (QStringList{"2026-11-01.bak", "2026-12-01.bak"}));
    QStringList left = QDir(t.path("bakup")).entryList(QDir::Files);
    QCOMPARE(left, (QStringList{"2026-11-29.bak", "2026-12-05.bak", "2026-12-06.bak", "other.bak"}));
}

// A second restore on one day keeps no second copy: the first holds the data
// as it was before that day's restores.
void BackupTest::oneKeptCopyADay()
{
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal("原来", 1)));
    const QString original = DatabaseText(t.path("coal.dat"));
    QVERIFY(QFile::copy(t.path("coal.dat"), t.path("a.bak")));
    Expect(SaveCoal(t.folder(), MakeCoal("后来", 2)));
    const QString later = DatabaseText(t.path("coal.dat"));

    const RestoreOutcome first = Expect(RestoreData(t.folder(), t.path("a.bak"), kNow));
    QVERIFY(!first.keptEarlier);
    QCOMPARE(DatabaseText(first.kept), later);
    const RestoreOutcome second = Expect(RestoreData(t.folder(), first.kept, kNow.addSecs(60)));
    QVERIFY(second.keptEarlier);
    QCOMPARE(second.kept, first.kept);
    QCOMPARE(DatabaseText(t.path("coal.dat")), later);
    const RestoreOutcome nextDay = Expect(RestoreData(t.folder(), t.path("a.bak"), kNow.addDays(1)));
    QVERIFY(!nextDay.keptEarlier);
    QCOMPARE(DatabaseText(t.path("coal.dat")), original);
    QCOMPARE(QDir(t.path("bakup")).entryList(QDir::Files).size(), 2);
}

QTEST_GUILESS_MAIN(BackupTest)
#include "tst_backup.moc"
