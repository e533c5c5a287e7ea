#include "sweep_count.h"

#include <algorithm>
#include <cassert>
#include <vector>

#include "timetable_count.h"
#include "week.h"
#include "week_mask.h"

namespace quorvandel {

namespace {

// A sweep step is a few nanoseconds: the stop flag is read more rarely
// than the search's.
constexpr std::uint32_t SweepStopCheckInterval = 4096;

// A cell's place in the sweep: the week read across the days, slot by slot.
constexpr int sweepPlace(int cell) { return slotOfCell(cell) * DaysPerWeek + dayOfCell(cell); }

struct SweepSection {
    int course = 0;
    WeekMask places;  // the section's cells, by sweep place
    int first = 0;    // its first sweep place
};

WeekMask operator&(WeekMask a, const WeekMask& b) {
    for (int w = 0; w < WeekMask::WordCount; ++w)
        a.words[static_cast<std::size_t>(w)] &= b.words[static_cast<std::size_t>(w)];
    return a;
}

struct SweepState {
    std::uint32_t placed = 0;  // bit i: course i is placed
    WeekMask ahead;            // cells ahead of the sweep the placed sections cover
    std::uint64_t count = 0;   // partial timetables that leave this state
};

// States by (placed, ahead), in insertion order, with an open-addressing
// index that doubles as the states grow (kept at most half full), so that
// clearing it costs what was used.
class StateTable {
public:
    explicit StateTable(std::size_t maxStates) : maxStates_(maxStates) { index_.assign(MinSlots, Empty); }

    std::size_t size() const { return states_.size(); }
    const SweepState& operator[](std::size_t i) const { return states_[i]; }

    // Adds count to the state (placed, ahead), making it when new; false
    // when that would hold more than maxStates.
    bool add(std::uint32_t placed, const WeekMask& ahead, std::uint64_t count) {
        std::size_t slot = find(placed, ahead);
        if (index_[slot] != Empty) {
            SweepState& state = states_[index_[slot]];
            state.count = addCounts(state.count, count);
            return true;
        }
        if (states_.size() >= maxStates_) return false;
        if (2 * (states_.size() + 1) > index_.size()) {
            grow();
            slot = find(placed, ahead);
        }
        index_[slot] = static_cast<std::uint32_t>(states_.size());
        states_.push_back({placed, ahead, count});
        return true;
    }

    void clear() {
        if (index_.size() > MinSlots && 8 * states_.size() < index_.size())
            index_.assign(index_.size() / 2, Empty);  // shrink after a peak
        else
            std::fill(index_.begin(), index_.end(), Empty);
        states_.clear();
    }

private:
    static constexpr std::uint32_t Empty = ~std::uint32_t{0};
    static constexpr std::size_t MinSlots = 1024;

    static std::size_t hash(std::uint32_t placed, const WeekMask& ahead) {
        std::uint64_t h = placed * 0x9E3779B97F4A7C15ULL;
        for (std::uint64_t word : ahead.words) {
            h ^= word + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
            h *= 0xBF58476D1CE4E5B9ULL;
        }
        return static_cast<std::size_t>(h ^ (h >> 31));
    }
    // The slot that holds (placed, ahead), or the empty slot where it goes.
    std::size_t find(std::uint32_t placed, const WeekMask& ahead) const {
        const std::size_t mask = index_.size() - 1;
        for (std::size_t slot = hash(placed, ahead) & mask;; slot = (slot + 1) & mask) {
            const std::uint32_t at = index_[slot];
            if (at == Empty || (states_[at].placed == placed && states_[at].ahead == ahead)) return slot;
        }
    }
    void grow() {
        index_.assign(index_.size() * 2, Empty);
        for (std::size_t i = 0; i < states_.size(); ++i)
            index_[find(states_[i].placed, states_[i].ahead)] = static_cast<std::uint32_t>(i);
    }

