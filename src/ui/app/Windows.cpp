#include "ui/app/Windows.h"

#include "base/SingleInstance.h"
#include "data/Backup.h"
#include "data/ChangeListener.h"
#include "data/Dbconnection.h"
#include "ui/widgets/AboutBox.h"
#include "ui/widgets/Artwork.h"
#include "ui/widgets/DataWork.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/Say.h"
#include "ui/widgets/TopLevel.h"
#include "ui/windows/CalculatorWindow.h"
#include "ui/windows/CoalEditor.h"
#include "ui/windows/ConfigWindow.h"
#include "ui/windows/DatabaseWindow.h"
#include "ui/windows/DiagnoseDialog.h"
#include "ui/windows/HistoryWindow.h"
#include "ui/windows/ImportDialog.h"
#include "ui/windows/InventoryWindow.h"
#include "ui/windows/ScheduleWindow.h"
#include "ui/windows/SelectDialog.h"
#include "ui/windows/WorkspaceWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocale>
#include <QMenuBar>
#include <QProgressDialog>
#include <QTimer>
#include <QToolBar>

#include <functional>

namespace {

// Asks before the main window's close box ends the program.
class ExitGuard : public QObject {
public:
    ExitGuard(Windows* hub, QObject* parent) : QObject(parent), hub_(hub) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close && !watched->property("velmoraLeaving").toBool()) {
            event->ignore();
            hub_->confirmExit();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Windows* hub_;
};

QAction* AddAction(QMenu* menu, const QString& name, const QString& caption, const std::function<void()>& command,
                   const QKeySequence& shortcut = {})
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    QObject::connect(action, &QAction::triggered, action, command);
    return action;
}

void InstallMenus(WorkspaceWindow* window, Windows* hub)
{
    QMenuBar* bar = window->menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    QMenu* munDacz = bar->addMenu(Windows::tr("仓库存煤(&N)"));
    munDacz->setObjectName(QStringLiteral("munDacz"));
    AddAction(munDacz, QStringLiteral("munCangKu"), Windows::tr("库存情况"), [hub] { hub->openInventory(); },
              QKeySequence(Qt::CTRL | Qt::Key_K));
    AddAction(munDacz, QStringLiteral("munADD"), Windows::tr("增加煤种"), [hub] { hub->addCoal(); });
    AddAction(munDacz, QStringLiteral("munDaoru"), Windows::tr("导入煤种"), [hub] { hub->importCoals(); },
              QKeySequence(Qt::CTRL | Qt::Key_I));
    AddAction(munDacz, QStringLiteral("munJihua"), Windows::tr("多日计划"), [hub] { hub->openSchedule(); });

    // The blending road's commands, with their keys; the toolbars carry them too.
    QMenu* munPeimei = bar->addMenu(Windows::tr("配煤(&P)"));
    munPeimei->setObjectName(QStringLiteral("munPeimei"));
    AddAction(munPeimei, QStringLiteral("munKaishi"), Windows::tr("开始配煤"),
              [window] { window->RunBlending(); }, QKeySequence(Qt::Key_F5));
    AddAction(munPeimei, QStringLiteral("munLishi"), Windows::tr("历史配比"),
              [hub] { hub->openHistory(); }, QKeySequence(Qt::CTRL | Qt::Key_H));
    AddAction(munPeimei, QStringLiteral("munShoudong"), Windows::tr("手动配比"),
              [hub] { hub->openCalculator(); }, QKeySequence(Qt::CTRL | Qt::Key_M));

    QMenu* munSjgl = bar->addMenu(Windows::tr("数据管理(&S)"));
    munSjgl->setObjectName(QStringLiteral("munSjgl"));
    AddAction(munSjgl, QStringLiteral("munConfig"), Windows::tr("系统配置"), [hub] { hub->openSettings(); });
    AddAction(munSjgl, QStringLiteral("munSJBF"), Windows::tr("数据备份"), [hub] { hub->backupData(); });
    AddAction(munSjgl, QStringLiteral("munSJHY"), Windows::tr("数据还原"), [hub] { hub->restoreData(); });
    AddAction(munSjgl, QStringLiteral("munYasuo"), Windows::tr("压缩数据库"), [hub] { hub->compactData(); });
    AddAction(munSjgl, QStringLiteral("munShujuku"), Windows::tr("数据库连接…"), [hub] { hub->openDatabase(); });

    QMenu* munBZ = bar->addMenu(Windows::tr("帮助(&H)"));
    munBZ->setObjectName(QStringLiteral("munBZ"));
    AddAction(munBZ, QStringLiteral("munXTBZ"), Windows::tr("系统帮助"), [hub] { hub->openHelp(); });
    AddAction(munBZ, QStringLiteral("munGY"), Windows::tr("关于"), [hub] { hub->showAbout(); });

    QAction* munTc = bar->addAction(Windows::tr("退出(&X)"));
    munTc->setObjectName(QStringLiteral("munTc"));
    QObject::connect(munTc, &QAction::triggered, window, [hub] { hub->confirmExit(); });
}

