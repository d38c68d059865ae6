#pragma once

#include "base/AppFolder.h"

#include <memory>

class Windows;

// The program's entry procedure: takes the application folder, refuses a second
// copy, checks or creates coal.dat, creates bakup when missing and shows the
// splash window, which opens the main window. Returns the session's windows,
// or nothing when the program must end at once.
std::unique_ptr<Windows> Main(const AppFolder& folder);

// Loads Qt's own Chinese texts, so standard buttons and dialogs read in Chinese.
void InstallChineseTranslation();
