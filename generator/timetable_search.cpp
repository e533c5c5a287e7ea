#include "timetable_search.h"

#include <bit>
#include <cstring>

namespace quorvandel {

namespace {

constexpr std::uint16_t lowBits(int count) { return static_cast<std::uint16_t>((1U << count) - 1U); }

int clampSections(int count) {
    if (count < 0) return 0;
    return count > MaxSectionsPerCourse ? MaxSectionsPerCourse : count;
}

WeekMask andNot(const WeekMask& a, const WeekMask& b) {
    WeekMask r;
    for (size_t i = 0; i < 4; ++i) r.words[i] = a.words[i] & ~b.words[i];
    return r;
}

int firstBit(const WeekMask& m) {
    for (size_t i = 0; i < 4; ++i)
        if (m.words[i] != 0) return static_cast<int>(i) * 64 + std::countr_zero(m.words[i]);
    return -1;
}

void clearBit(WeekMask& m, int bit) { m.words[static_cast<size_t>(bit >> 6)] &= ~(std::uint64_t{1} << (bit & 63)); }

}  // namespace

TimetableSearch::TimetableSearch(const CourseList& courses, int numCourses, const SearchLimits& limits,
                                 const std::atomic<bool>* stop, const std::function<void(int)>* progress)
    : n_(numCourses), limits_(limits), stop_(stop), progress_(progress), memo_(limits.memoBytes) {
    std::array<std::array<WeekMask, MaxSectionsPerCourse>, MaxCourses> masks{};
    for (int a = 0; a < n_; ++a) {
        const Course& course = courses.Courses[static_cast<size_t>(a)];
        const int count = clampSections(course.NumSections);
        all_[static_cast<size_t>(a)] = lowBits(count);
        for (int j = 0; j < count; ++j)
            masks[static_cast<size_t>(a)][static_cast<size_t>(j)] =
                sectionMask(course.Sections[static_cast<size_t>(j)]);
    }
    for (int a = 0; a < n_; ++a)
        for (int b = 0; b < n_; ++b) {
            if (a == b) continue;
            for (int j = 0; j < MaxSectionsPerCourse; ++j) {
                if (!((all_[static_cast<size_t>(a)] >> j) & 1U)) continue;
                std::uint16_t fit = 0;
                for (int k = 0; k < MaxSectionsPerCourse; ++k)
                    if (((all_[static_cast<size_t>(b)] >> k) & 1U) &&
                        !masks[static_cast<size_t>(a)][static_cast<size_t>(j)].intersects(
                            masks[static_cast<size_t>(b)][static_cast<size_t>(k)]))
                        fit = static_cast<std::uint16_t>(fit | (1U << k));
                fits_[static_cast<size_t>(a)][static_cast<size_t>(j)][static_cast<size_t>(b)] = fit;
            }
        }
    if (limits_.matchingCheck) {
        // Group the covered cells by the exact set of sections covering them.
        std::array<WeekMask, CellsPerWeek> coveredBy{};  // bit a * 10 + j
        for (int a = 0; a < n_; ++a)
            for (int j = 0; j < MaxSectionsPerCourse; ++j) {
                if (!((all_[static_cast<size_t>(a)] >> j) & 1U)) continue;
                const WeekMask& m = masks[static_cast<size_t>(a)][static_cast<size_t>(j)];
                if (m.empty()) emptySections_[static_cast<size_t>(a)] |= static_cast<std::uint16_t>(1U << j);
                for (int cell = 0; cell < CellsPerWeek; ++cell)
                    if (m.test(cell)) coveredBy[static_cast<size_t>(cell)].set(a * MaxSectionsPerCourse + j);
            }
        std::array<int, CellsPerWeek> atomOfCell{};
        std::array<int, CellsPerWeek> firstCellOfAtom{};
        for (int cell = 0; cell < CellsPerWeek; ++cell) {
            atomOfCell[static_cast<size_t>(cell)] = -1;
            if (coveredBy[static_cast<size_t>(cell)].empty()) continue;
            for (int atom = 0; atom < numAtoms_; ++atom)
                if (coveredBy[static_cast<size_t>(firstCellOfAtom[static_cast<size_t>(atom)])] ==
                    coveredBy[static_cast<size_t>(cell)]) {
                    atomOfCell[static_cast<size_t>(cell)] = atom;
                    break;
                }
            if (atomOfCell[static_cast<size_t>(cell)] < 0) {
                firstCellOfAtom[static_cast<size_t>(numAtoms_)] = cell;
                atomOfCell[static_cast<size_t>(cell)] = numAtoms_++;
            }
        }
        for (int a = 0; a < n_; ++a)
            for (int j = 0; j < MaxSectionsPerCourse; ++j)
                for (int cell = 0; cell < CellsPerWeek; ++cell)
                    if (masks[static_cast<size_t>(a)][static_cast<size_t>(j)].test(cell))
                        atomsOf_[static_cast<size_t>(a)][static_cast<size_t>(j)].set(
                            atomOfCell[static_cast<size_t>(cell)]);
    }
    // support tables: the OR of fits_[a][j][b] over the sections j of a
    // subset of course a's sections 0-4 (low) or 5-9 (high).
    for (int a = 0; a < n_; ++a)
        for (unsigned x = 1; x < 32; ++x) {
            const unsigned rest = x & (x - 1);
            const int bit = std::countr_zero(x);
            for (size_t b = 0; b < MaxCourses; ++b) {
                supportLow_[static_cast<size_t>(a)][x][b] =
                    static_cast<std::uint16_t>(supportLow_[static_cast<size_t>(a)][rest][b] |
                                               fits_[static_cast<size_t>(a)][static_cast<size_t>(bit)][b]);
                supportHigh_[static_cast<size_t>(a)][x][b] = static_cast<std::uint16_t>(
                    supportHigh_[static_cast<size_t>(a)][rest][b] |
                    (bit + 5 < MaxSectionsPerCourse ? fits_[static_cast<size_t>(a)][static_cast<size_t>(bit + 5)][b]
                                                    : 0));
            }
        }
    untilStopCheck_ = limits_.stopCheckInterval;
    untilProgress_ = limits_.progressInterval;
}

bool TimetableSearch::stopRequested() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }

