#pragma once
// The times a listing gives a meeting, and how they go onto the program's
// half-hour grid.
//
// A time is "9:00", "09:00", "9", "900", "0900", "9:00 AM", "9am", "1:30 PM"
// or "13:30"; "12:00 PM" is noon and "12:00 AM" midnight. In a range
// ("9:00-10:15", "9:00 AM - 10:15 AM", "1:00-2:15pm") a start without AM or
// PM takes the end's, unless that would put it after the end.
//
// On the grid each time goes to the nearest half-hour; a time exactly
// between two goes inward (a start later, an end earlier), so that a class
// ending at a quarter past and one starting at a quarter past stay apart. A
// meeting that would vanish keeps the half-hour its start rounds to.

#include <cstdint>
#include <optional>
#include <string_view>

#include "schedule_model.h"

namespace quorvandel {

enum class Meridiem { None, Am, Pm };

struct ClockTime {
    int hour = 0;    // as written: 0..23, or 1..12 with AM or PM
    int minute = 0;  // 0..59
    Meridiem meridiem = Meridiem::None;
    int minutesOfDay() const;  // 0..1439
};

// A time in one of the forms above; nothing for any other text.
std::optional<ClockTime> readClockTime(std::u16string_view text);

// A range "start-end" (a hyphen, an en or em dash, or " to " between them),
// split into its two texts; nothing when there is no such mark.
struct TimeTexts {
    std::u16string_view start;
    std::u16string_view end;
};
std::optional<TimeTexts> splitTimeRange(std::u16string_view text);

// The minutes of the day of a start and an end, the start taking the end's
// AM or PM as described above. Nothing when either is unreadable.
struct MinuteRange {
    int start = 0;
    int end = 0;
};
std::optional<MinuteRange> readTimes(std::u16string_view start, std::u16string_view end);

// The range on the half-hour grid, in minutes of the day (possibly
// outside the program's day).
MinuteRange roundedToHalfHours(MinuteRange times);

// "9:05", "13:30": a minute of the day as the program writes times.
Text minuteText(int minutesOfDay);

}  // namespace quorvandel