void InstallToolbar(WorkspaceWindow* window, Windows* hub)
{
    auto* toolbar = new QToolBar(Windows::tr("主工具栏"), window);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(24, 24));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        const char* caption;
        QString glyph;
        QColor colour;
        std::function<void()> command;
    };
    // An icon's glyph is a word as well: each language has its own.
    const Button buttons[] = {
        {QT_TRANSLATE_NOOP("Windows", "煤库存"), Windows::tr("库"), QColor(46, 110, 160),
         [hub] { hub->openInventory(); }},
        {QT_TRANSLATE_NOOP("Windows", "历史配比"), Windows::tr("史"), QColor(60, 140, 90),
         [hub] { hub->openHistory(); }},
        {QT_TRANSLATE_NOOP("Windows", "手动配比"), Windows::tr("算"), QColor(190, 120, 30),
         [hub] { hub->openCalculator(); }},
        {QT_TRANSLATE_NOOP("Windows", "退出"), Windows::tr("退"), QColor(170, 50, 50), [hub] { hub->confirmExit(); }},
    };
    int index = 1;
    QAction* exit = nullptr;
    for (const Button& b : buttons) {
        QAction* action = toolbar->addAction(Artwork::ToolIcon(b.glyph, b.colour), Windows::tr(b.caption));
        action->setObjectName(QStringLiteral("Toolbar1_%1").arg(index++));
        QObject::connect(action, &QAction::triggered, toolbar, b.command);
        exit = action;
    }
    // Added later, it keeps the next number but stands before the exit.
    auto* plan =
        new QAction(Artwork::ToolIcon(Windows::tr("计"), QColor(120, 80, 160)), Windows::tr("多日计划"), toolbar);
    plan->setObjectName(QStringLiteral("Toolbar1_%1").arg(index));
    QObject::connect(plan, &QAction::triggered, toolbar, [hub] { hub->openSchedule(); });
    toolbar->insertAction(exit, plan);
    window->addToolBar(Qt::TopToolBarArea, toolbar);
}

BackupKeep KeepOf(const Settings& settings)
{
    return BackupKeep{settings.backupDays, settings.backupMonths};
}

// What the pruning of bakup removed, as lines after a message; "" for nothing.
QString PrunedText(const QStringList& pruned, const QString& failure, const BackupKeep& keep)
{
    QString text;
    if (!pruned.isEmpty()) {
        QStringList shown = pruned.mid(0, 6);
        if (pruned.size() > shown.size())
            shown << QStringLiteral("……");
        text += Windows::tr("\n按保留规则（最近 %1 个每日备份，最近 %2 个月每月一个）删除了 %3 个旧备份：%4")
                    .arg(keep.days)
                    .arg(keep.months)
                    .arg(pruned.size())
                    .arg(shown.join(Windows::tr("、")));
    }
    if (!failure.isEmpty())
        text += QStringLiteral("\n") + failure;
    return text;
}

QString FileSize(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

}  // namespace

Windows::Windows(const WindowContext& context, QObject* parent)
    : QObject(parent), context_(context), settings_(ReadSettings(context.folder))
{
    // On a server the open lists follow the other planners' committed changes.
    listener_ = new ChangeListener(context_.folder, this);
    connect(listener_, &ChangeListener::coalsChanged, this, [this] {
        if (inventory_)
            inventory_->showOthersChanges();
    });
    connect(listener_, &ChangeListener::plansChanged, this, [this] {
        if (history_)
            history_->showOthersChanges();
    });
    listener_->listen();
}

