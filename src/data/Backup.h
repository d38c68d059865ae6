#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"
#include "data/DataJob.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

// Backup, restore and compaction of the database file. Each works on
// connections of its own, never on the shared one (the caller closes that on
// its own thread first), so each may run on a worker (DataJob). coal.dat is
// read through SQLite, so a copy holds the file as its last finished write
// left it, what is still in a write-ahead log included; and it is written in
// place, in one transaction, so an interruption leaves the old data, and a
// coal.dat that is a link keeps pointing at the file it names, which takes
// the new data.

// How many copies stay in bakup: the newest `days` backups, and the newest of
// each of the last `months` calendar months (the current one included); the
// copies restores keep follow the same rule on their own.
struct BackupKeep {
    int days = 14;
    int months = 12;
};

struct BackupOutcome {
    QString path;          // the backup made
    QStringList pruned;    // older copies the rule removed (file names)
    Text pruneFailure;     // why some could not be removed; empty when all were
};

// Copies coal.dat to bakup/<yyyy-MM-dd>.bak, replacing that day's earlier
// backup once the new one is whole, then prunes bakup by the rule. The
// failure says why; nothing half made is left.
Result<BackupOutcome> BackupData(const AppFolder& folder, const QDate& today, const BackupKeep& keep = {},
                                 const DataProgressFn& progress = {});

struct RestoreOutcome {
    QString kept;               // the copy of the replaced data; "" when there was no coal.dat
    bool keptEarlier = false;   // kept is the copy an earlier restore made today; none was made now
    QStringList pruned;         // older copies the rule removed (file names)
};

// Replaces the data of coal.dat by the chosen file's, but only when that file
// is a coal database the program can trust (CheckSchema) and passes SQLite's
// integrity check (else kind Invalid, and nothing changes), and no other
// program holds coal.dat. A backup made before the added tables or indexes is
// brought up to date in a copy first; the chosen file stays as it is. The
// replaced data is first kept in bakup as ReplacedFileName(now), at most one
// such copy a day: a second restore on one day keeps the first one's, which
// holds the data as it was before that day's restores.
Result<RestoreOutcome> RestoreData(const AppFolder& folder, const QString& chosen, const QDateTime& now,
                                   const BackupKeep& keep = {}, const DataProgressFn& progress = {});

struct CompactOutcome {
    BackupOutcome backup;  // the backup made first
    qint64 sizeBefore = 0;
    qint64 sizeAfter = 0;
};

// Makes today's backup, then rewrites coal.dat without the room deleted
// plans left (SQLite's VACUUM, into a copy beside it, which is then written
// back in place). Refused while another program holds the file.
Result<CompactOutcome> CompactDatabase(const AppFolder& folder, const QDate& today, const BackupKeep& keep = {},
                                       const DataProgressFn& progress = {});

// The name under which a restore keeps the file it replaces.
QString ReplacedFileName(const QDateTime& now);

// Which of the given file names in bakup the rule removes: backups
// (yyyy-MM-dd.bak) and kept copies (还原前的数据_<time>.bak) each by the rule
// of BackupKeep, of the kept copies first all but the earliest of each day.
// Other names, and copies dated after today, are never removed.
QStringList BackupsToPrune(const QStringList& names, const QDate& today, const BackupKeep& keep);
