#include "listing_times.h"

#include "listing_text.h"
#include "week.h"

namespace quorvandel {

using listing_text::isDigit;

int ClockTime::minutesOfDay() const {
    int h = hour;
    if (meridiem == Meridiem::Am && h == 12) h = 0;
    if (meridiem == Meridiem::Pm && h != 12) h += 12;
    return h * 60 + minute;
}

std::optional<ClockTime> readClockTime(std::u16string_view text) {
    // Letters and digits only, lower case: "9:00 a.m." becomes "9:00am".
    Text t;
    for (char16_t c : listing_text::trimmed(text))
        if (!listing_text::isBlank(c) && c != u'.') t += listing_text::lower(c);
    ClockTime time;
    auto dropSuffix = [&t](std::u16string_view suffix) {
        if (t.size() < suffix.size() || std::u16string_view(t).substr(t.size() - suffix.size()) != suffix) return false;
        t.resize(t.size() - suffix.size());
        return true;
    };
    if (dropSuffix(u"am") || dropSuffix(u"a"))
        time.meridiem = Meridiem::Am;
    else if (dropSuffix(u"pm") || dropSuffix(u"p"))
        time.meridiem = Meridiem::Pm;

    const std::size_t colon = t.find(u':');
    Text hourDigits;
    Text minuteDigits;
    if (colon != Text::npos) {
        hourDigits = t.substr(0, colon);
        minuteDigits = t.substr(colon + 1);
        if (minuteDigits.size() != 2) return std::nullopt;
    } else if (t.size() <= 2) {
        hourDigits = t;
    } else if (t.size() <= 4) {
        hourDigits = t.substr(0, t.size() - 2);
        minuteDigits = t.substr(t.size() - 2);
    } else {
        return std::nullopt;
    }
    if (hourDigits.empty() || hourDigits.size() > 2) return std::nullopt;
    for (char16_t c : hourDigits + minuteDigits)
        if (!isDigit(c)) return std::nullopt;
    for (char16_t c : hourDigits) time.hour = time.hour * 10 + (c - u'0');
    for (char16_t c : minuteDigits) time.minute = time.minute * 10 + (c - u'0');
    if (time.minute > 59) return std::nullopt;
    if (time.meridiem == Meridiem::None ? time.hour > 23 : (time.hour < 1 || time.hour > 12)) return std::nullopt;
    return time;
}

std::optional<TimeTexts> splitTimeRange(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'-' || c == u'\u2013' || c == u'\u2014') return TimeTexts{text.substr(0, i), text.substr(i + 1)};
    }
    for (std::size_t i = 0; i + 4 <= text.size(); ++i) {
        if (text[i] != u' ' || text[i + 3] != u' ') continue;
        if (listing_text::lower(text[i + 1]) == u't' && listing_text::lower(text[i + 2]) == u'o')
            return TimeTexts{text.substr(0, i), text.substr(i + 4)};
    }
    return std::nullopt;
}

std::optional<MinuteRange> readTimes(std::u16string_view start, std::u16string_view end) {
    std::optional<ClockTime> from = readClockTime(start);
    const std::optional<ClockTime> to = readClockTime(end);
    if (!from || !to) return std::nullopt;
    if (from->meridiem == Meridiem::None && to->meridiem != Meridiem::None && from->hour >= 1 && from->hour <= 12) {
        ClockTime shared = *from;
        shared.meridiem = to->meridiem;
        // "11:00-12:15pm" starts in the morning.
        if (shared.minutesOfDay() < to->minutesOfDay()) from = shared;
    }
    return MinuteRange{from->minutesOfDay(), to->minutesOfDay()};
}

MinuteRange roundedToHalfHours(MinuteRange times) {
    const int half = MinutesPerSlot / 2;
    auto rounded = [half](int minutes, bool isStart) {
        const int below = minutes - minutes % MinutesPerSlot;
        const int past = minutes % MinutesPerSlot;
        if (past < half || (past == half && !isStart)) return below;
        return below + MinutesPerSlot;
    };
    MinuteRange grid{rounded(times.start, true), rounded(times.end, false)};
    if (grid.end <= grid.start && times.end > times.start) grid.end = grid.start + MinutesPerSlot;
    return grid;
}

Text minuteText(int minutesOfDay) {
    const int minute = minutesOfDay % 60;
    Text text = numberText(minutesOfDay / 60);
    text += u':';
    if (minute < 10) text += u'0';
    text += numberText(minute);
    return text;
}

}  // namespace quorvandel
