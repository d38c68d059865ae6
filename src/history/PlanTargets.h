#pragma once

#include "base/BasisWeight.h"
#include "base/QualityIndex.h"

#include <QString>
#include <QVector>

#include <array>

// The targets a plan was run with, as typed.
struct PlanTargets {
    std::array<QString, kIndexCount> lower;  // "" = no bound
    std::array<QString, kIndexCount> upper;
    QString tonnage;
    QString proportionCount;                 // "" or not a number: the run tried up to 100
    bool shovelMode = false;
    QVector<bool> mustInclude;               // per coal; missing entries are not ticked
    BasisWeighting weighting;                // off for a plan computed by tons as loaded

    bool operator==(const PlanTargets&) const = default;
};
