#pragma once

#include "base/AppFolder.h"

#include <QString>

#include <memory>

class Windows;

// The program's entry procedure: takes the application folder, refuses a second
// copy, checks or creates coal.dat, creates bakup when missing and shows the
// splash window, which opens the main window. Returns the session's windows,
// or nothing when the program must end at once.
std::unique_ptr<Windows> Main(const AppFolder& folder);

// Loads Qt's own Chinese texts, so standard buttons and dialogs read in Chinese.
void InstallChineseTranslation();

// Puts the interface in a language of the settings ("zh" or "en"): the
// program's translation and Qt's own, and the locale of dates and numbers.
// False when the translation for it could not be loaded (the texts then stay
// Chinese).
bool InstallLanguage(const QString& language);
