#include "blend/LinearSolver.h"

#include <cmath>
#include <csetjmp>

namespace {

constexpr double kIntegerTolerance = 1e-9;

// GLPK's arrays, 1-based, built before the solver is entered.
struct GlpkArrays {
    std::vector<int> columnType, rowType, ia, ja;
    std::vector<double> columnLower, columnUpper, rowLower, rowUpper, cost, ar;
};

int BoundType(double lower, double upper)
{
    const bool hasLower = std::isfinite(lower);
    const bool hasUpper = std::isfinite(upper);
    if (hasLower && hasUpper)
        return lower == upper ? GLP_FX : GLP_DB;
    if (hasLower)
        return GLP_LO;
    if (hasUpper)
        return GLP_UP;
    return GLP_FR;
}

enum class Outcome { Optimal, Infeasible, Unbounded, TimeLimit, Failed };

Outcome OfStop(int rc)
{
    switch (rc) {
    case GLP_ENOPFS: return Outcome::Infeasible;
    case GLP_ENODFS: return Outcome::Unbounded;
    case GLP_ETMLIM: return Outcome::TimeLimit;
    default: return Outcome::Failed;
    }
}

// GLPK reports internal errors through a hook and aborts when the hook
// returns. The hook jumps back into Guarded instead; only GLPK's own C frames
// lie between the two.
void OnGlpkError(void* info)
{
    std::longjmp(*static_cast<std::jmp_buf*>(info), 1);
}

struct Out {
    double* values;     // 1-based
    double* duals;      // 1-based, or nullptr
};

Outcome Guarded(const LinearProgram& program, const GlpkArrays& a, const LinearOptions& options, bool integer,
                Out out)
{
    std::jmp_buf recover;
    glp_error_hook(OnGlpkError, &recover);
    if (setjmp(recover)) {
        glp_error_hook(nullptr, nullptr);
        glp_free_env();  // the environment is unusable after an internal error
        return Outcome::Failed;
    }
    glp_term_out(GLP_OFF);
    const int n = static_cast<int>(program.columns.size());
    const int m = static_cast<int>(program.rows.size());
    glp_prob* lp = glp_create_prob();
    glp_set_obj_dir(lp, program.maximise ? GLP_MAX : GLP_MIN);
    if (m > 0)
        glp_add_rows(lp, m);
    glp_add_cols(lp, n);
    glp_set_obj_coef(lp, 0, program.constant);
    for (int j = 1; j <= n; ++j) {
        glp_set_col_bnds(lp, j, a.columnType[j], a.columnLower[j], a.columnUpper[j]);
        if (integer && program.columns[j - 1].integer)
            glp_set_col_kind(lp, j, GLP_IV);
        glp_set_obj_coef(lp, j, a.cost[j]);
    }
    for (int i = 1; i <= m; ++i)
        glp_set_row_bnds(lp, i, a.rowType[i], a.rowLower[i], a.rowUpper[i]);
    const int elements = static_cast<int>(a.ar.size()) - 1;
    if (elements > 0)
        glp_load_matrix(lp, elements, a.ia.data(), a.ja.data(), a.ar.data());

    Outcome result = Outcome::Failed;
    if (integer) {
        glp_iocp parm;
        ConfigureMip(parm, options.timeLimitMs);
        const int rc = glp_intopt(lp, &parm);
        if (rc == 0) {
            const int status = glp_mip_status(lp);
            result = status == GLP_OPT ? Outcome::Optimal : status == GLP_NOFEAS ? Outcome::Infeasible : Outcome::Failed;
        } else {
            result = OfStop(rc);
        }
        if (result == Outcome::Optimal)
            for (int j = 1; j <= n; ++j)
                out.values[j] = glp_mip_col_val(lp, j);
    } else {
        glp_smcp parm;
        ConfigureSimplex(parm, options.timeLimitMs);
        const int rc = glp_simplex(lp, &parm);
        if (rc == 0) {
            const int status = glp_get_status(lp);
            result = status == GLP_OPT      ? Outcome::Optimal
                     : status == GLP_NOFEAS ? Outcome::Infeasible
                     : status == GLP_UNBND  ? Outcome::Unbounded
                                            : Outcome::Failed;
        } else {
            result = OfStop(rc);
        }
        if (result == Outcome::Optimal) {
            for (int j = 1; j <= n; ++j)
                out.values[j] = glp_get_col_prim(lp, j);
            if (out.duals)
                for (int i = 1; i <= m; ++i)
                    out.duals[i] = glp_get_row_dual(lp, i);
        }
    }
    glp_delete_prob(lp);
    glp_error_hook(nullptr, nullptr);
    return result;
}

}  // namespace

