#pragma once

#include "data/Mei.h"

#include <QPointer>
#include <QVector>
#include <QWidget>

class CoalGridWidget;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolBar;

// frmTest: the manual calculator. The user types the coals and a proportion
// per coal (in the stock column); the window shows the indices and the price
// of that mix. Nothing is stored.
class CalculatorWindow : public QWidget {
    Q_OBJECT
public:
    explicit CalculatorWindow(QWidget* parent = nullptr);

    static CalculatorWindow* instance();  // the one calculator
    static CalculatorWindow* existing();  // nullptr when not open

    // Writes chosen coals into the blank rows (their stock lands in the
    // proportion column).
    void SetTxtValue(const QVector<Mei>& coals);

    void Command1_Click();
    void tbrMenu_ButtonClick(int index);
    void ClearGrid();

    CoalGridWidget* grid() const { return grid_; }

private:
    void Form_Load();

    QToolBar* tbrMenu_;
    QLabel* lbNotice_;
    CoalGridWidget* grid_;
    QPlainTextEdit* txtResult_;
    QPushButton* Command1_;
};
