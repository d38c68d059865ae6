#pragma once

#include <QDialog>
#include <QPointer>

class QPushButton;
class ReportList;

// frmSelect: picks coals from the coal table into the grid of the window that
// opened it ("frmMain" for the workspace, anything else for the calculator).
class SelectDialog : public QDialog {
    Q_OBJECT
public:
    explicit SelectDialog(QWidget* parent = nullptr);

    // Opens the dialog for the given opener; modal for the calculator.
    static SelectDialog* open(const QString& openner);

    // At most this many coals take part in a blend: the grids have ten rows.
    static constexpr int kMaxCoals = 10;

    QString Openner;

    void btnCheckAll_Click();
    void Command1_Click() { ConfirmSelection(); }
    void lsvTop_Click(int row);

private:
    void Form_Load();
    void ConfirmSelection();
    void FlipRow(int row);

    ReportList* lsvTop_;
    QPushButton* btnCheckAll_;
    QPushButton* Command1_;
    int toggledByBox_ = -1;
};
