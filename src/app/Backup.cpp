#include "app/Backup.h"

#include "data/Dbconnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Copies source over target through a temporary file beside the target, so an
// interrupted copy never leaves a half-written target behind.
bool ReplaceFile(const QString& source, const QString& target, QString* error)
{
    const QString temporary = target + QStringLiteral(".part");
    QFile::remove(temporary);
    QFile in(source);
    if (!QFile::copy(source, temporary)) {
        *error = in.exists() ? QStringLiteral("无法复制 %1").arg(QDir::toNativeSeparators(source))
                             : QStringLiteral("找不到文件 %1").arg(QDir::toNativeSeparators(source));
        QFile::remove(temporary);
        return false;
    }
    QFile::setPermissions(temporary, QFile::permissions(temporary) | QFile::WriteOwner);
    if (QFile::exists(target) && !QFile::remove(target)) {
        *error = QStringLiteral("无法替换 %1").arg(QDir::toNativeSeparators(target));
        QFile::remove(temporary);
        return false;
    }
    if (!QFile::rename(temporary, target)) {
        *error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(target));
        QFile::remove(temporary);
        return false;
    }
    return true;
}

}  // namespace

BackupResult BackupData(const AppFolder& folder, const QDate& today)
{
    CloseConnection();
    BackupResult result;
    result.path = folder.file(QStringLiteral("bakup/") + today.toString(QStringLiteral("yyyy-MM-dd"))
                              + QStringLiteral(".bak"));
    if (!QDir().mkpath(folder.BackupDir())) {
        result.error = QStringLiteral("无法创建文件夹 %1").arg(QDir::toNativeSeparators(folder.BackupDir()));
        return result;
    }
    result.ok = ReplaceFile(folder.DbPath(), result.path, &result.error);
    return result;
}

QString ReplacedFileName(const QDateTime& now)
{
    return QStringLiteral("还原前的数据_") + now.toString(QStringLiteral("yyyy-MM-dd-HH-mm-ss"))
           + QStringLiteral(".bak");
}

RestoreResult RestoreData(const AppFolder& folder, const QString& chosen, const QDateTime& now)
{
    CloseConnection();
    RestoreResult result;
    QString detail;
    if (CheckDatabaseFile(chosen, &detail) != DatabaseState::Ready) {
        result.outcome = RestoreOutcome::NotACoalDatabase;
        result.error = detail;
        return result;
    }
    if (QFileInfo(chosen).canonicalFilePath() == QFileInfo(folder.DbPath()).canonicalFilePath()) {
        result.outcome = RestoreOutcome::Restored;
        return result;
    }
    if (QFile::exists(folder.DbPath())) {
        if (!QDir().mkpath(folder.BackupDir())) {
            result.error = QStringLiteral("无法创建文件夹 %1").arg(QDir::toNativeSeparators(folder.BackupDir()));
            return result;
        }
        result.keptCopy = folder.file(QStringLiteral("bakup/") + ReplacedFileName(now));
        if (!ReplaceFile(folder.DbPath(), result.keptCopy, &result.error)) {
            result.keptCopy.clear();
            return result;
        }
    }
    if (!ReplaceFile(chosen, folder.DbPath(), &result.error))
        return result;
    result.outcome = RestoreOutcome::Restored;
    return result;
}
