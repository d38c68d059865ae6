#pragma once

#include "data/DbSettings.h"

#include <QString>

// The PostgreSQL server scripts/pg-server.sh starts for the tests (and
// scripts/test.sh always does): its socket folder in VELMORA_TEST_PGHOST, a
// superuser in VELMORA_TEST_PGUSER, a restart script in VELMORA_TEST_PGRESTART.

// The server was given.
bool TestServerGiven();

// A test that needs the server and finds none: true when it may skip (run by
// hand); with VELMORA_TEST_REQUIRE_SERVER set (scripts/test.sh) a missing
// server ends the test program with a failure instead.
bool MaySkipWithoutServer();

// This run keeps the data of every TestFolder on the server
// (VELMORA_TEST_BACKEND=postgresql): the test programs that run twice.
bool TestOnServer();

// Settings that reach a database of the test server.
DbSettings TestServerSettings(const QString& dbname);

// A database of the test server that no one else uses, empty; dropped when
// the test program ends.
QString NewTestDatabase();

// Gives a database from NewTestDatabase back, to be emptied and handed out again.
void ReleaseTestDatabase(const QString& dbname);

// Runs one statement on a database of the test server as its superuser;
// a failure ends the test program.
void RunOnTestServer(const QString& dbname, const QString& sql);

// Restarts the server (every connection to it breaks); false when it cannot.
bool RestartTestServer();
