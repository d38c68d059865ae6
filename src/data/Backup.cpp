#include "data/Backup.h"

#include "base/Files.h"
#include "data/Dbconnection.h"
#include "data/Schema.h"
#include "data/ServerData.h"
#include "data/SqliteFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <map>

namespace {

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Names in a sentence, one after another.
Text JoinedText(const QStringList& names)
{
    Text text = names.value(0);
    for (qsizetype i = 1; i < names.size(); ++i)
        text = CoreText::tr("%1、%2", text, names[i]);
    return text;
}

// A database file and the files SQLite keeps beside it.
void RemoveDatabaseFiles(const QString& path)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

Status EnsureBackupFolder(const AppFolder& folder)
{
    const QFileInfo info(folder.BackupDir());
    if (info.exists() && !info.isDir())
        return Fail(CoreText::tr("%1 是一个文件，不是文件夹，不能在其中保存备份", Shown(folder.BackupDir())));
    if (!QDir().mkpath(folder.BackupDir()))
        return Fail(CoreText::tr("无法创建文件夹 %1：%2", Shown(folder.BackupDir()),
                                         WriteFailureReason(folder.BackupDir(), 0, QString())));
    return {};
}

// A failure with the message put in a frame, as the frame's last value; its
// kind stays.
Failure Framed(const Failure& failure, const Text& frame)
{
    if (failure.kind == FailureKind::Cancelled)
        return failure;
    std::vector<Text> values = frame.values();
    values.push_back(failure.said());
    return Fail(Text::Source(frame.source(), std::move(values)), failure.kind);
}

// Copies the database at source into a new file at target through SQLite
// (a consistent picture, what is in a write-ahead log included), replacing a
// file of that name only once the copy is whole. The copy uses the rollback
// journal whatever the source used.
Status CopyOut(const QString& source, const QString& target, const Text& step, const DataProgressFn& progress)
{
    if (!QFileInfo(source).isFile())
        return Fail(CoreText::tr("找不到文件 %1", Shown(source)));
    const QString part = target + QStringLiteral(".part");
    RemoveDatabaseFiles(part);
    Status copied;
    {
        Result<OwnConnection> from = OwnConnection::Open(source);
        if (!from)
            return from.failure();
        Result<OwnConnection> to = OwnConnection::Open(part, true);
        if (!to) {
            copied = to.failure();
        } else {
            // A new file needs no journal: a copy that fails is removed whole.
            copied = to->exec(QStringLiteral("PRAGMA journal_mode=OFF"));
            if (copied)
                copied = CopyPages(*from, *to, step, progress);
            if (copied)
                copied = to->exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        }
    }
    if (!copied) {
        RemoveDatabaseFiles(part);
        return Framed(copied.failure(), CoreText::tr("无法复制 %1 到 %2：%3", Shown(source), Shown(target)));
    }
    if (QFileInfo::exists(target) && !QFile::remove(target)) {
        RemoveDatabaseFiles(part);
        return Fail(CoreText::tr("无法替换 %1：%2", Shown(target), WriteFailureReason(target, 0, QString())));
    }
    if (!QFile::rename(part, target)) {
        RemoveDatabaseFiles(part);
        return Fail(CoreText::tr("无法写入 %1：%2", Shown(target), WriteFailureReason(target, 0, QString())));
    }
    return {};
}

// Writes the database at source into the file at target in place, in one
// transaction of target's, once no one else holds it. A link at target is
// followed; a missing target is made.
Status WriteInPlace(const QString& source, const QString& target, const Text& step, const DataProgressFn& progress)
{
    Result<OwnConnection> to = OwnConnection::Open(target, true);
    if (!to)
        return to.failure();
    if (Status alone = CheckNotHeldElsewhere(*to, Shown(target)); !alone)
        return alone;
    // Every page overwritten goes to the journal first, which is synced each
    // time the pages waiting in memory spill into the file: room for 64 MiB
    // of them makes that rare.
    (void)to->exec(QStringLiteral("PRAGMA cache_size=-65536"));
    Result<OwnConnection> from = OwnConnection::Open(source);
    if (!from)
        return from.failure();
    return CopyPages(*from, *to, step, progress);
}

Status CheckAlone(const QString& target)
{
    if (!QFileInfo::exists(target))
        return {};
    Result<OwnConnection> connection = OwnConnection::Open(target);
    if (!connection)
        return connection.failure();
    return CheckNotHeldElsewhere(*connection, Shown(target));
}

// Names in bakup with the moment they stand for.
struct Dated {
    QString name;
    QDateTime when;
};

const QRegularExpression& BackupName()
{
    static const QRegularExpression name(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})\\.bak$"));
    return name;
}

