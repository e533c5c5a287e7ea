#pragma once
// Where the results stand: Timetables(CurrentTimetable), one of the
// NumTimetables stored. While results are shown the position always names a
// stored timetable: they open on the first one of a generation that stored
// any, "Previous" and "Next" are enabled only towards a stored neighbour, and
// every new generation closes open results before it rewrites the store.
// A position out of step with the store is therefore a bug, never a state to
// put right.

#include <cassert>

#include "schedule_model.h"

namespace quorvandel {

// Whether CurrentTimetable names a stored timetable (NumTimetables within
// its capacity).
constexpr bool isStoredPosition(const ModuleState& state) {
    return state.NumTimetables <= MaxStoredTimetables && 0 <= state.CurrentTimetable &&
           state.CurrentTimetable < state.NumTimetables;
}

// The timetable at the position. Out of step with the store (the position,
// or the timetable's count of sections) a debug build stops here; a release
// build gets null, so the results show nothing rather than read outside the
// arrays.
inline const Timetable* timetableAtPosition(const ModuleState& state) {
    assert(isStoredPosition(state) && "the results stand outside the stored timetables");
    if (!isStoredPosition(state)) return nullptr;
    const Timetable& timetable = state.Timetables[static_cast<std::size_t>(state.CurrentTimetable)];
    const bool countInRange = 0 <= timetable.NumSections && timetable.NumSections <= MaxCourses;
    assert(countInRange && "a stored timetable holds one section per course");
    return countInRange ? &timetable : nullptr;
}

}  // namespace quorvandel
