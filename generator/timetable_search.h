#pragma once
// The depth-first search behind "TimeTablify!".
//
// Order. It places course n-1 first and course 0 last, trying each course's
// sections in increasing index, so it meets the conflict-free combinations
// in enumeration order (course 0's section varies fastest). Every technique
// below removes only sections that belong to no conflict-free combination
// of the branch at hand, so none of them can change what is found or its
// order; they change only how much of the tree is walked.
//
// Representation. Nothing touches cells while it runs: each section is a
// week mask, and for section j of course a the sections of every other
// course that fit beside it are precomputed as a SectionSetRow (a section
// set per course, in 16-bit lanes of five words), so a look ahead is five
// ANDs. At every step the sections still possible for each open course
// (its domain) are kept in such a row too.
//
// Copies. Sections of a course covering exactly the same cells are one
// section to the search (section_copies.h): the domains and tables hold
// distinct sections only, and the main search steps through the real
// sections of each distinct one in index order, so what it finds and the
// order stay as they are. A copy of a section that led nowhere at the same
// step is skipped without a look.
//
// Techniques, in the order a step applies them (each can be switched off in
// SearchLimits, to measure what it buys):
//  1. Forward checking: placing a section keeps, in every open course, only
//     the sections that fit beside it; a course left with none ends the
//     branch. This alone is the "plain forward checking" reference.
//  2. Arc consistency: a section stays only while every other open course
//     still has a section that fits beside it. Two table lookups revise
//     every other course against one, and the courses that changed are
//     revised against in rounds whose lookups overlap; it catches dead ends
//     one placement earlier.
//  3. Failed sections (listing only): each section of an open course with
//     two sections left is placed on its own, then in turn every course that
//     placement leaves with a single section; when an open course is left
//     with none, the section is in no timetable of the subproblem and is
//     dropped, and 2 runs again. A test is a few row ANDs, far cheaper than
//     a step, and it settles in advance many of the two-way choices the
//     listing would otherwise step into: on the benchmark's meet cases the
//     listing takes about 40% fewer steps.
//  4. The room bound (RoomBound): the open courses' least need of cells, of
//     day places and of slot places against what their remaining sections
//     cover. It settles at once schedules that fail only for lack of room
//     while every pair of sections fits, where 1 and 2 remove nothing.
//     Where it cuts almost nothing it is asked at a sample of the steps
//     only (AskPacing).
//  5. Hall matching on atoms (main search only): the week's covered cells,
//     grouped by the exact set of sections covering them, are "atoms"; every
//     open course needs an atom of its own, so when the open courses cannot
//     be matched to distinct atoms nothing fits. It catches a few courses crowding a few
//     blocks while others are free, which the room's global counts miss.
//  6. The feasibility side search: before stepping into a subproblem, prove
//     it has a timetable at all by a search that places the open course with
//     the fewest sections left first (weighed by how often it caused a dead
//     end). Existence needs no order, so this fails far sooner than the
//     fixed course order can; the main search then only enters subtrees
//     that hold a timetable.
//  7. The failure memo: open subproblems proven to have no timetable are
//     remembered (FailureMemo), so the same dead end reached again by
//     another path is skipped in one lookup. Where its lookups find
//     nothing, the listing makes them at a sample of the steps only
//     (AskPacing).
// What each buys on the benchmark's cases: `quorvandel_bench --ablation`.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "ask_pacing.h"
#include "failure_memo.h"
#include "room_bound.h"
#include "schedule_model.h"
#include "search_limits.h"
#include "section_atoms.h"
#include "section_copies.h"
#include "section_fits.h"
#include "section_set_row.h"
#include "small_bit_set.h"
#include "week_mask.h"

namespace quorvandel {

class TimetableSearch {
public:
    enum class Step { Found, Exhausted, Stopped };

    // courses[0 .. numCourses-1] are searched (numCourses 1 .. 20, each with
    // 0 .. 10 sections; a course without sections simply has no timetable).
    // stop and progress may be null; see next().
    TimetableSearch(const CourseList& courses, int numCourses, const SearchLimits& limits,
                    const std::atomic<bool>* stop, const std::function<void(int)>* progress);

