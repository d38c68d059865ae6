#include "support/PdfText.h"

#include <QProcess>

QStringList PdfPages(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
}

QStringList PdfLineWith(const QString& page, const QString& start)
{
    for (const QString& line : page.split(QLatin1Char('\n')))
        if (line.trimmed().startsWith(start))
            return line.simplified().split(QLatin1Char(' '));
    return {};
}
