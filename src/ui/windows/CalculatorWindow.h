#pragma once

#include "base/BasisWeight.h"
#include "base/Mei.h"

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
    explicit CalculatorWindow(bool shovelMode, QWidget* parent = nullptr);

    // Writes chosen coals into the blank rows (their stock lands in the
    // proportion column).
    void SetTxtValue(const QVector<Mei>& coals);

    // Proportions count shovels (weighted by tons per shovel) or tons.
    void setShovelMode(bool on);

    // Each index averaged on its basis, as the workspace's chkJizhun says.
    void setBasisWeighting(const BasisWeighting& weighting);

    void Command1_Click();
    void tbrMenu_ButtonClick(int index);
    void ClearGrid();

    CoalGridWidget* grid() const { return grid_; }

    // Whether any cell of the grid holds text.
    bool holdsInput() const;

Q_SIGNALS:
    // The toolbar's "选煤混合": the user wants to pick coals from the inventory.
    void selectCoalsRequested();

private:
    void Form_Load();

    void showMode();

    bool shovelMode_ = false;
    BasisWeighting weighting_;

    QToolBar* tbrMenu_;
    QLabel* lbNotice_;
    CoalGridWidget* grid_;
    QPlainTextEdit* txtResult_;
    QPushButton* Command1_;
};
