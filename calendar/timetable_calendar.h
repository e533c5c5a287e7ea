#pragma once
// A found timetable as an iCalendar file (RFC 5545) that a student can load
// into a calendar program: every section meets weekly on each of its days
// from the term's first day to its last. The text is written by libical.
//
// - One VEVENT per section and day, in course order, Monday first. It
//   starts at the first date on or after the term's first day that falls on
//   that weekday and repeats weekly (RRULE FREQ=WEEKLY) up to and including
//   the last such date on or before the term's last day; UNTIL is the start
//   of that last meeting. A day with no date inside the term gives no event.
// - The summary is the grid cell's caption, "Course - Section".
// - Start, end and UNTIL are floating local times (no time zone, no UTC), so
//   a 9:00 class stays at 9:00 on both sides of a daylight-saving change.
// - Each event's UID is unique in the file and the same for the same
//   section, day and term, so loading a file again updates the events
//   instead of doubling them. DTSTAMP is the given moment, in UTC.
// - The texts keep every character. The few that iCalendar text cannot carry
//   are replaced: a carriage return (alone or before a line feed) becomes a
//   line break, any other control character except tab and line feed, and
//   any unpaired UTF-16 surrogate, becomes U+FFFD.

#include <chrono>
#include <string>

#include "schedule_model.h"

namespace quorvandel {

// The days a timetable's sections meet, both included.
struct Term {
    std::chrono::year_month_day firstDay;
    std::chrono::year_month_day lastDay;
};

// The earliest and latest year a term may touch.
constexpr int FirstCalendarYear = 1900;
constexpr int LastCalendarYear = 9999;

enum class CalendarError {
    None,
    InvalidDay,           // a day that is no real date, or lies outside the years above
    TermEndsBeforeStart,  // the last day comes before the first
    NoMeetingInTerm,      // no section meets on any day of the term
    DamagedSection,       // a section count or time range outside the store's limits
    NotWritten,           // libical failed to write the text
};

struct CalendarText {
    std::string text;  // the iCalendar text, UTF-8 with CRLF line ends; empty unless error is None
    CalendarError error = CalendarError::None;
};

// The calendar of the timetable's sections over the term; stamp is the
// moment the file is made (DTSTAMP).
CalendarText timetableCalendar(const Timetable& timetable, const Term& term, std::chrono::sys_seconds stamp);

// The sentence the user is told for an error ("" for None).
std::string calendarErrorMessage(CalendarError error);

}  // namespace quorvandel
