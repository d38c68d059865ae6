#include "workspace/ui/WorkspaceWindow.h"

#include "app/ui/Artwork.h"
#include "app/ui/Forms.h"

namespace {
QPointer<WorkspaceWindow> g_instance;
}

WorkspaceWindow* WorkspaceWindow::instance() { return Forms::single(g_instance); }
WorkspaceWindow* WorkspaceWindow::existing() { return g_instance.data(); }

WorkspaceWindow::WorkspaceWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Velmora配煤软件5.0"));
    setWindowIcon(Artwork::AppIcon());
    resize(1100, 720);
}
