#pragma once
// What every pass of the ranked search shares: the courses' sections as the
// bounds see them, which sections fit side by side, the cost of a timetable
// by the two-level order folded into one number, and the filter that drops
// the sections whose best completion cannot come under a cost limit. It is
// fixed once built, so both passes, the probes and the local search ask the
// same one.

#include <array>
#include <cstdint>
#include <optional>

#include "rank_bounds.h"
#include "room_bound.h"
#include "schedule_model.h"
#include "section_fits.h"
#include "small_bit_set.h"
#include "timetable_score.h"

namespace quorvandel {

// Lane i: the sections course i may still take.
using Domains = SectionSetRow;

// [i][j]: a lower bound of the cost of any timetable in which course i takes
// section j, as the filter found it.
using ChildBounds = std::array<std::array<int, MaxSectionsPerCourse>, MaxCourses>;

struct RankedTimetable {
    std::array<int16_t, MaxCourses> choice{};  // section index per course
    int cost = 0;                              // primary and tie-break folded into one number
    RankScore score;
};

// A limit no cost reaches: nothing is filtered.
inline constexpr int NoCostLimit = 1 << 30;

class RankProblem {
public:
    // courses[0 .. numCourses-1] (1 .. 20 courses, 0 .. 10 sections each),
    // ranked by options.primary, then options.tieBreak (not FirstFound).
    RankProblem(const CourseList& courses, int numCourses, const ScheduleOptions& options);
    // From now on mayFit asks the room bound (room_bound.h) of `courses`,
    // the same courses as above. Built only when the passes run: a
    // schedule with few timetables is settled before them.
    void addRoomBound(const CourseList& courses);

    // ---- The courses and which sections fit side by side ----
    int courseCount() const { return n_; }
    const Domains& everySection() const { return all_; }
    // Course b's sections that fit beside section j of course a.
    const Domains& fitting(int a, int j) const { return fits_[static_cast<size_t>(a)][static_cast<size_t>(j)]; }
    const SectionShape& shape(int course, int section) const {
        return shapes_[static_cast<size_t>(course)][static_cast<size_t>(section)];
    }
    // Whether section j of course i fits beside the sections `choice` gives
    // every other course.
    bool fitsBeside(int i, int j, const std::array<int16_t, MaxCourses>& choice) const;
    // Whether `choice` gives every course one of its sections, no two of
    // them sharing a cell.
    bool clashFree(const std::array<int16_t, MaxCourses>& choice) const;

    // ---- Costs ----
    // The folded cost: primary x scale + tie-break, so that comparing costs
    // compares the pair (primary, tie-break).
    int cost(const DayProfile& profile) const;
    RankScore score(const DayProfile& profile) const;
    // The timetable taking `choice`, whose sections cover `profile`, with
    // its score and folded cost.
    RankedTimetable timetable(const std::array<int16_t, MaxCourses>& choice, const DayProfile& profile) const;
    // The cells the sections `choice` gives every course cover.
    DayProfile profileOf(const std::array<int16_t, MaxCourses>& choice) const;

    // ---- Bounds: never above the cost of any completion ----
    // A lower bound of the folded cost of any completion; NoCostLimit when
    // there is none.
    int bound(const DayProfile& placed, const OpenSummary& open) const;
    // The folded bound of placing each section of `course` on top of
    // `placed`, the other open courses summarised by `others`.
    void sectionBounds(int course, SectionSet sections, const DayProfile& placed, const OpenSummary& others,
                       std::array<int, MaxSectionsPerCourse>& bounds) const;

    // ---- The tests a search step applies ----
    // False only when the open courses, each with its sections in
    // `domains`, cannot all be given a section with no clash.
    bool mayFit(CourseSet open, const Domains& domains) const;
    // Drops from `domains` every section of a course in `open` whose child
    // bound reaches `limit`, writing each child bound into `bounds`. Returns
    // false when no completion of `placed` can cost less than `limit` (then
    // `domains` is left part-filtered). `cut` counts the sections dropped.
    bool filter(CourseSet open, const DayProfile& placed, int limit, Domains& domains, ChildBounds& bounds,
                std::uint64_t& cut) const;

private:
    static int folded(const RankScore& score);

    // ---- Problem: fixed once constructed ----
    int n_;
    ResultOrder primary_;
    ResultOrder tieBreak_;
    std::array<std::array<SectionShape, MaxSectionsPerCourse>, MaxCourses> shapes_{};
    FitTable fits_{};
    Domains all_{};
    unsigned parts_ = EveryPart;  // the summary parts the two orders' bounds read
    std::optional<RoomBound> room_;
};

}  // namespace quorvandel
