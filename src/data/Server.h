#pragma once

#include "base/Result.h"
#include "data/DbSettings.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

// Connections to a PostgreSQL server through Qt's QPSQL driver: opening one
// with the program's session settings, and the server's errors in words.
//
// Names of tables and columns are never quoted in the program's statements.
// The server folds unquoted names to lower case, so it keeps meitan,
// lishi_fangan, jiage ...; every statement, and every query a user writes
// with any spelling (JiaGe, jiage, JIAGE), reaches the same column, just as
// names have always matched regardless of case in coal.dat.

// What keeps a connection from being made, for a window that asks again.
enum class ServerProblem {
    None,
    NoDriver,      // Qt's PostgreSQL driver is not installed
    Unreachable,   // no server answers at that host and port (or socket)
    Password,      // a password is needed, or the one given is wrong
    NoDatabase,    // the server has no database of that name
    NoUser,        // the server has no user of that name
    NotAllowed,    // the server refuses this computer or user
    Other,
};

struct ConnectFailure {
    ServerProblem problem = ServerProblem::Other;
    Failure failure;  // "无法连接数据库服务器：…" with the cause
};

// The driver's name of a server connection.
inline const QString kServerDriver = QStringLiteral("QPSQL");

// Opens db, a QPSQL connection the caller added, on the server of settings,
// and sets up its session (SetUpSession).
std::optional<ConnectFailure> ConnectToServer(QSqlDatabase& db, const DbSettings& settings);

// Runs on every new connection to a server, after the program's own session
// settings; a failure fails the connection. A LISTEN subscription, for one,
// keeps itself across reconnects this way. Returns an id for RemoveSessionHook.
using SessionHook = std::function<Status(QSqlDatabase&)>;
int AddSessionHook(SessionHook hook);
void RemoveSessionHook(int id);

// The session settings every connection gets again after each reconnect:
// the time zone of this computer (so that the time a plan is saved, which the
// server fills in, is the planner's local time, as it is in coal.dat), then
// the hooks.
Status SetUpSession(QSqlDatabase& db);

// The failure of a connection that could not be made, from the driver's error.
ConnectFailure DescribeConnectError(const QSqlError& error);

// Whether a failed statement's connection is gone (the server restarted, the
// network went away): the driver has closed it, or the server said so.
bool ConnectionLost(const QSqlDatabase& db, const QSqlError& error);

// The server's SQLSTATE of an error ("" when none).
QString ServerState(const QSqlError& error);

// A serialization failure or a deadlock: the transaction may be run again.
bool IsConflict(const QString& state);

// A statement's failure on a server, as the user reads it: "数据库操作失败："
// then the cause in words where the server's code tells one, then its text.
// lost: the connection is known to be gone, whatever the error says.
Failure ServerFailure(const QSqlError& error, bool lost = false);
// The same without "数据库操作失败：": what went wrong, in words.
Text ServerReason(const QSqlError& error, bool lost = false);

// A connection to a server of its own (a copy, a backup, a test), closed when
// it goes away; used only on the thread that opened it.
class ServerConnection {
public:
    static Result<ServerConnection> Open(const DbSettings& settings);
    ServerConnection(ServerConnection&& other) noexcept;
    ServerConnection& operator=(ServerConnection&&) = delete;
    ~ServerConnection();

    QSqlDatabase& db() { return db_; }
    // Runs one statement; the failure says why in words.
    Status exec(const QString& sql, const QVariantList& values = {});
    // The first value of a statement's first row (invalid when it has none).
    Result<QVariant> value(const QString& sql, const QVariantList& values = {});

private:
    ServerConnection(QString name, QSqlDatabase db) : name_(std::move(name)), db_(std::move(db)) {}
    QString name_;
    QSqlDatabase db_;
};
