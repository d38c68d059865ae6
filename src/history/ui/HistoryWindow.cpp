#include "history/ui/HistoryWindow.h"

#include "app/ui/Forms.h"

namespace {
QPointer<HistoryWindow> g_instance;
}

HistoryWindow* HistoryWindow::instance() { return Forms::single(g_instance); }
HistoryWindow* HistoryWindow::existing() { return g_instance.data(); }

HistoryWindow::HistoryWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmLishi"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("历史配比表"));
}

void HistoryWindow::reloadAndShowNewest() {}
