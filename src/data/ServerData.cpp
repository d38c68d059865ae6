#include "data/ServerData.h"

#include "base/NumberText.h"
#include "data/Dbconnection.h"
#include "data/Schema.h"
#include "data/SqliteFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace {

// Rows written by one statement on a server (a multi-row insert), and bound
// values in it at most.
constexpr int kRowsPerInsert = 200;
constexpr int kValuesPerInsert = 6000;

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

Failure CancelledFailure()
{
    return Fail(DataCancelledMessage(), FailureKind::Cancelled);
}

bool IsServer(const QSqlDatabase& db)
{
    return DriverOf(db) == DbDriver::Postgresql;
}

Failure StatementFailure(const QSqlDatabase& db, const QSqlError& error)
{
    if (IsServer(db))
        return ServerFailure(error);
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return Fail(SqliteReason(ok ? code : 1, detail.trimmed()));
}

Status Exec(QSqlDatabase& db, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query(db);
    bool done = false;
    if (values.isEmpty()) {
        done = query.exec(sql);
    } else if (query.prepare(sql)) {
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i]);
        done = query.exec();
    }
    if (!done)
        return StatementFailure(db, query.lastError());
    return {};
}

Result<qint64> Count(QSqlDatabase& db, const QString& table)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select count(*) from %1").arg(table)) || !query.next())
        return StatementFailure(db, query.lastError());
    return query.value(0).toLongLong();
}

// The program's tables a database has, lower case.
Result<QSet<QString>> TablesOf(QSqlDatabase& db)
{
    QSqlQuery query(db);
    const QString sql =
        IsServer(db) ? QStringLiteral("select table_name from information_schema.tables "
                                      "where table_schema = current_schema() and table_type = 'BASE TABLE'")
                     : QStringLiteral("select name from sqlite_master where type='table'");
    if (!query.exec(sql))
        return StatementFailure(db, query.lastError());
    QSet<QString> tables;
    while (query.next()) {
        const QString name = query.value(0).toString().toLower();
        if (FindProgramTable(name))
            tables.insert(name);
    }
    return tables;
}

// The rows of each program table the database has (0 for one it lacks).
Result<CopyCounts> CountRows(QSqlDatabase& db)
{
    const Result<QSet<QString>> present = TablesOf(db);
    if (!present)
        return present.failure();
    CopyCounts counts;
    for (const TableDef& table : ProgramTables()) {
        qint64 rows = 0;
        if (present->contains(table.name.toLower())) {
            const Result<qint64> counted = Count(db, table.name);
            if (!counted)
                return counted.failure();
            rows = *counted;
        }
        counts.tables << table.name;
        counts.rows << rows;
    }
    return counts;
}

// A stored value as the target keeps it, by what the column holds: a number
// that is not one becomes Null (every reader already takes it as "not
// given"), a time travels as the text coal.dat has always held.
QVariant Converted(const QVariant& value, ColumnKind kind)
{
    if (value.isNull())
        return kind == ColumnKind::Text ? QVariant(QMetaType(QMetaType::QString)) : QVariant();
    switch (kind) {
    case ColumnKind::Id:
    case ColumnKind::Integer:
    case ColumnKind::Version: {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (ok)
            return number;
        const std::optional<double> read = ToNumber(value);
        return read ? QVariant(static_cast<qlonglong>(*read)) : QVariant();
    }
    case ColumnKind::Real:
    case ColumnKind::Price: {
        const std::optional<double> number = ToNumber(value);
        return number ? QVariant(*number) : QVariant();
    }
    case ColumnKind::Time:
    case ColumnKind::TimeNow: {
        QDateTime time = value.typeId() == QMetaType::QDateTime ? value.toDateTime() : QDateTime();
        if (!time.isValid()) {
            time = QDateTime::fromString(value.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            if (!time.isValid())
                time = QDateTime::fromString(value.toString(), Qt::ISODate);
        }
        return time.isValid() ? QVariant(time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))) : QVariant();
    }
    case ColumnKind::Text:
        return value.toString();
    }
    return value;
}

