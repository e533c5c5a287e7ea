#pragma once
// The number of timetables, counted by sweeping the week in time order: the
// way the count is exact on schedules where every course shares cells with
// every other, so that the course-by-course count (TimetableCount) finds
// neither groups nor repeated subproblems.
//
// The week is read across the days: 08:00 on every day, then 08:30 on every
// day, and so on. Sections are taken in the order of their first half-hour
// in that reading. A state of the sweep is what the sections chosen so far
// leave for the ones still to come: which courses are placed, and which
// cells ahead of the sweep they cover. Partial timetables that leave the
// same state have the same completions, so a state only carries how many
// partial timetables reach it.
//
// Taking a section: every state that has not placed its course and leaves
// its cells free gains a successor with it placed (and keeps itself, for
// the timetables that do not take it). When the sweep moves on, the cells
// behind it are forgotten, since no later section covers them, and states
// without a course whose sections are all passed are dropped: equal states
// merge. Sections are short against the day, so the cells a state
// remembers are few; the states grow instead with the courses whose
// sections lie both behind and ahead of the sweep (up to 2^n sets of them),
// so the sweep gives up past a number of states and the caller counts
// another way.

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "schedule_model.h"
#include "search_limits.h"

namespace quorvandel {

struct SweepTally {
    enum class Kind : std::int8_t {
        Counted,  // count is the number of timetables (saturated at 2^64 - 1)
        GaveUp,   // too many states or steps: count means nothing
        Stopped,  // the stop flag was raised
    };
    Kind kind = Kind::GaveUp;
    std::uint64_t count = 0;
    std::uint64_t steps = 0;     // (state, section) pairs looked at
    std::size_t peakStates = 0;  // the most states held at once
};

// Counts the timetables of courses[0 .. numCourses-1] (1 .. 20 courses;
// every section of each is usable), within limits.sweepMaxStates and
// limits.sweepStepBudget. stop may be null.
SweepTally sweepCount(const CourseList& courses, int numCourses, const CountLimits& limits,
                      const std::atomic<bool>* stop);

}  // namespace quorvandel
