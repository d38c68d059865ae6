#pragma once

#include "base/Mei.h"
#include "workspace/BlendRun.h"
#include "workspace/DiagnoseJob.h"
#include "workspace/TargetSets.h"
#include "workspace/Validation.h"
#include "workspace/WorkspaceState.h"
#include "ui/widgets/WindowContext.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QSize>
#include <QVector>

#include <array>
#include <memory>

class CoalGridWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QTimer;
class QToolBar;

// frmMain: the main window and blending workspace. The user fills the coal grid
// and the bounds, and starts a blending run. The menu bar and the main toolbar
// sit above the workspace (the central widget), whose controls keep their
// proportional places whatever the window's size. Target sets (cboMuban) keep
// bounds and options under a name in the database; the whole workspace is
// kept in the application folder as it is left (a moment after each change,
// and on closing) and comes back when the window is made again.
class WorkspaceWindow : public QMainWindow {
    Q_OBJECT
public:
    WorkspaceWindow(const WindowContext& context, bool shovelMode, QWidget* parent = nullptr);
    ~WorkspaceWindow() override;

    // Writes the selected coals into the grid's free rows.
    void SetTxtValue(const QVector<Mei>& coals);

    // Empties every row and unticks every box.
    void ClearGrid();

    // Starts a blending run: the input is checked here, then solved on a
    // worker thread while a progress dialog with a cancel button shows the
    // total being solved; the window keeps painting and answering. The end
    // is told by runFinished (and planStored when a plan was stored).
    void RunBlending();
    bool running() const { return job_ != nullptr; }

    // Proportions count shovels (weighted by tons per shovel) or tons.
    void setShovelMode(bool on) { shovelMode_ = on; }

    // Whether chkJizhun is ticked, and the bases a ticked box averages the
    // indices on (the settings'); writes nothing.
    void setBasisWeighting(const BasisWeighting& weighting);

    // What the user has typed, as the run reads it.
    WorkspaceInput readInput() const;

    // The workspace's size at which every control has its design geometry.
    static QSize designClientSize();

    // The coals of the latest run.
    const QVector<Mei>& CoalList() const { return coalList_; }

    // Target sets: the one chosen in cboMuban fills the bounds and options;
    // the save button keeps them under the name typed there (asking before
    // it replaces a set of that name); the delete button removes that set.
    void cboMuban_Click(int index);
    void btnSaveMuban_Click();
    void btnDelMuban_Click();

    // The workspace as it stands, and writing it for the next start.
    WorkspaceState workspaceState() const;
    void keepWorkspace();

public slots:
    // Writes new texts into some bound boxes; the others keep theirs.
    void setBounds(const BoundEdits& edits);

signals:
    // The toolbar's "选煤配比": the user wants to pick coals from the inventory.
    void selectCoalsRequested();
    // A run stored a plan under that id.
    void planStored(int planId);
    // A run found no plan at any total up to last; nothing was stored. The
    // model is the run's own, for working out why.
    void noPlanFound(const ModelInput& model, int last);
    // A run ended, however it ended (after its messages were shown).
    void runFinished();
    // chkJizhun was ticked or unticked by the user, and config.ini keeps it.
    void basisWeightingChanged(const BasisWeighting& weighting);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void chkJingque_Click();
    void chkJizhun_Click();
    void chkAll_Click();
    void tbrMenu_ButtonClick(int index);
    void Command1_Click() { RunBlending(); }

    void buildToolbar(QWidget* parent);
    void buildGridFrame(QWidget* parent);
    void buildTargetFrame(QWidget* parent);
    void buildOptionsFrame(QWidget* parent);
    void track(QWidget* control, const QRect& design, bool hasFont = true);
    void onRunProgress(int total, int last);
    void onRunFinished();
    void loadTargetSets();
    void applyTargetSet(const TargetSet& set);
    void restoreWorkspace(const WorkspaceState& state);
    void watchForChanges();

    QWidget* client_ = nullptr;
    QObject* indicatorStyle_ = nullptr;
    QList<QWidget*> scaled_;
    CoalGridWidget* grid_ = nullptr;
    QToolBar* tbrMenu_ = nullptr;
    QLabel* picBanner_ = nullptr;
    QCheckBox* chkAll_ = nullptr;
    QCheckBox* chkJingque_ = nullptr;
    QCheckBox* chkJizhun_ = nullptr;
    QLineEdit* txtZhongliang_ = nullptr;
    QLineEdit* txtChanshu_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QComboBox* cboMuban_ = nullptr;
    QPushButton* btnSaveMuban_ = nullptr;
    QPushButton* btnDelMuban_ = nullptr;
    QVector<TargetSet> targetSets_;
    QTimer* keepTimer_ = nullptr;
    bool restoring_ = false;
    std::array<QLineEdit*, 15> minBoxes_{};
    std::array<QLineEdit*, 15> maxBoxes_{};
    WindowContext context_;
    bool shovelMode_ = false;
    BasisWeighting weighting_;
    QVector<Mei> coalList_;
    std::unique_ptr<BlendJob> job_;
    QPointer<QProgressDialog> progress_;
    bool sized_ = false;
};
