#include "blend/EngineSolver.h"

#include "blend/LinearSolver.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kFeasibilityTolerance = 1e-9;

bool ConstantRowHolds(RowSense sense, double rhs)
{
    switch (sense) {
    case RowSense::LessEqual:
        return 0.0 <= rhs + kFeasibilityTolerance;
    case RowSense::GreaterEqual:
        return 0.0 >= rhs - kFeasibilityTolerance;
    case RowSense::Equal:
        return std::fabs(rhs) <= kFeasibilityTolerance;
    }
    return false;
}

// Adds up the terms of each variable in a list of terms, exactly, and hands
// on one sum per variable, in the order the variables first appear. The
// scratch arrays are kept from list to list.
class TermMerger {
public:
    explicit TermMerger(int variables) : sums_(variables, 0.0), seen_(variables, 0) {}

    template <class Emit>
    void operator()(std::span<const EngineTerm> terms, Emit&& hand)
    {
        touched_.clear();
        bool repeated = false;
        for (const EngineTerm& t : terms) {
            if (seen_[t.variable]) {
                repeated = true;
                continue;
            }
            seen_[t.variable] = 1;
            touched_.push_back(t.variable);
            sums_[t.variable] = t.coefficient;
        }
        if (repeated)
            AddRepeated(terms);
        for (const int v : touched_) {
            if (sums_[v] != 0.0)
                hand(v, sums_[v]);
            seen_[v] = 0;
        }
    }

private:
    // The variables written more than once: their terms side by side, in
    // the order written, then one exact sum each.
    void AddRepeated(std::span<const EngineTerm> terms)
    {
        repeats_.assign(terms.begin(), terms.end());
        std::stable_sort(repeats_.begin(), repeats_.end(),
                         [](const EngineTerm& a, const EngineTerm& b) { return a.variable < b.variable; });
        for (std::size_t i = 0; i < repeats_.size();) {
            std::size_t e = i + 1;
            while (e < repeats_.size() && repeats_[e].variable == repeats_[i].variable)
                ++e;
            if (e - i > 1) {
                sum_.clear();
                for (std::size_t k = i; k < e; ++k)
                    sum_.add(repeats_[k].coefficient);
                sums_[repeats_[i].variable] = sum_.value();
            }
            i = e;
        }
    }

    std::vector<double> sums_;
    std::vector<char> seen_;
    std::vector<int> touched_;
    std::vector<EngineTerm> repeats_;
    ExactSum sum_;
};

}  // namespace

EngineSolution SolveEngineModel(const EngineModel& model)
{
    EngineSolution solution;
    const int n = static_cast<int>(model.variables.size());

    LinearProgram program;
    program.maximise = model.maximise;
    program.constant = model.objectiveConstant;
    program.columns.resize(n);
    for (int j = 0; j < n; ++j) {
        const EngineVariable& v = model.variables[j];
        LinearColumn& column = program.columns[j];
        column.integer = v.integer;
        column.lower = v.lower > -kEngineInfinity ? v.lower : -kNoBound;
        column.upper = v.upper < kEngineInfinity ? v.upper : kNoBound;
        double lower = column.lower;
        double upper = column.upper;
        if (v.integer) {
            lower = std::ceil(lower - kFeasibilityTolerance);
            upper = std::floor(upper + kFeasibilityTolerance);
        }
        if (lower > upper + kFeasibilityTolerance) {
            solution.status = EngineSolveStatus::Infeasible;
            solution.message = "变量 " + QuoteInput(v.name) + " 的上下界矛盾";
            return solution;
        }
    }

    // Objective and rows with the terms of each variable added up exactly and
    // zero sums dropped.
    TermMerger merge(n);
    merge(model.objective, [&](int v, double c) { program.columns[v].cost = c; });

    program.rows.reserve(model.rows.size());
    std::size_t elements = 0;
    for (const EngineRow& row : model.rows)
        elements += row.count;
    program.terms.reserve(elements);
    // Where each model row's terms lie in program.terms (none for a row left
    // with constants only).
    std::vector<std::pair<std::size_t, std::size_t>> rowTerms;
    rowTerms.reserve(model.rows.size());
    for (const EngineRow& row : model.rows) {
        const std::size_t before = program.terms.size();
        const int rowNumber = static_cast<int>(program.rows.size());
        merge(RowTerms(model, row), [&](int v, double c) { program.addTerm(rowNumber, v, c); });
        rowTerms.emplace_back(before, program.terms.size());
        if (program.terms.size() == before) {
            if (!ConstantRowHolds(row.sense, row.rhs)) {
                solution.status = EngineSolveStatus::Infeasible;
                solution.message = "模型中有不能成立的常数约束";
                return solution;
            }
            continue;
        }
        LinearRow bounds;
        if (row.sense != RowSense::LessEqual)
            bounds.lower = row.rhs;
        if (row.sense != RowSense::GreaterEqual)
            bounds.upper = row.rhs;
        program.addRow(bounds);
    }

    const LinearSolution solved = SolveLinearProgram(program);
    switch (solved.status) {
    case LinearStatus::Optimal:
        break;
    case LinearStatus::Infeasible:
        solution.status = EngineSolveStatus::Infeasible;
        solution.message = "模型无可行解";
        return solution;
    case LinearStatus::Unbounded:
        solution.status = EngineSolveStatus::Unbounded;
        solution.message = "模型的目标函数无界";
        return solution;
    case LinearStatus::TimeLimit:
        solution.status = EngineSolveStatus::Failed;
        solution.message = "求解超时";
        return solution;
    case LinearStatus::Failed:
        solution.status = EngineSolveStatus::Failed;
        solution.message = "求解器未能求解模型";
        return solution;
    }

    // Integer values come back exact, and the objective and row values are
    // recomputed from them without rounding on the way, so that a mix of
    // whole parts costs exactly what its prices add up to (an optimum of 0
    // stays 0).
    solution.values = solved.values;
    ExactSum sum;
    sum.add(model.objectiveConstant);
    for (int j = 0; j < n; ++j)
        sum.add(program.columns[j].cost * solution.values[j]);
    solution.objective = sum.value() == 0.0 ? 0.0 : sum.value();
    // Row values only where a pointer reads them.
    solution.activity.assign(model.rows.size(), 0.0);
    for (const EnginePointerSlot& slot : model.pointers) {
        if (slot.kind != EnginePointerSlot::Row)
            continue;
        const auto [first, last] = rowTerms[slot.index];
        sum.clear();
        for (std::size_t t = first; t < last; ++t)
            sum.add(program.terms[t].value * solution.values[program.terms[t].column]);
        solution.activity[slot.index] = sum.value() == 0.0 ? 0.0 : sum.value();
    }
    solution.status = EngineSolveStatus::Optimal;
    return solution;
}
