#pragma once
// The ranked search behind "TimeTablify!" with a result order: the best 26
// conflict-free timetables by that order, exactly, sorted by score
// (timetable_score.h), equal scores in enumeration order (course 0's section
// varies fastest), and whether more than 26 exist at all.
//
// Order. Two passes, each depth first:
//  - the first pass places the courses in any order, cheapest first, and
//    holds the 26 cheapest timetables it meets. Every timetable cheaper than
//    the 26th held cost is met (no bound of one ever reaches the limit), so
//    the pass ends knowing T, the 26th best cost, and every timetable
//    cheaper than T;
//  - the second pass places course n-1 first and each course's sections in
//    index order, so it meets timetables in enumeration order, and collects
//    the first ones costing exactly T: as many as the first pass held.
// The outcome is the best of everything held and collected, each once.
//
// Copies. Sections of a course covering exactly the same cells score
// alike and clash alike, so both passes see one section of each kind
// (section_copies.h) and the timetables held stand for all their copies:
// the count met counts every copy, and the outcome puts the real sections
// back. The 26 best real timetables are copies of the 26 best distinct
// ones: a distinct timetable ranked before another has its first copy
// ranked before every copy of the other.
//
// Representation. The courses' sections, which pairs fit side by side and
// the order's cost folded into one number are a RankProblem
// (rank_problem.h). The sections still possible for each open course (its
// domain) are kept in a SectionSetRow, one lane per course, so narrowing
// every course at once is a few word operations.
//
// Few timetables. Before either pass, the first-found search's side search
// (timetable_search.h, listInAnyOrder), whose memo and choice of the course
// most likely to fail prove a subtree empty far sooner than a search bent
// on cost, lists the distinct timetables in any order. When it meets no
// 27th, they are every timetable there is: scored and sorted, they
// are the answer, and neither pass runs. Schedules at the edge of fitting,
// with a handful of timetables or none, are settled this way; otherwise the
// 27 found cost little beside what the passes take.
//
// Techniques, in the order a step applies them:
//  1. Forward checking: placing a section keeps, in every open course, only
//     the sections that fit beside it; a course left with none ends the
//     branch.
//  2. The room bound (room_bound.h): a step whose open courses cannot all
//     fit ends before any cost is looked at.
//  3. The cost filter (rank_bounds.h): for each open course and each of its
//     sections, a lower bound of the cost of any timetable in which the
//     course takes that section. A section whose bound reaches the limit is
//     dropped, and the step ends when some course has none left.
//  4. The existence search (first pass, until more than 26 are known to
//     exist): where the filter cut timetables that were never counted, a
//     plain search decides whether the cut part holds one, so that "more
//     than 26" stays exact. Once more than 26 are known it never runs again.
//  5. Cheapest first (first pass): the course whose cheapest section has the
//     highest bound goes next (ties: the fewest sections left), its sections
//     cheapest bound first, then cheapest placed part, so cheap timetables
//     come early and the limit comes down soon.
//  6. The local search (first pass, once): once 26 are held and the pass has
//     run a while, a look around the cheapest held (rank_local_search.h).
//     Meeting more than 26 distinct timetables, the 26th costing L, it gives
//     a cutoff: T <= L, so anything dearer than L can go.
//  7. Probes (second pass): before entering a step, the first pass's search,
//     which fails far sooner, asks whether the step holds a timetable
//     costing T or less. The timetable a probe finds (its witness) spares
//     the probe of the step that leads to it.
//
// Bounds. The first pass's limit is the 26th cost held once 26 are held, or
// L + 1 if lower; it never rises. The second pass's and its probes' is T + 1.
// "More than 26": every timetable the first pass meets counts, and so does a
// local search that met 27; the existence search (4) answers for what the
// cuts hide.
//
// Interrupt. A stop flag looked at every few steps, after which the best met
// so far are returned (stopped set), and a progress report with the number
// met and the best score held, in both passes (SearchLimits gives both
// intervals). Statistics: steps of both passes, of the second and of its
// probes, sections cut, existence search steps (RankedStats).
//
// Invariants asserted: every step's domains hold sections of the open
// courses only, none empty; a section's bound, summed a day at a time,
// equals its child's bound computed whole (rank_problem.cpp), never lies
// below its step's, and no timetable costs less than its last section's
// bound; the first pass's limit never rises, and T lies below the cutoff;
// the local search starts from clash-free timetables and keeps its list
// cheapest first; the existence search runs only once 26 are held; a witness
// handed down lies in the step's domains and survives its filter; ties are
// collected in enumeration order, never more than wanted, and all of them
// unless stopped; every timetable returned is clash-free.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "rank_local_search.h"
#include "rank_problem.h"
#include "search_limits.h"
#include "section_copies.h"

