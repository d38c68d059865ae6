#pragma once

#include "base/Result.h"
#include "data/DbSettings.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The schema of a coal database, in one place, for both backends (the file
// coal.dat and a server): the tables and indexes the program makes, its
// numbered versions, what a database must hold to be taken as a coal
// database, what a file must not hold to be trusted, and the steps that
// bring an older database up to date.

// What a column holds; each backend has its own type for it. On a server a
// price is exact to the cent (numeric), an auto id comes from an identity
// column, and a time is a timestamp without zone; in coal.dat they are REAL,
// INTEGER PRIMARY KEY AUTOINCREMENT and DATETIME text as they always were.
// Index values are text on both.
enum class ColumnKind {
    Id,       // the row's number, given by the database
    Integer,
    Text,
    Real,
    Price,
    Time,
    TimeNow,  // a time that defaults to the local time of the insertion
    Version,  // a row's version: a whole number, 0 for a row never saved since it came
};

struct ColumnDef {
    QString name;
    ColumnKind kind;
    // The schema version that added the column to a table made before it
    // (0: the column came with its table). A database older than that gets
    // it by a step of its own; a backup without it is still a coal database.
    int since = 0;
};

struct TableDef {
    QString name;
    int since = 1;  // the schema version that made it
    QVector<ColumnDef> columns;
};

// Every table of the program's data in the order they are made and copied:
// meitan, the plan header, its coals, its rows, then the tables added later.
// A table whose second column is followid points at a plan and gets an index
// on it.
const QVector<TableDef>& ProgramTables();

// The table of that name (any letter case); nullptr when it is not one.
const TableDef* FindProgramTable(const QString& name);

// A table with the columns every coal database has.
struct TableColumns {
    QString table;
    QStringList columns;
};

// The four tables every coal database has.
const QVector<TableColumns>& RequiredTables();

// The tables that came after the first four: what a run's targets were
// (Lishi_zhibiao, one row per bounded index; Lishi_canshu, one row per plan
// with the tonnage, the proportion count, the shovel mode and the coals that
// had to take part; Lishi_jizhun, the basis of each index for a plan computed
// with basis weighting), and the record of every change of a coal
// (meitan_xiugai). A database made before them is still a coal database; it
// gets them when it is opened or restored. Columns added to a table later
// (meitan.banbenhao) are not listed in either: a database without them
// still passes, and gets them the same way.
const QVector<TableColumns>& AddedTables();

// The schema's versions. Version n is the state after step n of the
// migrations below, the same on both backends:
//   1  the four tables
//   2  Lishi_zhibiao and Lishi_canshu
//   3  an index on followid for every plan table
//   4  Lishi_jizhun (the bases of a plan computed on them) and its index
//   5  meitan.banbenhao (a coal's version, raised by every save) and
//      meitan_xiugai (one row per field of a coal added, changed or deleted)
//      with its index on meiid
//   6  Zhibiao_muban (the workspace's saved target sets)
//   7  Jihua and Jihua_ri (plans over several days) and the index of Jihua_ri
// The numbers need not follow each other: a version is the number of a step
// that exists. A database records the versions it went through in the table
// banben (banben = the version, riqi = when it was reached), one row for
// each step's version. A file made before versions were recorded has no such
// table; what it holds tells which steps it lacks, and a file that lacks
// none is left exactly as it is. Every step is found missing by what the
// database holds (a table, a column, an index), not by the version it
// records, so a database that went through a later step still gets an
// earlier one it lacks.
inline constexpr int kSchemaVersion = 7;

// The versions of the steps, ascending; the last is kSchemaVersion.
const QVector<int>& SchemaVersions();

// The column of Zhibiao_muban that holds a bound of the index at that
// position of QualityIndices(): its meitan column with "_min" or "_max".
QString TargetSetBoundColumn(int index, bool upper);
inline const QString kVersionTable = QStringLiteral("banben");

// The driver of a connection.
DbDriver DriverOf(const QSqlDatabase& db);

// The statement that makes a table on a backend.
QString CreateTableStatement(const TableDef& table, DbDriver driver);

// The statements that make a new coal database: every table and its indexes,
// and the version table with every version recorded.
QStringList SchemaStatements(DbDriver driver = DbDriver::Sqlite);

// One step that brings an older database up to date: its version, what it
// adds, and its statements for the database's backend.
struct SchemaStep {
    int version = 0;
    QString adds;             // the table or index the step makes
    QStringList statements;
};

// The version a database records; nothing for one made before versions were
// recorded (or a server database the program never used). Only reads.
Result<std::optional<int>> StoredVersion(QSqlDatabase& db);

// The steps a database lacks, in their order; nothing when it is up to date.
// The database is only read.
Result<QVector<SchemaStep>> MissingSteps(QSqlDatabase& db);

// Runs the steps a database lacks in one transaction and records the version
// it reached; a database that lacks nothing is not written to. On a server
// the transaction holds an advisory lock, so that two planners starting at
// once migrate once: the second waits, then finds nothing to do. A database
// of a newer schema than this program's is refused (kind Invalid) with
// nothing written. The failure's message says why. made: whether it made
// the program's tables in a database that had none.
Status BringUpToDate(QSqlDatabase& db, bool* made = nullptr);

// What BringUpToDate does, inside a transaction the caller opened and ends
// (on a server: a copy that makes the tables it fills in its own transaction).
Status MigrateInTransaction(QSqlDatabase& db, bool* made = nullptr);

// Refuses (kind Invalid) a database whose recorded version is newer than this
// program's: its message says so in words a user can act on.
Status CheckVersion(QSqlDatabase& db);

// Checks that a database is a coal database: the four tables with their
// columns (and the columns of an added table that is there). The failure
// (kind Invalid) names what is missing. Not all: only the columns of the
// program's tables that are there (a database still to be made).
Status CheckTables(QSqlDatabase& db, bool all = true);

// Checks that a file holds nothing the program does not make that would
// run or fail inside its own work: no trigger, no view, no virtual (foreign)
// table, no index on one of its tables that is unique, partial or on an
// expression, and nothing else under the name of one of its tables or
// indexes. Tables of other programs, and plain indexes, are left alone. The
// failure (kind Invalid) names what is not trusted. (A server's database is
// looked after by its administrator, who may add triggers of his own; it is
// not checked this way.)
Status CheckTrusted(QSqlDatabase& db);

// The tables, the trust of a file, and the version.
Status CheckSchema(QSqlDatabase& db);
