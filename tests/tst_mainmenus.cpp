#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "history/PlanHistory.h"
#include "support/TestFolder.h"
#include "ui/app/Windows.h"
#include "ui/widgets/AboutBox.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/CalculatorWindow.h"
#include "ui/windows/CoalEditor.h"
#include "ui/windows/ConfigWindow.h"
#include "ui/windows/HistoryWindow.h"
#include "ui/windows/ImportDialog.h"
#include "ui/windows/InventoryWindow.h"
#include "ui/windows/SelectDialog.h"
#include "ui/windows/WorkspaceWindow.h"

#include <QAction>
#include <QToolBar>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// The session's windows; the clock stands still, so a date read by a test
// and by a command is the same date.
std::unique_ptr<Windows> g_windows;
const QDateTime kNow(QDate(2026, 12, 8), QTime(23, 59, 59));

QAction* Action(const QString& name)
{
    auto* action = g_windows->existingWorkspace()->findChild<QAction*>(name);
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
private Q_SLOTS:
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
    void restoreReloadsEveryOpenWindow();
    void restoreSaysWhatIsWrong_data();
    void restoreSaysWhatIsWrong();
    void backupSaysWhatItPruned();
    void compactionBacksUpFirstAndSaysTheSizes();

private:
    std::unique_ptr<TestFolder> folder_;
};

void MainMenusTest::init()
{
    Prompt::setTestMode(true);
    Prompt::clear();
    folder_ = std::make_unique<TestFolder>();
    g_windows = std::make_unique<Windows>(WindowContext{folder_->folder(), [] { return kNow; }});
    g_windows->workspace()->show();
}

void MainMenusTest::cleanup()
{
    g_windows.reset();
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
    QMenuBar* bar = g_windows->existingWorkspace()->menuBar();
    QStringList captions;
    for (QAction* a : bar->actions())
        captions << a->text();
    QCOMPARE(captions, (QStringList{"仓库存煤(&N)", "配煤(&P)", "数据管理(&S)", "帮助(&H)", "退出(&X)"}));
    const QMap<QString, QString> items = {
        {"munCangKu", "库存情况"}, {"munADD", "增加煤种"}, {"munDaoru", "导入煤种"}, {"munConfig", "系统配置"},
        {"munSJBF", "数据备份"},  {"munSJHY", "数据还原"}, {"munYasuo", "压缩数据库"}, {"munXTBZ", "系统帮助"},
        {"munGY", "关于"},        {"munTc", "退出(&X)"},     {"munKaishi", "开始配煤"}, {"munLishi", "历史配比"},
        {"munShoudong", "手动配比"}, {"munJihua", "多日计划"},
    };
    for (auto it = items.begin(); it != items.end(); ++it)
        QCOMPARE(Action(it.key())->text(), it.value());
    QStringList buttons;
    for (int i = 1; i <= 5; ++i)
        buttons << Action(QStringLiteral("Toolbar1_%1").arg(i))->text();
    QCOMPARE(buttons, (QStringList{"煤库存", "历史配比", "手动配比", "退出", "多日计划"}));
    // The later button stands before the exit.
    QStringList shown;
    for (QAction* a : qobject_cast<QToolBar*>(Action("Toolbar1_1")->parent())->actions())
        shown << a->text();
    QCOMPARE(shown, (QStringList{"煤库存", "历史配比", "手动配比", "多日计划", "退出"}));
    for (int i = 1; i <= 5; ++i)
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
    QTest::newRow("多日计划") << "munJihua" << "frmJihua";
    QTest::newRow("多日计划按钮") << "Toolbar1_5" << "frmJihua";
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
    InventoryWindow* first = g_windows->existingInventory();
    QVERIFY(Showing(first));
    Expect(SaveCoal(folder_->folder(), MakeCoal("后加的煤", 1)));
    Action("Toolbar1_1")->trigger();
    QCOMPARE(g_windows->existingInventory(), first);
    // Brought forward, not loaded a second time.
    QCOMPARE(first->findChild<ReportList*>("ListView1")->rowCount(), 0);

    Action("Toolbar1_2")->trigger();
    HistoryWindow* history = g_windows->existingHistory();
    Action("Toolbar1_2")->trigger();
    QCOMPARE(g_windows->existingHistory(), history);
}

void MainMenusTest::addCoalEmptiesAnOpenEditor()
{
    Expect(SaveCoal(folder_->folder(), MakeCoal("晋城无烟煤", 680)));
    CoalEditor* editor = g_windows->editor();
    editor->setId(1);
    editor->show();
    QCOMPARE(editor->findChild<QLineEdit*>("txtName")->text(), QStringLiteral("晋城无烟煤"));
    Action("munADD")->trigger();
    QCOMPARE(g_windows->existingEditor(), editor);
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
    const QString data = about->findChild<QLabel*>("lbData")->text();
    QVERIFY2(data.contains(QStringLiteral("程序文件夹")) && data.contains(QDir::toNativeSeparators(folder_->folder().dir)),
             qPrintable(data));
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
    g_windows->existingWorkspace()->close();
    QCOMPARE(Prompt::shown().size(), 3);
    QVERIFY(Showing(g_windows->existingWorkspace()));
    QVERIFY(Showing(g_windows->existingInventory()));
    QVERIFY(Showing(g_windows->existingCalculator()));

    Prompt::queueAnswer(QMessageBox::Yes);
    Action("munTc")->trigger();
    QVERIFY(!Showing(g_windows->existingWorkspace()));
    QVERIFY(!Showing(g_windows->existingInventory()));
    // The exit asked a main loop to end that the test never ran; until one
    // runs, every event loop of the later tests would end at once.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCOMPARE(QCoreApplication::exec(), 0);
}

