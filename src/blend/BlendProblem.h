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
struct BlendProblem {
    int coalCount = 0;
    std::vector<double> weight;
    std::vector<double> price;
    // Per index, one value per coal; empty when a coal has no value for it
    // (such an index cannot carry a bound).
    std::array<std::vector<double>, kIndexCount> value;
    std::array<std::optional<double>, kIndexCount> lower;
    std::array<std::optional<double>, kIndexCount> upper;
    std::vector<bool> mustInclude;
    std::optional<double> tonnage;
    std::vector<double> stock;  // one per coal when a tonnage is given
    bool shovelMode = false;

    bool bounded(int index) const { return lower[index].has_value() || upper[index].has_value(); }
};

// Which bound of an index: its lower or its upper one.
enum class BoundSide { Lower, Upper };

// Reads the model input. Fails when a text the model needs is not a number
// (a bound, the tonnage, a bounded index's value, a stock when a tonnage is
// given, a shovel weight in the shovel-count form).
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

// The blend's value of an index for the given parts at total n: the index
// row's sum over n.
double BlendIndexValue(const BlendProblem& problem, int index, const std::vector<double>& parts, int n);
