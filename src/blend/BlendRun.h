#pragma once

#include "blend/ModelText.h"
#include "data/AppFolder.h"
#include "data/Mei.h"
#include "workspace/Validation.h"

#include <QString>
#include <QVector>

#include <functional>

// The blending run: for every total n = 2 ... N, the cheapest whole-number mix
// of the grid's coals whose parts add up to n and that meets every bound. The
// solutions are stored as one plan (header, one proportion row per distinct
// blend price, the participating coals). The whole run is one transaction: a run
// that cannot finish leaves nothing behind in the history.

// One piece of the plan description: "lo<=label<=hi ", "label=>lo ",
// "label<=hi " or "".
QString DescribeRange(const QString& lower, const QString& upper, const QString& label);

// The plan description: the shovel marker, the bounds, the tonnage and the
// coals that must take part.
QString DescribePlan(const WorkspaceInput& input);

// The largest total a run tries: 100 when the text is not a number, otherwise
// the number rounded to a whole one, halves to even.
int ProportionCount(const QString& text);

// The model input for a run over the given coals (grid rows 0 ... coals.size()-1).
ModelInput MakeModelInput(const WorkspaceInput& input, const QVector<Mei>& coals);

struct RunOutcome {
    enum class Kind {
        Rejected,   // the input failed a check; nothing was written
        Stored,     // a plan was stored under planId
        NoPlan,     // no total had a solution; nothing was stored
        Failed,     // the run could not finish; nothing was stored
        Cancelled,  // the user stopped the run; nothing was stored
    };
    Kind kind = Kind::Rejected;
    QString message;      // what to tell the user; "" for a stored plan
    int planId = 0;
    int solutions = 0;    // totals that had a solution
    int stored = 0;       // proportion rows written
    QVector<Mei> coals;   // the coal list the run worked on
};

// Called before each total is solved with that total and the last one; returning
// false stops the run.
using RunProgress = std::function<bool(int total, int last)>;

// Compacts the grid and checks the input; returns the first failure's message.
QString PrepareRun(WorkspaceInput& input);

// Solves and stores a prepared input.
RunOutcome ExecuteRun(const AppFolder& folder, const WorkspaceInput& input,
                      const RunProgress& progress = {});

// PrepareRun, then ExecuteRun when the input passed. input.grid is left compacted.
RunOutcome RunBlending(const AppFolder& folder, WorkspaceInput& input,
                       const RunProgress& progress = {});
