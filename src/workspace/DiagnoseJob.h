#pragma once

#include "base/QualityIndex.h"
#include "base/Result.h"
#include "base/WorkerThread.h"
#include "blend/Diagnose.h"
#include "blend/ModelText.h"
#include "export/ListData.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <vector>


// What a run without a plan turns into for the user: why there is none, and
// the bound texts that would give one.

// New texts for some bound boxes of the workspace; an index without a text
// keeps its box as it is.
struct BoundEdits {
    std::array<std::optional<QString>, kIndexCount> lower;
    std::array<std::optional<QString>, kIndexCount> upper;

    bool empty() const;
};

// Everything the "no plan" dialog shows, as texts.
struct NoPlanReport {
    Text summary;              // what was tried, and what the lines below explain
    std::vector<Text> conflictLines;  // the bounds that cannot hold (or why the analysis stopped)
    std::vector<Text> stockLines;     // stock and must-use problems, one per line
    Text rulesLine;            // when no change of the bounds can help
    Text suggestionLine;       // the smallest change of the bounds that gives a plan
    std::vector<Text> alternativeLines;  // a larger proportion count or a smaller tonnage alone
    ListData reasons;          // one row per bounded index (see ReasonColumns)
    BoundEdits edits;          // the moved bounds' suggested texts
    bool canApply = false;     // edits exist and would give a plan
};

// The columns of the reasons list: 指标, 可达最低, 可达最高, 下限, 上限,
// 建议下限, 建议上限. The reachable ends are rounded to two decimals toward the
// inside of the range, as the conflict sentences round them, so that a bound
// typed as shown can be met; a suggested bound reads as the box will after
// the suggestion is applied.
ListData ReasonColumns();

// The report for the model of a run whose totals 2 ... total found nothing,
// from its diagnosis (or from the failure that stopped the diagnosis).
NoPlanReport MakeNoPlanReport(const ModelInput& input, int total, const Result<NoPlanDiagnosis>& diagnosis);

// The text the dialog shows while the diagnosis works, and the report it
// shows meanwhile: the bounds as typed, nothing worked out yet.
Text DiagnosingText();
NoPlanReport PendingNoPlanReport(const ModelInput& input);

// The diagnosis of a run without a plan, on a worker thread. start() works
// there; progress comes back as signals on the job's thread, and cancel() may
// be called from anywhere. finished() tells that outcome() holds the result.
class DiagnoseJob : public QObject {
    Q_OBJECT
public:
    DiagnoseJob(const ModelInput& input, int total, QObject* parent = nullptr);
    ~DiagnoseJob() override;  // cancels and waits for the worker

    void start();
    void cancel() { worker_.cancel(); }
    const Result<NoPlanDiagnosis>& outcome() const { return outcome_; }

Q_SIGNALS:
    void progressed(int done, int steps);
    void finished();

private:
    ModelInput input_;
    int total_ = 0;
    Result<NoPlanDiagnosis> outcome_;
    WorkerThread<Result<NoPlanDiagnosis>> worker_;  // last: goes first
};
