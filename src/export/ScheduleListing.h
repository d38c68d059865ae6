#pragma once

#include "base/Result.h"
#include "blend/Schedule.h"
#include "export/ListData.h"
#include "export/LoaderSheet.h"
#include "export/XlsFile.h"

#include <QDateTime>
#include <QString>
#include <QVector>

// A plan over several days as a list and as a sheet: one row per day with
// the day, each coal's parts (shovels in the shovel-count form) and tons,
// the blend's bounded indices, its price per ton and the day's cost; the
// sheet ends with the total cost. The list's first cell is the day.
ListData ScheduleList(const ScheduleInput& input, const Schedule& schedule);

// The same as a sheet: numbers as numbers (parts whole, tons, indices and
// prices with two decimals), with a title row above the header.
XlsSheet ScheduleSheet(const ScheduleInput& input, const Schedule& schedule, const QString& title);

// The sheet written as an .xlsx workbook.
Status ExportScheduleToXlsx(const ScheduleInput& input, const Schedule& schedule, const QString& title,
                            const QString& path);

// The stock of each coal at the end of each day, day 0 being the opening
// stock (deliveries of a day count from that day): [coal][day 0 ... D].
std::vector<std::vector<double>> StockCurve(const ScheduleInput& input, const Schedule& schedule);

// One loader sheet per day, titled with the plan's title and the day, for
// the day's tons (whole tons, nearest) against the plan's bounds. Fails (kind
// Invalid) with the first day's reason when a sheet cannot be made.
Result<QVector<LoaderSheet>> ScheduleLoaderSheets(const ScheduleInput& input, const Schedule& schedule,
                                                  const QString& title, const QDateTime& issued);
