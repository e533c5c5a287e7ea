#pragma once
// Knobs and counters of the timetable search. The defaults are what the
// program uses; tests and the benchmark turn parts off to compare them or to
// squeeze the failure memo. Every setting gives the same timetables in the
// same order: they change only how much of the search tree is cut away.

#include <cstddef>
#include <cstdint>

namespace quorvandel {

struct SearchLimits {
    // After each placed section, remove the sections of every open course
    // that have no partner left in some other open course (arc consistency).
    // Off: only the sections that clash with a placed one are removed.
    bool arcConsistency = true;
    // In the ranked search's listing, test each section of every open course
    // with two left: place it alone, then every course it leaves with one
    // section, and drop it when that empties some open course.
    bool failedSectionTests = true;
    // A counting test over the "atoms" of the week (cells covered by the same
    // set of sections): every open course needs an atom of its own, so when
    // the open courses cannot be matched to distinct atoms nothing fits.
    bool matchingCheck = true;
    // The room bound (RoomBound): the open courses' least need of cells and
    // of day places against what their remaining sections cover. The ranked
    // search asks it too, at every step.
    bool roomBound = true;
    // Where the room bound cuts almost nothing, the first-found search and
    // the listing ask it at one step in a few dozen (AskPacing), judged
    // over windows of this many asks. 0: at every step.
    std::uint32_t roomBoundWindow = 512;
    // Within the room bound, the count in blocks (first-found search only;
    // off only to measure what it buys).
    bool roomBoundBlocks = true;
    // Search one section of each kind: sections of a course that cover
    // exactly the same cells stand in for each other (section_copies.h),
    // and the real ones are put back as timetables are kept. Every search
    // uses it: first found, ranked and the explanation's.
    bool searchCopiesOnce = true;
    // Before stepping into a subproblem with at least this many open
    // courses, make sure it has a timetable at all, by a side search that
    // always places the open course with the fewest sections left (and so
    // fails far sooner than the fixed course order can). 0 switches it off.
    int feasibilityCheckMinOpen = 2;
    // Upper bound, in bytes, of the memo of open subproblems already proven
    // to have no timetable. 0 switches the memo off. The memo starts small
    // and grows up to this bound; once full it overwrites old entries.
    std::size_t memoBytes = std::size_t{16} << 20;
    // Only failures whose own search took at least this many steps are
    // written to the memo. A small dead end is quicker to search again than
    // to look up, and leaving it out keeps the table small enough to stay in
    // the processor's cache. 0 writes every failure.
    std::uint64_t memoMinNodes = 32;
    // Where the memo finds nothing, the ranked search's listing looks it up
    // at one step in a few dozen (AskPacing), judged over windows of this
    // many lookups. 0: at every step.
    std::uint32_t listingMemoWindow = 512;
    // How many search steps pass between two looks at the stop flag, and
    // between two progress reports while no timetable is being stored.
    std::uint32_t stopCheckInterval = 64;
    std::uint32_t progressInterval = 4096;
    // A ranked search looks around its cheapest timetables for a cutoff once
    // it holds 26 and has taken at least this many steps; on a small
    // schedule the search is over sooner than the look would pay.
    std::uint64_t rankedLookAroundAfterNodes = 2000;
    // A ranked search first asks the first-found search for 27 distinct
    // timetables; when there are 26 or fewer, they are every timetable there
    // is, and scoring and sorting them is the whole answer. Off only to
    // measure what it buys.
    bool rankedListFew = true;
};

// What a search did, for tests and the benchmark.
struct SearchStats {
    std::uint64_t nodes = 0;           // sections tried for a course
    std::uint64_t memoLookups = 0;     // subproblems looked up in the memo
    std::uint64_t memoHits = 0;        // subproblems skipped because the memo knew them
    std::uint64_t memoInserts = 0;     // failed subproblems written to the memo
    std::uint64_t memoOverwrites = 0;  // entries lost because the memo was full
    std::uint64_t matchingPrunes = 0;  // subproblems cut by the atom matching test
    std::uint64_t roomPrunes = 0;      // subproblems cut by the room bound
    std::uint64_t failedSections = 0;  // sections dropped by the failed-section test
    std::size_t memoPeakBytes = 0;     // largest size the memo's table reached
};

// The limits the "before" column of the benchmark measures: one course
// placed at a time, each later course keeping only the sections that still
// fit beside the placed ones, nothing else.
constexpr SearchLimits plainForwardChecking() {
    SearchLimits limits;
    limits.arcConsistency = false;
    limits.failedSectionTests = false;
    limits.matchingCheck = false;
    limits.roomBound = false;
    limits.searchCopiesOnce = false;
    limits.memoBytes = 0;
    limits.feasibilityCheckMinOpen = 0;
    return limits;
}

// How many steps the course-by-course count may take before it settles for
// a lower bound: with the sweep that gave up before it, about a quarter of a
// second of counting (a step costs about 0.15 to 0.2 us in the Release
// build, most of it the memo's lookups), so that the number beside the
// results never keeps the worker busy for long.
constexpr std::uint64_t CountStepBudget = 800'000;

// Knobs of the timetable count (TimetableCount). Every setting gives the
// same exact count; they change only how many steps it takes to get there.
struct CountLimits {
    // The last open course's remaining sections are added up, not visited
    // one by one.
    bool countLastCourse = true;
    // Open courses whose remaining sections share no cell with each other's
    // are counted apart and their counts multiplied.
    bool splitComponents = true;
    // Upper bound, in bytes, of the memo of subproblems already counted. 0
    // switches it off.
    std::size_t memoBytes = std::size_t{16} << 20;
    // Steps (sections tried) after which the count gives a lower bound.
    std::uint64_t stepBudget = CountStepBudget;
    // How many steps pass between two looks at the stop flag.
    std::uint32_t stopCheckInterval = 64;
    // The sweep in time order (sweepCount) goes first; it gives up, and
    // leaves the count to the steps above, past this many states (0: no
    // sweep) or this many (state, section) pairs looked at.
    std::size_t sweepMaxStates = std::size_t{1} << 17;
    std::uint64_t sweepStepBudget = 3'000'000;
};

// What a count did, for tests and the benchmark.
struct CountStats {
    std::uint64_t nodes = 0;             // sections tried for a course
    std::uint64_t memoHits = 0;          // subproblems whose count the memo knew
    std::uint64_t memoInserts = 0;       // counted subproblems written to the memo
    std::uint64_t splits = 0;            // subproblems counted as a product of parts
    std::uint64_t countedUnvisited = 0;  // timetables added up at the last course without a step each
    std::uint64_t sweepSteps = 0;        // (state, section) pairs the sweep looked at
    std::uint64_t sweepPeakStates = 0;   // the most states the sweep held at once
    bool sweepCounted = false;           // the sweep gave the count
};

}  // namespace quorvandel
