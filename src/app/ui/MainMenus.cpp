#include "app/ui/MainMenus.h"

#include "app/Backup.h"
#include "app/ui/AboutBox.h"
#include "app/ui/Artwork.h"
#include "app/ui/Forms.h"
#include "app/ui/Prompt.h"
#include "data/ui/ConfigWindow.h"
#include "history/ui/HistoryWindow.h"
#include "inventory/ui/CoalEditor.h"
#include "inventory/ui/InventoryWindow.h"
#include "workspace/ui/CalculatorWindow.h"
#include "workspace/ui/WorkspaceWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

namespace {

// Asks before the main window's close box ends the program.
class ExitGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close && !watched->property("velmoraLeaving").toBool()) {
            event->ignore();
            MainCommands::ConfirmExit();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

QAction* AddAction(QMenu* menu, const QString& name, const QString& caption, void (*command)())
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    QObject::connect(action, &QAction::triggered, action, [command] { command(); });
    return action;
}

void InstallMenus(WorkspaceWindow* window)
{
    QMenuBar* bar = window->menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    QMenu* munDacz = bar->addMenu(QStringLiteral("仓库存煤(&N)"));
    munDacz->setObjectName(QStringLiteral("munDacz"));
    AddAction(munDacz, QStringLiteral("munCangKu"), QStringLiteral("库存情况"), MainCommands::OpenInventory);
    AddAction(munDacz, QStringLiteral("munADD"), QStringLiteral("增加煤种"), MainCommands::AddCoal);

    QMenu* munSjgl = bar->addMenu(QStringLiteral("数据管理(&S)"));
    munSjgl->setObjectName(QStringLiteral("munSjgl"));
    AddAction(munSjgl, QStringLiteral("munConfig"), QStringLiteral("系统配置"), MainCommands::OpenSettings);
    AddAction(munSjgl, QStringLiteral("munSJBF"), QStringLiteral("数据备份"), MainCommands::BackupData);
    AddAction(munSjgl, QStringLiteral("munSJHY"), QStringLiteral("数据还原"), MainCommands::RestoreData);

    QMenu* munBZ = bar->addMenu(QStringLiteral("帮助(&H)"));
    munBZ->setObjectName(QStringLiteral("munBZ"));
    AddAction(munBZ, QStringLiteral("munXTBZ"), QStringLiteral("系统帮助"), MainCommands::OpenHelp);
    AddAction(munBZ, QStringLiteral("munGY"), QStringLiteral("关于"), MainCommands::ShowAbout);

    QAction* munTc = bar->addAction(QStringLiteral("退出(&X)"));
    munTc->setObjectName(QStringLiteral("munTc"));
    QObject::connect(munTc, &QAction::triggered, window, [] { MainCommands::ConfirmExit(); });
}

void InstallToolbar(WorkspaceWindow* window)
{
    auto* toolbar = new QToolBar(QStringLiteral("主工具栏"), window);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(32, 32));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        const char* caption;
        const char* glyph;
        QColor colour;
        void (*command)();
    };
    const Button buttons[] = {
        {"煤库存", "库", QColor(46, 110, 160), MainCommands::OpenInventory},
        {"历史配比", "史", QColor(60, 140, 90), MainCommands::OpenHistory},
        {"手动配比", "算", QColor(190, 120, 30), MainCommands::OpenCalculator},
        {"退出", "退", QColor(170, 50, 50), [] { MainCommands::ConfirmExit(); }},
    };
    int index = 1;
    for (const Button& b : buttons) {
        QAction* action = toolbar->addAction(Artwork::ToolIcon(QString::fromUtf8(b.glyph), b.colour),
                                             QString::fromUtf8(b.caption));
        action->setObjectName(QStringLiteral("Toolbar1_%1").arg(index++));
        auto command = b.command;
        QObject::connect(action, &QAction::triggered, toolbar, [command] { command(); });
    }
    window->addToolBar(Qt::TopToolBarArea, toolbar);
}

