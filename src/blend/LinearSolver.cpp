#include "blend/LinearSolver.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <csetjmp>
#include <optional>

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

// Whole milliseconds left until deadline; 0 when none.
int MillisecondsLeft(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(std::min<long long>(left.count(), INT_MAX - 1)) : 0;
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
    SearchHooks* hooks; // or nullptr
    bool* incumbent;    // set when the search ended early with a whole point
};

LinearStatus Guarded(const LinearProgram& program, const GlpkArrays& a, bool integer, Out out,
                     std::chrono::steady_clock::time_point deadline)
{
    std::jmp_buf recover;
    glp_error_hook(OnGlpkError, &recover);
    if (setjmp(recover)) {
        glp_error_hook(nullptr, nullptr);
        glp_free_env();  // the environment is unusable after an internal error
        return LinearStatus::Failed;
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

    const LinearStatus result = SolveLoadedProblem(lp, integer, deadline, out.hooks);
    const bool early = out.hooks && result == LinearStatus::TimeLimit && integer && glp_mip_status(lp) == GLP_FEAS;
    if (early)
        *out.incumbent = true;
    if (result == LinearStatus::Optimal || early) {
        for (int j = 1; j <= n; ++j)
            out.values[j] = integer ? glp_mip_col_val(lp, j) : glp_get_col_prim(lp, j);
        if (out.duals && !integer)
            for (int i = 1; i <= m; ++i)
                out.duals[i] = glp_get_row_dual(lp, i);
    }
    glp_delete_prob(lp);
    glp_error_hook(nullptr, nullptr);
    return result;
}

}  // namespace

namespace {

// A programme this small goes through GLPK's presolver in a fraction of a
// millisecond, so the presolver cannot outlast any time limit on it; and it
// makes the many small integer programmes of a blending run faster by a
// quarter.
bool SmallEnoughToPresolve(glp_prob* lp)
{
    return glp_get_num_cols(lp) <= 200 && glp_get_num_rows(lp) <= 400 && glp_get_num_nz(lp) <= 20000;
}

// Branch and bound's callback: hands over the starting point once, keeps
// what the search has reached and asks whether to go on.
void OnSearch(glp_tree* tree, void* info)
{
    auto* hooks = static_cast<SearchHooks*>(info);
    const int reason = glp_ios_reason(tree);
    if (reason == GLP_IHEUR && !hooks->startGiven && hooks->start && !hooks->start->empty()) {
        hooks->startGiven = true;
        const std::vector<double>& start = *hooks->start;
        std::vector<double> x(start.size() + 1, 0.0);
        for (size_t j = 0; j < start.size(); ++j)
            x[j + 1] = start[j];
        glp_ios_heur_sol(tree, x.data());
    }
    const double gap = glp_ios_mip_gap(tree);
    hooks->last.hasIncumbent = gap < DBL_MAX;
    if (hooks->last.hasIncumbent) {
        hooks->last.gap = gap;
        hooks->last.incumbent = glp_mip_obj_val(glp_ios_get_prob(tree));
    }
    if (hooks->search && *hooks->search && !(*hooks->search)(hooks->last)) {
        hooks->stopped = true;
        glp_ios_terminate(tree);
    }
}

void Hook(glp_iocp& search, SearchHooks* hooks)
{
    if (!hooks)
        return;
    search.cb_func = OnSearch;
    search.cb_info = hooks;
}

// Branch and bound behind GLPK's presolver. Nothing when the presolver finds
// no integer point: it has been seen to call a programme infeasible whose
// only points meet several rows exactly, so that verdict is confirmed
// without it.
std::optional<LinearStatus> PresolvedSearch(glp_prob* lp, int left, SearchHooks* hooks)
{
    glp_iocp search;
    glp_init_iocp(&search);
    search.msg_lev = GLP_MSG_OFF;
    search.presolve = GLP_ON;
    search.tm_lim = left;
    Hook(search, hooks);
    const int rc = glp_intopt(lp, &search);
    if (rc == GLP_ETMLIM || rc == GLP_ESTOP)
        return LinearStatus::TimeLimit;
    if (rc == 0 && glp_mip_status(lp) == GLP_OPT)
        return LinearStatus::Optimal;
    if (rc == GLP_ENOPFS || rc == GLP_ENODFS || (rc == 0 && glp_mip_status(lp) == GLP_NOFEAS))
        return std::nullopt;
    return LinearStatus::Failed;
}

}  // namespace

