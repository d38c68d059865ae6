#include "data/Dbconnection.h"

#include "data/SqliteFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>

namespace {

const QString kConnectionName = QStringLiteral("velmora_shared");

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The cause of an SQLite failure in words, from its result code.
QString CauseOf(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? SqliteCause(code) : QString();
}

QString DetailOf(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return text.trimmed();
}

QString DamagedAdvice()
{
    return QStringLiteral("文件没有被改动。请从备份还原一个正确的 coal.dat，或将它移走后重新启动程序。");
}

}  // namespace

Failure DatabaseFailure(const QSqlError& error)
{
    const QString cause = CauseOf(error);
    const QString detail = DetailOf(error);
    QString message = QStringLiteral("数据库操作失败：");
    if (!cause.isEmpty()) {
        message += cause;
        if (!detail.isEmpty())
            message += QStringLiteral("\n（") + detail + QStringLiteral("）");
    } else {
        message += detail.isEmpty() ? QStringLiteral("原因不明") : detail;
    }
    return Fail(message);
}

bool ConnectionPresent()
{
    return QSqlDatabase::contains(kConnectionName);
}

QSqlDatabase DbConn()
{
    return QSqlDatabase::database(kConnectionName, false);
}

Status OpenConnection(const AppFolder& folder)
{
    const QString path = folder.DbPath();
    if (ConnectionPresent()) {
        QSqlDatabase db = DbConn();
        if (db.databaseName() == path && db.isOpen())
            return {};
        if (db.databaseName() != path) {
            CloseConnection();
        } else {
            if (!db.open())
                return DatabaseFailure(db.lastError());
            return {};
        }
    }
    if (!QFileInfo::exists(path))
        return Fail(QStringLiteral("数据库操作失败：找不到数据库文件 %1").arg(Shown(path)));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open()) {
        const Failure failure = DatabaseFailure(db.lastError());
        CloseConnection();
        return failure;
    }
    return {};
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

Result<ConnectionScope> ConnectionScope::Open(const AppFolder& folder)
{
    if (ConnectionPresent() && DbConn().isOpen() && DbConn().databaseName() == folder.DbPath())
        return ConnectionScope(false);
    const Status opened = OpenConnection(folder);
    if (!opened)
        return opened.failure();
    return ConnectionScope(true);
}

ConnectionScope::~ConnectionScope()
{
    if (opened_)
        CloseConnection();
}

Result<Transaction> Transaction::Begin()
{
    if (!ConnectionPresent())
        return Fail(QStringLiteral("数据库操作失败：数据库连接未打开"));
    if (!DbConn().transaction())
        return DatabaseFailure(DbConn().lastError());
    Transaction transaction;
    transaction.active_ = true;
    return transaction;
}

Transaction::~Transaction()
{
    if (active_ && ConnectionPresent())
        DbConn().rollback();
}

Status Transaction::Commit()
{
    if (!active_)
        return Fail(QStringLiteral("数据库操作失败：事务已经结束"));
    if (!DbConn().commit())
        return DatabaseFailure(DbConn().lastError());
    active_ = false;
    return {};
}

Result<WriteTransaction> WriteTransaction::Begin(const AppFolder& folder)
{
    Result<ConnectionScope> connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    Result<Transaction> transaction = Transaction::Begin();
    if (!transaction)
        return transaction.failure();
    return WriteTransaction(std::move(*connection), std::move(*transaction));
}

Result<QSqlQuery> RunQuery(const QString& sql, const QVariantList& values)
{
    if (!ConnectionPresent())
        return Fail(QStringLiteral("数据库操作失败：数据库连接未打开"));
    QSqlQuery query(DbConn());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return DatabaseFailure(query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return DatabaseFailure(query.lastError());
    return query;
}

Status Execute(const QString& sql, const QVariantList& values)
{
    return RunQuery(sql, values).status();
}

QVariant TextValue(const QString& text)
{
    if (text.isNull())
        return QVariant(QString(QLatin1StringView("")));
    return QVariant(text);
}

Status CheckDatabaseFile(const QString& path, bool integrity)
{
    if (!QFileInfo(path).isFile())
        return Fail(QStringLiteral("%1 不是文件").arg(Shown(path)));
    Result<OwnConnection> connection = OwnConnection::Open(path);
    if (!connection)
        return connection.failure();
    if (Status schema = CheckSchema(connection->db()); !schema)
        return schema;
    if (integrity)
        return CheckIntegrity(*connection);
    return {};
}

Status BringFileUpToDate(const QString& path)
{
    Result<OwnConnection> connection = OwnConnection::Open(path);
    if (!connection)
        return connection.failure();
    return BringUpToDate(connection->db());
}

Result<DatabaseState> EnsureDatabase(const AppFolder& folder)
{
    const QString path = folder.DbPath();
    if (QFileInfo::exists(path)) {
        const QString cannotRead = QStringLiteral("无法读取数据文件 %1：%2。\n")
                                   + QStringLiteral("文件没有被改动。请确认它没有被其他程序占用、可以写入后重新启动程序。");
        if (!QFileInfo(path).isFile())
            return Fail(QStringLiteral("数据文件 %1 不是文件，程序无法使用它。\n").arg(Shown(path)) + DamagedAdvice());
        Result<OwnConnection> connection = OwnConnection::Open(path);
        if (!connection)
            return Fail(cannotRead.arg(Shown(path), connection.message()));
        if (const Status tables = CheckTables(connection->db()); !tables) {
            if (tables.kind() != FailureKind::Invalid)
                return Fail(cannotRead.arg(Shown(path), tables.message()));
            return Fail(QStringLiteral("数据文件 %1 不是本软件的数据库，程序无法使用它（%2）。\n")
                            .arg(Shown(path), tables.message())
                        + DamagedAdvice());
        }
        if (const Status trusted = CheckTrusted(connection->db()); !trusted) {
            if (trusted.kind() != FailureKind::Invalid)
                return Fail(cannotRead.arg(Shown(path), trusted.message()));
            return Fail(QStringLiteral("数据文件 %1 里有本软件不建立、会在保存数据时执行或出错的内容：%2。"
                                       "程序不使用这样的文件。\n")
                            .arg(Shown(path), trusted.message())
                        + QStringLiteral("文件没有被改动。请从备份还原一个正确的 coal.dat，"
                                         "或用别的工具删除这些内容后重新启动程序。"));
        }
        if (Status updated = BringUpToDate(connection->db()); !updated)
            return Fail(QStringLiteral("数据文件 %1 需要加入新的数据表或索引，但无法写入（%2）。\n"
                                       "文件没有被改动。请确认它没有被其他程序占用、可以写入后重新启动程序。")
                            .arg(Shown(path), updated.message()));
        return DatabaseState::Ready;
    }
    Status created;
    {
        Result<OwnConnection> connection = OwnConnection::Open(path, true);
        if (!connection) {
            created = connection.failure();
        } else {
            QSqlDatabase& db = connection->db();
            if (!db.transaction()) {
                created = Fail(DetailOf(db.lastError()));
            } else {
                QSqlQuery query(db);
                for (const QString& statement : SchemaStatements()) {
                    if (!query.exec(statement)) {
                        created = Fail(DetailOf(query.lastError()));
                        break;
                    }
                }
                query.finish();
                if (created && !db.commit())
                    created = Fail(DetailOf(db.lastError()));
                if (!created)
                    db.rollback();
            }
        }
    }
    if (!created) {
        QFile::remove(path);
        return Fail(QStringLiteral("无法在 %1 创建数据文件 coal.dat：%2").arg(Shown(folder.dir), created.message()));
    }
    return DatabaseState::Created;
}
