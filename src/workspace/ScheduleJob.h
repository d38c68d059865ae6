#pragma once

#include "base/Result.h"
#include "base/WorkerThread.h"
#include "blend/Schedule.h"
#include "workspace/Validation.h"

#include <QObject>
#include <QString>
#include <QVector>



// A delivery as the planner enters it: the coal by its name in the grid.
struct NamedDelivery {
    QString coal;
    int day = 1;
    double tons = 0.0;
    bool operator==(const NamedDelivery&) const = default;
};

// The plan's input from the workspace as it stands: the grid compacted and
// checked as for a run (its tonnage plays no part: the days have their own),
// the proportion count as the run reads it, and the deliveries matched to the
// grid's coals by name. Fails (kind Invalid) with the run's message for the
// workspace, or with unknownCoal set to the name of a delivered coal that is
// not in the grid (message empty: the window words it).
struct PreparedSchedule {
    ScheduleInput input;
    QString unknownCoal;
};
Result<PreparedSchedule> PrepareSchedule(WorkspaceInput workspace, int days, double tonsPerDay,
                                         const QVector<NamedDelivery>& deliveries, bool sameMix);

// The solve of a plan over several days on a worker thread. start() solves
// there; progress comes back as signals on the job's thread (at most about
// ten a second), and cancel() may be called from anywhere. finished() tells
// that outcome() holds the result.
class ScheduleJob : public QObject {
    Q_OBJECT
public:
    explicit ScheduleJob(const ScheduleInput& input, QObject* parent = nullptr);
    ~ScheduleJob() override;  // cancels and waits for the worker

    void start();
    void cancel() { worker_.cancel(); }
    const ScheduleInput& input() const { return input_; }
    const Result<Schedule>& outcome() const { return outcome_; }

Q_SIGNALS:
    void progressed(const ScheduleProgressStep& step, int elapsedMs);
    void finished();

private:

    ScheduleInput input_;
    Result<Schedule> outcome_;
    WorkerThread<Result<Schedule>> worker_;  // last: goes first
};
