#pragma once
// A quick look around one timetable for cheap ones, before the ranked
// search proper: from a timetable, every timetable that differs in one
// course's section is met; the cheapest of them becomes the next start while
// it is cheaper than the current one. The cheapest distinct timetables met
// are kept. When there are more than 26, the 26th's cost bounds the 26th
// best of all from above, so the search can ignore anything dearer from the
// start, and more than 26 timetables are known to exist.

#include <array>
#include <cstdint>

#include "rank_problem.h"

namespace quorvandel {

struct LocalBest {
    // The cheapest distinct timetables met, cheapest first; one more than
    // the store holds, so that a full list proves more than 26 exist.
    std::array<RankedTimetable, MaxStoredTimetables + 1> best{};
    int count = 0;
    bool full() const { return count == MaxStoredTimetables + 1; }
};

// Adds what it meets around `start`, a conflict-free timetable of
// `problem`, to `list`. At most `maxMoves` moves to a cheaper neighbour
// are made.
void searchAround(const RankProblem& problem, const std::array<int16_t, MaxCourses>& start, int maxMoves,
                  LocalBest& list);

}  // namespace quorvandel
