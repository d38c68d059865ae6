#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"
#include "blend/Schedule.h"

#include <QDateTime>
#include <QString>
#include <QVector>

// Plans over several days kept in the database: a header row in Jihua with
// everything the plan was computed from, one row per day and coal in
// Jihua_ri. A stored plan reads back into the same input and the same days
// (tons, stock, blends and costs are worked out again from the parts).

struct ScheduleSummary {
    int id = 0;
    QString name;
    QDateTime saved;
    int days = 0;
    double tonsPerDay = 0.0;
    bool sameMix = false;
    double totalCost = 0.0;
};

struct StoredSchedule {
    int id = 0;
    QString name;
    ScheduleInput input;
    Schedule schedule;
};

// Stores a plan that has days (Optimal or TimeLimit) in one transaction;
// returns its id.
Result<int> StoreSchedule(const AppFolder& folder, const QString& name, const ScheduleInput& input,
                          const Schedule& schedule);

// The stored plans, newest first.
Result<QVector<ScheduleSummary>> LoadScheduleList(const AppFolder& folder);

// One stored plan; kind Invalid when there is none under that id or its
// settings cannot be read.
Result<StoredSchedule> LoadSchedule(const AppFolder& folder, int id);

// Removes a plan's day rows and its header in one transaction.
Status DeleteSchedule(const AppFolder& folder, int id);
