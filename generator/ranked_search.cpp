#include "ranked_search.h"

#include <algorithm>
#include <cassert>

namespace quorvandel {

namespace {

constexpr int MaxLocalMoves = 30;
constexpr int LocalStarts = 8;

// Whether timetable a comes before b: cheaper, or as cheap and earlier in
// enumeration order (the last course's section counts most).
bool ranksBefore(const RankedTimetable& a, const RankedTimetable& b, int courses) {
    if (a.cost != b.cost) return a.cost < b.cost;
    for (auto c = static_cast<size_t>(courses); c-- > 0;)
        if (a.choice[c] != b.choice[c]) return a.choice[c] < b.choice[c];
    return false;
}

// The open course with the fewest sections left: the one most likely to
// fail, so that failing costs least.
int mostConstrained(CourseSet open, const Domains& domains) {
    int pick = open.first();
    for (int i : open.without(pick))
        if (domains[i].count() < domains[pick].count()) pick = i;
    return pick;
}

// The open course whose cheapest section has the highest bound: it raises
// the bound most, so cuts come soonest. Ties go to the fewest sections.
int costliestCourse(CourseSet open, const Domains& domains, const ChildBounds& bounds) {
    int pick = -1, pickBound = -1, pickCount = 0;
    for (int i : open) {
        int cheapest = NoCostLimit;
        for (int j : domains[i]) cheapest = std::min(cheapest, bounds[static_cast<size_t>(i)][static_cast<size_t>(j)]);
        const int count = domains[i].count();
        if (cheapest > pickBound || (cheapest == pickBound && count < pickCount)) {
            pick = i;
            pickBound = cheapest;
            pickCount = count;
        }
    }
    return pick;
}

// The course's sections by `keys`, smallest first (equal keys in index
// order). Returns how many.
int sectionsByKey(SectionSet sections, const std::array<std::int64_t, MaxSectionsPerCourse>& keys,
                  std::array<int, MaxSectionsPerCourse>& order) {
    int count = 0;
    for (int j : sections) {
        int at = count++;
        for (; at > 0 && keys[static_cast<size_t>(order[static_cast<size_t>(at - 1)])] > keys[static_cast<size_t>(j)];
             --at)
            order[static_cast<size_t>(at)] = order[static_cast<size_t>(at - 1)];
        order[static_cast<size_t>(at)] = j;
    }
    return count;
}

}  // namespace

RankedSearch::RankedSearch(const CourseList& courses, int numCourses, const ScheduleOptions& options,
                           const SearchLimits& limits, const std::atomic<bool>* stop, Progress progress)
    : problem_(courses, numCourses, options, limits.roomBound),
      n_(numCourses),
      limits_(limits),
      stop_(stop),
      progress_(std::move(progress)) {
    assert(limits_.stopCheckInterval > 0 && limits_.progressInterval > 0);
}

RankedOutcome RankedSearch::run() {
    heldCount_ = tiesCount_ = tiesWanted_ = 0;
    more_ = stopped_ = done_ = false;
    local_ = {};
    cutoff_ = NoCostLimit;
    lookedAround_ = false;
    met_ = 0;
    stats_ = {};
    untilCheck_ = limits_.stopCheckInterval;
    const Domains& all = problem_.everySection();
    if (!all.emptyAmong(CourseSet::firstN(n_)).empty()) return outcome();

    cheapestFirst(CourseSet::firstN(n_), all, DayProfile{});
    more_ = moreKnown();
    if (!stopped_ && full()) {
        tieCost_ = held_[static_cast<size_t>(dearest_)].cost;
        tiesWanted_ = static_cast<int>(
            std::count_if(held_.begin(), held_.end(), [this](const RankedTimetable& t) { return t.cost == tieCost_; }));
        inOrder(n_ - 1, all, DayProfile{}, false);
        assert(stopped_ || tiesCount_ == tiesWanted_);
    }
    if (progress_ && met_ > 0) progress_(met_, bestScore());
    return outcome();
}

int RankedSearch::limit() const {
    if (probing_) return tieCost_ + 1;
    return full() ? std::min(cutoff_, held_[static_cast<size_t>(dearest_)].cost) : cutoff_;
}

// A look around the cheapest timetables held, once 26 are held and the
// search has run a while: more than 26 cheap ones met give a cutoff.
void RankedSearch::lookAround() {
    lookedAround_ = true;
    std::array<int, MaxStoredTimetables> byCost{};
    for (int k = 0; k < MaxStoredTimetables; ++k) byCost[static_cast<size_t>(k)] = k;
    std::sort(byCost.begin(), byCost.end(),
              [this](int a, int b) { return held_[static_cast<size_t>(a)].cost < held_[static_cast<size_t>(b)].cost; });
    for (int k = 0; k < LocalStarts; ++k)
        searchAround(problem_, held_[static_cast<size_t>(byCost[static_cast<size_t>(k)])].choice, MaxLocalMoves,
                     local_);
    if (!local_.full()) return;
    cutoff_ = local_.best[MaxStoredTimetables - 1].cost + 1;
    more_ = true;  // 27 distinct met
}

// ---- First pass: any order, the 26 cheapest ----

// The open courses (bit i = course i) each keep their sections in `domains`
// that fit beside every placed section; `placed` holds the placed cells.
void RankedSearch::cheapestFirst(CourseSet open, const Domains& domains, const DayProfile& placed) {
    Domains kept = domains;
    ChildBounds bounds;
    if (!filterFirstPass(open, kept, placed, bounds)) return;
    const int course = costliestCourse(open, kept, bounds);
    const auto c = static_cast<size_t>(course);
    std::array<int, MaxSectionsPerCourse> order{};
    const int count = cheapestSections(course, kept[course], placed, bounds[c], order);
    const CourseSet rest = open.without(course);
    for (int k = 0; k < count; ++k) {
        const int section = order[static_cast<size_t>(k)];
        // The limit may have come down since the filter ran.
        if ((probing_ || moreKnown()) && bounds[c][static_cast<size_t>(section)] >= limit()) continue;
        if (!countStep()) return;
        choice_[c] = static_cast<int16_t>(section);
        const DayProfile next = joined(placed, problem_.shape(course, section).cells);
        if (rest.empty()) {
            if (probing_)
                witnessed_ = problem_.cost(next) <= tieCost_;
            else
                holdCheapest(next);
            if (witnessed_) return;
            continue;
        }
        const Domains child = kept & problem_.fitting(course, section);
        if (child.emptyAmong(rest).empty()) cheapestFirst(rest, child, next);
        if (stopped_ || witnessed_) return;
    }
}

// The course's sections in the order the first pass tries them: cheapest
// child bound first, then cheapest placed part, so that the first
// timetables met are cheap ones and the limit comes down early.
int RankedSearch::cheapestSections(int course, SectionSet sections, const DayProfile& placed,
                                   const std::array<int, MaxSectionsPerCourse>& bounds,
                                   std::array<int, MaxSectionsPerCourse>& order) const {
    std::array<std::int64_t, MaxSectionsPerCourse> keys{};
    constexpr int PlacedBits = 32;
    for (int j : sections) {
        const auto k = static_cast<size_t>(j);
        keys[k] =
            (std::int64_t{bounds[k]} << PlacedBits) + problem_.cost(joined(placed, problem_.shape(course, j).cells));
    }
    return sectionsByKey(sections, keys, order);
}

// The cost filter at the limit. Returns false when nothing below this step
// can be held.
bool RankedSearch::filterFirstPass(CourseSet open, Domains& domains, const DayProfile& placed, ChildBounds& bounds) {
    if (!problem_.mayFit(open, domains)) return false;  // no timetable here at all
    const Domains before = domains;
    const bool alive = problem_.filter(open, placed, limit(), domains, bounds, stats_.sectionsCut);
    if (probing_ || (alive && domains == before)) return alive;
    // Timetables cut away here were never met. Until more than 26 are known
    // to exist, find out whether this step holds any at all: nothing cuts
    // before 26 are held, and nothing below this step has been met, so if it
    // holds one, that is a 27th; if not, nothing is lost by ending it.
    if (!moreKnown()) {
        assert(full());
        if (!anyTimetable(before, open)) return false;
        more_ = true;
    }
    return alive;
}

// A conflict-free timetable, choice_ with these cells: held when it is
// among the cheapest met so far (ties in no particular order).
void RankedSearch::holdCheapest(const DayProfile& profile) {
    ++met_;
    const RankedTimetable met = problem_.timetable(choice_, profile);
    if (met.cost >= limit()) return;
    const int at = full() ? dearest_ : heldCount_++;
    held_[static_cast<size_t>(at)] = met;
    if (!full()) return;
    dearest_ = 0;
    for (int k = 1; k < MaxStoredTimetables; ++k)
        if (held_[static_cast<size_t>(k)].cost > held_[static_cast<size_t>(dearest_)].cost) dearest_ = k;
    if (!lookedAround_ && stats_.nodes >= limits_.rankedLookAroundAfterNodes) lookAround();
}

// ---- Second pass: enumeration order, the first costing exactly T ----

// Courses 0 .. course are open, each with the sections in `domains` that fit
// beside every placed section; `placed` holds the placed sections' cells.
// `witness` is a timetable costing T or less below this step, if one is
// known (its choice is in witness_).
void RankedSearch::inOrder(int course, const Domains& domains, const DayProfile& placed, bool witness) {
    const CourseSet open = CourseSet::firstN(course + 1);
    Domains kept = domains;
    ChildBounds bounds;
    if (!problem_.mayFit(open, kept) || !problem_.filter(open, placed, tieCost_ + 1, kept, bounds, stats_.sectionsCut))
        return;
    if (!witness && !probe(open, kept, placed)) return;
    const auto c = static_cast<size_t>(course);
    for (int section : kept[course]) {
        if (!countStep()) return;
        ++stats_.orderNodes;
        choice_[c] = static_cast<int16_t>(section);
        const DayProfile next = joined(placed, problem_.shape(course, section).cells);
        if (course == 0) {
            collectTie(next);
            if (done_) return;
            continue;
        }
        const Domains child = kept & problem_.fitting(course, section);
        if (child.emptyAmong(CourseSet::firstN(course)).empty())
            inOrder(course - 1, child, next, witness_[c] == section);
        if (stopped_ || done_) return;
    }
}

// Whether some timetable below this step costs T or less, by the first
// pass's search: far quicker to settle than the enumeration-order one.
// When there is one, witness_ is set to it; choice_ of the open courses is
// left changed either way.
bool RankedSearch::probe(CourseSet open, const Domains& domains, const DayProfile& placed) {
    const std::uint64_t nodesBefore = stats_.nodes;
    probing_ = true;
    witnessed_ = false;
    cheapestFirst(open, domains, placed);
    probing_ = false;
    stats_.probeNodes += stats_.nodes - nodesBefore;
    const bool found = witnessed_;
    if (found) witness_ = choice_;
    witnessed_ = false;
    return found;
}

// Every timetable cheaper than T is held already; those costing T are
// collected in the order met until there are as many as wanted.
void RankedSearch::collectTie(const DayProfile& profile) {
    const RankedTimetable met = problem_.timetable(choice_, profile);
    if (met.cost != tieCost_) return;
    ties_[static_cast<size_t>(tiesCount_++)] = met;
    done_ = tiesCount_ == tiesWanted_;
}

// ---- Shared ----

// Whether the open courses (bit i = course i) can each take one of their
// sections in `domains` with no clash. Only existence matters here, so the
// course with the fewest sections goes first.
bool RankedSearch::anyTimetable(const Domains& domains, CourseSet open) {
    if (open.empty()) return true;
    const int pick = mostConstrained(open, domains);
    const CourseSet others = open.without(pick);
    for (int section : domains[pick]) {
        ++stats_.existenceNodes;
        if (!countStep()) return true;  // the answer no longer matters
        const Domains child = domains & problem_.fitting(pick, section);
        if (child.emptyAmong(others).empty() && anyTimetable(child, others)) return true;
    }
    return false;
}

bool RankedSearch::countStep() {
    ++stats_.nodes;
    if (--untilCheck_ != 0) return !stopped_;
    untilCheck_ = limits_.stopCheckInterval;
    if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) stopped_ = true;
    if (progress_ && met_ > 0 && stats_.nodes % limits_.progressInterval < limits_.stopCheckInterval)
        progress_(met_, bestScore());
    return !stopped_;
}

