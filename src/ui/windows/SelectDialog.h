#pragma once

#include "base/Mei.h"
#include "ui/widgets/WindowContext.h"

#include <QDialog>
#include <QVector>

class QPushButton;
class ReportList;

// frmSelect: picks coals from the coal table for the grid of the window that
// opened it; whoever opened it takes the chosen coals from coalsChosen.
class SelectDialog : public QDialog {
    Q_OBJECT
public:
    explicit SelectDialog(const WindowContext& context, QWidget* parent = nullptr);

    // At most this many coals take part in a blend: the grids have ten rows.
    static constexpr int kMaxCoals = 10;

    void btnCheckAll_Click();
    void Command1_Click() { ConfirmSelection(); }
    void lsvTop_Click(int row);

Q_SIGNALS:
    // The ticked coals, in ascending number order; the dialog closes after it.
    void coalsChosen(const QVector<Mei>& coals);

private:
    void Form_Load();
    void ConfirmSelection();
    void flipRow(int row);

    WindowContext context_;
    ReportList* lsvTop_;
    QPushButton* btnCheckAll_;
    QPushButton* Command1_;
    int toggledByBox_ = -1;
};
