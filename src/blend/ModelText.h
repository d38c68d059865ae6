#pragma once

#include "base/BasisWeight.h"
#include "base/Mei.h"
#include "base/NumberText.h"
#include "base/QualityIndex.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <array>
#include <optional>
#include <string>
#include <vector>

// Everything a blending model is written from, copied out of the workspace:
// the coals in grid order, the thirty bound texts (index order of the quality
// index table; "" = no bound), the tonnage text, the must-include marks (one
// per coal), the shovel mode and the bases the indices are averaged on.
struct ModelInput {
    QVector<Mei> coals;
    std::array<QString, kIndexCount> lower;
    std::array<QString, kIndexCount> upper;
    QString tonnage;
    QVector<bool> mustInclude;
    bool shovelMode = false;
    BasisWeighting weighting;
};

// Writes one run's model for any total. Most of a model (the term lists over
// the coals) does not depend on the total, so it is written once, when the
// writer is made, and every total only adds its right-hand sides.
//
// The text: "model:", the objective "[rObj] min=" over the prices, a line per
// bound ("terms>bound*n" or "terms<bound*n"), "Xk>1" per must-include coal, the
// sum "X1+...+Xk=n", a stock line per coal when a tonnage is given, "@gin(Xk)"
// per coal, the data section with pointer k to Xk and k+1 to rObj, then "end";
// lines joined by CR LF. In the shovel-count form every variable outside the
// @gin and @pointer lines stands behind its coal's tons per shovel ("2*X1"):
// the counts stay whole shovels and the pointers name them.
//
// An index averaged on a basis other than as received (BasisWeighting) has
// its coals' weights behind its values, and the bound times the same
// weighted sum on the right: "v1*f1*X1+v2*f2*X2>b*f1*X1+b*f2*X2" (in the
// shovel-count form "v1*f1*2*X1..."), with f the coal's BasisFactor. Without
// basis weighting every row is as above.
class ModelWriter {
public:
    explicit ModelWriter(const ModelInput& input);

    // The text for total n, in UTF-8, appended.
    void AppendText(std::string& out, int n) const;

    // What the model file holds for total n: the text in the system's 8-bit
    // code page (only a copied text beyond ASCII makes that differ from
    // UTF-8), followed by CR LF.
    void AppendFileBytes(std::string& out, int n) const;

private:
    struct Bound {
        QString text;
        std::optional<double> number;
        std::optional<PlainNumber> plain;
    };
    void AppendBoundTimesTotal(std::string& out, const Bound& bound, int n) const;

    std::vector<std::string> plain_;     // "X1", "X2", ...
    std::vector<std::string> weighted_;  // "2*X1", ... in the shovel-count form, else the plain names
    std::string price_;                  // the objective's term list
    std::array<std::string, kIndexCount> terms_;  // the term list of each bounded index
    // The whole bound lines of an index averaged on its basis; they do not
    // depend on the total. Empty for the other indices.
    std::array<std::string, kIndexCount> weightedLower_;
    std::array<std::string, kIndexCount> weightedUpper_;
    std::array<std::optional<Bound>, kIndexCount> lower_;
    std::array<std::optional<Bound>, kIndexCount> upper_;
    std::vector<bool> must_;
    std::string tonnage_;                // "" when none
    std::vector<std::string> stock_;
    bool nonAscii_ = false;
};

// The largest total a run writes a model for, from the proportion count as
// typed: 100 when the text is not a number, otherwise the number rounded to a
// whole one, halves to even, within the 16-bit range.
int ProportionCount(const QString& text);

