#pragma once

#include "base/Settings.h"
#include "export/PlanListing.h"
#include "ui/widgets/WindowContext.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
class ReportList;

// frmLishi: the saved plans, the shown plan's information text, coals and
// proportion rows; converts the proportions into tons, exports the shown plan
// and deletes plans.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    HistoryWindow(const WindowContext& context, const Settings& settings, QWidget* parent = nullptr);

    // Reloads the plan list from the database and shows the newest plan
    // (after a blending run stored a plan).
    void reloadAndShowNewest();

    int currentPlanId() const { return currentPlanId_; }

    // Handlers, named after their controls and events.
    void Form_Load();
    void lsvLeft_Click();
    void Toolbar1_ButtonClick(int position);
    void lsvBottom_ColumnClick(int column);
    void Command1_Click();
    void HideUnusedColumns();
    QString AskExportFile(int kind);    // 0 page, 1 workbook (.xls or .xlsx); "" when cancelled
    bool ExportPlanToHtml(const QString& path);
    bool ExportPlanToExcel(const QString& path);  // the format the path's extension names

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void loadPlanList();
    void deleteSelectedPlans();
    void exportPlan(int kind);
    void askToOpen(const QString& path);
    void showDatabaseError(const QString& text);
    ShownPlan shownPlan() const;

    WindowContext context_;
    Settings settings_;

    QToolBar* Toolbar1_;
    QGroupBox* fraLeft_;
    QGroupBox* fraTop_;
    QGroupBox* fraMid_;
    QGroupBox* fraBottom_;
    ReportList* lsvLeft_;
    ReportList* lsvMid_;
    ReportList* lsvBottom_;
    QLabel* lbZhibiao_;
    QLineEdit* txtZhongliang_;
    QPushButton* Command1_;
    QLabel* picLOAD_;

    int currentPlanId_ = 0;
    bool loading_ = false;
};