// Arc consistency over the open courses (bit i = course i), starting from
// the courses in `changed`: a section of an open course stays only while
// every other open course still has a section that fits beside it. Returns
// false when some course is left with none, or when the atom matching test
// shows that the open courses cannot all fit.
bool TimetableSearch::propagate(Domains& d, std::uint32_t open, std::uint32_t changed, bool matching) {
    if (limits_.arcConsistency) {
        changed &= open;
        while (changed != 0) {
            const int i = std::countr_zero(changed);
            changed &= changed - 1;
            // The sections of each course j that fit beside at least one
            // remaining section of course i, from the two half tables.
            const unsigned di = d[static_cast<size_t>(i)];
            const auto& low = supportLow_[static_cast<size_t>(i)][di & 31U];
            const auto& high = supportHigh_[static_cast<size_t>(i)][di >> 5];
            for (std::uint32_t others = open & ~(1U << i); others != 0; others &= others - 1) {
                const int j = std::countr_zero(others);
                const auto kept = static_cast<std::uint16_t>(
                    d[static_cast<size_t>(j)] & (low[static_cast<size_t>(j)] | high[static_cast<size_t>(j)]));
                if (kept == d[static_cast<size_t>(j)]) continue;
                if (kept == 0) {
                    ++weight_[static_cast<size_t>(i)];
                    ++weight_[static_cast<size_t>(j)];
                    return false;
                }
                d[static_cast<size_t>(j)] = kept;
                changed |= 1U << j;
            }
        }
    }
    if (matching && limits_.matchingCheck && (open & (open - 1)) != 0 && !atomsMatch(d, open)) {
        ++stats_.matchingPrunes;
        return false;
    }
    return true;
}

