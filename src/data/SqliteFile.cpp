#include "data/SqliteFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>

#include <sqlite3.h>

namespace {

// Pages copied in one step of a copy: with 4 KiB pages, 2 MiB between two
// looks at the progress.
constexpr int kPagesPerStep = 512;

// How long a copy waits for a lock another connection holds for a moment.
constexpr int kBusyWaitMilliseconds = 3000;

QString ErrorText(const QSqlError& error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.trimmed();
}

int ErrorCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code : SQLITE_ERROR;
}

Text Reason(const QSqlError& error)
{
    return SqliteReason(ErrorCode(error), ErrorText(error));
}

}  // namespace

Text SqliteCause(int code)
{
    if (code == SQLITE_READONLY_ROLLBACK)
        return CoreText::tr("上次写入数据时程序中断，需要撤销没写完的部分，但数据文件是只读的");
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return CoreText::tr("数据库文件正被占用（已锁定），请稍后再试");
    case SQLITE_READONLY:
        return CoreText::tr("数据库文件是只读的，不能写入");
    case SQLITE_IOERR:
        return CoreText::tr("读写数据库文件时出错");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return CoreText::tr("数据库文件已损坏");
    case SQLITE_FULL:
        return CoreText::tr("磁盘空间不足");
    case SQLITE_CANTOPEN:
        return CoreText::tr("无法打开数据库文件");
    default:
        return Text();
    }
}

Text SqliteReason(int code, const QString& detail)
{
    const Text cause = SqliteCause(code);
    if (cause.isEmpty())
        return detail.isEmpty() ? CoreText::tr("原因不明") : Text(detail);
    return detail.isEmpty() ? cause : CoreText::tr("%1（%2）", cause, detail);
}

Result<OwnConnection> OwnConnection::Open(const QString& path, bool create, int busyMilliseconds)
{
    if (!create && !QFileInfo(path).isFile())
        return Fail(CoreText::tr("找不到文件 %1", QDir::toNativeSeparators(path)));
    const QString name = QStringLiteral("velmora_own_") + QUuid::createUuid().toString(QUuid::Id128);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyMilliseconds));
    if (!db.open()) {
        const Text reason = Reason(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        return Fail(CoreText::tr("无法打开 %1：%2", QDir::toNativeSeparators(path), reason));
    }
    return OwnConnection(name, db);
}

OwnConnection::OwnConnection(OwnConnection&& other) noexcept
    : name_(std::move(other.name_)), db_(std::move(other.db_))
{
    other.name_.clear();
    other.db_ = QSqlDatabase();
}

