#pragma once

#include "base/Mei.h"
#include "base/Result.h"
#include "blend/BlendProblem.h"
#include "blend/ModelText.h"

#include <functional>
#include <optional>
#include <vector>

// A blending plan over several days against the yard's stock.
//
// Each day d = 1 ... D blends tonsPerDay tons from the same coals, as one
// mix of whole parts (whole shovels in the shovel-count form) whose weighted
// sum is the proportion count N, exactly as the single-day model of total N:
// every bound, every must-use coal (at least one part on every day), basis
// weighting. Coal j's tons on day d are tonsPerDay * weight_j * x_dj / N
// (weight_j is 1, or its tons per shovel), so a day's tons add up to
// tonsPerDay. A coal's stock starts at its 库存, grows by each delivery on
// the delivery's day (usable that same day) and falls by each day's tons;
// it never goes below zero:
//
//   for every coal j and day d:
//     tonsPerDay * weight_j * sum_{e <= d} x_ej  <=  N * (opening_j + delivered_j up to d)
//
// The whole horizon is one integer programme minimising the total cost (tons
// times price, summed over days and coals). With one mix for every day the
// days share their variables.

// Tons of a coal that arrive on a day (from 1), usable from that day on.
struct Delivery {
    int coal = 0;     // 0-based, in the coal order of the input
    int day = 1;
    double tons = 0.0;
    bool operator==(const Delivery&) const = default;
};

struct ScheduleInput {
    // The coals in grid order (their Kucun is the opening stock), the bounds,
    // the must-use marks, the shovel mode and the bases; the tonnage is not
    // used.
    ModelInput model;
    int days = 1;
    double tonsPerDay = 0.0;
    int parts = 100;           // the proportion count N
    std::vector<Delivery> deliveries;
    bool sameMix = false;      // one mix for every day
    int timeLimitMs = 30000;   // for the whole solve; at it the best schedule found is kept
};

// What is wrong with an input before anything is solved.
struct ScheduleFault {
    enum class Kind {
        None,
        Days,          // days not from 1 to kMaxScheduleDays
        TonsPerDay,    // tons per day not above zero
        Parts,         // proportion count not from 1 to 1000
        TooFewCoals,   // fewer than two coals
        Stock,         // coal's 库存 is no number, or negative
        DeliveryCoal,  // delivery item names no coal of the input
        DeliveryDay,   // delivery item's day not within the days
        DeliveryTons,  // delivery item's tons not above zero
        Model,         // the coals and bounds cannot be read as a model (message)
    };
    Kind kind = Kind::None;
    int coal = -1;     // Stock
    int item = -1;     // the delivery, 0-based
    Text message;      // Model: the reason as the model reader gives it
};

inline constexpr int kMaxScheduleDays = 31;

ScheduleFault CheckSchedule(const ScheduleInput& input);

struct ScheduleDay {
    std::vector<int> parts;           // per coal: whole parts, or shovels
    std::vector<double> tons;         // per coal
    std::vector<double> stockAfter;   // per coal, at the end of the day
    Mei blend;                        // the day's blend: indices and price per ton
    double cost = 0.0;                // tons times price, summed over the coals
};

// Why there is no schedule, in the planner's terms.
struct NoScheduleReason {
    enum class Kind {
        Bounds,  // no mix meets the bounds and must-use coals even with unlimited stock
        Stock,   // the stock runs short
    };
    Kind kind = Kind::Bounds;
    // The first day that cannot be blended: days 1 ... day - 1 have a
    // schedule, days 1 ... day have none (1 for Bounds).
    int day = 1;
    // Stock: the first coal (in input order) whose stock, were it unlimited,
    // would let days 1 ... day be blended; -1 when no one coal would.
    int coal = -1;
    double supplied = 0.0;   // that coal's opening stock and deliveries up to day
    bool operator==(const NoScheduleReason&) const = default;
};

struct Schedule {
    enum class Status {
        Optimal,     // the cheapest schedule
        TimeLimit,   // the best found when the time ran out; gap says how far from proven
        None,        // there is none; reason says why
        Unknown,     // the time ran out before any schedule was found or ruled out
    };
    Status status = Status::Unknown;
    double gap = 0.0;                 // relative, for TimeLimit
    double totalCost = 0.0;
    std::vector<ScheduleDay> days;
    std::optional<NoScheduleReason> reason;
};

// What the solve is doing, for a progress dialog.
struct ScheduleProgressStep {
    enum class Stage { Start, Search, Explain } stage = Stage::Start;
    bool hasIncumbent = false;
    double incumbent = 0.0;    // the best cost found so far
    double gap = 0.0;
    int done = 0;              // Explain: solves done of steps
    int steps = 0;
};
// Return false to stop; the solve then fails as cancelled.
using ScheduleProgress = std::function<bool(const ScheduleProgressStep&)>;

// Solves the schedule. Fails with kind Invalid when CheckSchedule finds a
// fault (the message is the model reader's for Model, else empty: the
// caller words the fault), kind Cancelled when progress stops it, and kind
// Error when the solver fails.
Result<Schedule> SolveSchedule(const ScheduleInput& input, const ScheduleProgress& progress = {});

// A coal's stock on hand at the start (its 库存), or nothing when it is no number.
std::optional<double> OpeningStock(const Mei& coal);

// The days' tons and stock from their parts: what a stored schedule is read
// back into (cost and blend included).
std::vector<ScheduleDay> ScheduleDays(const ScheduleInput& input, const std::vector<std::vector<int>>& parts);
