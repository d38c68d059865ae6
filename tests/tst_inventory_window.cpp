// The inventory window and the coal editor driven by their control names, the
// way a user works them: add and edit through the editor, search, delete the
// ticked coals, sort by a header, export.
#include "data/CoalTable.h"
#include "support/Controls.h"
#include "support/TestFolder.h"
#include "ui/app/Windows.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/CoalEditor.h"
#include "ui/windows/InventoryWindow.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

void Trigger(QWidget* window, int position)
{
    Child<QAction>(window, qPrintable(QStringLiteral("Toolbar1_%1").arg(position)))->trigger();
}

// Closed windows delete themselves later; let that happen now.
void Settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class InventoryWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void emptyTable();
    void addThroughEditorThenEdit();
    void editorMessages_data();
    void editorMessages();
    void editorRanges_data();
    void editorRanges();
    void settingIdRefillsOpenEditor();
    void search_data();
    void search();
    void deleteTickedRows();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void headerClicksToggleOrder();
    void exports_data();
    void exports();
    void databaseErrorSaidOnce();

private:
    void addCoals(const QStringList& names);
    InventoryWindow* open();
    ReportList* list() { return Child<ReportList>(window_, "ListView1"); }
    QString count() { return Child<QLabel>(window_, "labCONUT")->text(); }
    QStringList names() { return list()->columnCells(1); }
    void tick(int row);

    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<Windows> windows_;
    InventoryWindow* window_ = nullptr;
};

void InventoryWindowTest::init()
{
    folder_ = std::make_unique<TestFolder>();
    windows_ = std::make_unique<Windows>(WindowContext{folder_->folder()});
    Prompt::setTestMode(true);
    Prompt::clear();
}

void InventoryWindowTest::cleanup()
{
    windows_.reset();
    Settle();
    window_ = nullptr;
    folder_.reset();
}

void InventoryWindowTest::addCoals(const QStringList& names)
{
    for (const QString& name : names)
        Expect(SaveCoal(folder_->folder(), MakeCoal(name, 100)));
}

InventoryWindow* InventoryWindowTest::open()
{
    window_ = windows_->inventory();
    window_->show();
    return window_;
}

void InventoryWindowTest::tick(int row)
{
    QAbstractItemModel* model = list()->model();
    model->setData(model->index(row, 0), Qt::Checked, Qt::CheckStateRole);
}

void InventoryWindowTest::emptyTable()
{
    open();
    QCOMPARE(count(), QStringLiteral("0 种"));
    QCOMPARE(list()->listData().columnCount(), 20);
    Trigger(window_, 3);
    QVERIFY(!windows_->existingEditor());
    Trigger(window_, 4);
    QVERIFY(Prompt::shown().isEmpty());
    // An export still asks for a file and writes the header row.
    Prompt::queueFileName(folder_->path(QStringLiteral("empty.html")));
    Trigger(window_, 6);
    QFile page(folder_->path(QStringLiteral("empty.html")));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QByteArray html = page.readAll();
    QCOMPARE(html.count("<tr>"), 1);
    QCOMPARE(html.count("<td>"), 20);
}

void InventoryWindowTest::addThroughEditorThenEdit()
{
    open();
    Trigger(window_, 2);
    CoalEditor* editor = windows_->existingEditor();
    QVERIFY(editor && editor->isVisible());
    QCOMPARE(editor->id(), 0);
    Child<QLineEdit>(editor, "txtName")->setText(QStringLiteral("新煤"));
    Child<QLineEdit>(editor, "txtHuifen")->setText(QStringLiteral("12.3"));
    Child<QLineEdit>(editor, "txtKuCun")->setText(QStringLiteral("0"));
    Child<QLineEdit>(editor, "txtJiage")->setText(QStringLiteral("650"));
    QTest::mouseClick(Child<QPushButton>(editor, "btnSubmit"), Qt::LeftButton);
    QCOMPARE(Prompt::lastText(), QStringLiteral("添加煤种成功！"));
    Settle();
    QVERIFY(!windows_->existingEditor());

    QCOMPARE(names(), QStringList{"新煤"});
    QCOMPARE(count(), QStringLiteral("1 种"));
    const ListData& shown = list()->listData();
    QCOMPARE(list()->cellText(0, shown.findColumn(QStringLiteral("灰分"))), QStringLiteral("12.30"));
    QCOMPARE(list()->cellText(0, shown.findColumn(QStringLiteral("库存"))), QStringLiteral("0"));

    // Edit: the selected row's coal comes into the editor in its stored form.
    list()->selectRow(0);
    Trigger(window_, 3);
    editor = windows_->existingEditor();
    QVERIFY(editor);
    QCOMPARE(editor->id(), list()->cellText(0, 0).toInt());
    QCOMPARE(Child<QLineEdit>(editor, "txtJiage")->text(), QStringLiteral("650.00"));
    QCOMPARE(Child<QLineEdit>(editor, "txtHuifen")->text(), QStringLiteral("12.30"));
    Child<QLineEdit>(editor, "txtJiage")->setText(QStringLiteral("700"));
    QTest::mouseClick(Child<QPushButton>(editor, "btnSubmit"), Qt::LeftButton);
    QCOMPARE(Prompt::lastText(), QStringLiteral("修改成功！"));
    QCOMPARE(count(), QStringLiteral("1 种"));
    QCOMPARE(list()->cellText(0, 19), QStringLiteral("700.00"));
}

