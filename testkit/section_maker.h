#pragma once
// Sections built by hand for tests, with every field filled in as the Add
// Section dialog leaves it. Plain C++: the generator's tests and the
// benchmark use it too.

#include <bitset>
#include <initializer_list>
#include <string>

#include "schedule_model.h"

namespace quorvandel::testing {

// "8:00" for slot 0, "8:30" for slot 1, ... "22:30" for slot 29.
inline Text slotTimeText(int slot) {
    const std::string time = std::to_string(8 + slot / 2) + (slot % 2 == 0 ? ":00" : ":30");
    return Text(time.begin(), time.end());
}

// A section from startSlot to endSlot (exclusive) on the days of dayBits
// (bit 0 = Monday .. bit 6 = Sunday).
inline Section makeSection(const Text& course, const Text& number, int startSlot, int endSlot, unsigned dayBits) {
    Section s;
    s.CourseName = course;
    s.SecNum = number;
    s.StartSlot = static_cast<int16_t>(startSlot);
    s.EndSlot = static_cast<int16_t>(endSlot);
    s.StartTime = slotTimeText(startSlot);
    s.EndTime = slotTimeText(endSlot);
    for (int d = 0; d < DaysPerWeek; ++d) s.Days[static_cast<size_t>(d)] = ((dayBits >> d) & 1U) != 0;
    return s;
}

// The same on the listed days (0 = Monday .. 6 = Sunday).
inline Section makeSection(const Text& course, const Text& number, int startSlot, int endSlot,
                           std::initializer_list<int> days) {
    unsigned dayBits = 0;
    for (int d : days) dayBits |= 1U << d;
    return makeSection(course, number, startSlot, endSlot, dayBits);
}

// The section with one more meeting, from startSlot to endSlot on the days
// of dayBits (the section must have room for it).
inline Section withMeeting(Section s, int startSlot, int endSlot, unsigned dayBits) {
    Meeting& m = s.MoreMeetings[static_cast<size_t>(s.NumMoreMeetings++)];
    m.StartSlot = static_cast<int16_t>(startSlot);
    m.EndSlot = static_cast<int16_t>(endSlot);
    m.StartTime = slotTimeText(startSlot);
    m.EndTime = slotTimeText(endSlot);
    for (int d = 0; d < DaysPerWeek; ++d) m.Days[static_cast<size_t>(d)] = ((dayBits >> d) & 1U) != 0;
    return s;
}

// Every half-hour of the week the section takes, counted day x 29 + slot,
// from its own fields and each of its further meetings.
inline std::bitset<CellsPerWeek> sectionCells(const Section& s) {
    std::bitset<CellsPerWeek> cells;
    auto mark = [&cells](int start, int end, const std::array<bool, DaysPerWeek>& days) {
        for (int d = 0; d < DaysPerWeek; ++d)
            for (int slot = start; days[static_cast<size_t>(d)] && slot < end; ++slot)
                cells.set(static_cast<size_t>(d * SlotsPerDay + slot));
    };
    mark(s.StartSlot, s.EndSlot, s.Days);
    for (int m = 0; m < s.NumMoreMeetings; ++m) {
        const Meeting& more = s.MoreMeetings[static_cast<size_t>(m)];
        mark(more.StartSlot, more.EndSlot, more.Days);
    }
    return cells;
}

}  // namespace quorvandel::testing
