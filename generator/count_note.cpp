#include "count_note.h"

#include <algorithm>

namespace quorvandel {

Text withThousandsSeparators(std::uint64_t n) {
    Text digits;
    int inGroup = 0;
    do {
        if (inGroup == 3) {
            digits += u',';
            inGroup = 0;
        }
        digits += static_cast<char16_t>(u'0' + n % 10);
        n /= 10;
        ++inGroup;
    } while (n != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

Text countNote(int shown, const TimetableTally& tally, bool ranked) {
    using Kind = TimetableTally::Kind;
    if (tally.kind == Kind::Stopped) return {};
    const Text stored = withThousandsSeparators(static_cast<std::uint64_t>(std::max(shown, 0)));
    Text total;
    if (tally.kind == Kind::MoreThan)
        total = u"more than " +
                withThousandsSeparators(std::max(tally.number, static_cast<std::uint64_t>(std::max(shown, 0))));
    else
        total = withThousandsSeparators(tally.number);
    return ranked ? u"The " + stored + u" best of " + total + u" are shown"
                  : stored + u" of " + total + u" timetables are shown";
}

}  // namespace quorvandel
