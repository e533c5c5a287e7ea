#include "listed_section_record.h"

#include <vector>

#include "record_rules.h"
#include "week.h"

namespace quorvandel {

ListedRecord listedSectionRecord(const ListedSection& listed) {
    ListedRecord record;
    record.refusal = listed.refusal;
    if (record.refusal != ListingRefusal::None) return record;
    if (listed.meetings.empty()) return {{}, ListingRefusal::NoTime};
    if (listed.meetings.size() > static_cast<size_t>(MaxMeetingsPerSection))
        return {{}, ListingRefusal::TooManyMeetings};
    std::vector<Meeting> meetings;
    for (const ListedMeeting& listedMeeting : listed.meetings) {
        unsigned dayBits = 0;
        for (int d = 0; d < DaysPerWeek; ++d)
            if (listedMeeting.days[static_cast<size_t>(d)]) dayBits |= 1U << d;
        meetings.push_back(meetingOf(listedMeeting.startSlot, listedMeeting.endSlot, dayBits));
    }
    Section& section = record.section;
    section.SecNum = listed.number;
    section.CourseName = listed.course;
    setMeetings(section, meetings);
    // The reader refuses what breaks these rules; this stays the last guard.
    if (firstSectionFault(section) != SectionFault::None) return {{}, ListingRefusal::NoTime};
    return record;
}

bool isSameSection(const Section& a, const Section& b) {
    if (a.SecNum != b.SecNum || meetingCount(a) != meetingCount(b)) return false;
    const std::vector<Meeting> left = meetingsOf(a), right = meetingsOf(b);
    for (size_t i = 0; i < left.size(); ++i) {
        const Meeting &x = left[i], &y = right[i];
        if (x.StartSlot != y.StartSlot || x.EndSlot != y.EndSlot || x.Days != y.Days) return false;
    }
    return true;
}

}  // namespace quorvandel
