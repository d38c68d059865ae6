#pragma once

#include "data/AppFolder.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// Backup and restore of the whole database file. Both copy coal.dat directly;
// the shared connection is closed first so the file is complete on disk.

struct BackupResult {
    bool ok = false;
    QString path;    // the backup file
    QString error;   // why it failed
};

// Copies coal.dat to bakup/<yyyy-MM-dd>.bak, replacing that day's earlier backup.
BackupResult BackupData(const AppFolder& folder, const QDate& today);

enum class RestoreOutcome { Restored, NotACoalDatabase, Failed };

struct RestoreResult {
    RestoreOutcome outcome = RestoreOutcome::Failed;
    QString keptCopy;  // where the replaced coal.dat was kept
    QString error;
};

// Replaces coal.dat by the chosen file, but only when that file is a coal
// database; the replaced coal.dat is first kept in bakup under a name that says
// it was replaced by a restore, and when.
RestoreResult RestoreData(const AppFolder& folder, const QString& chosen, const QDateTime& now);

// The name under which a restore keeps the file it replaces.
QString ReplacedFileName(const QDateTime& now);
