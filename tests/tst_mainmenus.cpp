#include "app/ui/AboutBox.h"
#include "app/ui/Forms.h"
#include "app/ui/MainMenus.h"
#include "app/ui/Prompt.h"
#include "data/DaoFunction.h"
#include "data/Dbconnection.h"
#include "data/ui/ConfigWindow.h"
#include "export/ui/ReportList.h"
#include "history/ui/HistoryWindow.h"
#include "inventory/ui/CoalEditor.h"
#include "inventory/ui/InventoryWindow.h"
#include "support/TestFolder.h"
#include "workspace/ui/CalculatorWindow.h"
#include "workspace/ui/WorkspaceWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include <memory>

namespace {

QAction* Action(const QString& name)
{
    auto* action = WorkspaceWindow::existing()->findChild<QAction*>(name);
    if (!action)
        qFatal("no action %s", qPrintable(name));
    return action;
}

bool Showing(QWidget* w) { return w && w->isVisible(); }

template <class W>
W* OpenTopLevel()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<W*>(w); found && found->isVisible())
            return found;
    return nullptr;
}

}  // namespace

class MainMenusTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void menuCaptionsAndAccessKeys();
    void eachCommandOpensItsWindow_data();
    void eachCommandOpensItsWindow();
    void listWindowOpensOnce();
    void addCoalEmptiesAnOpenEditor();
    void aboutShowsVersion();
    void helpOpensThePageBesideTheProgram();
    void answeringNoToExitLeavesEveryWindow();
    void backupTwiceOnOneDayKeepsTheLaterCopy();
    void cancelledOrDeclinedRestoreChangesNothing();
    void restoreBringsBackTheCoals();
    void restoreRefusesATextFile();

private:
    std::unique_ptr<TestFolder> folder_;
};

void MainMenusTest::init()
{
    Prompt::setTestMode(true);
    Prompt::clear();
    folder_ = std::make_unique<TestFolder>();
    Forms::setFolder(folder_->folder());
    OpenMainWindow()->show();
}

void MainMenusTest::cleanup()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows << w;
    for (const auto& w : windows)
        delete w.data();
    QApplication::processEvents();
    folder_.reset();
}

void MainMenusTest::menuCaptionsAndAccessKeys()
{
    QMenuBar* bar = WorkspaceWindow::existing()->menuBar();
    QStringList captions;
    for (QAction* a : bar->actions())
        captions << a->text();
    QCOMPARE(captions, (QStringList{"仓库存煤(&N)", "数据管理(&S)", "帮助(&H)", "退出(&X)"}));
    const QMap<QString, QString> items = {
        {"munCangKu", "库存情况"}, {"munADD", "增加煤种"}, {"munConfig", "系统配置"},
        {"munSJBF", "数据备份"},  {"munSJHY", "数据还原"}, {"munXTBZ", "系统帮助"},
        {"munGY", "关于"},        {"munTc", "退出(&X)"},
    };
    for (auto it = items.begin(); it != items.end(); ++it)
        QCOMPARE(Action(it.key())->text(), it.value());
    QStringList buttons;
    for (int i = 1; i <= 4; ++i)
        buttons << Action(QStringLiteral("Toolbar1_%1").arg(i))->text();
    QCOMPARE(buttons, (QStringList{"煤库存", "历史配比", "手动配比", "退出"}));
    for (int i = 1; i <= 4; ++i)
        QVERIFY(!Action(QStringLiteral("Toolbar1_%1").arg(i))->icon().isNull());
}

void MainMenusTest::eachCommandOpensItsWindow_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("window");
    QTest::newRow("库存情况") << "munCangKu" << "frmKucun";
    QTest::newRow("煤库存") << "Toolbar1_1" << "frmKucun";
    QTest::newRow("历史配比") << "Toolbar1_2" << "frmLishi";
    QTest::newRow("手动配比") << "Toolbar1_3" << "frmTest";
    QTest::newRow("增加煤种") << "munADD" << "frmUpdate";
    QTest::newRow("系统配置") << "munConfig" << "frmConfig";
    QTest::newRow("关于") << "munGY" << "frmAbout";
}

