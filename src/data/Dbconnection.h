#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"
#include "data/DbSettings.h"
#include "data/Schema.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class QSqlError;

// The data layer owns the connection and hides the two backends: the file
// coal.dat in the application folder, or a database on a PostgreSQL server
// (DbSettings). Everything above it writes its statements once, in the
// common part of both dialects (unquoted names, "?" placeholders, limit and
// offset), and asks this layer for what differs: a new row's id
// (InsertRow), a text search that ignores the case of Latin letters
// (ContainsMatch), a stored time (DateTimeValue).

// Which database a folder's data lives in: what UseDatabase set for it, else
// config.ini's [database] as it was when the folder was first used.
DbSettings DatabaseOf(const AppFolder& folder);

// From now on the folder's data lives in that database (the password, if
// any, is kept in memory only). The calling thread's shared connection to
// another database is closed; the next operation opens the new one.
void UseDatabase(const AppFolder& folder, const DbSettings& settings);

// The shared connection of the calling thread. On coal.dat it is absent until
// first opened and again after every close, so backup and restore can copy
// the file at any time between operations. On a server the main thread's
// connection stays open between operations (a new one costs the server a
// process); when the server restarts or the network drops it, the next
// statement reconnects once (never inside a transaction: that fails whole)
// and sets the session up again.
Status OpenConnection(const AppFolder& folder);
void CloseConnection();  // nothing when already absent
bool ConnectionPresent();
QSqlDatabase DbConn();   // the open shared connection
// The shared connection is open on a server.
bool OnServer();

// Opens the shared connection when it is absent and closes it again at the end
// of the scope, but only if this scope opened it: an operation called inside a
// larger one (a plan stored in one transaction) leaves the connection to its
// caller. A server connection the main thread keeps is left open.
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

// Runs work inside one WriteTransaction and commits it. On a server, a
// transaction that failed on a serialization failure or a deadlock (another
// planner's work crossed it) is rolled back and run once more from the start.
Status InTransaction(const AppFolder& folder, const std::function<Status()>& work);

// Whether a transaction is open on the calling thread's shared connection:
// an operation called inside a larger one joins it instead of starting its own.
bool InsideTransaction();

// Runs work in the open transaction when there is one (its caller commits),
// else in a transaction of its own (InTransaction).
Status InOrJoinTransaction(const AppFolder& folder, const std::function<Status()>& work);

// The channels a server announces committed changes on, one per kind of data
// the other planners' windows show.
inline const QString kCoalsChannel = QStringLiteral("velmora_meitan");
inline const QString kPlansChannel = QStringLiteral("velmora_lishi");

// Tells the other planners' programs that data of a channel changed: sent
// inside the writing transaction, the server delivers it only once that
// commits, and never when it rolls back. Nothing on coal.dat.
Status AnnounceChange(const QString& channel);

// Runs a statement on the shared connection with its values bound as
// parameters; the query is positioned before the first row.
Result<QSqlQuery> RunQuery(const QString& sql, const QVariantList& values = {});
// A statement without rows (on a server its prepared form is kept for the
// next call with the same text).
Status Execute(const QString& sql, const QVariantList& values = {});

// Inserts one row and returns the id the database gave it (on a server, ids
// come from the server, so planners storing at once never share one).
Result<int> InsertRow(const QString& table, const QStringList& columns, const QVariantList& values);

// A condition on column for a bound LIKE pattern with '\' as its escape,
// ignoring the letter case of Latin letters on both backends. Needs the
// shared connection open (it tells the backend).
QString ContainsMatch(const QString& column);

// A stored date and time: text in coal.dat, a timestamp on a server.
QDateTime DateTimeValue(const QVariant& value);

// A text value as SQL binds it: never Null, so empty text stays empty text.
QVariant TextValue(const QString& text);

// A database error of the shared connection as the user reads it: one
// prefix, the common causes (a read-only or locked file, a full disk, a
// damaged file; a lost server) in Chinese, then the database's own detail.
Failure DatabaseFailure(const QSqlError& error);

// What start-up finds: a ready database (brought up to date), or one it has
// just created. Anything else is a failure whose message says what is wrong
// with which database and that it was left untouched. An existing file is
// opened read-write, so that what a broken write left in its journal is
// rolled back before it is checked. A server's database is made or brought
// up to date under the migration lock (BringUpToDate); one newer than the
// program is refused.
enum class DatabaseState { Ready, Created };
Result<DatabaseState> EnsureDatabase(const AppFolder& folder);

// Moves the folder's data to another database at once (the connection
// window's OK): the new database is made or brought up to date first
// (EnsureDatabase); only then is it written to config.ini (never the
// password) and used from now on. On failure the folder stays on the database
// it had, and config.ini is as it was.
Result<DatabaseState> ChangeDatabase(const AppFolder& folder, const DbSettings& settings);

// Checks a file for being a coal database the program can trust (CheckSchema)
// and, with integrity, for SQLite's integrity check too. The file is opened
// read-write, so a broken write's journal is rolled back first; nothing else
// is written. Kind Invalid: the file is not such a database (the message says
// what is missing, not trusted, newer or damaged); kind Error: it could not be read.
Status CheckDatabaseFile(const QString& path, bool integrity = false);

// Brings a file up to date (BringUpToDate) on a connection of its own.
Status BringFileUpToDate(const QString& path);
