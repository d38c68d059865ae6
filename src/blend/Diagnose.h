#pragma once

#include "base/Result.h"
#include "blend/BlendProblem.h"
#include "blend/ModelText.h"
#include "base/QualityIndex.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Why a blending run found no plan, and what would give one.
//
// Everything here is worked out on the run's own integer model at its
// proportion count N (the largest total it tried): the coals of the run, whole
// parts (or whole shovels), the sum rule, the must-use coals and, with a
// tonnage, the stock rows, exactly as BlendProgram builds them. The quality
// bounds are what is examined; the other rules always hold.
//
// Feasibility tolerance. A mix meets a row of the programme when it misses
// the row's bound by at most 1e-7 in the row's own scale (the row as the model
// writes it: the index sum against bound * N, the sum against N, tons against
// stock * N). Every conclusion drawn here from a mix (a witness that a set of
// bounds holds, the exact suggested values, the rounded texts) is checked
// against that tolerance; conclusions that no mix exists come from the solver.


// One bound of the model: the lower or the upper bound of a quality index
// (index in the order of QualityIndices()).
struct BoundKey {
    int index = 0;
    BoundSide side = BoundSide::Lower;
    bool operator==(const BoundKey&) const = default;
};

// "灰分上限": the index as the plan description names it, and the side.
QString BoundName(const BoundKey& bound);

// The blend values one bounded index can take at total N while every rule of
// the model except the quality bounds holds: the exact integer optimum both
// ways, with a mix that reaches each end.
struct ReachableRange {
    int index = 0;
    double lowest = 0.0;
    double highest = 0.0;
    std::vector<double> lowestParts;   // parts per coal (shovels in the shovel-count form)
    std::vector<double> highestParts;
    double spread = 0.0;               // largest minus smallest value among the run's coals
};

// A must-use coal whose stock cannot give the smallest share it must have.
struct MustUseShortage {
    int coal = 0;          // 0-based, in the run's coal order
    double stock = 0.0;    // tons in stock
    int parts = 1;         // the fewest parts (shovels) that satisfy the must-use rule
    double needed = 0.0;   // tons those parts take: tonnage * weight * parts / N
};

struct StockCheck {
    bool tonnageGiven = false;
    double tonnage = 0.0;
    double totalStock = 0.0;          // over the run's coals
    bool stockCoversTonnage = true;   // tonnage <= totalStock
    std::vector<MustUseShortage> shortages;
};

// What becomes of one bound in the suggested relaxation.
struct BoundChange {
    BoundKey bound;
    QString typed;            // the bound as the user typed it, blanks trimmed
    double value = 0.0;       // its number
    bool moved = false;
    // The new value: exactly value when not moved; otherwise the blend value
    // the relaxation's mix reaches, widened outward by 1e-13 of itself so that
    // the solver's rounding cannot lose the mix that meets it with equality.
    double suggested = 0.0;
    // typed when not moved; otherwise the mix's blend value rounded outward
    // to two decimals, trailing zeros dropped ("8.5", "12", "8.53"). The mix
    // meets every text of the relaxation together.
    QString suggestedText;
    double measure = 0.0;     // |reached - value| / scale of the index (see below)
};

// The suggested relaxation minimises the sum, over every bound, of how far it
// moves relative to the spread of its index among the run's coals:
//
//     measure = sum over bounds b of |new_b - old_b| / scale(index of b)
//     scale(i) = max_j value_ij - min_j value_ij   when that is > 0
//              = 1                                 when every coal has the same value
//
// Bounds only ever move outward (a lower bound down, an upper bound up). An
// index whose coals all share one value c blends to c in every mix, so its
// bounds move to c whatever the rest does; its scale then only sets how such a
// forced move counts in the total and cannot change which relaxation is best.
// The minimum is exact: one integer programme over the parts with a
// continuous slack on each bound row, its mix then read back and each moved
// bound set to what that mix needs (see BoundChange::suggested). For an index
// averaged on its basis (BlendProblem::weighted) the slack is in its row's
// units, the index times the mix's weighed tons: the suggestion still gives a
// plan, but its measure is not held to the smallest.
struct NoPlanDiagnosis {
    int total = 0;                // N
    bool planExists = false;      // there is a plan at total N after all; nothing to explain
    bool rulesLeaveMix = true;    // sum, must-use and stock rules alone allow a mix
    StockCheck stock;

    std::vector<ReachableRange> ranges;    // every bounded index, in index order
    // An irreducible set of bounds: with only these (and the other rules)
    // there is no plan, without any one of them there is. A bound that no mix
    // meets on its own is such a set by itself; the first of them is taken.
    // Otherwise a deletion filter over the integer model finds one.
    std::vector<BoundKey> conflict;
    std::vector<BoundChange> relaxation;   // every bound, lower before upper, in index order
    double relaxationMeasure = 0.0;
    std::vector<double> relaxedParts;      // a mix meeting every suggested value and text

    // Ready to show. One sentence per bound that no mix can meet on its own
    // ("灰分上限 8.0 低于所选煤能达到的最低值 8.50", the reachable end rounded to
    // two decimals toward the reachable side, so that a bound typed as shown
    // can be met); when every bound can be met alone, one sentence naming the
    // whole conflicting set.
    QStringList conflictSentences;
    QStringList stockSentences;            // one per stock or must-use problem
    QString rulesSentence;                 // when no change of the bounds can help
    QString suggestionSentence;            // "把灰分上限改为 8.5，就有配比方案"
};

// Called after each solve with the work done so far and the work planned
// (done <= steps); return false to stop. The diagnosis then fails as cancelled.
using DiagnoseProgress = std::function<bool(int done, int steps)>;

// Explains why the model of input has no plan at total N. Fails when the
// input cannot be read as a model (the message says which text), when N is
// below 2 or above 1000, when fewer than two coals are given or a shovel
// weight is not positive, when the solver gives up (a solve over its time
// limit), or when progress asks to stop.
Result<NoPlanDiagnosis> DiagnoseNoPlan(const ModelInput& input, int N, const DiagnoseProgress& progress = {});