void MainMenusTest::eachCommandOpensItsWindow()
{
    QFETCH(QString, action);
    QFETCH(QString, window);
    Action(action)->trigger();
    QWidget* opened = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == window && w->isVisible())
            opened = w;
    QVERIFY2(opened, qPrintable(window));
    QVERIFY(Prompt::shown().isEmpty());
    // The loading window only stands while a list window fills.
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(!(w->objectName() == "frmLoading" && w->isVisible()));
}

void MainMenusTest::listWindowOpensOnce()
{
    Action("munCangKu")->trigger();
    InventoryWindow* first = InventoryWindow::existing();
    QVERIFY(Showing(first));
    SaveCoal(folder_->folder(), MakeCoal("后加的煤", 1));
    Action("Toolbar1_1")->trigger();
    QCOMPARE(InventoryWindow::existing(), first);
    // Brought forward, not loaded a second time.
    QCOMPARE(first->findChild<ReportList*>("ListView1")->rowCount(), 0);

    Action("Toolbar1_2")->trigger();
    HistoryWindow* history = HistoryWindow::existing();
    Action("Toolbar1_2")->trigger();
    QCOMPARE(HistoryWindow::existing(), history);
}

void MainMenusTest::addCoalEmptiesAnOpenEditor()
{
    SaveCoal(folder_->folder(), MakeCoal("晋城无烟煤", 680));
    CoalEditor* editor = CoalEditor::instance();
    editor->setId(1);
    editor->show();
    QCOMPARE(editor->findChild<QLineEdit*>("txtName")->text(), QStringLiteral("晋城无烟煤"));
    Action("munADD")->trigger();
    QCOMPARE(CoalEditor::existing(), editor);
    QCOMPARE(editor->id(), 0);
    QCOMPARE(editor->findChild<QLineEdit*>("txtName")->text(), QString());
    QCOMPARE(editor->findChild<QLineEdit*>("txtJiage")->text(), QString());
}

void MainMenusTest::aboutShowsVersion()
{
    Action("munGY")->trigger();
    auto* about = OpenTopLevel<AboutBox>();
    QVERIFY(about);
    QCOMPARE(about->windowTitle(), QStringLiteral("关于Velmora配煤软件"));
    QCOMPARE(about->findChild<QLabel*>("lbAbout")->text(), QStringLiteral("版本号：5.0"));
}

void MainMenusTest::helpOpensThePageBesideTheProgram()
{
    Action("munXTBZ")->trigger();
    QCOMPARE(Prompt::openedDocuments(), QStringList{folder_->path("help/index.html")});
    QVERIFY(QFile::exists(folder_->path("help/index.html")));
    QVERIFY(Prompt::shown().isEmpty());
}

void MainMenusTest::answeringNoToExitLeavesEveryWindow()
{
    Action("munCangKu")->trigger();
    Action("Toolbar1_3")->trigger();
    for (const QString& exit : {QStringLiteral("munTc"), QStringLiteral("Toolbar1_4")}) {
        Prompt::queueAnswer(QMessageBox::No);
        Action(exit)->trigger();
        QCOMPARE(Prompt::lastText(), QStringLiteral("确认要退出系统吗?"));
        QCOMPARE(Prompt::shown().constLast().title, QStringLiteral("提示"));
    }
    Prompt::queueAnswer(QMessageBox::No);
    WorkspaceWindow::existing()->close();
    QCOMPARE(Prompt::shown().size(), 3);
    QVERIFY(Showing(WorkspaceWindow::existing()));
    QVERIFY(Showing(InventoryWindow::existing()));
    QVERIFY(Showing(CalculatorWindow::existing()));

    Prompt::queueAnswer(QMessageBox::Yes);
    Action("munTc")->trigger();
    QVERIFY(!Showing(WorkspaceWindow::existing()));
    QVERIFY(!Showing(InventoryWindow::existing()));
}

