#pragma once

#include "base/Result.h"
#include "data/DataJob.h"

#include <QSqlDatabase>
#include <QString>

struct sqlite3;

// Work on a database file beside the shared connection: checks, copies and
// compaction, on any thread.

// Why SQLite failed, from its result code, in words ("" when the code says
// nothing a user can act on).
Text SqliteCause(int code);

// The cause in words when known, else SQLite's own text, else both.
Text SqliteReason(int code, const QString& detail);

// A connection of its own on one file, opened read-write, so that SQLite
// rolls back what a broken write left in the file's journal before anything
// reads it (read-only, it could not). Used only on the thread that opened it;
// closed when it goes away.
class OwnConnection {
public:
    // create: a missing file becomes a new empty database (else it fails).
    static Result<OwnConnection> Open(const QString& path, bool create = false, int busyMilliseconds = 3000);
    OwnConnection(OwnConnection&& other) noexcept;
    OwnConnection& operator=(OwnConnection&&) = delete;
    ~OwnConnection();

    QSqlDatabase& db() { return db_; }
    sqlite3* handle() const;

    // Runs one statement; the failure carries SQLite's reason.
    Status exec(const QString& sql);
    // The first value of a statement's first row.
    Result<QVariant> value(const QString& sql);

private:
    OwnConnection(QString name, QSqlDatabase db) : name_(std::move(name)), db_(std::move(db)) {}
    QString name_;
    QSqlDatabase db_;
};

// Copies every page of source's database into dest's through SQLite's online
// backup: a consistent picture of source as one read transaction sees it,
// what is still in its write-ahead log included, written into dest in one
// transaction. progress hears the pages done; when it says stop, dest is left
// as it was (kind Cancelled).
Status CopyPages(OwnConnection& source, OwnConnection& dest, const Text& step, const DataProgressFn& progress);

// Makes sure no other connection, of this program or another, holds the
// file, before it is written in place: a file in write-ahead-log mode is
// switched back to the rollback journal, which SQLite allows only when no one
// else has it open; any file must let this connection take it exclusively for
// a moment. The failure says the file is in use.
Status CheckNotHeldElsewhere(OwnConnection& target, const QString& shownPath);

// Runs SQLite's integrity check; the failure (kind Invalid) says what is damaged.
Status CheckIntegrity(OwnConnection& connection, const DataProgressFn& progress = {});

// Calls progress now and then while a long statement runs on the connection
// (between its steps of work); when progress says stop, the statement is
// interrupted. Removed when it goes away.
class ProgressWatch {
public:
    ProgressWatch(OwnConnection& connection, std::function<bool()> tick);
    ~ProgressWatch();
    ProgressWatch(const ProgressWatch&) = delete;
    ProgressWatch& operator=(const ProgressWatch&) = delete;
    bool stopped() const { return stopped_; }

private:
    static int Call(void* self);
    sqlite3* handle_;
    std::function<bool()> tick_;
    bool stopped_ = false;
};
