#include "workspace/Validation.h"

#include <QtTest>

#include <functional>

namespace {

constexpr int kSulphur = 5;
constexpr int kAsh = 6;
constexpr int kVdaf = 8;
constexpr int kMoisture = 1;

using Edit = std::function<void(WorkspaceInput&)>;

GridRow Coal(const QString& name, const QString& price, const QString& ash, const QString& sulphur,
             const QString& stock)
{
    GridRow row;
    row.cells[kNameCell] = name;
    row.cells[kPriceCell] = price;
    row.cells[IndexCell(kAsh)] = ash;
    row.cells[IndexCell(kSulphur)] = sulphur;
    row.cells[kStockCell] = stock;
    return row;
}

// Two coals that pass every check, with an ash upper bound.
WorkspaceInput ValidInput()
{
    WorkspaceInput input;
    input.grid.rows[0] = Coal("A", "500", "10", "0.5", "600");
    input.grid.rows[1] = Coal("B", "450", "14", "0.9", "400");
    input.upper[kAsh] = QStringLiteral("12");
    return input;
}

// What a run shows before it writes anything: compaction, then the checks.
QString RunChecks(WorkspaceInput input)
{
    CompactRows(input.grid);
    if (Status checked = CheckNamesAndPrices(input.grid); !checked)
        return checked.message();
    return CheckInput(input).message();
}

QString Cell(WorkspaceInput& input, int row, int cell, const QString& text)
{
    return input.grid.rows[row].cells[cell] = text;
}

}  // namespace

Q_DECLARE_METATYPE(Edit)

class ValidationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void messages_data();
    void messages();
    void blankOrNumeric_data();
    void blankOrNumeric();
};

