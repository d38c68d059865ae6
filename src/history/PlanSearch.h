#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"
#include "history/PlanHistory.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// Finding plans among all that are kept, not only the newest: by words of
// their information text and by the day they were saved, newest first, one
// page at a time.

inline constexpr int kPlanPageSize = 500;

struct PlanQuery {
    QStringList words;          // each must appear in the plan's text (any letter case)
    std::optional<QDate> from;  // saved on or after this day
    std::optional<QDate> to;    // saved on or before this day

    bool operator==(const PlanQuery&) const = default;
};

// A query from what was typed: the words split at blanks; the days only when
// useDays. Kind Invalid when the first day comes after the last.
Result<PlanQuery> MakePlanQuery(const QString& typed, bool useDays, const QDate& from, const QDate& to);

struct PlanPage {
    QVector<PlanSummary> plans;  // newest first
    int total = 0;               // plans that match
    int page = 1;                // counted from 1
    int pageCount = 1;           // at least 1
};

// The page-th page (counted from 1; beyond the last gives the last) of the
// plans that match, newest first, pageSize to a page. The typed words are
// bound as parameters; %, _ and \ in them are plain characters.
Result<PlanPage> SearchPlans(const AppFolder& folder, const PlanQuery& query, int page,
                             int pageSize = kPlanPageSize);