LinearStatus SolveLoadedProblem(glp_prob* lp, bool integer, std::chrono::steady_clock::time_point deadline)
{
    return SolveLoadedProblem(lp, integer, deadline, nullptr);
}

LinearStatus SolveLoadedProblem(glp_prob* lp, bool integer, std::chrono::steady_clock::time_point deadline,
                                SearchHooks* hooks)
{
    int left = MillisecondsLeft(deadline);
    if (left <= 0)
        return LinearStatus::TimeLimit;
    const bool started = hooks && hooks->start && !hooks->start->empty();
    if (integer && !started && SmallEnoughToPresolve(lp)) {
        if (const std::optional<LinearStatus> found = PresolvedSearch(lp, left, hooks))
            return *found;
        left = MillisecondsLeft(deadline);
        if (left <= 0)
            return LinearStatus::TimeLimit;
    }
    glp_smcp simplex;
    glp_init_smcp(&simplex);
    simplex.msg_lev = GLP_MSG_OFF;
    simplex.presolve = GLP_OFF;
    simplex.tm_lim = left;
    int rc = glp_simplex(lp, &simplex);
    if (rc == GLP_EFAIL) {
        // The simplex method lost its way on a badly scaled programme (rows
        // of tons beside rows of calorific values): scaled, from a fresh basis.
        glp_scale_prob(lp, GLP_SF_AUTO);
        glp_std_basis(lp);
        simplex.tm_lim = MillisecondsLeft(deadline);
        rc = simplex.tm_lim > 0 ? glp_simplex(lp, &simplex) : GLP_ETMLIM;
    }
    if (rc == GLP_ETMLIM)
        return LinearStatus::TimeLimit;
    if (rc != 0)
        return LinearStatus::Failed;
    switch (glp_get_status(lp)) {
    case GLP_OPT: break;
    case GLP_NOFEAS: return LinearStatus::Infeasible;
    case GLP_UNBND: return LinearStatus::Unbounded;
    default: return LinearStatus::Failed;
    }
    if (!integer)
        return LinearStatus::Optimal;

    left = MillisecondsLeft(deadline);
    if (left <= 0)
        return LinearStatus::TimeLimit;
    glp_iocp search;
    glp_init_iocp(&search);
    search.msg_lev = GLP_MSG_OFF;
    search.presolve = GLP_OFF;
    search.tm_lim = left;
    Hook(search, hooks);
    rc = glp_intopt(lp, &search);
    if (rc == GLP_ETMLIM || rc == GLP_ESTOP)
        return LinearStatus::TimeLimit;
    if (rc != 0)
        return LinearStatus::Failed;
    switch (glp_mip_status(lp)) {
    case GLP_OPT: return LinearStatus::Optimal;
    case GLP_NOFEAS: return LinearStatus::Infeasible;
    default: return LinearStatus::Failed;
    }
}

LinearSolution SolveLinearProgram(const LinearProgram& program, const LinearOptions& options)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(options.timeLimitMs);
    LinearSolution solution;
    if (options.timeLimitMs <= 0) {
        solution.status = LinearStatus::TimeLimit;
        return solution;
    }
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
    SearchHooks hooks;
    hooks.search = &options.search;
    hooks.start = &options.start;
    const bool hooked = options.search || !options.start.empty();
    bool incumbent = false;
    std::vector<double> duals;
    const bool wantDuals = options.duals && !anyInteger;
    if (wantDuals)
        duals.assign(m + 1, 0.0);
    LinearStatus status = LinearStatus::Optimal;
    if (n > 0)
        status = Guarded(program, a, anyInteger,
                         Out{values.data(), wantDuals ? duals.data() : nullptr, hooked ? &hooks : nullptr, &incumbent},
                         deadline);
    solution.stopped = hooks.stopped;
    if (status != LinearStatus::Optimal && !incumbent) {
        solution.status = status;
        return solution;
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
    solution.status = status;
    solution.incumbent = incumbent;
    solution.gap = incumbent ? hooks.last.gap : 0.0;
    return solution;
}

void ReleaseSolverForThread()
{
    glp_free_env();
}