OwnConnection::~OwnConnection()
{
    if (name_.isEmpty())
        return;
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

sqlite3* OwnConnection::handle() const
{
    const QVariant value = db_.driver()->handle();
    if (!value.isValid() || qstrcmp(value.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(value.constData());
}

Status OwnConnection::exec(const QString& sql)
{
    QSqlQuery query(db_);
    if (!query.exec(sql))
        return Fail(Reason(query.lastError()));
    return {};
}

Result<QVariant> OwnConnection::value(const QString& sql)
{
    QSqlQuery query(db_);
    if (!query.exec(sql))
        return Fail(Reason(query.lastError()));
    if (!query.next())
        return QVariant();
    return query.value(0);
}

Status CopyPages(OwnConnection& source, OwnConnection& dest, const Text& step, const DataProgressFn& progress)
{
    sqlite3* from = source.handle();
    sqlite3* to = dest.handle();
    if (!from || !to)
        return Fail(CoreText::tr("数据库驱动不是 SQLite"));
    // One read transaction over the whole copy, so that what another
    // connection writes meanwhile does not make the copy start again.
    if (Status begun = source.exec(QStringLiteral("BEGIN")); !begun)
        return begun;
    if (Result<QVariant> read = source.value(QStringLiteral("select count(*) from sqlite_master")); !read) {
        (void)source.exec(QStringLiteral("ROLLBACK"));
        return read.failure();
    }
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) {
        const Text reason = SqliteReason(sqlite3_extended_errcode(to), QString::fromUtf8(sqlite3_errmsg(to)));
        (void)source.exec(QStringLiteral("ROLLBACK"));
        return Fail(reason);
    }
    int rc = SQLITE_OK;
    bool stopped = false;
    QElapsedTimer waiting;
    while (true) {
        rc = sqlite3_backup_step(backup, kPagesPerStep);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (!waiting.isValid())
                waiting.start();
            if (waiting.elapsed() > kBusyWaitMilliseconds)
                break;
            QThread::msleep(20);
            continue;
        }
        waiting.invalidate();
        if (rc != SQLITE_OK && rc != SQLITE_DONE)
            break;
        const int total = sqlite3_backup_pagecount(backup);
        if (progress && !progress(DataProgress{step, total - sqlite3_backup_remaining(backup), total})) {
            stopped = rc != SQLITE_DONE;
            if (stopped)
                break;
        }
        if (rc == SQLITE_DONE)
            break;
    }
    const int finished = sqlite3_backup_finish(backup);
    (void)source.exec(QStringLiteral("ROLLBACK"));
    if (stopped)
        return Fail(DataCancelledMessage(), FailureKind::Cancelled);
    if (rc == SQLITE_DONE && finished == SQLITE_OK)
        return {};
    const int code = rc != SQLITE_DONE ? rc : finished;
    return Fail(SqliteReason(code, QString::fromUtf8(sqlite3_errstr(code))));
}

Status CheckNotHeldElsewhere(OwnConnection& target, const QString& shownPath)
{
    const Text inUse = CoreText::tr("数据文件 %1 正被另一个程序打开使用，请先关闭使用它的程序", shownPath);
    const Result<QVariant> mode = target.value(QStringLiteral("PRAGMA journal_mode"));
    if (!mode)
        return mode.failure();
    if (mode->toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) == 0) {
        // Leaving write-ahead-log mode needs the file to itself.
        const Result<QVariant> changed = target.value(QStringLiteral("PRAGMA journal_mode=DELETE"));
        if (!changed || changed->toString().compare(QStringLiteral("delete"), Qt::CaseInsensitive) != 0)
            return Fail(inUse);
    }
    QSqlQuery query(target.db());
    if (!query.exec(QStringLiteral("BEGIN EXCLUSIVE"))) {
        const int code = ErrorCode(query.lastError()) & 0xFF;
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            return Fail(inUse);
        return Fail(Reason(query.lastError()));
    }
    query.finish();
    return target.exec(QStringLiteral("ROLLBACK"));
}

Status CheckIntegrity(OwnConnection& connection, const DataProgressFn& progress)
{
    const Text step = CoreText::tr("正在检查数据文件是否完好");
    ProgressWatch watch(connection, [&] { return !progress || progress(DataProgress{step, 0, 0}); });
    QSqlQuery query(connection.db());
    if (!query.exec(QStringLiteral("pragma integrity_check"))) {
        if (watch.stopped())
            return Fail(DataCancelledMessage(), FailureKind::Cancelled);
        return Invalid(CoreText::tr("数据库文件已损坏（%1）", ErrorText(query.lastError())));
    }
    QStringList problems;
    while (query.next())
        problems << query.value(0).toString();
    if (watch.stopped())
        return Fail(DataCancelledMessage(), FailureKind::Cancelled);
    if (problems != QStringList{QStringLiteral("ok")})
        return Invalid(CoreText::tr("数据库文件已损坏（%1）", problems.mid(0, 3).join(QStringLiteral("；"))));
    return {};
}

ProgressWatch::ProgressWatch(OwnConnection& connection, std::function<bool()> tick)
    : handle_(connection.handle()), tick_(std::move(tick))
{
    if (handle_)
        sqlite3_progress_handler(handle_, 20000, &ProgressWatch::Call, this);
}

ProgressWatch::~ProgressWatch()
{
    if (handle_)
        sqlite3_progress_handler(handle_, 0, nullptr, nullptr);
}

int ProgressWatch::Call(void* self)
{
    auto* watch = static_cast<ProgressWatch*>(self);
    if (!watch->stopped_ && watch->tick_ && !watch->tick_())
        watch->stopped_ = true;
    return watch->stopped_ ? 1 : 0;
}
