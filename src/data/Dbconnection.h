#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

class QSqlError;

// The shared connection to coal.dat. It is absent until first opened and again
// after every close; no connection stays open while the program waits for the
// user, so backup and restore can copy the file at any time between operations.
Status OpenConnection(const AppFolder& folder);
void CloseConnection();  // nothing when already absent
bool ConnectionPresent();
QSqlDatabase DbConn();   // the open shared connection

// Opens the shared connection when it is absent and closes it again at the end
// of the scope, but only if this scope opened it: an operation called inside a
// larger one (a plan stored in one transaction) leaves the connection to its
// caller.
class ConnectionScope {
public:
    static Result<ConnectionScope> Open(const AppFolder& folder);
    ConnectionScope(ConnectionScope&& other) noexcept : opened_(other.opened_) { other.opened_ = false; }
    ConnectionScope& operator=(ConnectionScope&&) = delete;
    ~ConnectionScope();

private:
    explicit ConnectionScope(bool opened) : opened_(opened) {}
    bool opened_ = false;
};

// One transaction on the shared connection; rolled back unless committed.
class Transaction {
public:
    static Result<Transaction> Begin();
    Transaction(Transaction&& other) noexcept : active_(other.active_) { other.active_ = false; }
    Transaction& operator=(Transaction&&) = delete;
    ~Transaction();
    Status Commit();

private:
    Transaction() = default;
    bool active_ = false;
};

// The shared connection opened (or joined) with one transaction on it: what
// every write of several statements needs. Rolled back and closed unless
// committed.
class WriteTransaction {
public:
    static Result<WriteTransaction> Begin(const AppFolder& folder);
    Status Commit() { return transaction_.Commit(); }

private:
    WriteTransaction(ConnectionScope connection, Transaction transaction)
        : connection_(std::move(connection)), transaction_(std::move(transaction))
    {
    }
    ConnectionScope connection_;  // declared first, so the transaction ends before it
    Transaction transaction_;
};

// Runs a statement on the shared connection with its values bound as
// parameters; the query is positioned before the first row.
Result<QSqlQuery> RunQuery(const QString& sql, const QVariantList& values = {});
Status Execute(const QString& sql, const QVariantList& values = {});

// A text value as SQL binds it: never Null, so empty text stays empty text.
QVariant TextValue(const QString& text);

// A database error as the user reads it: one prefix, the common causes (a
// read-only or locked file, a full disk, a damaged file) in Chinese, then
// the database's own detail.
Failure DatabaseFailure(const QSqlError& error);

// The four tables with the columns every coal database has.
struct TableColumns {
    QString table;
    QStringList columns;
};
const QVector<TableColumns>& RequiredTables();

// The tables that came after the first four: what a run's targets were
// (Lishi_zhibiao, one row per bounded index; Lishi_canshu, one row per plan
// with the tonnage, the proportion count, the shovel mode and the coals that
// had to take part; Lishi_jizhun, the basis of each index for a plan computed
// with basis weighting). A database made before them is still a coal
// database; it gets them when it is opened or restored.
const QVector<TableColumns>& AddedTables();

// The statements that create every table and its indexes.
QStringList SchemaStatements();

// Adds the tables of AddedTables() that the database file lacks, with their
// indexes, in one transaction on a connection of its own; the rows already
// there are not touched, and a file that has every table is not written to.
Status AddMissingTables(const QString& path);

// What start-up finds: a ready database (given the added tables it lacked),
// or one it has just created. Anything else is a failure whose message says
// what is wrong with which file and that it was left untouched.
enum class DatabaseState { Ready, Created };
Result<DatabaseState> EnsureDatabase(const AppFolder& folder);

// Checks a file, read-only, for being a coal database: SQLite with the four
// tables and their columns (and the columns of an added table it has; an
// older file without them passes); with integrity, SQLite's integrity check
// too. The failure's message says what is missing or wrong.
Status CheckDatabaseFile(const QString& path, bool integrity = false);
