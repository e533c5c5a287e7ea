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
    all_ = everySection(courses, n_);
    for (int a = 0; a < n_; ++a)
        for (int j : all_[a])
            shapes_[static_cast<size_t>(a)][static_cast<size_t>(j)] =
                shapeOf(profileOf(courses.Courses[static_cast<size_t>(a)].Sections[static_cast<size_t>(j)]));
    fillPairwiseFits(sectionMasksOf(courses, n_), all_, n_, fits_);
}

RankedOutcome RankedSearch::run() {
    held_ = RankedOutcome{};
    met_ = 0;
    stopped_ = false;
    stats_ = {};
    untilCheck_ = StopCheckInterval;
    if (all_.emptyAmong(CourseSet::firstN(n_)).empty()) place(n_ - 1, all_, DayProfile{});
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
    for (int section : open[course]) {
        if (!countStep()) return;
        choice_[c] = static_cast<int16_t>(section);
        const DayProfile next = joined(placed, shapes_[c][static_cast<size_t>(section)].cells);
        if (course == 0) {
            offer(next);
            continue;
        }
        const Domains child = open & fits_[c][static_cast<size_t>(section)];
        if (child.emptyAmong(CourseSet::firstN(course)).empty()) place(course - 1, child, next);
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
    for (size_t i = 0; i < open; ++i) own[i] = courseSummary(shapes_[i], domains[static_cast<int>(i)]);
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
        SectionSet& keptOfCourse = kept[static_cast<int>(i)];
        for (int section : domains[static_cast<int>(i)])
            if (bound(joined(placed, shapes_[i][static_cast<size_t>(section)].cells), others) >= limit) {
                keptOfCourse = keptOfCourse.without(section);
                ++stats_.sectionsCut;
            }
        if (keptOfCourse.empty()) dead = true;
    }
    if (!dead && kept == domains) return true;

    // Timetables cut away here were never met. Until more than 26 are known
    // to exist, find out whether this step holds any at all: if it does, it
    // is a 27th or later; if not, nothing is lost by ending it.
    if (!held_.moreThanStored && met_ <= MaxStoredTimetables) {
        if (!anyTimetable(domains, CourseSet::firstN(course + 1))) return false;
        held_.moreThanStored = true;
    }
    domains = kept;
    return !dead;
}

// Whether the open courses (bit i = course i) can each take one of their
// sections in `domains` with no clash. Only existence matters here, so the
// course with the fewest sections goes first.
bool RankedSearch::anyTimetable(const Domains& domains, CourseSet open) {
    if (open.empty()) return true;
    int pick = open.first();
    for (int i : open.without(pick))
        if (domains[i].count() < domains[pick].count()) pick = i;
    const CourseSet others = open.without(pick);
    for (int section : domains[pick]) {
        ++stats_.existenceNodes;
        if (!countStep()) return true;  // the answer no longer matters
        const Domains child = domains & fits_[static_cast<size_t>(pick)][static_cast<size_t>(section)];
        if (child.emptyAmong(others).empty() && anyTimetable(child, others)) return true;
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
