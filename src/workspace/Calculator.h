#pragma once

#include "data/Mei.h"
#include "workspace/GridRows.h"

#include <QString>
#include <QVector>

#include <optional>

// The manual calculator: the indices and the price of a mix whose proportions
// the user types into the grid's stock column. Nothing is stored.
namespace Calculator {

// Every non-blank row has a name, then a proportion, then a price.
QString CheckNamesAndPrices(const Grid& grid);

// At least two coals; in shovel mode every coal has a shovel weight.
QString CheckCoalCoverage(const Grid& grid, bool shovelMode);

// The proportion of each coal (its Kucun text) as a 16-bit whole number,
// halves to even (2.5 counts as 2, 3.5 as 4). Nothing, with the reason in
// *message, when a proportion is not a number or lies outside the 16-bit range.
std::optional<QVector<qint16>> ProportionArray(const QVector<Mei>& coals, QString* message);

// The blend's fifteen values after their labels, with nothing between pairs:
// "内水：...全水：...单价：...". An empty value shows nothing after its label.
QString ResultText(const Mei& blend);

struct Outcome {
    QString message;  // the one message to show; "" on success
    QString result;   // the text for the result box; only set on success
    bool ok() const { return message.isEmpty(); }
};

// The whole computation: compacts the grid, checks it, weighs the coals by
// their proportions (times their tons per shovel in shovel mode). Proportions
// that weigh nothing in total give a message instead of a result.
Outcome Calculate(Grid& grid, bool shovelMode);

}  // namespace Calculator
