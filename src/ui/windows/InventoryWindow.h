#pragma once

#include "base/Mei.h"
#include "base/Result.h"
#include "ui/widgets/WindowContext.h"

#include <QWidget>

#include <memory>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
class CoalListing;
class ReportList;

// frmKucun: the coal table as a list; search by name, add, edit, delete the
// ticked coals, import coals from a spreadsheet or CSV file, export the list
// as a workbook (.xls or .xlsx) or an HTML page. The list holds only the
// coals' numbers in the order shown; rows are read as they come into view
// and as an export writes them, so a yard of any size opens at once.
class InventoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit InventoryWindow(const WindowContext& context, QWidget* parent = nullptr);

    // Refills the list from the current query (every coal, or the latest
    // search), and the count from the whole table.
    void addLIST();
    // Refills the list after another planner's change, keeping the search,
    // the ticks, the selected row and the scroll position.
    void showOthersChanges();

    void cmdSearch_Click();
    void Toolbar1_ButtonClick(int position);

    // "导入煤种": asks for the file to import and hands it on.
    void importCoals();

signals:
    void addCoalRequested();
    void editCoalRequested(int id);
    // The user chose a file to import coals from.
    void importRequested(const QString& path);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void editCoal();
    void deleteCoals();
    void exportList(int kind);
    QString AskExportFile(int kind);  // 0 page, 1 workbook; "" when cancelled
    bool anyRowTicked() const;
    void showCount();
    void reportFailure(const QString& message);
    int px(int twips) const;

    WindowContext context_;
    std::shared_ptr<CoalListing> listing_;  // what ListView1 shows
    QString searched_;       // the latest search; "" lists every coal
    bool searching_ = false;
    bool unreadableSaid_ = false;
    int sortColumn_ = -1;

    QToolBar* Toolbar1_;
    ReportList* ListView1_;
    QLabel* Label3_;
    QLabel* labCONUT_;
    QFrame* Picture1_;
    QLineEdit* txtSearch_;
    QPushButton* cmdSearch_;
    QFrame* picLOAD_;
    QFrame* PicLEFT_;
};
