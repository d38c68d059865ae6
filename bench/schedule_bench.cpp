// Times the plan over several days: ten coals with all fifteen indices, all
// thirty bounds set, two must-use coals, proportion count N = 100, the stock
// of the cheap coals too small for the horizon and deliveries during it, over
// 7 and 31 days, with different mixes per day and with one mix for every day.
//
// Baseline measured in the same run on the same coals: the single-day
// integer programme at total N with its stock rows, solved once per day of
// the horizon (what planning the days one at a time costs the solver).
//
// Usage: schedule_bench [REPETITIONS]

#include "support/ModelTexts.h"
#include "blend/BlendProblem.h"
#include "blend/LinearSolver.h"
#include "blend/Schedule.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

ScheduleInput MakeInput(int days, bool sameMix, bool shortOfStock = false)
{
    ScheduleInput input;
    input.model = TenCoalRun(false);
    input.model.tonnage.clear();
    input.days = days;
    input.parts = 100;
    input.sameMix = sameMix;
    // 10750 t in stock; the horizon needs 7000 t (7 days) or 12400 t (31 days).
    input.tonsPerDay = days <= 7 ? 1000.0 : 400.0;
    if (shortOfStock)
        input.tonsPerDay = 500.0;  // 15500 t against 10750 t and 4200 t delivered
    for (int d = 3; d <= days; d += 4)
        input.deliveries.push_back(Delivery{(d / 4) % 10, d, 600.0});
    return input;
}

// Three coals, three bounds, N = 50, 300 t a day for a week with 600 t of
// the second coal on day 4: a small yard whose days are much alike.
ScheduleInput SmallYard()
{
    ScheduleInput input;
    const char* names[3] = {"大同精煤", "神木原煤", "晋城块煤"};
    const char* values[3][5] = {{"8.5", "0.52", "6020", "500", "820"},
                                {"13.8", "0.86", "5210", "800", "510"},
                                {"10.9", "0.61", "5630", "600", "640"}};
    for (int j = 0; j < 3; ++j) {
        Mei coal;
        coal.MingCheng = QString::fromUtf8(names[j]);
        coal.HuiFen = QLatin1String(values[j][0]);
        coal.Liu = QLatin1String(values[j][1]);
        coal.ReLiang = QLatin1String(values[j][2]);
        coal.Kucun = QLatin1String(values[j][3]);
        coal.JiaGe = QString::fromLatin1(values[j][4]).toDouble();
        input.model.coals << coal;
        input.model.mustInclude << false;
    }
    input.model.upper[6] = QStringLiteral("12");
    input.model.upper[5] = QStringLiteral("0.8");
    input.model.lower[2] = QStringLiteral("5500");
    input.days = 7;
    input.parts = 50;
    input.tonsPerDay = 300;
    input.deliveries.push_back(Delivery{1, 4, 600});
    return input;
}

double SingleDaySeconds(const ScheduleInput& input)
{
    ModelInput model = input.model;
    model.tonnage = QString::number(input.tonsPerDay);
    const Result<BlendProblem> problem = MakeBlendProblem(model);
    if (!problem)
        return -1.0;
    const LinearProgram program = BlendProgram(*problem, input.parts);
    const auto start = Clock::now();
    for (int d = 0; d < input.days; ++d)
        if (SolveLinearProgram(program).status != LinearStatus::Optimal)
            return -1.0;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

const char* StatusName(Schedule::Status status)
{
    switch (status) {
    case Schedule::Status::Optimal: return "optimal";
    case Schedule::Status::TimeLimit: return "time limit";
    case Schedule::Status::None: return "none";
    case Schedule::Status::Unknown: return "unknown";
    }
    return "";
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    std::printf("plan over several days: 10 coals, 30 bounds, N = 100, best of %d\n", repetitions);
    std::printf("%-5s %-9s %10s %-11s %8s %14s %12s %8s\n", "days", "mix", "seconds", "status", "gap", "total cost",
                "baseline s", "ratio");
    struct Scenario {
        int days;
        bool sameMix;
        bool shortOfStock;
        bool small = false;
    };
    for (const Scenario& scenario : {Scenario{7, false, false}, Scenario{7, true, false}, Scenario{31, false, false},
                                     Scenario{31, true, false}, Scenario{31, false, true}, Scenario{7, false, false, true}}) {
        {
            const int days = scenario.days;
            const bool sameMix = scenario.sameMix;
            const ScheduleInput input = scenario.small ? SmallYard() : MakeInput(days, sameMix, scenario.shortOfStock);
            double best = 1e9;
            Result<Schedule> solved = Fail(QString());
            for (int r = 0; r < repetitions; ++r) {
                const auto start = Clock::now();
                solved = SolveSchedule(input);
                best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
            }
            double baseline = 1e9;
            for (int r = 0; r < repetitions; ++r)
                baseline = std::min(baseline, SingleDaySeconds(input));
            if (!solved) {
                std::printf("%-5d %-9s failed (%d): %s\n", days, scenario.shortOfStock ? "short" : sameMix ? "one" : "per day", int(solved.kind()), qPrintable(solved.message()));
                continue;
            }
            std::printf("%-5d %-9s %10.3f %-11s %7.3f%% %14.2f %12.4f %8.1f\n", days,
                        scenario.small ? "3 coals" : scenario.shortOfStock ? "short" : sameMix ? "one" : "per day", best,
                        StatusName(solved->status), 100.0 * solved->gap, solved->totalCost, baseline,
                        baseline > 0 ? best / baseline : 0.0);
            if (solved->reason)
                std::printf("      no schedule: %s, first day %d, coal %d\n",
                            solved->reason->kind == NoScheduleReason::Kind::Stock ? "stock" : "bounds",
                            solved->reason->day, solved->reason->coal + 1);
        }
    }
    return 0;
}
