#pragma once

#include "base/AppFolder.h"

#include <QDateTime>

#include <functional>

// What every window works with: the application folder, and the clock that
// dates exports, backups and saved coals (tests set their own, so that a
// test reading "today" cannot disagree with the window at midnight).
struct WindowContext {
    AppFolder folder;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};