void InventoryWindowTest::editorMessages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("message");
    QTest::newRow("name and price empty") << "" << "" << "请填写煤名称\r\n请填写煤的价格\r\n";
    QTest::newRow("letters in the price") << "A" << "abc" << "填写的价格必须是数字\r\n";
}

void InventoryWindowTest::editorMessages()
{
    QFETCH(QString, name);
    QFETCH(QString, price);
    QFETCH(QString, message);
    CoalEditor* editor = windows_->editor();
    editor->show();
    Child<QLineEdit>(editor, "txtName")->setText(name);
    Child<QLineEdit>(editor, "txtJiage")->setText(price);
    QTest::mouseClick(Child<QPushButton>(editor, "btnSubmit"), Qt::LeftButton);
    QCOMPARE(Prompt::shown().size(), 1);
    QCOMPARE(Prompt::lastText(), message);
    // Nothing saved, and the typing stays for the user to correct.
    QCOMPARE(Expect(CountCoals(folder_->folder())), 0);
    QVERIFY(editor->isVisible());
    QCOMPARE(Child<QLineEdit>(editor, "txtJiage")->text(), price);
}

void InventoryWindowTest::editorRanges_data()
{
    QTest::addColumn<QString>("ash");
    QTest::addColumn<int>("answer");     // the answer to a question; 0 = none expected
    QTest::addColumn<QString>("shown");  // the first box's text starts so
    QTest::addColumn<bool>("saved");
    QTest::newRow("outside what ash can be: refused") << "250" << 0 << "填写的灰分 250 超出了范围 0～100%" << false;
    QTest::newRow("unusual, and the user says no") << "75" << int(QMessageBox::No)
                                                  << "下面的数值不在常见范围内，请核对是否填错：\n\n灰分 75 不在常见范围 0～60% 内"
                                                  << false;
    QTest::newRow("unusual, and the user says yes") << "75" << int(QMessageBox::Yes) << "下面的数值不在常见范围内" << true;
    QTest::newRow("usual: no question") << "12" << 0 << "添加煤种成功！" << true;
}

// The editor refuses a value outside its field's range and asks about one
// outside the usual range; the tooltips say both ranges and the unit.
void InventoryWindowTest::editorRanges()
{
    QFETCH(QString, ash);
    QFETCH(int, answer);
    QFETCH(QString, shown);
    QFETCH(bool, saved);
    CoalEditor* editor = windows_->editor();
    editor->show();
    QCOMPARE(Child<QLineEdit>(editor, "txtHuifen")->toolTip(), QStringLiteral("灰分，单位 %\n可填 0～100%，常见 0～60%"));
    QVERIFY(Child<QLineEdit>(editor, "txtReliang")->toolTip().contains(QStringLiteral("kcal/kg")));
    Child<QLineEdit>(editor, "txtName")->setText(QStringLiteral("A"));
    Child<QLineEdit>(editor, "txtJiage")->setText(QStringLiteral("500"));
    Child<QLineEdit>(editor, "txtHuifen")->setText(ash);
    if (answer != 0)
        Prompt::queueAnswer(QMessageBox::StandardButton(answer));
    QTest::mouseClick(Child<QPushButton>(editor, "btnSubmit"), Qt::LeftButton);
    QVERIFY(!Prompt::shown().isEmpty());
    QVERIFY2(Prompt::shown().constFirst().text.startsWith(shown), qPrintable(Prompt::shown().constFirst().text));
    QCOMPARE(Prompt::shown().constFirst().icon == Prompt::Icon::Question, answer != 0);
    QCOMPARE(Expect(CountCoals(folder_->folder())), saved ? 1 : 0);
}

