#include "base/Settings.h"

#include "base/Files.h"
#include "base/NumberText.h"
#include "base/QualityIndex.h"

#include <QDir>
#include <QFile>

#include <functional>
#include <optional>

namespace {

const char* const kNotSaved = QT_TRANSLATE_NOOP("CoreText", "设置没有保存，原来的设置保持不变。\n%1");
const char* const kCannotRead = QT_TRANSLATE_NOOP("CoreText", "无法读取文件 %1");

// The file's lines without their endings; nothing when it exists but cannot be read.
std::optional<QStringList> ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return QStringList();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
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
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
        return false;
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return true;
}

const QString kShovelKey = QStringLiteral("chan");
const QString kWeightingKey = QStringLiteral("jizhun");

// The positions of key's lines in section of the file's lines.
QList<int> IniKeyLines(const QStringList& lines, const QString& section, const QString& key)
{
    QList<int> found;
    bool inSection = false;
    for (int i = 0; i < lines.size(); ++i) {
        QString name;
        if (IsSectionLine(lines[i], &name))
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
        else if (inSection && IsKeyLine(lines[i], key, nullptr))
            found << i;
    }
    return found;
}

// Removes key from section of the file's lines; nothing when it is not there.
void RemoveIniValue(QStringList& lines, const QString& section, const QString& key)
{
    const QList<int> found = IniKeyLines(lines, section, key);
    for (auto at = found.crbegin(); at != found.crend(); ++at)
        lines.removeAt(*at);
}

// The switch, and a key for each index whose basis is not its default; the
// key of one back at its default goes.
void SetBasisWeighting(QStringList& lines, const BasisWeighting& weighting)
{
    // Like the backup counts, the switch is written once it was turned on: a
    // file the user never set it in keeps its lines.
    if (weighting.on || !IniKeyLines(lines, kConfigSection, kWeightingKey).isEmpty())
        SetIniValue(lines, kConfigSection, kWeightingKey, weighting.on ? QStringLiteral("1") : QStringLiteral("0"));
    const std::array<Basis, kIndexCount> defaults = DefaultBases();
    for (int i = 0; i < kIndexCount; ++i) {
        if (weighting.basis[i] == defaults[i])
            RemoveIniValue(lines, kConfigSection, BasisKey(i));
        else
            SetIniValue(lines, kConfigSection, BasisKey(i), BasisCode(weighting.basis[i]));
    }
}

// The file's lines changed by edit, written in one replacement.
Status EditSettingsFile(const AppFolder& folder, const std::function<void(QStringList&)>& edit)
{
    std::optional<QStringList> read = ReadLines(folder.ConfigPath());
    if (!read)
        return Fail(CoreText::tr(kNotSaved, CoreText::tr(kCannotRead, QDir::toNativeSeparators(folder.ConfigPath()))));
    edit(*read);
    const QByteArray bytes = read->join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    const Status written = WriteWholeFile(folder.ConfigPath(), bytes);
    if (!written)
        return Fail(CoreText::tr(kNotSaved, written.said()));
    return {};
}

const QString kBackupDaysKey = QStringLiteral("bakupdays");
const QString kBackupMonthsKey = QStringLiteral("bakupmonths");
const QString kLanguageKey = QStringLiteral("lang");

// A whole number from first to last, typed with nothing else around it.
std::optional<int> WholeNumber(const QString& text, int first, int last)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < first || value > last)
        return std::nullopt;
    return value;
}

}  // namespace

