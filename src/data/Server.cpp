#include "data/Server.h"

#include <QDateTime>
#include <QMutex>
#include <QSqlQuery>
#include <QTimeZone>
#include <QUuid>

#include <map>

namespace {

// How long a connection attempt waits for a server that does not answer.
constexpr int kConnectTimeoutSeconds = 10;

QMutex& HookMutex()
{
    static QMutex mutex;
    return mutex;
}

std::map<int, SessionHook>& Hooks()
{
    static std::map<int, SessionHook> hooks;
    return hooks;
}

QString Detail(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    // The driver's own suffix says nothing more.
    const qsizetype driver = text.indexOf(QStringLiteral("QPSQL:"));
    if (driver > 0)
        text = text.left(driver).trimmed();
    return text.simplified();
}

const char* const kCannotConnect = QT_TRANSLATE_NOOP("CoreText", "无法连接数据库服务器：%1");

// The cause in words, then the server's own text; either alone when the other is missing.
Text Reason(const Text& cause, const QString& detail)
{
    if (cause.isEmpty())
        return detail.isEmpty() ? CoreText::tr("原因不明") : Text(detail);
    return detail.isEmpty() ? cause : CoreText::tr("%1\n（%2）", cause, detail);
}

// The time zone of this computer as the server knows it: its name, else the
// offset from UTC it has now.
QStringList TimeZoneSettings()
{
    QStringList statements;
    const QByteArray id = QTimeZone::systemTimeZoneId();
    if (!id.isEmpty() && !id.contains('\''))
        statements << QStringLiteral("SET TIME ZONE '%1'").arg(QString::fromLatin1(id));
    const int offset = QDateTime::currentDateTime().offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    statements << QStringLiteral("SET TIME ZONE INTERVAL '%1%2:%3' HOUR TO MINUTE")
                      .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                      .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                      .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return statements;
}

}  // namespace

int AddSessionHook(SessionHook hook)
{
    static int next = 0;
    QMutexLocker lock(&HookMutex());
    Hooks()[++next] = std::move(hook);
    return next;
}

void RemoveSessionHook(int id)
{
    QMutexLocker lock(&HookMutex());
    Hooks().erase(id);
}

Status SetUpSession(QSqlDatabase& db)
{
    QSqlQuery query(db);
    bool zoned = false;
    for (const QString& statement : TimeZoneSettings()) {
        if (query.exec(statement)) {
            zoned = true;
            break;
        }
        if (!db.isOpen())
            break;
    }
    if (!zoned)
        return ServerFailure(query.lastError());
    std::map<int, SessionHook> hooks;
    {
        QMutexLocker lock(&HookMutex());
        hooks = Hooks();
    }
    for (const auto& [id, hook] : hooks)
        if (Status done = hook(db); !done)
            return done;
    return {};
}

ConnectFailure DescribeConnectError(const QSqlError& error)
{
    const QString detail = Detail(error);
    const QString lower = detail.toLower();
    ConnectFailure result;
    Text cause;
    auto is = [&](const char* text) { return lower.contains(QLatin1String(text)); };
    if (is("driver not loaded")) {
        result.problem = ServerProblem::NoDriver;
        cause = CoreText::tr("这台电脑没有安装 PostgreSQL 数据库驱动（Qt 的 QPSQL 插件）");
    } else if (is("no password supplied")) {
        result.problem = ServerProblem::Password;
        cause = CoreText::tr("服务器要求密码，但没有给出密码");
    } else if (is("password authentication failed")) {
        result.problem = ServerProblem::Password;
        cause = CoreText::tr("用户名或密码不对");
    } else if (is("database") && is("does not exist")) {
        result.problem = ServerProblem::NoDatabase;
        cause = CoreText::tr("服务器上没有这个数据库");
    } else if (is("role") && is("does not exist")) {
        result.problem = ServerProblem::NoUser;
        cause = CoreText::tr("服务器上没有这个用户");
    } else if (is("pg_hba.conf") || is("permission denied for database")) {
        result.problem = ServerProblem::NotAllowed;
        cause = CoreText::tr("服务器不允许这台电脑或这个用户连接");
    } else if (is("could not translate host name") || is("name or service not known")) {
        result.problem = ServerProblem::Unreachable;
        cause = CoreText::tr("找不到这个服务器名称");
    } else if (is("connection refused") || is("no such file or directory") || is("timeout expired")
               || is("could not connect") || is("no route to host") || is("network is unreachable")
               || is("server closed the connection") || is("the database system is")) {
        result.problem = ServerProblem::Unreachable;
        cause = CoreText::tr("服务器没有运行，或者无法通过网络到达");
    }
    result.failure = Fail(CoreText::tr(kCannotConnect, Reason(cause, detail)));
    return result;
}