// Shows the loading window while a list window fills its list; a window that
// is already open is only brought to the front, not loaded again.
template <class W>
void OpenListWindow()
{
    if (W* open = W::existing()) {
        Forms::bringToFront(open);
        return;
    }
    LoadingWindow loading;
    if (QWidget* main = WorkspaceWindow::existing()) {
        loading.adjustSize();
        loading.move(main->geometry().center() - loading.rect().center());
    }
    loading.show();
    QApplication::processEvents();
    W* window = W::instance();
    loading.close();
    Forms::bringToFront(window);
}

}  // namespace

WorkspaceWindow* OpenMainWindow()
{
    if (WorkspaceWindow* open = WorkspaceWindow::existing(); open && open->property("velmoraMenus").toBool())
        return open;
    WorkspaceWindow* window = WorkspaceWindow::instance();
    InstallMenus(window);
    InstallToolbar(window);
    window->installEventFilter(new ExitGuard(window));
    window->setProperty("velmoraMenus", true);
    return window;
}

namespace MainCommands {

void OpenInventory() { OpenListWindow<InventoryWindow>(); }

void OpenHistory() { OpenListWindow<HistoryWindow>(); }

void AddCoal()
{
    CoalEditor* editor = CoalEditor::instance();
    editor->setId(0);
    Forms::bringToFront(editor);
}

void OpenSettings() { Forms::bringToFront(ConfigWindow::instance()); }

void OpenCalculator() { Forms::bringToFront(CalculatorWindow::instance()); }

void BackupData()
{
    QWidget* parent = WorkspaceWindow::existing();
    const BackupResult result = ::BackupData(Forms::folder(), QDate::currentDate());
    if (result.ok) {
        Prompt::show(parent, QStringLiteral("数据已备份到  ") + QDir::toNativeSeparators(result.path),
                     QStringLiteral("提示"), Prompt::Icon::Information);
    } else {
        Prompt::show(parent, QStringLiteral("不能完成数据备份！"), QStringLiteral("运行错误"),
                     Prompt::Icon::Warning);
    }
}

void RestoreData()
{
    QWidget* parent = WorkspaceWindow::existing();
    const QString chosen = Prompt::openFileName(parent, QStringLiteral("选择还原文件"), QString(),
                                                QStringLiteral("备份卡(*.bak)"), Forms::folder().BackupDir());
    if (chosen.isEmpty())
        return;
    if (Prompt::show(parent, QStringLiteral("还原后将覆盖原有数据，确定还原吗?"), QStringLiteral("提示"),
                     Prompt::Icon::Information, QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const RestoreResult result = ::RestoreData(Forms::folder(), chosen, QDateTime::currentDateTime());
    switch (result.outcome) {
    case RestoreOutcome::Restored:
        Prompt::show(parent, QStringLiteral("数据已经成功还原！请重新登陆 "), QStringLiteral("提示"),
                     Prompt::Icon::Warning);
        break;
    case RestoreOutcome::NotACoalDatabase:
        Prompt::show(parent,
                     QStringLiteral("所选文件不是本软件的数据备份，不能用它还原。\n原有数据没有改动。"),
                     QStringLiteral("提示"), Prompt::Icon::Warning);
        break;
    case RestoreOutcome::Failed:
        Prompt::show(parent, QStringLiteral("不能完成数据还原，请进入系统后未做任何操作时进行！"),
                     QStringLiteral("运行错误"), Prompt::Icon::Warning);
        break;
    }
}

void OpenHelp()
{
    // A help page that cannot be opened is not reported.
    Prompt::openDocument(Forms::folder().HelpPath());
}

void ShowAbout()
{
    auto* box = new AboutBox(WorkspaceWindow::existing());
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Tests look at the box instead of waiting on it.
    if (Prompt::testMode())
        box->show();
    else
        box->exec();
}

bool ConfirmExit()
{
    if (Prompt::show(WorkspaceWindow::existing(), QStringLiteral("确认要退出系统吗?"), QStringLiteral("提示"),
                     Prompt::Icon::Information, QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return false;
    if (WorkspaceWindow* main = WorkspaceWindow::existing())
        main->setProperty("velmoraLeaving", true);
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
    return true;
}

}  // namespace MainCommands
