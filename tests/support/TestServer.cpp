#include "TestServer.h"

#include "TestFolder.h"
#include "data/Server.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlQuery>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

struct Databases {
    QStringList made;   // by this program, dropped at its end
    QStringList free;   // made and given back, emptied when handed out again
};

Databases& Pool()
{
    static Databases pool;
    return pool;
}

void DropMade()
{
    if (Pool().made.isEmpty() || !TestServerGiven())
        return;
    Result<ServerConnection> admin = ServerConnection::Open(TestServerSettings(QStringLiteral("postgres")));
    if (!admin)
        return;
    for (const QString& name : Pool().made)
        (void)admin->exec(QStringLiteral("drop database if exists %1 with (force)").arg(name));
    Pool().made.clear();
}

}  // namespace

bool TestServerGiven()
{
    return !qEnvironmentVariableIsEmpty("VELMORA_TEST_PGHOST");
}

bool MaySkipWithoutServer()
{
    if (TestServerGiven())
        return false;
    if (!qEnvironmentVariableIsEmpty("VELMORA_TEST_REQUIRE_SERVER"))
        FailSetUp(QStringLiteral("VELMORA_TEST_PGHOST is not set, but the test server is required"));
    return true;
}

bool TestOnServer()
{
    return qEnvironmentVariable("VELMORA_TEST_BACKEND") == QLatin1String("postgresql");
}

DbSettings TestServerSettings(const QString& dbname)
{
    DbSettings settings;
    settings.driver = DbDriver::Postgresql;
    settings.host = qEnvironmentVariable("VELMORA_TEST_PGHOST");
    settings.user = qEnvironmentVariable("VELMORA_TEST_PGUSER", QStringLiteral("velmora"));
    settings.dbname = dbname;
    return settings;
}

void RunOnTestServer(const QString& dbname, const QString& sql)
{
    Result<ServerConnection> connection = ServerConnection::Open(TestServerSettings(dbname));
    if (!connection)
        FailSetUp(connection.message());
    if (Status done = connection->exec(sql); !done)
        FailSetUp(sql + QStringLiteral(": ") + done.message());
}

QString NewTestDatabase()
{
    if (!TestServerGiven())
        FailSetUp(QStringLiteral("VELMORA_TEST_PGHOST is not set: no test server"));
    if (!Pool().free.isEmpty()) {
        const QString name = Pool().free.takeFirst();
        RunOnTestServer(name, QStringLiteral("drop schema public cascade; create schema public"));
        return name;
    }
    static int next = 0;
    const QString name = QStringLiteral("velmora_t%1_%2").arg(QCoreApplication::applicationPid()).arg(++next);
    RunOnTestServer(QStringLiteral("postgres"), QStringLiteral("create database %1").arg(name));
    if (Pool().made.isEmpty())
        qAddPostRoutine(&DropMade);
    Pool().made << name;
    return name;
}

void ReleaseTestDatabase(const QString& dbname)
{
    if (!dbname.isEmpty() && Pool().made.contains(dbname) && !Pool().free.contains(dbname))
        Pool().free << dbname;
}

bool RestartTestServer()
{
    const QString script = qEnvironmentVariable("VELMORA_TEST_PGRESTART");
    if (script.isEmpty())
        return false;
    return QProcess::execute(script, {}) == 0;
}
