#include "workspace/ScheduleJob.h"

#include "blend/LinearSolver.h"
#include "workspace/BlendRun.h"

#include <QElapsedTimer>

Result<PreparedSchedule> PrepareSchedule(WorkspaceInput workspace, int days, double tonsPerDay,
                                         const QVector<NamedDelivery>& deliveries, bool sameMix)
{
    workspace.tonnage.clear();
    if (Status prepared = PrepareRun(workspace); !prepared)
        return prepared.failure();
    PreparedSchedule p;
    const QVector<Mei> coals = BuildCoalList(workspace.grid);
    p.input.model = MakeModelInput(workspace, coals);
    p.input.days = days;
    p.input.tonsPerDay = tonsPerDay;
    p.input.parts = ProportionCount(workspace.proportionCount);
    p.input.sameMix = sameMix;
    for (const NamedDelivery& d : deliveries) {
        int coal = -1;
        for (int j = 0; j < coals.size() && coal < 0; ++j)
            if (coals[j].MingCheng == d.coal)
                coal = j;
        if (coal < 0) {
            PreparedSchedule unknown;
            unknown.unknownCoal = d.coal;
            return unknown;
        }
        p.input.deliveries.push_back(Delivery{coal, d.day, d.tons});
    }
    return p;
}

ScheduleJob::ScheduleJob(const ScheduleInput& input, QObject* parent)
    : QObject(parent), input_(input), outcome_(Fail(QString()))
{
}

ScheduleJob::~ScheduleJob() = default;

void ScheduleJob::start()
{
    worker_.start(
        this,
        [this] {
            QElapsedTimer clock;
            clock.start();
            qint64 told = -1000;
            Result<Schedule> result = SolveSchedule(input_, [&](const ScheduleProgressStep& step) {
                if (worker_.cancelled())
                    return false;
                const qint64 now = clock.elapsed();
                if (now - told >= 100) {
                    told = now;
                    Q_EMIT progressed(step, static_cast<int>(now));
                }
                return true;
            });
            ReleaseSolverForThread();
            return result;
        },
        [this] {
            outcome_ = std::move(worker_.value());
            Q_EMIT finished();
        });
}
