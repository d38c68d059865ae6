#pragma once

// Plans of ten coals with all thirty bounds and a tonnage, shared by the
// benchmarks of the plan analysis and of the history window.

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "blend/BlendProblem.h"
#include "blend/LinearSolver.h"
#include "history/PlanAnalysis.h"
#include "support/ModelTexts.h"

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace bench {

inline QString Text(double value)
{
    std::string text;
    AppendShortestNumber(text, value);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Ten coals whose price follows their quality: the cheap ones carry more
// ash, sulphur and moisture and less heat, so the cheapest blend presses
// against the targets. Every index has both bounds, one side loose; the other
// side lies 3 % from the base value for heat, sulphur, ash and volatile matter
// and 12 % for the rest, or 3 % for every index in the hard plan (which makes
// many of the solver's integer solves slow in themselves).
inline void MakeTenCoalPlan(bool shovel, bool hard, int lastTotal, PlanTargets& targets, QVector<Mei>& coals)
{
    static const double base[kIndexCount] = {2.0, 8.0, 5200, 5600, 3.0, 0.6, 12.0, 28.0,
                                             33.0, 60.0, 14.0, 55.0, 70.0, 1250, 80.0};
    // +1: more is better (a lower bound holds), -1: less is better (an upper bound holds).
    static const int better[kIndexCount] = {-1, -1, 1, 1, -1, -1, -1, -1, -1, 1, 1, 1, 1, 1, 1};
    static const char* shovelWeight[10] = {"2", "3", "2.5", "1.5", "2", "3", "1", "2.5", "2", "1.5"};
    for (int j = 0; j < 10; ++j) {
        const double quality = ((j * 7) % 10) / 9.0;
        Mei coal;
        coal.MingCheng = QStringLiteral("煤%1").arg(j + 1);
        coal.JiaGe = std::round((380 + 240 * quality + 6.5 * ((j * 3) % 4)) * 100) / 100;
        coal.Kucun = QString::number(400 + 150 * j);
        coal.MeiChan = QString::fromLatin1(shovelWeight[j]);
        for (int i = 0; i < kIndexCount; ++i) {
            const double noise = 0.08 * (((j * 5 + i * 3) % 7) - 3) / 3.0;
            const double factor = better[i] > 0 ? 0.75 + 0.5 * quality + noise : 1.25 - 0.5 * quality + noise;
            IndexValue(coal, i) = FormatIndexValue(base[i] * factor);
        }
        coals.push_back(coal);
        targets.mustInclude.push_back(j == 2 || j == 7);
    }
    for (int i = 0; i < kIndexCount; ++i) {
        const bool key = i == 2 || i == 5 || i == 6 || i == 7;
        const double tight = key || hard ? 0.03 : 0.12;
        targets.lower[i] = Text(base[i] * (better[i] > 0 ? 1 - tight : 0.7));
        targets.upper[i] = Text(base[i] * (better[i] > 0 ? 1.3 : 1 + tight));
    }
    targets.tonnage = QStringLiteral("1000");
    targets.proportionCount = QString::number(lastTotal);
    targets.shovelMode = shovel;
}

// A plan's rows as a run keeps them: every total 2 ... lastTotal solved, one
// row per distinct rounded price, with the total it was found at.
struct SolvedRow {
    StoredRow row;
    int total = 0;
};

inline std::vector<SolvedRow> SolvePlanRows(const BlendProblem& problem, int lastTotal)
{
    std::vector<SolvedRow> rows;
    std::set<double> prices;
    for (int n = 2; n <= lastTotal; ++n) {
        const LinearSolution s = SolveLinearProgram(BlendProgram(problem, n));
        if (s.status != LinearStatus::Optimal)
            continue;
        const double price = ToRoundedDouble(UnitPriceOf(problem, s.values, n));
        if (!prices.insert(price).second)
            continue;
        rows.push_back({StoredRow{s.values, price}, n});
    }
    return rows;
}

}  // namespace bench
