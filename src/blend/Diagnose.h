#pragma once

#include "base/Result.h"
#include "blend/BlendProblem.h"
#include "blend/ModelText.h"
#include "base/QualityIndex.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// Why a blending run found no plan, and what would give one.
//
// A run tries every total n from 2 to its proportion count N, so everything
// here is worked out over all those totals at once: the coals of the run,
// whole parts (or whole shovels), the sum rule, the must-use coals and, with
// a tonnage, the stock rows, exactly as BlendProgram builds them for each
// total. Every row of that programme is homogeneous in the parts and the
// total (or, for a must-use row, constant), so "some total from 2 to N" is one
// integer programme with the total as one more whole variable, not N - 1 of
// them. The quality bounds are what is examined; the other rules always hold.
//
// Feasibility tolerance. A mix meets a row of the programme when it misses
// the row's bound by at most 1e-7 in the row's own scale (the row as the model
// writes it at the mix's total n: the index sum against bound * n, the sum
// against n, tons against stock * n). Every conclusion drawn here from a mix
// (a witness that a set of bounds holds, the exact suggested values, the
// rounded texts) is checked against that tolerance; conclusions that no mix
// exists come from the solver.


// One bound of the model: the lower or the upper bound of a quality index
// (index in the order of QualityIndices()).
struct BoundKey {
    int index = 0;
    BoundSide side = BoundSide::Lower;
    bool operator==(const BoundKey&) const = default;
};

// "灰分上限": the index as the plan description names it, and the side.
Text BoundName(const BoundKey& bound);

// The blend values one bounded index can take at the totals 2 ... N while
// every rule of the model except the quality bounds holds: the exact integer
// optimum both ways, with a mix (and its total) that reaches each end.
struct ReachableRange {
    int index = 0;
    double lowest = 0.0;
    double highest = 0.0;
    std::vector<double> lowestParts;   // parts per coal (shovels in the shovel-count form)
    std::vector<double> highestParts;
    int lowestTotal = 0;
    int highestTotal = 0;
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

// The suggested relaxation minimises, over every total from 2 to N and every
// mix of it, the sum over every bound of how far it moves relative to the
// spread of its index among the run's coals:
//
//     measure = sum over bounds b of |new_b - old_b| / scale(index of b)
//     scale(i) = max_j value_ij - min_j value_ij   when that is > 0
//              = 1                                 when every coal has the same value
//
// Bounds only ever move outward (a lower bound down, an upper bound up). An
// index whose coals all share one value c blends to c in every mix, so its
// bounds move to c whatever the rest does; its scale then only sets how such a
// forced move counts in the total and cannot change which relaxation is best.
// With a continuous slack on each bound row (in row units, costing 1/scale),
// the slacks of a mix of total n add up to n times its measure, so the least
// measure over all totals is a ratio, minimised by Dinkelbach's method: with
// the best measure m found so far, the integer programme over parts and total
// minimising (slack cost) - m * n either finds a mix of smaller measure, which
// becomes m, or shows m the least. Each round ends with an objective near 0,
// far below the gaps between mixes. Of the mixes that reach the least
// measure, the one of the smallest total is taken (one more programme: the
// smallest n with slack cost <= m * n); its mix is read back and each moved
// bound set to what that mix needs (see BoundChange::suggested). The
// reachable ranges are the same kind of ratio (an index sum over n) and are
// found the same way.
//
// The least is exact over whole mixes within the solver's tolerances (about
// 1e-7 of a row's size): at N = 1000 two relaxations whose measures differ by
// less than about a millionth may be taken for one another; the tests hold
// small models to 1e-9 against every mix.
//
// An index averaged on its basis (BlendProblem::weighted) is a ratio over the
// mix's weighed tons, and its ranges are found exactly as above; its bound
// rows' slack is in units of the index times those weighed tons, not n, so
// the relaxation then gives a plan but is not held to the least measure.
struct NoPlanDiagnosis {
    int total = 0;                // N, the largest total the run tried
    bool planExists = false;      // there is a plan at some total after all; nothing to explain
    bool rulesLeaveMix = true;    // sum, must-use and stock rules alone allow a mix at some total
    StockCheck stock;             // at total N, where the must-use rows ask least of the stock

    std::vector<ReachableRange> ranges;    // every bounded index, in index order
    // An irreducible set of bounds: with only these (and the other rules)
    // there is no plan, without any one of them there is. A bound that no mix
    // meets on its own is such a set by itself; the first of them is taken.
    // Otherwise a deletion filter over the integer model finds one.
    std::vector<BoundKey> conflict;
    std::vector<BoundChange> relaxation;   // every bound, lower before upper, in index order
    double relaxationMeasure = 0.0;
    std::vector<double> relaxedParts;      // a mix meeting every suggested value and text
    // The total of that mix: the smallest total at which the least measure is
    // reached (with planExists, the smallest total that has a plan).
    int relaxedTotal = 0;

    // What alone, with the bounds as they are, would give a plan:
    // - the smallest proportion count from N + 1 to 1000 (the largest a run
    //   accepts) that has a plan: the whole parts of 2 ... N are too coarse.
    //   One integer programme over every total in that range, least total.
    std::optional<int> largerCount;
    // - the largest tonnage, in whole cents and below the run's, whose stock
    //   rows leave a plan at some total 2 ... N. A smaller tonnage only
    //   loosens the stock rows, so the tonnages that work are those up to the
    //   largest any mix allows (each mix allows stock_j * n / (tons_j per
    //   tonnage) over its coals). Searched from a mix without stock rows:
    //   first one cent above what the best mix so far allows, then by
    //   halving the gap to the run's tonnage, each plan found lifting the
    //   lower end to what its own mix allows; at most about log2(tonnage in
    //   cents) programmes.
    std::optional<double> smallerTonnage;

    // Ready to show. One sentence per bound that no mix can meet on its own
    // ("灰分上限 8.0 低于所选煤能达到的最低值 8.50", the reachable end rounded to
    // two decimals toward the reachable side, so that a bound typed as shown
    // can be met); when every bound can be met alone, one sentence naming the
    // whole conflicting set.
    std::vector<Text> conflictSentences;
    std::vector<Text> stockSentences;      // one per stock or must-use problem
    Text rulesSentence;                    // when no change of the bounds can help
    Text suggestionSentence;               // "把灰分上限改为 8.5，比例数为7时就有配比方案"
    std::vector<Text> alternativeSentences;  // the larger count, the smaller tonnage
};

// Called after each solve with the work done so far and the work planned
// (done <= steps); return false to stop. The diagnosis then fails as cancelled.
using DiagnoseProgress = std::function<bool(int done, int steps)>;

// Explains why the model of input has no plan at any total 2 ... N. Fails when the
// input cannot be read as a model (the message says which text), when N is
// below 2 or above 1000, when fewer than two coals are given or a shovel
// weight is not positive, when the solver gives up (a solve over its time
// limit), or when progress asks to stop.
Result<NoPlanDiagnosis> DiagnoseNoPlan(const ModelInput& input, int N, const DiagnoseProgress& progress = {});
