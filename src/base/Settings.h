#pragma once

#include "base/AppFolder.h"
#include "base/BasisWeight.h"
#include "base/Result.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <utility>

// config.ini in the application folder: sections in square brackets and
// key=value lines. Section and key names match regardless of letter case, and
// writing keys keeps every other line of the file as it was. The program reads
// its settings once and hands them on as a value; nothing keeps a copy of its own.

// The section every setting lives in.
inline const QString kConfigSection = QStringLiteral("config");

// The value of key in section; "" when the file, section or key is missing.
// A value in double quotes loses them.
QString ReadIni(const AppFolder& folder, const QString& section, const QString& key);

// A key read as a truth value: "True" (any letter case) or a non-zero number
// is true; missing or anything else is false.
bool ReadIniBool(const AppFolder& folder, const QString& section, const QString& key);

// A key read as a whole number (halves to even); missing or not numeric gives 0.
int ReadIniInt(const AppFolder& folder, const QString& section, const QString& key);

// Writes key=value into section of the file's lines, creating the section or
// key as needed: an existing key is replaced where it stands, a new one goes
// after the last non-blank line of its section, a new section at the end.
void SetIniValue(QStringList& lines, const QString& section, const QString& key, const QString& value);

// What the settings window sets.
struct Settings {
    // Proportions count shovel loads, each weighted by its coal's tons per
    // shovel, instead of tons (key "chan").
    bool shovelMode = false;
    // The keys of the hideable indices whose result columns are hidden (value 1),
    // in the order of the index table.
    QStringList hiddenIndexKeys;
    // Each index averaged on its basis (key "jizhun", 0/1), and the bases
    // chosen: key "jizhun_" + the index's column ("jizhun_HuiFen=d"), written
    // only for an index whose basis differs from its default (BasisCode).
    BasisWeighting weighting;

    // Backups kept in bakup: the newest backupDays backups, and the newest of
    // each of the last backupMonths months (keys "bakupdays", "bakupmonths").
    int backupDays = kDefaultBackupDays;
    // The interface's language (key "lang"): "zh" (the default) or "en".
    // It takes effect at the next start.
    QString language = kChinese;
    int backupMonths = kDefaultBackupMonths;

    static inline const QString kChinese = QStringLiteral("zh");
    static inline const QString kEnglish = QStringLiteral("en");
    static constexpr int kDefaultBackupDays = 14;
    static constexpr int kDefaultBackupMonths = 12;
    static constexpr int kMostBackupDays = 999;
    static constexpr int kMostBackupMonths = 999;

    bool hides(const QString& key) const { return hiddenIndexKeys.contains(key); }
    bool operator==(const Settings&) const = default;
};

// The keys of the indices that can be hidden, in the order of the index table.
QStringList HideableIndexKeys();

// Reads the settings; anything missing or unreadable gives the default.
Settings ReadSettings(const AppFolder& folder);

// Takes the typed numbers of backups to keep into settings; kind Invalid,
// naming the box, when one is not a whole number in its range (days 1 to
// 999, months 0 to 999).
Status SetBackupKeep(Settings& settings, const QString& days, const QString& months);

// Writes every setting in one replacement of config.ini: the file changes only
// once its new content is wholly written, so a failure leaves it as it was.
Status SaveSettings(const AppFolder& folder, const Settings& settings);

// The config.ini key of an index's basis: "jizhun_" + its column.
QString BasisKey(int index);

// Writes only the basis weighting switch ("jizhun"), as SaveSettings writes.
Status SaveBasisWeightingOn(const AppFolder& folder, bool on);

// Writes the keys into section of config.ini, keeping every other line, in one
// replacement of the file (a failure leaves it as it was).
Status WriteIniValues(const AppFolder& folder, const QString& section,
                      const QVector<std::pair<QString, QString>>& values);
