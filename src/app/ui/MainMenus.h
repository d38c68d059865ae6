#pragma once

class QWidget;
class WorkspaceWindow;

// The main window with its menu bar, main toolbar and exit confirmation: the
// window the splash opens. Created once; later calls return the same window.
WorkspaceWindow* OpenMainWindow();

// The main window's commands, also reachable from tests.
namespace MainCommands {
void OpenInventory();      // "库存情况", "煤库存"
void OpenHistory();        // "历史配比"
void AddCoal();            // "增加煤种"
void OpenSettings();       // "系统配置"
void BackupData();         // "数据备份"
void RestoreData();        // "数据还原"
void OpenHelp();           // "系统帮助"
void ShowAbout();          // "关于"
void OpenCalculator();     // "手动配比"
bool ConfirmExit();        // true when the user chose to leave
}  // namespace MainCommands
