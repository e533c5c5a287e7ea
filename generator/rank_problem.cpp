#include "rank_problem.h"

#include <cassert>

#include "week.h"

namespace quorvandel {

namespace {

// Every order's cost is below this, so primary x scale + tie-break compares
// like the pair (primary, tie-break).
constexpr int TieBreakScale = 1024;
static_assert(CellsPerWeek < TieBreakScale && LatestStartCostBase < TieBreakScale);
static_assert(NoCompletion <= NoCostLimit / TieBreakScale, "every real bound folds below the limit");

using ShapeTable = std::array<std::array<SectionShape, MaxSectionsPerCourse>, MaxCourses>;

// The summaries of a step's open courses, so that "every open course" and
// "every open course but one" are one merge each, whichever the one.
struct OpenSummaries {
    std::array<int, MaxCourses> course{};            // the open courses, in increasing index
    size_t count = 0;                                // how many
    std::array<OpenSummary, MaxCourses + 1> before;  // [k]: the first k joined
    std::array<OpenSummary, MaxCourses + 1> after;   // [k]: those from the k-th on joined

    const OpenSummary& every() const { return before[count]; }
    OpenSummary everyBut(size_t k) const {
        OpenSummary others = before[k];
        others.merge(after[k + 1]);
        return others;
    }
};

void summarise(const ShapeTable& shapes, unsigned parts, CourseSet open, const Domains& domains, OpenSummaries& s) {
    for (int i : open) s.course[s.count++] = i;
    std::array<OpenSummary, MaxCourses> own;
    for (size_t k = 0; k < s.count; ++k)
        own[k] = courseSummary(shapes[static_cast<size_t>(s.course[k])], domains[s.course[k]], parts);
    s.before[0] = OpenSummary::none(parts);
    for (size_t k = 0; k < s.count; ++k) {
        s.before[k + 1] = s.before[k];
        s.before[k + 1].merge(own[k]);
    }
    s.after[s.count] = OpenSummary::none(parts);
    for (size_t k = s.count; k-- > 0;) {
        s.after[k] = own[k];
        s.after[k].merge(s.after[k + 1]);
    }
}

}  // namespace

// ---------------------------------------------------------------- Problem

RankProblem::RankProblem(const CourseList& courses, int numCourses, const ScheduleOptions& options)
    : n_(numCourses),
      primary_(options.primary),
      // A tie-break equal to the primary order breaks no tie.
      tieBreak_(options.tieBreak == options.primary ? ResultOrder::FirstFound : options.tieBreak) {
    assert(1 <= n_ && n_ <= MaxCourses);
    assert(primary_ != ResultOrder::FirstFound);
    all_ = quorvandel::everySection(courses, n_);
    for (int a = 0; a < n_; ++a)
        for (int j : all_[a])
            shapes_[static_cast<size_t>(a)][static_cast<size_t>(j)] =
                shapeOf(dayProfileOf(courses.Courses[static_cast<size_t>(a)].Sections[static_cast<size_t>(j)]));
    const SectionMasks masks = sectionMasksOf(courses, n_);
    fillPairwiseFits(masks, all_, n_, fits_);
    parts_ = summaryPartsOf(primary_) | summaryPartsOf(tieBreak_);
}

void RankProblem::addRoomBound(const CourseList& courses) {
    if (room_) return;
    room_.emplace(courses, n_, atomsOf(sectionMasksOf(courses, n_), all_, n_));
}

bool RankProblem::fitsBeside(int i, int j, const std::array<int16_t, MaxCourses>& choice) const {
    const Domains& beside = fitting(i, j);
    for (int k = 0; k < n_; ++k)
        if (k != i && !beside[k].contains(choice[static_cast<size_t>(k)])) return false;
    return true;
}

bool RankProblem::clashFree(const std::array<int16_t, MaxCourses>& choice) const {
    for (int i = 0; i < n_; ++i) {
        const int j = choice[static_cast<size_t>(i)];
        if (j < 0 || j >= MaxSectionsPerCourse || !all_[i].contains(j)) return false;
    }
    for (int i = 0; i < n_; ++i)
        if (!fitsBeside(i, choice[static_cast<size_t>(i)], choice)) return false;
    return true;
}

// ---------------------------------------------------------------- Costs

int RankProblem::folded(const RankScore& score) { return score.primary * TieBreakScale + score.tieBreak; }

int RankProblem::cost(const DayProfile& profile) const { return folded(score(profile)); }

RankScore RankProblem::score(const DayProfile& profile) const {
    return {costOf(primary_, profile), costOf(tieBreak_, profile)};
}

RankedTimetable RankProblem::timetable(const std::array<int16_t, MaxCourses>& choice, const DayProfile& profile) const {
    const RankScore s = score(profile);
    return {choice, folded(s), s};
}

DayProfile RankProblem::profileOf(const std::array<int16_t, MaxCourses>& choice) const {
    DayProfile profile{};
    for (int i = 0; i < n_; ++i) profile = joined(profile, shape(i, choice[static_cast<size_t>(i)]).cells);
    return profile;
}

// ---------------------------------------------------------------- Bounds

int RankProblem::bound(const DayProfile& placed, const OpenSummary& open) const {
    const int first = costBound(primary_, placed, open);
    if (first >= NoCompletion) return NoCostLimit;
    return folded({first, costBound(tieBreak_, placed, open)});
}

void RankProblem::sectionBounds(int course, SectionSet sections, const DayProfile& placed, const OpenSummary& others,
                                std::array<int, MaxSectionsPerCourse>& bounds) const {
    const SectionBound first(primary_, placed, others), second(tieBreak_, placed, others);
    for (int j : sections) {
        const SectionShape& section = shape(course, j);
        const int primary = first.of(section);
        bounds[static_cast<size_t>(j)] = primary >= NoCompletion ? NoCostLimit : folded({primary, second.of(section)});
        assert(bounds[static_cast<size_t>(j)] == bound(joined(placed, section.cells), others));
    }
}

// ---------------------------------------------------------------- Step tests

bool RankProblem::mayFit(CourseSet open, const Domains& domains) const {
    return !room_ || room_->mayFit(domains, open);
}

bool RankProblem::filter(CourseSet open, const DayProfile& placed, int limit, Domains& domains, ChildBounds& bounds,
                         std::uint64_t& cut) const {
    OpenSummaries summaries;
    summarise(shapes_, parts_, open, domains, summaries);
    const int stepBound = bound(placed, summaries.every());
    if (stepBound >= limit) return false;
    for (size_t k = 0; k < summaries.count; ++k) {
        const int i = summaries.course[k];
        const auto c = static_cast<size_t>(i);
        SectionSet& kept = domains[i];
        sectionBounds(i, kept, placed, summaries.everyBut(k), bounds[c]);
        for (int j : kept) {
            const int childBound = bounds[c][static_cast<size_t>(j)];
            // A child only fixes what its step's bound left open: its bound
            // is never lower.
            assert(childBound >= stepBound);
            if (childBound >= limit) {
                kept = kept.without(j);
                ++cut;
            }
        }
        if (kept.empty()) return false;
    }
    return true;
}

}  // namespace quorvandel
