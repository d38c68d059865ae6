#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "base/QualityIndex.h"
#include "support/TestFolder.h"

#include <QSqlError>
#include <QSqlRecord>
#include <QtTest>

namespace {

Mei Loaded(const AppFolder& folder, int id)
{
    return Expect(LoadCoal(folder, id)).value_or(Mei());
}

}  // namespace

class CoalTableTest : public QObject {
    Q_OBJECT
private slots:
    void schemaHasEveryColumn();
    void saveAndLoadValues_data();
    void saveAndLoadValues();
    void emptyIndicesStayEmpty();
    void twoInsertsGiveTwoRows();
    void updateOverwritesRow();
    void updateOfVanishedRowIsAnError();
    void nullWrittenByAnotherToolReadsEmpty();
    void loadOfMissingIdIsEmpty();
    void deleteRemovesOnlyThatRow();
    void deleteOfMissingIdChangesNothing();
    void connectionIsAbsentAfterEachOperation();
    void closeWhenAbsentDoesNothing();
    void databaseFailuresSayTheirCause_data();
    void databaseFailuresSayTheirCause();
    void damagedFileIsSaidOnce();
    void changeRecordHoldsOldAndNew_data();
    void changeRecordHoldsOldAndNew();
    void saveOverAnotherSaveIsRefused();
    void deleteOfGoneCoalIsSaid();

private:
    int lastId(const AppFolder& folder);
};

// Every add, change and delete writes one record per field it touched, with
// the value before and after, the user, and nothing for untouched fields.
void CoalTableTest::changeRecordHoldsOldAndNew_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("expected");  // "column: before > after", in the order written
    QTest::newRow("added") << "add" << QStringList{"Name:  > A", "Liu:  > 0.50", "JiaGe:  > 1.00"};
    QTest::newRow("changed") << "change" << QStringList{"Liu: 0.50 > 0.70", "JiaGe: 1.00 > 2.50"};
    QTest::newRow("renamed only") << "rename" << QStringList{"Name: A > A'"};
    QTest::newRow("saved unchanged") << "same" << QStringList{};
    QTest::newRow("deleted") << "delete" << QStringList{"Name: A > ", "Liu: 0.50 > ", "JiaGe: 1.00 > "};
}

void CoalTableTest::changeRecordHoldsOldAndNew()
{
    QFETCH(QString, action);
    QFETCH(QStringList, expected);
    TestFolder t;
    const CoalSaveOptions by{std::nullopt, QStringLiteral("zhang@PC-3")};
    Mei coal = MakeCoal(QStringLiteral("A"), 1);
    coal.Liu = QStringLiteral("0.50");
    if (action != QLatin1String("add")) {
        coal.id = Expect(StoreCoal(t.folder(), coal)).id;
        auto connection = Expect(ConnectionScope::Open(t.folder()));
        Expect(Execute(QStringLiteral("delete from meitan_xiugai")));
    }
    if (action == QLatin1String("add")) {
        coal.id = Expect(StoreCoal(t.folder(), coal, by)).id;
    } else if (action == QLatin1String("delete")) {
        QCOMPARE(Expect(RemoveCoals(t.folder(), {coal.id}, by.user)), QVector<int>());
    } else {
        if (action == QLatin1String("change")) {
            coal.Liu = QStringLiteral("0.70");
            coal.JiaGe = 2.5;
        } else if (action == QLatin1String("rename")) {
            coal.MingCheng = QStringLiteral("A'");
        }
        QCOMPARE(int(Expect(StoreCoal(t.folder(), coal, by)).kind), int(CoalSaveOutcome::Kind::Saved));
    }
    const QVector<CoalChange> changes = Expect(LoadCoalChanges(t.folder(), coal.id));
    QStringList written;
    for (const CoalChange& change : changes) {
        written.prepend(QStringLiteral("%1: %2 > %3").arg(change.column, change.before, change.after));
        QCOMPARE(change.user, QStringLiteral("zhang@PC-3"));
        QCOMPARE(change.coalId, coal.id);
        QVERIFY(change.time.isValid());
    }
    QCOMPARE(written, expected);
}