std::optional<ConnectFailure> ConnectToServer(QSqlDatabase& db, const DbSettings& settings)
{
    if (!db.isValid()) {
        QSqlError missing(QStringLiteral("Driver not loaded"), QStringLiteral("Driver not loaded"));
        return DescribeConnectError(missing);
    }
    db.setHostName(settings.host);
    db.setPort(settings.port);
    db.setDatabaseName(settings.dbname);
    db.setUserName(settings.user);
    db.setPassword(settings.password);
    // Notices (a table that is not there to drop) stay in the server's log.
    db.setConnectOptions(QStringLiteral("connect_timeout=%1;application_name=velmora;"
                                        "options='-c client_min_messages=warning'")
                             .arg(kConnectTimeoutSeconds));
    if (!db.open())
        return DescribeConnectError(db.lastError());
    if (Status session = SetUpSession(db); !session) {
        db.close();
        return ConnectFailure{ServerProblem::Other, Fail(CoreText::tr(kCannotConnect, session.said()))};
    }
    return std::nullopt;
}

QString ServerState(const QSqlError& error)
{
    return error.nativeErrorCode().trimmed();
}

bool ConnectionLost(const QSqlDatabase& db, const QSqlError& error)
{
    if (!db.isOpen())
        return true;
    const QString state = ServerState(error);
    return state.startsWith(QStringLiteral("08")) || state == QLatin1String("57P01")
           || state == QLatin1String("57P02") || state == QLatin1String("57P03");
}

bool IsConflict(const QString& state)
{
    return state == QLatin1String("40001") || state == QLatin1String("40P01");
}

Text ServerReason(const QSqlError& error, bool lost)
{
    const QString state = ServerState(error);
    const QString detail = Detail(error);
    Text cause;
    if (lost || state.startsWith(QStringLiteral("08")) || state.startsWith(QStringLiteral("57P")))
        cause = CoreText::tr("与数据库服务器的连接中断了，这一步没有完成，没有写入任何数据");
    else if (state == QLatin1String("40001"))
        cause = CoreText::tr("其他用户同时修改了相同的数据");
    else if (state == QLatin1String("40P01"))
        cause = CoreText::tr("与其他用户的操作互相等待（死锁）");
    else if (state == QLatin1String("42501"))
        cause = CoreText::tr("数据库用户没有这项操作的权限");
    else if (state == QLatin1String("53100"))
        cause = CoreText::tr("数据库服务器磁盘空间不足");
    else if (state.startsWith(QStringLiteral("53")))
        cause = CoreText::tr("数据库服务器资源不足");
    else if (state == QLatin1String("25006"))
        cause = CoreText::tr("数据库服务器只允许读取");
    else if (state == QLatin1String("55P03"))
        cause = CoreText::tr("数据正被其他用户锁定，请稍后再试");
    else if (state == QLatin1String("57014"))
        cause = CoreText::tr("操作被取消或超时");
    else if (state == QLatin1String("42P01") || state == QLatin1String("42703"))
        cause = CoreText::tr("服务器上的数据库缺少本软件的数据表或列");
    else if (state.isEmpty() && error.type() == QSqlError::ConnectionError)
        cause = CoreText::tr("与数据库服务器的连接中断了，这一步没有完成，没有写入任何数据");
    return Reason(cause, detail);
}

Failure ServerFailure(const QSqlError& error, bool lost)
{
    return Fail(CoreText::tr("数据库操作失败：%1", ServerReason(error, lost)));
}

Result<ServerConnection> ServerConnection::Open(const DbSettings& settings)
{
    const QString name = QStringLiteral("velmora_server_") + QUuid::createUuid().toString(QUuid::Id128);
    QSqlDatabase db = QSqlDatabase::addDatabase(kServerDriver, name);
    if (const std::optional<ConnectFailure> failed = ConnectToServer(db, settings)) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        return failed->failure;
    }
    return ServerConnection(name, db);
}

ServerConnection::ServerConnection(ServerConnection&& other) noexcept
    : name_(std::move(other.name_)), db_(std::move(other.db_))
{
    other.name_.clear();
    other.db_ = QSqlDatabase();
}

ServerConnection::~ServerConnection()
{
    if (name_.isEmpty())
        return;
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

Status ServerConnection::exec(const QString& sql, const QVariantList& values)
{
    return value(sql, values).status();
}

Result<QVariant> ServerConnection::value(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    bool done = false;
    if (values.isEmpty()) {
        done = query.exec(sql);
    } else if (query.prepare(sql)) {
        for (const QVariant& v : values)
            query.addBindValue(v);
        done = query.exec();
    }
    if (!done)
        return ServerFailure(query.lastError());
    if (!query.isSelect() || !query.next())
        return QVariant();
    return query.value(0);
}
