#pragma once

#include "data/AppFolder.h"

#include <QPointer>

class QWidget;

// The program's windows. The main window, each list window, the editor, the
// settings window and the calculator exist once: asking for one that is open
// returns the same window. Each accessor is defined beside its window.
namespace Forms {

// The application folder the windows work in (set once at start-up, or by a test).
const AppFolder& folder();
void setFolder(const AppFolder& folder);

// Creates the window on first use (or after it was closed) and returns it.
template <class W>
W* single(QPointer<W>& slot)
{
    if (!slot)
        slot = new W();
    return slot.data();
}

// Brings a window to the front, showing it when hidden or minimised.
void bringToFront(QWidget* window);

}  // namespace Forms
