#pragma once

#include "data/Mei.h"

#include <QVector>

// The record of a mixture: each quality index as the amount-weighted average
// of the coals (in shovel mode an amount counts shovels, weighted by each coal's
// tons per shovel), and the weighted price rounded to two decimals. An index is
// empty when a coal with a non-zero amount has no value for it. A total weight of
// 0 gives an empty record with price 0. amounts may hold more values than coals
// (the engine's objective after them); only the first coals.size() are used.
Mei ComputeBlend(const QVector<Mei>& coals, const QVector<double>& amounts, bool shovelMode);