QString ReadIni(const AppFolder& folder, const QString& section, const QString& key)
{
    bool inSection = false;
    for (const QString& line : ReadLines(folder.ConfigPath()).value_or(QStringList())) {
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

bool ReadIniBool(const AppFolder& folder, const QString& section, const QString& key)
{
    const QString value = ReadIni(folder, section, key).trimmed();
    if (value.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
        return true;
    const auto number = ReadNumberText(value);
    return number && *number != 0.0;
}

int ReadIniInt(const AppFolder& folder, const QString& section, const QString& key)
{
    return ToLongOrZero(ReadIni(folder, section, key));
}

void SetIniValue(QStringList& lines, const QString& section, const QString& key, const QString& value)
{
    const QString entry = key + QLatin1Char('=') + value;
    int sectionStart = -1;
    int insertAt = -1;  // after the last non-blank line of the section
    for (int i = 0; i < lines.size(); ++i) {
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
            return;
        }
        if (!lines[i].trimmed().isEmpty())
            insertAt = i + 1;
    }
    if (sectionStart < 0)
        lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    else
        lines.insert(insertAt, entry);
}

QStringList HideableIndexKeys()
{
    QStringList keys;
    for (const QualityIndex& index : QualityIndices())
        if (*index.hideKey)
            keys << QLatin1String(index.hideKey);
    return keys;
}

Settings ReadSettings(const AppFolder& folder)
{
    Settings settings;
    settings.shovelMode = ReadIniBool(folder, kConfigSection, kShovelKey);
    for (const QString& key : HideableIndexKeys())
        if (ReadIniInt(folder, kConfigSection, key) == 1)
            settings.hiddenIndexKeys << key;
    settings.backupDays = WholeNumber(ReadIni(folder, kConfigSection, kBackupDaysKey), 1, Settings::kMostBackupDays)
                              .value_or(Settings::kDefaultBackupDays);
    settings.backupMonths = WholeNumber(ReadIni(folder, kConfigSection, kBackupMonthsKey), 0,
                                        Settings::kMostBackupMonths)
                                .value_or(Settings::kDefaultBackupMonths);
    settings.weighting.on = ReadIniBool(folder, kConfigSection, kWeightingKey);
    if (ReadIni(folder, kConfigSection, kLanguageKey).trimmed().compare(Settings::kEnglish, Qt::CaseInsensitive) == 0)
        settings.language = Settings::kEnglish;
    for (int i = 0; i < kIndexCount; ++i)
        if (const auto basis = BasisFromCode(ReadIni(folder, kConfigSection, BasisKey(i))))
            settings.weighting.basis[i] = *basis;
    return settings;
}

Status SetBackupKeep(Settings& settings, const QString& days, const QString& months)
{
    const std::optional<int> dayCount = WholeNumber(days, 1, Settings::kMostBackupDays);
    if (!dayCount)
        return Invalid(CoreText::tr("“保留最近……个每日备份”应是 1 到 %1 之间的整数。", QString::number(Settings::kMostBackupDays)));
    const std::optional<int> monthCount = WholeNumber(months, 0, Settings::kMostBackupMonths);
    if (!monthCount)
        return Invalid(CoreText::tr("“最近……个月每月保留一个备份”应是 0 到 %1 之间的整数。",
                                    QString::number(Settings::kMostBackupMonths)));
    settings.backupDays = *dayCount;
    settings.backupMonths = *monthCount;
    return {};
}

Status SaveSettings(const AppFolder& folder, const Settings& settings)
{
    std::optional<QStringList> read = ReadLines(folder.ConfigPath());
    if (!read)
        return Fail(CoreText::tr(kNotSaved, CoreText::tr(kCannotRead, QDir::toNativeSeparators(folder.ConfigPath()))));
    QStringList& lines = *read;
    SetIniValue(lines, kConfigSection, kShovelKey, settings.shovelMode ? QStringLiteral("1") : QStringLiteral("0"));
    for (const QString& key : HideableIndexKeys())
        SetIniValue(lines, kConfigSection, key, settings.hides(key) ? QStringLiteral("1") : QStringLiteral("0"));
    // The backup counts are written once they were changed from what a
    // missing key means: a file the user never set them in keeps its lines.
    const auto setCount = [&](const QString& key, int value, int missing) {
        if (value != missing || !ReadIni(folder, kConfigSection, key).isEmpty())
            SetIniValue(lines, kConfigSection, key, QString::number(value));
    };
    setCount(kBackupDaysKey, settings.backupDays, Settings::kDefaultBackupDays);
    setCount(kBackupMonthsKey, settings.backupMonths, Settings::kDefaultBackupMonths);
    SetBasisWeighting(lines, settings.weighting);
    // Like the backup counts, the language is written once it was chosen.
    if (settings.language != Settings::kChinese || !ReadIni(folder, kConfigSection, kLanguageKey).isEmpty())
        SetIniValue(lines, kConfigSection, kLanguageKey, settings.language);
    const QByteArray bytes = lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    const Status written = WriteWholeFile(folder.ConfigPath(), bytes);
    if (!written)
        return Fail(CoreText::tr(kNotSaved, written.said()));
    return {};
}

QString BasisKey(int index)
{
    return kWeightingKey + QLatin1Char('_') + QLatin1String(QualityIndices()[index].column);
}

Status SaveBasisWeightingOn(const AppFolder& folder, bool on)
{
    return EditSettingsFile(folder, [&](QStringList& lines) {
        SetIniValue(lines, kConfigSection, kWeightingKey, on ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

Status WriteIniValues(const AppFolder& folder, const QString& section,
                      const QVector<std::pair<QString, QString>>& values)
{
    std::optional<QStringList> lines = ReadLines(folder.ConfigPath());
    if (!lines)
        return Fail(CoreText::tr(kCannotRead, QDir::toNativeSeparators(folder.ConfigPath())));
    for (const auto& [key, value] : values)
        SetIniValue(*lines, section, key, value);
    return WriteWholeFile(folder.ConfigPath(), lines->join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
}
