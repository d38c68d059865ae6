#pragma once

#include <glpk.h>

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
};

struct LinearOptions {
    // Honour the integrality marks (branch and bound); otherwise solve the
    // continuous relaxation.
    bool integer = true;
    // Stop after this long, counted over every phase of the solve.
    int timeLimitMs = 10000;
    // Fill rowDuals (continuous solve only).
    bool duals = false;
};

LinearSolution SolveLinearProgram(const LinearProgram& program, const LinearOptions& options = {});

// The GLPK settings every solve uses; the solver benchmark times GLPK alone
// under exactly these.
void ConfigureMip(glp_iocp& parm, int timeLimitMs = 10000);
void ConfigureSimplex(glp_smcp& parm, int timeLimitMs = 10000);

// Frees what the solver keeps for the calling thread; a worker thread that
// solved anything calls it before it ends.
void ReleaseSolverForThread();
