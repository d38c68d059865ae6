#pragma once

#include "base/BasisWeight.h"
#include "base/Mei.h"
#include "base/QualityIndex.h"

#include <QVector>

#include <array>
#include <vector>

// The record of a mixture: each quality index as the amount-weighted average
// of the coals (in shovel mode an amount counts shovels, weighted by each coal's
// tons per shovel), and the weighted price rounded to two decimals. With basis
// weighting on, a coal's tons count for an index times its BasisFactor for the
// index's basis. An index is empty when a coal with a non-zero amount has no
// value for it, or no factor for its basis. A total weight of 0 gives an empty
// record with price 0. amounts may hold more values than coals (the engine's
// objective after them); only the first coals.size() are used.

// The coals' values as numbers, read once: a run computes a record for every
// solution with the same coals.
struct CoalNumbers {
    CoalNumbers(const QVector<Mei>& coals, bool shovelMode, const BasisWeighting& weighting = {});

    bool shovelMode = false;
    std::vector<double> price;
    std::vector<double> tonsPerShovel;
    std::vector<std::array<double, kIndexCount>> values;
    std::vector<std::array<double, kIndexCount>> factors;  // 1 where tons count as loaded
    std::vector<std::array<bool, kIndexCount>> missing;    // no value, or no factor
};

Mei ComputeBlend(const CoalNumbers& coals, const QVector<double>& amounts);
Mei ComputeBlend(const QVector<Mei>& coals, const QVector<double>& amounts, bool shovelMode,
                 const BasisWeighting& weighting = {});
