#pragma once

#include "base/Settings.h"
#include "ui/widgets/WindowContext.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;

// frmConfig: shovel mode, the result columns hidden in the plan history, and
// how many backups bakup keeps, and the basis each index is averaged on when
// the workspace's chkJizhun is ticked.
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
    QRadioButton* optLanguage_[2];
    QList<QCheckBox*> hideBoxes_;
    QLineEdit* txtBakupDays_;
    QLineEdit* txtBakupMonths_;
    QTableWidget* grdJizhun_;
    QList<QComboBox*> basisBoxes_;  // one per index, in table order
    QLabel* lbInfo_;
};
