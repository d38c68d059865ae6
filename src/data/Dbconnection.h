#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"
#include "data/Schema.h"

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

// What start-up finds: a ready database (brought up to date), or one it has
// just created. Anything else is a failure whose message says what is wrong
// with which file and that it was left untouched. An existing file is opened
// read-write, so that what a broken write left in its journal is rolled back
// before it is checked.
enum class DatabaseState { Ready, Created };
Result<DatabaseState> EnsureDatabase(const AppFolder& folder);

// Checks a file for being a coal database the program can trust (CheckSchema)
// and, with integrity, for SQLite's integrity check too. The file is opened
// read-write, so a broken write's journal is rolled back first; nothing else
// is written. Kind Invalid: the file is not such a database (the message says
// what is missing, not trusted or damaged); kind Error: it could not be read.
Status CheckDatabaseFile(const QString& path, bool integrity = false);

// Brings a file up to date (BringUpToDate) on a connection of its own.
Status BringFileUpToDate(const QString& path);