void MainMenusTest::backupTwiceOnOneDayKeepsTheLaterCopy()
{
    const QString expected = folder_->path("bakup/" + kNow.date().toString("yyyy-MM-dd") + ".bak");
    Action("munSJBF")->trigger();
    Expect(SaveCoal(folder_->folder(), MakeCoal("A", 1)));
    Action("munSJBF")->trigger();
    QCOMPARE(Prompt::lastText(), QStringLiteral("数据已备份到  ") + QDir::toNativeSeparators(expected));
    QCOMPARE(Prompt::shown().constLast().title, QStringLiteral("提示"));
    QCOMPARE(QDir(folder_->path("bakup")).entryList(QDir::Files).size(), 1);
    QCOMPARE(DatabaseText(expected), DatabaseText(folder_->path("coal.dat")));
}

void MainMenusTest::cancelledOrDeclinedRestoreChangesNothing()
{
    Action("munSJBF")->trigger();
    Expect(SaveCoal(folder_->folder(), MakeCoal("A", 1)));
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
    Expect(SaveCoal(folder_->folder(), MakeCoal("甲", 1)));
    Expect(SaveCoal(folder_->folder(), MakeCoal("乙", 2)));
    Action("munSJBF")->trigger();
    Expect(DeleteCoal(folder_->folder(), 2));
    const QString backup = folder_->path("bakup/" + kNow.date().toString("yyyy-MM-dd") + ".bak");

    Prompt::queueFileName(backup);
    Prompt::queueAnswer(QMessageBox::Yes);
    Action("munSJHY")->trigger();
    QCOMPARE(Prompt::lastText(), QStringLiteral("数据已经成功还原！请重新登陆 "));
    QCOMPARE(QDir(folder_->path("bakup")).entryList(QDir::Files).size(), 2);

    Action("munCangKu")->trigger();
    auto* list = g_windows->existingInventory()->findChild<ReportList*>("ListView1");
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->columnCells(1), (QStringList{"甲", "乙"}));
}

