// The main road of the program, walked as a user walks it: start, enter coals,
// pick three into the workspace, set targets, run, look at the plan, convert it
// into tons, export it, back up, delete a coal, restore, and find the coal back.

#include "export/XlsFile.h"
#include "support/Controls.h"
#include "support/TestFolder.h"
#include "ui/app/Startup.h"
#include "ui/app/Windows.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/HistoryWindow.h"
#include "ui/windows/InventoryWindow.h"
#include "ui/windows/SelectDialog.h"
#include "ui/windows/SplashWindow.h"
#include "ui/windows/WorkspaceWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

QWidget* TopLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

void Type(QWidget* window, const QString& name, const QString& text)
{
    QLineEdit* edit = Child<QLineEdit>(window, name);
    edit->clear();
    // Key clicks reach only Latin-1 text; names are put in as an input method would.
    bool latin1 = true;
    for (QChar c : text)
        latin1 = latin1 && c.unicode() < 0x80;
    if (latin1)
        QTest::keyClicks(edit, text);
    else
        edit->insert(text);
}

void Tick(ReportList* list, int row)
{
    list->model()->setData(list->model()->index(row, 0), Qt::Checked, Qt::CheckStateRole);
}

int RowNamed(ReportList* list, const QString& name)
{
    return list->columnCells(1).indexOf(name);
}

struct CoalEntry {
    const char* name;
    const char* ash;
    const char* sulphur;
    const char* heat;
    const char* stock;
    const char* price;
};

const CoalEntry kCoals[] = {
    {"大同精煤", "8", "0.5", "6000", "500", "800"},
    {"神木原煤", "14", "0.9", "5200", "800", "500"},
    {"晋城块煤", "11", "0.6", "5600", "600", "600"},
    {"褐煤", "20", "1.5", "3800", "900", "300"},
};

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mainRoad();
};

