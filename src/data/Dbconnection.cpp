#include "data/Dbconnection.h"

#include "data/QualityIndex.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QUuid>

namespace {

const QString kConnectionName = QStringLiteral("velmora_shared");

const QStringList& TableNames()
{
    static const QStringList names = {QStringLiteral("meitan"), QStringLiteral("Lishi_fangan"),
                                      QStringLiteral("Lishi_meitan"),
                                      QStringLiteral("Lishi_Peibibiao")};
    return names;
}

QString IndexColumns()
{
    QString columns;
    for (const auto& index : QualityIndices())
        columns += QStringLiteral(", %1 TEXT").arg(QLatin1String(index.column));
    return columns;
}

QString ErrorText(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return text;
}

}  // namespace

QStringList SchemaStatements()
{
    const QString indexes = IndexColumns();
    QString proportions;
    for (int i = 1; i <= 10; ++i)
        proportions += QStringLiteral(", d%1 REAL").arg(i);
    return {
        QStringLiteral("CREATE TABLE meitan (id INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT")
            + indexes
            + QStringLiteral(", Meichan TEXT, kucun TEXT, JiaGe REAL, riqi DATETIME)"),
        QStringLiteral("CREATE TABLE Lishi_fangan (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "fanganhao TEXT, xinxi TEXT, "
                       "riqi DATETIME DEFAULT (datetime('now', 'localtime')))"),
        QStringLiteral("CREATE TABLE Lishi_meitan (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "followid INTEGER, Name TEXT")
            + indexes + QStringLiteral(", kucun TEXT, meichan TEXT, JiaGe REAL)"),
        QStringLiteral("CREATE TABLE Lishi_Peibibiao (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "followid INTEGER")
            + proportions + QStringLiteral(", Name TEXT") + indexes
            + QStringLiteral(", kucun TEXT, meichan TEXT, JiaGe REAL)"),
        QStringLiteral("CREATE INDEX idx_lishi_meitan_followid ON Lishi_meitan (followid)"),
        QStringLiteral("CREATE INDEX idx_lishi_peibibiao_followid ON Lishi_Peibibiao (followid)"),
    };
}

bool ConnectionPresent()
{
    return QSqlDatabase::contains(kConnectionName);
}

QSqlDatabase DbConn()
{
    return QSqlDatabase::database(kConnectionName, false);
}

void OpenConnection(const AppFolder& folder)
{
    const QString path = folder.DbPath();
    if (ConnectionPresent()) {
        QSqlDatabase db = DbConn();
        if (db.databaseName() == path && db.isOpen())
            return;
        if (db.databaseName() != path) {
            CloseConnection();
        } else {
            if (!db.open())
                throw DbError(QStringLiteral("无法打开数据库文件 %1：%2").arg(path, ErrorText(db.lastError())));
            return;
        }
    }
    if (!QFileInfo::exists(path))
        throw DbError(QStringLiteral("找不到数据库文件 %1").arg(path));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open()) {
        const QString reason = ErrorText(db.lastError());
        CloseConnection();
        throw DbError(QStringLiteral("无法打开数据库文件 %1：%2").arg(path, reason));
    }
}

void CloseConnection()
{
    if (!ConnectionPresent())
        return;
    {
        QSqlDatabase db = DbConn();
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(kConnectionName);
}

ConnectionScope::ConnectionScope(const AppFolder& folder)
{
    if (!ConnectionPresent() || !DbConn().isOpen()) {
        OpenConnection(folder);
        opened_ = true;
    }
}

ConnectionScope::~ConnectionScope()
{
    if (opened_)
        CloseConnection();
}

Transaction::Transaction()
{
    if (!DbConn().transaction())
        throw DbError(QStringLiteral("无法开始数据库事务：%1").arg(ErrorText(DbConn().lastError())));
}

Transaction::~Transaction()
{
    if (!done_ && ConnectionPresent())
        DbConn().rollback();
}

void Transaction::commit()
{
    if (!DbConn().commit())
        throw DbError(QStringLiteral("无法提交数据库事务：%1").arg(ErrorText(DbConn().lastError())));
    done_ = true;
}

QSqlQuery RunQuery(const QString& sql, const QVariantList& values)
{
    if (!ConnectionPresent())
        throw DbError(QStringLiteral("数据库连接未打开"));
    QSqlQuery query(DbConn());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DbError(QStringLiteral("数据库语句出错：%1").arg(ErrorText(query.lastError())));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw DbError(QStringLiteral("数据库操作失败：%1").arg(ErrorText(query.lastError())));
    return query;
}

void Execute(const QString& sql, const QVariantList& values)
{
    RunQuery(sql, values);
}

QVariant TextValue(const QString& text)
{
    if (text.isNull())
        return QVariant(QString(QLatin1StringView("")));
    return QVariant(text);
}

DatabaseState CheckDatabaseFile(const QString& path, QString* detail)
{
    const QString name = QStringLiteral("velmora_check_") + QUuid::createUuid().toString(QUuid::Id128);
    DatabaseState state = DatabaseState::Ready;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!QFileInfo(path).isFile() || !db.open()) {
            state = DatabaseState::NotADatabase;
            if (detail)
                *detail = ErrorText(db.lastError());
        } else {
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("select name from sqlite_master where type='table'"))) {
                state = DatabaseState::NotADatabase;
                if (detail)
                    *detail = ErrorText(query.lastError());
            } else {
                QStringList present;
                while (query.next())
                    present << query.value(0).toString().toLower();
                QStringList missing;
                for (const QString& table : TableNames())
                    if (!present.contains(table.toLower()))
                        missing << table;
                if (!missing.isEmpty()) {
                    state = DatabaseState::MissingTables;
                    if (detail)
                        *detail = missing.join(QStringLiteral("、"));
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return state;
}

DatabaseState EnsureDatabase(const AppFolder& folder, QString* detail)
{
    const QString path = folder.DbPath();
    if (QFileInfo::exists(path))
        return CheckDatabaseFile(path, detail);

    const QString name = QStringLiteral("velmora_create_") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        if (ok) {
            ok = db.transaction();
            QSqlQuery query(db);
            for (const QString& statement : SchemaStatements()) {
                if (!ok)
                    break;
                ok = query.exec(statement);
                if (!ok && detail)
                    *detail = ErrorText(query.lastError());
            }
            ok = ok && db.commit();
        } else if (detail) {
            *detail = ErrorText(db.lastError());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok) {
        QFile::remove(path);
        return DatabaseState::CannotCreate;
    }
    return DatabaseState::Created;
}
