#include "plain_enumeration.h"

namespace quorvandel::plain {

void ResetCombination(ModuleState& state) {
    for (int i = 0; i < MaxCourses; ++i) state.SectionChoice[static_cast<size_t>(i)] = 0;
    state.EnumDone = false;
}

namespace {

void markTime(ModuleState& state, int startSlot, int endSlot, const std::array<bool, DaysPerWeek>& days) {
    for (int d = 0; d < DaysPerWeek; ++d) {
        if (!days[static_cast<size_t>(d)]) continue;
        for (int c = d * SlotsPerDay + startSlot; c <= d * SlotsPerDay + endSlot - 1; ++c)
            state.Occupancy[static_cast<size_t>(c)] += 1;
    }
}

}  // namespace

// Every meeting is marked on its own, so two meetings of one section that
// shared a cell would show as a clash.
void MarkSection(ModuleState& state, const Section& sec) {
    markTime(state, sec.StartSlot, sec.EndSlot, sec.Days);
    for (int m = 0; m < sec.NumMoreMeetings; ++m) {
        const Meeting& more = sec.MoreMeetings[static_cast<size_t>(m)];
        markTime(state, more.StartSlot, more.EndSlot, more.Days);
    }
}

bool CheckCombination(ModuleState& state) {
    for (int i = 0; i < state.NumCourses; ++i)
        MarkSection(state, state.Courses[static_cast<size_t>(i)]
                               .Sections[static_cast<size_t>(state.SectionChoice[static_cast<size_t>(i)])]);
    bool result = true;
    for (int c = 0; c < CellsPerWeek; ++c)
        if (state.Occupancy[static_cast<size_t>(c)] > 1) result = false;
    return result;
}

void StoreTimetable(ModuleState& state) {
    Timetable t;
    t.NumSections = state.NumCourses;
    for (int i = 0; i < state.NumCourses; ++i)
        t.Sections[static_cast<size_t>(i)] =
            state.Courses[static_cast<size_t>(i)]
                .Sections[static_cast<size_t>(state.SectionChoice[static_cast<size_t>(i)])];
    state.Timetables[static_cast<size_t>(state.NumTimetables)] = t;
    state.NumTimetables += 1;
}

void NextCombination(ModuleState& state) {
    auto& choice = state.SectionChoice;
    choice[0] += 1;
    for (int i = 0; i <= state.NumCourses - 2; ++i) {
        if (choice[static_cast<size_t>(i)] == state.Courses[static_cast<size_t>(i)].NumSections) {
            choice[static_cast<size_t>(i)] = 0;
            choice[static_cast<size_t>(i + 1)] += 1;
        }
    }
    const int last = state.NumCourses - 1;
    if (choice[static_cast<size_t>(last)] == state.Courses[static_cast<size_t>(last)].NumSections)
        state.EnumDone = true;
}

PlainResult MakeTimetables(ModuleState& state, bool stopAtTwentySeventh) {
    PlainResult result;
    state.NumTimetables = 0;
    ResetCombination(state);
    while (!state.EnumDone) {
        ++result.combinations;
        if (CheckCombination(state)) {
            ++result.conflictFree;
            if (state.NumTimetables < MaxStoredTimetables) {
                StoreTimetable(state);
            } else {
                result.moreThanStored = true;
                if (stopAtTwentySeventh) {
                    for (int c = 0; c < CellsPerWeek; ++c) state.Occupancy[static_cast<size_t>(c)] = 0;
                    break;
                }
            }
        }
        NextCombination(state);
        for (int c = 0; c < CellsPerWeek; ++c) state.Occupancy[static_cast<size_t>(c)] = 0;
    }
    return result;
}

}  // namespace quorvandel::plain
