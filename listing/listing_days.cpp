#include "listing_days.h"

#include "listing_text.h"

namespace quorvandel {

namespace {

struct DayName {
    std::u16string_view name;  // lower case
    int day;
};

// Longest first, so that "th" is Thursday before "t" is Tuesday and "sa"
// Saturday before "s" alone.
constexpr DayName DayNamesRead[] = {
    {u"wednesday", 2}, {u"thursday", 3}, {u"saturday", 5}, {u"tuesday", 1}, {u"monday", 0}, {u"friday", 4},
    {u"sunday", 6},    {u"thurs", 3},    {u"tues", 1},     {u"thur", 3},    {u"mon", 0},    {u"tue", 1},
    {u"wed", 2},       {u"thu", 3},      {u"fri", 4},      {u"sat", 5},     {u"sun", 6},    {u"mo", 0},
    {u"tu", 1},        {u"we", 2},       {u"th", 3},       {u"fr", 4},      {u"sa", 5},     {u"su", 6},
    {u"m", 0},         {u"t", 1},        {u"w", 2},        {u"r", 3},       {u"f", 4},      {u"s", 5},
    {u"u", 6},
};

bool isDaySeparator(char16_t c) {
    return listing_text::isBlank(c) || c == u'/' || c == u',' || c == u'-' || c == u'.' || c == u'&' || c == u'+' ||
           c == u';';
}

// A registrar's run of capital letters, one a day, Monday first: there
// "SU" is Saturday and Sunday, where alone or beside lower case it is Sunday.
constexpr std::u16string_view LetterPerDay = u"MTWRFSU";

bool isLetterPerDay(std::u16string_view word) {
    if (word.size() < 3) return false;
    for (char16_t c : word)
        if (LetterPerDay.find(c) == std::u16string_view::npos) return false;
    return true;
}

// One word of day names run together ("MoWeFr", "TTh"), longest name first
// at each place.
bool readWord(std::u16string_view original, WeekDays& days) {
    if (isLetterPerDay(original)) {
        for (char16_t c : original) days[LetterPerDay.find(c)] = true;
        return true;
    }
    Text lowered;
    for (char16_t c : original) lowered += listing_text::lower(c);
    const std::u16string_view word = lowered;
    std::size_t at = 0;
    while (at < word.size()) {
        bool matched = false;
        for (const DayName& name : DayNamesRead) {
            if (word.substr(at, name.name.size()) != name.name) continue;
            days[static_cast<std::size_t>(name.day)] = true;
            at += name.name.size();
            matched = true;
            break;
        }
        if (!matched) return false;
    }
    return true;
}

}  // namespace

std::optional<WeekDays> readDays(std::u16string_view text) {
    WeekDays days{};
    bool any = false;
    Text word;
    auto endWord = [&] {
        if (word.empty()) return true;
        any = true;
        const bool read = readWord(word, days);
        word.clear();
        return read;
    };
    for (char16_t c : text) {
        if (isDaySeparator(c)) {
            if (!endWord()) return std::nullopt;
        } else {
            word += c;
        }
    }
    if (!endWord() || !any) return std::nullopt;
    return days;
}

}  // namespace quorvandel
