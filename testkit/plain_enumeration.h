#pragma once
// The reference generator: the exhaustive enumeration exactly as the
// program's design describes it, with no pruning at all. A counter over the
// section indices (course 0 moves fastest), a per-cell count on the week
// grid, every combination fully marked, tested on all 203 cells and cleared.
// Its one addition: it goes on past the 26th stored timetable so that it can
// tell whether a 27th exists. Tests and the benchmark compare the shipped
// generator against it.

#include <cstdint>

#include "schedule_model.h"

namespace quorvandel::plain {

struct PlainResult {
    bool moreThanStored = false;    // a 27th conflict-free combination exists
    std::int64_t combinations = 0;  // combinations tested
    std::int64_t conflictFree = 0;  // conflict-free combinations seen
};

// Runs the enumeration on a state whose every course has at least one
// section and NumCourses >= 1: NumTimetables is reset and the first 26
// conflict-free combinations are stored in Timetables. With
// stopAtTwentySeventh the enumeration ends as soon as a 27th is seen;
// otherwise every combination is visited.
PlainResult MakeTimetables(ModuleState& state, bool stopAtTwentySeventh = false);

// The odometer's steps, for tests that want to walk it themselves.
void ResetCombination(ModuleState& state);
bool CheckCombination(ModuleState& state);
void MarkSection(ModuleState& state, const Section& sec);
void StoreTimetable(ModuleState& state);
void NextCombination(ModuleState& state);

}  // namespace quorvandel::plain
