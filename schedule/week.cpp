#include "week.h"

#include <string>

namespace quorvandel {

const std::array<Text, DaysPerWeek> DayNames = {u"Monday", u"Tuesday",  u"Wednesday", u"Thursday",
                                                u"Friday", u"Saturday", u"Sunday"};
const std::array<Text, DaysPerWeek> DayAbbreviations = {u"M", u"T", u"W", u"Th", u"F", u"S", u"Su"};

namespace {

void appendNumber(Text& text, int value, int minDigits) {
    Text digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value > 0 || static_cast<int>(digits.size()) < minDigits);
    text += digits;
}

// The value of one or two ASCII digits, or -1.
int digitsValue(const Text& text, std::size_t from, std::size_t count) {
    if (count == 0 || count > 2 || from + count > text.size()) return -1;
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < u'0' || text[i] > u'9') return -1;
        value = value * 10 + (text[i] - u'0');
    }
    return value;
}

}  // namespace

Text timeText(int slot) {
    Text text;
    appendNumber(text, hourOfSlot(slot), 1);
    text += u':';
    appendNumber(text, minuteOfSlot(slot), 2);
    return text;
}

Text halfHourText(int slot) { return timeText(slot) + u" to " + timeText(slot + 1); }

Text numberText(long long value) {
    const std::string digits = std::to_string(value);
    return Text(digits.begin(), digits.end());
}

Text timeRowCaption(int slot) { return numberText(hourOfSlot(slot) * 100 + minuteOfSlot(slot)); }

Text cellText(int cell) {
    return DayNames[static_cast<std::size_t>(dayOfCell(cell))] + u" " + halfHourText(slotOfCell(cell));
}

std::optional<int16_t> slotOfTimeText(const Text& text) {
    const std::size_t colon = text.find(u':');
    if (colon == Text::npos || text.size() - colon - 1 != 2) return std::nullopt;
    const int hour = digitsValue(text, 0, colon);
    const int minute = digitsValue(text, colon + 1, 2);
    if (hour < FirstHour || hour > LastHour || minute % MinutesPerSlot != 0 || minute >= 60) return std::nullopt;
    const int16_t slot = slotOf(hour, minute);
    if (slot > EndOfDaySlot) return std::nullopt;
    return slot;
}

std::vector<Meeting> meetingsOf(const Section& section) {
    std::vector<Meeting> meetings;
    forEachMeeting(section, [&meetings](const Meeting& meeting) { meetings.push_back(meeting); });
    return meetings;
}

void setMeetings(Section& section, std::span<const Meeting> meetings) {
    assert(!meetings.empty() && meetings.size() <= static_cast<std::size_t>(MaxMeetingsPerSection));
    const Meeting& first = meetings.front();
    section.StartSlot = first.StartSlot;
    section.EndSlot = first.EndSlot;
    section.StartTime = first.StartTime;
    section.EndTime = first.EndTime;
    section.Days = first.Days;
    section.MoreMeetings = {};
    section.NumMoreMeetings = 0;
    for (std::size_t i = 1; i < meetings.size() && i < static_cast<std::size_t>(MaxMeetingsPerSection); ++i)
        section.MoreMeetings[static_cast<std::size_t>(section.NumMoreMeetings++)] = meetings[i];
}

Meeting meetingOf(int startSlot, int endSlot, unsigned dayBits) {
    Meeting meeting;
    meeting.StartSlot = static_cast<int16_t>(startSlot);
    meeting.EndSlot = static_cast<int16_t>(endSlot);
    meeting.StartTime = timeText(startSlot);
    meeting.EndTime = timeText(endSlot);
    for (int d = 0; d < DaysPerWeek; ++d) meeting.Days[static_cast<std::size_t>(d)] = ((dayBits >> d) & 1U) != 0;
    return meeting;
}

bool meetingsOverlap(const Meeting& a, const Meeting& b) {
    if (a.StartSlot >= b.EndSlot || b.StartSlot >= a.EndSlot) return false;
    for (std::size_t d = 0; d < DaysPerWeek; ++d)
        if (a.Days[d] && b.Days[d]) return true;
    return false;
}

}  // namespace quorvandel