void InventoryWindowTest::settingIdRefillsOpenEditor()
{
    Mei a = MakeCoal(QStringLiteral("A"), 100);
    a.HuiFen = QStringLiteral("10.00");
    Mei b = MakeCoal(QStringLiteral("B"), 200);
    b.HuiFaFenVdaf = QStringLiteral("31.00");
    Expect(SaveCoal(folder_->folder(), a));
    Expect(SaveCoal(folder_->folder(), b));

    CoalEditor* editor = windows_->editor();
    editor->setId(1);
    editor->show();
    Child<QLineEdit>(editor, "txtHuifen")->setText(QStringLiteral("99"));
    editor->setId(2);  // another opener asks for coal 2 while the editor is open
    QCOMPARE(Child<QLineEdit>(editor, "txtName")->text(), QStringLiteral("B"));
    QCOMPARE(Child<QLineEdit>(editor, "txtHuifen")->text(), QString());
    QCOMPARE(Child<QLineEdit>(editor, "txtHuiFaFenVdaf")->text(), QStringLiteral("31.00"));
    QTest::mouseClick(Child<QPushButton>(editor, "btnSubmit"), Qt::LeftButton);
    QCOMPARE(Expect(LoadCoal(folder_->folder(), 1))->HuiFen, QStringLiteral("10.00"));
    QCOMPARE(Expect(LoadCoal(folder_->folder(), 2))->MingCheng, QStringLiteral("B"));

    editor = windows_->editor();
    editor->setId(1);
    editor->setId(0);
    QCOMPARE(Child<QLineEdit>(editor, "txtName")->text(), QString());
    QCOMPARE(Child<QLineEdit>(editor, "txtJiage")->text(), QString());
}

void InventoryWindowTest::search_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("message");
    QTest::newRow("leading blanks kept") << "  前" << QStringList{"  前导煤"} << "";
    QTest::newRow("quote") << "'" << QStringList{"O'Brien"} << "";
    QTest::newRow("blanks only: message, list as it was") << "   " << QStringList{"山西焦煤"}
                                                          << "请输入要查找的煤名称！";
    QTest::newRow("percent is a character") << "%" << QStringList{"灰分12%"} << "";
    QTest::newRow("underscore is a character") << "_" << QStringList{"A_1"} << "";
}

void InventoryWindowTest::search()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    QFETCH(QString, message);
    addCoals({"山西焦煤", "O'Brien", "  前导煤", "前导二号", "灰分12%", "A_1", "AB1"});
    open();
    // A first search narrows the list; the next one runs over the whole table.
    Child<QLineEdit>(window_, "txtSearch")->setText(QStringLiteral("焦"));
    QTest::mouseClick(Child<QPushButton>(window_, "cmdSearch"), Qt::LeftButton);
    QCOMPARE(names(), QStringList{"山西焦煤"});
    Child<QLineEdit>(window_, "txtSearch")->setText(typed);
    QTest::mouseClick(Child<QPushButton>(window_, "cmdSearch"), Qt::LeftButton);
    QCOMPARE(names(), expected);
    if (message.isEmpty()) {
        QVERIFY(Prompt::shown().isEmpty());
    } else {
        QCOMPARE(Prompt::lastText(), message);
        QCOMPARE(Prompt::shown().constLast().title, QStringLiteral("提示"));
    }
    QCOMPARE(count(), QStringLiteral("7 种"));
}

void InventoryWindowTest::deleteTickedRows()
{
    addCoals({"A", "B", "C", "D", "E"});
    open();
    tick(0);
    tick(2);
    tick(4);
    list()->selectRow(1);  // the highlighted row plays no part
    Prompt::queueAnswer(QMessageBox::Ok);
    Trigger(window_, 4);
    QCOMPARE(Prompt::shown().constFirst().text, QStringLiteral("确认要删除吗？"));
    QCOMPARE(names(), (QStringList{"B", "D"}));
    QCOMPARE(count(), QStringLiteral("2 种"));
    QVERIFY(list()->checkedRows().isEmpty());
}

void InventoryWindowTest::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("lastMessage");
    QTest::newRow("cancel") << true << int(QMessageBox::Cancel) << "确认要删除吗？";
    QTest::newRow("nothing ticked") << false << int(QMessageBox::Ok) << "请选择您要删除的项";
}

