#pragma once

#include "data/AppFolder.h"
#include "export/ListData.h"

#include <QVector>

// A saved plan as the history window lists and shows it.

// A plan as shown: its information text and its two lists.
struct PlanView {
    QString information;   // the plan information text, CR LF pairs removed
    ListData coals;        // the participating coals (coal layout)
    ListData blends;       // the proportion rows as shown (tons when converted)
};

// The plan list: a hidden plan number, the information text and the date.
void SetupPlanListColumns(ListData& list);

// Fills the plan list with the newest plans first, at most limit of them;
// dates in the short local format. Opens and closes the shared connection.
void FillPlanList(ListData& list, const AppFolder& folder, int limit = 500);

// Text with every CR LF pair removed (a lone CR or LF stays).
QString WithoutLineBreaks(const QString& text);

// The names of the coal list (second column) joined with ",".
QString JoinCoalNames(const ListData& coals);

// Loads one plan into the view: information text, coal rows, the proportion
// columns titled after the coals, the proportion rows cheapest first. Column
// widths stay as they are. Opens and closes the shared connection.
void LoadPlanView(const AppFolder& folder, int planId, PlanView& view);

// Deletes each plan with all its rows (each plan in one transaction).
void DeletePlans(const AppFolder& folder, const QVector<int>& planIds);
