#include "timetablify.h"

#include <cassert>
#include <climits>
#include <memory>

#include "ranked_search.h"
#include "timetable_search.h"
#include "usable_sections.h"
#include "week_mask.h"

namespace quorvandel {

const Text AllClassesNeedSectionMessage = u"All Classes must have at least one section";
const Text NoTimetablesMessage =
    u"Sorry, your schedule has no possible conflict-free timetables.  You will need to remove some classes";

Text EverySectionBusyMessage(const Text& courseName) {
    return u"Every section of " + courseName + u" falls in your busy times";
}

Text EverySectionLeftOutMessage(const Text& courseName) { return u"Every section of " + courseName + u" is left out"; }

namespace {

// The live course count, kept within the store's capacity whatever the state holds.
int liveCourses(const ModuleState& state) {
    if (state.NumCourses < 0) return 0;
    return state.NumCourses > MaxCourses ? MaxCourses : state.NumCourses;
}

bool stopRequested(const SearchControl& control) {
    return control.stop != nullptr && control.stop->load(std::memory_order_relaxed);
}

// The first combination: section 0 of every course.
void ResetCombination(ModuleState& state) {
    state.SectionChoice.fill(0);
    state.EnumDone = false;
}

// Adds one to every Occupancy cell the section covers.
void MarkSection(ModuleState& state, const Section& section) {
    sectionMask(section).forEach([&state](int cell) { ++state.Occupancy[cell]; });
}

// Marks the combination in SectionChoice on the cell grid and tells whether
// no cell is covered twice. Occupancy is left marked; the caller clears it.
bool CheckCombination(ModuleState& state) {
    const int n = liveCourses(state);
    for (int i = 0; i < n; ++i) {
        const Course& course = state.Courses[i];
        const int16_t choice = state.SectionChoice[i];
        if (choice < 0 || choice >= course.NumSections || choice >= MaxSectionsPerCourse) return false;
        MarkSection(state, course.Sections[choice]);
    }
    bool result = true;
    for (int16_t count : state.Occupancy)
        if (count > 1) result = false;
    return result;
}

// Whether the combination in SectionChoice, which a search has proven
// conflict-free, is so on the cell grid too; Occupancy is left clear. A
// clash here is a fault of the search: asserted, and a release build leaves
// the combination out rather than store a clash.
bool ConfirmConflictFree(ModuleState& state) {
    const bool conflictFree = CheckCombination(state);
    state.Occupancy.fill(0);
    assert(conflictFree);
    return conflictFree;
}

// Copies the chosen section of every course into the next free timetable,
// with the numbers of the sections each stands for when they are merged.
void StoreTimetable(ModuleState& state, const SameTimeNumbers* sameTimes = nullptr) {
    if (state.NumTimetables < 0 || state.NumTimetables >= MaxStoredTimetables) return;
    Timetable t;  // fresh and fully empty
    const int n = liveCourses(state);
    t.NumSections = static_cast<int16_t>(n);
    for (int i = 0; i < n; ++i) t.Sections[i] = state.Courses[i].Sections[state.SectionChoice[i]];
    if (sameTimes != nullptr)
        for (int i = 0; i < n; ++i) t.SameTimeNumbers[i] = (*sameTimes)[i][state.SectionChoice[i]];
    state.Timetables[state.NumTimetables] = t;
    ++state.NumTimetables;
}

// Sets SectionChoice to a combination the search found among the usable
// sections, in the courses' own section indices.
void ChooseCombination(ModuleState& state, const UsableSections& usable, const std::array<int16_t, MaxCourses>& found) {
    for (int i = 0; i < liveCourses(state); ++i)
        state.SectionChoice[static_cast<size_t>(i)] =
            usable.realIndex[static_cast<size_t>(i)][static_cast<size_t>(found[static_cast<size_t>(i)])];
}

// Moves SectionChoice on to the next conflict-free combination in
// enumeration order, or sets EnumDone when there is none (or the search was
// stopped). Returns false on a stop. `found` is the search's own counter
// over the usable sections, kept from call to call.
bool NextCombination(ModuleState& state, TimetableSearch& search, const UsableSections& usable,
                     std::array<int16_t, MaxCourses>& found) {
    switch (search.next(found, state.NumTimetables)) {
    case TimetableSearch::Step::Found:
        ChooseCombination(state, usable, found);
        return true;
    case TimetableSearch::Step::Exhausted:
        state.EnumDone = true;
        return true;
    case TimetableSearch::Step::Stopped:
        state.EnumDone = true;
        return false;
    }
    return true;
}

// The counter as the plain odometer leaves it after its last combination:
// the last course's entry equals its section count, all others 0.
void FinishCombination(ModuleState& state) {
    state.SectionChoice.fill(0);
    const int n = liveCourses(state);
    if (n > 0) state.SectionChoice[n - 1] = state.Courses[n - 1].NumSections;
    state.EnumDone = true;
    state.Occupancy.fill(0);
}

void reportProgress(const SearchControl& control, int found) {
    if (control.progress) control.progress(found);
}

// Stores the first 26 conflict-free timetables in enumeration order. Returns
// false when the search was stopped.
bool StoreFirstFound(ModuleState& state, const UsableSections& usable, const SameTimeNumbers* sameTimes,
                     const SearchControl& control, const SearchLimits& limits, SearchStats* stats,
                     GenerationResult& result) {
    // The search holds the precomputed tables (a few tens of KB): on the heap.
    auto search =
        std::make_unique<TimetableSearch>(usable.courses, liveCourses(state), limits, control.stop, &control.progress);
    std::array<int16_t, MaxCourses> found{};
    bool running = NextCombination(state, *search, usable, found);
    while (running && !state.EnumDone) {
        if (ConfirmConflictFree(state)) {
            if (state.NumTimetables == MaxStoredTimetables) {
                result.moreThanStored = true;  // a 27th: the store is full, nothing more to learn
                break;
            }
            StoreTimetable(state, sameTimes);
            reportProgress(control, state.NumTimetables);
            if (stopRequested(control)) {
                running = false;
                break;
            }
        }
        running = NextCombination(state, *search, usable, found);
    }
    if (stats != nullptr) *stats = search->stats();
    return running;
}

// Stores the 26 best conflict-free timetables by the options' order, best
// first. Returns false when the search was stopped; the best met so far are
// stored then.
bool StoreBest(ModuleState& state, const UsableSections& usable, const SameTimeNumbers* sameTimes,
               const SearchControl& control, const SearchLimits& limits, GenerationResult& result) {
    auto search =
        std::make_unique<RankedSearch>(usable.courses, liveCourses(state), state.Options, limits, control.stop,
                                       [&control](long long met, const RankScore& best) {
                                           reportProgress(control, met > INT_MAX ? INT_MAX : static_cast<int>(met));
                                           if (control.bestSoFar) control.bestSoFar(best);
                                       });
    const auto best = std::make_unique<RankedOutcome>(search->run());
    for (int k = 0; k < best->count; ++k) {
        ChooseCombination(state, usable, best->best[static_cast<size_t>(k)].choice);
        if (ConfirmConflictFree(state)) StoreTimetable(state, sameTimes);
    }
    result.moreThanStored = best->moreThanStored;
    return !best->stopped;
}

}  // namespace

GenerationResult TimeTablify(ModuleState& state, const SearchControl& control) {
    return TimeTablify(state, control, SearchLimits{});
}

GenerationResult TimeTablify(ModuleState& state, const SearchControl& control, const SearchLimits& limits,
                             SearchStats* stats) {
    bool ok = true;
    const int n = liveCourses(state);
    for (int i = 0; i < n; ++i)
        if (state.Courses[i].NumSections <= 0) ok = false;
    state.CurrentTimetable = 0;
    state.NumTimetables = 0;
    if (!ok) return {.outcome = TimeTablifyOutcome::AllClassesNeedSection, .options = state.Options};
    return MakeTimetables(state, control, limits, stats);
}

GenerationResult MakeTimetables(ModuleState& state, const SearchControl& control) {
    return MakeTimetables(state, control, SearchLimits{});
}

GenerationResult MakeTimetables(ModuleState& state, const SearchControl& control, const SearchLimits& limits,
                                SearchStats* stats) {
    GenerationResult result;
    result.options = state.Options;
    state.NumTimetables = 0;
    state.CurrentTimetable = 0;
    state.Occupancy.fill(0);
    ResetCombination(state);
    const int n = liveCourses(state);

    if (stopRequested(control)) {
        FinishCombination(state);
        result.stopped = true;
        result.outcome = TimeTablifyOutcome::StoppedNoneFound;
        return result;
    }

    if (n == 0) {
        // No courses: taking one section of every course has exactly one
        // way, taking nothing. It is stored as a timetable with no sections,
        // which the grid shows as an empty week.
        StoreTimetable(state);
        FinishCombination(state);
        reportProgress(control, state.NumTimetables);
        result.outcome = TimeTablifyOutcome::ShowResults;
        return result;
    }

    const auto usable = std::make_unique<UsableSections>();
    findUsableSections(state, n, state.Options.busy, *usable);
    if (usable->everySectionLeftOut >= 0) {
        FinishCombination(state);
        result.outcome = TimeTablifyOutcome::EverySectionLeftOut;
        result.busyCourse = usable->everySectionLeftOut;
        return result;
    }
    if (usable->everySectionBusy >= 0) {
        FinishCombination(state);
        result.outcome = TimeTablifyOutcome::EverySectionBusy;
        result.busyCourse = usable->everySectionBusy;
        return result;
    }
    // With the same times shown once, the searches see one section of each
    // set of same-time sections: every timetable found is another
    // arrangement of times.
    std::unique_ptr<SameTimeNumbers> sameTimes;
    if (state.Options.sameTimesOnce) {
        sameTimes = std::make_unique<SameTimeNumbers>();
        keepOneOfSameTimes(*usable, n, sameTimes.get());
    }
    const bool running = state.Options.ranked()
                             ? StoreBest(state, *usable, sameTimes.get(), control, limits, result)
                             : StoreFirstFound(state, *usable, sameTimes.get(), control, limits, stats, result);
    FinishCombination(state);

    result.stopped = !running;
    if (state.NumTimetables > 0)
        result.outcome = TimeTablifyOutcome::ShowResults;
    else
        result.outcome = result.stopped ? TimeTablifyOutcome::StoppedNoneFound : TimeTablifyOutcome::NoTimetables;
    return result;
}

}  // namespace quorvandel
