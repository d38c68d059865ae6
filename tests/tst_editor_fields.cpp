// The coal editor's rules on plain field texts: which checks fail and in what
// order, and how typed texts become the stored coal and back.
#include "data/CoalTable.h"
#include "inventory/CoalForm.h"
#include "inventory/CoalImport.h"
#include "support/TestFolder.h"
#include "ui/widgets/IndexCaptions.h"

#include <QTest>

namespace {

int Position(const char* field)
{
    return static_cast<int>(EditorFieldNames().indexOf(QLatin1String(field)));
}

CoalFields Valid()
{
    CoalFields fields;
    fields.name = QStringLiteral("山西焦煤");
    fields.price = QStringLiteral("650");
    return fields;
}

}  // namespace

class EditorFieldsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void checkFields_data();
    void checkFields();
    void everyNumberCheckInOrder();
    void collectCoal_data();
    void collectCoal();
    void fieldsFromStoredCoal();
    void savedAndReloadedShowsWhatWasTyped();
    void windowCaptionsNameTheirIndexInAnImport();
};

void EditorFieldsTest::checkFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("emptyNameAndPrice");
    QTest::addColumn<QString>("expected");

    QTest::newRow("name and price empty") << "" << "" << true
                                          << "请填写煤名称\r\n请填写煤的价格\r\n";
    QTest::newRow("letters in the price: only the number message")
        << "txtJiage" << "abc" << false << "填写的价格必须是数字\r\n";
    QTest::newRow("blank-only name is not empty") << "txtName" << " " << false << "";
    QTest::newRow("blank-only index is not a number") << "txtHuifen" << " " << false
                                                       << "填写的灰分必须是数字\r\n";
    QTest::newRow("percent sign") << "txtLiu" << "12.3%" << false << "填写的硫必须是数字\r\n";
    QTest::newRow("dry ash-free volatile matter is not checked") << "txtHuiFaFenVdaf" << "abc"
                                                                  << false << "";
    QTest::newRow("stock") << "txtKuCun" << "1,200" << false << "填写的库存必须是数字\r\n";
    QTest::newRow("tons per shovel") << "txtMeiChan" << "two" << false
                                     << "填写的每铲等于多少吨必须是数字\r\n";
    // What no value can hold is no number; quantities cannot be negative.
    QTest::newRow("price beyond a double") << "txtJiage" << "1e400" << false << "填写的价格必须是数字\r\n";
    QTest::newRow("index beyond fifteen digits") << "txtHuifen" << "-2e15" << false << "填写的灰分必须是数字\r\n";
    // The coal rule shared with the grid and the import: ranges and names.
    QTest::newRow("negative stock") << "txtKuCun" << "-1" << false << "填写的库存 -1 超出了范围 0～1亿吨\r\n";
    QTest::newRow("negative tons per shovel") << "txtMeiChan" << "-0.5" << false
                                              << "填写的每铲重量 -0.5 超出了范围 0～1000吨（不含0）\r\n";
    QTest::newRow("tons per shovel of zero") << "txtMeiChan" << "0" << false
                                             << "填写的每铲重量 0 超出了范围 0～1000吨（不含0）\r\n";
    QTest::newRow("negative price keeps its rules") << "txtJiage" << "-3" << false << "";
    QTest::newRow("price of 1e14") << "txtJiage" << "1e14" << false
                                   << "填写的价格 100000000000000 超出了范围 -100万～100万元/吨\r\n";
    QTest::newRow("ash of 250") << "txtHuifen" << "250" << false << "填写的灰分 250 超出了范围 0～100%\r\n";
    QTest::newRow("Vdaf is checked for its range") << "txtHuiFaFenVdaf" << "150" << false
                                                   << "填写的挥vdaf 150 超出了范围 0～100%\r\n";
    QTest::newRow("unusual ash is only asked about") << "txtHuifen" << "75" << false << "";
    QTest::newRow("zero-width space in the name") << "txtName" << "煤\u200BA" << false
                                                  << "煤名称含有看不见的字符 U+200B（第 2 个字符），请删去\r\n";
}

void EditorFieldsTest::checkFields()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, emptyNameAndPrice);
    QFETCH(QString, expected);

    CoalFields fields = emptyNameAndPrice ? CoalFields() : Valid();
    if (!field.isEmpty())
        fields.at(Position(field.toLatin1().constData())) = text;
    QCOMPARE(CheckFields(fields).message(), expected);
}

