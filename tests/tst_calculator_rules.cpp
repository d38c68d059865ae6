// The manual calculator's computation on a plain grid: its own checks, the
// proportions as whole numbers, the weighted result text, and the mixes that
// have no result.
#include "workspace/Calculator.h"
#include "workspace/Validation.h"

#include <QTest>

namespace {

// A grid row from its name, proportion, price, ash and tons per shovel.
struct RowValues {
    QString name, proportion, price, ash, shovel;
};

Grid MakeGrid(const QList<RowValues>& rows, const QList<int>& at = {})
{
    Grid grid;
    for (int i = 0; i < rows.size(); ++i) {
        GridRow& row = grid.rows[at.isEmpty() ? i : at[i]];
        row.cells[kNameCell] = rows[i].name;
        row.cells[kStockCell] = rows[i].proportion;
        row.cells[kPriceCell] = rows[i].price;
        row.cells[IndexCell(6)] = rows[i].ash;
        row.cells[kShovelCell] = rows[i].shovel;
    }
    return grid;
}

}  // namespace

Q_DECLARE_METATYPE(Grid)

class CalculatorRulesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void calculate_data();
    void calculate();
    void fullResultText();
    void proportionArray_data();
    void proportionArray();
    void failedCheckStillCompacts();
    void basisWeights_data();
    void basisWeights();
};

void CalculatorRulesTest::calculate_data()
{
    QTest::addColumn<Grid>("grid");
    QTest::addColumn<bool>("shovelMode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("resultHolds");

    QTest::newRow("1 and 1 average the ash")
        << MakeGrid({{"A", "1", "100", "10", ""}, {"B", "1", "200", "20", ""}}) << false << ""
        << "灰分：15.00";
    QTest::newRow("price is weighted too")
        << MakeGrid({{"A", "1", "100", "10", ""}, {"B", "3", "200", "20", ""}}) << false << ""
        << "单价：175.00";
    QTest::newRow("2.5 counts as 2, 3.5 as 4")
        << MakeGrid({{"A", "2.5", "100", "10", ""}, {"B", "3.5", "100", "20", ""}}) << false << ""
        << "灰分：16.67";
    QTest::newRow("shovel mode weighs by tons per shovel")
        << MakeGrid({{"A", "1", "100", "10", "1"}, {"B", "1", "100", "20", "3"}}) << true << ""
        << "灰分：17.50";
    QTest::newRow("gaps are closed first")
        << MakeGrid({{"A", "1", "100", "10", ""}, {"B", "1", "200", "20", ""}}, {0, 4}) << false
        << "" << "灰分：15.00";
    QTest::newRow("a coal without ash leaves the ash empty")
        << MakeGrid({{"A", "1", "100", "10", ""}, {"B", "1", "200", "", ""}}) << false << ""
        << "灰分：挥发分：";
    QTest::newRow("a coal with proportion 0 does not count")
        << MakeGrid({{"A", "1", "100", "10", ""}, {"B", "0", "200", "", ""}}) << false << ""
        << "灰分：10.00";

    QTest::newRow("shovel mode without a shovel weight")
        << MakeGrid({{"A", "1", "100", "10", "1"}, {"B", "1", "100", "20", ""}}) << true
        << MissingValueMessage(QStringLiteral("以铲数来配比"), 1) << "";
    QTest::newRow("missing proportion")
        << MakeGrid({{"A", "1", "100", "", ""}, {"B", "", "100", "", ""}}) << false
        << "第2行的配比没有填写，请你填写" << "";
    QTest::newRow("missing name before proportion")
        << MakeGrid({{"A", "1", "100", "", ""}, {"", "", "100", "", ""}}) << false
        << "第2行的煤名称没有填写，请你填写" << "";
    QTest::newRow("missing price")
        << MakeGrid({{"A", "1", "", "", ""}, {"B", "1", "100", "", ""}}) << false
        << "第1行的价格没有填写，请你填写" << "";
    QTest::newRow("proportion not a number uses the stock wording")
        << MakeGrid({{"A", "x", "100", "", ""}, {"B", "1", "100", "", ""}}) << false
        << "第1种煤:A库存请填写成数字\r\n" << "";
    QTest::newRow("one coal")
        << MakeGrid({{"A", "1", "100", "", ""}}) << false << "您至少要输入2种煤！" << "";
    QTest::newRow("all proportions 0")
        << MakeGrid({{"A", "0", "100", "10", ""}, {"B", "0.4", "100", "20", ""}}) << false
        << "配比合计为0，无法计算混合后的指标，请修改配比" << "";
    QTest::newRow("a negative proportion is refused, not cancelled out")
        << MakeGrid({{"A", "2", "100", "10", ""}, {"B", "-2", "100", "20", ""}}) << false
        << "第2行的配比不能是负数" << "";
    QTest::newRow("a negative shovel weight is refused, not cancelled out")
        << MakeGrid({{"A", "1", "100", "10", "2"}, {"B", "2", "100", "20", "-1"}}) << true
        << "第2行的每铲重量不能是负数" << "";
    QTest::newRow("shovels weighing nothing")
        << MakeGrid({{"A", "1", "100", "10", "0"}, {"B", "1", "100", "20", "0"}}) << true
        << "配比乘以每铲重量合计为0，无法计算混合后的指标，请修改配比" << "";
    QTest::newRow("proportion beyond the whole-number range")
        << MakeGrid({{"A", "1", "100", "10", ""}, {"B", "32767.5", "100", "20", ""}}) << false
        << "第2行的配比超出了范围，配比请填写-32768到32767之间的数" << "";
}

void CalculatorRulesTest::calculate()
{
    QFETCH(Grid, grid);
    QFETCH(bool, shovelMode);
    QFETCH(QString, message);
    QFETCH(QString, resultHolds);

    const Result<QString> outcome = Calculator::Calculate(grid, shovelMode);
    QCOMPARE(outcome.message(), message);
    if (message.isEmpty())
        QVERIFY2(outcome->contains(resultHolds), qPrintable(*outcome));
}

void CalculatorRulesTest::fullResultText()
{
    Grid grid = MakeGrid({{"A", "1", "100", "10", ""}, {"B", "1", "200", "20", ""}});
    for (int r = 0; r < 2; ++r) {
        grid.rows[r].cells[IndexCell(0)] = QStringLiteral("0");          // inherent moisture
        grid.rows[r].cells[IndexCell(4)] = QStringLiteral("%1").arg(r + 1);  // analysis basis
        grid.rows[r].cells[IndexCell(14)] = QStringLiteral("60");        // recovery: not shown
    }
    // The analysis basis comes after Vdaf; an index no coal has shows nothing.
    QCOMPARE(*Calculator::Calculate(grid, false),
             QStringLiteral("内水：0全水：低位：高位：硫分：灰分：15.00挥发分：挥发分vdaf："
                            "分析基：1.50粘结G：胶质层Y：固定碳：可模性：灰熔点：单价：150.00"));
}

void CalculatorRulesTest::proportionArray_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("expected");
    QTest::addColumn<bool>("ok");

    QTest::newRow("halves to even") << QStringList{"0.5", "1.5", "2.5", "3.5", "1200.00"}
                                    << QList<int>{0, 2, 2, 4, 1200} << true;
    QTest::newRow("range end") << QStringList{"32767", "32767.4"} << QList<int>{32767, 32767} << true;
    QTest::newRow("above") << QStringList{"1", "40000"} << QList<int>{} << false;
    QTest::newRow("below") << QStringList{"-32768.6"} << QList<int>{} << false;
    QTest::newRow("huge") << QStringList{"1e20"} << QList<int>{} << false;
    QTest::newRow("negative") << QStringList{"3", "-1"} << QList<int>{} << false;
    QTest::newRow("a half below zero rounds to zero") << QStringList{"-0.5"} << QList<int>{0} << true;
}

