#include "TestFolder.h"

#include "TestServer.h"

#include "data/Dbconnection.h"
#include "base/Mei.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdio>
#include <cstdlib>

namespace {

// What CTest takes for a skipped test (SKIP_RETURN_CODE).
constexpr int kSkippedExitCode = 77;

void CopyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
    }
}

}  // namespace

TestFolder::TestFolder(bool withDatabase)
{
    folder_.dir = dir_.path();
    CopyTree(QStringLiteral(VELMORA_SOURCE_DIR "/template"), folder_.File(QStringLiteral("template")));
    CopyTree(QStringLiteral(VELMORA_SOURCE_DIR "/help"), folder_.File(QStringLiteral("help")));
    QDir(folder_.dir).mkdir(QStringLiteral("bakup"));
    if (TestOnServer()) {
        if (MaySkipWithoutServer()) {
            std::fprintf(stderr, "SKIP: this run keeps its data on a server; VELMORA_TEST_PGHOST is not set\n");
            std::exit(kSkippedExitCode);
        }
        database_ = NewTestDatabase();
        Expect(SaveDbSettings(folder_, TestServerSettings(database_)));
    }
    if (withDatabase)
        Expect(EnsureDatabase(folder_));
}

TestFolder::~TestFolder()
{
    CloseConnection();
    ReleaseTestDatabase(database_);
}

QString TestFolder::breakDatabase() const
{
    if (!database_.isEmpty()) {
        RunOnTestServer(database_, QStringLiteral("drop schema public cascade; create schema public"));
        return QStringLiteral("数据库操作失败：服务器上的数据库缺少本软件的数据表");
    }
    if (!WriteBytes(folder_.DbPath(), QByteArray(8192, 'x')))
        FailSetUp(QStringLiteral("cannot overwrite ") + folder_.DbPath());
    return QStringLiteral("数据库操作失败：数据库文件已损坏");
}

void TestFolder::refuseInserts(const QString& table, const QString& message, const QString& when) const
{
    if (!database_.isEmpty()) {
        RunOnTestServer(database_, QStringLiteral("create function refuse_%1() returns trigger language plpgsql as "
                                                  "$$ begin if %2 then raise exception '%3'; end if; return new; end $$")
                                       .arg(table, when.isEmpty() ? QStringLiteral("true") : when, message));
        RunOnTestServer(database_, QStringLiteral("create trigger refuse before insert on %1 for each row "
                                                  "execute function refuse_%1()")
                                       .arg(table));
        return;
    }
    auto connection = Expect(ConnectionScope::Open(folder_));
    Expect(Execute(QStringLiteral("create trigger refuse before insert on %1 %2 begin select raise(abort, '%3'); end")
                       .arg(table, when.isEmpty() ? QString() : QStringLiteral("when ") + when, message)));
}

bool NothingHeldOpen()
{
    return !ConnectionPresent() || OnServer();
}

Mei MakeCoal(const QString& name, double price)
{
    Mei coal;
    coal.MingCheng = name;
    coal.JiaGe = price;
    return coal;
}

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QString DatabaseText(const QString& path)
{
    QString text;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("database_text"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            FailSetUp(QStringLiteral("cannot open ") + path);
        QSqlQuery tables(db);
        tables.exec(QStringLiteral("select name, sql from sqlite_master where type='table' and name<>'sqlite_sequence' "
                                   "order by name"));
        while (tables.next()) {
            text += tables.value(1).toString() + QLatin1Char('\n');
            QSqlQuery rows(db);
            rows.exec(QStringLiteral("select * from \"%1\" order by rowid").arg(tables.value(0).toString()));
            while (rows.next()) {
                const QSqlRecord record = rows.record();
                for (int c = 0; c < record.count(); ++c)
                    text += record.value(c).toString() + QLatin1Char('|');
                text += QLatin1Char('\n');
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("database_text"));
    return text;
}

int CountRows(const AppFolder& folder, const QString& table)
{
    auto connection = Expect(ConnectionScope::Open(folder));
    QSqlQuery query = Expect(RunQuery(QStringLiteral("select count(*) from ") + table));
    query.next();
    return query.value(0).toInt();
}

int HistoryRows(const AppFolder& folder)
{
    return CountRows(folder, QStringLiteral("Lishi_fangan")) + CountRows(folder, QStringLiteral("Lishi_Peibibiao"))
           + CountRows(folder, QStringLiteral("Lishi_meitan")) + CountRows(folder, QStringLiteral("Lishi_zhibiao"))
           + CountRows(folder, QStringLiteral("Lishi_canshu")) + CountRows(folder, QStringLiteral("Lishi_jizhun"));
}

void FailSetUp(const QString& message)
{
    qFatal("%s", qPrintable(message));
}
