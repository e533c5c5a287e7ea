#include "ranked_search.h"

#include <algorithm>
#include <cassert>
#include <vector>

#include "timetable_search.h"

namespace quorvandel {

namespace {

// The look around: how many of the cheapest held it starts from, and how
// many moves it makes from each.
constexpr int LocalStarts = 8;
constexpr int MaxLocalMoves = 30;

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

// ---------------------------------------------------------------- Problem

RankedSearch::RankedSearch(const CourseList& courses, int numCourses, const ScheduleOptions& options,
                           const SearchLimits& limits, const std::atomic<bool>* stop, Progress progress)
    : copies_(courses, numCourses, limits.searchCopiesOnce),
      merged_(copies_.anyCopies() ? copies_.distinctCourses(courses) : nullptr),
      distinct_(merged_ ? *merged_ : courses),
      problem_(distinct_, numCourses, options),
      n_(numCourses),
      limits_(limits),
      stop_(stop),
      progress_(std::move(progress)) {
    assert(limits_.stopCheckInterval > 0 && limits_.progressInterval > 0);
}

// ---------------------------------------------------------------- State

RankedOutcome RankedSearch::run() {
    reset();
    const Domains& all = problem_.everySection();
    if (!all.emptyAmong(CourseSet::firstN(n_)).empty()) return {};  // a course without sections
    if (!limits_.rankedListFew || !listedEveryTimetable()) {
        const std::uint64_t listingNodes = stats_.listingNodes;
        reset();
        stats_.listingNodes = listingNodes;
        if (limits_.roomBound) problem_.addRoomBound(distinct_);
        cheapestFirst(CourseSet::firstN(n_), all, DayProfile{});
        more_ = moreKnown();
        // Fewer than 26 held: the first pass met every timetable there is.
        if (!stopped_ && full()) secondPass();
    }
    if (progress_ && met_ > 0) progress_(met_, bestScore());
    return withRealSections(outcome());
}

void RankedSearch::reset() {
    heldCount_ = tiesCount_ = tiesWanted_ = 0;
    more_ = stopped_ = done_ = false;
    local_ = {};
    cutoff_ = NoCostLimit;
    lookedAround_ = false;
    met_ = 0;
    stats_ = {};
    untilCheck_ = limits_.stopCheckInterval;
}

// ---------------------------------------------------------------- Few timetables

// Holds every distinct timetable when the first-found search meets 26 or
// fewer, and says so; false when it meets a 27th. A stop ends the listing
// with what it met held, as the passes would.
bool RankedSearch::listedEveryTimetable() {
    // The courses it is given hold no copies: it need not look for any.
    SearchLimits listingLimits = limits_;
    listingLimits.searchCopiesOnce = false;
    auto search = std::make_unique<TimetableSearch>(distinct_, n_, listingLimits, stop_, nullptr);
    int listed = 0;
    const TimetableSearch::Step step = search->listInAnyOrder(MaxStoredTimetables + 1, [&](const Choice& found) {
        // A 27th says only that the passes must rank them.
        if (++listed <= MaxStoredTimetables) holdCheapest(problem_.timetable(found, problem_.profileOf(found)));
    });
    stopped_ = step == TimetableSearch::Step::Stopped;
    stats_.listingNodes = search->stats().nodes;
    return step != TimetableSearch::Step::Found;
}

// ---------------------------------------------------------------- Bounds

// The first pass's limit comes down as cheaper timetables are held, and
// once by the local search's cutoff; a probe looks for any timetable
// costing T or less.
int RankedSearch::limit() const {
    if (probing_) return tieCost_ + 1;
    return full() ? std::min(cutoff_, held_[static_cast<size_t>(dearest_)].cost) : cutoff_;
}

// ---------------------------------------------------------------- First pass

// The open courses each keep their sections in `domains` that fit beside
// every placed section; `placed` holds the placed sections' cells. Ends at
// once when stopped or, as a probe, when a witness is found.
void RankedSearch::cheapestFirst(CourseSet open, const Domains& domains, const DayProfile& placed) {
    assert(onlyOpenLanes(domains, open));
    Domains kept = domains;
    ChildBounds bounds;
    if (!filterFirstPass(open, kept, placed, bounds)) return;
    const int course = costliestCourse(open, kept, bounds);
    const std::array<int, MaxSectionsPerCourse>& courseBounds = bounds[static_cast<size_t>(course)];
    std::array<int, MaxSectionsPerCourse> order{};
    const int count = cheapestSections(course, kept[course], placed, courseBounds, order);
    const CourseSet rest = open.without(course);
    for (int k = 0; k < count; ++k) {
        const int section = order[static_cast<size_t>(k)];
        const int bound = courseBounds[static_cast<size_t>(section)];
        // The limit may have come down since the filter ran.
        if ((probing_ || moreKnown()) && bound >= limit()) continue;
        if (!countStep()) return;
        choice_[static_cast<size_t>(course)] = static_cast<int16_t>(section);
        const DayProfile next = joined(placed, problem_.shape(course, section).cells);
        if (rest.empty()) {
            completeFirstPass(next, bound);
        } else {
            const Domains child = kept & problem_.fitting(course, section);
            if (child.emptyAmong(rest).empty()) cheapestFirst(rest, child, next);
        }
        if (stopped_ || witnessed_) return;
    }
}

// The room bound, then the cost filter at the limit. Returns false when
// nothing below this step can be held.
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

// A conflict-free timetable, choice_ covering `profile`, whose last section
// had the bound `bound`. A probe only asks whether it costs T or less; the
// first pass proper holds it when it is among the cheapest met.
void RankedSearch::completeFirstPass(const DayProfile& profile, [[maybe_unused]] int bound) {
    if (probing_) {
        const int cost = problem_.cost(profile);
        assert(cost >= bound);  // the bounds never overestimate
        witnessed_ = cost <= tieCost_;
        return;
    }
    const RankedTimetable met = problem_.timetable(choice_, profile);
    assert(met.cost >= bound);
    holdCheapest(met);
}

// Holds `met` when it is among the cheapest met so far (ties in no
// particular order), in place of the dearest once 26 are held.
void RankedSearch::holdCheapest(const RankedTimetable& met) {
    met_ += copies_.countExpansions(met.choice, MaxStoredTimetables + 1);
    const int limitBefore = limit();
    if (met.cost >= limitBefore) return;
    held_[static_cast<size_t>(full() ? dearest_ : heldCount_++)] = met;
    if (full()) {
        dearest_ = 0;
        for (int k = 1; k < MaxStoredTimetables; ++k)
            if (held_[static_cast<size_t>(k)].cost > held_[static_cast<size_t>(dearest_)].cost) dearest_ = k;
        if (!lookedAround_ && stats_.nodes >= limits_.rankedLookAroundAfterNodes) lookAround();
    }
    // Every cut made so far stays sound only while the limit never rises.
    assert(limit() <= limitBefore);
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

// ---------------------------------------------------------------- Second pass

// T is the dearest cost held; as many timetables costing T as the first
// pass held are wanted, the first ones in enumeration order.
void RankedSearch::secondPass() {
    tieCost_ = held_[static_cast<size_t>(dearest_)].cost;
    tiesWanted_ = static_cast<int>(
        std::count_if(held_.begin(), held_.end(), [this](const RankedTimetable& t) { return t.cost == tieCost_; }));
    // The local search met 26 timetables costing less than the cutoff, so
    // the 26 best all do.
    assert(tieCost_ < cutoff_);
    inOrder(n_ - 1, problem_.everySection(), DayProfile{}, false);
    assert(stopped_ || tiesCount_ == tiesWanted_);
}

// Courses 0 .. course are open, each with the sections in `domains` that fit
// beside every placed section; `placed` holds the placed sections' cells.
// With `witness`, witness_ is a timetable costing T or less below this step.
void RankedSearch::inOrder(int course, const Domains& domains, const DayProfile& placed, bool witness) {
    const CourseSet open = CourseSet::firstN(course + 1);
    assert(onlyOpenLanes(domains, open) && (!witness || witnessBelow(course, domains)));
    Domains kept = domains;
    ChildBounds bounds;
    const bool alive =
        problem_.mayFit(open, kept) && problem_.filter(open, placed, tieCost_ + 1, kept, bounds, stats_.sectionsCut);
    // The bounds never overestimate, so the witness's sections stay.
    assert(!witness || (alive && witnessBelow(course, kept)));
    if (!alive || (!witness && !probe(open, kept, placed))) return;
    const auto c = static_cast<size_t>(course);
    for (int section : kept[course]) {
        if (!countStep()) return;
        ++stats_.orderNodes;
        choice_[c] = static_cast<int16_t>(section);
        const DayProfile next = joined(placed, problem_.shape(course, section).cells);
        if (course == 0) {
            collectTie(next, bounds[c][static_cast<size_t>(section)]);
        } else {
            const Domains child = kept & problem_.fitting(course, section);
            if (child.emptyAmong(CourseSet::firstN(course)).empty())
                inOrder(course - 1, child, next, witness_[c] == section);
        }
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
// collected in the order met until there are as many as wanted. `bound` is
// the last section's bound.
void RankedSearch::collectTie(const DayProfile& profile, [[maybe_unused]] int bound) {
    const RankedTimetable met = problem_.timetable(choice_, profile);
    assert(met.cost >= bound);
    if (met.cost != tieCost_) return;
    assert(tiesCount_ < tiesWanted_);
    // The pass meets timetables in enumeration order, each once.
    assert(tiesCount_ == 0 || ranksBefore(ties_[static_cast<size_t>(tiesCount_ - 1)], met, n_));
    ties_[static_cast<size_t>(tiesCount_++)] = met;
    done_ = tiesCount_ == tiesWanted_;
}

// ---------------------------------------------------------------- Existence

// Whether the open courses can each take one of their sections in `domains`
// with no clash. Only existence matters here, so the course with the fewest
// sections goes first.
bool RankedSearch::anyTimetable(const Domains& domains, CourseSet open) {
    assert(onlyOpenLanes(domains, open));
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

// ---------------------------------------------------------------- Interrupt

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

// ---------------------------------------------------------------- Outcome

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
    assert(std::all_of(result.best.begin(), result.best.begin() + result.count,
                       [this](const RankedTimetable& t) { return problem_.clashFree(t.choice); }));
    return result;
}

// The real timetables that the distinct ones in `distinct` stand for, best
// first. A distinct timetable's first 26 copies are all that can matter:
// any later copy has 26 as good before it.
RankedOutcome RankedSearch::withRealSections(const RankedOutcome& distinct) const {
    if (!copies_.anyCopies()) return distinct;
    std::vector<RankedTimetable> all;
    long long total = 0;
    std::array<SectionCopies::Choice, MaxStoredTimetables> real;
    for (int k = 0; k < distinct.count; ++k) {
        const RankedTimetable& t = distinct.best[static_cast<size_t>(k)];
        const int copies = copies_.expand(t.choice, real.data(), MaxStoredTimetables);
        for (int c = 0; c < copies; ++c) {
            all.push_back(t);
            all.back().choice = real[static_cast<size_t>(c)];
        }
        total += copies_.countExpansions(t.choice, MaxStoredTimetables + 1);
    }
    std::sort(all.begin(), all.end(), [this](const auto& a, const auto& b) { return ranksBefore(a, b, n_); });
    RankedOutcome result = distinct;
    result.count = std::min(static_cast<int>(all.size()), static_cast<int>(MaxStoredTimetables));
    std::copy_n(all.begin(), result.count, result.best.begin());
    result.moreThanStored = distinct.moreThanStored || total > MaxStoredTimetables;
    return result;
}

// The domains' invariant at every step: every open course has a section
// left, the lanes of the other courses are empty (a placed course's empties
// when it is placed), and no lane holds a section its course lacks.
bool RankedSearch::onlyOpenLanes(const Domains& domains, CourseSet open) const {
    const CourseSet every = CourseSet::firstN(MaxCourses);
    return domains.emptyAmong(every) == every - open && (domains & problem_.everySection()) == domains;
}

// Whether witness_ lies below the second pass's step that has courses
// 0 .. course open: it agrees with choice_ on the placed courses and takes
// a section of `domains` in each open one.
bool RankedSearch::witnessBelow(int course, const Domains& domains) const {
    for (int i = 0; i < n_; ++i) {
        const auto c = static_cast<size_t>(i);
        if (i <= course ? !domains[i].contains(witness_[c]) : witness_[c] != choice_[c]) return false;
    }
    return true;
}

}  // namespace quorvandel
