#pragma once

#include "base/Settings.h"
#include "blend/ModelText.h"
#include "data/DataJob.h"
#include "ui/widgets/WindowContext.h"

#include <QObject>
#include <QPointer>

#include <memory>

class CalculatorWindow;
class ChangeListener;
class CoalEditor;
class DatabaseWindow;
class ConfigWindow;
class DiagnoseDialog;
class HistoryWindow;
class ImportDialog;
class InventoryWindow;
class ScheduleWindow;
class SelectDialog;
class SingleInstance;
class WorkspaceWindow;

// The program's windows and the one place where they meet. Each window exists
// at most once (asking for an open one returns it; a closed one is made anew)
// and knows nothing of the others: a window says what happened through its
// signals, and this object answers by calling the window concerned. It also
// holds the session's settings, read once at start and handed to the windows.
class Windows : public QObject {
    Q_OBJECT
public:
    explicit Windows(const WindowContext& context, QObject* parent = nullptr);
    ~Windows() override;

    const WindowContext& context() const { return context_; }

    // The single-instance lock of the session, released with it.
    void holdLock(std::unique_ptr<SingleInstance> lock);
    const Settings& settings() const { return settings_; }

    // The main window, with its menu bar, main toolbar and exit confirmation.
    WorkspaceWindow* workspace();
    InventoryWindow* inventory();
    HistoryWindow* history();
    CoalEditor* editor();
    CalculatorWindow* calculator();
    ConfigWindow* config();
    ScheduleWindow* schedule();
    DatabaseWindow* database();

    // The open window, or nullptr.
    WorkspaceWindow* existingWorkspace() const;
    InventoryWindow* existingInventory() const;
    HistoryWindow* existingHistory() const;
    CoalEditor* existingEditor() const;
    CalculatorWindow* existingCalculator() const;
    ConfigWindow* existingConfig() const;
    SelectDialog* existingSelectDialog() const;
    DiagnoseDialog* existingDiagnose() const;
    ImportDialog* existingImportDialog() const;
    ScheduleWindow* existingSchedule() const;
    DatabaseWindow* existingDatabase() const;
    // Hears the other planners' changes on a server.
    ChangeListener* changeListener() const { return listener_; }

    // The main window's commands (menus and toolbars).
    void openInventory();      // "库存情况", "煤库存"
    void openHistory();        // "历史配比"
    void addCoal();            // "增加煤种"
    void editCoal(int id);     // the inventory's "编辑煤种"
    void importCoals();        // "导入煤种": the inventory, then its import
    void openSettings();       // "系统配置"
    void backupData();         // "数据备份"
    void restoreData();        // "数据还原"
    void compactData();        // "压缩数据库"
    void openDatabase();       // "数据库连接…"
    void openHelp();           // "系统帮助"
    void showAbout();          // "关于"
    void openCalculator();     // "手动配比"
    void openSchedule();       // "多日计划"
    bool confirmExit();        // true when the user chose to leave

    // The coal selection dialog for the workspace's grid or the calculator's.
    SelectDialog* selectForWorkspace();
    SelectDialog* selectForCalculator();

    // The "no plan" dialog for a run of the workspace that found nothing up
    // to total last; its suggestion goes back into the workspace's boxes.
    DiagnoseDialog* explainNoPlan(const ModelInput& model, int last);

    // Brings a window to the front, showing it when hidden or minimised.
    static void bringToFront(QWidget* window);

private:
    template <class W>
    void openListWindow(W* (Windows::*make)(), W* open);
    void startImport(const QString& path);
    // Runs work on the data file on a worker, with a progress dialog that
    // blocks the other windows (which keep painting) until it ends.
    Status runDataWork(const QString& title, DataJob::Work work);
    // After the data was replaced (a restore, another database): every open
    // window shows the new data; what belongs to the old data is dropped.
    void reloadWindows();

    WindowContext context_;
    Settings settings_;
    QPointer<WorkspaceWindow> workspace_;
    QPointer<InventoryWindow> inventory_;
    QPointer<HistoryWindow> history_;
    QPointer<CoalEditor> editor_;
    QPointer<CalculatorWindow> calculator_;
    QPointer<ConfigWindow> config_;
    QPointer<SelectDialog> select_;
    QPointer<DiagnoseDialog> diagnose_;
    QPointer<ImportDialog> import_;
    QPointer<ScheduleWindow> schedule_;
    QPointer<DatabaseWindow> database_;
    ChangeListener* listener_ = nullptr;
    std::unique_ptr<SingleInstance> lock_;
};
