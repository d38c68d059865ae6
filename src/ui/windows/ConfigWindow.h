#pragma once

#include "base/Settings.h"
#include "ui/widgets/WindowContext.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// frmConfig: shovel mode, the result columns hidden in the plan history, and
// how many backups bakup keeps.
class ConfigWindow : public QWidget {
    Q_OBJECT
public:
    explicit ConfigWindow(const WindowContext& context, QWidget* parent = nullptr);

    void btnOk_Click();

signals:
    // The settings were written to config.ini; the window closes after it.
    void settingsSaved(const Settings& settings);

private:
    void Form_Load();

    WindowContext context_;
    QRadioButton* optChan_[2];
    QList<QCheckBox*> hideBoxes_;
    QLineEdit* txtBakupDays_;
    QLineEdit* txtBakupMonths_;
    QLabel* lbInfo_;
};