// An editor that read an older version does not overwrite a save made since;
// overwriting on purpose does, and the refusal names who saved and when.
void CoalTableTest::saveOverAnotherSaveIsRefused()
{
    TestFolder t;
    Mei coal = MakeCoal(QStringLiteral("A"), 1);
    coal.id = Expect(StoreCoal(t.folder(), coal)).id;
    const VersionedCoal read = *Expect(LoadStoredCoal(t.folder(), coal.id));

    Mei theirs = read.coal;
    theirs.Liu = QStringLiteral("0.80");
    theirs.Riqi = QDateTime(QDate(2026, 12, 8), QTime(9, 30, 5));
    const CoalSaveOutcome first =
        Expect(StoreCoal(t.folder(), theirs, CoalSaveOptions{read.version, QStringLiteral("li@PC-1")}));
    QCOMPARE(int(first.kind), int(CoalSaveOutcome::Kind::Saved));
    QCOMPARE(first.version, read.version + 1);

    Mei mine = read.coal;
    mine.Liu = QStringLiteral("0.60");
    const CoalSaveOutcome refused =
        Expect(StoreCoal(t.folder(), mine, CoalSaveOptions{read.version, QStringLiteral("zhang@PC-3")}));
    QCOMPARE(int(refused.kind), int(CoalSaveOutcome::Kind::Conflict));
    QCOMPARE(refused.savedBy, QStringLiteral("li@PC-1"));
    QCOMPARE(refused.savedAt, theirs.Riqi);
    QCOMPARE(Expect(LoadCoal(t.folder(), coal.id))->Liu, QStringLiteral("0.80"));

    const CoalSaveOutcome overwritten =
        Expect(StoreCoal(t.folder(), mine, CoalSaveOptions{std::nullopt, QStringLiteral("zhang@PC-3")}));
    QCOMPARE(int(overwritten.kind), int(CoalSaveOutcome::Kind::Saved));
    QCOMPARE(Expect(LoadCoal(t.folder(), coal.id))->Liu, QStringLiteral("0.60"));
    QCOMPARE(Expect(LoadCoalChanges(t.folder(), coal.id)).constFirst().before, QStringLiteral("0.80"));
}

void CoalTableTest::deleteOfGoneCoalIsSaid()
{
    TestFolder t;
    const int kept = Expect(SaveCoal(t.folder(), MakeCoal(QStringLiteral("A"), 1)));
    const int gone = Expect(SaveCoal(t.folder(), MakeCoal(QStringLiteral("B"), 2)));
    QCOMPARE(Expect(RemoveCoals(t.folder(), {gone})), QVector<int>());
    QCOMPARE(Expect(RemoveCoals(t.folder(), {kept, gone})), QVector<int>{gone});
    QCOMPARE(CountRows(t.folder(), "meitan"), 0);
    Mei edited = MakeCoal(QStringLiteral("B"), 3);
    edited.id = gone;
    QCOMPARE(int(Expect(StoreCoal(t.folder(), edited, CoalSaveOptions{1, QString()})).kind),
             int(CoalSaveOutcome::Kind::Gone));
    QCOMPARE(CountRows(t.folder(), "meitan"), 0);
}

int CoalTableTest::lastId(const AppFolder& folder)
{
    auto connection = Expect(ConnectionScope::Open(folder));
    QSqlQuery query = Expect(RunQuery(QStringLiteral("select max(id) from meitan")));
    query.next();
    return query.value(0).toInt();
}

void CoalTableTest::schemaHasEveryColumn()
{
    TestFolder t;
    auto connection = Expect(ConnectionScope::Open(t.folder()));
    QStringList indexColumns;
    for (const auto& index : QualityIndices())
        indexColumns << QString::fromLatin1(index.column).toLower();
    const QStringList d = {"d1", "d2", "d3", "d4", "d5", "d6", "d7", "d8", "d9", "d10"};
    const QMap<QString, QStringList> expected = {
        {"meitan", QStringList{"id", "name", "meichan", "kucun", "jiage", "riqi", "banbenhao"} + indexColumns},
        {"meitan_xiugai", {"id", "meiid", "riqi", "yonghu", "xiangmu", "yuanzhi", "xinzhi"}},
        {"lishi_fangan", {"id", "fanganhao", "xinxi", "riqi"}},
        {"lishi_meitan", QStringList{"id", "followid", "name", "kucun", "meichan", "jiage"} + indexColumns},
        {"lishi_peibibiao", QStringList{"id", "followid", "name", "kucun", "meichan", "jiage"} + indexColumns + d},
    };
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QSqlRecord record = DbConn().record(it.key());
        QStringList columns;
        for (int c = 0; c < record.count(); ++c)
            columns << record.fieldName(c).toLower();
        QStringList want = it.value();
        want.sort();
        columns.sort();
        QCOMPARE(columns, want);
    }
}