// Copies every row of the program's tables the source has into the target,
// ids kept; the target's tables are there and empty, and a transaction is
// open on it. Progress counts rows.
Status CopyRows(QSqlDatabase& from, QSqlDatabase& to, const Text& step, const DataProgressFn& progress)
{
    const Result<CopyCounts> source = CountRows(from);
    if (!source)
        return source.failure();
    const qint64 total = source->total();
    qint64 done = 0;
    if (progress && !progress(DataProgress{step, 0, total}))
        return CancelledFailure();
    const Result<QSet<QString>> present = TablesOf(from);
    if (!present)
        return present.failure();
    const bool server = IsServer(to);
    for (const TableDef& table : ProgramTables()) {
        if (!present->contains(table.name.toLower()))
            continue;
        QStringList names;
        for (const ColumnDef& column : table.columns)
            names << column.name;
        const int width = static_cast<int>(names.size());
        const QString row = QStringLiteral("(") + QStringList(width, QStringLiteral("?")).join(QLatin1Char(','))
                            + QLatin1Char(')');
        const QString insert =
            QStringLiteral("insert into %1 (%2) values ").arg(table.name, names.join(QStringLiteral(", ")));
        const int perInsert = server ? std::max(1, std::min(kRowsPerInsert, kValuesPerInsert / width)) : 1;

        // A column added to the table later than the source was made is read
        // as a new row of its kind gets it.
        const QSqlRecord has = from.record(IsServer(from) ? table.name.toLower() : table.name);
        QStringList readColumns;
        for (const ColumnDef& column : table.columns)
            readColumns << (has.indexOf(column.name) >= 0 ? column.name
                             : column.kind == ColumnKind::Version ? QStringLiteral("0")
                                                                   : QStringLiteral("null"));
        QSqlQuery read(from);
        read.setForwardOnly(true);
        if (!read.exec(QStringLiteral("select %1 from %2 order by id").arg(readColumns.join(QStringLiteral(", ")), table.name)))
            return StatementFailure(from, read.lastError());
        QSqlQuery single(to);
        if (!server && !single.prepare(insert + row))
            return StatementFailure(to, single.lastError());
        QVariantList batch;
        int rows = 0;
        const auto flush = [&]() -> Status {
            if (rows == 0)
                return {};
            Status written;
            if (server) {
                written = Exec(to, insert + QStringList(rows, row).join(QLatin1Char(',')), batch);
            } else {
                for (int i = 0; i < batch.size(); ++i)
                    single.bindValue(i, batch[i]);
                if (!single.exec())
                    written = StatementFailure(to, single.lastError());
            }
            done += rows;
            batch.clear();
            rows = 0;
            if (!written)
                return Fail(CoreText::tr("无法写入数据表 %1：%2", table.name, written.said()));
            if (progress && !progress(DataProgress{step, done, total}))
                return CancelledFailure();
            return {};
        };
        while (read.next()) {
            for (int c = 0; c < width; ++c)
                batch << Converted(read.value(c), table.columns[c].kind);
            if (++rows == perInsert)
                if (Status flushed = flush(); !flushed)
                    return flushed;
        }
        if (read.lastError().isValid())
            return StatementFailure(from, read.lastError());
        if (Status flushed = flush(); !flushed)
            return flushed;
    }
    return {};
}

// After rows came with their ids, the server's next id follows the highest.
Status ResetIds(QSqlDatabase& db)
{
    for (const TableDef& table : ProgramTables()) {
        const Status reset =
            Exec(db, QStringLiteral("select setval(pg_get_serial_sequence('%1', 'id'), "
                                    "coalesce((select max(id) from %1), 0) + 1, false)")
                         .arg(table.name));
        if (!reset)
            return reset;
    }
    return {};
}

// Other planners' writes wait for the transaction; their reads go on.
Status LockTables(QSqlDatabase& db)
{
    QStringList names;
    for (const TableDef& table : ProgramTables())
        names << table.name;
    return Exec(db, QStringLiteral("lock table %1 in exclusive mode").arg(names.join(QStringLiteral(", "))));
}

// Tells the programs listening on the server that all of its data changed;
// delivered once the transaction commits.
Status AnnounceEverything(QSqlDatabase& db)
{
    return Exec(db, QStringLiteral("select pg_notify(?, ''), pg_notify(?, '')"), {kCoalsChannel, kPlansChannel});
}

// The counts of the target after a copy against the source's.
Status CompareCounts(const CopyCounts& source, const CopyCounts& target)
{
    Text differ;
    for (int t = 0; t < source.tables.size(); ++t) {
        if (source.rows[t] == target.rowsOf(source.tables[t]))
            continue;
        const Text table = CoreText::tr("%1（本来 %2 条，复制后 %3 条）", source.tables[t], QString::number(source.rows[t]),
                                        QString::number(target.rowsOf(source.tables[t])));
        differ = differ.isEmpty() ? table : CoreText::tr("%1；%2", differ, table);
    }
    if (!differ.isEmpty())
        return Fail(CoreText::tr("复制后的记录数与原来的不同：%1", differ));
    return {};
}

Text HeldData(const CopyCounts& counts)
{
    return CoreText::tr("煤种 %1 个，配煤方案 %2 个，共 %3 条记录", QString::number(counts.rowsOf(QStringLiteral("meitan"))),
                        QString::number(counts.rowsOf(QStringLiteral("Lishi_fangan"))), QString::number(counts.total()));
}

