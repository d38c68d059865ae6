#pragma once

#include "data/Dbconnection.h"

#include <QPointer>
#include <QWidget>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
class ReportList;

// frmKucun: the coal table as a list; search by name, add, edit, delete the
// ticked coals, export the list as a spreadsheet or an HTML page.
class InventoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit InventoryWindow(QWidget* parent = nullptr);

    static InventoryWindow* instance();  // created on first use
    static InventoryWindow* existing();  // nullptr when not open

    // Refills the list from the current query, and the count from the whole table.
    void addLIST();

    void cmdSearch_Click();
    void Toolbar1_ButtonClick(int position);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void AddCoal();
    void EditCoal();
    void DeleteCoals();
    void Export(int kind);
    QString AskExportFile(int kind);
    bool AnyRowTicked() const;
    void ShowCount();
    void ReportDbError(const DbError& error);
    int px(int twips) const;

    Statement ListQuery;  // every coal, or the latest search
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