void CoalTableTest::saveAndLoadValues_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("loaded");
    QTest::newRow("zero") << "0" << "0";
    QTest::newRow("zero with decimals") << "0.0" << "0";
    QTest::newRow("one decimal") << "12.3" << "12.30";
    QTest::newRow("two decimals") << "12.30" << "12.30";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("not a number") << "abc" << "";
}

void CoalTableTest::saveAndLoadValues()
{
    QFETCH(QString, typed);
    QFETCH(QString, loaded);
    TestFolder t;
    Mei coal = MakeCoal(QStringLiteral("大同'精煤"), 350.456);
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(coal, i) = typed;
    coal.Kucun = typed;
    coal.MeiChan = typed;
    coal.Riqi = QDateTime::currentDateTime();
    Expect(SaveCoal(t.folder(), coal));

    const Mei back = Loaded(t.folder(), lastId(t.folder()));
    QCOMPARE(back.MingCheng, QStringLiteral("大同'精煤"));
    for (int i = 0; i < kIndexCount; ++i)
        QCOMPARE(IndexValue(back, i), loaded);
    QCOMPARE(back.Kucun, loaded);
    QCOMPARE(back.MeiChan, loaded);
    QCOMPARE(back.JiaGe, 350.46);
    QCOMPARE(back.id, lastId(t.folder()));
}

void CoalTableTest::emptyIndicesStayEmpty()
{
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal(QStringLiteral("A"), 500)));
    auto connection = Expect(ConnectionScope::Open(t.folder()));
    QSqlQuery query = Expect(RunQuery(QStringLiteral("select NeiShui, huishoulv, kucun from meitan")));
    QVERIFY(query.next());
    for (int c = 0; c < 3; ++c) {
        QVERIFY2(!query.value(c).isNull(), "empty text must be stored as text, not Null");
        QCOMPARE(query.value(c).toString(), QString());
    }
}

void CoalTableTest::twoInsertsGiveTwoRows()
{
    TestFolder t;
    const Mei coal = MakeCoal(QStringLiteral("同名"), 1);
    Expect(SaveCoal(t.folder(), coal));
    const int first = lastId(t.folder());
    Expect(SaveCoal(t.folder(), coal));
    QCOMPARE(CountRows(t.folder(), "meitan"), 2);
    QVERIFY(lastId(t.folder()) > first);
}

void CoalTableTest::updateOverwritesRow()
{
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal(QStringLiteral("A"), 1)));
    Mei coal = MakeCoal(QStringLiteral("B"), 2);
    coal.id = lastId(t.folder());
    coal.Liu = QStringLiteral("0.50");
    Expect(SaveCoal(t.folder(), coal));
    QCOMPARE(CountRows(t.folder(), "meitan"), 1);
    const Mei back = Loaded(t.folder(), coal.id);
    QCOMPARE(back.MingCheng, QStringLiteral("B"));
    QCOMPARE(back.Liu, QStringLiteral("0.50"));
    QCOMPARE(back.JiaGe, 2.0);
}

void CoalTableTest::updateOfVanishedRowIsAnError()
{
    TestFolder t;
    Mei coal = MakeCoal(QStringLiteral("A"), 1);
    coal.id = 42;
    const Result<int> saved = SaveCoal(t.folder(), coal);
    QVERIFY(!saved.ok());
    QVERIFY(saved.message().contains(QStringLiteral("已不存在")));
    QCOMPARE(CountRows(t.folder(), "meitan"), 0);
    QVERIFY(NothingHeldOpen());
}

