#pragma once

#include "base/AppFolder.h"

#include <QDialog>

// frmAbout: the program's name and version, and the folder its data is kept
// in, shown modal.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(const AppFolder& folder, QWidget* parent = nullptr);
};

// frmLoading: shown while a list window fills its list from the database.
class LoadingWindow : public QWidget {
    Q_OBJECT
public:
    explicit LoadingWindow(QWidget* parent = nullptr);
};
