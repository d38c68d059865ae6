#pragma once

#include "base/AppFolder.h"
#include "base/Mei.h"
#include "base/Result.h"
#include "history/PlanTargets.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

// The plan history: a header row in Lishi_fangan, one proportion row per kept
// solution in Lishi_Peibibiao and one row per participating coal in
// Lishi_meitan, the last two pointing at the header through followid. A plan
// keeps copies of the coal values, so later edits of meitan leave it unchanged.
// A plan stored with its run's targets also has one Lishi_zhibiao row per
// bounded index and one Lishi_canshu row (tonnage, proportion count, shovel
// mode, the coals that had to take part) and, when computed with basis
// weighting, one Lishi_jizhun row per index with its basis, so its model can
// be built again; plans stored before these tables existed have none.

inline constexpr int kProportionColumnCount = 10;  // d1 ... d10

// One proportion row: the parts of each coal (coal order) and the blend's record.
struct PlanBlendRow {
    int id = 0;                                          // record number; 0 before it is stored
    std::array<double, kProportionColumnCount> parts{};  // d1 ... d10; 0 where empty
    Mei blend;                                           // the blend's indices and price
};

// A plan as a run hands it over to be stored.
struct NewPlan {
    QString xinxi;                 // the plan information text
    QVector<Mei> coals;            // the participating coals, in grid order
    QVector<PlanBlendRow> rows;    // the solutions to keep, in the order found
    std::optional<PlanTargets> targets;  // what the run was given (mustInclude in coal order)
};

// The solutions a plan keeps, in the order found: one per distinct blend
// price, the first found; every solution when all participating coals have the
// same price (then every blend costs the same and the price tells nothing).
QVector<PlanBlendRow> DistinctPriceRows(const QVector<PlanBlendRow>& solutions, bool allPricesEqual);

// Stores a plan in one short transaction: the header, the rows, the coals.
// Returns the new plan's id (ids only grow, so the newest plan has the highest).
Result<int> StorePlan(const AppFolder& folder, const NewPlan& plan);

// The steps of StorePlan, for a caller that holds the shared connection and a
// transaction: the header (returns its id), one proportion row (parts of the
// first coalCount coals), the coal rows in the given order.
Result<int> SavePlanHeader(const QString& xinxi);
Status SavePlanBlend(int planId, const PlanBlendRow& row, int coalCount);
Status SavePlanCoals(int planId, const QVector<Mei>& coals);
// The targets: one Lishi_zhibiao row per bounded index (a bound that is not
// "") with both bound texts as typed, the plan's Lishi_canshu row, and with
// basis weighting one Lishi_jizhun row per index.
Status SavePlanTargets(int planId, const PlanTargets& targets);

// The targets a plan was stored with, its mustInclude one entry per coal of
// coalCount; nothing for a plan stored without them. Needs the shared
// connection open.
Result<std::optional<PlanTargets>> LoadPlanTargets(int planId, int coalCount);

// Removes a plan's proportion rows, coal rows, targets and header in one
// transaction.
Status DeletePlan(const AppFolder& folder, int planId);

struct PlanSummary {
    int id = 0;
    QString fanganhao;
    QString xinxi;
    QDateTime riqi;
};

// The newest plans first, at most limit of them.
Result<QVector<PlanSummary>> LoadPlanList(const AppFolder& folder, int limit = 500);

// One stored plan as the history shows it.
struct PlanView {
    QString information;          // the plan information text, CR LF pairs removed
    QVector<Mei> coals;           // by ascending record number (their ids are Lishi_meitan's)
    QVector<PlanBlendRow> blends; // cheapest first
    std::optional<PlanTargets> targets;  // nothing for a plan stored without them
};

// Loads one plan; a plan that no longer exists loads empty.
Result<PlanView> LoadPlanView(const AppFolder& folder, int planId);

// Text with every CR LF pair removed (a lone CR or LF stays).
QString WithoutLineBreaks(const QString& text);
