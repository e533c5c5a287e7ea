#pragma once
// How good a timetable is by each result order. A timetable is looked at one
// day at a time: the half-hours its classes cover on that day (a "day
// profile"). Every order's score is a cost, lower is better, summed over the
// days, so a search can bound it day by day:
// - FewestDays: the days with classes;
// - FewestIdle: the free half-hours between the first and the last class of
//   each day;
// - LatestStart: LatestStartCostBase minus the sum, over the days with
//   classes, of each day's first slot;
// - EarliestFinish: the sum, over the days with classes, of the slot at which
//   each day's last class ends.
// FirstFound scores every timetable 0.

#include <array>
#include <cstdint>

#include "schedule_model.h"
#include "schedule_options.h"

namespace quorvandel {

// The captions of the orders, in the order of ResultOrder.
extern const std::array<Text, ResultOrderCount> ResultOrderNames;

// Bit s of a day's entry is slot s of that day.
using DayProfile = std::array<std::uint32_t, DaysPerWeek>;

// The largest sum of first slots a week can have, so that LatestStart's cost
// is never negative.
constexpr int LatestStartCostBase = DaysPerWeek * (SlotsPerDay - 1);

// The score of a timetable by a two-level order: primary first, then the
// tie-break. Equal scores fall back to enumeration order.
struct RankScore {
    int primary = 0;
    int tieBreak = 0;
    friend auto operator<=>(const RankScore&, const RankScore&) = default;
};

// The cells of both profiles.
DayProfile joined(const DayProfile& a, const DayProfile& b);

DayProfile dayProfileOf(const Section& section);
DayProfile dayProfileOf(const Timetable& timetable);
int costOf(ResultOrder order, const DayProfile& profile);
RankScore scoreOf(const ScheduleOptions& options, const DayProfile& profile);

// A timetable's score in words by the orders of `options`, as a student
// would say it, for the results strip beside the counter: "3 days, 4 idle
// hours", "first class at 10:00 on average", "done by 15:30 on average".
// Empty for "First found".
Text scoreText(const ScheduleOptions& options, const DayProfile& profile);

// One order's cost in words where the cost alone says it ("3 days", "1.5
// idle hours"); empty for the orders whose words need the whole week.
Text costText(ResultOrder order, int cost);

}  // namespace quorvandel