RankScore RankedSearch::bestScore() const {
    if (heldCount_ == 0) return {};
    const auto held = held_.begin(), end = held + heldCount_;
    return std::min_element(held, end, [](const auto& a, const auto& b) { return a.cost < b.cost; })->score;
}

// The best of everything held and collected, best first, each once.
RankedOutcome RankedSearch::outcome() const {
    std::array<RankedTimetable, 3 * MaxStoredTimetables + 1> all;
    auto end = std::copy_n(held_.begin(), heldCount_, all.begin());
    end = std::copy_n(ties_.begin(), tiesCount_, end);
    end = std::copy_n(local_.best.begin(), local_.count, end);
    const auto before = [this](const RankedTimetable& a, const RankedTimetable& b) { return ranksBefore(a, b, n_); };
    std::sort(all.begin(), end, before);
    const auto distinct = std::unique(
        all.begin(), end, [&before](const auto& a, const auto& b) { return !before(a, b) && !before(b, a); });
    RankedOutcome result;
    result.count = static_cast<int>(std::min<std::ptrdiff_t>(distinct - all.begin(), MaxStoredTimetables));
    std::copy_n(all.begin(), result.count, result.best.begin());
    result.moreThanStored = moreKnown();
    result.stopped = stopped_;
    return result;
}

}  // namespace quorvandel