const QRegularExpression& ReplacedName()
{
    static const QRegularExpression name(
        QStringLiteral("^还原前的数据_(\\d{4}-\\d{2}-\\d{2}-\\d{2}-\\d{2}-\\d{2})\\.bak$"));
    return name;
}

QVector<Dated> DatedNames(const QStringList& names, const QRegularExpression& pattern, const QString& format)
{
    QVector<Dated> dated;
    for (const QString& name : names) {
        const auto match = pattern.match(name);
        if (!match.hasMatch())
            continue;
        const QDateTime when = QDateTime::fromString(match.captured(1), format);
        if (when.isValid())
            dated << Dated{name, when};
    }
    return dated;
}

// The names of one kind the rule removes.
QStringList Pruned(QVector<Dated> files, const QDate& today, const BackupKeep& keep, bool oneADay)
{
    std::sort(files.begin(), files.end(), [](const Dated& a, const Dated& b) { return a.when < b.when; });
    QStringList pruned;
    if (oneADay) {
        QVector<Dated> first;
        for (const Dated& file : files) {
            if (!first.isEmpty() && first.last().when.date() == file.when.date())
                pruned << file.name;
            else
                first << file;
        }
        files = first;
    }
    // Newest first; nothing dated after today is touched.
    std::reverse(files.begin(), files.end());
    QVector<Dated> past;
    for (const Dated& file : files)
        if (file.when.date() <= today)
            past << file;
    QSet<QString> kept;
    const int days = std::max(1, keep.days);
    for (int i = 0; i < past.size() && i < days; ++i)
        kept.insert(past[i].name);
    const QDate thisMonth(today.year(), today.month(), 1);
    std::map<QDate, QString> newestOfMonth;
    for (const Dated& file : past) {
        const QDate month(file.when.date().year(), file.when.date().month(), 1);
        if (month > thisMonth.addMonths(-std::max(0, keep.months)) && !newestOfMonth.count(month))
            newestOfMonth[month] = file.name;
    }
    for (const auto& [month, name] : newestOfMonth)
        kept.insert(name);
    for (const Dated& file : past)
        if (!kept.contains(file.name))
            pruned << file.name;
    return pruned;
}

// Removes what the rule removes; the names removed, and why some were not.
QStringList PruneBackupFolder(const AppFolder& folder, const QDate& today, const BackupKeep& keep, Text* failure)
{
    const QDir dir(folder.BackupDir());
    QStringList removed;
    QStringList failed;
    for (const QString& name : BackupsToPrune(dir.entryList(QDir::Files), today, keep)) {
        if (QFile::remove(dir.filePath(name)))
            removed << name;
        else
            failed << name;
    }
    if (failure && !failed.isEmpty())
        *failure = CoreText::tr("无法删除 %1", JoinedText(failed));
    return removed;
}

// The copy an earlier restore kept today, or "".
QString TodaysReplacedCopy(const AppFolder& folder, const QDate& today)
{
    QVector<Dated> copies = DatedNames(QDir(folder.BackupDir()).entryList(QDir::Files), ReplacedName(),
                                       QStringLiteral("yyyy-MM-dd-HH-mm-ss"));
    std::sort(copies.begin(), copies.end(), [](const Dated& a, const Dated& b) { return a.when < b.when; });
    for (const Dated& copy : copies)
        if (copy.when.date() == today)
            return folder.File(QStringLiteral("bakup/") + copy.name);
    return QString();
}

}  // namespace

QStringList BackupsToPrune(const QStringList& names, const QDate& today, const BackupKeep& keep)
{
    return Pruned(DatedNames(names, BackupName(), QStringLiteral("yyyy-MM-dd")), today, keep, false)
           + Pruned(DatedNames(names, ReplacedName(), QStringLiteral("yyyy-MM-dd-HH-mm-ss")), today, keep, true);
}

QString ReplacedFileName(const QDateTime& now)
{
    return QStringLiteral("还原前的数据_") + now.toString(QStringLiteral("yyyy-MM-dd-HH-mm-ss"))
           + QStringLiteral(".bak");
}

