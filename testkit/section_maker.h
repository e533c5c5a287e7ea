#pragma once
// Sections built by hand for tests, with every field filled in as the Add
// Section dialog leaves it. Plain C++: the generator's tests and the
// benchmark use it too.

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

}  // namespace quorvandel::testing
