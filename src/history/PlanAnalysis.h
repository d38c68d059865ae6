#pragma once

#include "base/Result.h"
#include "blend/BlendProblem.h"
#include "blend/LinearSolver.h"
#include "base/Mei.h"
#include "history/PlanTargets.h"

#include <QString>
#include <QVector>

#include <array>
#include <optional>
#include <vector>

// What a stored plan says beyond its table of numbers: for one proportion row,
// how much room each target leaves, what the targets that hold the price up
// cost, and whether the mix still meets the targets when the loader is one
// shovel (or, where a shovel's tons are not known, one part) off; for the
// whole plan, how the price falls as the proportions get finer.
//
// A row's total n is the sum line of its model, sum_j weight_j * x_j (the
// weight is 1, or the coal's tons per shovel for a shovel-count plan). Blend
// values and prices are the model's: sum_j c_j weight_j x_j / n with each
// coefficient as the model text writes it (an index averaged on its basis:
// BlendIndexValue).

// The model of a plan's runs: fails with the message to show when a target, the
// tonnage or a value a bound needs is not a number.
Result<BlendProblem> PlanProblem(const PlanTargets& targets, const QVector<Mei>& coals);


// The cheapest mix of a variant of the model at the row's total.
struct Repriced {
    LinearStatus status = LinearStatus::Failed;  // Optimal, or why there is no price
    double unitPrice = 0.0;                      // when Optimal
    std::vector<double> parts;                   // when Optimal
};

// One bound of the targets, seen from the row.
struct BoundInsight {
    int index = 0;                  // position in QualityIndices()
    BoundSide side = BoundSide::Lower;
    double bound = 0.0;
    // How far the row's blend value lies inside the bound, in the index's unit;
    // negative when the row is outside it.
    double room = 0.0;
    // No room at the decimals the index's bounds are written with (the most
    // either needs, BoundDecimals: two for 12 or 12.5, four beside 0.0295),
    // that is |room| below half of that last decimal (0.005 for 12): the
    // bound holds the mix where it is.
    bool binds = false;
    // Change of unit price per unit the bound is raised, from the continuous
    // relaxation at the row's total (its row dual); nothing when the relaxation
    // has no optimum there.
    std::optional<double> shadowPrice;
    // For a binding bound only: one step is 1 % of the bound's value, at least
    // 0.01; the cheapest whole-part mix at the row's total with the bound moved
    // one step outward, and with the bound dropped.
    double step = 0.0;
    Repriced stepped;
    Repriced removed;
};

// The mix one shovel (or one part) of one coal away from the row.
struct NearbyMix {
    int coal = 0;       // position in the plan's coal list
    int change = 0;     // +1 or -1
    // The parts moved: 1 (a part, or a shovel in a shovel-count plan), or in
    // a plan by weight one shovel's share, shovel tons * n / tonnage; a coal
    // with less than that in the mix loses all of it.
    double amount = 1.0;
};

// What "one off" is for the one-shovel check.
enum class OffUnit {
    Shovel,           // a shovel-count plan: one shovel, one part
    ShovelOfTonnage,  // a plan by weight with the tonnage and every shovel weight known
    Part,             // a plan by weight otherwise: one part
};

// One bounded index of the row.
struct IndexInsight {
    int index = 0;
    double value = 0.0;             // the row's blend value
    std::optional<double> lower;
    std::optional<double> upper;
    double room = 0.0;              // to the nearer bound; negative when outside
    // The lowest and highest blend value over the one-off mixes, and which
    // mix gives each.
    double offLowest = 0.0;
    double offHighest = 0.0;
    NearbyMix lowestMix;
    NearbyMix highestMix;
};

// A bound that a one-off mix breaks, at its worst.
struct OffBreak {
    int index = 0;
    BoundSide side = BoundSide::Lower;
    double bound = 0.0;
    double value = 0.0;             // the worst blend value beyond the bound
    double excess = 0.0;            // how far beyond, > 0
    NearbyMix mix;
};

struct RowInsight {
    double total = 0.0;             // sum_j weight_j x_j
    double unitPrice = 0.0;         // the row's price, unrounded
    std::vector<IndexInsight> indices;  // bounded indices, table order
    std::vector<BoundInsight> bounds;   // every bound, table order, lower before upper
    OffUnit offUnit = OffUnit::Shovel;
    int offMixCount = 0;            // one-off mixes looked at
    std::vector<OffBreak> breaks;   // table order, lower before upper
    Text offSentence;               // for the window: "差一铲仍全部达标", or what breaks
};

struct AnalysisOptions {
    // Time all solves of one row may take together, so that selecting a row
    // never stalls the window: binding bounds are repriced dearest first (by
    // their shadow price), and a price not found in time is reported as
    // TimeLimit. A price that is found is exact.
    int budgetMs = 150;
    bool repriceBindingBounds = true;
    // A plan by weight: each coal's tons per shovel, in the plan's coal order,
    // so that the one-off check moves one shovel against the plan's tonnage.
    // Used when it has a positive weight for every coal and the problem a
    // positive tonnage; otherwise the check moves one part.
    std::vector<double> shovelTons;
};

// The analysis of one proportion row (whole parts per coal, in the plan's coal
// order). Fails with the message to show when the row does not fit the plan
// (another number of coals, a negative or fractional part, a total of 0).
// Repricing needs a whole total; at any other total the bounds' stepped and
// removed prices stay Failed, as they do for a bound that does not bind.
Result<RowInsight> AnalyseRow(const BlendProblem& problem, const std::vector<double>& parts,
                              const AnalysisOptions& options = {});

// The sentence for a row's one-off check: "差一铲…" for a shovel plan; the
// same with what a shovel is reckoned from ("按配1000吨、各煤的每铲重量计") for
// a plan by weight with shovel weights; "差一份…" otherwise. Each value shows
// with the decimals that compare it with its bound (DecimalsBeside), and
// how far beyond it lies is the difference of the two texts as shown.
Text OffSentence(const std::vector<OffBreak>& breaks, OffUnit unit = OffUnit::Shovel, double tonnage = 0.0);

// One stored row of a plan.
struct StoredRow {
    std::vector<double> parts;      // d1 ... dk
    double price = 0.0;             // JiaGe as stored
};

struct PlanPricePoint {
    int row = 0;                    // position in the given rows
    double total = 0.0;
    double unitPrice = 0.0;         // from the parts, unrounded
    double storedPrice = 0.0;
};

struct PlanPrices {
    std::vector<PlanPricePoint> points;  // by total, then by row
    int triedUpTo = 100;
    int cheapest = -1;              // position in points
    // The smallest total whose unit price is within 0.5 % of the cheapest.
    int fineEnough = -1;            // position in points
};

// Every stored row's unit price against its total. Fails, naming the row
// (counted from 1), when a row does not fit the plan.
Result<PlanPrices> AnalysePlanPrices(const BlendProblem& problem, const PlanTargets& targets,
                                     const std::vector<StoredRow>& rows);