// Whether the open courses can each be given an atom of their own, every
// course's atom lying in one of its remaining sections (Hall's condition,
// checked by augmenting paths). A course with a section that covers no cell
// needs no atom.
bool TimetableSearch::atomsMatch(const Domains& d, std::uint32_t open) {
    std::array<WeekMask, MaxCourses> reach{};
    int needing = 0;
    for (std::uint32_t rest = open; rest != 0; rest &= rest - 1) {
        const int i = std::countr_zero(rest);
        if (d[static_cast<size_t>(i)] & emptySections_[static_cast<size_t>(i)]) continue;
        WeekMask r;
        for (std::uint16_t sec = d[static_cast<size_t>(i)]; sec != 0; sec &= static_cast<std::uint16_t>(sec - 1))
            r |= atomsOf_[static_cast<size_t>(i)][static_cast<size_t>(std::countr_zero(sec))];
        reach[static_cast<size_t>(needing++)] = r;
    }
    if (needing < 2) return true;
    std::array<std::int8_t, 256> owner;  // atom -> index into reach, or -1
    owner.fill(-1);
    WeekMask taken;
    // Augmenting path search from course u over atoms not yet visited.
    auto augment = [&](auto& self, int u, WeekMask& visited) -> bool {
        WeekMask options = andNot(reach[static_cast<size_t>(u)], visited);
        for (int atom = firstBit(options); atom >= 0; clearBit(options, atom), atom = firstBit(options)) {
            visited.set(atom);
            const int holder = owner[static_cast<size_t>(atom)];
            if (holder < 0 || self(self, holder, visited)) {
                owner[static_cast<size_t>(atom)] = static_cast<std::int8_t>(u);
                return true;
            }
        }
        return false;
    };
    for (int u = 0; u < needing; ++u) {
        const int free = firstBit(andNot(reach[static_cast<size_t>(u)], taken));
        if (free >= 0) {  // the usual case: an untaken atom, no path needed
            owner[static_cast<size_t>(free)] = static_cast<std::int8_t>(u);
            taken.set(free);
            continue;
        }
        WeekMask visited;
        if (!augment(augment, u, visited)) return false;
        for (int atom = 0; atom < numAtoms_; ++atom)
            if (owner[static_cast<size_t>(atom)] >= 0) taken.set(atom);
    }
    return true;
}

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

// Whether the open courses, with the sections left in d (already filtered
// against every placed course), can all be placed. Only existence matters
// here, so the course with the fewest sections left goes first. A
// subproblem found without a timetable goes to the memo when proving it took
// long enough to be worth remembering.
TimetableSearch::Verdict TimetableSearch::feasible(const Domains& d, std::uint32_t open) {
    if ((open & (open - 1)) == 0) return Verdict::Feasible;
    const std::uint64_t nodesAtStart = stats_.nodes;
    int pick = -1;
    double best = 1e30;
    for (std::uint32_t rest = open; rest != 0; rest &= rest - 1) {
        const int i = std::countr_zero(rest);
        const int size = smallBitCount(d[static_cast<size_t>(i)]);
        // Fewest sections first, weighed by how often the course was part
        // of a dead end so far (courses that keep failing go early).
        const double score = size / (1.0 + weight_[static_cast<size_t>(i)]);
        if (score < best) {
            best = score;
            pick = i;
        }
    }
    const std::uint32_t others = open & ~(1U << pick);
    for (std::uint16_t rest = d[static_cast<size_t>(pick)]; rest != 0; rest &= static_cast<std::uint16_t>(rest - 1)) {
        if (!countNode()) return Verdict::Stopped;
        const auto& fit = fits_[static_cast<size_t>(pick)][static_cast<size_t>(std::countr_zero(rest))];
        Domains child;
        bool ok = true;
        std::uint32_t changed = 0;
        for (std::uint32_t o = others; o != 0; o &= o - 1) {
            const int i = std::countr_zero(o);
            const auto kept = static_cast<std::uint16_t>(d[static_cast<size_t>(i)] & fit[static_cast<size_t>(i)]);
            child[static_cast<size_t>(i)] = kept;
            if (kept == 0) {
                ok = false;
                ++weight_[static_cast<size_t>(i)];
                ++weight_[static_cast<size_t>(pick)];
                break;
            }
            if (kept != d[static_cast<size_t>(i)]) changed |= 1U << i;
        }
        if (!ok || !propagate(child, others, changed, false)) continue;
        if (!memo_.empty() && memo_.contains(FailureMemo::makeKey(child.data(), others))) {
            ++stats_.memoHits;
            continue;
        }
        const Verdict v = feasible(child, others);
        if (v != Verdict::Infeasible) return v;
    }
    rememberFailure(d, open, nodesAtStart);
    return Verdict::Infeasible;
}

