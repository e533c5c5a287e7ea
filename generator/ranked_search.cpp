#include "ranked_search.h"

#include <bit>
#include <cassert>
#include <climits>

#include "week.h"

namespace quorvandel {

namespace {

// Every order's cost is below this, so primary x scale + tie-break compares
// like the pair (primary, tie-break).
constexpr int TieBreakScale = 1024;
static_assert(CellsPerWeek < TieBreakScale && LatestStartCostBase < TieBreakScale);
constexpr int NoThreshold = INT_MAX;
constexpr std::uint32_t StopCheckInterval = 64;
constexpr std::uint32_t ProgressInterval = 4096;

DayProfile profileOf(const Section& section) {
    DayProfile profile{};
    forEachCoveredCell(section, [&profile](int cell) {
        profile[static_cast<size_t>(dayOfCell(cell))] |= std::uint32_t{1} << slotOfCell(cell);
    });
    return profile;
}

DayProfile joined(const DayProfile& a, const DayProfile& b) {
    DayProfile r;
    for (size_t d = 0; d < DaysPerWeek; ++d) r[d] = a[d] | b[d];
    return r;
}

bool clash(const DayProfile& a, const DayProfile& b) {
    for (size_t d = 0; d < DaysPerWeek; ++d)
        if ((a[d] & b[d]) != 0) return true;
    return false;
}

}  // namespace

RankedSearch::RankedSearch(const CourseList& courses, int numCourses, const ScheduleOptions& options,
                           const std::atomic<bool>* stop, Progress progress)
    : n_(numCourses),
      primary_(options.primary),
      // A tie-break equal to the primary order breaks no tie.
      tieBreak_(options.tieBreak == options.primary ? ResultOrder::FirstFound : options.tieBreak),
      stop_(stop),
      progress_(std::move(progress)) {
    assert(1 <= n_ && n_ <= MaxCourses);
    assert(primary_ != ResultOrder::FirstFound);
    std::array<std::array<DayProfile, MaxSectionsPerCourse>, MaxCourses> cells{};
    for (int a = 0; a < n_; ++a) {
        const Course& course = courses.Courses[static_cast<size_t>(a)];
        assert(0 <= course.NumSections && course.NumSections <= MaxSectionsPerCourse);
        all_[static_cast<size_t>(a)] = static_cast<std::uint16_t>((1U << course.NumSections) - 1U);
        for (int j = 0; j < course.NumSections; ++j) {
            cells[static_cast<size_t>(a)][static_cast<size_t>(j)] = profileOf(course.Sections[static_cast<size_t>(j)]);
            shapes_[static_cast<size_t>(a)][static_cast<size_t>(j)] =
                shapeOf(cells[static_cast<size_t>(a)][static_cast<size_t>(j)]);
        }
    }
    for (int a = 0; a < n_; ++a)
        for (int j = 0; j < courses.Courses[static_cast<size_t>(a)].NumSections; ++j)
            for (int b = 0; b < n_; ++b)
                for (int k = 0; k < courses.Courses[static_cast<size_t>(b)].NumSections; ++k)
                    if (a != b && !clash(cells[static_cast<size_t>(a)][static_cast<size_t>(j)],
                                         cells[static_cast<size_t>(b)][static_cast<size_t>(k)]))
                        fits_[static_cast<size_t>(a)][static_cast<size_t>(j)][static_cast<size_t>(b)] |=
                            static_cast<std::uint16_t>(1U << k);
}

RankedOutcome RankedSearch::run() {
    held_ = RankedOutcome{};
    met_ = 0;
    stopped_ = false;
    stats_ = {};
    untilCheck_ = StopCheckInterval;
    bool everyCourseHasOne = true;
    for (int a = 0; a < n_; ++a)
        if (all_[static_cast<size_t>(a)] == 0) everyCourseHasOne = false;
    if (everyCourseHasOne) place(n_ - 1, all_, DayProfile{});
    held_.moreThanStored = held_.moreThanStored || met_ > MaxStoredTimetables;
    held_.stopped = stopped_;
    if (progress_ && met_ > 0) progress_(met_, held_.best[0].score);
    return held_;
}

int RankedSearch::cost(const DayProfile& profile) const {
    return costOf(primary_, profile) * TieBreakScale + costOf(tieBreak_, profile);
}

int RankedSearch::bound(const DayProfile& placed, const OpenSummary& open) const {
    const int first = costBound(primary_, placed, open);
    if (first >= NoCompletion) return NoThreshold;
    return first * TieBreakScale + costBound(tieBreak_, placed, open);
}

int RankedSearch::threshold() const { return full() ? held_.best[MaxStoredTimetables - 1].cost : NoThreshold; }

// Courses 0 .. course are open, each with the sections in `domains` that fit
// beside every placed section; `placed` holds the placed sections' cells.
void RankedSearch::place(int course, const Domains& domains, const DayProfile& placed) {
    Domains open = domains;
    if (full() && !cutByBound(course, open, placed)) return;
    const auto c = static_cast<size_t>(course);
    for (std::uint16_t untried = open[c]; untried != 0; untried &= static_cast<std::uint16_t>(untried - 1)) {
        const int section = std::countr_zero(untried);
        if (!countStep()) return;
        choice_[c] = static_cast<int16_t>(section);
        const DayProfile next = joined(placed, shapes_[c][static_cast<size_t>(section)].cells);
        if (course == 0) {
            offer(next);
            continue;
        }
        const auto& fit = fits_[c][static_cast<size_t>(section)];
        Domains child = open;
        bool ok = true;
        for (size_t i = 0; i < c && ok; ++i) {
            child[i] = static_cast<std::uint16_t>(open[i] & fit[i]);
            ok = child[i] != 0;
        }
        if (ok) place(course - 1, child, next);
        if (stopped_) return;
    }
}

// Drops every section of an open course whose best completion cannot beat
// the threshold. Returns false when nothing below this step can be kept.
bool RankedSearch::cutByBound(int course, Domains& domains, const DayProfile& placed) {
    const int limit = threshold();
    const auto open = static_cast<size_t>(course) + 1;
    std::array<OpenSummary, MaxCourses + 1> before;  // [i]: courses 0 .. i-1
    std::array<OpenSummary, MaxCourses + 1> after;   // [i]: courses i .. course
    std::array<OpenSummary, MaxCourses> own;
    before[0] = OpenSummary::none();
    after[open] = OpenSummary::none();
    for (size_t i = 0; i < open; ++i) own[i] = courseSummary(shapes_[i], domains[i]);
    for (size_t i = 0; i < open; ++i) {
        before[i + 1] = before[i];
        before[i + 1].merge(own[i]);
    }
    for (size_t i = open; i-- > 0;) {
        after[i] = own[i];
        after[i].merge(after[i + 1]);
    }

    Domains kept = domains;
    bool dead = bound(placed, before[open]) >= limit;
    for (size_t i = 0; i < open && !dead; ++i) {
        OpenSummary others = before[i];
        others.merge(after[i + 1]);
        for (std::uint16_t rest = domains[i]; rest != 0; rest &= static_cast<std::uint16_t>(rest - 1)) {
            const int section = std::countr_zero(rest);
            if (bound(joined(placed, shapes_[i][static_cast<size_t>(section)].cells), others) >= limit) {
                kept[i] &= static_cast<std::uint16_t>(~(1U << section));
                ++stats_.sectionsCut;
            }
        }
        if (kept[i] == 0) dead = true;
    }
    if (!dead && kept == domains) return true;

    // Timetables cut away here were never met. Until more than 26 are known
    // to exist, find out whether this step holds any at all: if it does, it
    // is a 27th or later; if not, nothing is lost by ending it.
    if (!held_.moreThanStored && met_ <= MaxStoredTimetables) {
        if (!anyTimetable(domains, (2U << course) - 1U)) return false;
        held_.moreThanStored = true;
    }
    domains = kept;
    return !dead;
}

// Whether the open courses (bit i = course i) can each take one of their
// sections in `domains` with no clash. Only existence matters here, so the
// course with the fewest sections goes first.
bool RankedSearch::anyTimetable(const Domains& domains, std::uint32_t open) {
    if (open == 0) return true;
    int pick = -1;
    int fewest = MaxSectionsPerCourse + 1;
    for (std::uint32_t rest = open; rest != 0; rest &= rest - 1) {
        const int i = std::countr_zero(rest);
        const int size = std::popcount(domains[static_cast<size_t>(i)]);
        if (size < fewest) {
            fewest = size;
            pick = i;
        }
    }
    const std::uint32_t others = open & ~(1U << pick);
    for (std::uint16_t rest = domains[static_cast<size_t>(pick)]; rest != 0;
         rest &= static_cast<std::uint16_t>(rest - 1)) {
        ++stats_.existenceNodes;
        if (!countStep()) return true;  // the answer no longer matters
        const auto& fit = fits_[static_cast<size_t>(pick)][static_cast<size_t>(std::countr_zero(rest))];
        Domains child = domains;
        bool ok = true;
        for (std::uint32_t o = others; o != 0 && ok; o &= o - 1) {
            const auto i = static_cast<size_t>(std::countr_zero(o));
            child[i] = static_cast<std::uint16_t>(domains[i] & fit[i]);
            ok = child[i] != 0;
        }
        if (ok && anyTimetable(child, others)) return true;
    }
    return false;
}

// A conflict-free timetable, choice_ with these cells. It comes after every
// timetable held in enumeration order, so it goes after those of equal cost.
void RankedSearch::offer(const DayProfile& profile) {
    ++met_;
    if (met_ > MaxStoredTimetables) held_.moreThanStored = true;
    const int value = cost(profile);
    if (value >= threshold()) return;
    int at = held_.count < MaxStoredTimetables ? held_.count : MaxStoredTimetables - 1;
    for (; at > 0 && held_.best[static_cast<size_t>(at - 1)].cost > value; --at)
        held_.best[static_cast<size_t>(at)] = held_.best[static_cast<size_t>(at - 1)];
    RankedTimetable& entry = held_.best[static_cast<size_t>(at)];
    entry.choice = choice_;
    entry.cost = value;
    entry.score = {costOf(primary_, profile), costOf(tieBreak_, profile)};
    if (held_.count < MaxStoredTimetables) ++held_.count;
}

bool RankedSearch::countStep() {
    ++stats_.nodes;
    if (--untilCheck_ != 0) return !stopped_;
    untilCheck_ = StopCheckInterval;
    if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) stopped_ = true;
    if (progress_ && met_ > 0 && stats_.nodes % ProgressInterval < StopCheckInterval)
        progress_(met_, held_.best[0].score);
    return !stopped_;
}

}  // namespace quorvandel
