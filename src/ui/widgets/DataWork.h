#pragma once

#include "base/Result.h"
#include "data/DataJob.h"

#include <QString>

class QWidget;

// Runs work on the data (a backup, a copy to a server, a connection test) on
// a worker, with a progress dialog that shows after a moment, blocks the
// other windows (which keep painting) and offers to cancel. Returns how the
// work ended.
Status RunDataWork(QWidget* parent, const QString& title, DataJob::Work work);