void ConfigureMip(glp_iocp& parm, int timeLimitMs)
{
    glp_init_iocp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.presolve = GLP_ON;
    parm.tm_lim = timeLimitMs;
}

void ConfigureSimplex(glp_smcp& parm, int timeLimitMs)
{
    glp_init_smcp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.presolve = GLP_ON;
    parm.tm_lim = timeLimitMs;
}

LinearSolution SolveLinearProgram(const LinearProgram& program, const LinearOptions& options)
{
    LinearSolution solution;
    const int n = static_cast<int>(program.columns.size());
    const int m = static_cast<int>(program.rows.size());

    GlpkArrays a;
    a.columnType.assign(n + 1, GLP_FR);
    a.columnLower.assign(n + 1, 0.0);
    a.columnUpper.assign(n + 1, 0.0);
    a.cost.assign(n + 1, 0.0);
    bool anyInteger = false;
    for (int j = 0; j < n; ++j) {
        const LinearColumn& c = program.columns[j];
        double lower = c.lower;
        double upper = c.upper;
        const bool integer = options.integer && c.integer;
        anyInteger = anyInteger || integer;
        // Branch and bound needs whole bounds on whole variables.
        if (integer && std::isfinite(lower))
            lower = std::ceil(lower - kIntegerTolerance);
        if (integer && std::isfinite(upper))
            upper = std::floor(upper + kIntegerTolerance);
        if (std::isfinite(lower) && std::isfinite(upper) && lower > upper) {
            solution.status = LinearStatus::Infeasible;
            return solution;
        }
        a.columnType[j + 1] = BoundType(lower, upper);
        a.columnLower[j + 1] = std::isfinite(lower) ? lower : 0.0;
        a.columnUpper[j + 1] = std::isfinite(upper) ? upper : 0.0;
        a.cost[j + 1] = c.cost;
    }
    a.rowType.assign(m + 1, GLP_FR);
    a.rowLower.assign(m + 1, 0.0);
    a.rowUpper.assign(m + 1, 0.0);
    for (int i = 0; i < m; ++i) {
        const LinearRow& r = program.rows[i];
        a.rowType[i + 1] = BoundType(r.lower, r.upper);
        a.rowLower[i + 1] = std::isfinite(r.lower) ? r.lower : 0.0;
        a.rowUpper[i + 1] = std::isfinite(r.upper) ? r.upper : 0.0;
    }
    a.ia.reserve(program.terms.size() + 1);
    a.ja.reserve(program.terms.size() + 1);
    a.ar.reserve(program.terms.size() + 1);
    a.ia.push_back(0);
    a.ja.push_back(0);
    a.ar.push_back(0.0);
    for (const LinearTerm& t : program.terms) {
        if (t.value == 0.0)
            continue;
        a.ia.push_back(t.row + 1);
        a.ja.push_back(t.column + 1);
        a.ar.push_back(t.value);
    }

    std::vector<double> values(n + 1, 0.0);
    std::vector<double> duals;
    const bool wantDuals = options.duals && !anyInteger;
    if (wantDuals)
        duals.assign(m + 1, 0.0);
    Outcome outcome = Outcome::Optimal;
    if (n > 0)
        outcome = Guarded(program, a, options, anyInteger, Out{values.data(), wantDuals ? duals.data() : nullptr});
    switch (outcome) {
    case Outcome::Optimal: break;
    case Outcome::Infeasible: solution.status = LinearStatus::Infeasible; return solution;
    case Outcome::Unbounded: solution.status = LinearStatus::Unbounded; return solution;
    case Outcome::TimeLimit: solution.status = LinearStatus::TimeLimit; return solution;
    case Outcome::Failed: solution.status = LinearStatus::Failed; return solution;
    }

    solution.values.resize(n);
    double objective = program.constant;
    for (int j = 0; j < n; ++j) {
        double x = values[j + 1];
        if (anyInteger && program.columns[j].integer)
            x = std::nearbyint(x);
        solution.values[j] = x == 0.0 ? 0.0 : x;
        objective += program.columns[j].cost * solution.values[j];
    }
    solution.objective = objective == 0.0 ? 0.0 : objective;
    if (wantDuals)
        solution.rowDuals.assign(duals.begin() + 1, duals.end());
    solution.status = LinearStatus::Optimal;
    return solution;
}

void ReleaseSolverForThread()
{
    glp_free_env();
}
