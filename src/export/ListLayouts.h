#pragma once

#include "base/Mei.h"
#include "base/Settings.h"
#include "export/ListData.h"
#include "history/PlanHistory.h"

#include <QStringList>
#include <QVector>

// The list layouts of the program and the rows that fill them. In the coal and
// proportion layouts the first cell is the record's id.

inline constexpr int kCoalColumnCount = 20;
inline constexpr int kBlendColumnCount = 27;
inline constexpr int kFirstProportionColumn = 1;  // the column after the hidden row number

// Coal layout: number, name, the fifteen indices, stock, shovel weight, price;
// every column but the name holds numbers.
void SetupCoalColumns(ListData& list);

// Proportion layout: hidden row number, D1 ... D10, the fifteen indices,
// price; all numbers.
// Column widths follow the screen width in pixels.
void SetupBlendColumns(ListData& list, int screenWidthPixels);

// Titles the proportion columns d1 ... d10, then each of the first ten with
// the whole name of its coal, whatever characters the name holds: a plan of
// coals A, B, C gives A, B, C, d4 ... d10.
void NameBlendColumns(ListData& list, const QStringList& names);

// The plan list: a hidden plan number, the information text and the date.
void SetupPlanListColumns(ListData& list);

// Replace the rows: one per coal (coal layout; the price with two decimals),
// one per proportion row (proportion layout; parts as whole numbers, halves
// to even), one per plan (newest first as given; dates in the short local
// format, the text without CR LF pairs).
void FillCoalRows(ListData& list, const QVector<Mei>& coals);

// One coal's row in the coal layout.
ListRow CoalRow(const Mei& coal);
// The column of meitan a column of the coal layout shows ("id" for the
// number column).
QString CoalColumnField(int column);
void FillBlendRows(ListData& list, const QVector<PlanBlendRow>& rows);
void FillPlanList(ListData& list, const QVector<PlanSummary>& plans);

// Position of the coal list's "每铲重量" column; -1 when there is none.
int FindShovelColumn(const ListData& coals);

// Sets the width of every column to 0 whose header matches a hidden index: the
// index's label, or for G and Y any header holding that Latin capital letter
// (so a proportion column titled with a coal name that holds a G goes too).
void HideUnusedColumns(ListData& list, const Settings& settings);
