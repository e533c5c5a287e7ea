#pragma once
// The week as the program counts it: whole half-hours from 08:00 to 22:30,
// seven days, Monday first.
// - A slot is a half-hour counted from 08:00: slot 0 is 08:00-08:30 and
//   slot 28 is 22:00-22:30. Slot 29 (22:30) only ever ends a section.
// - A cell is one half-hour of the week, day x 29 + slot: 0 is Monday
//   08:00, 202 is Sunday 22:00.
// - A meeting covers, on each of its days, the slots StartSlot to
//   EndSlot - 1. A section meets at its own time (its first meeting) and at
//   each of its MoreMeetings, and covers every cell any of them covers.
// Every part of the program that turns times, days or sections into slots
// and cells does it through this file.

#include <array>
#include <cassert>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "schedule_model.h"

namespace quorvandel {

constexpr int FirstHour = 8;  // slot 0 starts at 08:00
constexpr int LastHour = 22;  // the last hour a time can name (22:00, 22:30)
constexpr int MinutesPerSlot = 30;
constexpr int SlotsPerHour = 2;
constexpr int16_t EndOfDaySlot = SlotsPerDay;  // 22:30: only ever an end
static_assert((LastHour - FirstHour) * SlotsPerHour + 1 == EndOfDaySlot, "the day runs 08:00 to 22:30");

// Day names and the abbreviations of the section line, Monday first.
extern const std::array<Text, DaysPerWeek> DayNames;          // "Monday" .. "Sunday"
extern const std::array<Text, DaysPerWeek> DayAbbreviations;  // "M", "T", "W", "Th", "F", "S", "Su"

constexpr int16_t slotOf(int hour, int minute) {
    return static_cast<int16_t>((hour - FirstHour) * SlotsPerHour + minute / MinutesPerSlot);
}
constexpr int hourOfSlot(int slot) { return FirstHour + slot / SlotsPerHour; }
constexpr int minuteOfSlot(int slot) { return (slot % SlotsPerHour) * MinutesPerSlot; }

// A time as the program shows it, "8:00" .. "22:30": hour without a
// leading zero, a colon, two-digit minutes.
Text timeText(int slot);
// A whole number in decimal digits, as the program's texts write counts:
// "0", "12", "-3".
Text numberText(long long value);
// A half-hour as the program names it: "9:00 to 9:30".
Text halfHourText(int slot);
// The results grid's caption of a time row: the start time in 24-hour form
// with hours and minutes run together, "800" .. "2200".
Text timeRowCaption(int slot);
// The slot of a time text in that form ("8:00", also "08:00"), on the
// half-hour grid from 8:00 to 22:30; nothing for any other text.
std::optional<int16_t> slotOfTimeText(const Text& text);

constexpr int16_t cellOf(int day, int slot) { return static_cast<int16_t>(day * SlotsPerDay + slot); }
constexpr int16_t dayOfCell(int cell) { return static_cast<int16_t>(cell / SlotsPerDay); }
constexpr int16_t slotOfCell(int cell) { return static_cast<int16_t>(cell % SlotsPerDay); }

// A week cell as the program names it: "Monday 9:00 to 9:30".
Text cellText(int cell);

// What every stored section keeps: 0 <= start < end <= 29.
constexpr bool isValidSlotRange(int start, int end) { return 0 <= start && start < end && end <= EndOfDaySlot; }

// The section's own time fields as a meeting.
inline Meeting firstMeeting(const Section& section) {
    return {section.StartSlot, section.EndSlot, section.StartTime, section.EndTime, section.Days};
}

// How many meetings the section has: its first and the live MoreMeetings. A
// damaged count never reads outside the array.
inline int meetingCount(const Section& section) {
    const int more = section.NumMoreMeetings;
    return 1 + (more < 0 ? 0 : more > MaxMeetingsPerSection - 1 ? MaxMeetingsPerSection - 1 : more);
}

// Calls visit(meeting) for every meeting of the section, the first first.
// Everything that reads a section's times walks them through here.
template <typename Visit>
void forEachMeeting(const Section& section, Visit&& visit) {
    visit(firstMeeting(section));
    for (int i = 1; i < meetingCount(section); ++i) visit(section.MoreMeetings[static_cast<std::size_t>(i - 1)]);
}

std::vector<Meeting> meetingsOf(const Section& section);

// Makes `meetings` (1 .. MaxMeetingsPerSection of them) the section's
// meetings, in order; the unused places are cleared so that equal meetings
// make equal records.
void setMeetings(Section& section, std::span<const Meeting> meetings);

// A meeting of the given times and days (bit d = day d, Monday = bit 0),
// its time texts those of its slots.
Meeting meetingOf(int startSlot, int endSlot, unsigned dayBits);

// Calls visit(cell) for every cell the meeting covers, Monday first. Stored
// meetings always hold a valid range (it is checked where they enter the
// store); a damaged one stops a debug build here, and in any build it never
// reaches outside its own day.
template <typename Visit>
void forEachCoveredCell(const Meeting& meeting, Visit&& visit) {
    assert(isValidSlotRange(meeting.StartSlot, meeting.EndSlot));
    const int start = meeting.StartSlot < 0 ? 0 : meeting.StartSlot;
    const int end = meeting.EndSlot > EndOfDaySlot ? EndOfDaySlot : meeting.EndSlot;
    for (int day = 0; day < DaysPerWeek; ++day) {
        if (!meeting.Days[static_cast<std::size_t>(day)]) continue;
        for (int slot = start; slot < end; ++slot) visit(cellOf(day, slot));
    }
}

// Calls visit(cell) for every cell of every meeting of the section, meeting
// by meeting (stored meetings of one section never share a cell).
template <typename Visit>
void forEachCoveredCell(const Section& section, Visit&& visit) {
    forEachMeeting(section, [&visit](const Meeting& meeting) { forEachCoveredCell(meeting, visit); });
}

// Whether two meetings share a half-hour of the week.
bool meetingsOverlap(const Meeting& a, const Meeting& b);

}  // namespace quorvandel
