#pragma once

#include "base/AppFolder.h"
#include "base/QualityIndex.h"
#include "base/Result.h"

#include <QString>
#include <QVector>

#include <array>

// Target sets (指标方案): the bounds, the proportion count, the tonnage and the
// basis-weighting choice a yard blends to again and again ("电厂5500",
// "焦化 G75"), kept under a name in the database (table Zhibiao_muban), so
// that they travel with its backups and are shared on a server.

struct TargetSet {
    QString name;                           // trimmed; unique among the sets
    std::array<QString, kIndexCount> lower; // as typed; "" = no bound
    std::array<QString, kIndexCount> upper;
    QString tonnage;                        // txtZhongliang as typed
    QString proportionCount;                // txtChanshu as typed
    bool basisWeighting = false;            // chkJizhun

    bool operator==(const TargetSet&) const = default;
};

// The longest name a set may have.
inline constexpr int kTargetSetNameLength = 60;

// The sets, by name.
Result<QVector<TargetSet>> LoadTargetSets(const AppFolder& folder);

// What a save did.
enum class TargetSetSave {
    Saved,     // stored (a set of that name was replaced when replace was asked for)
    Exists,    // a set of that name exists and replace was not asked for: nothing written
};

// Stores the set under its name (trimmed) in one transaction. A name that is
// empty or longer than kTargetSetNameLength fails (kind Invalid).
Result<TargetSetSave> SaveTargetSet(const AppFolder& folder, const TargetSet& set, bool replace);

// Deletes the set of that name (trimmed); whether there was one.
Result<bool> DeleteTargetSet(const AppFolder& folder, const QString& name);
