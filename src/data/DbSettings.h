#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"

#include <QString>

// Where a yard's data lives: the embedded file coal.dat in the application
// folder (the default), or a database on a PostgreSQL server that several
// planners share. config.ini keeps the choice in its section [database]:
//
//   [database]
//   driver=postgresql      ; sqlite (also when the section or key is missing)
//   host=yard-server       ; a host name, or the folder of a Unix socket
//   port=5432
//   dbname=coal
//   user=planner
//
// A password is never written there: the server's own password file
// (PGPASSFILE, else ~/.pgpass, or %APPDATA%\postgresql\pgpass.conf on
// Windows) holds it, or it is given at connect time and kept only in memory.

enum class DbDriver { Sqlite, Postgresql };

struct DbSettings {
    static constexpr int kDefaultPort = 5432;

    DbDriver driver = DbDriver::Sqlite;
    QString host;        // a host name, or the folder of a Unix socket ("" = the local default)
    int port = kDefaultPort;
    QString dbname;
    QString user;        // "" = the login name, as the server's own tools assume
    QString password;    // given at connect time; never written to config.ini

    bool onServer() const { return driver == DbDriver::Postgresql; }
    // The database as a user names it: "coal（yard-server:5432）".
    QString serverName() const;
    // Whether two settings reach the same database as the same user.
    bool sameDatabase(const DbSettings& other) const;
    bool operator==(const DbSettings&) const = default;
};

inline const QString kDatabaseSection = QStringLiteral("database");

// The [database] section of config.ini; missing or unknown keys give the
// defaults (the embedded file; port 5432).
DbSettings ReadDbSettings(const AppFolder& folder);

// Writes driver, host, port, dbname and user into [database], keeping every
// other line of config.ini; never the password. Once wholly written or not at all.
Status SaveDbSettings(const AppFolder& folder, const DbSettings& settings);

// The password file the server's client library reads: PGPASSFILE when it is
// set, else the user's own.
QString PasswordFilePath();

// Stores settings.password for its host, port, database and user in the
// password file (a line that matched them is replaced, every other line
// kept), readable by the user alone, so that later connections need no
// password typed.
Status RememberPassword(const DbSettings& settings);
