#pragma once
// The best 26 conflict-free timetables by a result order, exactly: sorted by
// score (timetable_score.h), equal scores in enumeration order (course 0's
// section varies fastest), and whether more than 26 exist at all.
//
// Problem: the courses' sections as week masks, the pairs of sections that
//   fit side by side, and the order's cost.
// Search: depth first, course n-1 first, each course's sections in index
//   order, so timetables are met in enumeration order and a later one never
//   wins a tie against one already held. Each open course keeps the
//   sections that fit beside every placed one (forward checking).
// Bound: once 26 are held, the 26th's score is the threshold. At every step,
//   for each open course and each of its sections, a lower bound of the
//   score of any timetable in which the course takes that section
//   (rank_bounds.h); a section whose bound is no better than the threshold
//   is dropped, and the step ends when some course has none left.
// "More than 26": every timetable met counts; where a cut would hide
//   timetables that were never counted, a plain existence search decides
//   whether the cut part holds one (once one is known, never again).
// Limits: a stop flag looked at every few steps; a progress report with the
//   number met and the best score held.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>

#include "rank_bounds.h"
#include "schedule_model.h"
#include "section_fits.h"
#include "small_bit_set.h"
#include "timetable_score.h"

namespace quorvandel {

struct RankedTimetable {
    std::array<int16_t, MaxCourses> choice{};  // section index per course
    int cost = 0;                              // primary and tie-break folded into one number
    RankScore score;
};

struct RankedOutcome {
    std::array<RankedTimetable, MaxStoredTimetables> best{};  // best[0 .. count-1], best first
    int count = 0;
    bool moreThanStored = false;  // more than 26 conflict-free timetables exist
    bool stopped = false;         // stopped early: best holds the best met so far
};

struct RankedStats {
    std::uint64_t nodes = 0;           // sections placed
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
    RankedSearch(const CourseList& courses, int numCourses, const ScheduleOptions& options,
                 const std::atomic<bool>* stop = nullptr, Progress progress = {});

    RankedOutcome run();
    const RankedStats& stats() const { return stats_; }

private:
    // Lane i: the sections course i may still take.
    using Domains = SectionSetRow;

    // ---- Problem ----
    int n_;
    ResultOrder primary_;
    ResultOrder tieBreak_;
    std::array<std::array<SectionShape, MaxSectionsPerCourse>, MaxCourses> shapes_{};
    FitTable fits_{};  // fits_[a][j][b]: course b's sections that fit beside section j of course a
    Domains all_{};    // every section of each course

    // ---- State ----
    std::array<int16_t, MaxCourses> choice_{};
    RankedOutcome held_;
    long long met_ = 0;  // conflict-free timetables met so far

    // ---- Limits, interrupt and statistics ----
    const std::atomic<bool>* stop_;
    Progress progress_;
    std::uint32_t untilCheck_ = 0;
    bool stopped_ = false;
    RankedStats stats_;

    int cost(const DayProfile& profile) const;
    int bound(const DayProfile& placed, const OpenSummary& open) const;
    bool full() const { return held_.count == MaxStoredTimetables; }
    int threshold() const;  // a cost no kept timetable may reach

    void place(int course, const Domains& domains, const DayProfile& placed);
    bool cutByBound(int course, Domains& domains, const DayProfile& placed);
    bool anyTimetable(const Domains& domains, CourseSet open);
    void offer(const DayProfile& profile);
    bool countStep();
};

}  // namespace quorvandel