// Opens a coal database file to copy from: checked to be one the program can
// trust, with a write's leftover journal rolled back.
Result<OwnConnection> OpenSourceFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return Invalid(CoreText::tr("找不到文件 %1", Shown(path)));
    Result<OwnConnection> connection = OwnConnection::Open(path);
    if (!connection)
        return connection.failure();
    if (Status schema = CheckSchema(connection->db()); !schema)
        return schema.failure();
    return connection;
}

// Ends a server transaction that failed, and passes its failure on.
Failure RolledBack(QSqlDatabase& db, const Failure& failure)
{
    db.rollback();
    return failure;
}

// The end of a copy into a server, inside the transaction open on db: every
// row of from, the ids going on after the copied ones, the counts compared
// with what from held, the other copies told, then the commit. Anything that
// fails rolls the whole transaction back.
Result<CopyCounts> FillAndCommit(QSqlDatabase& from, QSqlDatabase& db, const CopyCounts& source, const Text& step,
                                 const DataProgressFn& progress)
{
    if (Status copied = CopyRows(from, db, step, progress); !copied)
        return RolledBack(db, copied.failure());
    if (Status reset = ResetIds(db); !reset)
        return RolledBack(db, reset.failure());
    const Result<CopyCounts> written = CountRows(db);
    if (!written)
        return RolledBack(db, written.failure());
    if (Status same = CompareCounts(source, *written); !same)
        return RolledBack(db, same.failure());
    if (Status told = AnnounceEverything(db); !told)
        return RolledBack(db, told.failure());
    if (!db.commit())
        return RolledBack(db, ServerFailure(db.lastError()));
    return *written;
}

}  // namespace

qint64 CopyCounts::total() const
{
    qint64 sum = 0;
    for (qint64 n : rows)
        sum += n;
    return sum;
}

qint64 CopyCounts::rowsOf(const QString& table) const
{
    for (int t = 0; t < tables.size(); ++t)
        if (tables[t].compare(table, Qt::CaseInsensitive) == 0)
            return rows[t];
    return 0;
}

ServerCheck TestConnection(const DbSettings& settings)
{
    ServerCheck check;
    const QString name = QStringLiteral("velmora_check_") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(kServerDriver, name);
        const auto fill = [&]() -> Status {
            if (const std::optional<ConnectFailure> failed = ConnectToServer(db, settings)) {
                check.problem = failed->problem;
                return failed->failure;
            }
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("select version()")) && query.next())
                check.serverVersion = query.value(0).toString();
            const Result<std::optional<int>> version = StoredVersion(db);
            if (!version)
                return version.failure();
            check.schemaVersion = *version;
            check.newer = version->value_or(0) > kSchemaVersion;
            const Result<CopyCounts> counts = CountRows(db);
            if (!counts)
                return counts.failure();
            const Result<QSet<QString>> tables = TablesOf(db);
            check.hasTables = tables && !tables->isEmpty();
            check.coals = static_cast<int>(counts->rowsOf(QStringLiteral("meitan")));
            check.plans = static_cast<int>(counts->rowsOf(QStringLiteral("Lishi_fangan")));
            check.rows = counts->total();
            return {};
        };
        if (const Status filled = fill(); !filled) {
            if (check.problem == ServerProblem::None)
                check.problem = ServerProblem::Other;
            check.message = filled.message();
            check.said = filled.said();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return check;
}

Result<CopyCounts> CopyLocalToServer(const QString& localPath, const DbSettings& settings,
                                     const DataProgressFn& progress)
{
    Result<OwnConnection> local = OpenSourceFile(localPath);
    if (!local)
        return local.failure();
    const Result<CopyCounts> source = CountRows(local->db());
    if (!source)
        return source.failure();
    Result<ServerConnection> server = ServerConnection::Open(settings);
    if (!server)
        return server.failure();
    QSqlDatabase& db = server->db();
    const QString name = settings.serverName();
    // Looked at before anything is written: a database with data is not touched.
    if (const Result<CopyCounts> before = CountRows(db); !before)
        return before.failure();
    else if (before->total() > 0)
        return Invalid(CoreText::tr("服务器上的数据库 %1 已经有数据（%2），不能把本机的数据复制过去。"
                                    "服务器上的数据没有改动。",
                                    name, HeldData(*before)));
    if (!db.transaction())
        return ServerFailure(db.lastError());
    if (Status made = MigrateInTransaction(db); !made)
        return RolledBack(db, made.failure());
    if (Status checked = CheckTables(db); !checked)
        return RolledBack(db, Fail(CoreText::tr("数据库 %1 不能作为本软件的数据库使用（%2）。", name, checked.said())));
    if (Status locked = LockTables(db); !locked)
        return RolledBack(db, locked.failure());
    // Another copy may have filled it meanwhile.
    const Result<CopyCounts> empty = CountRows(db);
    if (!empty)
        return RolledBack(db, empty.failure());
    if (empty->total() > 0)
        return RolledBack(db, Invalid(CoreText::tr("服务器上的数据库 %1 已经有数据（%2），不能把本机的数据复制过去。"
                                                   "服务器上的数据没有改动。",
                                                   name, HeldData(*empty))));
    return FillAndCommit(local->db(), db, *source, CoreText::tr("正在把本机数据复制到服务器"), progress);
}

