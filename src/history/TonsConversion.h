#pragma once

#include "base/Result.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// Turning a plan's proportion rows into tons of each coal for a wanted quantity.

// A plan whose information text carries the shovel marker holds shovel counts.
bool IsShovelCountPlan(const QString& information);

// The tonnage typed by the user as a whole number (halves to even). A text
// that is no number, or one beyond the whole numbers the conversion can hold,
// fails with the message for a tonnage that is not a number; a negative
// tonnage fails with its own message.
Result<qint32> ParseTonnage(const QString& text);

// Converts the proportion cells of every row into tons: each row's cells (the
// texts shown, one per participating coal) are summed, and each cell becomes
// its share of the tonnage with two decimals, so that a row's tons add up to
// the tonnage within 0.01 per coal. Proportions are summed with the sum
// rounded to a whole number (halves to even) after every addition; shovel
// counts are weighted by the coal's shovel weight (its text, rounded to two
// decimals) and summed exactly, as the tons they load. When a row's sum is 0
// nothing is converted and the failure says which row.
Result<QVector<QStringList>> ConvertToTons(const QVector<QStringList>& proportions, const QStringList& shovelWeights,
                                           qint32 tonnage, bool shovelPlan);
