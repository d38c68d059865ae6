#pragma once

#include "base/Settings.h"
#include "export/LoaderSheet.h"
#include "export/PlanListing.h"
#include "export/InsightListing.h"
#include "history/PlanSearch.h"
#include "ui/widgets/WindowContext.h"

#include <QWidget>

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class LinesLabel;
class PriceChartView;
class QPushButton;
class QSplitter;
class QToolBar;
class ReportList;
class ShareBar;

// frmLishi: the saved plans (the newest 500, and above them a search by words
// of the plan's text and by date that reaches every plan, 500 to a page), the
// shown plan's information text, coals and
// proportion rows; converts the proportions into tons, exports the shown plan
// and deletes plans. Under the proportion rows, what the plan's targets mean
// for the selected row (lsvLimits, lblMargin) and the unit price of every
// row against its total with the selected row's coal shares (chartPrice,
// chartShares; their context menu saves both as one PNG picture). The
// selected row's loader sheet is saved as PDF (btnZhuangche) or printed
// (btnDayin).
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    HistoryWindow(const WindowContext& context, const Settings& settings, QWidget* parent = nullptr);

    // Reloads the plan list from the database and shows the newest plan
    // (after a blending run stored a plan); a search is cleared.
    void reloadAndShowNewest();
    // Reloads the plan list after another planner stored or deleted a plan,
    // keeping the search, the page and the plan shown while it is there.
    void showOthersChanges();

    int currentPlanId() const { return currentPlanId_; }

    // Handlers, named after their controls and events.
    void Form_Load();
    void lsvLeft_Click();
    void Toolbar1_ButtonClick(int position);
    void lsvBottom_ColumnClick(int column);
    // The search: the plans that match the boxes, from their first page; and
    // the page before or after the one shown.
    void cmdSousuo_Click();
    void cmdShangye_Click();
    void cmdXiaye_Click();
    void Command1_Click();
    void HideUnusedColumns();
    QString AskExportFile(int kind);    // 0 page, 1 workbook (.xls or .xlsx); "" when cancelled
    bool ExportPlanToHtml(const QString& path);
    bool ExportPlanToExcel(const QString& path);  // the format the path's extension names
    // Shows the insight of the selected proportion row (or of none).
    void lsvBottom_SelectionChanged();
    // The chart's context menu: asks for a file and saves both charts in it.
    void saveChart();
    // The loader sheet of the selected proportion row for the tonnage in
    // txtZhongliang (else the plan's own): saved as a PDF file, or printed.
    void btnZhuangche_Click();
    void btnDayin_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void loadPlanList();
    void showPlanPage();       // the list's current page, and its first plan
    void showPageInfo();
    void clearShownPlan();
    void deleteSelectedPlans();
    void exportPlan(int kind);
    void askToOpen(const QString& path);
    void showDatabaseError(const QString& text);
    ShownPlan shownPlan() const;
    void showPlanInsight();
    int selectedBlendId() const;         // record number of the selected proportion row; 0
    void selectBlendById(int id);
    // The selected row's loader sheet; nothing (after saying why) when there is none.
    std::optional<LoaderSheet> loaderSheet();

    WindowContext context_;
    Settings settings_;

    QToolBar* Toolbar1_;
    QGroupBox* fraLeft_;
    QGroupBox* fraTop_;
    QGroupBox* fraMid_;
    QGroupBox* fraBottom_;
    ReportList* lsvLeft_;
    QLineEdit* txtSousuo_;
    QCheckBox* chkRiqi_;
    QDateEdit* dtpFrom_;
    QDateEdit* dtpTo_;
    QPushButton* cmdSousuo_;
    QPushButton* cmdShangye_;
    QPushButton* cmdXiaye_;
    QLabel* lblYeshu_;
    ReportList* lsvMid_;
    ReportList* lsvBottom_;
    QLabel* lbZhibiao_;
    QLineEdit* txtZhongliang_;
    QPushButton* Command1_;
    QLabel* picLOAD_;
    QSplitter* splInsight_;
    QGroupBox* fraInsight_;
    ReportList* lsvLimits_;
    QLabel* lblMargin_;
    QWidget* fraCharts_;
    LinesLabel* lblChart_;
    PriceChartView* chartPrice_;
    ShareBar* chartShares_;

    PlanInsight insight_;
    PlanView plan_;                  // the plan shown, as loaded
    QVector<PlanSummary> pagePlans_; // the plans of the list's page
    PriceChart chart_;

    PlanQuery query_;   // what the list shows: every plan when empty
    int page_ = 1;
    int pageCount_ = 1;
    int total_ = 0;

    int currentPlanId_ = 0;
    int shownBlendId_ = -1;  // the proportion row the insight shows; 0 for none
    bool loading_ = false;
};
