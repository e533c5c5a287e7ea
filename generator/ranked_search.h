#pragma once
// The best 26 conflict-free timetables by a result order, exactly: sorted by
// score (timetable_score.h), equal scores in enumeration order (course 0's
// section varies fastest), and whether more than 26 exist at all.
//
// Problem: the courses' sections, the pairs that fit side by side and the
//   order's folded cost (rank_problem.h).
// Search, in two passes, each depth first with forward checking (every open
//   course keeps the sections that fit beside every placed one):
//   1. Any order: the course whose cheapest section has the highest bound
//      goes next (ties: the fewest sections left), its sections cheapest
//      bound first, then cheapest placed part. It holds
//      the 26 cheapest timetables met, and so finds T, the 26th best cost.
//      Every timetable cheaper than T is met and held, since no bound of
//      one ever reaches the limit. Once 26 are held and the pass has run a
//      while, a local search around the cheapest held (rank_local_search.h)
//      may give a lower limit: more than 26 distinct timetables met, the
//      26th costing L, so T <= L and anything dearer than L can go.
//   2. Enumeration order: course n-1 first, each course's sections in index
//      order, so timetables are met in enumeration order. It collects the
//      first timetables costing exactly T, as many as the first pass held
//      costing T, and ends there. Before entering a step it asks the first
//      pass's search (a probe, which fails far sooner) whether the step
//      holds a timetable costing T or less; the timetable a probe finds
//      spares the probe of the step that leads to it.
// State: the section of each placed course; the first pass's 26 cheapest
//   (in no order) and the second pass's timetables costing T (in
//   enumeration order); the local search's cheapest; the cutoff and the
//   probe's witness. The outcome is the best of all these, each once.
// Bound: a cost limit, at every step of both passes: for each open course
//   and each of its sections, a lower bound of the cost of any timetable in
//   which the course takes that section (rank_bounds.h); a section whose
//   bound reaches the limit is dropped, and the step ends when some course
//   has none left. The first pass's limit is the 26th cost held once 26 are
//   held, or L + 1 if lower; the second pass's and its probes' is T + 1.
//   The room bound (room_bound.h) ends a step first where the open courses
//   cannot all fit.
// "More than 26": every timetable the first pass meets counts, and so does
//   a local search that met more than 26; where a cut would hide
//   timetables that were never counted, a plain existence search decides
//   whether the cut part holds one (once one is known, never again).
// Limits: a stop flag looked at every few steps, after which the best met
//   so far are returned (stopped set); a progress report with the number
//   met and the best score held, in both passes (SearchLimits gives both
//   intervals and when the local search may run).
// Statistics: steps of both passes, of the second and of its probes,
//   sections cut, existence search steps.
// Invariants asserted: the second pass ends with as many timetables
//   costing T as wanted unless stopped; the existence search runs only
//   once 26 are held; each section's bound equals the bound of its child.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>

#include "rank_local_search.h"
#include "rank_problem.h"
#include "search_limits.h"

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
};

class RankedSearch {
public:
    // Called now and then with the number of timetables met and the best
    // score held (met > 0).
    using Progress = std::function<void(long long met, const RankScore& best)>;

    // courses[0 .. numCourses-1] (1 .. 20 courses, 0 .. 10 sections each),
    // ranked by options.primary, then options.tieBreak. options.primary must
    // not be FirstFound.
    // `limits` gives the intervals of the stop checks and progress reports
    // and when to look around; the rest of it is for the first-found search.
    RankedSearch(const CourseList& courses, int numCourses, const ScheduleOptions& options,
                 const SearchLimits& limits = {}, const std::atomic<bool>* stop = nullptr, Progress progress = {});

    RankedOutcome run();
    const RankedStats& stats() const { return stats_; }

private:
    using Held = std::array<RankedTimetable, MaxStoredTimetables>;

    // ---- Problem ----
    RankProblem problem_;
    int n_;

    // ---- State ----
    std::array<int16_t, MaxCourses> choice_{};  // the section of each placed course
    Held held_{};                               // first pass: the cheapest met, in no order
    int heldCount_ = 0;
    int dearest_ = 0;  // first pass: the index in held_ of the dearest held
    Held ties_{};      // second pass: the first costing exactly T, in enumeration order
    int tiesCount_ = 0;
    int tiesWanted_ = 0;
    int tieCost_ = 0;                            // T
    std::array<int16_t, MaxCourses> witness_{};  // second pass: the last timetable a probe found
    bool probing_ = false;                       // the first pass's search serves as a probe
    bool witnessed_ = false;                     // the probe has found one
    bool more_ = false;
    LocalBest local_;           // what the look around the first timetable met
    int cutoff_ = NoCostLimit;  // a cost no timetable among the 26 best reaches
    bool lookedAround_ = false;
    long long met_ = 0;  // conflict-free timetables met by the first pass

    // ---- Limits, interrupt and statistics ----
    SearchLimits limits_;
    const std::atomic<bool>* stop_;
    Progress progress_;
    std::uint32_t untilCheck_ = 0;
    bool stopped_ = false;
    bool done_ = false;  // the second pass has all it needs
    RankedStats stats_;

    bool full() const { return heldCount_ == MaxStoredTimetables; }
    int limit() const;  // the first pass's: a cost no held timetable may reach
    bool moreKnown() const { return more_ || met_ > MaxStoredTimetables; }

    void lookAround();
    void cheapestFirst(CourseSet open, const Domains& domains, const DayProfile& placed);
    int cheapestSections(int course, SectionSet sections, const DayProfile& placed,
                         const std::array<int, MaxSectionsPerCourse>& bounds,
                         std::array<int, MaxSectionsPerCourse>& order) const;
    bool filterFirstPass(CourseSet open, Domains& domains, const DayProfile& placed, ChildBounds& bounds);
    void holdCheapest(const DayProfile& profile);

    void inOrder(int course, const Domains& domains, const DayProfile& placed, bool witness);
    bool probe(CourseSet open, const Domains& domains, const DayProfile& placed);
    void collectTie(const DayProfile& profile);

    bool anyTimetable(const Domains& domains, CourseSet open);
    bool countStep();
    RankScore bestScore() const;
    RankedOutcome outcome() const;
};

}  // namespace quorvandel
