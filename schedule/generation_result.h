#pragma once
// What one "TimeTablify!" left for the windows: how it ended and whether the
// stored timetables are all there are. The generator makes it; the main
// window and the results viewer read it, and need nothing else of the
// generator for that.

#include <cstdint>

#include "schedule_model.h"

namespace quorvandel {

enum class TimeTablifyOutcome {
    AllClassesNeedSection,  // a course has no section; nothing was searched
    NoTimetables,           // no conflict-free timetable exists; open nothing
    ShowResults,            // Timetables(0 .. NumTimetables - 1) are ready to be shown
    StoppedNoneFound,       // the user stopped the search before any timetable was found
    EverySectionBusy,       // a course has sections, all in busy times; nothing was searched
    EverySectionLeftOut,    // a course has sections, the user left every one out; nothing was searched
};

struct GenerationResult {
    TimeTablifyOutcome outcome = TimeTablifyOutcome::NoTimetables;
    bool moreThanStored = false;  // more than 26 conflict-free timetables exist
    bool stopped = false;         // the search was stopped; more timetables may exist
    // For AllClassesNeedSection and NoTimetables: the lines shown under the
    // message, saying which courses are at fault. Empty when the search for
    // them was stopped.
    Text details{};
    int16_t busyCourse = -1;  // EverySectionBusy, EverySectionLeftOut: the course at fault
    // The options the generation ran with: how its timetables are ranked and
    // scored, and which half-hours were busy.
    ScheduleOptions options{};
};

}  // namespace quorvandel
