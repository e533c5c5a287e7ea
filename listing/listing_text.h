#pragma once
// Small helpers the listing reader shares for looking at pasted text.

#include <string_view>

#include "schedule_model.h"

namespace quorvandel::listing_text {

// Blanks a pasted page brings: spaces, tabs, line ends, the no-break space
// of web pages and the byte-order mark a file may start with.
constexpr bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u00A0' || c == u'\uFEFF';
}
constexpr bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
constexpr bool isLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
constexpr char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

inline std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Lower-case letters and digits only: "Start Time" and "start_time" both
// become "starttime".
inline Text letters(std::u16string_view text) {
    Text out;
    for (char16_t c : text)
        if (isLetter(c) || isDigit(c)) out += lower(c);
    return out;
}

// A name or number as a one-line box keeps it: ends trimmed, each tab or
// line break inside a single space.
inline Text oneLine(std::u16string_view text) {
    Text out(trimmed(text));
    for (char16_t& c : out)
        if (c == u'\t' || c == u'\r' || c == u'\n') c = u' ';
    return out;
}

}  // namespace quorvandel::listing_text
