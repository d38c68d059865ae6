#pragma once

#include "data/Mei.h"
#include "workspace/Validation.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QSize>
#include <QVector>

#include <array>

class CoalGridWidget;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
struct RunOutcome;

// frmMain: the main window and blending workspace. The user fills the coal grid
// and the bounds, and starts a blending run. The menu bar and the main toolbar
// sit above the workspace (the central widget), whose controls keep their
// proportional places whatever the window's size.
class WorkspaceWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit WorkspaceWindow(QWidget* parent = nullptr);

    static WorkspaceWindow* instance();          // created on first use
    static WorkspaceWindow* existing();          // nullptr when not created

    // Writes the selected coals into the grid's free rows.
    void SetTxtValue(const QVector<Mei>& coals);

    // Empties every row and unticks every box.
    void ClearGrid();

    // The blending run with its progress dialog and messages.
    void RunBlending();

    // What the user has typed, as the run reads it.
    WorkspaceInput Input() const;

    // The workspace's size at which every control has its design geometry.
    static QSize DesignClientSize();

    // The coals of the latest run.
    const QVector<Mei>& CoalList() const { return coalList_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void chkJingque_Click();
    void chkAll_Click();
    void tbrMenu_ButtonClick(int index);
    void Command1_Click() { RunBlending(); }

    void BuildToolbar(QWidget* parent);
    void BuildGridFrame(QWidget* parent);
    void BuildTargetFrame(QWidget* parent);
    void BuildOptionsFrame(QWidget* parent);
    void Track(QWidget* control, const QRect& design, bool hasFont = true);
    void ShowOutcome(const RunOutcome& outcome);

    QWidget* client_ = nullptr;
    QObject* indicatorStyle_ = nullptr;
    QList<QWidget*> scaled_;
    CoalGridWidget* grid_ = nullptr;
    QToolBar* tbrMenu_ = nullptr;
    QLabel* picBanner_ = nullptr;
    QCheckBox* chkAll_ = nullptr;
    QCheckBox* chkJingque_ = nullptr;
    QLineEdit* txtZhongliang_ = nullptr;
    QLineEdit* txtChanshu_ = nullptr;
    QPushButton* Command1_ = nullptr;
    std::array<QLineEdit*, 15> minBoxes_{};
    std::array<QLineEdit*, 15> maxBoxes_{};
    QVector<Mei> coalList_;
    bool running_ = false;
    bool sized_ = false;
};
