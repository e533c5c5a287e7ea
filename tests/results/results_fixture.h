#pragma once
// Builds stored timetables by hand for the results viewer's tests and demo,
// the way the generator leaves them: Timetables(0 .. n - 1), NumTimetables n,
// CurrentTimetable 0.

#include <initializer_list>
#include <string>

#include "generation_result.h"
#include "schedule_model.h"
#include "section_maker.h"

namespace quorvandel::testing {

inline Text text(const char* s) {
    Text out;
    for (; *s; ++s) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*s)));
    return out;
}

// A section from StartSlot to EndSlot (exclusive) on the given days
// (0 = Monday .. 6 = Sunday).
inline Section section(const char* course, const char* secNum, int startSlot, int endSlot,
                       std::initializer_list<int> days) {
    return makeSection(text(course), text(secNum), startSlot, endSlot, days);
}

inline Timetable timetable(std::initializer_list<Section> sections) {
    Timetable t;
    for (const Section& s : sections) t.Sections[static_cast<size_t>(t.NumSections++)] = s;
    return t;
}

// What a generation that stored timetables hands the results viewer.
inline GenerationResult shown(bool moreThanStored = false, bool stopped = false) {
    GenerationResult r;
    r.outcome = TimeTablifyOutcome::ShowResults;
    r.moreThanStored = moreThanStored;
    r.stopped = stopped;
    return r;
}

// Appends a stored timetable.
inline void store(ModuleState& state, const Timetable& t) {
    state.Timetables[static_cast<size_t>(state.NumTimetables++)] = t;
    state.CurrentTimetable = 0;
}

// n timetables; timetable k holds one section "T<k+1>" number "01" on
// Monday at slot k, so every timetable paints exactly one, different cell.
inline void storeNumbered(ModuleState& state, int n) {
    for (int k = 0; k < n; ++k) {
        const std::string name = "T" + std::to_string(k + 1);
        store(state, timetable({section(name.c_str(), "01", k, k + 1, {0})}));
    }
}

}  // namespace quorvandel::testing
