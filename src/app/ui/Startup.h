#pragma once

#include "data/AppFolder.h"

#include <QString>

class QLockFile;

// Refuses a second running copy of the program for the same application folder
// (the copies would write the same coal.dat). Works across processes.
class SingleInstance {
public:
    explicit SingleInstance(const AppFolder& folder);
    ~SingleInstance();
    bool acquired() const { return acquired_; }

private:
    QLockFile* lock_;
    bool acquired_ = false;
};

// The program's entry procedure: takes the application folder, refuses a second
// copy, checks or creates coal.dat, creates bakup when missing and shows the
// splash window. Returns false when the program must end at once.
bool Main(const AppFolder& folder);

// Loads Qt's own Chinese texts, so standard buttons and dialogs read in Chinese.
void InstallChineseTranslation();
