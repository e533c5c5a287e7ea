#pragma once
// The room bound: a counting test that settles, without search, schedules
// that fail only because their sections need more room than the week they
// may use has, while every pair of sections still fits (so neither forward
// checking nor arc consistency removes anything).
//
// Given the open courses and the sections each still has, it compares
// - demand in cells: each course needs at least its smallest remaining
//   section's cells, against the cells the remaining sections cover;
// - demand in day places: each course needs at least as many days as its
//   remaining section with the fewest days. On day d the chosen sections
//   touching d are disjoint and each covers at least L cells of d (L: the
//   shortest remaining meeting), so at most floor(covered cells of d / L)
//   of them fit there; the sum of these day capacities must meet the
//   demand;
// - demand in slot places, the same across the week, for the group of
//   courses whose remaining sections all meet on at least k days (for each
//   k that occurs): each needs at least as many slots as its shortest
//   remaining section; at a slot s of the day the group's chosen sections
//   touching s are disjoint and each covers s on at least k days, so at
//   most floor(days the group covers at s / k) of them fit there. Two-day
//   sections on an odd number of days free at some time, for example. A
//   section that meets at several times counts its distinct days for the
//   day places, its shortest meeting for L, and the fewest days of any of
//   its meetings for k (at a slot it touches, one meeting covers it);
// - demand in blocks (atoms, section_atoms.h: cells covered by exactly the
//   same sections), in its Hall form: for the group of courses whose
//   remaining sections all take at least k blocks (for each k up to a few),
//   each needs at least its fewest blocks, and the group's chosen sections
//   own their blocks, so the group's demand cannot exceed the blocks its
//   remaining sections cover. A cell count cannot see that twenty courses
//   of two blocks each do not fit in 39 blocks of unequal length.
// All are sound: when a demand exceeds its supply no way of taking one
// remaining section of each open course is conflict-free. It costs two
// table lookups per open course and a few dozen word operations.
//
// Any search over the same schedule may use it (it keeps no state between
// calls): build it once, then ask mayFit() at every node.

#include <array>
#include <cstdint>

#include "schedule_model.h"
#include "section_atoms.h"
#include "section_set_row.h"
#include "small_bit_set.h"
#include "week_mask.h"

namespace quorvandel {

class RoomBound {
public:
    // The tables for courses[0 .. numCourses-1] (1 .. 20 courses, 0 .. 10
    // sections each).
    // countBlocks off leaves the block count out (to measure what it buys).
    RoomBound(const CourseList& courses, int numCourses, bool countBlocks = true);
    // The same, with the courses' atoms already worked out (atomsOf), as a
    // search that uses them itself has them.
    RoomBound(const CourseList& courses, int numCourses, const SectionAtoms& atoms, bool countBlocks = true);

    // False only when the courses in `open`, each restricted to its
    // sections in `remaining` (every open course's set not empty), cannot
    // all be given a section with no two sharing a cell. True says nothing.
    bool mayFit(const SectionSetRow& remaining, CourseSet open) const;

private:
    // What a set of one course's sections needs and covers.
    struct Summary {
        WeekMask cellsByDay;              // bit day x 32 + slot: the cells the sections cover
        std::uint8_t fewestDays = 0;      // of any section in the set
        std::uint8_t fewestSlotDays = 0;  // days of any meeting of a section in the set
        std::uint8_t fewestCells = 0;     // of any section in the set
        std::uint8_t shortest = 0;        // length in slots of the shortest section
        std::uint8_t fewestAtoms = 0;     // of any section in the set
        WeekMask atoms;                   // the atoms the sections cover
    };
    // Courses needing this many blocks or more are one group in the block
    // count (their demand still counts every block).
    static constexpr int AtomGroups = 4;
    static constexpr int DayBits = 32;  // a day's slots in cellsByDay
    static constexpr int DaysPerWord = WeekMask::WordBits / DayBits;
    static_assert(DaysPerWeek * DayBits <= WeekMask::Capacity && SlotsPerDay <= DayBits, "a day fits its 32 bits");

    static Summary summaryOf(const Section& section);
    static Summary join(const Summary& a, const Summary& b);
    static int dayCapacity(const WeekMask& cellsByDay, int shortest);
    static int slotCapacity(const WeekMask& cellsByDay, int fewestDays);
    // The block count for the open courses' atoms and needs grouped by
    // their fewest atoms: false when some group needs more than it covers.
    static bool atomsSuffice(const std::array<WeekMask, AtomGroups + 1>& atomsByFewest,
                             const std::array<int, AtomGroups + 1>& demandByFewest);

    std::array<SectionHalves::Table<Summary>, MaxCourses> low_{};
    std::array<SectionHalves::Table<Summary>, MaxCourses> high_{};
    bool countBlocks_;
};

}  // namespace quorvandel
