#include "timetable_count.h"

#include <algorithm>
#include <cassert>

#include "sweep_count.h"
#include "usable_sections.h"

namespace quorvandel {

// ---------------------------------------------------------------- Arithmetic

std::uint64_t addCounts(std::uint64_t a, std::uint64_t b) {
    return a > ~std::uint64_t{0} - b ? ~std::uint64_t{0} : a + b;
}

std::uint64_t multiplyCounts(std::uint64_t a, std::uint64_t b) {
    if (a == 0 || b == 0) return 0;
    return b > ~std::uint64_t{0} / a ? ~std::uint64_t{0} : a * b;
}

std::uint64_t powerOfTenBelow(std::uint64_t n) {
    if (n <= 1) return 0;
    std::uint64_t power = 1;
    while (power <= (n - 1) / 10) power *= 10;
    return power;
}

// ---------------------------------------------------------------- Problem

TimetableCount::TimetableCount(const CourseList& courses, int numCourses, const CountLimits& limits,
                               const std::atomic<bool>* stop)
    : n_(numCourses), limits_(limits), memo_(limits.memoBytes), stop_(stop) {
    assert(1 <= n_ && n_ <= MaxCourses);
    all_ = everySection(courses, n_);
    const SectionMasks masks = sectionMasksOf(courses, n_);
    fillPairwiseFits(masks, all_, n_, fits_);
    for (int a = 0; a < n_; ++a)
        SectionHalves::fill(
            cellsLow_[a], cellsHigh_[a], all_[a], WeekMask{}, [&](int j) { return masks[a][j]; },
            [](WeekMask x, const WeekMask& y) { return x |= y; });
    untilStopCheck_ = limits_.stopCheckInterval;
}

TimetableTally TimetableCount::run() {
    const CourseSet everyone = CourseSet::firstN(n_);
    if (!all_.emptyAmong(everyone).empty()) return {TimetableTally::Kind::Exact, 0};
    if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) return {};
    const std::uint64_t count = countOpen(all_, everyone);
    if (stopped_) return {};
    if (outOfSteps_ || count == Saturated) return {TimetableTally::Kind::MoreThan, powerOfTenBelow(count)};
    return {TimetableTally::Kind::Exact, count};
}

// ---------------------------------------------------------------- Counting

std::uint64_t TimetableCount::countOpen(const Domains& d, CourseSet open) {
    assert(onlyOpenLanes(d, open));
    if (open.empty()) return 1;
    if (!open.hasAtLeastTwo()) return countLastCourse(d[open.first()]);
    CourseCells cells;
    for (int i : open) cells[i] = cellsOf(i, d[i]);
    if (!limits_.splitComponents) return countGroup(d, open, cells);
    std::array<CourseSet, MaxCourses> groups;
    const int numGroups = groupsOf(d, open, cells, groups);
    if (numGroups == 1) return countGroup(d, open, cells);
    ++stats_.splits;
    std::uint64_t product = 1;
    for (int g = 0; g < numGroups && product != 0; ++g) {
        Domains part;
        for (int i : groups[g]) part[i] = d[i];
        const std::uint64_t count =
            groups[g].hasAtLeastTwo() ? countGroup(part, groups[g], cells) : countLastCourse(d[groups[g].first()]);
        // A group cut short gives a lower bound; the groups after it are
        // not counted, so only what is certain so far may be multiplied:
        // the product stays a lower bound only when this was the last group.
        if (unfinished()) return g + 1 == numGroups ? multiplyCounts(product, count) : 0;
        product = multiplyCounts(product, count);
    }
    return product;
}

std::uint64_t TimetableCount::countGroup(const Domains& d, CourseSet open, const CourseCells& cells) {
    assert(open.hasAtLeastTwo() && onlyOpenLanes(d, open));
    const SubproblemKey key = makeSubproblemKey(d, open);
    if (memo_.enabled())
        if (const auto known = memo_.find(key)) {
            ++stats_.memoHits;
            return *known;
        }
    const int pick = pickCourse(d, open, cells);
    const CourseSet others = open.without(pick);
    std::uint64_t sum = 0;
    for (int section : d[pick]) {
        if (!countNode()) return sum;
        const Domains child = d & fits_[pick][section];
        if (!child.emptyAmong(others).empty()) continue;
        sum = addCounts(sum, countOpen(child, others));
        if (unfinished()) return sum;
    }
    if (memo_.enabled()) {
        memo_.insert(key, sum);
        ++stats_.memoInserts;
    }
    return sum;
}

// Every remaining section of the last open course fits beside the placed
// ones: forward checking kept only those.
std::uint64_t TimetableCount::countLastCourse(SectionSet sections) {
    if (limits_.countLastCourse) {
        stats_.countedUnvisited += static_cast<std::uint64_t>(sections.count());
        return static_cast<std::uint64_t>(sections.count());
    }
    std::uint64_t count = 0;
    for ([[maybe_unused]] int section : sections) {
        if (!countNode()) return count;
        ++count;
    }
    return count;
}

