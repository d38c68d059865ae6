#include "export/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool SaveTextFile(const QString& path, const QString& text)
{
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = (text + QStringLiteral("\r\n")).toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString ReadTextFile(const QString& path, bool whole)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString text = QString::fromUtf8(bytes);

    QString result;
    result.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
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
