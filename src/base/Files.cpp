#include "base/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <atomic>

namespace {

std::atomic<int> g_simulatedFullDiskWrites{0};

// Room a file system keeps beyond the bytes themselves (a new file's blocks).
constexpr qint64 kRoomForNewFile = 64 * 1024;

const char* const kIsAFolder = QT_TRANSLATE_NOOP("CoreText", "这是一个文件夹，不是文件");
const char* const kDiskFull = QT_TRANSLATE_NOOP("CoreText", "磁盘空间不足");
const char* const kNoFileName = QT_TRANSLATE_NOOP("CoreText", "没有给出文件名");

}  // namespace

void SimulateFullDiskForWrites(int count)
{
    g_simulatedFullDiskWrites = count;
}

Text WriteFailedMessage(const QString& path, const Text& reason)
{
    return CoreText::tr("无法写入文件 %1：%2", QDir::toNativeSeparators(path), reason);
}

Text WriteFailureReason(const QString& path, qint64 count, const QString& systemReason)
{
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (info.isDir())
        return CoreText::tr(kIsAFolder);
    if (!folder.exists() || !folder.isDir())
        return CoreText::tr("文件夹 %1 不存在", QDir::toNativeSeparators(folder.filePath()));
    if (QFile::encodeName(info.fileName()).size() > 255)
        return CoreText::tr("文件名太长");
    if (!folder.isWritable())
        return CoreText::tr("没有在文件夹 %1 中写入的权限", QDir::toNativeSeparators(folder.filePath()));
    const QStorageInfo storage(folder.absoluteFilePath());
    if (storage.isValid() && storage.bytesAvailable() < count + kRoomForNewFile)
        return CoreText::tr(kDiskFull);
    if (systemReason.isEmpty())
        return CoreText::tr("写入失败");
    return systemReason;
}

Status WriteWholeFile(const QString& path, QByteArrayView bytes)
{
    if (path.isEmpty())
        return Fail(CoreText::tr(kNoFileName));
    if (g_simulatedFullDiskWrites > 0) {
        --g_simulatedFullDiskWrites;
        return Fail(WriteFailedMessage(path, CoreText::tr(kDiskFull)));
    }
    if (QFileInfo(path).isDir())
        return Fail(WriteFailedMessage(path, CoreText::tr(kIsAFolder)));
    QSaveFile file(path);
    // Unbuffered, so that a write the disk refuses fails at once: a buffered
    // one fails only when the buffer is flushed on commit, and commit then
    // still puts the short new file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Fail(WriteFailedMessage(path, WriteFailureReason(path, bytes.size(), file.errorString())));
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()
        || file.error() != QFileDevice::NoError) {
        const Text why = WriteFailureReason(path, bytes.size(), file.errorString());
        file.cancelWriting();
        return Fail(WriteFailedMessage(path, why));
    }
    if (!file.commit())
        return Fail(WriteFailedMessage(path, WriteFailureReason(path, bytes.size(), file.errorString())));
    return {};
}

FileReplacement::FileReplacement(const QString& path) : path_(path), file_(path) {}

FileReplacement::~FileReplacement()
{
    if (file_.isOpen())
        file_.cancelWriting();
}

bool FileReplacement::writeFailed() const
{
    return simulatedFull_ || file_.error() != QFileDevice::NoError;
}

Failure FileReplacement::failure(const QString& reason) const
{
    if (simulatedFull_)
        return Fail(WriteFailedMessage(path_, CoreText::tr(kDiskFull)));
    const qint64 written = file_.isOpen() ? file_.size() : 0;
    return Fail(WriteFailedMessage(path_, WriteFailureReason(path_, written, reason)));
}

Status FileReplacement::open()
{
    if (path_.isEmpty())
        return Fail(CoreText::tr(kNoFileName));
    if (QFileInfo(path_).isDir())
        return Fail(WriteFailedMessage(path_, CoreText::tr(kIsAFolder)));
    if (g_simulatedFullDiskWrites > 0) {
        --g_simulatedFullDiskWrites;
        simulatedFull_ = true;
    }
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(file_.errorString());
    return {};
}

Failure FileReplacement::abandon(const Text& reason)
{
    const Failure why = writeFailed() ? failure(file_.errorString()) : Fail(WriteFailedMessage(path_, reason));
    if (file_.isOpen()) {
        file_.cancelWriting();
        (void)file_.commit();  // ends the cancelled writing: removes the new file
    }
    return why;
}

Status FileReplacement::commit()
{
    if (!file_.isOpen())
        return failure(QString());
    if (writeFailed())
        return abandon(QString());
    if (!file_.commit())
        return failure(file_.errorString());
    return {};
}

Status SaveTextFile(const QString& path, const QString& text)
{
    const QByteArray bytes = (text + QStringLiteral("\r\n")).toUtf8();
    return WriteWholeFile(path, bytes);
}

Result<QString> ReadTextFile(const QString& path, bool whole)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        return Fail(CoreText::tr("找不到文件 %1", shown));
    if (!info.isFile())
        return Fail(CoreText::tr("%1 不是文件", shown));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(CoreText::tr("无法读取文件 %1：%2", shown, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Fail(CoreText::tr("无法读取文件 %1：%2", shown, file.errorString()));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString text = QString::fromUtf8(bytes);

    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r')) {
            result.append(c);
            continue;
        }
        // A line ends here (CR LF or a lone CR).
        if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        if (!whole)
            return result;
    }
    return result;
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}
