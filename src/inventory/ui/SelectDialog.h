#pragma once

#include <QDialog>
#include <QPointer>

// frmSelect: picks coals from the coal table into the grid of the window that
// opened it ("frmMain" for the workspace, anything else for the calculator).
class SelectDialog : public QDialog {
    Q_OBJECT
public:
    explicit SelectDialog(QWidget* parent = nullptr);

    // Opens the dialog for the given opener; modal for the calculator.
    static SelectDialog* open(const QString& openner);

    QString Openner;
};
