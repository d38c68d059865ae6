#pragma once

#include "blend/EngineModel.h"

#include <string>
#include <vector>

enum class EngineSolveStatus { Optimal, Infeasible, Unbounded, Failed };

struct EngineSolution {
    EngineSolveStatus status = EngineSolveStatus::Failed;
    std::string message;          // why there is no solution; "" when optimal
    std::vector<double> values;   // one per model variable, integers exact
    double objective = 0.0;       // including the objective's constant
    std::vector<double> activity; // left-hand side value of each row a pointer reads, else 0
};

// Solves the model through the linear solver (branch and bound for integer
// variables, the simplex method otherwise).
EngineSolution SolveEngineModel(const EngineModel& model);
