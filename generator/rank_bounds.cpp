#include "rank_bounds.h"

#include <algorithm>
#include <bit>
#include <cassert>

#include "small_bit_set.h"

namespace quorvandel {

namespace {

// ---------------------------------------------------------------- Day sets

constexpr unsigned DaySetCount = 1U << DaysPerWeek;  // 128
constexpr std::int8_t NoStart = -1;
constexpr std::int8_t NoEnd = 99;

struct DaySetTables {
    std::array<DaySetFamily, DaySetCount> supersets{};   // [s]: every day set containing s
    std::array<DaySetFamily, DaysPerWeek + 1> ofSize{};  // [k]: every day set of k days
    constexpr DaySetTables() {
        for (unsigned s = 0; s < DaySetCount; ++s)
            for (unsigned t = 0; t < DaySetCount; ++t) {
                if ((s & t) == s) supersets[s].words[t >> 6] |= std::uint64_t{1} << (t & 63U);
                if (s == 0)
                    ofSize[static_cast<size_t>(std::popcount(t))].words[t >> 6] |= std::uint64_t{1} << (t & 63U);
            }
    }
};
constexpr DaySetTables daySetTables{};

unsigned daysOf(const DayProfile& profile) {
    unsigned days = 0;
    for (int d = 0; d < DaysPerWeek; ++d)
        if (profile[static_cast<size_t>(d)] != 0) days |= 1U << d;
    return days;
}

// The fewest days of a set in `family` that contains `placedDays`, or -1.
int fewestDays(const DaySetFamily& family, unsigned placedDays) {
    const DaySetFamily& over = daySetTables.supersets[placedDays];
    for (int k = smallBitCount(placedDays); k <= DaysPerWeek; ++k) {
        const DaySetFamily& size = daySetTables.ofSize[static_cast<size_t>(k)];
        if (((family.words[0] & over.words[0] & size.words[0]) | (family.words[1] & over.words[1] & size.words[1])) !=
            0)
            return k;
    }
    return -1;
}

// ---------------------------------------------------------------- One day

int firstSlot(std::uint32_t day) { return std::countr_zero(day); }
int endSlot(std::uint32_t day) { return 32 - std::countl_zero(day); }

std::int8_t firstSlotOf(std::uint32_t day) { return static_cast<std::int8_t>(firstSlot(day)); }
std::int8_t endSlotOf(std::uint32_t day) { return static_cast<std::int8_t>(endSlot(day)); }

std::uint32_t gaps(std::uint32_t day) {
    if (day == 0) return 0;
    const std::uint32_t span = (std::uint32_t{1} << endSlot(day)) - (std::uint32_t{1} << firstSlot(day));
    return span & ~day;
}

// The free half-hours between a day's placed classes that stay idle
// whatever the open courses take: those no open section covers, and the
// first of a gap where no section starts, the last where none ends (a
// meeting covering a gap's first half-hour and starting earlier would
// clash with the class before it).
std::uint32_t idleForSure(std::uint32_t placed, const OpenSummary& open, size_t d) {
    const std::uint32_t g = gaps(placed);
    const std::uint32_t firsts = g & ~(g << 1U), lasts = g & ~(g >> 1U);
    return (g & ~open.reach[d]) | (firsts & ~open.starts[d]) | (lasts & ~open.ends[d]);
}

// The day terms of the orders whose bound is a sum over the days.
int idleTerm(std::uint32_t placed, const OpenSummary& open, size_t d) {
    return wordBitCount(idleForSure(placed, open, d));
}
// A placed day's first class can only move earlier; a new day starts no
// later than the latest section that meets on it.
int startTerm(std::uint32_t placed, const OpenSummary& open, size_t d) {
    return placed != 0 ? firstSlot(placed) : std::max<int>(0, open.latestStart[d]);
}

// Room for the open courses' half-hours. Every class of a day lies between
// its first and its last, so a day's cost grows by one for each half-hour
// it holds beyond the free ones on the right side of what already bounds
// it: after the placed first class (or a new day's latest start) for the
// latest start, before the placed last class for the earliest finish. The
// open courses need at least leastCells half-hours; what the free ones of
// every day cannot hold adds that much to the cost, whichever days take it.
int roomAfterStart(std::uint32_t placed, const OpenSummary& open, size_t d) {
    if (placed != 0) return SlotsPerDay - firstSlot(placed) - wordBitCount(placed);
    return open.latestStart[d] == NoStart ? 0 : SlotsPerDay - open.latestStart[d];
}
int roomBeforeEnd(std::uint32_t placed) { return placed == 0 ? 0 : endSlot(placed) - wordBitCount(placed); }
int beyondRoom(const OpenSummary& open, int room) { return std::max(0, open.leastCells - room); }

}  // namespace

// ---------------------------------------------------------------- Sections

SectionShape shapeOf(const DayProfile& cells) {
    SectionShape shape;
    shape.cells = cells;
    shape.days = daysOf(cells);
    for (std::uint32_t day : cells) shape.cellCount += wordBitCount(day);
    shape.supersets = daySetTables.supersets[shape.days];
    return shape;
}

unsigned summaryPartsOf(ResultOrder order) {
    switch (order) {
    case ResultOrder::FirstFound:
        return 0;
    case ResultOrder::FewestDays:
        return DaySetPart;
    case ResultOrder::FewestIdle:
        return CellPart;
    case ResultOrder::LatestStart:
        return StartPart | LoadPart;
    case ResultOrder::EarliestFinish:
        return DaySetPart | EndPart | LoadPart;
    }
    return EveryPart;
}

// ---------------------------------------------------------------- Summaries

OpenSummary OpenSummary::none(unsigned parts) {
    OpenSummary summary;
    summary.parts = parts;
    summary.daySets.words = {~std::uint64_t{0}, ~std::uint64_t{0}};
    summary.latestStart.fill(NoStart);
    summary.earliestEnd.fill(NoEnd);
    return summary;
}

void OpenSummary::addSection(const SectionShape& section) {
    if ((parts & DaySetPart) != 0) {
        daySets.words[0] |= section.supersets.words[0];
        daySets.words[1] |= section.supersets.words[1];
    }
    for (unsigned days = section.days; days != 0; days &= days - 1U) {
        const auto d = static_cast<size_t>(std::countr_zero(days));
        // A section's day may hold more than one run of classes (meetings
        // at two times of the day); each run starts and ends somewhere.
        const std::uint32_t day = section.cells[d];
        if ((parts & CellPart) != 0) {
            reach[d] |= day;
            starts[d] |= day & ~(day << 1U);
            ends[d] |= day & ~(day >> 1U);
        }
        if ((parts & StartPart) != 0) latestStart[d] = std::max<std::int8_t>(latestStart[d], firstSlotOf(day));
        if ((parts & EndPart) != 0) earliestEnd[d] = std::min<std::int8_t>(earliestEnd[d], endSlotOf(day));
    }
    if ((parts & LoadPart) != 0) leastCells = std::min(leastCells, section.cellCount);
}

void OpenSummary::merge(const OpenSummary& otherCourses) {
    assert(parts == otherCourses.parts);  // a part left out of one would read as "none"
    if ((parts & DaySetPart) != 0) {
        daySets.words[0] &= otherCourses.daySets.words[0];
        daySets.words[1] &= otherCourses.daySets.words[1];
    }
    if ((parts & CellPart) != 0)
        for (size_t d = 0; d < DaysPerWeek; ++d) {
            reach[d] |= otherCourses.reach[d];
            starts[d] |= otherCourses.starts[d];
            ends[d] |= otherCourses.ends[d];
        }
    if ((parts & StartPart) != 0)
        for (size_t d = 0; d < DaysPerWeek; ++d) latestStart[d] = std::max(latestStart[d], otherCourses.latestStart[d]);
    if ((parts & EndPart) != 0)
        for (size_t d = 0; d < DaysPerWeek; ++d) earliestEnd[d] = std::min(earliestEnd[d], otherCourses.earliestEnd[d]);
    if ((parts & LoadPart) != 0) leastCells += otherCourses.leastCells;
}

OpenSummary courseSummary(const std::array<SectionShape, MaxSectionsPerCourse>& shapes, SectionSet sections,
                          unsigned parts) {
    OpenSummary summary = OpenSummary::none(parts);
    summary.daySets = {};  // a course alone allows only the day sets of its own sections
    if (!sections.empty()) summary.leastCells = CellsPerWeek;  // lowered to its smallest section's
    for (int j : sections) summary.addSection(shapes[static_cast<size_t>(j)]);
    return summary;
}

// ---------------------------------------------------------------- Bounds

int costBound(ResultOrder order, const DayProfile& placed, const OpenSummary& open) {
    int bound = 0;
    switch (order) {
    case ResultOrder::FirstFound:
        return 0;
    case ResultOrder::FewestDays: {
        // The smallest day set, holding the placed days, on which every open
        // course still has a section.
        const int days = fewestDays(open.daySets, daysOf(placed));
        return days < 0 ? NoCompletion : days;
    }
    case ResultOrder::FewestIdle:
        for (size_t d = 0; d < DaysPerWeek; ++d) bound += idleTerm(placed[d], open, d);
        return bound;
    case ResultOrder::LatestStart: {
        int room = 0;
        for (size_t d = 0; d < DaysPerWeek; ++d) {
            bound += startTerm(placed[d], open, d);
            room += roomAfterStart(placed[d], open, d);
        }
        return LatestStartCostBase - bound + beyondRoom(open, room);
    }
    case ResultOrder::EarliestFinish: {
        // A placed day's last class can only move later; the open courses
        // need at least (fewest days - placed days) new days, each ending no
        // earlier than its earliest-ending section.
        // Whatever the new days' classes end at is at least the half-hours
        // they hold, so the new days and the placed days' growth together
        // cost at least the open courses' half-hours beyond the placed
        // days' free ones.
        const unsigned placedDays = daysOf(placed);
        const int days = fewestDays(open.daySets, placedDays);
        if (days < 0) return NoCompletion;
        std::array<int, DaysPerWeek> newDayEnds{};
        int candidates = 0, room = 0;
        for (size_t d = 0; d < DaysPerWeek; ++d) {
            if (placed[d] != 0) {
                bound += endSlot(placed[d]);
                room += roomBeforeEnd(placed[d]);
            } else if (open.earliestEnd[d] != NoEnd) {
                newDayEnds[static_cast<size_t>(candidates++)] = open.earliestEnd[d];
            }
        }
        const int needed = days - smallBitCount(placedDays);
        // Each new day of the fewest is one some open section meets on, or
        // a smaller day set would do.
        assert(0 <= needed && needed <= candidates);
        std::partial_sort(newDayEnds.begin(), newDayEnds.begin() + needed, newDayEnds.begin() + candidates);
        int newDays = 0;
        for (int k = 0; k < needed; ++k) newDays += newDayEnds[static_cast<size_t>(k)];
        return bound + std::max(newDays, beyondRoom(open, room));
    }
    }
    return bound;
}

SectionBound::SectionBound(ResultOrder order, const DayProfile& placed, const OpenSummary& others)
    : order_(order), placed_(placed), others_(others) {
    for (size_t d = 0; d < DaysPerWeek; ++d) {
        if (order_ == ResultOrder::FewestIdle) terms_[d] = idleTerm(placed[d], others, d);
        if (order_ == ResultOrder::LatestStart) {
            terms_[d] = startTerm(placed[d], others, d);
            rooms_[d] = roomAfterStart(placed[d], others, d);
            roomSum_ += rooms_[d];
        }
        sum_ += terms_[d];
    }
}

int SectionBound::of(const SectionShape& section) const {
    int sum = sum_;
    unsigned days = section.days;
    switch (order_) {
    case ResultOrder::FirstFound:
        return 0;
    case ResultOrder::FewestIdle:
        for (; days != 0; days &= days - 1U) {
            const auto d = static_cast<size_t>(std::countr_zero(days));
            sum += idleTerm(placed_[d] | section.cells[d], others_, d) - terms_[d];
        }
        return sum;
    case ResultOrder::LatestStart: {
        int room = roomSum_;
        for (; days != 0; days &= days - 1U) {
            const auto d = static_cast<size_t>(std::countr_zero(days));
            const std::uint32_t day = placed_[d] | section.cells[d];
            sum += startTerm(day, others_, d) - terms_[d];
            room += roomAfterStart(day, others_, d) - rooms_[d];
        }
        return LatestStartCostBase - sum + beyondRoom(others_, room);
    }
    default:
        return costBound(order_, joined(placed_, section.cells), others_);
    }
}

}  // namespace quorvandel
