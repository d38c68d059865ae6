#pragma once

#include "blend/ModelText.h"
#include "workspace/DiagnoseJob.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class QGroupBox;
class QLabel;
class QProgressDialog;
class QPushButton;
class ReportList;

// frmDiagnose: opens when a blending run found no plan. It says why (the
// bounds that cannot hold together, stock problems on their own lines), lists
// what the coals can reach at any of the run's totals for every bounded index
// beside the bounds and the suggested bounds, says at which total the
// suggestion gives a plan and whether a larger proportion count or a smaller
// tonnage alone would, and offers to write the suggestion into the
// workspace's bound boxes. The diagnosis runs on a worker thread as soon as the dialog is
// made; a progress dialog with a cancel button appears when it takes longer
// than half a second.
class DiagnoseDialog : public QDialog {
    Q_OBJECT
public:
    // model: the run's model; total: the largest total the run tried.
    DiagnoseDialog(const ModelInput& model, int total, QWidget* parent = nullptr);
    ~DiagnoseDialog() override;

    // The diagnosis has ended (found, failed or cancelled) and is shown.
    bool isFinished() const { return finished_; }
    const NoPlanReport& report() const { return report_; }

    void btnApply_Click();

Q_SIGNALS:
    void diagnosisFinished();
    // btnApply: the moved bounds' suggested texts, for the workspace's boxes.
    void boundsChosen(const BoundEdits& edits);

private:
    void onProgress(int done, int steps);
    void onJobFinished();
    void showReport(const NoPlanReport& report);
    void fitRows();

    ModelInput model_;
    int total_ = 0;
    std::unique_ptr<DiagnoseJob> job_;
    QPointer<QProgressDialog> progress_;
    NoPlanReport report_;
    bool finished_ = false;

    QLabel* lbSummary_;
    QGroupBox* fraReason_;
    QLabel* lbConflict_;
    QLabel* lbStock_;
    QLabel* lbRules_;
    QLabel* lbSuggestion_;
    QLabel* lbAlternative_;
    QLabel* lbNote_;
    ReportList* lsvReason_;
    QPushButton* btnApply_;
    QPushButton* btnClose_;
};
