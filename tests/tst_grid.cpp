#include "workspace/GridRows.h"

#include <QtTest>

namespace {

constexpr int kAsh = IndexCell(6);
constexpr int kVdaf = IndexCell(8);
constexpr int kRecovery = IndexCell(kRecoveryIndex);

// A row holding a name and a price, and optionally more cells.
GridRow Coal(const QString& name, const QString& price, std::initializer_list<std::pair<int, QString>> more = {})
{
    GridRow row;
    row.cells[kNameCell] = name;
    row.cells[kPriceCell] = price;
    for (const auto& [cell, text] : more)
        row.cells[cell] = text;
    return row;
}

Grid GridOf(std::initializer_list<std::pair<int, GridRow>> rows)
{
    Grid grid;
    for (const auto& [index, row] : rows)
        grid.rows[index] = row;
    return grid;
}

QStringList Names(const Grid& grid)
{
    QStringList names;
    for (const GridRow& row : grid.rows)
        names << row.name();
    return names;
}

}  // namespace

Q_DECLARE_METATYPE(Grid)

class GridTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void blankRow_data();
    void blankRow();
    void lastCoalRow_data();
    void lastCoalRow();
    void compactMovesRowsWithTheirTicks();
    void compactOverwritesVdafOnlyRow();
    void setTxtValue();
    void setTxtValueDropsCoalsBeyondTheGrid();
    void setTxtValueFillsGapsAndVdafOnlyRows();
    void allPricesEqual_data();
    void allPricesEqual();
    void buildCoalList();
};

void GridTest::blankRow_data()
{
    QTest::addColumn<Grid>("grid");
    QTest::addColumn<bool>("blank");
    QTest::newRow("empty") << Grid() << true;
    QTest::newRow("only Vdaf") << GridOf({{0, Coal("", "", {{kVdaf, "30"}})}}) << true;
    GridRow ticked;
    ticked.checked = true;
    QTest::newRow("only the tick") << GridOf({{0, ticked}}) << true;
    QTest::newRow("a blank in a cell") << GridOf({{0, Coal("", "", {{kAsh, " "}})}}) << false;
    QTest::newRow("only a price") << GridOf({{0, Coal("", "500")}}) << false;
    QTest::newRow("only shovel weight") << GridOf({{0, Coal("", "", {{kShovelCell, "2"}})}}) << false;
    QTest::newRow("only recovery rate") << GridOf({{0, Coal("", "", {{kRecovery, "80"}})}}) << false;
}

void GridTest::blankRow()
{
    QFETCH(Grid, grid);
    QFETCH(bool, blank);
    QCOMPARE(IsRowBlank(grid, 0), blank);
}

void GridTest::lastCoalRow_data()
{
    QTest::addColumn<Grid>("grid");
    QTest::addColumn<int>("last");
    QTest::newRow("empty grid") << Grid() << 0;
    QTest::newRow("one coal") << GridOf({{0, Coal("A", "1")}}) << 0;
    QTest::newRow("three coals") << GridOf({{0, Coal("A", "1")}, {1, Coal("B", "1")}, {2, Coal("C", "1")}}) << 2;
    QTest::newRow("gap ends the run") << GridOf({{0, Coal("A", "1")}, {1, Coal("B", "1")}, {3, Coal("D", "1")}}) << 1;
    QTest::newRow("row 0 unnamed") << GridOf({{0, Coal("", "1")}, {1, Coal("B", "1")}}) << 0;
    Grid full;
    for (int r = 0; r < kGridRows; ++r)
        full.rows[r] = Coal(QString::number(r), "1");
    QTest::newRow("all ten") << full << 9;
}

void GridTest::lastCoalRow()
{
    QFETCH(Grid, grid);
    QFETCH(int, last);
    QCOMPARE(LastCoalRow(grid), last);
}

void GridTest::compactMovesRowsWithTheirTicks()
{
    GridRow d = Coal("D", "2", {{kAsh, "9"}, {kVdaf, "31"}});
    d.checked = true;
    GridRow stray;
    stray.checked = true;  // a tick on an empty row is left where it is
    Grid grid = GridOf({{0, Coal("A", "1")}, {3, d}, {5, stray}, {7, Coal("H", "3")}});
    CompactRows(grid);
    QCOMPARE(Names(grid).mid(0, 4), QStringList({"A", "D", "H", ""}));
    QCOMPARE(grid.rows[1], d);
    QVERIFY(!grid.rows[0].checked);
    QVERIFY(!grid.rows[2].checked);
    for (int r = 3; r < kGridRows; ++r) {
        QVERIFY(IsRowBlank(grid, r));
        QVERIFY2(!grid.rows[r].checked || r == 5, qPrintable(QString::number(r)));
    }
    QCOMPARE(grid.rows[3], GridRow());
    QCOMPARE(grid.rows[7], GridRow());
}

void GridTest::compactOverwritesVdafOnlyRow()
{
    Grid grid = GridOf({{0, Coal("A", "1")}, {1, Coal("", "", {{kVdaf, "28"}})}, {4, Coal("E", "2")}});
    CompactRows(grid);
    QCOMPARE(grid.rows[1], Coal("E", "2"));
    QCOMPARE(grid.rows[4], GridRow());

    // With nothing below it, a Vdaf-only row stays as it is.
    Grid tail = GridOf({{0, Coal("A", "1")}, {1, Coal("", "", {{kVdaf, "28"}})}});
    const Grid before = tail;
    CompactRows(tail);
    QCOMPARE(tail, before);
}

