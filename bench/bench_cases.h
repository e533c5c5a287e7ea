#pragma once
// The benchmark's named schedules. Each fills a whole module state's course
// list (other fields are left for the generator to reset).

#include <cstdint>

#include "schedule_makers.h"
#include "schedule_model.h"
#include "schedule_options.h"

namespace quorvandel::bench {

// The random kinds the ranked search and the count are measured on, five
// seeds each (RandomKindSeeds): 8 courses x 6 sections on weekdays (a
// typical student), 12 x 8 on weekdays, and 20 x 10 of short sections on
// all seven days.
struct RandomKind {
    const char* name;
    int courses;
    int sections;
    makers::SectionStyle style;
};
inline constexpr RandomKind RandomKinds[] = {
    {"8x6", 8, 6, {.minLength = 2, .maxLength = 3, .minDays = 1, .maxDays = 3, .dayPool = 5}},
    {"12x8", 12, 8, {.minLength = 2, .maxLength = 3, .minDays = 1, .maxDays = 2, .dayPool = 5}},
    {"20x10", 20, 10, {.minLength = 1, .maxLength = 2, .minDays = 1, .maxDays = 2, .dayPool = 7}},
};
inline constexpr std::uint64_t RandomKindSeeds[] = {1, 2, 3, 4, 5};
void randomKindSchedule(ModuleState& state, const RandomKind& kind, std::uint64_t seed);

// Twin labs: the 12 x 8 kind whose sections come in pairs meeting at the
// same times (the second of each pair a copy of the first, with its own
// number): 4 arrangements of times per course. With `sameTimesOnce` the
// option that shows each arrangement once is on.
void twinsSchedule(ModuleState& state, std::uint64_t seed, bool sameTimesOnce);
inline constexpr std::uint64_t TwinsSeeds[] = {1, 2, 3};

// 8 courses x 6 sections in a typical student week: Monday/Wednesday/Friday
// hours and Tuesday/Thursday hour-and-a-halves between 08:00 and 18:00.
void realisticSchedule(ModuleState& state);
// 20 x 10, short sections spread over the whole week: many timetables.
void fullManySchedule(ModuleState& state);
// 19 courses of 10 sections that never clash with each other, and course 0
// whose 10 sections each cover the whole week: no timetable.
void fullNoneBlockerSchedule(ModuleState& state);
// 20 x 10 random with long sections: few or no timetables.
void fullDenseSchedule(ModuleState& state);
// 20 x 10 random in the style that sits at the edge between no timetable
// and a few dozen; the seed picks the schedule.
void edgeSchedule(ModuleState& state, std::uint64_t seed);
// 20 x 10 random sections of 2 or 3 meetings: a lecture of an hour on one
// or two of six days, a lab of two to three hours on one day, and half the
// time a third hour; near the edge of fitting.
void meetSchedule(ModuleState& state, std::uint64_t seed);
// 20 courses, each of whose 10 sections is one of 19 disjoint blocks of the
// week: more courses than blocks, so no timetable.
void holesSchedule(ModuleState& state, std::uint64_t seed);

// Schedules that fail for lack of room while every pair of sections fits;
// seed % 3 picks the kind: 0, 20 courses of two-block sections on 39
// blocks; 1, courses of one-day intervals that overfill the days they may
// use (length and days picked by the seed); 2, 19 courses of two-block
// sections on 39 blocks and one course whose sections take two of them
// but one, elsewhere (timetables exist only with that one).
void roomSchedule(ModuleState& state, std::uint64_t seed);
// The growth series: n courses of two-block sections on 2n - 1 blocks.
void growthSchedule(ModuleState& state, int n);

// The kinds a hunt for the slowest schedules of 20 courses of 10 sections
// found; the seed picks the schedule:
//  - pairs: two-block sections (one band on two days, or two neighbouring
//    bands on one day) on 39 blocks of 4 or 5 half-hours: no timetable;
//  - pairs41: the same on 41 blocks, where timetables barely exist;
//  - culprit: pairs on 39 blocks for 19 courses, and a 20th course of
//    their pairs with one half-hour section on Sunday morning;
//  - long: sections of 2 to 5 hours on one day of seven;
//  - copies: each course's ten sections are copies of 3 distinct ones of
//    1 or 2 half-hours on 1 or 2 of seven days.
enum class HuntKind { Pairs, Pairs41, Culprit, Long, Copies };
inline constexpr int HuntKindCount = 5;
void huntSchedule(ModuleState& state, HuntKind kind, std::uint64_t seed);

struct HuntCase {
    const char* name;
    HuntKind kind;
    std::uint64_t seed;
    bool hasTimetable;
};
// The seeds: `quorvandel_bench_pick hunt 1 200 3` (the slowest first-found
// searches of 200 seeds of each kind; every pairs seed is settled at once),
// and the first seeds of culprit, which have timetables, for the orders.
inline constexpr HuntCase HuntCases[] = {
    {"pairs", HuntKind::Pairs, 1, false},       {"pairs", HuntKind::Pairs, 2, false},
    {"pairs41", HuntKind::Pairs41, 134, true},  {"pairs41", HuntKind::Pairs41, 111, true},
    {"culprit", HuntKind::Culprit, 167, false}, {"culprit", HuntKind::Culprit, 27, false},
    {"culprit", HuntKind::Culprit, 1, true},    {"culprit", HuntKind::Culprit, 2, true},
    {"long", HuntKind::Long, 118, true},        {"long", HuntKind::Long, 169, true},
    {"copies", HuntKind::Copies, 66, true},     {"copies", HuntKind::Copies, 190, true},
};

// The result orders the ranked cases are run by.
struct RankOrder {
    const char* name;
    ResultOrder primary;
    ResultOrder tieBreak;
};
inline constexpr RankOrder RankOrders[] = {
    {"days", ResultOrder::FewestDays, ResultOrder::FirstFound},
    {"idle", ResultOrder::FewestIdle, ResultOrder::FirstFound},
    {"latest_start", ResultOrder::LatestStart, ResultOrder::FirstFound},
    {"earliest_finish", ResultOrder::EarliestFinish, ResultOrder::FirstFound},
    {"days_then_idle", ResultOrder::FewestDays, ResultOrder::FewestIdle},
};

}  // namespace quorvandel::bench
