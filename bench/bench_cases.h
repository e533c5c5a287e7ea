#pragma once
// The benchmark's named schedules. Each fills a whole module state's course
// list (other fields are left for the generator to reset).

#include <cstdint>

#include "schedule_makers.h"
#include "schedule_model.h"

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

}  // namespace quorvandel::bench
