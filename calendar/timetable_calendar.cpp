#include "timetable_calendar.h"

#include <libical/ical.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string_view>

#include "quorvandel_version.h"
#include "section_caption.h"
#include "week.h"

namespace quorvandel {

namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::weekday;
using std::chrono::year_month_day;

constexpr char ProductId[] = "-//Quorvandel//Quorvandel " QUORVANDEL_VERSION_TEXT "//EN";
constexpr char UidDomain[] = "@quorvandel";
constexpr char32_t ReplacementCharacter = 0xFFFD;

using Component = std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)>;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
// The control characters iCalendar text may not hold; tab and line feed
// are allowed (libical writes a line feed as "\n").
constexpr bool isForbiddenControl(char32_t c) { return (c < 0x20 && c != u'\t' && c != u'\n') || c == 0x7F; }

// The user's UTF-16 text as UTF-8 that iCalendar text can carry (see the
// header for the few characters that are replaced).
std::string calendarText(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const bool pairFollows = i + 1 < text.size() && isLowSurrogate(text[i + 1]);
        if (isHighSurrogate(c) && pairFollows) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            c = ReplacementCharacter;
        } else if (c == u'\r') {
            c = u'\n';
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else if (isForbiddenControl(c)) {
            c = ReplacementCharacter;
        }
        appendUtf8(out, c);
    }
    return out;
}

bool isUsableDay(const year_month_day& day) {
    return day.ok() && day.year() >= std::chrono::year(FirstCalendarYear) &&
           day.year() <= std::chrono::year(LastCalendarYear);
}

bool isStoredSection(const Section& section) { return isValidSlotRange(section.StartSlot, section.EndSlot); }

// The first date on or after `from` that falls on `day` (0 = Monday).
sys_days firstDateOn(sys_days from, int day) {
    const int fromDay = static_cast<int>(weekday(from).iso_encoding()) - 1;
    return from + days((day - fromDay + DaysPerWeek) % DaysPerWeek);
}

// A time of day on a date, with no time zone: a floating local time.
icaltimetype floatingTime(sys_days date, int slot) {
    const year_month_day ymd(date);
    icaltimetype time = icaltime_null_time();
    time.year = static_cast<int>(ymd.year());
    time.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    time.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    time.hour = hourOfSlot(slot);
    time.minute = minuteOfSlot(slot);
    time.is_date = 0;
    time.zone = nullptr;
    return time;
}

icaltimetype utcTime(std::chrono::sys_seconds moment) {
    return icaltime_from_timet_with_zone(static_cast<std::time_t>(moment.time_since_epoch().count()), 0,
                                         icaltimezone_get_utc_timezone());
}

// FNV-1a, 64 bits: a hash that is the same on every platform and run.
struct StableHash {
    std::uint64_t value = 0xcbf29ce484222325ULL;
    void add(std::string_view bytes) {
        for (unsigned char byte : bytes) value = (value ^ byte) * 0x100000001b3ULL;
        value = (value ^ 0xFFU) * 0x100000001b3ULL;  // a field separator no UTF-8 text contains
    }
    void add(long number) { add(std::to_string(number)); }
};

// Unique in the file through the course index and day; the same for the
// same section, day and term through the hash of what the event holds.
std::string eventUid(const Section& section, int courseIndex, int day, const Term& term) {
    StableHash hash;
    hash.add(calendarText(section.CourseName));
    hash.add(calendarText(section.SecNum));
    hash.add(section.StartSlot);
    hash.add(section.EndSlot);
    hash.add(day);
    hash.add(sys_days(term.firstDay).time_since_epoch().count());
    hash.add(sys_days(term.lastDay).time_since_epoch().count());
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash.value));
    return std::string(hex) + "-" + std::to_string(courseIndex) + "-" + std::to_string(day) + UidDomain;
}

struct Meeting {
    const Section& section;
    int courseIndex;
    int day;
    sys_days firstDate;
    sys_days lastDate;
};

