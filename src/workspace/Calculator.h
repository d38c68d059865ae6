#pragma once

#include "base/BasisWeight.h"
#include "base/Mei.h"
#include "base/Result.h"
#include "workspace/GridRows.h"

#include <QString>
#include <QVector>

// The manual calculator: the indices and the price of a mix whose proportions
// the user types into the grid's stock column. Nothing is stored.
namespace Calculator {

// Every non-blank row has a name, then a proportion, then a price.
Status CheckNamesAndPrices(const Grid& grid);

// At least two coals; in shovel mode every coal has a shovel weight.
Status CheckCoalCoverage(const Grid& grid, bool shovelMode);

// The proportion of each coal (its Kucun text) as a 16-bit whole number,
// halves to even (2.5 counts as 2, 3.5 as 4). Fails when a proportion is not
// a number or lies outside the 16-bit range.
Result<QVector<qint16>> ProportionArray(const QVector<Mei>& coals);

// The whole computation: compacts the grid, checks it, weighs the coals by
// their proportions (times their tons per shovel in shovel mode) and returns
// the text for the result box: the blend's values after their labels, with
// nothing between pairs ("内水：...全水：...单价：..."; an empty value shows
// nothing after its label). Proportions that weigh nothing in total fail
// with a message instead of a result. With basis weighting each index is
// averaged on its basis as a run averages it; an index a coal has no factor
// for shows nothing.
Result<Text> CalculateText(Grid& grid, bool shovelMode, const BasisWeighting& weighting = {});
// The same in the source language.
Result<QString> Calculate(Grid& grid, bool shovelMode, const BasisWeighting& weighting = {});

}  // namespace Calculator