// Grows each group from its first course by the open courses whose cells
// meet the group's, then orders the groups by their number of combinations
// (a product of section counts, compared in doubles: it only orders).
int TimetableCount::groupsOf(const Domains& d, CourseSet open, const CourseCells& cells,
                             std::array<CourseSet, MaxCourses>& groups) const {
    int count = 0;
    CourseSet rest = open;
    while (!rest.empty()) {
        const int seed = rest.popFirst();
        CourseSet group = CourseSet::single(seed);
        WeekMask reach = cells[seed];
        for (bool grew = true; grew;) {
            grew = false;
            for (int i : rest)
                if (cells[i].intersects(reach)) {
                    reach |= cells[i];
                    group.insert(i);
                    rest = rest.without(i);
                    grew = true;
                }
        }
        groups[count++] = group;
    }
    auto size = [&](CourseSet group) {
        double combinations = 1;
        for (int i : group) combinations *= d[i].count();
        return combinations;
    };
    std::sort(groups.begin(), groups.begin() + count, [&](CourseSet x, CourseSet y) { return size(x) < size(y); });
    return count;
}

WeekMask TimetableCount::cellsOf(int course, SectionSet sections) const {
    WeekMask cells = cellsLow_[course][SectionHalves::low(sections)];
    cells |= cellsHigh_[course][SectionHalves::high(sections)];
    return cells;
}

// The course that shares cells with the most other open courses: placing
// it cuts the most ties, so the rest falls apart into groups soonest. Ties
// go to the fewest sections left (the fewest branches), then the lowest
// index.
int TimetableCount::pickCourse(const Domains& d, CourseSet open, const CourseCells& cells) const {
    int pick = -1, bestDegree = -1, bestSize = 0;
    for (int i : open) {
        int degree = 0;
        for (int j : open.without(i)) degree += cells[i].intersects(cells[j]) ? 1 : 0;
        const int size = d[i].count();
        if (degree > bestDegree || (degree == bestDegree && size < bestSize)) {
            pick = i;
            bestDegree = degree;
            bestSize = size;
        }
    }
    return pick;
}

// The domains' invariant, as in the timetable search: every open course has
// a section left, and the lanes of placed courses are empty (the memo's keys
// rely on it).
bool TimetableCount::onlyOpenLanes(const Domains& d, CourseSet open) const {
    for (int i = 0; i < MaxCourses; ++i)
        if (d[i].empty() == open.contains(i)) return false;
    return true;
}

// ---------------------------------------------------------------- Interrupt

bool TimetableCount::countNode() {
    if (stats_.nodes >= limits_.stepBudget) {
        outOfSteps_ = true;
        return false;
    }
    ++stats_.nodes;
    if (--untilStopCheck_ == 0) {
        untilStopCheck_ = limits_.stopCheckInterval;
        if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) {
            stopped_ = true;
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------- Entry point

TimetableTally countTimetables(const CourseList& courses, int numCourses, const BusyCells& busy,
                               const std::atomic<bool>* stop, const CountLimits& limits, CountStats* stats,
                               bool sameTimesOnce) {
    assert(0 <= numCourses && numCourses <= MaxCourses);
    if (numCourses <= 0) return {TimetableTally::Kind::Exact, 1};
    UsableSections usable;
    findUsableSections(courses, numCourses, busy, usable);
    if (sameTimesOnce) keepOneOfSameTimes(usable, numCourses, nullptr);
    CountStats sweepStats;
    if (limits.sweepMaxStates > 0) {
        const SweepTally sweep = sweepCount(usable.courses, numCourses, limits, stop);
        sweepStats.sweepSteps = sweep.steps;
        sweepStats.sweepPeakStates = sweep.peakStates;
        if (sweep.kind == SweepTally::Kind::Stopped) return {};
        if (sweep.kind == SweepTally::Kind::Counted) {
            sweepStats.sweepCounted = true;
            if (stats != nullptr) *stats = sweepStats;
            if (sweep.count == ~std::uint64_t{0}) return {TimetableTally::Kind::MoreThan, powerOfTenBelow(sweep.count)};
            return {TimetableTally::Kind::Exact, sweep.count};
        }
    }
    TimetableCount count(usable.courses, numCourses, limits, stop);
    const TimetableTally tally = count.run();
    if (stats != nullptr) {
        *stats = count.stats();
        stats->sweepSteps = sweepStats.sweepSteps;
        stats->sweepPeakStates = sweepStats.sweepPeakStates;
    }
    return tally;
}

}  // namespace quorvandel
