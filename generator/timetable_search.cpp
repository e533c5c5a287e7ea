#include "timetable_search.h"

#include <cassert>
#include <memory>

#include "section_atoms.h"

namespace quorvandel {

// ---------------------------------------------------------------- Problem

TimetableSearch::TimetableSearch(const CourseList& courses, int numCourses, const SearchLimits& limits,
                                 const std::atomic<bool>* stop, const std::function<void(int)>* progress)
    : n_(numCourses),
      limits_(limits),
      copies_(courses, numCourses, limits.searchCopiesOnce),
      roomPacing_(limits.roomBoundWindow),
      listingMemoPacing_(limits.listingMemoWindow),
      memo_(limits.memoBytes),
      stop_(stop),
      progress_(progress) {
    assert(1 <= n_ && n_ <= MaxCourses);
    // Without copies the courses are their own distinct sections, and
    // copying the whole list would cost as much as the tables below.
    std::unique_ptr<CourseList> merged;
    if (copies_.anyCopies()) merged = copies_.distinctCourses(courses);
    const CourseList& distinct = merged ? *merged : courses;
    all_ = everySection(distinct, n_);
    const SectionMasks masks = sectionMasksOf(distinct, n_);
    fillPairwiseFits(masks, all_, n_, fits_);
    for (int a = 0; a < n_; ++a)
        for (int j : all_[a]) {
            placing_[a][j] = fits_[a][j];
            placing_[a][j][a] = SectionSet::single(j);
        }
    if (limits_.matchingCheck || limits_.roomBound) {
        const SectionAtoms atoms = atomsOf(masks, all_, n_);
        if (limits_.matchingCheck) keepAtoms(atoms, masks);
        if (limits_.roomBound) room_.emplace(distinct, n_, atoms, limits_.roomBoundBlocks);
    }
    computeSupportTables();
    for (int a = 0; a < n_; ++a) {
        // How many pairs of a section of the course and a section of another
        // course clash.
        int clashes = 0;
        for (int j : all_[a])
            for (int b = 0; b < n_; ++b)
                if (b != a) clashes += all_[b].count() - fits_[a][j][b].count();
        assert(clashes <= PickTieBits::MostClashes);
        tieKey_[a] = static_cast<std::uint32_t>(clashes) << PickTieBits::IndexWidth |
                     static_cast<std::uint32_t>(PickTieBits::IndexMask - a);
    }
    untilStopCheck_ = limits_.stopCheckInterval;
    untilProgress_ = limits_.progressInterval;
}

// Records the atoms each section covers (section_atoms.h); sections
// covering no cell need none.
void TimetableSearch::keepAtoms(const SectionAtoms& atoms, const SectionMasks& masks) {
    atomsOf_ = atoms.atomsOf;
    numAtoms_ = atoms.numAtoms;
    for (int a = 0; a < n_; ++a)
        for (int j : all_[a])
            if (masks[a][j].empty()) emptySections_[a].insert(j);
}

void TimetableSearch::computeSupportTables() {
    for (int a = 0; a < n_; ++a) {
        SectionHalves::fill(
            supportLow_[a], supportHigh_[a], all_[a], FitRow{}, [&](int j) { return fits_[a][j]; },
            [](const FitRow& x, const FitRow& y) { return x | y; });
        // A course's own lane passes through: revising the other courses
        // against course a leaves course a as it is.
        for (FitRow& row : supportLow_[a]) row[a] = all_[a];
    }
}

// ---------------------------------------------------------------- State

TimetableSearch::Step TimetableSearch::next(std::array<int16_t, MaxCourses>& choice, int foundSoFar) {
    foundSoFar_ = foundSoFar;
    if (!started_ && !start()) return Step::Stopped;
    if (finished_) return finish(Step::Exhausted);
    for (;;) {
        assert(0 <= depth_ && depth_ < n_);
        Level& level = levels_[depth_];
        if (level.untried.empty()) {
            if (!backtrack()) return finish(Step::Exhausted);
            continue;
        }
        const int course = courseAt(depth_);
        const int section = level.untried.popFirst();
        const int distinct = copies_.distinctOf(course, section);
        if (level.deadEnds.contains(distinct)) continue;  // its subproblem is one already settled
        choice[course] = static_cast<int16_t>(section);
        if (!countNode()) return finish(Step::Stopped);
        if (course == 0) {
            // Every other course is placed and course 0 keeps only sections
            // that fit beside all of them: a conflict-free combination.
            assert(fitsPairwise(choice));
            markFound();
            return finish(Step::Found);
        }
        const Verdict v = descend(course, distinct);
        if (v == Verdict::Stopped) return finish(Step::Stopped);
        if (v == Verdict::Feasible)
            ++depth_;
        else
            level.deadEnds.insert(distinct);
    }
}

TimetableSearch::Step TimetableSearch::firstAmong(CourseSet among, std::array<int16_t, MaxCourses>& choice) {
    assert((among - CourseSet::firstN(n_)).empty());
    Domains d;
    if (!narrowedRoot(among, d)) return finish(Step::Exhausted);
    switch (feasible(d, among)) {
    case Verdict::Stopped:
        return finish(Step::Stopped);
    case Verdict::Infeasible:
        return finish(Step::Exhausted);
    case Verdict::Feasible:
        break;
    }
    sideChoiceAsReal(among, choice);
    return finish(Step::Found);
}

TimetableSearch::Step TimetableSearch::listInAnyOrder(
    int most, const std::function<void(const std::array<int16_t, MaxCourses>&)>& listed) {
    assert(most > 0);
    const CourseSet everyone = CourseSet::firstN(n_);
    Domains d;
    if (!narrowedRoot(everyone, d)) return finish(Step::Exhausted);
    Listing listing{most, listed};
    switch (listFrom(d, everyone, listing)) {
    case Verdict::Stopped:
        return finish(listing.left == 0 ? Step::Found : Step::Stopped);
    case Verdict::Feasible:
    case Verdict::Infeasible:
        break;
    }
    return finish(Step::Exhausted);
}

// Every combination below d, each handed to the listing; Feasible when one
// was met, Stopped when the listing is complete or a stop was asked for.
// Subproblems without any go to the memo, as in the side search.
TimetableSearch::Verdict TimetableSearch::listFrom(const Domains& d, CourseSet open, Listing& listing) {
    const std::uint64_t nodesAtStart = stats_.nodes;
    const int pick = pickForSideSearch(d, open);
    const CourseSet others = open.without(pick);
    bool any = false;
    for (int section : d[pick]) {
        if (!countNode()) return Verdict::Stopped;
        sideChoice_[pick] = static_cast<int16_t>(section);
        if (others.empty()) {
            // Narrowed against every placed course, this section fits.
            std::array<int16_t, MaxCourses> choice{};
            sideChoiceAsReal(CourseSet::firstN(n_), choice);
            assert(fitsPairwise(choice));
            listing.listed(choice);
            any = true;
            if (--listing.left == 0) return Verdict::Stopped;
            continue;
        }
        Domains child;
        if (!placeAndNarrow(d, pick, section, others, child, Searcher::Listing)) continue;
        const Verdict v = listFrom(child, others, listing);
        if (v == Verdict::Stopped) return v;
        any = any || v == Verdict::Feasible;
    }
    if (any) return Verdict::Feasible;
    rememberFailure(d, open, nodesAtStart);
    return Verdict::Infeasible;
}

// d: every section of the courses in `among` (the other lanes empty),
// narrowed as any step is; false when they cannot all be placed.
bool TimetableSearch::narrowedRoot(CourseSet among, Domains& d) {
    d = Domains{};
    for (int i : among) d[i] = all_[i];
    return d.emptyAmong(among).empty() && propagate(d, among, among, Searcher::Main);
}

// The side search's last timetable, each distinct section as its first
// real copy, for the courses in `courses`.
void TimetableSearch::sideChoiceAsReal(CourseSet courses, std::array<int16_t, MaxCourses>& choice) const {
    for (int i : courses)
        choice[i] = static_cast<int16_t>(copies_.copiesOf(i, SectionSet::single(sideChoice_[i])).first());
}

// Settles the root: every course's domain, narrowed and, when the side
// search is on, proven to hold a timetable.
bool TimetableSearch::start() {
    started_ = true;
    Level& root = levels_[0];
    const CourseSet everyone = CourseSet::firstN(n_);
    bool ok = narrowedRoot(everyone, root.remaining);
    if (ok && limits_.feasibilityCheckMinOpen > 0 && n_ >= limits_.feasibilityCheckMinOpen) {
        const Verdict v = feasible(root.remaining, everyone);
        if (v == Verdict::Stopped) {
            started_ = false;
            return false;
        }
        ok = v == Verdict::Feasible;
    }
    finished_ = !ok;
    enterLevel(root, courseAt(0));
    if (!ok) root.untried = SectionSet{};
    depth_ = 0;
    return true;
}

// Leaves the current level, whose sections are all tried; a level that
// found nothing is a failure worth remembering.
bool TimetableSearch::backtrack() {
    const Level& level = levels_[depth_];
    if (depth_ == 0) {
        finished_ = true;
        return false;
    }
    if (!level.found) rememberFailure(level.remaining, CourseSet::firstN(courseAt(depth_) + 1), level.nodesAtStart);
    --depth_;
    return true;
}

void TimetableSearch::markFound() {
    for (int l = 0; l <= depth_; ++l) levels_[l].found = true;
}

// Prepares the level below the current one after a copy of the distinct
// section `distinct` of `course` was placed: Feasible when the child is open
// and worth entering.
TimetableSearch::Verdict TimetableSearch::descend(int course, int distinct) {
    const Level& level = levels_[depth_];
    Level& child = levels_[depth_ + 1];
    const CourseSet open = CourseSet::firstN(course);
    if (!placeAndNarrow(level.remaining, course, distinct, open, child.remaining, Searcher::Main))
        return Verdict::Infeasible;
    if (limits_.feasibilityCheckMinOpen > 0 && course >= limits_.feasibilityCheckMinOpen) {
        const Verdict v = feasible(child.remaining, open);
        if (v != Verdict::Feasible) return v;
    }
    enterLevel(child, course - 1);
    return Verdict::Feasible;
}

// A level about to place `course`: every real copy of its remaining
// distinct sections is still to be tried, in index order.
void TimetableSearch::enterLevel(Level& level, int course) {
    level.untried = copies_.copiesOf(course, level.remaining[course]);
    level.deadEnds = SectionSet{};
    level.found = false;
    level.nodesAtStart = stats_.nodes;
}

// ---------------------------------------------------------------- Propagation

bool TimetableSearch::placeAndNarrow(const Domains& parent, int placed, int section, CourseSet open, Domains& child,
                                     Searcher searcher) {
    assert(!open.contains(placed) && parent[placed].contains(section) &&
           onlyOpenLanes(parent, open | CourseSet::single(placed)));
    child = parent & fits_[placed][section];
    const CourseSet emptied = child.emptyAmong(open);
    if (!emptied.empty()) {
        if (searcher != Searcher::Main) {
            ++weight_[emptied.first()];
            ++weight_[placed];
        }
        return false;
    }
    const CourseSet changed = SectionSetRow::differing(child, parent, open);
    if (!propagate(child, open, changed, searcher)) return false;
    // The first-found searches look up every child: their memo serves every
    // later question (the explanation's deletion asks many). A listing runs
    // once, and on the schedules it takes long on it finds nothing.
    const bool listing = searcher == Searcher::Listing;
    if (memo_.empty() || (listing && !listingMemoPacing_.ask())) return true;
    ++stats_.memoLookups;
    const bool hit = memo_.contains(FailureMemo::makeKey(child, open));
    if (listing) listingMemoPacing_.answered(hit);
    if (hit) ++stats_.memoHits;
    return !hit;
}

// Narrows d over the open courses, starting from the courses in `changed`:
// arc consistency and (listing) the failed-section tests, in turn
// until neither drops anything. Returns false when some course is left with
// none, or when the room bound or (main search) the atom matching test shows
// that the open courses cannot all fit.
bool TimetableSearch::propagate(Domains& d, CourseSet open, CourseSet changed, Searcher searcher) {
    assert(onlyOpenLanes(d, open));
    const bool testSections = searcher == Searcher::Listing && limits_.failedSectionTests && open.hasAtLeastTwo();
    for (;;) {
        if (limits_.arcConsistency && !closeArcs(d, open, changed)) return false;
        if (!testSections) break;
        if (!dropFailedSections(d, open, changed)) return false;
        if (changed.empty()) break;
    }
    if (room_ && open.hasAtLeastTwo() && roomPacing_.ask()) {
        const bool cut = !room_->mayFit(d, open);
        roomPacing_.answered(cut);
        if (cut) {
            ++stats_.roomPrunes;
            return false;
        }
    }
    if (searcher == Searcher::Main && limits_.matchingCheck && open.hasAtLeastTwo() && !atomsMatch(d, open)) {
        ++stats_.matchingPrunes;
        return false;
    }
    return true;
}

// Arc consistency: a section of an open course stays only while every other
// open course still has a section that fits beside it. False when a course
// is left with none.
//
// The courses that changed are revised against in rounds: each round takes
// the supports of every course that changed in the round before, all from
// the same domains, and keeps their intersection. The fixpoint is the same
// as revising one course at a time, and the supports of a round do not wait
// on each other, so the processor overlaps their lookups.
bool TimetableSearch::closeArcs(Domains& d, CourseSet open, CourseSet changed) {
    changed &= open;
    while (!changed.empty()) {
        // A course's support: the sections of every other open course that
        // fit beside at least one of its remaining sections, from the two
        // half tables (its own lane passes through, and the lanes of placed
        // courses stay empty).
        Domains kept = d;
        for (int i : changed) kept = kept & supportOf(d, i);
        if (kept == d) break;  // the usual last round
        const CourseSet narrowed = SectionSetRow::differing(kept, d, open);
        // Only a narrowed course can have been emptied: open courses never
        // enter with an empty set.
        const CourseSet emptied = kept.emptyAmong(narrowed);
        if (!emptied.empty()) {
            blameEmptied(d, open, changed);
            return false;
        }
        changed = narrowed;
        d = kept;
    }
    return true;
}

TimetableSearch::FitRow TimetableSearch::supportOf(const Domains& d, int course) const {
    return supportLow_[course][SectionHalves::low(d[course])] | supportHigh_[course][SectionHalves::high(d[course])];
}

// Weighs a dead end found by arc consistency as revising one course at a
// time would: the round is replayed in course order on ever narrower
// domains, and the course revised against when some open course empties is
// blamed with the first course it empties. The replay's domains are within
// the round's, so it empties one too.
void TimetableSearch::blameEmptied(Domains d, CourseSet open, CourseSet round) {
    for (int i : round) {
        d = d & supportOf(d, i);
        const CourseSet emptied = d.emptyAmong(open);
        if (!emptied.empty()) {
            ++weight_[i];
            ++weight_[emptied.first()];
            return;
        }
    }
    assert(false && "the replay empties a course");
}

// Placing `section` of `course`, then in turn every open course it leaves
// with a single section, a round at a time; it fails when some open course
// is left with none: a short chain of forced placements, with no arc
// consistency between them. The courses a round forces are placed together,
// each by its section's support (its own lane passes through, so two forced
// sections that clash empty each other), so that their lookups overlap.
// `settled`: open courses with a single section whose support d already
// agrees with (arc consistency has revised against them); placing them
// again would change nothing.
TimetableSearch::ForcedChain::ForcedChain(const TimetableSearch& search, const Domains& d, int course, int section,
                                          CourseSet settled)
    : left_(d & search.placing_[course][section]), placed_(settled | CourseSet::single(course)), section_(section) {}

inline bool TimetableSearch::ForcedChain::advance(const TimetableSearch& search, CourseSet open) {
    if (state_ != State::Running) return false;
    const SectionSetRow::FewLanes few = left_.emptyAndSingleAmong(open);
    if (!few.empty.empty()) {
        state_ = State::Failed;
        return false;
    }
    const CourseSet forced = few.single - placed_;
    if (forced.empty()) {
        state_ = State::Passed;
        return false;
    }
    Domains next = left_;
    for (int b : forced) next = next & search.supportOf(left_, b);
    left_ = next;
    placed_ |= forced;
    return true;
}

// The failed-section tests on every open course with two sections left;
// `narrowed` gets the courses that lost one. False when a course loses both.
// A test places its section in the course's own lane, whatever the other
// section's fate, so the two tests of a course are independent: they run
// side by side, and the processor overlaps their lookups.
bool TimetableSearch::dropFailedSections(Domains& d, CourseSet open, CourseSet& narrowed) {
    narrowed = CourseSet{};
    const CourseSet few = d.atMostTwoAmong(open);
    CourseSet singles;
    for (int course : few)
        if (!d[course].hasAtLeastTwo()) singles.insert(course);
    const CourseSet settled = limits_.arcConsistency ? singles : CourseSet{};
    for (int course : few - singles) {
        const int first = d[course].first();
        std::array<ForcedChain, 2> tests{
            ForcedChain(*this, d, course, first, settled),
            ForcedChain(*this, d, course, (d[course] - SectionSet::single(first)).first(), settled)};
        while (tests[0].advance(*this, open) | tests[1].advance(*this, open)) {}
        for (const ForcedChain& test : tests) {
            if (!test.failed()) continue;
            ++stats_.failedSections;
            d[course] = d[course] - SectionSet::single(test.section());
            narrowed.insert(course);
        }
        if (d[course].empty()) return false;
    }
    return true;
}

// Whether the open courses can each be given an atom of their own, every
// course's atom lying in one of its remaining sections (Hall's condition,
// checked by augmenting paths). A course with a section that covers no cell
// needs no atom.
bool TimetableSearch::atomsMatch(const Domains& d, CourseSet open) const {
    std::array<WeekMask, MaxCourses> reach{};
    int needing = 0;
    for (int i : open) {
        if (!(d[i] & emptySections_[i]).empty()) continue;
        WeekMask r;
        for (int j : d[i]) r |= atomsOf_[i][j];
        reach[needing++] = r;
    }
    if (needing < 2) return true;
    constexpr std::int8_t NoOwner = -1;
    std::array<std::int8_t, WeekMask::Capacity> owner;  // atom -> index into reach
    owner.fill(NoOwner);
    WeekMask taken;
    // Augmenting path search from course u over atoms not yet visited.
    auto augment = [&](auto& self, int u, WeekMask& visited) -> bool {
        WeekMask options = reach[u] - visited;
        for (int atom = options.first(); atom >= 0; options.reset(atom), atom = options.first()) {
            visited.set(atom);
            const int holder = owner[atom];
            if (holder == NoOwner || self(self, holder, visited)) {
                owner[atom] = static_cast<std::int8_t>(u);
                return true;
            }
        }
        return false;
    };
    for (int u = 0; u < needing; ++u) {
        const int free = (reach[u] - taken).first();
        if (free >= 0) {  // the usual case: an untaken atom, no path needed
            owner[free] = static_cast<std::int8_t>(u);
            taken.set(free);
            continue;
        }
        WeekMask visited;
        if (!augment(augment, u, visited)) return false;
        for (int atom = 0; atom < numAtoms_; ++atom)
            if (owner[atom] != NoOwner) taken.set(atom);
    }
    return true;
}

// Whether the open courses, with the sections left in d (already narrowed
// against every placed course), can all be placed. Only existence matters
// here, so the course most likely to fail goes first. A subproblem found
// without a timetable goes to the memo when proving it took long enough to
// be worth remembering.
TimetableSearch::Verdict TimetableSearch::feasible(const Domains& d, CourseSet open) {
    if (!open.hasAtLeastTwo()) {
        // Narrowed against every placed course, the last one's sections all fit.
        for (int i : open) sideChoice_[i] = static_cast<int16_t>(d[i].first());
        return Verdict::Feasible;
    }
    const std::uint64_t nodesAtStart = stats_.nodes;
    const int pick = pickForSideSearch(d, open);
    const CourseSet others = open.without(pick);
    for (int section : d[pick]) {
        if (!countNode()) return Verdict::Stopped;
        Domains child;
        if (!placeAndNarrow(d, pick, section, others, child, Searcher::Side)) continue;
        const Verdict v = feasible(child, others);
        if (v == Verdict::Feasible) sideChoice_[pick] = static_cast<int16_t>(section);
        if (v != Verdict::Infeasible) return v;
    }
    rememberFailure(d, open, nodesAtStart);
    return Verdict::Infeasible;
}

// Fewest sections first, weighed by how often the course was part of a
// dead end so far (courses that keep failing go early): the smallest
// size / (1 + weight). Ties go to the course whose sections clash with the
// most sections of other courses, which narrows the rest most, then to the
// lowest index. Every course's place in that order is one integer (see
// pickKey), so the choice is a plain maximum.
int TimetableSearch::pickForSideSearch(const Domains& d, CourseSet open) const {
    const SectionSetRow::LaneCounts sizes = d.counts();
    std::uint64_t best = 0;
    for (int i : open) best = std::max(best, pickKey(i, sizes[i]));
    const int pick = PickTieBits::IndexMask - static_cast<int>(best & PickTieBits::IndexMask);
    assert(open.contains(pick));
    return pick;
}

// Sizes run from 1 to 10 and each divides 2520, so (1 + weight) * (2520 /
// size) is 2520 / (size / (1 + weight)) exactly: the larger, the earlier.
// Below it, the tie-break: the clash count, then the index, kept so that
// lower indices come out larger.
std::uint64_t TimetableSearch::pickKey(int course, int size) const {
    static_assert(MaxSectionsPerCourse <= 10, "every size divides 2520");
    static constexpr std::array<std::uint64_t, 11> share{0, 2520, 1260, 840, 630, 504, 420, 360, 315, 280, 252};
    static_assert([] {
        for (std::uint64_t size = 1; size < share.size(); ++size)
            if (share[size] * size != 2520) return false;
        return true;
    }());
    assert(1 <= size && size <= MaxSectionsPerCourse);
    const std::uint64_t ratio = (1 + std::uint64_t{weight_[course]}) * share[static_cast<std::size_t>(size)];
    return (ratio << PickTieBits::Width) | tieKey_[static_cast<std::size_t>(course)];
}

void TimetableSearch::rememberFailure(const Domains& d, CourseSet open, std::uint64_t nodesAtStart) {
    if (!memo_.enabled() || stats_.nodes - nodesAtStart < limits_.memoMinNodes) return;
    memo_.insert(FailureMemo::makeKey(d, open));
    ++stats_.memoInserts;
}

// The domains' invariant: every open course has a section left, and the
// lanes of placed courses are empty (the memo's keys and the revision's
// quick test rely on it).
bool TimetableSearch::onlyOpenLanes(const Domains& d, CourseSet open) const {
    for (int i = 0; i < MaxCourses; ++i)
        if (d[i].empty() == open.contains(i)) return false;
    return true;
}

bool TimetableSearch::fitsPairwise(const std::array<int16_t, MaxCourses>& choice) const {
    for (int a = 0; a < n_; ++a)
        for (int b = a + 1; b < n_; ++b)
            if (!fits_[a][copies_.distinctOf(a, choice[a])][b].contains(copies_.distinctOf(b, choice[b]))) return false;
    return true;
}

// ---------------------------------------------------------------- Interrupt

bool TimetableSearch::stopRequested() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }

bool TimetableSearch::countNode() {
    ++stats_.nodes;
    if (--untilStopCheck_ == 0) {
        untilStopCheck_ = limits_.stopCheckInterval;
        if (stopRequested()) return false;
    }
    if (--untilProgress_ == 0) {
        untilProgress_ = limits_.progressInterval;
        if (progress_ != nullptr && *progress_) (*progress_)(foundSoFar_);
    }
    return true;
}

// ---------------------------------------------------------------- Statistics

TimetableSearch::Step TimetableSearch::finish(Step step) {
    stats_.memoOverwrites = memo_.overwrites();
    stats_.memoPeakBytes = memo_.peakBytes();
    return step;
}

}  // namespace quorvandel
