#pragma once

#include "base/BasisWeight.h"
#include "base/Result.h"
#include "workspace/GridRows.h"

#include <QString>

#include <array>

// Everything the user typed into the workspace before a run, copied out of the
// window: the grid, the thirty bound texts (index order of the quality index
// table; "" = no bound), the tonnage (txtZhongliang), the proportion count
// (txtChanshu), the proportion mode and the bases the indices are averaged on.
struct WorkspaceInput {
    Grid grid;
    std::array<QString, kIndexCount> lower;
    std::array<QString, kIndexCount> upper;
    QString tonnage;
    QString proportionCount;
    bool shovelMode = false;
    BasisWeighting weighting;
};

// The checks a run makes before it writes anything. Each fails (kind Invalid)
// with the one message to show; the first failure stops. Rows and coals are
// counted from 1 in the messages.

// True for the empty text and for a number (blanks around allowed).
bool IsBlankOrNumeric(const QString& text);

// Every non-blank row has a name the coal name rule accepts, and then a price.
Status CheckNamesAndPrices(const Grid& grid);

// Every filled value cell (all but the name) holds a number, and a number
// the program can work with (not beyond a value text's 15 digits). The
// message ends with CR LF.
Status CheckCoalNumbers(const Grid& grid);

// No coal has a negative stock or shovel weight.
Status CheckQuantities(const Grid& grid);

// Every number in a value cell lies in the range its field can hold, as the
// coal editor and the import require (CoalRules); the message names the
// range. The shovel weight is checked in shovel mode only, where it is used.
Status CheckCoalRanges(const WorkspaceInput& input);

// At least one bound is given; every bound and the tonnage are numbers, and
// the tonnage is above zero.
Status CheckTargets(const WorkspaceInput& input);

// "你既然要算<label>的指标，但是你参与配煤的第<row+1>种煤，没有填写<label>的值，这怎么计算？"
Text MissingValueText(const Text& label, int row);
// The label of the shovel weights in that message.
inline const char* const kByShovels = QT_TRANSLATE_NOOP("CoreText", "以铲数来配比");
QString MissingValueMessage(const QString& label, int row);  // its Chinese

// At least two coals, and each has the values the bounds, the tonnage and the
// shovel mode need.
Status CheckCoalCoverage(const WorkspaceInput& input);

// With basis weighting, every coal has the figures (全水, 内水, 灰分) that the
// basis of each bounded index needs (CheckBasisFigures).
Status CheckBasisCoverage(const WorkspaceInput& input);

// The tonnage is not above the coals' summed stock.
Status CheckStockCoversTonnage(const WorkspaceInput& input);

// The chain after CheckNamesAndPrices: numbers, quantities, ranges, targets,
// coverage, basis figures, stock, and the proportion count (a number from 2 to
// 1000 once rounded).
Status CheckInput(const WorkspaceInput& input);
