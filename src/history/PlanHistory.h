#pragma once

#include "data/AppFolder.h"
#include "data/Dbconnection.h"
#include "data/Mei.h"

#include <QDateTime>
#include <QVector>

// The plan history: a header row in Lishi_fangan, one proportion row per
// distinct solution in Lishi_Peibibiao and one row per participating coal in
// Lishi_meitan, the last two pointing at the header through followid. A plan
// keeps copies of the coal values, so later edits of meitan leave it unchanged.
// The write operations use the shared connection if it is open (a blending run
// keeps it open around its transaction) and open it for themselves otherwise.

// Writes a header with the plan information text; returns the new plan id.
int SavePlanHeader(const AppFolder& folder, const QString& xinxi);

// Stores one solution's proportions (d1 ... dk, in coal order) with the blend
// record, unless the plan already holds a solution with the same price; the
// price test is skipped when every participating coal has the same price.
// Returns whether a row was written.
bool SavePlanBlend(const AppFolder& folder, int planId, const QVector<double>& proportions,
                   const Mei& blend, bool allPricesEqual);

// One row per participating coal, in the given (grid) order.
void SavePlanCoals(const AppFolder& folder, int planId, const QVector<Mei>& coals);

// Removes a plan's proportion rows, coal rows and header in one transaction.
void DeletePlan(const AppFolder& folder, int planId);

// Removes only the header (a run that found no solution).
void DeletePlanHeader(const AppFolder& folder, int planId);

struct PlanSummary {
    int id = 0;
    QString fanganhao;
    QString xinxi;
    QDateTime riqi;
};

// The newest plans first, at most limit of them.
QVector<PlanSummary> LoadPlanList(const AppFolder& folder, int limit = 500);

// The information text of one plan; "" when the plan or its text is missing.
QString LoadPlanInfo(const AppFolder& folder, int planId);

// The statements whose rows fill the history window's lower lists.
Statement PlanCoalsStatement(int planId);   // Lishi_meitan, by ascending id
Statement PlanBlendsStatement(int planId);  // Lishi_Peibibiao, cheapest first
