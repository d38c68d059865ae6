#pragma once

#include "data/AppFolder.h"

#include <QString>

// config.ini in the application folder: sections in square brackets and
// key=value lines. Section and key names match regardless of letter case, and
// writing one key keeps every other line of the file as it was.

// The value of key in section; "" when the file, section or key is missing.
QString ReadIni(const AppFolder& folder, const QString& section, const QString& key);

// Writes key=value into section, creating the file, section or key as needed.
// Returns false when the file cannot be written; nothing is raised.
bool WriteIni(const AppFolder& folder, const QString& section, const QString& key,
              const QString& value);

// A key read as a truth value: "1"/"True" (any non-zero number) is true;
// missing or unreadable is false.
bool ReadIniBool(const AppFolder& folder, const QString& section, const QString& key);

// A key read as a whole number; missing or not numeric gives 0.
int ReadIniInt(const AppFolder& folder, const QString& section, const QString& key);

// The section every setting lives in.
inline const QString kConfigSection = QStringLiteral("config");

// Shovel mode: proportions are numbers of shovel loads instead of tons. The
// in-memory copy of the key "chan", shared by the whole program.
extern bool ShovelMode;

// Reads "chan" into ShovelMode; a missing or unreadable key leaves weight mode.
void LoadShovelMode(const AppFolder& folder);
