#include "listing_rows.h"

#include <algorithm>
#include <array>

#include "listing_text.h"

namespace quorvandel {

using listing_text::isBlank;
using listing_text::trimmed;

namespace {

constexpr char16_t TwoSpaces = 0;  // the separator that is a run of spaces
constexpr std::array<char16_t, 5> Separators = {u'\t', u';', u'|', u',', TwoSpaces};

bool isSeparatorChar(char16_t c) { return c == u'\t' || c == u';' || c == u'|' || c == u','; }

// A quote opens a quoted field only where a field starts, so a lone quote
// inside a title ("Intro to "Java") does not swallow the lines after it.
bool opensQuote(std::u16string_view text, std::size_t at) {
    std::size_t i = at;
    while (i > 0 && (text[i - 1] == u' ' || text[i - 1] == u'\u00A0')) --i;
    return i == 0 || text[i - 1] == u'\n' || text[i - 1] == u'\r' || isSeparatorChar(text[i - 1]) || at - i >= 2;
}

// The lines of the text, a quoted field's line breaks kept inside its line.
struct RawLine {
    std::u16string_view text;
    int line;
};

std::vector<RawLine> nonBlankLines(std::u16string_view text, std::size_t maxLines, bool& more) {
    std::vector<RawLine> lines;
    int lineNumber = 1;
    std::size_t start = 0;
    int startLine = 1;
    bool quoted = false;
    auto finish = [&](std::size_t end) {
        const std::u16string_view line = text.substr(start, end - start);
        if (trimmed(line).empty()) return true;
        if (lines.size() == maxLines) {
            more = true;
            return false;
        }
        lines.push_back({line, startLine});
        return true;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'"') {
            if (quoted) {
                if (i + 1 < text.size() && text[i + 1] == u'"')
                    ++i;
                else
                    quoted = false;
            } else if (opensQuote(text, i)) {
                quoted = true;
            }
        } else if (c == u'\n' || c == u'\r') {
            const std::size_t end = i;
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            ++lineNumber;
            if (quoted) continue;
            if (!finish(end)) return lines;
            start = i + 1;
            startLine = lineNumber;
        }
    }
    if (start < text.size()) finish(text.size());
    return lines;
}

bool separatesAt(std::u16string_view line, std::size_t i, char16_t separator) {
    if (separator != TwoSpaces) return line[i] == separator;
    return (line[i] == u' ' || line[i] == u'\t') && i + 1 < line.size() &&
           (line[i + 1] == u' ' || line[i + 1] == u'\t');
}

// One line's fields by one separator. Blanks around a line of columns
// lined up with spaces are indentation, not empty fields.
std::vector<Text> fieldsOf(std::u16string_view line, char16_t separator) {
    if (separator == TwoSpaces) line = trimmed(line);
    std::vector<Text> fields;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && isBlank(line[i]) && !separatesAt(line, i, separator)) ++i;
        Text field;
        if (i < line.size() && line[i] == u'"') {
            // A quoted field: "" is one quote; whatever follows the closing
            // quote up to the separator is kept too.
            ++i;
            while (i < line.size()) {
                if (line[i] == u'"') {
                    if (i + 1 < line.size() && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
        }
        while (i < line.size() && !separatesAt(line, i, separator)) field += line[i++];
        fields.emplace_back(trimmed(field));
        if (i >= line.size()) break;
        if (separator == TwoSpaces)
            while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
        else
            ++i;
        if (separator == TwoSpaces && i >= line.size()) break;
    }
    return fields;
}

// The separator that gives one of the first lines the most fields: a title
// line above the header may have none.
char16_t separatorOf(const std::vector<RawLine>& lines) {
    char16_t best = TwoSpaces;
    std::size_t bestCount = 0;
    for (char16_t separator : Separators) {
        std::size_t count = 0;
        for (std::size_t i = 0; i < lines.size() && i < 3; ++i)
            count = std::max(count, fieldsOf(lines[i].text, separator).size());
        if (count > bestCount) {
            best = separator;
            bestCount = count;
        }
    }
    return best;
}

}  // namespace

ListingRows splitListing(std::u16string_view text, std::size_t maxRows) {
    ListingRows result;
    const std::vector<RawLine> lines = nonBlankLines(text, maxRows, result.truncated);
    if (lines.empty()) return result;
    const char16_t separator = separatorOf(lines);
    result.rows.reserve(lines.size());
    for (const RawLine& line : lines) result.rows.push_back({fieldsOf(line.text, separator), line.line});
    return result;
}

}  // namespace quorvandel
