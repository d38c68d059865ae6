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
private slots:
    void backupIsNamedByDayAndIsACopy();
    void sameDayKeepsOneFileWithLaterContent();
    void backupWithoutDatabaseFails();
    void restoreBringsBackTheCoalsAndKeepsReplacedFile();
    void restoreRefusesFilesThatAreNotCoalDatabases_data();
    void restoreRefusesFilesThatAreNotCoalDatabases();
    void backupFailureSaysWhy();
};

void BackupTest::backupIsNamedByDayAndIsACopy()
{
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal("A", 1)));
    const Result<QString> r = BackupData(t.folder(), kDay);
    QVERIFY2(r.ok(), qPrintable(r.message()));
    QCOMPARE(*r, t.path("bakup/2026-12-06.bak"));
    QCOMPARE(ReadBytes(*r), ReadBytes(t.path("coal.dat")));
    QCOMPARE(QDir(t.path("bakup")).entryList(QDir::Files), QStringList{"2026-12-06.bak"});
}

void BackupTest::sameDayKeepsOneFileWithLaterContent()
{
    TestFolder t;
    Expect(BackupData(t.folder(), kDay));
    Expect(SaveCoal(t.folder(), MakeCoal("B", 2)));
    Expect(BackupData(t.folder(), kDay));
    QCOMPARE(QDir(t.path("bakup")).entryList(QDir::Files).size(), 1);
    QCOMPARE(ReadBytes(t.path("bakup/2026-12-06.bak")), ReadBytes(t.path("coal.dat")));
}

void BackupTest::backupWithoutDatabaseFails()
{
    TestFolder t(false);
    const Result<QString> r = BackupData(t.folder(), kDay);
    QVERIFY(!r.ok());
    QVERIFY(r.message().contains(QStringLiteral("coal.dat")));
    QVERIFY(!QFile::exists(t.path("bakup/2026-12-06.bak")));
}

void BackupTest::restoreBringsBackTheCoalsAndKeepsReplacedFile()
{
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal("A", 1)));
    Expect(SaveCoal(t.folder(), MakeCoal("B", 2)));
    const QString backup = Expect(BackupData(t.folder(), kDay));
    Expect(DeleteCoal(t.folder(), 1));
    const QByteArray beforeRestore = ReadBytes(t.path("coal.dat"));

    const Result<QString> kept = RestoreData(t.folder(), backup, kNow);
    QVERIFY2(kept.ok(), qPrintable(kept.message()));
    QCOMPARE(CountRows(t.folder(), "meitan"), 2);
    QCOMPARE(*kept, t.path("bakup/" + ReplacedFileName(kNow)));
    QCOMPARE(ReadBytes(*kept), beforeRestore);
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

    const Result<QString> r = RestoreData(t.folder(), chosen, kNow);
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
    const Result<QString> r = BackupData(t.folder(), kDay);
    QVERIFY(!r.ok());
    QVERIFY2(r.message().contains(QStringLiteral("不是文件夹")), qPrintable(r.message()));
    QCOMPARE(ReadBytes(t.path("bakup")), QByteArray("a plain file"));
}

QTEST_GUILESS_MAIN(BackupTest)
#include "tst_backup.moc"