Result<BackupOutcome> BackupData(const AppFolder& folder, const QDate& today, const BackupKeep& keep,
                                 const DataProgressFn& progress)
{
    BackupOutcome outcome;
    outcome.path =
        folder.File(QStringLiteral("bakup/") + today.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".bak"));
    if (Status ready = EnsureBackupFolder(folder); !ready)
        return ready.failure();
    const DbSettings database = DatabaseOf(folder);
    if (database.onServer()) {
        const Result<CopyCounts> saved = SnapshotServer(database, outcome.path, CoreText::tr("正在备份数据"), progress);
        if (!saved)
            return saved.failure();
    } else if (Status copied = CopyOut(folder.DbPath(), outcome.path, CoreText::tr("正在备份数据"), progress);
               !copied) {
        return copied.failure();
    }
    outcome.pruned = PruneBackupFolder(folder, today, keep, &outcome.pruneFailure);
    return outcome;
}

namespace {

// Checks the file chosen for a restore; whether it is of an older schema.
Result<bool> CheckChosen(const QString& chosen, const DataProgressFn& progress)
{
    if (progress && !progress(DataProgress{CoreText::tr("正在检查所选的备份文件"), 0, 0}))
        return Fail(DataCancelledMessage(), FailureKind::Cancelled);
    if (!QFileInfo(chosen).isFile())
        return Invalid(CoreText::tr("%1 不是文件", Shown(chosen)));
    Result<OwnConnection> connection = OwnConnection::Open(chosen);
    if (!connection)
        return connection.failure();
    if (Status schema = CheckSchema(connection->db()); !schema)
        return schema.failure();
    if (Status whole = CheckIntegrity(*connection, progress); !whole)
        return whole.failure();
    const Result<QVector<SchemaStep>> missing = MissingSteps(connection->db());
    if (!missing)
        return missing.failure();
    return !missing->isEmpty();
}

// The chosen file, or when it is older a copy of it brought up to date
// (working), which the caller removes.
Result<QString> UpToDateSource(const QString& chosen, bool older, const QString& working,
                               const DataProgressFn& progress)
{
    if (!older)
        return chosen;
    Status restored = CopyOut(chosen, working, CoreText::tr("正在准备还原的数据"), progress);
    if (restored) {
        restored = BringFileUpToDate(working);
        if (!restored)
            restored = Fail(CoreText::tr("无法在还原的数据中加入新的数据表或索引：%1", restored.said()));
    }
    if (!restored)
        return restored.failure();
    return working;
}

// A restore into the server: the server's data is first kept in bakup like a
// replaced coal.dat, then replaced in one transaction.
Result<RestoreOutcome> RestoreServer(const AppFolder& folder, const DbSettings& database, const QString& chosen,
                                     bool older, const QDateTime& now, const BackupKeep& keep,
                                     const DataProgressFn& progress)
{
    RestoreOutcome outcome;
    if (Status ready = EnsureBackupFolder(folder); !ready)
        return ready.failure();
    outcome.kept = TodaysReplacedCopy(folder, now.date());
    outcome.keptEarlier = !outcome.kept.isEmpty();
    QString madeNow;
    if (!outcome.keptEarlier) {
        outcome.kept = folder.File(QStringLiteral("bakup/") + ReplacedFileName(now));
        const Result<CopyCounts> saved =
            SnapshotServer(database, outcome.kept, CoreText::tr("正在保存还原前的数据"), progress);
        if (!saved)
            return saved.failure();
        madeNow = outcome.kept;
    }
    const QString working = folder.DbPath() + QStringLiteral(".restore");
    Result<QString> source = UpToDateSource(chosen, older, working, progress);
    Status restored = source.status();
    if (restored)
        restored = ReplaceServerData(database, *source, progress).status();
    if (older)
        RemoveDatabaseFiles(working);
    if (!restored) {
        if (!madeNow.isEmpty())
            QFile::remove(madeNow);
        return restored.failure();
    }
    Text ignored;
    outcome.pruned = PruneBackupFolder(folder, now.date(), keep, &ignored);
    return outcome;
}

}  // namespace