    // Moves on to the next conflict-free combination in enumeration order and
    // writes its section indices into choice[0 .. numCourses-1]. Every
    // stopCheckInterval steps it looks at *stop and answers Stopped once it
    // is set (the search cannot be resumed after that); every
    // progressInterval steps it calls (*progress)(foundSoFar).
    Step next(std::array<int16_t, MaxCourses>& choice, int foundSoFar);

    // Whether the courses in `among` alone (any of this search's courses)
    // have a timetable: the side search on them, with this search's tables,
    // bounds and memo. A subproblem the memo holds has no timetable
    // whichever other courses are asked about, so a run of such questions
    // over overlapping sets (the no-timetable explanation's deletion) reuses
    // what the earlier ones proved. Found writes a section of each course
    // of `among` into choice, leaving the other entries as they are; the
    // stop flag is honoured as in next(). It does not move next() on.
    Step firstAmong(CourseSet among, std::array<int16_t, MaxCourses>& choice);

    // Lists the conflict-free combinations of every course in no set order,
    // the course most likely to fail placed first at each step, as the side
    // search does: on a schedule with few timetables this proves the rest
    // empty far sooner than the enumeration order can. Each combination of
    // distinct sections is listed once, as its first real expansion (for
    // courses without copies, every timetable once). `listed` is called with
    // each; after `most` of them the listing ends with Found, else with
    // Exhausted or Stopped. It does not move next() on.
    Step listInAnyOrder(int most, const std::function<void(const std::array<int16_t, MaxCourses>&)>& listed);

    const SearchStats& stats() const { return stats_; }

private:
    // Lane i: course i's sections still possible while it is open; empty
    // once it is placed.
    using Domains = SectionSetRow;
    enum class Verdict { Feasible, Infeasible, Stopped };
    // The searches narrow the same way; the side search and the listing
    // alone learn which courses cause dead ends, the main search alone runs
    // the matching test (the side search's subproblems are the main
    // search's, already tested), and the listing alone runs the
    // failed-section tests.
    enum class Searcher { Main, Side, Listing };

    // ---- Problem: fixed once constructed ----
    int n_;
    SearchLimits limits_;
    SectionCopies copies_;  // which real sections each distinct section stands for
    Domains all_{};         // every distinct section of each course
    FitTable fits_{};       // fits_[a][j][b]: course b's sections that fit beside section j of course a
    // fits_[a][j] with course a's own lane holding section j alone: a row
    // that places the section, where a failed-section test starts.
    FitTable placing_{};
    using FitRow = SectionSetRow;
    // Support tables: supportLow_[a][x] joins fits_[a][j] over the sections
    // j of the low half x of a set of course a's sections (supportHigh_ the
    // same for the high half; see SectionHalves), so the sections of every
    // other course that fit beside some section of a set are two lookups.
    // Course a's own lane holds all its sections.
    std::array<SectionHalves::Table<FitRow>, MaxCourses> supportLow_{};
    std::array<SectionHalves::Table<FitRow>, MaxCourses> supportHigh_{};
    // Atoms: the week's covered cells grouped by the exact set of sections
    // covering them. Every section is a union of atoms and two sections
    // sharing an atom clash, so each placed section owns its atoms.
    SectionMasks atomsOf_{};
    Domains emptySections_{};  // sections covering no cell: they need no atom
    int numAtoms_ = 0;
    std::optional<RoomBound> room_;
    AskPacing roomPacing_;         // when propagate() asks room_
    AskPacing listingMemoPacing_;  // when the listing looks a child up in memo_

    // The constructor's steps after the masks and the fits.
    void keepAtoms(const SectionAtoms& atoms, const SectionMasks& masks);
    void computeSupportTables();

