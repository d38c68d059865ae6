#pragma once

#include "data/AppFolder.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <stdexcept>

// A database failure (missing or locked file, bad statement, rejected value),
// carried to the window that started the operation. what() is UTF-8.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message)
        : std::runtime_error(message.toStdString()), text(message) {}
    QString text;
};

// The shared connection to coal.dat. It is absent until first opened and again
// after every close; no connection stays open while the program waits for the
// user, so backup and restore can copy the file at any time between operations.
void OpenConnection(const AppFolder& folder);  // throws DbError
void CloseConnection();                        // nothing when already absent
bool ConnectionPresent();
QSqlDatabase DbConn();                         // the open shared connection

// Opens the shared connection when it is absent and closes it again at the end
// of the scope, but only if this scope opened it: an operation called inside a
// larger one (a blending run's transaction) leaves the connection to its caller.
class ConnectionScope {
public:
    explicit ConnectionScope(const AppFolder& folder);
    ~ConnectionScope();
    ConnectionScope(const ConnectionScope&) = delete;
    ConnectionScope& operator=(const ConnectionScope&) = delete;

private:
    bool opened_ = false;
};

// One transaction on the shared connection; rolled back unless committed.
class Transaction {
public:
    Transaction();
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    bool done_ = false;
};

// Runs a statement on the shared connection with its values bound as
// parameters; throws DbError on failure. The query is positioned before the
// first row.
QSqlQuery RunQuery(const QString& sql, const QVariantList& values = {});
void Execute(const QString& sql, const QVariantList& values = {});

// A select statement with the values it binds, for operations that take a
// statement from their caller (the list fillers).
struct Statement {
    QString sql;
    QVariantList values;
};
inline QSqlQuery RunQuery(const Statement& statement)
{
    return RunQuery(statement.sql, statement.values);
}

// A text value as SQL binds it: never Null, so empty text stays empty text.
QVariant TextValue(const QString& text);

// What start-up finds in the application folder.
enum class DatabaseState { Ready, Created, NotADatabase, MissingTables, CannotCreate };

// Creates coal.dat with its four tables when it is missing; otherwise checks,
// without writing to it, that it is a database holding the four tables.
DatabaseState EnsureDatabase(const AppFolder& folder, QString* detail = nullptr);

// Checks a file, read-only, for being a coal database (SQLite with the four tables).
DatabaseState CheckDatabaseFile(const QString& path, QString* detail = nullptr);

// The statements that create the four tables and their indexes.
QStringList SchemaStatements();