void TimetableSearch::rememberFailure(const Domains& d, std::uint32_t open, std::uint64_t nodesAtStart) {
    if (!memo_.enabled() || stats_.nodes - nodesAtStart < limits_.memoMinNodes) return;
    memo_.insert(FailureMemo::makeKey(d.data(), open));
    ++stats_.memoInserts;
}

TimetableSearch::Step TimetableSearch::next(std::array<int16_t, MaxCourses>& choice, int foundSoFar) {
    foundSoFar_ = foundSoFar;
    if (!started_) {
        started_ = true;
        Level& root = levels_[0];
        root.remaining = all_;
        const std::uint32_t everyone = (1U << n_) - 1U;
        bool ok = true;
        for (int i = 0; i < n_; ++i)
            if (root.remaining[static_cast<size_t>(i)] == 0) ok = false;
        if (ok) ok = propagate(root.remaining, everyone, everyone, true);
        if (ok && limits_.feasibilityCheckMinOpen > 0 && n_ >= limits_.feasibilityCheckMinOpen) {
            const Verdict v = feasible(root.remaining, everyone);
            if (v == Verdict::Stopped) {
                started_ = false;
                return Step::Stopped;
            }
            ok = v == Verdict::Feasible;
        }
        if (!ok) {
            finished_ = true;
        } else {
            root.untried = root.remaining[static_cast<size_t>(n_ - 1)];
            depth_ = 0;
        }
    }
    if (finished_) return finish(Step::Exhausted);

    for (;;) {
        Level& level = levels_[static_cast<size_t>(depth_)];
        const int course = n_ - 1 - depth_;  // open courses are 0 .. course
        if (level.untried == 0) {
            if (!level.found && depth_ > 0) rememberFailure(level.remaining, (2U << course) - 1U, level.nodesAtStart);
            if (depth_ == 0) {
                finished_ = true;
                return finish(Step::Exhausted);
            }
            --depth_;
            continue;
        }
        const int section = std::countr_zero(level.untried);
        level.untried &= static_cast<std::uint16_t>(level.untried - 1);
        choice[static_cast<size_t>(course)] = static_cast<int16_t>(section);
        if (!countNode()) return finish(Step::Stopped);

        if (course == 0) {
            // Every other course is placed and course 0 keeps only sections
            // that fit beside all of them: a conflict-free combination.
            for (int l = 0; l <= depth_; ++l) levels_[static_cast<size_t>(l)].found = true;
            return finish(Step::Found);
        }

        Level& child = levels_[static_cast<size_t>(depth_ + 1)];
        const auto& fit = fits_[static_cast<size_t>(course)][static_cast<size_t>(section)];
        const std::uint32_t open = (1U << course) - 1U;
        bool ok = true;
        std::uint32_t changed = 0;
        for (int i = 0; i < course; ++i) {
            const auto kept =
                static_cast<std::uint16_t>(level.remaining[static_cast<size_t>(i)] & fit[static_cast<size_t>(i)]);
            child.remaining[static_cast<size_t>(i)] = kept;
            if (kept == 0) {
                ok = false;
                break;
            }
            if (kept != level.remaining[static_cast<size_t>(i)]) changed |= 1U << i;
        }
        if (!ok || !propagate(child.remaining, open, changed, true)) continue;
        if (!memo_.empty() && memo_.contains(FailureMemo::makeKey(child.remaining.data(), open))) {
            ++stats_.memoHits;
            continue;
        }
        if (limits_.feasibilityCheckMinOpen > 0 && course >= limits_.feasibilityCheckMinOpen) {
            const Verdict v = feasible(child.remaining, open);
            if (v == Verdict::Stopped) return finish(Step::Stopped);
            if (v == Verdict::Infeasible) continue;
        }
        child.untried = child.remaining[static_cast<size_t>(course - 1)];
        child.found = false;
        child.nodesAtStart = stats_.nodes;
        ++depth_;
    }
}

TimetableSearch::Step TimetableSearch::finish(Step step) {
    stats_.memoOverwrites = memo_.overwrites();
    stats_.memoPeakBytes = memo_.peakBytes();
    return step;
}

}  // namespace quorvandel
