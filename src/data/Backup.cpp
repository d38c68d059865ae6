#include "data/Backup.h"

#include "base/Files.h"
#include "data/Dbconnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

namespace {

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Copies source over target through a temporary file beside the target, so an
// interrupted copy never leaves a half-written target behind. prepare, when
// given, works on the complete copy before it takes the target's place; its
// failure leaves the target as it was.
Status ReplaceFile(const QString& source, const QString& target,
                   const std::function<Status(const QString&)>& prepare = {})
{
    const QString temporary = target + QStringLiteral(".part");
    QFile::remove(temporary);
    QFile in(source);
    if (!in.exists())
        return Fail(QStringLiteral("找不到文件 %1").arg(Shown(source)));
    if (!QFile::copy(source, temporary)) {
        QFile::remove(temporary);
        return Fail(QStringLiteral("无法复制 %1 到 %2：%3")
                        .arg(Shown(source), Shown(target), WriteFailureReason(temporary, in.size(), QString())));
    }
    QFile::setPermissions(temporary, QFile::permissions(temporary) | QFile::WriteOwner);
    if (prepare) {
        if (Status prepared = prepare(temporary); !prepared) {
            QFile::remove(temporary);
            return prepared;
        }
    }
    if (QFileInfo::exists(target) && !QFile::remove(target)) {
        QFile::remove(temporary);
        return Fail(QStringLiteral("无法替换 %1：%2").arg(Shown(target), WriteFailureReason(target, 0, QString())));
    }
    if (!QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        return Fail(QStringLiteral("无法写入 %1：%2").arg(Shown(target), WriteFailureReason(target, 0, QString())));
    }
    return {};
}

Status EnsureBackupFolder(const AppFolder& folder)
{
    const QFileInfo info(folder.BackupDir());
    if (info.exists() && !info.isDir())
        return Fail(QStringLiteral("%1 是一个文件，不是文件夹，不能在其中保存备份").arg(Shown(folder.BackupDir())));
    if (!QDir().mkpath(folder.BackupDir()))
        return Fail(QStringLiteral("无法创建文件夹 %1：%2")
                        .arg(Shown(folder.BackupDir()), WriteFailureReason(folder.BackupDir(), 0, QString())));
    return {};
}

}  // namespace

Result<QString> BackupData(const AppFolder& folder, const QDate& today)
{
    CloseConnection();
    const QString path =
        folder.File(QStringLiteral("bakup/") + today.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".bak"));
    if (Status ready = EnsureBackupFolder(folder); !ready)
        return ready.failure();
    if (Status copied = ReplaceFile(folder.DbPath(), path); !copied)
        return copied.failure();
    return path;
}

QString ReplacedFileName(const QDateTime& now)
{
    return QStringLiteral("还原前的数据_") + now.toString(QStringLiteral("yyyy-MM-dd-HH-mm-ss"))
           + QStringLiteral(".bak");
}

Result<QString> RestoreData(const AppFolder& folder, const QString& chosen, const QDateTime& now)
{
    CloseConnection();
    if (Status checked = CheckDatabaseFile(chosen, true); !checked)
        return Invalid(checked.message());
    if (QFileInfo(chosen).canonicalFilePath() == QFileInfo(folder.DbPath()).canonicalFilePath())
        return QString();
    QString kept;
    if (QFileInfo::exists(folder.DbPath())) {
        if (Status ready = EnsureBackupFolder(folder); !ready)
            return ready.failure();
        kept = folder.File(QStringLiteral("bakup/") + ReplacedFileName(now));
        if (Status copied = ReplaceFile(folder.DbPath(), kept); !copied)
            return copied.failure();
    }
    // A backup made before the added tables existed is restored with them.
    const auto addTables = [](const QString& copy) -> Status {
        if (Status added = AddMissingTables(copy); !added)
            return Fail(QStringLiteral("无法在还原的数据中加入保存方案指标的数据表：%1").arg(added.message()));
        return {};
    };
    if (Status copied = ReplaceFile(chosen, folder.DbPath(), addTables); !copied)
        return copied.failure();
    return kept;
}