namespace quorvandel {

struct RankedOutcome {
    std::array<RankedTimetable, MaxStoredTimetables> best{};  // best[0 .. count-1], best first
    int count = 0;
    bool moreThanStored = false;  // more than 26 conflict-free timetables exist
    bool stopped = false;         // stopped early: best holds the best met so far
};

struct RankedStats {
    std::uint64_t nodes = 0;           // sections placed, both passes
    std::uint64_t orderNodes = 0;      // of which in the enumeration-order pass
    std::uint64_t probeNodes = 0;      // of which in its probes
    std::uint64_t sectionsCut = 0;     // sections dropped by their bound
    std::uint64_t existenceNodes = 0;  // steps of the existence searches
    std::uint64_t listingNodes = 0;    // steps of the first-found search listing the few
};

class RankedSearch {
public:
    // Called now and then with the number of timetables met and the best
    // score held (met > 0).
    using Progress = std::function<void(long long met, const RankScore& best)>;

    // courses[0 .. numCourses-1] (1 .. 20 courses, 0 .. 10 sections each),
    // ranked by options.primary, then options.tieBreak. options.primary must
    // not be FirstFound. `courses` must outlive the search.
    // `limits` gives the intervals of the stop checks and progress reports
    // and when to look around; the rest of it is for the first-found search.
    RankedSearch(const CourseList& courses, int numCourses, const ScheduleOptions& options,
                 const SearchLimits& limits = {}, const std::atomic<bool>* stop = nullptr, Progress progress = {});

    RankedOutcome run();
    const RankedStats& stats() const { return stats_; }

private:
    using Held = std::array<RankedTimetable, MaxStoredTimetables>;
    using Choice = std::array<int16_t, MaxCourses>;

    // ---- Problem: fixed once constructed ----
    SectionCopies copies_;                // which real sections each distinct section stands for
    std::unique_ptr<CourseList> merged_;  // one section of each kind per course, when some are copies
    const CourseList& distinct_;          // merged_, or the courses themselves
    RankProblem problem_;                 // over the distinct sections
    int n_;
    SearchLimits limits_;

    // ---- State: where the search stands ----
    Choice choice_{};  // the section of each placed course, both passes
    // First pass: the cheapest met so far, in no order (the dearest is
    // replaced), and how many conflict-free timetables it met in all.
    Held held_{};
    int heldCount_ = 0;
    int dearest_ = 0;  // the index in held_ of the dearest held, once 26 are held
    long long met_ = 0;
    bool more_ = false;  // more than 26 are known to exist
    // The look around the cheapest held, made once.
    LocalBest local_;
    bool lookedAround_ = false;
    // Second pass: the first timetables costing exactly T, in enumeration
    // order, and the probe that runs the first pass's search below a step.
    Held ties_{};
    int tiesCount_ = 0;
    int tiesWanted_ = 0;
    bool done_ = false;     // the second pass has all it needs
    Choice witness_{};      // the last timetable a probe found
    bool probing_ = false;  // the first pass's search serves as a probe
    bool witnessed_ = false;

    bool full() const { return heldCount_ == MaxStoredTimetables; }
    bool moreKnown() const { return more_ || met_ > MaxStoredTimetables; }
    void reset();

    // ---- Bounds: the cost limits a section's bound must stay below ----
    int cutoff_ = NoCostLimit;  // from the local search: a cost no timetable among the 26 best reaches
    int tieCost_ = 0;           // T, the 26th best cost, once the first pass is over
    int limit() const;          // the current pass's

    // ---- Few timetables: every one listed by the first-found search ----
    bool listedEveryTimetable();

    // ---- First pass: any order, the 26 cheapest ----
    void cheapestFirst(CourseSet open, const Domains& domains, const DayProfile& placed);
    bool filterFirstPass(CourseSet open, Domains& domains, const DayProfile& placed, ChildBounds& bounds);
    int cheapestSections(int course, SectionSet sections, const DayProfile& placed,
                         const std::array<int, MaxSectionsPerCourse>& bounds,
                         std::array<int, MaxSectionsPerCourse>& order) const;
    void completeFirstPass(const DayProfile& profile, int bound);
    void holdCheapest(const RankedTimetable& met);
    void lookAround();

    // ---- Second pass: enumeration order, the first costing exactly T ----
    void secondPass();
    void inOrder(int course, const Domains& domains, const DayProfile& placed, bool witness);
    bool probe(CourseSet open, const Domains& domains, const DayProfile& placed);
    void collectTie(const DayProfile& profile, int bound);

    // ---- Existence: whether a cut part holds any timetable ----
    bool anyTimetable(const Domains& domains, CourseSet open);

    // ---- Interrupt: the stop flag and progress reports ----
    const std::atomic<bool>* stop_;
    Progress progress_;
    std::uint32_t untilCheck_ = 0;
    bool stopped_ = false;
    bool countStep();  // false once a stop was asked for
    RankScore bestScore() const;

    // ---- Statistics ----
    RankedStats stats_;

    // ---- Outcome and the checks behind the asserted invariants ----
    RankedOutcome outcome() const;
    RankedOutcome withRealSections(const RankedOutcome& distinct) const;
    bool onlyOpenLanes(const Domains& domains, CourseSet open) const;
    bool witnessBelow(int course, const Domains& domains) const;
};

}  // namespace quorvandel