Result<CopyCounts> SnapshotServer(const DbSettings& settings, const QString& path, const Text& step,
                                  const DataProgressFn& progress)
{
    const QString part = path + QStringLiteral(".part");
    const auto removePart = [&] {
        for (const char* suffix : {"", "-journal"})
            QFile::remove(part + QLatin1String(suffix));
    };
    removePart();
    Result<CopyCounts> counts = Fail(QString());
    {
        Result<ServerConnection> server = ServerConnection::Open(settings);
        if (!server)
            return server.failure();
        Result<OwnConnection> file = OwnConnection::Open(part, true);
        if (!file)
            return file.failure();
        const auto write = [&]() -> Result<CopyCounts> {
            QSqlDatabase& from = server->db();
            QSqlDatabase& to = file->db();
            // A new file needs no journal: a copy that fails is removed whole.
            if (Status off = file->exec(QStringLiteral("PRAGMA journal_mode=OFF")); !off)
                return off.failure();
            if (Status begun = file->exec(QStringLiteral("BEGIN")); !begun)
                return begun.failure();
            for (const QString& statement : SchemaStatements(DbDriver::Sqlite))
                if (Status made = file->exec(statement); !made)
                    return made.failure();
            // One picture of every table, whatever the other planners write meanwhile.
            if (Status begun = Exec(from, QStringLiteral("begin transaction isolation level repeatable read read only"));
                !begun)
                return begun.failure();
            if (Status current = CheckVersion(from); !current)
                return current.failure();
            Status copied = CopyRows(from, to, step, progress);
            Result<CopyCounts> source = copied ? CountRows(from) : Result<CopyCounts>(copied.failure());
            (void)Exec(from, QStringLiteral("rollback"));
            if (!source)
                return source.failure();
            if (Status committed = file->exec(QStringLiteral("COMMIT")); !committed)
                return committed.failure();
            const Result<CopyCounts> written = CountRows(to);
            if (!written)
                return written.failure();
            if (Status same = CompareCounts(*source, *written); !same)
                return same.failure();
            if (Status journal = file->exec(QStringLiteral("PRAGMA journal_mode=DELETE")); !journal)
                return journal.failure();
            return *written;
        };
        counts = write();
    }
    if (!counts) {
        removePart();
        return counts.failure().kind == FailureKind::Cancelled
                   ? counts.failure()
                   : Fail(CoreText::tr("无法把服务器上的数据保存到 %1：%2", Shown(path), counts.said()));
    }
    if (QFileInfo::exists(path) && !QFile::remove(path)) {
        removePart();
        return Fail(CoreText::tr("无法替换 %1", Shown(path)));
    }
    if (!QFile::rename(part, path)) {
        removePart();
        return Fail(CoreText::tr("无法写入 %1", Shown(path)));
    }
    return counts;
}

Result<CopyCounts> ReplaceServerData(const DbSettings& settings, const QString& sourcePath,
                                     const DataProgressFn& progress)
{
    Result<OwnConnection> file = OpenSourceFile(sourcePath);
    if (!file)
        return file.failure();
    if (const Result<QVector<SchemaStep>> missing = MissingSteps(file->db()); !missing)
        return missing.failure();
    else if (!missing->isEmpty())
        return Fail(CoreText::tr("文件 %1 需要先升级为本程序的数据格式", Shown(sourcePath)));
    const Result<CopyCounts> source = CountRows(file->db());
    if (!source)
        return source.failure();
    Result<ServerConnection> server = ServerConnection::Open(settings);
    if (!server)
        return server.failure();
    QSqlDatabase& db = server->db();
    if (!db.transaction())
        return ServerFailure(db.lastError());
    if (Status made = MigrateInTransaction(db); !made)
        return RolledBack(db, made.failure());
    if (Status locked = LockTables(db); !locked)
        return RolledBack(db, locked.failure());
    for (const TableDef& table : ProgramTables())
        if (Status emptied = Exec(db, QStringLiteral("delete from %1").arg(table.name)); !emptied)
            return RolledBack(db, emptied.failure());
    return FillAndCommit(file->db(), db, *source, CoreText::tr("正在还原数据"), progress);
}