void EndToEndTest::mainRoad()
{
    Prompt::setTestMode(true);
    Prompt::clear();
    TestFolder t(false);
    QDir(t.folder().dir).rmdir("bakup");

    // Start: splash, then the main window with its menus.
    const std::unique_ptr<Windows> windows = Main(t.folder());
    QVERIFY(windows);
    // The data lives in coal.dat, or on the server config.ini names.
    QCOMPARE(QFile::exists(t.path("coal.dat")), t.serverDatabase().isEmpty());
    auto* splash = qobject_cast<SplashWindow*>(TopLevel("frmConnect"));
    QVERIFY(splash);
    for (int tick = 0; tick < 8; ++tick)
        splash->Timer1_Timer();
    WorkspaceWindow* main = windows->existingWorkspace();
    QVERIFY(main && main->isVisible());
    QTRY_VERIFY(!TopLevel("frmConnect"));

    // Four coals through the editor.
    for (const CoalEntry& coal : kCoals) {
        Child<QAction>(main, "munADD")->trigger();
        QWidget* editor = TopLevel("frmUpdate");
        QVERIFY(editor);
        Type(editor, "txtName", QString::fromUtf8(coal.name));
        Type(editor, "txtHuifen", coal.ash);
        Type(editor, "txtLiu", coal.sulphur);
        Type(editor, "txtReliang", coal.heat);
        Type(editor, "txtKuCun", coal.stock);
        Type(editor, "txtJiage", coal.price);
        QTest::mouseClick(Child<QPushButton>(editor, "btnSubmit"), Qt::LeftButton);
        QCOMPARE(Prompt::lastText(), QStringLiteral("添加煤种成功！"));
    }
    InventoryWindow* inventory = windows->existingInventory();
    QVERIFY(inventory && inventory->isVisible());
    auto* coals = Child<ReportList>(inventory, "ListView1");
    QCOMPARE(coals->rowCount(), 4);
    QCOMPARE(Child<QLabel>(inventory, "labCONUT")->text(), QStringLiteral("4 种"));

    // Three of them into the workspace grid through the selection dialog.
    Child<QAction>(main, "tbrMenu_2")->trigger();
    auto* select = qobject_cast<SelectDialog*>(TopLevel("frmSelect"));
    QVERIFY(select);
    auto* choices = Child<ReportList>(select, "lsvTop");
    QCOMPARE(choices->rowCount(), 4);
    for (int row = 0; row < 3; ++row)
        Tick(choices, row);
    select->Command1_Click();
    QCOMPARE(Child<QLineEdit>(main, "txtMingcheng_0")->text(), QStringLiteral("大同精煤"));
    QCOMPARE(Child<QLineEdit>(main, "txtMingcheng_2")->text(), QStringLiteral("晋城块煤"));
    QCOMPARE(Child<QLineEdit>(main, "txtMingcheng_3")->text(), QString());
    QCOMPARE(Child<QLineEdit>(main, "txtHuifen_1")->text(), QStringLiteral("14.00"));

    // Targets and the run.
    Type(main, "txtHuifenMax", "12");
    Type(main, "txtLiuMax", "0.8");
    Type(main, "txtChanshu", "10");
    Prompt::clear();
    QSignalSpy finished(main, &WorkspaceWindow::runFinished);
    QTest::mouseClick(Child<QPushButton>(main, "Command1"), Qt::LeftButton);
    QVERIFY(finished.wait(60000));
    QVERIFY2(Prompt::shown().isEmpty(), qPrintable(Prompt::lastText()));
    QVERIFY(!QFile::exists(t.path("mspm.dll")));

    // The history window shows the new plan.
    HistoryWindow* history = windows->existingHistory();
    QVERIFY(history && history->isVisible());
    auto* plans = Child<ReportList>(history, "lsvLeft");
    QCOMPARE(plans->rowCount(), 1);
    QCOMPARE(Child<QLabel>(history, "lbZhibiao")->text(), QStringLiteral("硫分<=0.8 灰分<=12 "));
    auto* planCoals = Child<ReportList>(history, "lsvMid");
    QCOMPARE(planCoals->listData().columnCells(1), (QStringList{"大同精煤", "神木原煤", "晋城块煤"}));
    auto* blends = Child<ReportList>(history, "lsvBottom");
    QVERIFY(blends->rowCount() >= 1);
    QCOMPARE(blends->listData().columns[1].header, QStringLiteral("大同精煤"));

    // Convert the proportions into 1000 tons.
    Type(history, "txtZhongliang", "1000");
    QTest::mouseClick(Child<QPushButton>(history, "Command1"), Qt::LeftButton);
    QCOMPARE(Child<QPushButton>(history, "Command1")->text(), QStringLiteral("还原"));
    for (int row = 0; row < blends->rowCount(); ++row) {
        double tons = 0;
        for (int column = 1; column <= 3; ++column)
            tons += blends->listData().cell(row, column).toDouble();
        QVERIFY2(qAbs(tons - 1000) < 0.02, qPrintable(QString::number(tons)));
    }
    const QString firstTons = blends->listData().cell(0, 1);

    // Export the converted plan as a workbook and as a page.
    const QString xls = t.path("方案.xls");
    Prompt::queueFileName(xls);
    Prompt::queueAnswer(QMessageBox::Cancel);
    history->Toolbar1_ButtonClick(4);
    QCOMPARE(Prompt::lastText(), QStringLiteral("导出成功，是否打开文件？点确定打开，点取消不打开"));
    const XlsSheet sheet = Expect(ReadXlsFile(xls));
    QStringList firstColumn;
    for (const XlsRow& row : sheet.rows)
        firstColumn << (row.isEmpty() ? QString() : row[0].displayText());
    QVERIFY(firstColumn.contains(QStringLiteral("参与配比的煤")));
    QVERIFY(firstColumn.contains(QStringLiteral("方案列表")));
    QVERIFY(firstColumn.contains(QStringLiteral("硫分<=0.8 灰分<=12 ")));
    bool tonsExported = false;
    for (const XlsRow& row : sheet.rows)
        tonsExported = tonsExported
                       || (row.size() > 1 && row[1].kind == XlsCell::Kind::Number
                           && row[1].number == firstTons.toDouble());
    QVERIFY(tonsExported);

    const QString html = t.path("方案.html");
    Prompt::queueFileName(html);
    Prompt::queueAnswer(QMessageBox::Cancel);
    history->Toolbar1_ButtonClick(3);
    const QString page = QString::fromUtf8(ReadBytes(html));
    QVERIFY(page.contains(QStringLiteral("晋城块煤")));
    QVERIFY(page.contains(firstTons));
    QVERIFY(!page.contains(QStringLiteral("{$list2}")));

    // Back up, delete a coal, restore, and find the coal back.
    Child<QAction>(main, "munSJBF")->trigger();
    QVERIFY(Prompt::lastText().startsWith(QStringLiteral("数据已备份到  ")));
    const QString backup = QDir(t.path("bakup")).filePath(QDir(t.path("bakup")).entryList(QDir::Files).value(0));

    Child<QAction>(main, "Toolbar1_1")->trigger();
    QCOMPARE(windows->existingInventory(), inventory);
    Tick(coals, RowNamed(coals, QStringLiteral("褐煤")));
    Prompt::queueAnswer(QMessageBox::Ok);
    inventory->Toolbar1_ButtonClick(4);
    QCOMPARE(coals->rowCount(), 3);
    QCOMPARE(RowNamed(coals, QStringLiteral("褐煤")), -1);

    Prompt::queueFileName(backup);
    Prompt::queueAnswer(QMessageBox::Yes);
    Child<QAction>(main, "munSJHY")->trigger();
    QCOMPARE(Prompt::lastText(), QStringLiteral("数据已经成功还原！请重新登陆 "));
    // On a server the question names the server whose data every planner shares.
    const QString asked = Prompt::shown().at(Prompt::shown().size() - 2).text;
    QCOMPARE(asked.contains(QStringLiteral("数据库服务器上 ") + t.serverDatabase()), !t.serverDatabase().isEmpty());
    // The open inventory shows the restored coals at once.
    QCOMPARE(coals->rowCount(), 4);
    QVERIFY(RowNamed(coals, QStringLiteral("褐煤")) >= 0);
}

QTEST_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
