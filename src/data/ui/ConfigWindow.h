#pragma once

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QLabel;
class QRadioButton;

// frmConfig: shovel mode and the result columns hidden in the plan history.
class ConfigWindow : public QWidget {
    Q_OBJECT
public:
    explicit ConfigWindow(QWidget* parent = nullptr);

    static ConfigWindow* instance();  // the one settings window

    void btnOk_Click();

private:
    void Form_Load();

    QRadioButton* optChan_[2];
    QList<QCheckBox*> hideBoxes_;
    QLabel* lbInfo_;
};
