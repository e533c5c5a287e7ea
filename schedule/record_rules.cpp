#include "record_rules.h"

#include <algorithm>

#include "week.h"

namespace quorvandel {

SectionFault firstSectionFault(const Section& section) {
    if (section.SecNum.empty()) return SectionFault::EmptyNumber;
    if (!isValidSlotRange(section.StartSlot, section.EndSlot)) return SectionFault::EndNotAfterStart;
    if (section.StartTime != timeText(section.StartSlot) || section.EndTime != timeText(section.EndSlot))
        return SectionFault::TimesNotTheSlots;
    if (std::none_of(section.Days.begin(), section.Days.end(), [](bool day) { return day; }))
        return SectionFault::NoDay;
    return SectionFault::None;
}

}  // namespace quorvandel