void MainMenusTest::restoreRefusesATextFile()
{
    Expect(SaveCoal(folder_->folder(), MakeCoal("甲", 1)));
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

// After a restore no window holds records of the replaced file: the lists
// show the restored one, and an editor's unsaved input is never written into it.
void MainMenusTest::restoreReloadsEveryOpenWindow()
{
    Expect(SaveCoal(folder_->folder(), MakeCoal("甲", 1)));
    Expect(SaveCoal(folder_->folder(), MakeCoal("乙", 2)));
    Expect(StorePlan(folder_->folder(), NewPlan{QStringLiteral("备份中的方案"), {}, {}}));
    Action("munSJBF")->trigger();
    const QString backup = folder_->path("bakup/" + kNow.date().toString("yyyy-MM-dd") + ".bak");
    // After the backup: coals 3 and 4, coal 1 renamed, the plan replaced.
    Expect(SaveCoal(folder_->folder(), MakeCoal("丙", 3)));
    Expect(SaveCoal(folder_->folder(), MakeCoal("丁", 4)));
    Expect(DeleteCoal(folder_->folder(), 2));
    Expect(StorePlan(folder_->folder(), NewPlan{QStringLiteral("备份后的方案"), {}, {}}));

    Action("munCangKu")->trigger();
    Action("Toolbar1_2")->trigger();
    CoalEditor* editor = g_windows->editor();
    editor->setId(3);  // a coal the backup does not hold
    editor->show();
    editor->findChild<QLineEdit*>("txtName")->setText(QStringLiteral("没保存的输入"));
    QPointer<CoalEditor> editorAlive(editor);
    // The selection dialog and an import's preview list coals of the old file.
    QPointer<SelectDialog> selectAlive(g_windows->selectForWorkspace());
    Prompt::queueFileName(QStringLiteral(VELMORA_SOURCE_DIR "/tests/data/independent.xlsx"));
    g_windows->existingInventory()->findChild<QAction*>("Toolbar1_7")->trigger();
    QPointer<ImportDialog> importAlive(g_windows->existingImportDialog());
    QVERIFY(importAlive);
    QSignalSpy read(importAlive.data(), &ImportDialog::fileRead);
    QVERIFY(read.wait(20000));
    QVERIFY(selectAlive && importAlive);

    Prompt::queueFileName(backup);
    Prompt::queueAnswer(QMessageBox::Yes);
    Action("munSJHY")->trigger();
    QCOMPARE(Prompt::lastText(), QStringLiteral("数据已经成功还原！请重新登陆 "));

    auto* coals = g_windows->existingInventory()->findChild<ReportList*>("ListView1");
    QCOMPARE(coals->columnCells(1), (QStringList{"甲", "乙"}));
    QCOMPARE(coals->columnCells(0), (QStringList{"1", "2"}));
    auto* plans = g_windows->existingHistory()->findChild<ReportList*>("lsvLeft");
    QCOMPARE(plans->listData().columnCells(1), QStringList{"备份中的方案"});
    QVERIFY(!editorAlive);
    QVERIFY(!selectAlive);
    QVERIFY(!importAlive);
    // Whatever the user does next, the restored file holds only what it held.
    QCOMPARE(CountRows(folder_->folder(), "meitan"), 2);
    QCOMPARE(Expect(LoadCoal(folder_->folder(), 1))->MingCheng, QStringLiteral("甲"));
}

// A restore that cannot be made says what is wrong: a backup that is not
// one of this program's, or a coal.dat another program holds.
void MainMenusTest::restoreSaysWhatIsWrong_data()
{
    QTest::addColumn<QStringList>("chosenHas");  // statements run on the chosen backup
    QTest::addColumn<bool>("heldElsewhere");
    QTest::addColumn<QStringList>("mentions");
    QTest::newRow("a trigger in the backup")
        << QStringList{"CREATE TRIGGER wipe AFTER INSERT ON Lishi_fangan BEGIN DELETE FROM meitan; END"} << false
        << QStringList{"所选文件不是本软件的数据备份", "触发器 wipe"};
    QTest::newRow("a view named like a table")
        << QStringList{"DROP TABLE Lishi_zhibiao", "CREATE VIEW Lishi_zhibiao AS SELECT 1 AS id"} << false
        << QStringList{"所选文件不是本软件的数据备份", "视图 Lishi_zhibiao"};
    QTest::newRow("coal.dat open elsewhere in write-ahead-log mode")
        << QStringList() << true << QStringList{"不能完成数据还原", "正被另一个程序打开使用", "原有数据没有改动"};
}

void MainMenusTest::restoreSaysWhatIsWrong()
{
    QFETCH(QStringList, chosenHas);
    QFETCH(bool, heldElsewhere);
    QFETCH(QStringList, mentions);
    Action("munSJBF")->trigger();
    const QString chosen = folder_->path("bakup/" + kNow.date().toString("yyyy-MM-dd") + ".bak");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
        db.setDatabaseName(heldElsewhere ? folder_->path("coal.dat") : chosen);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString& sql : chosenHas)
            QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));
        if (heldElsewhere) {
            QVERIFY(query.exec("PRAGMA journal_mode=WAL"));
            QVERIFY(query.exec("INSERT INTO Lishi_fangan (xinxi) VALUES ('另一个程序的方案')"));
        }
        Prompt::queueFileName(chosen);
        Prompt::queueAnswer(QMessageBox::Yes);
        Action("munSJHY")->trigger();
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("other");
    for (const QString& words : mentions)
        QVERIFY2(Prompt::lastText().contains(words), qPrintable(Prompt::lastText()));
    QVERIFY(!Prompt::lastText().contains(QStringLiteral("未做任何操作")));
}

void MainMenusTest::backupSaysWhatItPruned()
{
    QVERIFY(WriteBytes(folder_->path("config.ini"), "[config]\r\nbakupdays=1\r\nbakupmonths=0\r\n"));
    QVERIFY(WriteBytes(folder_->path("bakup/2026-12-01.bak"), "old"));
    g_windows = std::make_unique<Windows>(WindowContext{folder_->folder(), [] { return kNow; }});
    g_windows->workspace()->show();
    Action("munSJBF")->trigger();
    QVERIFY2(Prompt::lastText().contains(QStringLiteral("删除了 1 个旧备份：2026-12-01.bak")), qPrintable(Prompt::lastText()));
    QCOMPARE(QDir(folder_->path("bakup")).entryList(QDir::Files), QStringList{"2026-12-08.bak"});
}

void MainMenusTest::compactionBacksUpFirstAndSaysTheSizes()
{
    Expect(SaveCoal(folder_->folder(), MakeCoal("甲", 1)));
    const QString rows = DatabaseText(folder_->path("coal.dat"));
    Prompt::queueAnswer(QMessageBox::Yes);
    Action("munYasuo")->trigger();
    QVERIFY2(Prompt::lastText().startsWith(QStringLiteral("数据库已压缩：由 ")), qPrintable(Prompt::lastText()));
    const QString backup = folder_->path("bakup/2026-12-08.bak");
    QVERIFY(Prompt::lastText().contains(QDir::toNativeSeparators(backup)));
    QCOMPARE(DatabaseText(backup), rows);
    QCOMPARE(DatabaseText(folder_->path("coal.dat")), rows);
}

QTEST_MAIN(MainMenusTest)
#include "tst_mainmenus.moc"