void InventoryWindowTest::deleteAsksFirst()
{
    QFETCH(bool, ticked);
    QFETCH(int, answer);
    QFETCH(QString, lastMessage);
    addCoals({"A", "B"});
    open();
    if (ticked)
        tick(0);
    Prompt::queueAnswer(static_cast<QMessageBox::StandardButton>(answer));
    Trigger(window_, 4);
    QCOMPARE(Prompt::lastText(), lastMessage);
    QCOMPARE(Expect(CountCoals(folder_->folder())), 2);
}

void InventoryWindowTest::headerClicksToggleOrder()
{
    addCoals({"B", "C", "A"});
    open();
    QHeaderView* header = list()->header();
    auto clickHeader = [&](int column) {
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    };
    tick(0);                // B
    list()->selectRow(1);   // C
    clickHeader(1);
    QCOMPARE(names(), (QStringList{"C", "B", "A"}));
    // The tick and the selection follow their coals.
    QCOMPARE(list()->checkedRows(), QVector<int>{1});
    QCOMPARE(list()->selectedRows(), QVector<int>{0});
    clickHeader(1);
    QCOMPARE(names(), (QStringList{"A", "B", "C"}));
    // The order flips whichever column is clicked next.
    clickHeader(0);
    QCOMPARE(names(), (QStringList{"A", "C", "B"}));
    // A refill keeps the order the user chose.
    addCoals({"D"});
    window_->addLIST();
    QCOMPARE(names(), (QStringList{"D", "A", "C", "B"}));
}

void InventoryWindowTest::exports_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("filter");
    QTest::newRow("spreadsheet, open it") << 5 << "list.xls" << int(QMessageBox::Ok)
                                          << "Microsoft Excel .xls (*.xls);;Microsoft Excel .xlsx (*.xlsx)";
    QTest::newRow("page, do not open") << 6 << "list.html" << int(QMessageBox::Cancel)
                                       << "普通格式 .html (*.html)";
    QTest::newRow("dialog cancelled") << 6 << "" << int(QMessageBox::Ok) << "普通格式 .html (*.html)";
}

void InventoryWindowTest::exports()
{
    QFETCH(int, position);
    QFETCH(QString, file);
    QFETCH(int, answer);
    QFETCH(QString, filter);
    addCoals({"A<B", "C"});
    open();
    const QString path = file.isEmpty() ? QString() : folder_->path(file);
    if (!path.isEmpty())
        Prompt::queueFileName(path);
    Prompt::queueAnswer(static_cast<QMessageBox::StandardButton>(answer));
    Trigger(window_, position);

    QCOMPARE(Prompt::fileRequests().size(), 1);
    QCOMPARE(Prompt::fileRequests().constFirst().filter, filter);
    QVERIFY(Prompt::fileRequests().constFirst().proposedName.startsWith(QStringLiteral("Velmora配煤软件_")));
    QVERIFY(Child<QWidget>(window_, "picLOAD")->isHidden());
    if (path.isEmpty()) {
        QVERIFY(Prompt::shown().isEmpty());
        return;
    }
    QVERIFY(QFile::exists(path));
    QCOMPARE(Prompt::lastText(), QStringLiteral("导出成功，是否打开文件？点确定打开，点取消不打开"));
    QCOMPARE(Prompt::shown().constLast().title, QStringLiteral("导出提示："));
    QCOMPARE(Prompt::openedDocuments(), answer == QMessageBox::Ok ? QStringList{path} : QStringList{});
}

// A database failure reads as one message with its cause, not a prefix twice
// over an English text.
void InventoryWindowTest::databaseErrorSaidOnce()
{
    addCoals({"甲", "乙"});
    open();
    tick(0);
    const QString said = folder_->breakDatabase();
    Prompt::queueAnswer(QMessageBox::Ok);
    Trigger(window_, 4);
    // The question, then one box for the failed delete, with one prefix.
    QCOMPARE(Prompt::shown().size(), 2);
    QVERIFY2(Prompt::lastText().startsWith(said), qPrintable(Prompt::lastText()));
    QCOMPARE(Prompt::lastText().count(QStringLiteral("数据库操作失败")), 1);
    QCOMPARE(names(), (QStringList{"甲", "乙"}));
}

QTEST_MAIN(InventoryWindowTest)
#include "tst_inventory_window.moc"
