#include "blend/EngineSolver.h"

#include <glpk.h>

#include <cmath>
#include <csetjmp>

namespace {

constexpr double kFeasibilityTolerance = 1e-9;
// A garbled model can make branch and bound wander without end (an integer
// programme with an unbounded region and no integer point); a solve that runs
// this long is abandoned as having no solution.
constexpr int kTimeLimitMs = 10000;

// GLPK reports internal errors through a hook and aborts when the hook
// returns. The hook jumps back to the guarded call instead; only C frames and
// trivially destructible locals lie between the two.
thread_local std::jmp_buf* tRecover = nullptr;

void OnGlpkError(void*)
{
    if (tRecover)
        std::longjmp(*tRecover, 1);
}

struct GlpkInput {
    int rows;
    int columns;
    bool maximise;
    bool integer;
    const double* objective;  // 1-based, [0] = constant
    const int* columnType;    // 1-based GLP_FR/LO/UP/DB/FX
    const double* columnLower;
    const double* columnUpper;
    const int* columnInteger;
    const int* rowType;
    const double* rowBound;
    int elements;
    const int* ia;
    const int* ja;
    const double* ar;
    double* values;  // out, 1-based
};

enum GuardedResult { kOptimal, kInfeasible, kUnbounded, kTimeLimit, kFailure, kInternalError };

// What a solver call that stopped early (non-zero return code) means.
GuardedResult ResultOfStop(int rc)
{
    switch (rc) {
    case GLP_ENOPFS: return kInfeasible;
    case GLP_ENODFS: return kUnbounded;
    case GLP_ETMLIM: return kTimeLimit;
    default: return kFailure;
    }
}

GuardedResult RunGlpk(const GlpkInput& in)
{
    std::jmp_buf recover;
    tRecover = &recover;
    glp_error_hook(OnGlpkError, nullptr);
    if (setjmp(recover)) {
        tRecover = nullptr;
        glp_error_hook(nullptr, nullptr);
        glp_free_env();  // the environment is unusable after an internal error
        return kInternalError;
    }
    glp_term_out(GLP_OFF);
    glp_prob* lp = glp_create_prob();
    glp_set_obj_dir(lp, in.maximise ? GLP_MAX : GLP_MIN);
    if (in.rows > 0)
        glp_add_rows(lp, in.rows);
    glp_add_cols(lp, in.columns);
    glp_set_obj_coef(lp, 0, in.objective[0]);
    for (int j = 1; j <= in.columns; ++j) {
        glp_set_col_bnds(lp, j, in.columnType[j], in.columnLower[j], in.columnUpper[j]);
        if (in.columnInteger[j])
            glp_set_col_kind(lp, j, GLP_IV);
        glp_set_obj_coef(lp, j, in.objective[j]);
    }
    for (int i = 1; i <= in.rows; ++i)
        glp_set_row_bnds(lp, i, in.rowType[i], in.rowBound[i], in.rowBound[i]);
    if (in.elements > 0)
        glp_load_matrix(lp, in.elements, in.ia, in.ja, in.ar);

    GuardedResult result = kFailure;
    if (in.integer) {
        glp_iocp parm;
        EngineMipSettings(parm);
        const int rc = glp_intopt(lp, &parm);
        if (rc == 0) {
            const int status = glp_mip_status(lp);
            result = status == GLP_OPT ? kOptimal : status == GLP_NOFEAS ? kInfeasible : kFailure;
        } else {
            result = ResultOfStop(rc);
        }
        if (result == kOptimal)
            for (int j = 1; j <= in.columns; ++j)
                in.values[j] = glp_mip_col_val(lp, j);
    } else {
        glp_smcp parm;
        EngineLpSettings(parm);
        const int rc = glp_simplex(lp, &parm);
        if (rc == 0) {
            const int status = glp_get_status(lp);
            result = status == GLP_OPT     ? kOptimal
                     : status == GLP_NOFEAS ? kInfeasible
                     : status == GLP_UNBND  ? kUnbounded
                                            : kFailure;
        } else {
            result = ResultOfStop(rc);
        }
        if (result == kOptimal)
            for (int j = 1; j <= in.columns; ++j)
                in.values[j] = glp_get_col_prim(lp, j);
    }
    glp_delete_prob(lp);
    glp_error_hook(nullptr, nullptr);
    tRecover = nullptr;
    return result;
}

struct Scratch {
    std::vector<int> columnType, columnInteger, touched, rowType, ia, ja;
    std::vector<double> columnLower, columnUpper, dense, objective, rowBound, ar, values;
    std::vector<char> seen;
};

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

void EngineMipSettings(glp_iocp& parm)
{
    glp_init_iocp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.presolve = GLP_ON;
    parm.tm_lim = kTimeLimitMs;
}

void EngineLpSettings(glp_smcp& parm)
{
    glp_init_smcp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.presolve = GLP_ON;
    parm.tm_lim = kTimeLimitMs;
}

EngineSolution SolveEngineModel(const EngineModel& model)
{
    EngineSolution solution;
    const int n = static_cast<int>(model.variables.size());

    // Columns: integer bounds are rounded inwards, as branch and bound needs them.
    // The arrays keep their room from one solve to the next (a run solves up
    // to 999 models of the same size).
    thread_local Scratch scratch;
    auto& columnType = scratch.columnType;
    auto& columnLower = scratch.columnLower;
    auto& columnUpper = scratch.columnUpper;
    auto& columnInteger = scratch.columnInteger;
    columnType.assign(n + 1, GLP_FR);
    columnLower.assign(n + 1, 0.0);
    columnUpper.assign(n + 1, 0.0);
    columnInteger.assign(n + 1, 0);
    bool anyInteger = false;
    for (int j = 0; j < n; ++j) {
        const EngineVariable& v = model.variables[j];
        double lower = v.lower;
        double upper = v.upper;
        const bool hasLower = lower > -kEngineInfinity;
        const bool hasUpper = upper < kEngineInfinity;
        if (v.integer) {
            anyInteger = true;
            columnInteger[j + 1] = 1;
            if (hasLower)
                lower = std::ceil(lower - kFeasibilityTolerance);
            if (hasUpper)
                upper = std::floor(upper + kFeasibilityTolerance);
        }
        if (hasLower && hasUpper && lower > upper + kFeasibilityTolerance) {
            solution.status = EngineSolveStatus::Infeasible;
            solution.message = "变量 " + v.name + " 的上下界矛盾";
            return solution;
        }
        int type = GLP_FR;
        if (hasLower && hasUpper)
            type = lower >= upper ? GLP_FX : GLP_DB;
        else if (hasLower)
            type = GLP_LO;
        else if (hasUpper)
            type = GLP_UP;
        columnType[j + 1] = type;
        columnLower[j + 1] = hasLower ? lower : 0.0;
        columnUpper[j + 1] = hasUpper ? (type == GLP_FX ? lower : upper) : 0.0;
    }

    // Objective and rows with repeated variables summed and zero terms dropped.
    auto& dense = scratch.dense;
    auto& seen = scratch.seen;
    auto& touched = scratch.touched;
    dense.assign(n, 0.0);
    seen.assign(n, 0);
    touched.clear();
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

    auto& objective = scratch.objective;
    objective.assign(n + 1, 0.0);
    objective[0] = model.objectiveConstant;
    collect(model.objective, [&](int v, double c) { objective[v + 1] = c; });

    auto& rowType = scratch.rowType;
    auto& rowBound = scratch.rowBound;
    rowType.assign(1, 0);
    rowBound.assign(1, 0.0);
    std::size_t elements = 1;
    for (const EngineRow& row : model.rows)
        elements += row.count;
    auto& ia = scratch.ia;
    auto& ja = scratch.ja;
    auto& ar = scratch.ar;
    ia.assign(1, 0);
    ja.assign(1, 0);
    ar.assign(1, 0.0);
    ia.reserve(elements);
    ja.reserve(elements);
    ar.reserve(elements);
    rowType.reserve(model.rows.size() + 1);
    rowBound.reserve(model.rows.size() + 1);
    int rows = 0;
    for (const EngineRow& row : model.rows) {
        const std::size_t before = ar.size();
        const int rowNumber = rows + 1;
        collect(RowTerms(model, row), [&](int v, double c) {
            ia.push_back(rowNumber);
            ja.push_back(v + 1);
            ar.push_back(c);
        });
        if (ar.size() == before) {
            if (!ConstantRowHolds(row.sense, row.rhs)) {
                solution.status = EngineSolveStatus::Infeasible;
                solution.message = "模型中有不能成立的常数约束";
                return solution;
            }
            continue;
        }
        ++rows;
        rowType.push_back(row.sense == RowSense::LessEqual      ? GLP_UP
                          : row.sense == RowSense::GreaterEqual ? GLP_LO
                                                                : GLP_FX);
        rowBound.push_back(row.rhs);
    }

    auto& values = scratch.values;
    values.assign(n + 1, 0.0);
    if (n > 0) {
        const GlpkInput in{rows,
                           n,
                           model.maximise,
                           anyInteger,
                           objective.data(),
                           columnType.data(),
                           columnLower.data(),
                           columnUpper.data(),
                           columnInteger.data(),
                           rowType.data(),
                           rowBound.data(),
                           static_cast<int>(ar.size() - 1),
                           ia.data(),
                           ja.data(),
                           ar.data(),
                           values.data()};
        switch (RunGlpk(in)) {
        case kOptimal:
            break;
        case kInfeasible:
            solution.status = EngineSolveStatus::Infeasible;
            solution.message = "模型无可行解";
            return solution;
        case kUnbounded:
            solution.status = EngineSolveStatus::Unbounded;
            solution.message = "模型的目标函数无界";
            return solution;
        case kTimeLimit:
            solution.status = EngineSolveStatus::Failed;
            solution.message = "求解超时";
            return solution;
        case kFailure:
        case kInternalError:
            solution.status = EngineSolveStatus::Failed;
            solution.message = "求解器未能求解模型";
            return solution;
        }
    }

    // Integer values come back exact, and the objective and row values are
    // recomputed from them, so that a mix of whole parts costs exactly what
    // its prices add up to (an optimum of 0 stays 0).
    solution.values.resize(n);
    for (int j = 0; j < n; ++j) {
        double x = values[j + 1];
        if (columnInteger[j + 1])
            x = std::nearbyint(x);
        solution.values[j] = x == 0.0 ? 0.0 : x;
    }
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
