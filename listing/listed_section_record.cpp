#include "listed_section_record.h"

#include "record_rules.h"
#include "week.h"

namespace quorvandel {

ListedRecord listedSectionRecord(const ListedSection& listed) {
    ListedRecord record;
    record.refusal = listed.refusal;
    if (record.refusal != ListingRefusal::None) return record;
    if (listed.meetings.empty()) return {{}, ListingRefusal::NoTime};
    // A section keeps one meeting in its own fields; meetings after the
    // first are written here too, once the store has room for them.
    if (listed.meetings.size() > 1) return {{}, ListingRefusal::MoreThanOneMeeting};
    const ListedMeeting& first = listed.meetings.front();
    Section& section = record.section;
    section.SecNum = listed.number;
    section.CourseName = listed.course;
    section.StartSlot = first.startSlot;
    section.EndSlot = first.endSlot;
    section.StartTime = timeText(first.startSlot);
    section.EndTime = timeText(first.endSlot);
    section.Days = first.days;
    // The reader refuses what breaks these rules; this stays the last guard.
    if (firstSectionFault(section) != SectionFault::None) return {{}, ListingRefusal::NoTime};
    return record;
}

bool isSameSection(const Section& a, const Section& b) {
    return a.SecNum == b.SecNum && a.StartSlot == b.StartSlot && a.EndSlot == b.EndSlot && a.Days == b.Days;
}

}  // namespace quorvandel
