// The inventory's reads: the count, the name search (the typed text can never
// change the statement), and the coals fetched by number for the selection.
#include "base/NumberText.h"
#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "export/ListData.h"
#include "support/TestFolder.h"

#include <QTest>

namespace {

const QStringList kNames = {QStringLiteral("山西焦煤"), QStringLiteral("O'Brien"),
                            QStringLiteral("  前导煤"), QStringLiteral("前导二号"),
                            QStringLiteral("abc"), QStringLiteral("灰分12%煤"), QStringLiteral("A_1"),
                            QStringLiteral("甲\\乙")};

void AddCoals(const AppFolder& folder, const QStringList& names)
{
    for (const QString& name : names)
        Expect(SaveCoal(folder, MakeCoal(name, 100)));
}

QStringList Names(const QVector<Mei>& coals)
{
    QStringList names;
    for (const Mei& coal : coals)
        names << coal.MingCheng;
    return names;
}

}  // namespace

class InventoryQueriesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void countsTheWholeTable();
    void search_data();
    void search();
    void idsFromKeys();
    void coalsByIdInNumberOrder();
    void deleteCoalsRemovesExactlyThose();
    void storedTextShowsAsItsNumber_data();
    void storedTextShowsAsItsNumber();
};

void InventoryQueriesTest::countsTheWholeTable()
{
    TestFolder folder;
    QCOMPARE(Expect(CountCoals(folder.folder())), 0);
    AddCoals(folder.folder(), kNames);
    QCOMPARE(Expect(CountCoals(folder.folder())), kNames.size());
    QVERIFY(NothingHeldOpen());
}

void InventoryQueriesTest::search_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("substring") << "焦" << QStringList{"山西焦煤"};
    QTest::newRow("quote finds the name") << "'" << QStringList{"O'Brien"};
    QTest::newRow("whole name with quote") << "O'Brien" << QStringList{"O'Brien"};
    QTest::newRow("leading blanks are kept") << "  前" << QStringList{"  前导煤"};
    QTest::newRow("without the blanks") << "前导" << QStringList{"  前导煤", "前导二号"};
    QTest::newRow("trailing blank is kept") << "abc " << QStringList{};
    QTest::newRow("an or-clause is just text") << "' or '1'='1" << QStringList{};
    QTest::newRow("a second statement is just text") << "x'; delete from meitan; --"
                                                     << QStringList{};
    // The wildcards of a pattern are plain characters of a name.
    QTest::newRow("percent is a percent sign") << "%" << QStringList{"灰分12%煤"};
    QTest::newRow("underscore is an underscore") << "_" << QStringList{"A_1"};
    QTest::newRow("underscore does not stand for a character") << "A_" << QStringList{"A_1"};
    QTest::newRow("backslash is a backslash") << "\\" << QStringList{"甲\\乙"};
    QTest::newRow("backslash before a wildcard") << "\\%" << QStringList{};
    QTest::newRow("letter case of Latin letters") << "ABC" << QStringList{"abc"};
}

void InventoryQueriesTest::search()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    TestFolder folder;
    AddCoals(folder.folder(), kNames);
    QCOMPARE(Names(Expect(SearchCoals(folder.folder(), typed))), expected);
    QCOMPARE(Expect(CountCoals(folder.folder())), kNames.size());
}

void InventoryQueriesTest::idsFromKeys()
{
    QCOMPARE(IdsFromKeys({"3", "7", "12"}), (QVector<int>{3, 7, 12}));
    // Anything but a whole number above 0 never reaches a statement.
    QCOMPARE(IdsFromKeys({"3", "1) or (1=1", "", "-4", "0", "2.5", "9"}), (QVector<int>{3, 9}));
}

void InventoryQueriesTest::coalsByIdInNumberOrder()
{
    TestFolder folder;
    Mei zeroStock = MakeCoal(QStringLiteral("B"), 650.456);
    zeroStock.Kucun = QStringLiteral("0");
    Mei full = MakeCoal(QStringLiteral("E"), 300);
    full.Kucun = QStringLiteral("1200");
    full.MeiChan = QStringLiteral("1.5");
    full.HuiFen = QStringLiteral("10");
    Expect(SaveCoal(folder.folder(), MakeCoal(QStringLiteral("A"), 1)));
    Expect(SaveCoal(folder.folder(), zeroStock));
    Expect(SaveCoal(folder.folder(), MakeCoal(QStringLiteral("C"), 1)));
    Expect(SaveCoal(folder.folder(), MakeCoal(QStringLiteral("D"), 1)));
    Expect(SaveCoal(folder.folder(), full));

    const QVector<Mei> coals = Expect(LoadCoalsById(folder.folder(), {5, 2, 99}));
    QCOMPARE(coals.size(), 2);
    QCOMPARE(coals[0].id, 2);
    QCOMPARE(coals[0].MingCheng, QStringLiteral("B"));
    QCOMPARE(coals[0].Kucun, QStringLiteral("0"));
    QCOMPARE(coals[0].MeiChan, QString());
    QCOMPARE(coals[0].JiaGe, 650.46);
    QCOMPARE(coals[1].id, 5);
    QCOMPARE(coals[1].Kucun, QStringLiteral("1200.00"));
    QCOMPARE(coals[1].MeiChan, QStringLiteral("1.50"));
    QCOMPARE(coals[1].HuiFen, QStringLiteral("10.00"));
    QVERIFY(Expect(LoadCoalsById(folder.folder(), {})).isEmpty());
    QVERIFY(NothingHeldOpen());
}

void InventoryQueriesTest::deleteCoalsRemovesExactlyThose()
{
    TestFolder folder;
    AddCoals(folder.folder(), kNames);
    Expect(DeleteCoals(folder.folder(), {1, 3, 5}));
    QCOMPARE(Names(Expect(LoadCoals(folder.folder()))), (QStringList{"O'Brien", "前导二号", "灰分12%煤", "A_1", "甲\\乙"}));
}

// Lists show stored texts through the value text rule, which passes texts
// already in its form straight through: that shortcut must give what
// formatting the number would.
void InventoryQueriesTest::storedTextShowsAsItsNumber_data()
{
    QTest::addColumn<QString>("stored");
    for (const char* text : {"12.30", "-1.50", "0.05", "0.00", "-0.00", "007.50", "00.50", ".50",
                             "12.3", "5.236", "1e3", "+12.30", "12.30 ", "1234567890123.45",
                             "12345678901234.56", "99999999999999.99", "١٢.٣٠"})
        QTest::newRow(text) << QString::fromUtf8(text);
}

void InventoryQueriesTest::storedTextShowsAsItsNumber()
{
    QFETCH(QString, stored);
    const std::optional<double> number = ToNumber(stored);
    QCOMPARE(FormatIndexValue(stored), number ? FormatIndexValue(*number) : QString());
}

QTEST_GUILESS_MAIN(InventoryQueriesTest)
#include "tst_inventory_queries.moc"
