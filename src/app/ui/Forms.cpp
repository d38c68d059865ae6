#include "app/ui/Forms.h"

#include <QWidget>

namespace {
AppFolder g_folder;
}

const AppFolder& Forms::folder() { return g_folder; }
void Forms::setFolder(const AppFolder& folder) { g_folder = folder; }

void Forms::bringToFront(QWidget* window)
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