void GridTest::setTxtValue()
{
    Mei coal;
    coal.MingCheng = QStringLiteral(" 大同 5500 ");
    coal.Kucun = QStringLiteral("0");
    coal.MeiChan = QString();
    coal.HuiFen = QStringLiteral("10.5");
    coal.Liu = QStringLiteral("abc");
    coal.ReLiang = QStringLiteral("5236");
    coal.JiaGe = 650;
    Grid grid;
    grid.rows[0].checked = true;
    SetTxtValue(grid, {coal});
    const GridRow& row = grid.rows[0];
    QVERIFY(row.checked);
    QCOMPARE(row.name(), QStringLiteral(" 大同 5500 "));
    QCOMPARE(row.cells[kStockCell], QStringLiteral("0"));
    QCOMPARE(row.cells[kShovelCell], QString());
    QCOMPARE(row.cells[kAsh], QStringLiteral("10.50"));
    QCOMPARE(row.cells[IndexCell(5)], QString());
    QCOMPARE(row.cells[IndexCell(2)], QStringLiteral("5236.00"));
    QCOMPARE(row.price(), QStringLiteral("650.00"));
}

void GridTest::setTxtValueDropsCoalsBeyondTheGrid()
{
    QVector<Mei> coals;
    for (int i = 0; i < 12; ++i) {
        Mei coal;
        coal.MingCheng = QStringLiteral("C%1").arg(i);
        coals << coal;
    }
    Grid grid;
    SetTxtValue(grid, coals);
    for (int r = 0; r < kGridRows; ++r)
        QCOMPARE(grid.rows[r].name(), QStringLiteral("C%1").arg(r));
}

void GridTest::setTxtValueFillsGapsAndVdafOnlyRows()
{
    Grid grid = GridOf({{0, Coal("A", "1")}, {1, Coal("", "", {{kVdaf, "28"}})}, {2, Coal("B", "1")}});
    Mei x, y;
    x.MingCheng = QStringLiteral("X");
    x.HuiFaFenVdaf = QStringLiteral("30");
    y.MingCheng = QStringLiteral("Y");
    SetTxtValue(grid, {x, y});
    QCOMPARE(Names(grid).mid(0, 5), QStringList({"A", "X", "B", "Y", ""}));
    QCOMPARE(grid.rows[1].cells[kVdaf], QStringLiteral("30.00"));
}

void GridTest::allPricesEqual_data()
{
    QTest::addColumn<Grid>("grid");
    QTest::addColumn<bool>("equal");
    QTest::newRow("same text") << GridOf({{0, Coal("A", "650")}, {1, Coal("B", "650")}}) << true;
    QTest::newRow("same number, other text") << GridOf({{0, Coal("A", "650")}, {1, Coal("B", "650.0")}}) << false;
    QTest::newRow("one coal") << GridOf({{0, Coal("A", "650")}}) << true;
    QTest::newRow("rows after the run ignored")
        << GridOf({{0, Coal("A", "650")}, {1, Coal("B", "650")}, {3, Coal("D", "1")}}) << true;
    QTest::newRow("last differs")
        << GridOf({{0, Coal("A", "650")}, {1, Coal("B", "650")}, {2, Coal("C", "651")}}) << false;
}

void GridTest::allPricesEqual()
{
    QFETCH(Grid, grid);
    QFETCH(bool, equal);
    QCOMPARE(AllPricesEqual(grid), equal);
}

void GridTest::buildCoalList()
{
    Grid grid = GridOf({{0, Coal("A", "12.345", {{kAsh, "10.5"}, {kRecovery, "80"}, {kStockCell, "300"}})},
                        {1, Coal("B", "abc", {{kShovelCell, "2.5"}, {kVdaf, " 28"}})},
                        {3, Coal("D", "1")}});
    grid.rows[0].checked = true;
    const QVector<Mei> coals = BuildCoalList(grid);
    QCOMPARE(coals.size(), 2);
    QCOMPARE(coals[0].MingCheng, QStringLiteral("A"));
    QCOMPARE(coals[0].JiaGe, 12.35);
    QCOMPARE(coals[0].HuiFen, QStringLiteral("10.5"));  // texts unchanged
    QCOMPARE(coals[0].Kucun, QStringLiteral("300"));
    QCOMPARE(coals[0].LeiXing, qint16(1));
    QCOMPARE(coals[1].JiaGe, 0.0);
    QCOMPARE(coals[1].MeiChan, QStringLiteral("2.5"));
    QCOMPARE(coals[1].HuiFaFenVdaf, QStringLiteral(" 28"));
    QCOMPARE(coals[1].LeiXing, qint16(0));

    Grid one = GridOf({{0, Coal("A", "1")}});
    QCOMPARE(BuildCoalList(one).size(), 1);
}

QTEST_GUILESS_MAIN(GridTest)
#include "tst_grid.moc"
