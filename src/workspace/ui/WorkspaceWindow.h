#pragma once

#include <QMainWindow>
#include <QPointer>

// frmMain: the main window and blending workspace.
class WorkspaceWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit WorkspaceWindow(QWidget* parent = nullptr);

    static WorkspaceWindow* instance();          // created on first use
    static WorkspaceWindow* existing();          // nullptr when not created
};
