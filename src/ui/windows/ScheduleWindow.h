#pragma once

#include "blend/Schedule.h"
#include "history/ScheduleStore.h"
#include "ui/widgets/WindowContext.h"
#include "workspace/ScheduleJob.h"
#include "workspace/Validation.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class ReportList;

// frmJihua: a plan over several days. It plans from the workspace as it
// stands (its coals and their stock, bounds, must-use ticks, basis
// weighting, shovel mode and proportion count), for a number of days, tons
// per day and the deliveries the planner enters; shows one row per day and
// each coal's stock over the days; exports the plan, and keeps plans in the
// database to reopen or delete.
class ScheduleWindow : public QWidget {
    Q_OBJECT
public:
    explicit ScheduleWindow(const WindowContext& context, QWidget* parent = nullptr);
    ~ScheduleWindow() override;

    // Where the workspace's input comes from each time it is needed.
    void setInputSource(std::function<WorkspaceInput()> source);

    // Fills cboDaohuoMei with the workspace's coals and lsvJihuaList with
    // the stored plans.
    void refresh();

    bool computing() const { return job_ != nullptr; }
    // The plan shown (computed or reopened), if any.
    const std::optional<StoredSchedule>& shown() const { return shown_; }

Q_SIGNALS:
    // A computation ended, however it ended (after its messages were shown).
    void computeFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnAddDaohuo_Click();
    void btnDelDaohuo_Click();
    void btnJisuan_Click();
    void btnSaveJihua_Click();
    void btnDaochu_Click();
    void btnZhuangche_Click();
    void btnOpenJihua_Click();
    void btnDelJihua_Click();
    void onProgress(const ScheduleProgressStep& step, int elapsedMs);
    void onFinished();
    void showSchedule();
    void showNoSchedule(const ScheduleInput& input, const Schedule& schedule);
    void fillDeliveries();
    void loadList();
    QString planTitle() const;

    WindowContext context_;
    std::function<WorkspaceInput()> source_;
    QLineEdit* txtTianshu_ = nullptr;
    QLineEdit* txtMeitian_ = nullptr;
    QCheckBox* chkBubian_ = nullptr;
    QLabel* lbCanshu_ = nullptr;
    QComboBox* cboDaohuoMei_ = nullptr;
    QLineEdit* txtDaohuoTian_ = nullptr;
    QLineEdit* txtDaohuoDun_ = nullptr;
    QPushButton* btnAddDaohuo_ = nullptr;
    QPushButton* btnDelDaohuo_ = nullptr;
    ReportList* lsvDaohuo_ = nullptr;
    QPushButton* btnJisuan_ = nullptr;
    ReportList* lsvJihuaList_ = nullptr;
    QPushButton* btnOpenJihua_ = nullptr;
    QPushButton* btnDelJihua_ = nullptr;
    QLabel* lbJieguo_ = nullptr;
    QLabel* lbZongjia_ = nullptr;
    ReportList* lsvJihua_ = nullptr;
    QChartView* chartKucun_ = nullptr;
    QPushButton* btnSaveJihua_ = nullptr;
    QPushButton* btnDaochu_ = nullptr;
    QPushButton* btnZhuangche_ = nullptr;
    QVector<NamedDelivery> deliveries_;
    std::optional<StoredSchedule> shown_;
    std::unique_ptr<ScheduleJob> job_;
    QPointer<QProgressDialog> progress_;
};
