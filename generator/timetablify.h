#pragma once
// The "TimeTablify!" command as a function of the module state. No Qt here:
// the main window runs it (on a worker thread) and acts on the outcome.

#include <atomic>
#include <cstdint>
#include <functional>

#include "generation_result.h"
#include "schedule_model.h"
#include "search_limits.h"
#include "timetable_score.h"

namespace quorvandel {

// The messages that answer the outcomes AllClassesNeedSection and
// NoTimetables (generation_result.h).
extern const Text AllClassesNeedSectionMessage;  // "All Classes must have at least one section"
extern const Text NoTimetablesMessage;           // "Sorry, your schedule has no possible ..."
// The message that answers EverySectionBusy: "Every section of <course> falls
// in your busy times".
Text EverySectionBusyMessage(const Text& courseName);
// The message that answers EverySectionLeftOut: "Every section of <course>
// is left out".
Text EverySectionLeftOutMessage(const Text& courseName);

// How a caller watches and stops a running search. Both are optional.
struct SearchControl {
    // Checked often during the search; once it reads true the search ends
    // promptly, keeping the timetables stored so far (the first ones in order).
    const std::atomic<bool>* stop = nullptr;
    // Called on the searching thread with the number of timetables stored so
    // far: right after each one is stored, and now and then while searching.
    // It may set the stop flag; a stop set right after the k-th timetable is
    // stored leaves exactly k.
    std::function<void(int found)> progress;
    // A ranked search (ScheduleOptions::ranked) also reports, with each
    // progress call, the best score among the timetables it holds.
    std::function<void(const RankScore& best)> bestSoFar;
};

// The whole command: resets CurrentTimetable and NumTimetables, checks that
// every course has a section, then generates. Afterwards Occupancy is all 0,
// EnumDone is true and CurrentTimetable is 0.
GenerationResult TimeTablify(ModuleState& state, const SearchControl& control = {});

// The generation itself: discards earlier results (NumTimetables = 0) and
// stores the first 26 conflict-free timetables in enumeration order (course
// 0's section varies fastest), stopping as soon as a 27th is known to exist.
// Sections the user left out, and those covering a busy cell of
// state.Options, are left out as if they did not exist; a course whose every
// section is left out (EverySectionLeftOut), or else busy
// (EverySectionBusy), ends the command at once. With a ranked order in state.Options, the 26 best by
// that order are stored instead, best first, ties in enumeration order.
// Meant for a state whose every course has a section; a course without one
// simply yields no timetable. With no courses at all, the one (empty)
// combination is stored as a timetable with NumSections 0.
GenerationResult MakeTimetables(ModuleState& state, const SearchControl& control = {});

// The same with the search's knobs set by the caller (tests, benchmark).
// Every SearchLimits gives the same timetables; stats, when given, receives
// what the search did.
GenerationResult TimeTablify(ModuleState& state, const SearchControl& control, const SearchLimits& limits,
                             SearchStats* stats = nullptr);
GenerationResult MakeTimetables(ModuleState& state, const SearchControl& control, const SearchLimits& limits,
                                SearchStats* stats = nullptr);

}  // namespace quorvandel
