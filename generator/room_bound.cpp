#include "room_bound.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <limits>

#include "section_fits.h"
#include "week.h"

namespace quorvandel {

namespace {
constexpr std::uint8_t Unbounded = std::numeric_limits<std::uint8_t>::max();
constexpr std::uint64_t LowDay = 0xFFFF'FFFFULL;  // the first of the two days in a word
static_assert(CellsPerWeek < Unbounded, "a section's cells fit a byte");
}  // namespace

RoomBound::RoomBound(const CourseList& courses, int numCourses, bool countBlocks)
    : RoomBound(courses, numCourses,
                atomsOf(sectionMasksOf(courses, numCourses), everySection(courses, numCourses), numCourses),
                countBlocks) {}

RoomBound::RoomBound(const CourseList& courses, int numCourses, const SectionAtoms& atoms, bool countBlocks)
    : countBlocks_(countBlocks) {
    assert(1 <= numCourses && numCourses <= MaxCourses);
    const Summary none{WeekMask{}, Unbounded, Unbounded, Unbounded, Unbounded, Unbounded, WeekMask{}};
    const SectionSetRow all = everySection(courses, numCourses);
    for (int a = 0; a < numCourses; ++a) {
        const Course& course = courses.Courses[a];
        SectionHalves::fill(
            low_[a], high_[a], all[a], none,
            [&](int j) {
                Summary s = summaryOf(course.Sections[j]);
                s.atoms = atoms.atomsOf[a][j];
                s.fewestAtoms = static_cast<std::uint8_t>(s.atoms.count());
                return s;
            },
            join);
    }
}

// A section with several meetings counts the distinct days it meets on,
// its shortest meeting, and for the slot places the fewest days of any of
// its meetings: at each slot it touches it covers at least that many days.
RoomBound::Summary RoomBound::summaryOf(const Section& section) {
    Summary s;
    int cells = 0, shortest = SlotsPerDay, fewestMeetingDays = DaysPerWeek;
    forEachMeeting(section, [&](const Meeting& meeting) {
        shortest = std::min(shortest, meeting.EndSlot - meeting.StartSlot);
        fewestMeetingDays =
            std::min(fewestMeetingDays, static_cast<int>(std::count(meeting.Days.begin(), meeting.Days.end(), true)));
    });
    unsigned days = 0;
    forEachCoveredCell(section, [&](int cell) {
        s.cellsByDay.set(dayOfCell(cell) * DayBits + slotOfCell(cell));
        days |= 1U << dayOfCell(cell);
        ++cells;
    });
    s.fewestDays = static_cast<std::uint8_t>(std::popcount(days));
    s.fewestSlotDays = static_cast<std::uint8_t>(std::max(1, fewestMeetingDays));
    s.fewestCells = static_cast<std::uint8_t>(cells);
    s.shortest = static_cast<std::uint8_t>(std::max(1, shortest));
    return s;
}

RoomBound::Summary RoomBound::join(const Summary& a, const Summary& b) {
    Summary s = a;
    s.cellsByDay |= b.cellsByDay;
    s.fewestDays = std::min(a.fewestDays, b.fewestDays);
    s.fewestSlotDays = std::min(a.fewestSlotDays, b.fewestSlotDays);
    s.fewestCells = std::min(a.fewestCells, b.fewestCells);
    s.shortest = std::min(a.shortest, b.shortest);
    s.fewestAtoms = std::min(a.fewestAtoms, b.fewestAtoms);
    s.atoms |= b.atoms;
    return s;
}

// The sum over the days of floor(cells covered that day / shortest). The
// quotients are taken by a multiply with a rounded-up reciprocal, exact for
// these small numbers (at most 32 cells a day, so the rounding error stays
// below 1/L).
int RoomBound::dayCapacity(const WeekMask& cellsByDay, int shortest) {
    constexpr int ReciprocalShift = 16;
    const std::uint32_t reciprocal = (std::uint32_t{1} << ReciprocalShift) / static_cast<std::uint32_t>(shortest) + 1;
    int capacity = 0;
    for (int word = 0; word < WeekMask::WordCount; ++word) {
        const std::uint64_t days = cellsByDay.words[word];
        const auto first = static_cast<std::uint32_t>(wordBitCount(days & LowDay));
        const auto second = static_cast<std::uint32_t>(wordBitCount(days >> DayBits));
        capacity += static_cast<int>((first * reciprocal) >> ReciprocalShift) +
                    static_cast<int>((second * reciprocal) >> ReciprocalShift);
    }
    return capacity;
}

// The sum over the slots s of the day of floor(days covered at s / k). The
// days covered at each slot are counted for all 32 slots at once in three
// bit planes (ones, twos, fours); a slot with count c then adds
// [c >= k] + [c >= 2k] + ...
int RoomBound::slotCapacity(const WeekMask& cellsByDay, int fewestDays) {
    std::uint32_t ones = 0, twos = 0, fours = 0;
    for (int day = 0; day < DaysPerWeek; ++day) {
        const auto row =
            static_cast<std::uint32_t>(cellsByDay.words[day / DaysPerWord] >> (day % DaysPerWord * DayBits));
        const std::uint32_t carry = ones & row;
        ones ^= row;
        const std::uint32_t carry2 = twos & carry;
        twos ^= carry;
        fours ^= carry2;
    }
    // The slots whose count is at least v, compared plane by plane from the
    // top: still equal to v so far, or already greater.
    auto atLeast = [&](int v) {
        constexpr int Planes = 3;  // counts up to 7 days
        const std::array<std::uint32_t, Planes> planes{fours, twos, ones};
        std::uint32_t greater = 0, equal = ~0U;
        for (int plane = 0; plane < Planes; ++plane) {
            if ((v >> (Planes - 1 - plane)) & 1) {
                equal &= planes[plane];
            } else {
                greater |= equal & planes[plane];
                equal &= ~planes[plane];
            }
        }
        return greater | equal;
    };
    if (fewestDays == 2) return wordBitCount(twos) + 2 * wordBitCount(fours);  // the usual group, directly
    int capacity = 0;
    for (int v = fewestDays; v <= DaysPerWeek; v += fewestDays) capacity += wordBitCount(atLeast(v));
    return capacity;
}

bool RoomBound::atomsSuffice(const std::array<WeekMask, AtomGroups + 1>& atomsByFewest,
                             const std::array<int, AtomGroups + 1>& demandByFewest) {
    // From the courses that need the most blocks down, each group joining
    // the ones before it; group 0 (a section covering no cell) needs none.
    WeekMask groupAtoms;
    int groupDemand = 0;
    for (int k = AtomGroups; k >= 1; --k) {
        if (demandByFewest[k] == 0) continue;
        groupAtoms |= atomsByFewest[k];
        groupDemand += demandByFewest[k];
        if (groupDemand > groupAtoms.count()) return false;
    }
    return true;
}

bool RoomBound::mayFit(const SectionSetRow& remaining, CourseSet open) const {
    WeekMask covered;
    // By the fewest days of a course's remaining sections: the cells those
    // courses cover and the slots they need.
    std::array<WeekMask, DaysPerWeek + 1> coveredByFewest{};
    std::array<int, DaysPerWeek + 1> slotDemandByFewest{};
    std::array<WeekMask, AtomGroups + 1> atomsByFewest{};
    std::array<int, AtomGroups + 1> atomDemandByFewest{};
    int dayDemand = 0, cellDemand = 0, shortest = Unbounded;
    for (int i : open) {
        const SectionSet sections = remaining[i];
        assert(!sections.empty());
        const Summary& low = low_[i][SectionHalves::low(sections)];
        const Summary& high = high_[i][SectionHalves::high(sections)];
        WeekMask cells = low.cellsByDay;
        cells |= high.cellsByDay;
        covered |= cells;
        const int courseShortest = std::min(low.shortest, high.shortest);
        const int slotDays = std::min(low.fewestSlotDays, high.fewestSlotDays);
        dayDemand += std::min(low.fewestDays, high.fewestDays);
        cellDemand += std::min(low.fewestCells, high.fewestCells);
        shortest = std::min(shortest, courseShortest);
        coveredByFewest[slotDays] |= cells;
        slotDemandByFewest[slotDays] += courseShortest;
        const int fewestAtoms = std::min(low.fewestAtoms, high.fewestAtoms);
        const int group = std::min(fewestAtoms, AtomGroups);
        atomsByFewest[group] |= low.atoms;
        atomsByFewest[group] |= high.atoms;
        atomDemandByFewest[group] += fewestAtoms;
    }
    if (cellDemand > covered.count()) return false;
    if (countBlocks_ && !atomsSuffice(atomsByFewest, atomDemandByFewest)) return false;
    if (dayDemand > dayCapacity(covered, shortest)) return false;
    // Group by group, from the courses that need the most days down (every
    // course needs at least one slot, so a group with no demand is empty).
    // The group of all courses (k = 1) is left out: the cell count above is
    // never weaker than it.
    WeekMask groupCovered;
    int groupDemand = 0;
    for (int k = DaysPerWeek; k >= 2; --k) {
        if (slotDemandByFewest[k] == 0) continue;
        groupCovered |= coveredByFewest[k];
        groupDemand += slotDemandByFewest[k];
        if (groupDemand > slotCapacity(groupCovered, k)) return false;
    }
    return true;
}

}  // namespace quorvandel
