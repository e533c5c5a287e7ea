#include "record_rules.h"

#include <algorithm>
#include <vector>

#include "week.h"

namespace quorvandel {

SectionFault firstMeetingFault(const Meeting& meeting) {
    if (!isValidSlotRange(meeting.StartSlot, meeting.EndSlot)) return SectionFault::EndNotAfterStart;
    if (meeting.StartTime != timeText(meeting.StartSlot) || meeting.EndTime != timeText(meeting.EndSlot))
        return SectionFault::TimesNotTheSlots;
    if (std::none_of(meeting.Days.begin(), meeting.Days.end(), [](bool day) { return day; }))
        return SectionFault::NoDay;
    return SectionFault::None;
}

std::optional<std::pair<int, int>> firstOverlappingMeetings(std::span<const Meeting> meetings) {
    for (std::size_t later = 1; later < meetings.size(); ++later)
        for (std::size_t earlier = 0; earlier < later; ++earlier)
            if (meetingsOverlap(meetings[earlier], meetings[later]))
                return std::pair{static_cast<int>(earlier), static_cast<int>(later)};
    return std::nullopt;
}

SectionFaultAt findSectionFault(const Section& section) {
    if (section.SecNum.empty()) return {SectionFault::EmptyNumber};
    if (section.NumMoreMeetings < 0 || section.NumMoreMeetings > MaxMeetingsPerSection - 1)
        return {SectionFault::TooManyMeetings};
    const std::vector<Meeting> meetings = meetingsOf(section);
    for (std::size_t m = 0; m < meetings.size(); ++m)
        if (const SectionFault fault = firstMeetingFault(meetings[m]); fault != SectionFault::None)
            return {fault, static_cast<int>(m)};
    if (const auto overlap = firstOverlappingMeetings(meetings))
        return {SectionFault::MeetingsOverlap, overlap->second, overlap->first};
    return {};
}

}  // namespace quorvandel