void MainMenusTest::backupTwiceOnOneDayKeepsTheLaterCopy()
{
    const QString expected = folder_->path("bakup/" + QDate::currentDate().toString("yyyy-MM-dd") + ".bak");
    Action("munSJBF")->trigger();
    SaveCoal(folder_->folder(), MakeCoal("A", 1));
    Action("munSJBF")->trigger();
    QCOMPARE(Prompt::lastText(), QStringLiteral("数据已备份到  ") + QDir::toNativeSeparators(expected));
    QCOMPARE(Prompt::shown().constLast().title, QStringLiteral("提示"));
    QCOMPARE(QDir(folder_->path("bakup")).entryList(QDir::Files).size(), 1);
    QCOMPARE(ReadBytes(expected), ReadBytes(folder_->path("coal.dat")));
}

void MainMenusTest::cancelledOrDeclinedRestoreChangesNothing()
{
    Action("munSJBF")->trigger();
    SaveCoal(folder_->folder(), MakeCoal("A", 1));
    const QByteArray before = ReadBytes(folder_->path("coal.dat"));
    Prompt::clear();

    Action("munSJHY")->trigger();  // the dialog is cancelled: no file queued
    QVERIFY(Prompt::shown().isEmpty());
    QCOMPARE(Prompt::fileRequests().size(), 1);
    QCOMPARE(Prompt::fileRequests()[0].title, QStringLiteral("选择还原文件"));
    QCOMPARE(Prompt::fileRequests()[0].filter, QStringLiteral("备份卡(*.bak)"));

    Prompt::queueFileName(QDir(folder_->path("bakup")).filePath(QDir(folder_->path("bakup")).entryList(QDir::Files)[0]));
    Prompt::queueAnswer(QMessageBox::No);
    Action("munSJHY")->trigger();
    QCOMPARE(Prompt::lastText(), QStringLiteral("还原后将覆盖原有数据，确定还原吗?"));
    QCOMPARE(ReadBytes(folder_->path("coal.dat")), before);
    QCOMPARE(QDir(folder_->path("bakup")).entryList(QDir::Files).size(), 1);
}

void MainMenusTest::restoreBringsBackTheCoals()
{
    SaveCoal(folder_->folder(), MakeCoal("甲", 1));
    SaveCoal(folder_->folder(), MakeCoal("乙", 2));
    Action("munSJBF")->trigger();
    DeleteCoal(folder_->folder(), 2);
    const QString backup = folder_->path("bakup/" + QDate::currentDate().toString("yyyy-MM-dd") + ".bak");

    Prompt::queueFileName(backup);
    Prompt::queueAnswer(QMessageBox::Yes);
    Action("munSJHY")->trigger();
    QCOMPARE(Prompt::lastText(), QStringLiteral("数据已经成功还原！请重新登陆 "));
    QCOMPARE(QDir(folder_->path("bakup")).entryList(QDir::Files).size(), 2);

    Action("munCangKu")->trigger();
    auto* list = InventoryWindow::existing()->findChild<ReportList*>("ListView1");
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->listData().columnCells(1), (QStringList{"甲", "乙"}));
}

void MainMenusTest::restoreRefusesATextFile()
{
    SaveCoal(folder_->folder(), MakeCoal("甲", 1));
    const QByteArray before = ReadBytes(folder_->path("coal.dat"));
    const QString text = folder_->path("bakup/notes.bak");
    QFile f(text);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("这不是备份");
    f.close();

    Prompt::queueFileName(text);
    Prompt::queueAnswer(QMessageBox::Yes);
    Action("munSJHY")->trigger();
    QVERIFY(Prompt::lastText().contains(QStringLiteral("不是本软件的数据备份")));
    QCOMPARE(ReadBytes(folder_->path("coal.dat")), before);
    QCOMPARE(QDir(folder_->path("bakup")).entryList(QDir::Files), QStringList{"notes.bak"});
}

QTEST_MAIN(MainMenusTest)
#include "tst_mainmenus.moc"
