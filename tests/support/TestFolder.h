#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"

#include <QTemporaryDir>

// A temporary application folder with a fresh coal.dat and the templates and
// help page copied in, as the program finds them beside its executable. The
// shared connection is closed when it goes away. In a run on the test server
// (VELMORA_TEST_BACKEND=postgresql) its config.ini names an empty database
// of that server instead, and the database is made there; without a server
// such a run ends at once as skipped (exit code 77), unless the server is
// required (MaySkipWithoutServer).
class TestFolder {
public:
    explicit TestFolder(bool withDatabase = true);
    ~TestFolder();

    const AppFolder& folder() const { return folder_; }
    QString path(const QString& name) const { return folder_.File(name); }

    // The database of a run on the test server (TestOnServer); "" otherwise.
    const QString& serverDatabase() const { return database_; }

    // Breaks the database under the running program: coal.dat overwritten
    // with junk, or on a server every table gone. Returns how the message of
    // the next operation's failure begins.
    QString breakDatabase() const;

    // Makes the database refuse every insert into table (when the condition,
    // written in the common part of both dialects, holds for the new row, as
    // "new.Name = '煤3'") with message: a write that fails half-way.
    void refuseInserts(const QString& table, const QString& message, const QString& when = QString()) const;

private:
    QTemporaryDir dir_;
    AppFolder folder_;
    QString database_;
};

// No connection to coal.dat stays open between operations (the main thread's
// connection to a server stays open on purpose).
bool NothingHeldOpen();

// A coal with the given name and price, and every other value empty.
struct Mei;
Mei MakeCoal(const QString& name, double price);

// Whole-file helpers for tests that compare bytes.
QByteArray ReadBytes(const QString& path);
bool WriteBytes(const QString& path, const QByteArray& bytes);

// Every row of every table of a database file, as text (tables by name, rows
// by rowid): two files with the same data give the same text, whatever their
// bytes.
QString DatabaseText(const QString& path);

// Number of rows in a table of the folder's coal.dat.
int CountRows(const AppFolder& folder, const QString& table);

// Rows in all the plan history tables together.
int HistoryRows(const AppFolder& folder);

// The value of a result a test's set-up relies on; a failure ends the test
// program at once with its message, since every later step would only fail
// less clearly.
[[noreturn]] void FailSetUp(const QString& message);
template <class T>
T Expect(Result<T> result)
{
    if (!result)
        FailSetUp(result.message());
    return std::move(result).value();
}
inline void Expect(const Status& status)
{
    if (!status)
        FailSetUp(status.message());
}