void EditorFieldsTest::everyNumberCheckInOrder()
{
    CoalFields fields;
    fields.name = QStringLiteral("x");
    for (int i = 1; i < kEditorFieldCount; ++i)
        fields.at(i) = QStringLiteral("x");
    const QStringList expected = {
        "填写的灰分必须是数字", "填写的挥发分必须是数字", "填写的硫必须是数字",
        "填写的水份必须是数字", "填写的热量必须是数字", "填写的高位发热量必须是数字",
        "填写的Y值必须是数字", "填写的G值必须是数字", "填写的内水必须是数字",
        "填写的固定碳必须是数字", "填写的可磨性必须是数字", "填写的灰熔点必须是数字",
        "填写的分析基必须是数字", "填写的每铲等于多少吨必须是数字", "填写的回收率必须是数字",
        "填写的价格必须是数字", "填写的库存必须是数字"};
    QCOMPARE(CheckFields(fields).message(), expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

    // With the name and price missing as well, their two lines come first.
    fields.name.clear();
    fields.price.clear();
    QVERIFY(CheckFields(fields).message().startsWith(QStringLiteral("请填写煤名称\r\n请填写煤的价格\r\n填写的灰分")));
}

void EditorFieldsTest::collectCoal_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    QTest::newRow("12.3 gets two decimals") << "txtHuifen" << "12.3" << "12.30";
    QTest::newRow("zero is 0") << "txtKuCun" << "0" << "0";
    QTest::newRow("text in Vdaf is saved empty") << "txtHuiFaFenVdaf" << "abc" << "";
    QTest::newRow("Vdaf value") << "txtHuiFaFenVdaf" << "31" << "31.00";
    QTest::newRow("name composed to NFC") << "txtName" << "e\u0301煤" << "\u00E9煤";
}

void EditorFieldsTest::collectCoal()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, stored);

    CoalFields fields = Valid();
    const int position = Position(field.toLatin1().constData());
    fields.at(position) = typed;
    const Mei coal = CollectCoal(fields, 0, QDateTime());
    // Read the stored value back through the fields view, which maps each
    // position to the same Mei member (and leaves stored texts as they are).
    QCOMPARE(FieldsFromCoal(coal).at(position), stored);
}

void EditorFieldsTest::fieldsFromStoredCoal()
{
    CoalFields fields = Valid();
    fields.name = QStringLiteral("  O'Brien ");
    fields.price = QStringLiteral("350.456");
    const QDateTime saved(QDate(2026, 12, 6), QTime(18, 5, 33));
    const Mei coal = CollectCoal(fields, 42, saved);
    QCOMPARE(coal.id, 42);
    QCOMPARE(coal.Riqi, saved);
    QCOMPARE(coal.MingCheng, QStringLiteral("  O'Brien "));
    QCOMPARE(coal.JiaGe, 350.46);

    Mei stored;
    stored.MingCheng = QStringLiteral("A");
    stored.JiaGe = 350;
    QCOMPARE(FieldsFromCoal(stored).price, QStringLiteral("350.00"));
    stored.JiaGe = 0;
    QCOMPARE(FieldsFromCoal(stored).price, QStringLiteral("0"));
}

void EditorFieldsTest::savedAndReloadedShowsWhatWasTyped()
{
    TestFolder folder;
    CoalFields fields = Valid();
    const char* typed[] = {"5", "8.1", "5500", "6100", "3", "0.6", "10", "28", "31", "85", "16",
                           "60", "70", "1350", "62", "1200", "0", "650.456"};
    for (int i = 1; i < kEditorFieldCount; ++i)
        fields.at(i) = QString::fromUtf8(typed[i - 1]);
    Expect(SaveCoal(folder.folder(), CollectCoal(fields, 0, QDateTime::currentDateTime())));

    const CoalFields shown = FieldsFromCoal(Expect(LoadCoal(folder.folder(), 1)).value());
    QCOMPARE(shown.name, fields.name);
    QCOMPARE(shown.at(Position("txtHuiFaFenVdaf")), QStringLiteral("31.00"));
    QCOMPARE(shown.stock, QStringLiteral("1200.00"));
    QCOMPARE(shown.shovel, QStringLiteral("0"));
    QCOMPARE(shown.price, QStringLiteral("650.46"));
    // Shown values are already in their stored form: confirming them again
    // writes the same coal.
    QCOMPARE(CollectCoal(shown, 1, QDateTime()), CollectCoal(fields, 1, QDateTime()));
}

QTEST_GUILESS_MAIN(EditorFieldsTest)
// A sheet saved from the program's own windows carries their captions: each
// names its own index when the sheet is imported.
void EditorFieldsTest::windowCaptionsNameTheirIndexInAnImport()
{
    for (int i = 0; i < kIndexCount; ++i) {
        const IndexView& index = IndexViews()[i];
        for (const char* caption : {index.editorLabel, index.workspaceLabel, index.targetCaption})
            QCOMPARE(MatchColumnHeader(QString::fromUtf8(caption)), ImportIndexField(i));
    }
}

#include "tst_editor_fields.moc"