void ValidationTest::messages_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("message");

    QTest::newRow("valid") << Edit([](WorkspaceInput&) {}) << "";

    // Names and prices come first, whatever else is wrong.
    QTest::newRow("price without name") << Edit([](WorkspaceInput& in) {
        in.grid.rows[2].cells[kPriceCell] = "300";
        in.upper[kAsh] = "x";
    }) << "第3行的煤名称没有填写，请你填写";
    QTest::newRow("name without price") << Edit([](WorkspaceInput& in) { Cell(in, 1, kPriceCell, ""); })
                                        << "第2行的价格没有填写，请你填写";
    QTest::newRow("rows are numbered after compaction") << Edit([](WorkspaceInput& in) {
        in.grid.rows[6] = Coal("", "1", "", "", "");
    }) << "第3行的煤名称没有填写，请你填写";
    QTest::newRow("blank-only name") << Edit([](WorkspaceInput& in) {
        in.grid.rows[2] = Coal(" ", "", "", "", "");
    }) << "第3行的价格没有填写，请你填写";

    // Grid numbers: first bad cell, row by row, in column order; CR LF at the end.
    QTest::newRow("Vdaf-only row passes") << Edit([](WorkspaceInput& in) { Cell(in, 4, IndexCell(kVdaf), "30"); })
                                          << "";
    QTest::newRow("Vdaf-only row is blank but checked") << Edit([](WorkspaceInput& in) {
        Cell(in, 2, IndexCell(kVdaf), "abc");
    }) << "第3种煤:挥发分vdaf值请填写成数字\r\n";
    QTest::newRow("percent sign") << Edit([](WorkspaceInput& in) { Cell(in, 0, IndexCell(kMoisture), "12.3%"); })
                                  << "第1种煤:A全水值请填写成数字\r\n";
    QTest::newRow("blank-only cell") << Edit([](WorkspaceInput& in) { Cell(in, 1, IndexCell(kSulphur), " "); })
                                     << "第2种煤:B硫分值请填写成数字\r\n";
    QTest::newRow("earlier column first") << Edit([](WorkspaceInput& in) {
        Cell(in, 0, kPriceCell, "x");
        Cell(in, 0, IndexCell(13), "y");
    }) << "第1种煤:A灰熔点值请填写成数字\r\n";
    QTest::newRow("earlier row first") << Edit([](WorkspaceInput& in) {
        Cell(in, 0, kPriceCell, "x");
        Cell(in, 1, IndexCell(0), "y");
    }) << "第1种煤:A价格请填写成数字\r\n";
    QTest::newRow("checks go on after a valid recovery rate") << Edit([](WorkspaceInput& in) {
        Cell(in, 0, IndexCell(kRecoveryIndex), "80");
        Cell(in, 1, kPriceCell, "4x0");
    }) << "第2种煤:B价格请填写成数字\r\n";
    QTest::newRow("Y") << Edit([](WorkspaceInput& in) { Cell(in, 1, IndexCell(10), "-"); })
                       << "第2种煤:BY值请填写成数字\r\n";
    QTest::newRow("recovery rate") << Edit([](WorkspaceInput& in) { Cell(in, 0, IndexCell(kRecoveryIndex), "8O"); })
                                   << "第1种煤:A回收率值请填写成数字\r\n";
    QTest::newRow("stock") << Edit([](WorkspaceInput& in) { Cell(in, 0, kStockCell, "many"); })
                           << "第1种煤:A库存请填写成数字\r\n";
    QTest::newRow("shovel weight") << Edit([](WorkspaceInput& in) { Cell(in, 1, kShovelCell, "2t"); })
                                   << "第2种煤:B每铲重量请填写成数字\r\n";

    // Targets.
    QTest::newRow("no bound, tonnage given") << Edit([](WorkspaceInput& in) {
        in.upper[kAsh].clear();
        in.tonnage = "100";
    }) << "请您至少填写一项您要达到的指标！";
    QTest::newRow("lower bound label") << Edit([](WorkspaceInput& in) { in.lower[kMoisture] = "a"; })
                                       << "请将水份的指标下限填写成数字！";
    QTest::newRow("upper bound label") << Edit([](WorkspaceInput& in) { in.upper[kSulphur] = "a"; })
                                       << "请将硫分的指标上限填写成数字！";
    QTest::newRow("lower before upper") << Edit([](WorkspaceInput& in) {
        in.upper[kSulphur] = "a";
        in.lower[kSulphur] = "b";
    }) << "请将硫分的指标下限填写成数字！";
    QTest::newRow("table order") << Edit([](WorkspaceInput& in) {
        in.upper[11] = "a";
        in.lower[10] = "b";
    }) << "请将胶质层的指标下限填写成数字！";
    QTest::newRow("recovery lower") << Edit([](WorkspaceInput& in) { in.lower[kRecoveryIndex] = "a"; })
                                    << "请将回收率指标下限填写成数字！";
    QTest::newRow("recovery upper") << Edit([](WorkspaceInput& in) { in.upper[kRecoveryIndex] = "a"; })
                                    << "请将回收率指标上限限填写成数字！";
    QTest::newRow("tonnage") << Edit([](WorkspaceInput& in) { in.tonnage = "1000t"; })
                             << "请将配多少吨煤填写成数字！";

    // Numbers no value can hold, or the engine cannot take, are no numbers to the checks.
    QTest::newRow("price beyond a double") << Edit([](WorkspaceInput& in) { Cell(in, 1, kPriceCell, "1e400"); })
                                           << "第2种煤:B价格请填写成数字\r\n";
    QTest::newRow("ash beyond fifteen digits") << Edit([](WorkspaceInput& in) { Cell(in, 0, IndexCell(kAsh), "1e15"); })
                                               << "第1种煤:A灰分值请填写成数字\r\n";
    QTest::newRow("bound of 1e30") << Edit([](WorkspaceInput& in) { in.upper[kAsh] = "1e30"; })
                                   << "请将灰分的指标上限填写成数字！";
    QTest::newRow("tonnage beyond a double") << Edit([](WorkspaceInput& in) { in.tonnage = "1e400"; })
                                             << "请将配多少吨煤填写成数字！";
    QTest::newRow("largest usable number meets the price's range")
        << Edit([](WorkspaceInput& in) { Cell(in, 0, kPriceCell, "999999999999999"); })
        << "第1种煤:A价格 999999999999999 超出了范围 -100万～100万元/吨";

    // Quantities cannot be negative; a tonnage is more than nothing.
    QTest::newRow("negative tonnage") << Edit([](WorkspaceInput& in) { in.tonnage = "-100"; })
                                      << "配多少吨煤必须大于0！";
    QTest::newRow("tonnage 0") << Edit([](WorkspaceInput& in) { in.tonnage = "0"; }) << "配多少吨煤必须大于0！";
    QTest::newRow("tonnage -0") << Edit([](WorkspaceInput& in) { in.tonnage = "-0"; }) << "配多少吨煤必须大于0！";
    QTest::newRow("negative stock") << Edit([](WorkspaceInput& in) { Cell(in, 1, kStockCell, "-5"); })
                                    << "第2种煤:B库存不能是负数";
    QTest::newRow("negative shovel weight") << Edit([](WorkspaceInput& in) { Cell(in, 0, kShovelCell, "-1.5"); })
                                            << "第1种煤:A每铲重量不能是负数";
    QTest::newRow("negative price passes") << Edit([](WorkspaceInput& in) { Cell(in, 0, kPriceCell, "-5"); }) << "";

    // The coal rule the editor and the import apply: ranges and names.
    QTest::newRow("negative index") << Edit([](WorkspaceInput& in) { Cell(in, 0, IndexCell(kSulphur), "-0.1"); })
                                    << "第1种煤:A硫分 -0.1 超出了范围 0～100%";
    QTest::newRow("ash of 250") << Edit([](WorkspaceInput& in) { Cell(in, 1, IndexCell(kAsh), "250"); })
                                << "第2种煤:B灰分 250 超出了范围 0～100%";
    QTest::newRow("unusual ash passes") << Edit([](WorkspaceInput& in) { Cell(in, 1, IndexCell(kAsh), "75"); }) << "";
    QTest::newRow("shovel weight 0 in shovel mode") << Edit([](WorkspaceInput& in) {
        in.shovelMode = true;
        Cell(in, 0, kShovelCell, "0");
        Cell(in, 1, kShovelCell, "3");
    }) << "第1种煤:A每铲重量 0 超出了范围 0～1000吨（不含0）";
    QTest::newRow("shovel weight 0 unused by parts") << Edit([](WorkspaceInput& in) { Cell(in, 0, kShovelCell, "0"); })
                                                     << "";
    QTest::newRow("tab in a name") << Edit([](WorkspaceInput& in) { Cell(in, 0, kNameCell, "A\tB"); })
                                   << "第1行的煤名称含有控制字符 U+0009（第 2 个字符），请删去";

    // Coverage.
    QTest::newRow("one coal") << Edit([](WorkspaceInput& in) { in.grid.rows[1] = GridRow(); })
                              << "您至少要输入2种煤！";
    QTest::newRow("bound without values") << Edit([](WorkspaceInput& in) {
        in.upper[kSulphur] = "0.8";
        Cell(in, 1, IndexCell(kSulphur), "");
    }) << "你既然要算硫的指标，但是你参与配煤的第2种煤，没有填写硫的值，这怎么计算？";
    QTest::newRow("lower bound alone counts") << Edit([](WorkspaceInput& in) {
        in.lower[kMoisture] = "5";
    }) << "你既然要算水分的指标，但是你参与配煤的第1种煤，没有填写水分的值，这怎么计算？";
    QTest::newRow("tonnage needs stock") << Edit([](WorkspaceInput& in) {
        in.tonnage = "100";
        Cell(in, 1, kStockCell, "");
    }) << "你既然要算库存的指标，但是你参与配煤的第2种煤，没有填写库存的值，这怎么计算？";
    QTest::newRow("shovel mode needs shovel weight") << Edit([](WorkspaceInput& in) {
        in.shovelMode = true;
        Cell(in, 0, kShovelCell, "2");
    }) << "你既然要算以铲数来配比的指标，但是你参与配煤的第2种煤，没有填写以铲数来配比的值，这怎么计算？";
    QTest::newRow("shovel weights given") << Edit([](WorkspaceInput& in) {
        in.shovelMode = true;
        Cell(in, 0, kShovelCell, "2");
        Cell(in, 1, kShovelCell, "3");
    }) << "";

    // Figures the bases of the bounded indices need, with basis weighting on
    // (coal A has 全水 8; the ash is dry, the heat as received, 高位 air-dried).
    const auto weighted = [](const std::function<void(WorkspaceInput&)>& edit) {
        return Edit([edit](WorkspaceInput& in) {
            in.weighting.on = true;
            Cell(in, 0, IndexCell(kMoisture), "8");
            edit(in);
        });
    };
    QTest::newRow("dry ash needs 全水") << weighted([](WorkspaceInput&) {})
        << "按基准加权时，第2种煤（B）没有填写全水，无法按干基计算灰分。请填写全水，或在系统配置中改变灰分的基准";
    QTest::newRow("全水 given") << weighted([](WorkspaceInput& in) { Cell(in, 1, IndexCell(kMoisture), "12"); }) << "";
    QTest::newRow("全水 of 100 leaves no dry mass") << weighted([](WorkspaceInput& in) {
        Cell(in, 1, IndexCell(kMoisture), "100");
    }) << "按基准加权时，第2种煤（B）的全水为100，无法按干基计算灰分。请修改全水，或在系统配置中改变灰分的基准";
    QTest::newRow("ash chosen as received needs nothing") << weighted([](WorkspaceInput& in) {
        in.weighting.basis[kAsh] = Basis::AsReceived;
    }) << "";
    QTest::newRow("unbounded index needs nothing") << weighted([](WorkspaceInput& in) {
        in.upper[kAsh].clear();
        in.lower[2] = "5000";
        Cell(in, 0, IndexCell(2), "5500");
        Cell(in, 1, IndexCell(2), "4800");
    }) << "";
    QTest::newRow("air-dried 高位 needs 内水") << weighted([](WorkspaceInput& in) {
        in.upper[kAsh].clear();
        in.lower[3] = "6000";
        Cell(in, 0, IndexCell(3), "6500");
        Cell(in, 1, IndexCell(3), "5800");
        Cell(in, 1, IndexCell(kMoisture), "12");
        Cell(in, 1, IndexCell(0), "1.5");
    }) << "按基准加权时，第1种煤（A）没有填写内水，无法按空干基计算高位热量。请填写内水，或在系统配置中改变高位热量的基准";
    QTest::newRow("off: nothing needed") << weighted([](WorkspaceInput& in) { in.weighting.on = false; }) << "";

    // Stock against tonnage.
    QTest::newRow("tonnage equal to stock") << Edit([](WorkspaceInput& in) { in.tonnage = "1000"; }) << "";
    QTest::newRow("one ton more") << Edit([](WorkspaceInput& in) { in.tonnage = "1001"; })
                                  << "您想配1001吨煤，但是你所输入的几种煤库存加起来只有1000吨，怎么可能配出1001吨的煤";
    QTest::newRow("shortest number form") << Edit([](WorkspaceInput& in) {
        in.tonnage = "1000.50";
        Cell(in, 1, kStockCell, "400.25");
    }) << "您想配1000.5吨煤，但是你所输入的几种煤库存加起来只有1000.25吨，怎么可能配出1000.5吨的煤";

    // Proportion count.
    const auto count = [](const char* text) { return Edit([text](WorkspaceInput& in) { in.proportionCount = text; }); };
    QTest::newRow("count empty") << count("") << "";
    QTest::newRow("count 1000") << count("1000") << "";
    QTest::newRow("count 1000.5 rounds to even") << count("1000.5") << "";
    QTest::newRow("count 1001") << count("1001") << "最大比例数不能超过1000";
    QTest::newRow("count 1000.6") << count("1000.6") << "最大比例数不能超过1000";
    QTest::newRow("count 1e20") << count("1e20") << "最大比例数不能超过1000";
    QTest::newRow("count abc") << count("abc") << "比例数请填写成数字";
    QTest::newRow("count blank") << count(" ") << "比例数请填写成数字";
    QTest::newRow("count negative") << count("-5") << "比例数不能小于2";
    QTest::newRow("count 0") << count("0") << "比例数不能小于2";
    QTest::newRow("count 1") << count("1") << "比例数不能小于2";
    QTest::newRow("count 2.5 rounds to even") << count("2.5") << "";
    QTest::newRow("count 1.5 rounds to 2") << count("1.5") << "";
    QTest::newRow("stock check before count") << Edit([](WorkspaceInput& in) {
        in.tonnage = "2000";
        in.proportionCount = "abc";
    }) << "您想配2000吨煤，但是你所输入的几种煤库存加起来只有1000吨，怎么可能配出2000吨的煤";
}

void ValidationTest::messages()
{
    QFETCH(Edit, edit);
    QFETCH(QString, message);
    WorkspaceInput input = ValidInput();
    edit(input);
    QCOMPARE(RunChecks(input), message);
}

void ValidationTest::blankOrNumeric_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("number") << " 12.5 " << true;
    QTest::newRow("exponent") << "1e3" << true;
    QTest::newRow("blank") << " " << false;
    QTest::newRow("percent") << "12.3%" << false;
}

void ValidationTest::blankOrNumeric()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(IsBlankOrNumeric(text), accepted);
}

QTEST_GUILESS_MAIN(ValidationTest)
#include "tst_validation.moc"
