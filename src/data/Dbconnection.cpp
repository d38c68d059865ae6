#include "data/Dbconnection.h"

#include "data/Server.h"
#include "data/SqliteFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSqlError>
#include <QSqlRecord>
#include <QThread>

#include <algorithm>

namespace {

// Prepared statements a server connection keeps, at most.
constexpr int kMostKeptStatements = 64;

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The cause of an SQLite failure in words, from its result code.
Text CauseOf(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? SqliteCause(code) : Text();
}

QString DetailOf(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return text.trimmed();
}

Text DamagedAdvice()
{
    return CoreText::tr("文件没有被改动。请从备份还原一个正确的 coal.dat，或将它移走后重新启动程序。");
}

const char* const kServerUntouched = QT_TRANSLATE_NOOP("CoreText", "服务器上的数据库没有被改动。");
const char* const kCannotReadDataFile =
    QT_TRANSLATE_NOOP("CoreText", "无法读取数据文件 %1：%2。\n"
                                  "文件没有被改动。请确认它没有被其他程序占用、可以写入后重新启动程序。");

// The database each folder's data lives in, as UseDatabase set it or
// config.ini said when the folder was first used.
QMutex& DatabasesMutex()
{
    static QMutex mutex;
    return mutex;
}

QHash<QString, DbSettings>& Databases()
{
    static QHash<QString, DbSettings> databases;
    return databases;
}

// What a thread knows of its shared connection.
struct Shared {
    QString target;          // the database it is open on; "" when there is none
    bool server = false;
    bool keep = false;       // stays open between operations
    int transactions = 0;
    QString lastState;       // the server's code of the last failure
    QHash<QString, QSqlQuery> statements;  // kept prepared statements (server)
};

thread_local Shared t_shared;

bool OnMainThread()
{
    return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Each thread has a shared connection of its own: a connection may be used
// only on the thread that made it.
QString ConnectionName()
{
    if (OnMainThread())
        return QStringLiteral("velmora_shared");
    return QStringLiteral("velmora_shared_%1").arg(reinterpret_cast<quintptr>(QThread::currentThreadId()), 0, 16);
}

QString TargetOf(const AppFolder& folder, const DbSettings& settings)
{
    if (!settings.onServer())
        return QStringLiteral("file:") + folder.DbPath();
    return QStringLiteral("server:%1|%2|%3|%4").arg(settings.host).arg(settings.port).arg(settings.dbname, settings.user);
}

// Opens the server connection again after it was lost, with its session.
Status Reconnect()
{
    t_shared.statements.clear();
    QSqlDatabase db = DbConn();
    db.close();
    if (!db.open())
        return DescribeConnectError(db.lastError()).failure;
    if (Status session = SetUpSession(db); !session) {
        db.close();
        return Fail(CoreText::tr("无法连接数据库服务器：%1", session.said()));
    }
    return {};
}

// Whether a failed statement may reconnect and run again: its server
// connection is gone and no transaction was open on it.
bool MayReconnect(const QSqlError& error)
{
    return t_shared.server && t_shared.transactions == 0 && ConnectionLost(DbConn(), error);
}

Failure Failed(const QSqlError& error)
{
    t_shared.lastState = ServerState(error);
    if (t_shared.server && ConnectionPresent() && !DbConn().isOpen())
        return ServerFailure(error, true);
    return DatabaseFailure(error);
}

bool Bind(QSqlQuery& query, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    return query.exec();
}

// A statement with values is prepared and bound; one without is run as it
// stands (on a server one round trip instead of three, and any statement,
// not only those a server can prepare).
bool Run(QSqlQuery& query, const QString& sql, const QVariantList& values)
{
    if (values.isEmpty())
        return query.exec(sql);
    return query.prepare(sql) && Bind(query, values);
}

}  // namespace

DbSettings DatabaseOf(const AppFolder& folder)
{
    {
        QMutexLocker lock(&DatabasesMutex());
        const auto it = Databases().constFind(folder.dir);
        if (it != Databases().constEnd())
            return *it;
    }
    const DbSettings read = ReadDbSettings(folder);
    QMutexLocker lock(&DatabasesMutex());
    return *Databases().insert(folder.dir, read);
}

void UseDatabase(const AppFolder& folder, const DbSettings& settings)
{
    {
        QMutexLocker lock(&DatabasesMutex());
        Databases().insert(folder.dir, settings);
    }
    if (ConnectionPresent() && t_shared.target != TargetOf(folder, settings))
        CloseConnection();
}

Failure DatabaseFailure(const QSqlError& error)
{
    if (t_shared.server)
        return ServerFailure(error);
    const Text cause = CauseOf(error);
    const QString detail = DetailOf(error);
    Text why;
    if (!cause.isEmpty())
        why = detail.isEmpty() ? cause : CoreText::tr("%1\n（%2）", cause, detail);
    else
        why = detail.isEmpty() ? CoreText::tr("原因不明") : Text(detail);
    return Fail(CoreText::tr("数据库操作失败：%1", why));
}

bool ConnectionPresent()
{
    return QSqlDatabase::contains(ConnectionName());
}

QSqlDatabase DbConn()
{
    return QSqlDatabase::database(ConnectionName(), false);
}

bool OnServer()
{
    return ConnectionPresent() && t_shared.server;
}

Status OpenConnection(const AppFolder& folder)
{
    const DbSettings settings = DatabaseOf(folder);
    const QString target = TargetOf(folder, settings);
    if (ConnectionPresent() && t_shared.target != target)
        CloseConnection();
    if (ConnectionPresent()) {
        QSqlDatabase db = DbConn();
        if (db.isOpen())
            return {};
        if (t_shared.server) {
            t_shared.statements.clear();
            if (const std::optional<ConnectFailure> failed = ConnectToServer(db, settings))
                return failed->failure;
            return {};
        } else {
            if (!db.open())
                return DatabaseFailure(db.lastError());
            return {};
        }
    }
    const QString name = ConnectionName();
    if (settings.onServer()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(kServerDriver, name);
        if (const std::optional<ConnectFailure> failed = ConnectToServer(db, settings)) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return failed->failure;
        }
    } else {
        const QString path = folder.DbPath();
        if (!QFileInfo::exists(path))
            return Fail(CoreText::tr("数据库操作失败：找不到数据库文件 %1", Shown(path)));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
        if (!db.open()) {
            const Failure failure = DatabaseFailure(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return failure;
        }
    }
    t_shared = Shared{};
    t_shared.target = target;
    t_shared.server = settings.onServer();
    t_shared.keep = t_shared.server && OnMainThread();
    if (t_shared.keep) {
        // The kept connection closes with the application, before Qt's
        // database registry goes away.
        static bool closing = false;
        if (!closing) {
            closing = true;
            qAddPostRoutine(&CloseConnection);
        }
    }
    return {};
}

void CloseConnection()
{
    t_shared.statements.clear();
    if (ConnectionPresent()) {
        {
            QSqlDatabase db = DbConn();
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(ConnectionName());
    }
    t_shared = Shared{};
}

Result<ConnectionScope> ConnectionScope::Open(const AppFolder& folder)
{
    const QString target = TargetOf(folder, DatabaseOf(folder));
    if (ConnectionPresent() && t_shared.target == target && DbConn().isOpen())
        return ConnectionScope(false);
    const Status opened = OpenConnection(folder);
    if (!opened)
        return opened.failure();
    return ConnectionScope(!t_shared.keep);
}

ConnectionScope::~ConnectionScope()
{
    if (opened_)
        CloseConnection();
}

Result<Transaction> Transaction::Begin()
{
    if (!ConnectionPresent())
        return Fail(CoreText::tr("数据库操作失败：数据库连接未打开"));
    if (!DbConn().transaction()) {
        const QSqlError error = DbConn().lastError();
        if (!MayReconnect(error))
            return Failed(error);
        if (Status again = Reconnect(); !again)
            return again.failure();
        if (!DbConn().transaction())
            return Failed(DbConn().lastError());
    }
    ++t_shared.transactions;
    Transaction transaction;
    transaction.active_ = true;
    return transaction;
}

Transaction::~Transaction()
{
    if (!active_)
        return;
    if (ConnectionPresent()) {
        // A lost server connection took its transaction with it.
        if (DbConn().isOpen())
            DbConn().rollback();
        t_shared.transactions = std::max(0, t_shared.transactions - 1);
    }
}

Status Transaction::Commit()
{
    if (!active_)
        return Fail(CoreText::tr("数据库操作失败：事务已经结束"));
    if (!DbConn().commit())
        return Failed(DbConn().lastError());
    active_ = false;
    t_shared.transactions = std::max(0, t_shared.transactions - 1);
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

Status InTransaction(const AppFolder& folder, const std::function<Status()>& work)
{
    for (int attempt = 0;; ++attempt) {
        Result<WriteTransaction> transaction = WriteTransaction::Begin(folder);
        if (!transaction)
            return transaction.failure();
        t_shared.lastState.clear();
        Status done = work();
        if (done)
            done = transaction->Commit();
        if (done || attempt > 0 || !t_shared.server || !IsConflict(t_shared.lastState))
            return done;
    }
}

bool InsideTransaction()
{
    return ConnectionPresent() && t_shared.transactions > 0;
}

Status InOrJoinTransaction(const AppFolder& folder, const std::function<Status()>& work)
{
    if (InsideTransaction())
        return work();
    return InTransaction(folder, work);
}

Status AnnounceChange(const QString& channel)
{
    if (!OnServer())
        return {};
    return Execute(QStringLiteral("select pg_notify(?, '')"), {channel});
}

Result<QSqlQuery> RunQuery(const QString& sql, const QVariantList& values)
{
    if (!ConnectionPresent())
        return Fail(CoreText::tr("数据库操作失败：数据库连接未打开"));
    for (int attempt = 0;; ++attempt) {
        QSqlQuery query(DbConn());
        query.setForwardOnly(true);
        if (Run(query, sql, values))
            return query;
        const QSqlError error = query.lastError();
        if (attempt > 0 || !MayReconnect(error))
            return Failed(error);
        query = QSqlQuery();
        if (Status again = Reconnect(); !again)
            return again.failure();
    }
}

Status Execute(const QString& sql, const QVariantList& values)
{
    if (!ConnectionPresent() || !t_shared.server || values.isEmpty())
        return RunQuery(sql, values).status();
    // A server prepares a statement in a round trip of its own: the ones a
    // plan's rows repeat are prepared once.
    for (int attempt = 0;; ++attempt) {
        auto kept = t_shared.statements.find(sql);
        if (kept == t_shared.statements.end()) {
            if (t_shared.statements.size() >= kMostKeptStatements)
                t_shared.statements.clear();
            QSqlQuery query(DbConn());
            query.setForwardOnly(true);
            if (query.prepare(sql))
                kept = t_shared.statements.insert(sql, query);
            else
                kept = t_shared.statements.end();
            if (kept == t_shared.statements.end()) {
                const QSqlError error = query.lastError();
                if (attempt > 0 || !MayReconnect(error))
                    return Failed(error);
                if (Status again = Reconnect(); !again)
                    return again;
                continue;
            }
        }
        if (Bind(*kept, values)) {
            kept->finish();
            return {};
        }
        // The statement stays prepared on the server; a reconnect forgets it.
        const QSqlError error = kept->lastError();
        if (attempt > 0 || !MayReconnect(error))
            return Failed(error);
        if (Status again = Reconnect(); !again)
            return again;
    }
}

Result<int> InsertRow(const QString& table, const QStringList& columns, const QVariantList& values)
{
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    const QString sql = QStringLiteral("insert into %1 (%2) values (%3)")
                            .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    if (!OnServer()) {
        auto query = RunQuery(sql, values);
        if (!query)
            return query.failure();
        return query->lastInsertId().toInt();
    }
    auto query = RunQuery(sql + QStringLiteral(" returning id"), values);
    if (!query)
        return query.failure();
    if (!query->next())
        return Fail(CoreText::tr("数据库操作失败：服务器没有给出新记录的编号"));
    return query->value(0).toInt();
}

QString ContainsMatch(const QString& column)
{
    return column + (OnServer() ? QStringLiteral(" ilike ? escape '\\'") : QStringLiteral(" like ? escape '\\'"));
}

QDateTime DateTimeValue(const QVariant& value)
{
    if (value.isNull())
        return QDateTime();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    const QString text = value.toString();
    QDateTime time = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!time.isValid())
        time = QDateTime::fromString(text, Qt::ISODate);
    return time;
}

QVariant TextValue(const QString& text)
{
    if (text.isNull())
        return QVariant(QString(QLatin1StringView("")));
    return QVariant(text);
}

Result<DatabaseState> ChangeDatabase(const AppFolder& folder, const DbSettings& settings)
{
    const DbSettings before = DatabaseOf(folder);
    UseDatabase(folder, settings);
    Result<DatabaseState> ready = EnsureDatabase(folder);
    if (ready) {
        if (Status saved = SaveDbSettings(folder, settings); !saved)
            ready = saved.failure();
    }
    if (!ready)
        UseDatabase(folder, before);
    return ready;
}

Status CheckDatabaseFile(const QString& path, bool integrity)
{
    if (!QFileInfo(path).isFile())
        return Fail(CoreText::tr("%1 不是文件", Shown(path)));
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

namespace {

// A server's database made or brought up to date through the shared
// connection, which stays open for the work that follows.
Result<DatabaseState> EnsureServerDatabase(const AppFolder& folder, const DbSettings& settings)
{
    Result<ConnectionScope> connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    QSqlDatabase db = DbConn();
    const QString name = settings.serverName();
    const Text untouched = CoreText::tr(kServerUntouched);
    if (const Status version = CheckVersion(db); !version)
        return Fail(CoreText::tr("数据库 %1：%2", name, version.said()));
    // Tables of the program's names that are something else are not built on.
    if (const Status tables = CheckTables(db, false); !tables)
        return Fail(CoreText::tr("数据库 %1 里有与本软件的数据表同名、内容却不同的数据表（%2），程序无法使用它。\n%3",
                                 name, tables.said(), untouched));
    bool made = false;
    if (Status updated = BringUpToDate(db, &made); !updated) {
        if (updated.kind() == FailureKind::Invalid)
            return Fail(CoreText::tr("数据库 %1：%2", name, updated.said()));
        return Fail(CoreText::tr("数据库 %1 需要建立或升级本软件的数据表，但没有完成（%2）。\n%3", name,
                                 updated.said(), untouched));
    }
    if (const Status tables = CheckTables(db); !tables)
        return Fail(CoreText::tr("数据库 %1 不能作为本软件的数据库使用（%2）。", name, tables.said()));
    return made ? DatabaseState::Created : DatabaseState::Ready;
}

}  // namespace

Result<DatabaseState> EnsureDatabase(const AppFolder& folder)
{
    const DbSettings settings = DatabaseOf(folder);
    if (settings.onServer())
        return EnsureServerDatabase(folder, settings);
    const QString path = folder.DbPath();
    if (QFileInfo::exists(path)) {
        if (!QFileInfo(path).isFile())
            return Fail(CoreText::tr("数据文件 %1 不是文件，程序无法使用它。\n%2", Shown(path), DamagedAdvice()));
        Result<OwnConnection> connection = OwnConnection::Open(path);
        if (!connection)
            return Fail(CoreText::tr(kCannotReadDataFile, Shown(path), connection.said()));
        if (const Status tables = CheckTables(connection->db()); !tables) {
            if (tables.kind() != FailureKind::Invalid)
                return Fail(CoreText::tr(kCannotReadDataFile, Shown(path), tables.said()));
            return Fail(CoreText::tr("数据文件 %1 不是本软件的数据库，程序无法使用它（%2）。\n%3", Shown(path),
                                     tables.said(), DamagedAdvice()));
        }
        if (const Status trusted = CheckTrusted(connection->db()); !trusted) {
            if (trusted.kind() != FailureKind::Invalid)
                return Fail(CoreText::tr(kCannotReadDataFile, Shown(path), trusted.said()));
            return Fail(CoreText::tr("数据文件 %1 里有本软件不建立、会在保存数据时执行或出错的内容：%2。"
                                     "程序不使用这样的文件。\n"
                                     "文件没有被改动。请从备份还原一个正确的 coal.dat，"
                                     "或用别的工具删除这些内容后重新启动程序。",
                                     Shown(path), trusted.said()));
        }
        if (const Status version = CheckVersion(connection->db()); !version)
            return Fail(CoreText::tr("数据文件 %1：%2", Shown(path), version.said()));
        if (Status updated = BringUpToDate(connection->db()); !updated)
            return Fail(CoreText::tr("数据文件 %1 需要加入新的数据表或索引，但无法写入（%2）。\n"
                                     "文件没有被改动。请确认它没有被其他程序占用、可以写入后重新启动程序。",
                                     Shown(path), updated.said()));
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
        return Fail(CoreText::tr("无法在 %1 创建数据文件 coal.dat：%2", Shown(folder.dir), created.said()));
    }
    return DatabaseState::Created;
}
