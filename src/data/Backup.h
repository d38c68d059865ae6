#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// Backup and restore of the whole database file. Both copy coal.dat directly;
// the shared connection is closed first so the file is complete on disk.

// Copies coal.dat to bakup/<yyyy-MM-dd>.bak, replacing that day's earlier
// backup. Returns the backup's path; the failure says why.
Result<QString> BackupData(const AppFolder& folder, const QDate& today);

// Replaces coal.dat by the chosen file, but only when that file is a coal
// database whose tables have every column and which passes SQLite's integrity
// check; otherwise the failure is of kind Invalid and nothing changes. A
// backup made before the added tables existed is accepted, and the restored
// coal.dat gets them (the chosen file stays as it is). The
// replaced coal.dat is first kept in bakup under a name that says it was
// replaced by a restore, and when. Returns where that copy was kept ("" when
// there was no coal.dat).
Result<QString> RestoreData(const AppFolder& folder, const QString& chosen, const QDateTime& now);

// The name under which a restore keeps the file it replaces.
QString ReplacedFileName(const QDateTime& now);
