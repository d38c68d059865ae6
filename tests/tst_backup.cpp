#include "app/Backup.h"
#include "data/DaoFunction.h"
#include "data/Dbconnection.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

const QDate kDay(2026, 12, 6);
const QDateTime kNow(QDate(2026, 12, 8), QTime(9, 30, 15));

}  // namespace

class BackupTest : public QObject {
    Q_OBJECT
private slots:
    void backupIsNamedByDayAndIsACopy();
    void sameDayKeepsOneFileWithLaterContent();
    void backupWithoutDatabaseFails();
    void restoreBringsBackTheCoalsAndKeepsReplacedFile();
    void restoreRefusesFilesThatAreNotCoalDatabases_data();
    void restoreRefusesFilesThatAreNotCoalDatabases();
};

void BackupTest::backupIsNamedByDayAndIsACopy()
{
    TestFolder t;
    SaveCoal(t.folder(), MakeCoal("A", 1));
    const BackupResult r = BackupData(t.folder(), kDay);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.path, t.path("bakup/2026-12-06.bak"));
    QCOMPARE(ReadBytes(r.path), ReadBytes(t.path("coal.dat")));
    QCOMPARE(QDir(t.path("bakup")).entryList(QDir::Files), QStringList{"2026-12-06.bak"});
}

void BackupTest::sameDayKeepsOneFileWithLaterContent()
{
    TestFolder t;
    QVERIFY(BackupData(t.folder(), kDay).ok);
    SaveCoal(t.folder(), MakeCoal("B", 2));
    QVERIFY(BackupData(t.folder(), kDay).ok);
    QCOMPARE(QDir(t.path("bakup")).entryList(QDir::Files).size(), 1);
    QCOMPARE(ReadBytes(t.path("bakup/2026-12-06.bak")), ReadBytes(t.path("coal.dat")));
}

void BackupTest::backupWithoutDatabaseFails()
{
    TestFolder t(false);
    const BackupResult r = BackupData(t.folder(), kDay);
    QVERIFY(!r.ok);
    QVERIFY(!r.error.isEmpty());
    QVERIFY(!QFile::exists(r.path));
}

void BackupTest::restoreBringsBackTheCoalsAndKeepsReplacedFile()
{
    TestFolder t;
    SaveCoal(t.folder(), MakeCoal("A", 1));
    SaveCoal(t.folder(), MakeCoal("B", 2));
    const QString backup = BackupData(t.folder(), kDay).path;
    DeleteCoal(t.folder(), 1);
    const QByteArray beforeRestore = ReadBytes(t.path("coal.dat"));

    const RestoreResult r = RestoreData(t.folder(), backup, kNow);
    QCOMPARE(r.outcome, RestoreOutcome::Restored);
    QCOMPARE(CountRows(t.folder(), "meitan"), 2);
    QCOMPARE(r.keptCopy, t.path("bakup/" + ReplacedFileName(kNow)));
    QCOMPARE(ReadBytes(r.keptCopy), beforeRestore);
    QVERIFY(ReplacedFileName(kNow).contains("2026-12-08-09-30-15"));
}

void BackupTest::restoreRefusesFilesThatAreNotCoalDatabases_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("otherSqlite");
    QTest::newRow("text file") << QByteArray("备份\r\n") << false;
    QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    png += QByteArray(200, '\x01');
    QTest::newRow("image") << png << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("database without the coal tables") << QByteArray() << true;
}

void BackupTest::restoreRefusesFilesThatAreNotCoalDatabases()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, otherSqlite);
    TestFolder t;
    SaveCoal(t.folder(), MakeCoal("A", 1));
    const QString chosen = t.path("chosen.bak");
    if (otherSqlite) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
        db.setDatabaseName(chosen);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec("create table meitan (id integer)"));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("other");
        content = ReadBytes(chosen);
    } else {
        QVERIFY(WriteBytes(chosen, content));
    }
    const QByteArray database = ReadBytes(t.path("coal.dat"));

    const RestoreResult r = RestoreData(t.folder(), chosen, kNow);
    QCOMPARE(r.outcome, RestoreOutcome::NotACoalDatabase);
    QCOMPARE(ReadBytes(t.path("coal.dat")), database);
    QCOMPARE(ReadBytes(chosen), content);
    QVERIFY(QDir(t.path("bakup")).entryList(QDir::Files).isEmpty());
}

QTEST_GUILESS_MAIN(BackupTest)
#include "tst_backup.moc"
