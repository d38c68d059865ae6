#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"
#include "data/DataJob.h"
#include "data/DbSettings.h"
#include "data/Server.h"

#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <optional>

// A yard's data on a server: trying a connection, copying the local coal.dat
// to an empty server database, and moving the whole data between a server
// and a file in the local backup format. Each works on connections of its
// own, so each may run on a worker (DataJob).

// What trying a connection found.
struct ServerCheck {
    ServerProblem problem = ServerProblem::None;  // None: the connection was made
    QString message;                // why not, "无法连接数据库服务器：…"
    Text said;                      // the same as facts
    QString serverVersion;          // the server's own words, e.g. "PostgreSQL 15.8 …"
    bool hasTables = false;         // the program's tables are there
    std::optional<int> schemaVersion;  // the version they record
    bool newer = false;             // made by a newer program: it cannot be used
    int coals = 0;                  // rows of meitan
    int plans = 0;                  // rows of Lishi_fangan
    qint64 rows = 0;                // rows of all the program's tables

    bool connected() const { return problem == ServerProblem::None; }
    // Whether the database holds any row of the program's tables (a copy
    // to it would be refused).
    bool holdsData() const { return rows > 0; }
};

// Connects to the server of settings, reads what its database holds and
// disconnects; writes nothing.
ServerCheck TestConnection(const DbSettings& settings);

// The rows of each program table (ProgramTables order) in a copy's source
// and in its target once it was written.
struct CopyCounts {
    QVector<QString> tables;
    QVector<qint64> rows;

    qint64 total() const;
    qint64 rowsOf(const QString& table) const;  // 0 for a table not listed
};

// Copies every coal, plan, plan row, plan coal, plan target and plan setting
// of the file at localPath into the server database of settings, in one
// transaction that also makes the program's tables there if they are
// missing (under the migration lock). Each row keeps its id, so every plan
// keeps its rows; the server's own ids continue after the highest. The rows
// of each table are counted on the server before the transaction commits;
// any difference fails it. A database that already holds any row of the
// program's tables is refused (kind Invalid), and nothing is changed.
// config.ini's settings (the shovel mode, the hidden columns, how many backups
// are kept, and the connection itself) belong to each computer and are not copied.
Result<CopyCounts> CopyLocalToServer(const QString& localPath, const DbSettings& settings,
                                     const DataProgressFn& progress = {});

// Writes the server's data into a new file at path in the local backup format
// (coal.dat's schema), as one consistent picture of it. A file at path is
// replaced only once the new one is whole.
Result<CopyCounts> SnapshotServer(const DbSettings& settings, const QString& path, const Text& step,
                                  const DataProgressFn& progress = {});

// Replaces every row of the program's tables on the server by the rows of the
// coal database file at sourcePath (which must be of this program's schema
// version), in one transaction: the other planners' writes wait until it
// ends, and an interruption leaves the server's data as it was.
Result<CopyCounts> ReplaceServerData(const DbSettings& settings, const QString& sourcePath,
                                     const DataProgressFn& progress = {});
