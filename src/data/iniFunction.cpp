#include "data/iniFunction.h"

#include "workspace/CommonFunction.h"

#include <QFile>
#include <QSaveFile>

bool ShovelMode = false;

namespace {

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool IsSectionLine(const QString& line, QString* name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool IsKeyLine(const QString& line, const QString& key, QString* value)
{
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
        return false;
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return true;
}

}  // namespace

QString ReadIni(const AppFolder& folder, const QString& section, const QString& key)
{
    bool inSection = false;
    for (const QString& line : ReadLines(folder.ConfigPath())) {
        QString name;
        if (IsSectionLine(line, &name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString value;
        if (inSection && IsKeyLine(line, key, &value)) {
            // A value may be quoted; the quotes are not part of it.
            if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
                value = value.mid(1, value.size() - 2);
            return value.left(1024);
        }
    }
    return QString();
}

bool WriteIni(const AppFolder& folder, const QString& section, const QString& key,
              const QString& value)
{
    QStringList lines = ReadLines(folder.ConfigPath());
    const QString entry = key + QLatin1Char('=') + value;
    int sectionStart = -1;
    int insertAt = -1;  // after the last non-blank line of the section
    bool written = false;
    for (int i = 0; i < lines.size() && !written; ++i) {
        QString name;
        if (IsSectionLine(lines[i], &name)) {
            if (sectionStart >= 0)
                break;
            if (name.compare(section, Qt::CaseInsensitive) == 0) {
                sectionStart = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionStart < 0)
            continue;
        if (IsKeyLine(lines[i], key, nullptr)) {
            lines[i] = entry;
            written = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!written) {
        if (sectionStart < 0) {
            lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        } else {
            lines.insert(insertAt, entry);
        }
    }
    QSaveFile file(folder.ConfigPath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    return file.commit();
}

bool ReadIniBool(const AppFolder& folder, const QString& section, const QString& key)
{
    const QString value = ReadIni(folder, section, key).trimmed();
    if (value.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
        return true;
    const auto number = ToNumber(value);
    return number && *number != 0.0;
}

int ReadIniInt(const AppFolder& folder, const QString& section, const QString& key)
{
    return ToLongOrZero(ReadIni(folder, section, key));
}

void LoadShovelMode(const AppFolder& folder)
{
    ShovelMode = ReadIniBool(folder, kConfigSection, QStringLiteral("chan"));
}
