#pragma once

#include <glpk.h>

#include <chrono>
#include <functional>
#include <limits>
#include <vector>

// The one place that hands a linear or integer programme to GLPK: the engine
// solves model files through it, and the analyses of a blend (why there is no
// plan, what a target costs) solve their variants of a blending model with it.
//
// A programme is given by columns (variables with bounds, a cost and an
// integrality mark), rows (a lower and an upper bound on a sum of terms) and
// the terms. Infinite bounds mean "none".

inline constexpr double kNoBound = std::numeric_limits<double>::infinity();

struct LinearColumn {
    double lower = 0.0;
    double upper = kNoBound;
    double cost = 0.0;
    bool integer = false;
};

struct LinearRow {
    double lower = -kNoBound;
    double upper = kNoBound;
};

struct LinearTerm {
    int row;
    int column;
    double value;
};

struct LinearProgram {
    bool maximise = false;
    double constant = 0.0;           // added to the objective
    std::vector<LinearColumn> columns;
    std::vector<LinearRow> rows;
    std::vector<LinearTerm> terms;   // at most one per (row, column)

    int addColumn(const LinearColumn& column)
    {
        columns.push_back(column);
        return static_cast<int>(columns.size()) - 1;
    }
    int addRow(const LinearRow& row)
    {
        rows.push_back(row);
        return static_cast<int>(rows.size()) - 1;
    }
    void addTerm(int row, int column, double value) { terms.push_back(LinearTerm{row, column, value}); }
};

enum class LinearStatus { Optimal, Infeasible, Unbounded, TimeLimit, Failed };

struct LinearSolution {
    LinearStatus status = LinearStatus::Failed;
    std::vector<double> values;    // one per column; integer columns exact whole numbers
    double objective = 0.0;        // recomputed from the values, constant included
    std::vector<double> rowDuals;  // one per row, when asked for (continuous solve only)
    // A search that ended early (TimeLimit, or stopped by LinearOptions::search)
    // with a whole point in hand: values and objective hold the best one found,
    // and gap how far from the proven bound it may be, relative to its cost.
    bool incumbent = false;
    double gap = 0.0;
    bool stopped = false;          // LinearOptions::search asked to stop
};

// What branch and bound has reached, as it goes: the best whole point's cost
// so far (when there is one) and the relative gap to the proven bound.
struct SearchState {
    bool hasIncumbent = false;
    double incumbent = 0.0;
    double gap = 0.0;
};

struct LinearOptions {
    // Honour the integrality marks (branch and bound); otherwise solve the
    // continuous relaxation.
    bool integer = true;
    // Stop after this long, counted from the call over every phase of the
    // solve: building GLPK's problem, the simplex method, branch and bound.
    // 0 or less: nothing is solved, the answer is TimeLimit.
    int timeLimitMs = 10000;
    // Fill rowDuals (continuous solve only).
    bool duals = false;
    // Told of the search as branch and bound goes on; returning false stops
    // it (the answer is then TimeLimit with stopped set, and the best point
    // found, if any).
    std::function<bool(const SearchState&)> search;
    // A whole point known to meet every row (one value per column), handed
    // to branch and bound as its first incumbent; it then works without
    // GLPK's presolver, whose programme has other columns.
    std::vector<double> start;
};

LinearSolution SolveLinearProgram(const LinearProgram& program, const LinearOptions& options = {});

// Solves a problem already loaded into lp the way every solve does, each
// phase given only the time left until deadline: the simplex method from
// the standard basis, then, when integer, branch and bound from its optimum.
// GLPK's presolvers cannot be interrupted, and on large models they alone
// outlast any limit: only a small integer programme goes through them first
// (and an infeasible verdict of theirs is confirmed without them). Values
// are read from lp afterwards (glp_get_col_prim, or glp_mip_col_val when
// integer). The solver benchmark times GLPK alone through exactly this.
LinearStatus SolveLoadedProblem(glp_prob* lp, bool integer, std::chrono::steady_clock::time_point deadline);

// The same with the search hooks of options (search, start); what the search
// reached last is left in state. On TimeLimit the best point found, if any,
// is in lp (glp_mip_status GLP_FEAS).
struct SearchHooks {
    const std::function<bool(const SearchState&)>* search = nullptr;  // may be null
    const std::vector<double>* start = nullptr;                        // may be null or empty
    SearchState last;
    bool stopped = false;
    bool startGiven = false;
};
LinearStatus SolveLoadedProblem(glp_prob* lp, bool integer, std::chrono::steady_clock::time_point deadline,
                                SearchHooks* hooks);

// Frees what the solver keeps for the calling thread; a worker thread that
// solved anything calls it before it ends.
void ReleaseSolverForThread();
