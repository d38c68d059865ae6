#pragma once

#include "base/AppFolder.h"
#include "base/Mei.h"
#include "base/Result.h"
#include "base/WorkerThread.h"
#include "blend/ModelText.h"
#include "history/PlanHistory.h"
#include "workspace/Validation.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>


// The blending run: for every total n = 2 ... N, the cheapest whole-number mix
// of the grid's coals whose parts add up to n and that meets every bound. It
// first solves every total into memory, touching no database, and then stores
// what it found as one plan (header, one proportion row per distinct blend
// price, the participating coals) in one short transaction. A run that cannot
// finish, or that the user stops, stores nothing.

// One piece of the plan description: "lo<=label<=hi ", "label=>lo ",
// "label<=hi " or "".
QString DescribeRange(const QString& lower, const QString& upper, const QString& label);

// The plan description: the shovel marker, the basis weighting marker, the
// bounds, the tonnage and the coals that must take part; in the interface
// language, as the new plan's title is stored.
QString DescribePlan(const WorkspaceInput& input);

// The model input for a run over the given coals (grid rows 0 ... coals.size()-1).
ModelInput MakeModelInput(const WorkspaceInput& input, const QVector<Mei>& coals);

// Compacts the grid and checks the input; the first failing check's message
// (kind Invalid).
Status PrepareRun(WorkspaceInput& input);

// What solving a prepared run found.
struct RunSolution {
    QVector<Mei> coals;          // the coal list the run worked on
    ModelInput model;            // the model it solved
    QString proportionCount;     // the proportion count as typed
    QString description;         // the plan information text
    int last = 0;                // the largest total tried
    int solutions = 0;           // totals that had a solution
    QVector<PlanBlendRow> rows;  // the rows a plan keeps, in the order found
};

// Called before each total is solved with that total and the last one;
// returning false stops the run. It is called on the thread that solves.
using RunProgress = std::function<bool(int total, int last)>;

// Solves every total of a prepared input: each model is written to the model
// file and read back by the engine, as for a model file solved outside the
// program. Fails (storing nothing anywhere) when the model file cannot be
// written, when the engine cannot read a model, or when progress stops it
// (kind Cancelled).
Result<RunSolution> SolveRun(const AppFolder& folder, const WorkspaceInput& input, const RunProgress& progress = {});

// What a solved run was given, as a plan keeps it beside its rows.
PlanTargets RunTargets(const RunSolution& solution);

// Stores a solved run as one plan, with its targets, in one transaction;
// returns the plan's id. The failure says that nothing was kept.
Result<int> StoreRun(const AppFolder& folder, const RunSolution& solution);

// How a finished run ended when it did not fail.
struct RunOutcome {
    enum class Kind {
        Stored,  // a plan was stored under planId
        NoPlan,  // no total had a solution; nothing was stored
    };
    Kind kind = Kind::NoPlan;
    int planId = 0;
    RunSolution solution;
};

// A run on a worker thread. start() solves a prepared input there; progress
// comes back as signals on the job's thread, and cancel() may be called from
// anywhere. When the solving ends the job stores the plan on its own thread
// (one short transaction) and emits finished(); outcome() holds the result.
class BlendJob : public QObject {
    Q_OBJECT
public:
    BlendJob(const AppFolder& folder, const WorkspaceInput& prepared, QObject* parent = nullptr);
    ~BlendJob() override;  // cancels and waits for the worker

    void start();
    void cancel() { worker_.cancel(); }
    const Result<RunOutcome>& outcome() const { return outcome_; }

Q_SIGNALS:
    void progressed(int total, int last);
    void finished();

private:
    void onSolved();

    AppFolder folder_;
    WorkspaceInput input_;
    Result<RunOutcome> outcome_;
    WorkerThread<Result<RunSolution>> worker_;  // last: goes first
};
