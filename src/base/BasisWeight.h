#pragma once

#include "base/Mei.h"
#include "base/QualityIndex.h"
#include "base/Result.h"
#include "base/Text.h"

#include <QString>
#include <QVector>

#include <array>
#include <optional>

// Averaging each index on its own basis. A blend's value of an index is an
// average over the coals; by default every coal counts with its tons as
// loaded. A dry-basis figure such as ash describes the coal's dry mass, so a
// blend's dry ash is the average over the coals' dry mass: each coal counts
// with its tons times a factor for the index's basis,
//
//   as received    1
//   dry            (1 - Mt/100)
//   air-dried      (1 - Mt/100) / (1 - Mad/100)
//   dry ash-free   (1 - Mt/100) (1 - Ad/100)
//
// with Mt the coal's total moisture, Mad its inherent moisture and Ad its ash.
// A blend's value of index i is then sum_j v_ij f_ij t_j / sum_j f_ij t_j.
//
// This file holds the one rule for the factor; the model, the blend record,
// the calculator and the analyses all take it from here.

// The bases every index is averaged on when the settings say nothing else:
// the bases of the index table.
std::array<Basis, kIndexCount> DefaultBases();

// Whether indices are averaged on their bases, and on which.
struct BasisWeighting {
    bool on = false;
    std::array<Basis, kIndexCount> basis = DefaultBases();

    // The basis index i is averaged on: its own when on, as received otherwise.
    Basis of(int index) const { return on ? basis[index] : Basis::AsReceived; }
    bool operator==(const BasisWeighting&) const = default;
};

// "收到基", "空干基", "干基", "干燥无灰基".
Text BasisName(Basis basis);
// The short code a basis is kept under in config.ini and the plan tables:
// "ar", "ad", "d", "daf"; and back (any letter case, blanks around allowed).
QString BasisCode(Basis basis);
std::optional<Basis> BasisFromCode(const QString& code);

// A coal's factor for an index on that basis: the rule above, each figure
// read as its value text shows it (two decimals), the factor rounded to six
// decimals, so that the model text writes it exactly and every computation
// uses that same number. Nothing when the coal lacks a figure the basis needs
// or holds one of 100 or more (no dry mass, or none left to divide by).
std::optional<double> BasisFactor(Basis basis, const Mei& coal);

// The first figure (its position in the index table: 内水 0, 全水 1, 灰分 6)
// that keeps BasisFactor from a factor; -1 when there is one.
int LackingBasisFigure(Basis basis, const Mei& coal);

// Every coal has the figures the basis of each bounded index needs, indices
// in table order, then coals in list order. The failure (kind Invalid) names
// the coal (counted from 1, and its name), the figure, the basis and the index.
Status CheckBasisFigures(const QVector<Mei>& coals, const BasisWeighting& weighting,
                         const std::array<bool, kIndexCount>& bounded);
