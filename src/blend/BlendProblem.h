#pragma once

#include "base/Result.h"
#include "blend/LinearSolver.h"
#include "blend/ModelText.h"

#include <array>
#include <optional>
#include <vector>

// One run's blending model as numbers: the coefficients exactly as the model
// text writes them (prices and index values by the value text rule, the
// bounds, tonnage, stock and shovel weights as their texts read), for the
// analyses that solve many variants of a run's model without writing text.
//
// Coal j has a whole number of parts x_j >= 0; a part stands for weight[j]
// (1, or the coal's tons per shovel in the shovel-count form). At total n:
//   cost             sum_j price_j * weight_j * x_j                 (minimised)
//   sum              sum_j weight_j * x_j  = n
//   index bound      sum_j value_ij * weight_j * x_j  >= lower_i * n  (<= upper_i * n)
//   must-include     weight_j * x_j >= 1
//   stock            tonnage * weight_j * x_j <= stock_j * n          (when a tonnage is given)
// so the blend's value of index i is sum_j value_ij weight_j x_j / n.
//
// An index averaged on a basis other than as received (ModelInput::weighting)
// weighs each coal's tons by its factor f_ij (BasisFactor): its value is
// sum_j value_ij f_ij weight_j x_j / sum_j f_ij weight_j x_j, and its bound rows
//   sum_j (value_ij - lower_i) * f_ij * weight_j * x_j >= 0   (upper: <= 0).
struct BlendProblem {
    int coalCount = 0;
    std::vector<double> weight;
    std::vector<double> price;
    // Per index, one value per coal; empty when a coal has no value for it,
    // or no factor for the index's basis (such an index cannot carry a bound).
    std::array<std::vector<double>, kIndexCount> value;
    // Per index averaged on its basis, one factor per coal; empty for an index
    // whose coals count by their tons as loaded.
    std::array<std::vector<double>, kIndexCount> factor;
    std::array<std::optional<double>, kIndexCount> lower;
    std::array<std::optional<double>, kIndexCount> upper;
    std::vector<bool> mustInclude;
    std::optional<double> tonnage;
    std::vector<double> stock;  // one per coal when a tonnage is given
    bool shovelMode = false;

    bool bounded(int index) const { return lower[index].has_value() || upper[index].has_value(); }
    bool weighted(int index) const { return !factor[index].empty(); }
    // Coal j's factor for an index: 1 unless the index is averaged on its basis.
    double factorOf(int index, int j) const { return weighted(index) ? factor[index][j] : 1.0; }
};

// Which bound of an index: its lower or its upper one.
enum class BoundSide { Lower, Upper };

// Reads the model input. Fails when a text the model needs is not a number
// (a bound, the tonnage, a bounded index's value, a stock when a tonnage is
// given, a shovel weight in the shovel-count form), or when a coal lacks a
// figure the basis of a bounded index needs.
Result<BlendProblem> MakeBlendProblem(const ModelInput& input);

// Where each row of a built programme is; -1 where the row is absent.
struct BlendRows {
    int sum = -1;
    std::vector<int> mustInclude;  // per coal
    std::vector<int> stock;        // per coal
    std::array<int, kIndexCount> lower{};
    std::array<int, kIndexCount> upper{};
};

// The integer programme of total n over the problem's bounds. Columns 0 ...
// coalCount-1 are the parts x_j (whole, >= 0) with their costs; callers may
// add columns and rows of their own.
LinearProgram BlendProgram(const BlendProblem& problem, int n, BlendRows* rows = nullptr);

// A bound row of a programme built by BlendProgram set to another bound at
// total n (nothing: the row no longer binds). Only the bound changes; for an
// index averaged on its basis that means the row's coefficients.
void SetBoundRow(const BlendProblem& problem, LinearProgram& program, int row, int index, BoundSide side,
                 std::optional<double> bound, int n);

// The parts' sum of an index's values, each coal weighed as the index
// averages it: sum_j value_ij f_ij weight_j x_j.
double IndexSum(const BlendProblem& problem, int index, const std::vector<double>& parts);

// What that sum is averaged over: n (the parts' total) for an index whose
// coals count by their tons, sum_j f_ij weight_j x_j for one averaged on its
// basis.
double IndexMass(const BlendProblem& problem, int index, const std::vector<double>& parts, double n);

// The blend's value of an index for the given parts at total n: IndexSum over
// IndexMass.
double BlendIndexValue(const BlendProblem& problem, int index, const std::vector<double>& parts, double n);