void CoalTableTest::nullWrittenByAnotherToolReadsEmpty()
{
    TestFolder t;
    {
        auto connection = Expect(ConnectionScope::Open(t.folder()));
        Expect(Execute(QStringLiteral("insert into meitan (Name, Liu, JiaGe, kucun) values (NULL, NULL, NULL, '12.3')")));
    }
    const Mei back = Loaded(t.folder(), lastId(t.folder()));
    QCOMPARE(back.MingCheng, QString());
    QCOMPARE(back.Liu, QString());
    QCOMPARE(back.JiaGe, 0.0);
    QCOMPARE(back.Kucun, QStringLiteral("12.30"));
}

void CoalTableTest::loadOfMissingIdIsEmpty()
{
    TestFolder t;
    QCOMPARE(Expect(LoadCoal(t.folder(), 7)), std::optional<Mei>());
}

void CoalTableTest::deleteRemovesOnlyThatRow()
{
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal(QStringLiteral("A"), 1)));
    Expect(SaveCoal(t.folder(), MakeCoal(QStringLiteral("B"), 2)));
    Expect(DeleteCoal(t.folder(), lastId(t.folder())));
    QCOMPARE(CountRows(t.folder(), "meitan"), 1);
    QCOMPARE(Loaded(t.folder(), lastId(t.folder())).MingCheng, QStringLiteral("A"));
}

void CoalTableTest::deleteOfMissingIdChangesNothing()
{
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal(QStringLiteral("A"), 1)));
    Expect(DeleteCoal(t.folder(), 999));
    QCOMPARE(CountRows(t.folder(), "meitan"), 1);
}

void CoalTableTest::connectionIsAbsentAfterEachOperation()
{
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal(QStringLiteral("A"), 1)));
    QVERIFY(NothingHeldOpen());
    Loaded(t.folder(), 1);
    QVERIFY(NothingHeldOpen());
    Expect(DeleteCoal(t.folder(), 1));
    QVERIFY(NothingHeldOpen());
}

void CoalTableTest::closeWhenAbsentDoesNothing()
{
    QVERIFY(NothingHeldOpen());
    CloseConnection();
    QVERIFY(NothingHeldOpen());
}

// One prefix, the common causes in words, the database's own text after.
void CoalTableTest::databaseFailuresSayTheirCause_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("cause");
    QTest::newRow("read-only") << "8" << "数据库文件是只读的，不能写入";
    QTest::newRow("locked") << "5" << "数据库文件正被占用（已锁定），请稍后再试";
    QTest::newRow("locked table") << "262" << "数据库文件正被占用（已锁定），请稍后再试";  // an extended code
    QTest::newRow("disk full") << "13" << "磁盘空间不足";
    QTest::newRow("damaged") << "11" << "数据库文件已损坏";
    QTest::newRow("not a database") << "26" << "数据库文件已损坏";
    QTest::newRow("anything else") << "1" << "";
}

void CoalTableTest::databaseFailuresSayTheirCause()
{
    QFETCH(QString, code);
    QFETCH(QString, cause);
    const Failure failure = DatabaseFailure(QSqlError(QStringLiteral("driver"), QStringLiteral("attempt to write a readonly database"),
                                                      QSqlError::StatementError, code));
    QVERIFY(failure.message.startsWith(QStringLiteral("数据库操作失败：")));
    QCOMPARE(failure.message.count(QStringLiteral("数据库操作失败")), 1);
    if (!cause.isEmpty())
        QVERIFY2(failure.message.startsWith(QStringLiteral("数据库操作失败：") + cause), qPrintable(failure.message));
    QVERIFY(failure.message.contains(QStringLiteral("attempt to write a readonly database")));
}

// A coal.dat damaged under a running program: the operation says so, once.
void CoalTableTest::damagedFileIsSaidOnce()
{
    TestFolder t;
    Expect(SaveCoal(t.folder(), MakeCoal(QStringLiteral("A"), 1)));
    const QString said = t.breakDatabase();
    const Result<int> saved = SaveCoal(t.folder(), MakeCoal(QStringLiteral("B"), 2));
    QVERIFY(!saved.ok());
    QVERIFY2(saved.message().startsWith(said), qPrintable(saved.message()));
    QCOMPARE(saved.message().count(QStringLiteral("数据库操作失败")), 1);
}

QTEST_GUILESS_MAIN(CoalTableTest)
#include "tst_coaltable.moc"
