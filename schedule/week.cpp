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

}  // namespace quorvandel
