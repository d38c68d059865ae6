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

// The tons of one row in hundredths of a ton, added up exactly to the
// tonnage: each coal's tons as ConvertToTons finds them, the hundredths that
// rounding gains or loses given to the coals whose rounding dropped the most.
// Fails as ConvertToTons does when the row's sum is 0.
Result<QVector<qint64>> ConvertRowToCents(const QStringList& proportions, const QStringList& shovelWeights,
                                          qint32 tonnage, bool shovelPlan);

// Splits a total (hundredths of a ton) over the weights so that the parts add
// up to it exactly: each takes its share rounded down, and the hundredths
// left go one each to those whose rounding dropped the most (the earlier one
// first on a tie). A weight that is not above 0 takes nothing; all zero when
// no weight is.
QVector<qint64> SplitCents(qint64 totalCents, const QVector<double>& weights);