icalcomponent* weeklyEvent(const Meeting& meeting, const Term& term, std::chrono::sys_seconds stamp) {
    const Section& section = meeting.section;
    icalcomponent* event = icalcomponent_new_vevent();
    icalcomponent_add_property(event,
                               icalproperty_new_uid(eventUid(section, meeting.courseIndex, meeting.day, term).c_str()));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(utcTime(stamp)));
    icalcomponent_add_property(event, icalproperty_new_summary(calendarText(sectionCaption(section)).c_str()));
    icalcomponent_add_property(event, icalproperty_new_dtstart(floatingTime(meeting.firstDate, section.StartSlot)));
    icalcomponent_add_property(event, icalproperty_new_dtend(floatingTime(meeting.firstDate, section.EndSlot)));
    icalrecurrencetype rule;
    icalrecurrencetype_clear(&rule);
    rule.freq = ICAL_WEEKLY_RECURRENCE;
    rule.interval = 1;
    rule.until = floatingTime(meeting.lastDate, section.StartSlot);
    icalcomponent_add_property(event, icalproperty_new_rrule(rule));
    return event;
}

CalendarError checkInput(const Timetable& timetable, const Term& term) {
    if (!isUsableDay(term.firstDay) || !isUsableDay(term.lastDay)) return CalendarError::InvalidDay;
    if (sys_days(term.lastDay) < sys_days(term.firstDay)) return CalendarError::TermEndsBeforeStart;
    if (timetable.NumSections < 0 || timetable.NumSections > MaxCourses) return CalendarError::DamagedSection;
    for (int i = 0; i < timetable.NumSections; ++i) {
        if (!isStoredSection(timetable.Sections[static_cast<std::size_t>(i)])) return CalendarError::DamagedSection;
    }
    return CalendarError::None;
}

}  // namespace

CalendarText timetableCalendar(const Timetable& timetable, const Term& term, std::chrono::sys_seconds stamp) {
    if (const CalendarError error = checkInput(timetable, term); error != CalendarError::None) return {{}, error};

    Component calendar(icalcomponent_new_vcalendar(), &icalcomponent_free);
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(ProductId));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));

    const sys_days first(term.firstDay);
    const sys_days last(term.lastDay);
    int events = 0;
    for (int i = 0; i < timetable.NumSections; ++i) {
        const Section& section = timetable.Sections[static_cast<std::size_t>(i)];
        for (int day = 0; day < DaysPerWeek; ++day) {
            if (!section.Days[static_cast<std::size_t>(day)]) continue;
            const sys_days firstDate = firstDateOn(first, day);
            if (firstDate > last) continue;
            const sys_days lastDate = firstDate + days((last - firstDate).count() / DaysPerWeek * DaysPerWeek);
            icalcomponent_add_component(calendar.get(),
                                        weeklyEvent({section, i, day, firstDate, lastDate}, term, stamp));
            ++events;
        }
    }
    if (events == 0) return {{}, CalendarError::NoMeetingInTerm};

    char* text = icalcomponent_as_ical_string_r(calendar.get());
    if (text == nullptr) return {{}, CalendarError::NotWritten};
    CalendarText result{text, CalendarError::None};
    icalmemory_free_buffer(text);
    return result;
}

std::string calendarErrorMessage(CalendarError error) {
    switch (error) {
    case CalendarError::None:
        return {};
    case CalendarError::InvalidDay:
        return "The first and the last day must be dates between the years " + std::to_string(FirstCalendarYear) +
               " and " + std::to_string(LastCalendarYear) + ".";
    case CalendarError::TermEndsBeforeStart:
        return "The last day must not come before the first day.";
    case CalendarError::NoMeetingInTerm:
        return "No section of this timetable meets between the first and the last day.";
    case CalendarError::DamagedSection:
        return "This timetable holds a section with a time outside 8:00 to 22:30, so it cannot be exported.";
    case CalendarError::NotWritten:
        return "The calendar could not be written.";
    }
    return "The calendar could not be written.";
}

}  // namespace quorvandel
