#pragma once

#include <QDialog>

// frmAbout: the program's name and version, shown modal.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

// frmLoading: shown while a list window fills its list from the database.
class LoadingWindow : public QWidget {
    Q_OBJECT
public:
    explicit LoadingWindow(QWidget* parent = nullptr);
};