Result<RestoreOutcome> RestoreData(const AppFolder& folder, const QString& chosen, const QDateTime& now,
                                   const BackupKeep& keep, const DataProgressFn& progress)
{
    const QString target = folder.DbPath();
    const Result<bool> older = CheckChosen(chosen, progress);
    if (!older)
        return older.failure();
    const DbSettings database = DatabaseOf(folder);
    if (database.onServer())
        return RestoreServer(folder, database, chosen, *older, now, keep, progress);
    if (QFileInfo(chosen).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return RestoreOutcome{};
    if (Status alone = CheckAlone(target); !alone)
        return alone.failure();

    RestoreOutcome outcome;
    QString madeNow;  // a copy made by this restore, removed again if it fails
    if (QFileInfo::exists(target)) {
        if (Status ready = EnsureBackupFolder(folder); !ready)
            return ready.failure();
        outcome.kept = TodaysReplacedCopy(folder, now.date());
        outcome.keptEarlier = !outcome.kept.isEmpty();
        if (!outcome.keptEarlier) {
            outcome.kept = folder.File(QStringLiteral("bakup/") + ReplacedFileName(now));
            if (Status copied = CopyOut(target, outcome.kept, CoreText::tr("正在保存还原前的数据"), progress); !copied)
                return copied.failure();
            madeNow = outcome.kept;
        }
    }
    // An older backup is brought up to date in a copy, in one transaction.
    const QString working = target + QStringLiteral(".restore");
    Result<QString> source = UpToDateSource(chosen, *older, working, progress);
    Status restored = source.status();
    if (restored)
        restored = WriteInPlace(*source, target, CoreText::tr("正在还原数据"), progress);
    if (*older)
        RemoveDatabaseFiles(working);
    if (!restored) {
        if (!madeNow.isEmpty())
            QFile::remove(madeNow);
        return restored.failure();
    }
    Text ignored;
    outcome.pruned = PruneBackupFolder(folder, now.date(), keep, &ignored);
    return outcome;
}

Result<CompactOutcome> CompactDatabase(const AppFolder& folder, const QDate& today, const BackupKeep& keep,
                                       const DataProgressFn& progress)
{
    const DbSettings database = DatabaseOf(folder);
    if (database.onServer())
        return Invalid(CoreText::tr("数据在数据库服务器上（%1），删除方案后留下的空间由服务器自己回收，不需要在这里压缩。",
                                    database.serverName()));
    const QString target = folder.DbPath();
    if (Status alone = CheckAlone(target); !alone)
        return alone.failure();
    CompactOutcome outcome;
    Result<BackupOutcome> backup = BackupData(folder, today, keep, progress);
    if (!backup)
        return Framed(backup.failure(), CoreText::tr("压缩前的数据备份没有完成：%1"));
    outcome.backup = *backup;
    outcome.sizeBefore = QFileInfo(target).size();

    const QString compact = target + QStringLiteral(".compact");
    RemoveDatabaseFiles(compact);
    Status done;
    {
        Result<OwnConnection> source = OwnConnection::Open(target);
        if (!source)
            return source.failure();
        const Result<QVariant> pages = source->value(QStringLiteral("select (select page_count from pragma_page_count)"
                                                                    " - (select freelist_count from pragma_freelist_count)"));
        const Result<QVariant> pageSize = source->value(QStringLiteral("PRAGMA page_size"));
        const qint64 expected = pages && pageSize ? pages->toLongLong() * pageSize->toLongLong() : 0;
        const Text step = CoreText::tr("正在压缩数据");
        QElapsedTimer since;  // the first look at once, then every tenth of a second
        ProgressWatch watch(*source, [&] {
            if (since.isValid() && since.elapsed() < 100)
                return true;
            since.start();
            return !progress || progress(DataProgress{step, QFileInfo(compact).size(), expected});
        });
        QSqlQuery vacuum(source->db());
        if (!vacuum.prepare(QStringLiteral("VACUUM INTO ?")))
            done = Fail(vacuum.lastError().text());
        vacuum.addBindValue(compact);
        if (done && !vacuum.exec()) {
            done = watch.stopped() ? Status(Fail(DataCancelledMessage(), FailureKind::Cancelled))
                                   : Status(Fail(SqliteReason(vacuum.lastError().nativeErrorCode().toInt(),
                                                              vacuum.lastError().databaseText())));
        }
    }
    if (done)
        done = WriteInPlace(compact, target, CoreText::tr("正在写回数据文件"), progress);
    RemoveDatabaseFiles(compact);
    if (!done)
        return done.failure();
    outcome.sizeAfter = QFileInfo(target).size();
    return outcome;
}
