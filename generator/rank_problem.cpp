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

}  // namespace

RankProblem::RankProblem(const CourseList& courses, int numCourses, const ScheduleOptions& options, bool roomBound)
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
    fillPairwiseFits(sectionMasksOf(courses, n_), all_, n_, fits_);
    parts_ = summaryPartsOf(primary_) | summaryPartsOf(tieBreak_);
    if (roomBound) room_.emplace(courses, n_);
}

int RankProblem::folded(const RankScore& score) { return score.primary * TieBreakScale + score.tieBreak; }

int RankProblem::cost(const DayProfile& profile) const { return folded(score(profile)); }

RankScore RankProblem::score(const DayProfile& profile) const {
    return {costOf(primary_, profile), costOf(tieBreak_, profile)};
}

RankedTimetable RankProblem::timetable(const std::array<int16_t, MaxCourses>& choice, const DayProfile& profile) const {
    const RankScore s = score(profile);
    return {choice, folded(s), s};
}

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

bool RankProblem::mayFit(CourseSet open, const Domains& domains) const {
    return !room_ || room_->mayFit(domains, open);
}

bool RankProblem::filter(CourseSet open, const DayProfile& placed, int limit, Domains& domains, ChildBounds& bounds,
                         std::uint64_t& cut) const {
    // Summaries of the open courses in increasing index: before[k] joins
    // the first k, after[k] all from the k-th on, so that "every open course
    // but the k-th" is one merge.
    std::array<int, MaxCourses> course{};
    int m = 0;
    for (int i : open) course[static_cast<size_t>(m++)] = i;
    std::array<OpenSummary, MaxCourses + 1> before;
    std::array<OpenSummary, MaxCourses + 1> after;
    std::array<OpenSummary, MaxCourses> own;
    const auto count = static_cast<size_t>(m);
    for (size_t k = 0; k < count; ++k)
        own[k] = courseSummary(shapes_[static_cast<size_t>(course[k])], domains[course[k]], parts_);
    before[0] = OpenSummary::none(parts_);
    for (size_t k = 0; k < count; ++k) {
        before[k + 1] = before[k];
        before[k + 1].merge(own[k]);
    }
    after[count] = OpenSummary::none(parts_);
    for (size_t k = count; k-- > 0;) {
        after[k] = own[k];
        after[k].merge(after[k + 1]);
    }

    if (bound(placed, before[count]) >= limit) return false;
    for (size_t k = 0; k < count; ++k) {
        OpenSummary others = before[k];
        others.merge(after[k + 1]);
        const int i = course[k];
        const auto c = static_cast<size_t>(i);
        SectionSet& kept = domains[i];
        sectionBounds(i, kept, placed, others, bounds[c]);
        for (int j : kept)
            if (bounds[c][static_cast<size_t>(j)] >= limit) {
                kept = kept.without(j);
                ++cut;
            }
        if (kept.empty()) return false;
    }
    return true;
}

}  // namespace quorvandel