    // ---- State: where the main search stands ----
    struct Level {
        Domains remaining{};             // domains of the open courses 0 .. n-1-depth
        SectionSet untried;              // real sections of course n-1-depth not tried yet
        SectionSet deadEnds;             // its distinct sections found to lead nowhere here
        bool found = false;              // a timetable was found below this step
        std::uint64_t nodesAtStart = 0;  // stats_.nodes when the step began
    };
    std::array<Level, MaxCourses + 1> levels_{};
    int depth_ = 0;  // levels_[depth_] places course n-1-depth
    bool started_ = false;
    bool finished_ = false;
    // Side search: how often each course was part of a dead end, and the
    // distinct section it gave each course on the way to its last
    // timetable.
    std::array<std::uint32_t, MaxCourses> weight_{};
    std::array<int16_t, MaxCourses> sideChoice_{};
    // The side search's tie-breaks as the low bits of a course's pick key:
    // how many pairs of a section of the course and a section of another
    // course clash (more first), then the index (lower first).
    struct PickTieBits {
        static constexpr int IndexWidth = 5;
        static constexpr int IndexMask = (1 << IndexWidth) - 1;
        static constexpr int Width = 16;
        static constexpr int MostClashes = (1 << (Width - IndexWidth)) - 1;
        static_assert(MaxCourses <= IndexMask + 1 &&
                      MaxSectionsPerCourse * (MaxCourses - 1) * MaxSectionsPerCourse <= MostClashes);
    };
    std::array<std::uint32_t, MaxCourses> tieKey_{};
    std::uint64_t pickKey(int course, int size) const;
    FailureMemo memo_;

    int courseAt(int depth) const { return n_ - 1 - depth; }
    bool start();  // false when stopped before the root was settled
    bool narrowedRoot(CourseSet among, Domains& d);
    void sideChoiceAsReal(CourseSet courses, std::array<int16_t, MaxCourses>& choice) const;
    bool backtrack();  // false when the whole tree is done
    void markFound();
    Verdict descend(int course, int distinct);
    void enterLevel(Level& level, int course);

    // ---- Propagation: the techniques, shared by both searches ----
    // child = parent narrowed by placing `section` of course `placed`, for
    // the open courses `open` (placed not among them): forward checking,
    // arc consistency, the matching test (main search), then the memo.
    // False when the child is a known dead end.
    bool placeAndNarrow(const Domains& parent, int placed, int section, CourseSet open, Domains& child,
                        Searcher searcher);
    bool propagate(Domains& d, CourseSet open, CourseSet changed, Searcher searcher);
    bool closeArcs(Domains& d, CourseSet open, CourseSet changed);
    FitRow supportOf(const Domains& d, int course) const;
    void blameEmptied(Domains d, CourseSet open, CourseSet round);
    bool dropFailedSections(Domains& d, CourseSet open, CourseSet& narrowed);
    // One failed-section test, advanced a round at a time.
    class ForcedChain {
    public:
        ForcedChain(const TimetableSearch& search, const Domains& d, int course, int section, CourseSet settled);
        // One round of forced placements; false once the test is settled.
        bool advance(const TimetableSearch& search, CourseSet open);
        bool failed() const { return state_ == State::Failed; }
        int section() const { return section_; }

    private:
        enum class State { Running, Failed, Passed };
        Domains left_;
        CourseSet placed_;
        int section_;
        State state_ = State::Running;
    };
    bool atomsMatch(const Domains& d, CourseSet open) const;
    Verdict feasible(const Domains& d, CourseSet open);
    struct Listing {
        int left;  // combinations still wanted
        const std::function<void(const std::array<int16_t, MaxCourses>&)>& listed;
    };
    Verdict listFrom(const Domains& d, CourseSet open, Listing& listing);
    int pickForSideSearch(const Domains& d, CourseSet open) const;
    void rememberFailure(const Domains& d, CourseSet open, std::uint64_t nodesAtStart);
    bool onlyOpenLanes(const Domains& d, CourseSet open) const;
    bool fitsPairwise(const std::array<int16_t, MaxCourses>& choice) const;

    // ---- Interrupt: the stop flag and progress reports ----
    const std::atomic<bool>* stop_;
    const std::function<void(int)>* progress_;
    std::uint32_t untilStopCheck_ = 0;
    std::uint32_t untilProgress_ = 0;
    int foundSoFar_ = 0;
    bool countNode();  // false when a stop was asked for
    bool stopRequested() const;

    // ---- Statistics ----
    SearchStats stats_;
    Step finish(Step step);
};

}  // namespace quorvandel