Windows::~Windows()
{
    // The windows are top-level widgets of their own; they go with the session.
    for (QWidget* window : std::initializer_list<QWidget*>{schedule_, database_, diagnose_, select_, editor_, config_, calculator_,
                                                           inventory_, history_, workspace_})
        delete window;
}

WorkspaceWindow* Windows::existingWorkspace() const { return workspace_; }
InventoryWindow* Windows::existingInventory() const { return inventory_; }
HistoryWindow* Windows::existingHistory() const { return history_; }
CoalEditor* Windows::existingEditor() const { return editor_; }
CalculatorWindow* Windows::existingCalculator() const { return calculator_; }
ConfigWindow* Windows::existingConfig() const { return config_; }
SelectDialog* Windows::existingSelectDialog() const { return select_; }
DiagnoseDialog* Windows::existingDiagnose() const { return diagnose_; }
ImportDialog* Windows::existingImportDialog() const { return import_; }
ScheduleWindow* Windows::existingSchedule() const { return schedule_; }
DatabaseWindow* Windows::existingDatabase() const { return database_; }

void Windows::holdLock(std::unique_ptr<SingleInstance> lock)
{
    lock_ = std::move(lock);
}

void Windows::bringToFront(QWidget* window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

WorkspaceWindow* Windows::workspace()
{
    if (workspace_)
        return workspace_;
    workspace_ = new WorkspaceWindow(context_, settings_.shovelMode);
    workspace_->setBasisWeighting(settings_.weighting);
    InstallMenus(workspace_, this);
    InstallToolbar(workspace_, this);
    workspace_->resize(workspace_->sizeHint());
    TopLevel::Place(workspace_, context_.folder);
    workspace_->installEventFilter(new ExitGuard(this, workspace_));
    connect(workspace_, &WorkspaceWindow::selectCoalsRequested, this, [this] { selectForWorkspace(); });
    connect(workspace_, &WorkspaceWindow::planStored, this, [this] {
        HistoryWindow* window = history();
        bringToFront(window);
        window->reloadAndShowNewest();
    });
    connect(workspace_, &WorkspaceWindow::noPlanFound, this,
            [this](const ModelInput& model, int last) { explainNoPlan(model, last); });
    connect(workspace_, &WorkspaceWindow::basisWeightingChanged, this, [this](const BasisWeighting& weighting) {
        settings_.weighting = weighting;
        if (calculator_)
            calculator_->setBasisWeighting(weighting);
    });
    return workspace_;
}

InventoryWindow* Windows::inventory()
{
    if (inventory_)
        return inventory_;
    inventory_ = new InventoryWindow(context_);
    TopLevel::Place(inventory_, context_.folder, workspace_);
    TopLevel::CloseOnEscape(inventory_);
    connect(inventory_, &InventoryWindow::addCoalRequested, this, [this] { addCoal(); });
    connect(inventory_, &InventoryWindow::editCoalRequested, this, [this](int id) { editCoal(id); });
    connect(inventory_, &InventoryWindow::importRequested, this, &Windows::startImport);
    return inventory_;
}

HistoryWindow* Windows::history()
{
    if (history_)
        return history_;
    history_ = new HistoryWindow(context_, settings_);
    TopLevel::Place(history_, context_.folder, workspace_);
    TopLevel::CloseOnEscape(history_);
    return history_;
}

CoalEditor* Windows::editor()
{
    if (editor_)
        return editor_;
    editor_ = new CoalEditor(context_);
    TopLevel::Place(editor_, context_.folder, workspace_);
    TopLevel::CloseOnEscape(editor_, [editor = editor_] { return editor->changed(); });
    connect(editor_, &CoalEditor::coalSaved, this, [this] {
        // An inventory window that opens now loads the saved coal by itself;
        // an open one refills within its current search.
        if (InventoryWindow* open = inventory_) {
            open->addLIST();
            bringToFront(open);
        } else {
            bringToFront(inventory());
        }
    });
    return editor_;
}

CalculatorWindow* Windows::calculator()
{
    if (calculator_)
        return calculator_;
    calculator_ = new CalculatorWindow(settings_.shovelMode);
    TopLevel::Place(calculator_, context_.folder, workspace_);
    TopLevel::CloseOnEscape(calculator_, [calculator = calculator_] { return calculator->holdsInput(); });
    calculator_->setBasisWeighting(settings_.weighting);
    connect(calculator_, &CalculatorWindow::selectCoalsRequested, this, [this] { selectForCalculator(); });
    return calculator_;
}

ScheduleWindow* Windows::schedule()
{
    if (schedule_)
        return schedule_;
    schedule_ = new ScheduleWindow(context_);
    // It plans from the workspace as it stands whenever it computes.
    schedule_->setInputSource([this] { return workspace()->readInput(); });
    TopLevel::Place(schedule_, context_.folder, workspace_);
    TopLevel::CloseOnEscape(schedule_);
    return schedule_;
}

void Windows::openSchedule()
{
    bringToFront(schedule());
}

ConfigWindow* Windows::config()
{
    if (config_)
        return config_;
    config_ = new ConfigWindow(context_);
    TopLevel::Place(config_, context_.folder, workspace_);
    TopLevel::CloseOnEscape(config_, [config = config_] { return config->changed(); });
    connect(config_, &ConfigWindow::settingsSaved, this, [this](const Settings& settings) {
        settings_ = settings;
        if (workspace_)
            workspace_->setShovelMode(settings.shovelMode);
        if (calculator_)
            calculator_->setShovelMode(settings.shovelMode);
        if (workspace_)
            workspace_->setBasisWeighting(settings.weighting);
        if (calculator_)
            calculator_->setBasisWeighting(settings.weighting);
    });
    return config_;
}

SelectDialog* Windows::selectForWorkspace()
{
    auto* dialog = new SelectDialog(context_);
    TopLevel::Place(dialog, context_.folder, workspace_);
    connect(dialog, &SelectDialog::coalsChosen, this, [this](const QVector<Mei>& coals) {
        workspace()->SetTxtValue(coals);
    });
    select_ = dialog;
    dialog->show();
    return dialog;
}

DiagnoseDialog* Windows::explainNoPlan(const ModelInput& model, int last)
{
    // One at a time: an older one speaks of bounds that may have changed.
    delete diagnose_;
    auto* dialog = new DiagnoseDialog(model, last, workspace());
    TopLevel::Place(dialog, context_.folder, workspace_);
    connect(dialog, &DiagnoseDialog::boundsChosen, workspace(), &WorkspaceWindow::setBounds);
    diagnose_ = dialog;
    dialog->show();
    return dialog;
}

SelectDialog* Windows::selectForCalculator()
{
    auto* dialog = new SelectDialog(context_);
    TopLevel::Place(dialog, context_.folder, calculator_);
    dialog->setWindowModality(Qt::ApplicationModal);
    connect(dialog, &SelectDialog::coalsChosen, this, [this](const QVector<Mei>& coals) {
        calculator()->SetTxtValue(coals);
    });
    select_ = dialog;
    dialog->show();
    return dialog;
}

// Shows the loading window while a list window fills its list; a window that
// is already open is only brought to the front, not loaded again.
template <class W>
void Windows::openListWindow(W* (Windows::*make)(), W* open)
{
    if (open) {
        bringToFront(open);
        return;
    }
    LoadingWindow loading;
    if (workspace_) {
        loading.adjustSize();
        loading.move(workspace_->geometry().center() - loading.rect().center());
    }
    loading.show();
    // Painted once before the list window fills its list.
    loading.repaint();
    W* window = (this->*make)();
    loading.close();
    bringToFront(window);
}

void Windows::openInventory() { openListWindow(&Windows::inventory, existingInventory()); }

void Windows::openHistory() { openListWindow(&Windows::history, existingHistory()); }

void Windows::addCoal()
{
    CoalEditor* window = editor();
    window->setId(0);
    bringToFront(window);
}

void Windows::editCoal(int id)
{
    CoalEditor* window = editor();
    window->setId(id);
    bringToFront(window);
}

void Windows::importCoals()
{
    openInventory();
    // One import at a time: an open preview comes to the front instead, and
    // a file being read shows its preview when it is done.
    if (import_) {
        if (!import_->reading())
            bringToFront(import_);
        return;
    }
    inventory()->importCoals();
}

// The preview belongs to the inventory window, which waits while it is open
// and refills its list after an import.
void Windows::startImport(const QString& path)
{
    if (import_) {
        if (!import_->reading())
            bringToFront(import_);
        return;
    }
    auto* dialog = new ImportDialog(context_, inventory());
    TopLevel::Place(dialog, context_.folder, inventory_);
    import_ = dialog;
    connect(dialog, &ImportDialog::coalsImported, this, [this] {
        if (inventory_)
            inventory_->addLIST();
    });
    dialog->readFile(path);
}

void Windows::openSettings() { bringToFront(config()); }

void Windows::openCalculator() { bringToFront(calculator()); }

Status Windows::runDataWork(const QString& title, DataJob::Work work)
{
    // The work opens connections of its own; the shared one stays closed
    // until it ends, since the dialog keeps every other command away.
    CloseConnection();
    if (listener_)
        listener_->setPaused(true);
    const Status done = RunDataWork(workspace_, title, std::move(work));
    if (listener_) {
        listener_->setPaused(false);
        listener_->listen();
    }
    return done;
}

void Windows::backupData()
{
    const AppFolder folder = context_.folder;
    const QDate today = context_.now().date();
    const BackupKeep keep = KeepOf(settings_);
    BackupOutcome outcome;
    const Status done = runDataWork(tr("数据备份"), [&](const DataProgressFn& progress) -> Status {
        Result<BackupOutcome> backup = ::BackupData(folder, today, keep, progress);
        if (!backup)
            return backup.failure();
        outcome = *backup;
        return {};
    });
    if (done) {
        Prompt::show(workspace_,
                     tr("数据已备份到  ") + QDir::toNativeSeparators(outcome.path)
                         + PrunedText(outcome.pruned, Say(outcome.pruneFailure), keep),
                     tr("提示"), Prompt::Icon::Information);
    } else if (done.kind() == FailureKind::Cancelled) {
        Prompt::show(workspace_, tr("数据备份已取消，没有生成新的备份。"), tr("提示"), Prompt::Icon::Information);
    } else {
        Prompt::show(workspace_, tr("不能完成数据备份！\n%1").arg(Say(done)), tr("运行错误"), Prompt::Icon::Warning);
    }
}

void Windows::restoreData()
{
    const QString chosen = Prompt::openFileName(workspace_, tr("选择还原文件"), QString(), tr("备份卡(*.bak)"),
                                                context_.folder.BackupDir());
    if (chosen.isEmpty())
        return;
    // On a server the restore replaces what every planner works with: the
    // question names the server.
    const DbSettings database = DatabaseOf(context_.folder);
    const QString question = database.onServer()
        ? tr("还原后将覆盖数据库服务器上 %1 的全部数据，所有使用它的电脑都会看到还原后的数据。确定还原吗?")
              .arg(database.serverName())
        : tr("还原后将覆盖原有数据，确定还原吗?");
    if (Prompt::show(workspace_, question, tr("提示"), Prompt::Icon::Information, QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const AppFolder folder = context_.folder;
    const QDateTime now = context_.now();
    const BackupKeep keep = KeepOf(settings_);
    RestoreOutcome outcome;
    const Status restored = runDataWork(tr("数据还原"), [&](const DataProgressFn& progress) -> Status {
        Result<RestoreOutcome> done = ::RestoreData(folder, chosen, now, keep, progress);
        if (!done)
            return done.failure();
        outcome = *done;
        return {};
    });
    if (!restored) {
        if (restored.kind() == FailureKind::Invalid)
            Prompt::show(
                workspace_,
                tr("所选文件不是本软件的数据备份，不能用它还原。\n原有数据没有改动。\n（%1）").arg(Say(restored)),
                tr("提示"), Prompt::Icon::Warning);
        else if (restored.kind() == FailureKind::Cancelled)
            Prompt::show(workspace_, tr("数据还原已取消，原有数据没有改动。"), tr("提示"), Prompt::Icon::Information);
        else
            Prompt::show(workspace_, tr("不能完成数据还原！\n%1\n原有数据没有改动。").arg(Say(restored)),
                         tr("运行错误"), Prompt::Icon::Warning);
        return;
    }
    reloadWindows();
    QString more;
    if (outcome.keptEarlier)
        more += tr("\n今天第一次还原前的数据保存在 %1，这次还原前的数据没有另存（每天只保留一份）。")
                    .arg(QDir::toNativeSeparators(outcome.kept));
    more += PrunedText(outcome.pruned, QString(), keep);
    Prompt::show(workspace_, tr("数据已经成功还原！请重新登陆 ") + more, tr("提示"), Prompt::Icon::Warning);
}

void Windows::reloadWindows()
{
    // Every window that shows records of the replaced data now shows the
    // new; an editor's unsaved input belongs to a coal of the old data and is
    // dropped rather than written into the new.
    delete select_;
    delete editor_;
    // A preview matched its names against the replaced data.
    delete import_;
    if (inventory_)
        inventory_->addLIST();
    if (history_)
        history_->reloadAndShowNewest();
}

DatabaseWindow* Windows::database()
{
    if (database_)
        return database_;
    database_ = new DatabaseWindow(context_);
    connect(database_, &DatabaseWindow::databaseChanged, this, [this] {
        reloadWindows();
        listener_->listen();
    });
    return database_;
}

void Windows::openDatabase()
{
    const bool opening = !database_;
    DatabaseWindow* window = database();
    if (opening) {
        window->adjustSize();
        TopLevel::Place(window, context_.folder, workspace_);
    }
    bringToFront(window);
}

void Windows::compactData()
{
    if (Prompt::show(workspace_,
                     tr("压缩数据库会先做一次数据备份，再重写数据文件，收回删除方案后留下的空间。"
                        "数据越多用时越长。确定压缩吗?"),
                     tr("提示"), Prompt::Icon::Question, QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const AppFolder folder = context_.folder;
    const QDate today = context_.now().date();
    const BackupKeep keep = KeepOf(settings_);
    CompactOutcome outcome;
    const Status done = runDataWork(tr("压缩数据库"), [&](const DataProgressFn& progress) -> Status {
        Result<CompactOutcome> compacted = ::CompactDatabase(folder, today, keep, progress);
        if (!compacted)
            return compacted.failure();
        outcome = *compacted;
        return {};
    });
    if (done) {
        Prompt::show(workspace_,
                     tr("数据库已压缩：由 %1 变为 %2。\n压缩前的数据已备份到  %3")
                             .arg(FileSize(outcome.sizeBefore), FileSize(outcome.sizeAfter),
                                  QDir::toNativeSeparators(outcome.backup.path))
                         + PrunedText(outcome.backup.pruned, Say(outcome.backup.pruneFailure), keep),
                     tr("提示"), Prompt::Icon::Information);
    } else if (done.kind() == FailureKind::Cancelled) {
        Prompt::show(workspace_, tr("数据库压缩已取消，原有数据没有改动。"), tr("提示"), Prompt::Icon::Information);
    } else {
        Prompt::show(workspace_, tr("不能完成数据库压缩！\n%1\n原有数据没有改动。").arg(Say(done)), tr("运行错误"),
                     Prompt::Icon::Warning);
    }
}

void Windows::openHelp()
{
    // A help page that cannot be opened is not reported.
    // The help page of the interface's language, when there is one.
    const bool english = QLocale().language() == QLocale::English;
    Prompt::openDocument(QFileInfo::exists(context_.folder.HelpPath(english)) ? context_.folder.HelpPath(english)
                                                                               : context_.folder.HelpPath());
}

void Windows::showAbout()
{
    auto* box = new AboutBox(context_.folder, workspace_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Tests look at the box instead of waiting on it.
    if (Prompt::testMode())
        box->show();
    else
        box->exec();
}

bool Windows::confirmExit()
{
    if (Prompt::show(workspace_, tr("确认要退出系统吗?"), tr("提示"), Prompt::Icon::Information,
                     QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return false;
    if (workspace_)
        workspace_->setProperty("velmoraLeaving", true);
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
    return true;
}
