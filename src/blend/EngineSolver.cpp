#include "blend/EngineSolver.h"

#include "blend/LinearSolver.h"

#include <cmath>

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
            solution.message = "变量 " + v.name + " 的上下界矛盾";
            return solution;
        }
    }

    // Objective and rows with repeated variables summed and zero terms dropped.
    std::vector<double> dense(n, 0.0);
    std::vector<char> seen(n, 0);
    std::vector<int> touched;
    auto collect = [&](std::span<const EngineTerm> terms, auto&& emit) {
        touched.clear();
        for (const EngineTerm& t : terms) {
            if (!seen[t.variable]) {
                seen[t.variable] = 1;
                touched.push_back(t.variable);
            }
            dense[t.variable] += t.coefficient;
        }
        for (int v : touched) {
            if (dense[v] != 0.0)
                emit(v, dense[v]);
            dense[v] = 0.0;
            seen[v] = 0;
        }
    };
    collect(model.objective, [&](int v, double c) { program.columns[v].cost = c; });

    program.rows.reserve(model.rows.size());
    std::size_t elements = 0;
    for (const EngineRow& row : model.rows)
        elements += row.count;
    program.terms.reserve(elements);
    for (const EngineRow& row : model.rows) {
        const std::size_t before = program.terms.size();
        const int rowNumber = static_cast<int>(program.rows.size());
        collect(RowTerms(model, row), [&](int v, double c) { program.addTerm(rowNumber, v, c); });
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
    // recomputed from them, so that a mix of whole parts costs exactly what
    // its prices add up to (an optimum of 0 stays 0).
    solution.values = solved.values;
    double total = model.objectiveConstant;
    for (const EngineTerm& t : model.objective)
        total += t.coefficient * solution.values[t.variable];
    solution.objective = total == 0.0 ? 0.0 : total;
    solution.activity.reserve(model.rows.size());
    for (const EngineRow& row : model.rows) {
        double sum = 0.0;
        for (const EngineTerm& t : RowTerms(model, row))
            sum += t.coefficient * solution.values[t.variable];
        solution.activity.push_back(sum == 0.0 ? 0.0 : sum);
    }
    solution.status = EngineSolveStatus::Optimal;
    return solution;
}