    std::size_t maxStates_;
    std::vector<std::uint32_t> index_;
    std::vector<SweepState> states_;
};

std::vector<SweepSection> sectionsInSweepOrder(const CourseList& courses, int numCourses) {
    std::vector<SweepSection> order;
    for (int a = 0; a < numCourses; ++a) {
        const Course& course = courses.Courses[static_cast<std::size_t>(a)];
        for (int j = 0; j < course.NumSections; ++j) {
            SweepSection section;
            section.course = a;
            forEachCoveredCell(course.Sections[static_cast<std::size_t>(j)],
                               [&section](int cell) { section.places.set(sweepPlace(cell)); });
            section.first = section.places.first();
            // A section that covers no cell fits anywhere: it is taken first.
            if (section.first < 0) section.first = 0;
            order.push_back(section);
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const SweepSection& x, const SweepSection& y) { return x.first < y.first; });
    return order;
}

}  // namespace

SweepTally sweepCount(const CourseList& courses, int numCourses, const CountLimits& limits,
                      const std::atomic<bool>* stop) {
    assert(1 <= numCourses && numCourses <= MaxCourses);
    SweepTally tally;
    const std::vector<SweepSection> order = sectionsInSweepOrder(courses, numCourses);
    // closedAfter[k]: the courses whose last section is order[k].
    std::vector<std::uint32_t> closedAfter(order.size(), 0);
    std::uint32_t seen = 0;
    for (std::size_t k = order.size(); k-- > 0;) {
        const std::uint32_t bit = std::uint32_t{1} << order[k].course;
        if ((seen & bit) == 0) closedAfter[k] = bit;
        seen |= bit;
    }
    const std::uint32_t everyone = (std::uint32_t{1} << numCourses) - 1;
    if (seen != everyone) {  // a course without sections leaves no timetable
        tally.kind = SweepTally::Kind::Counted;
        return tally;
    }

    StateTable states(limits.sweepMaxStates), next(limits.sweepMaxStates);
    states.add(0, WeekMask{}, 1);
    std::uint32_t closed = 0;
    std::uint32_t untilStopCheck = 1;  // a stop asked for before the count is seen at once
    // stillCovered[k]: the cells that order[k] and the sections after it
    // cover; no other cell can stop a later section.
    std::vector<WeekMask> stillCovered(order.size() + 1);
    for (std::size_t k = order.size(); k-- > 0;) {
        stillCovered[k] = stillCovered[k + 1];
        stillCovered[k] |= order[k].places;
    }
    // Moves the sweep to order[k]: forgets the cells no section from there
    // on covers (those behind it among them), and drops the states that
    // miss a closed course.
    auto moveTo = [&](std::size_t k) {
        const WeekMask& ahead = stillCovered[k];
        next.clear();
        for (std::size_t s = 0; s < states.size(); ++s) {
            const SweepState& state = states[s];
            if ((state.placed & closed) != closed) continue;
            [[maybe_unused]] const bool added = next.add(state.placed, state.ahead & ahead, state.count);
            assert(added);  // merging never makes more states
        }
        std::swap(states, next);
    };

    for (std::size_t k = 0; k < order.size(); ++k) {
        const SweepSection& section = order[k];
        if (k > 0 && section.first != order[k - 1].first) moveTo(k);
        const std::uint32_t bit = std::uint32_t{1} << section.course;
        // States added while taking this section have its course placed, so
        // they are not looked at again for it.
        const std::size_t before = states.size();
        for (std::size_t s = 0; s < before; ++s) {
            if (++tally.steps > limits.sweepStepBudget) return tally;
            if (--untilStopCheck == 0) {
                untilStopCheck = SweepStopCheckInterval;
                if (stop != nullptr && stop->load(std::memory_order_relaxed)) {
                    tally.kind = SweepTally::Kind::Stopped;
                    return tally;
                }
            }
            const SweepState state = states[s];  // a copy: adding may move the states
            if ((state.placed & bit) != 0 || state.ahead.intersects(section.places)) continue;
            WeekMask ahead = state.ahead;
            ahead |= section.places;
            if (!states.add(state.placed | bit, ahead, state.count)) return tally;
        }
        tally.peakStates = std::max(tally.peakStates, states.size());
        closed |= closedAfter[k];
    }

    std::uint64_t total = 0;
    for (std::size_t s = 0; s < states.size(); ++s)
        if (states[s].placed == everyone) total = addCounts(total, states[s].count);
    tally.kind = SweepTally::Kind::Counted;
    tally.count = total;
    return tally;
}

}  // namespace quorvandel