void CalculatorRulesTest::proportionArray()
{
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, expected);
    QFETCH(bool, ok);

    QVector<Mei> coals(texts.size());
    for (int i = 0; i < texts.size(); ++i)
        coals[i].Kucun = texts[i];
    const auto proportions = Calculator::ProportionArray(coals);
    QCOMPARE(proportions.ok(), ok);
    if (ok) {
        QList<int> got(proportions->begin(), proportions->end());
        QCOMPARE(got, expected);
    }
}

void CalculatorRulesTest::failedCheckStillCompacts()
{
    Grid grid = MakeGrid({{"A", "1", "100", "", ""}, {"B", "", "100", "", ""}}, {3, 7});
    QVERIFY(!Calculator::Calculate(grid, false).ok());
    QCOMPARE(grid.rows[0].name(), QStringLiteral("A"));
    QCOMPARE(grid.rows[1].name(), QStringLiteral("B"));
    QVERIFY(IsRowBlank(grid, 3));
}

// Ash on its dry basis: coal A (全水 10) counts 0.9 of its parts, coal B
// (全水 30) 0.7: (10 x 0.9 + 20 x 0.7) / 1.6 = 14.375.
void CalculatorRulesTest::basisWeights_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("moistureB");
    QTest::addColumn<QString>("resultHolds");
    QTest::newRow("dry ash") << true << "30" << "灰分：14.38";
    QTest::newRow("off") << false << "30" << "灰分：15.00";
    QTest::newRow("no 全水 leaves the ash empty") << true << "" << "灰分：挥发分";
}

void CalculatorRulesTest::basisWeights()
{
    QFETCH(bool, on);
    QFETCH(QString, moistureB);
    QFETCH(QString, resultHolds);
    Grid grid = MakeGrid({{"A", "1", "100", "10", ""}, {"B", "1", "200", "20", ""}});
    grid.rows[0].cells[IndexCell(1)] = QStringLiteral("10");
    grid.rows[1].cells[IndexCell(1)] = moistureB;
    const Result<QString> outcome = Calculator::Calculate(grid, false, BasisWeighting{on});
    QVERIFY2(outcome->contains(resultHolds), qPrintable(*outcome));
    QVERIFY(outcome->contains(QStringLiteral("单价：150.00")));  // the price stays by tons
}

QTEST_GUILESS_MAIN(CalculatorRulesTest)
#include "tst_calculator_rules.moc"
