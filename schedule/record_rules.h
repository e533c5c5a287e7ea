#pragma once
// What every stored course and section satisfies. The Add Course and Add
// Section dialogs make sure of it before they store a record, a schedule file
// must show it before anything in it is loaded, and the editing operations
// assert it. Capacities (20 courses, 10 sections) are the store's own rule.

#include <optional>
#include <span>
#include <utility>

#include "schedule_model.h"

namespace quorvandel {

enum class SectionFault {
    None,
    EmptyNumber,       // SecNum is empty
    TooManyMeetings,   // NumMoreMeetings is not 0 .. MaxMeetingsPerSection - 1
    EndNotAfterStart,  // a meeting does not keep 0 <= StartSlot < EndSlot <= 29
    TimesNotTheSlots,  // a meeting's StartTime or EndTime is not the text of its slot
    NoDay,             // a meeting has no Days flag set
    MeetingsOverlap,   // two meetings share a half-hour
};

// The first rule a meeting breaks, of the three about times and days.
SectionFault firstMeetingFault(const Meeting& meeting);

// The first two meetings (by place, counted from 0) that share a half-hour.
std::optional<std::pair<int, int>> firstOverlappingMeetings(std::span<const Meeting> meetings);

// The first rule the section breaks, in the order above, meeting by
// meeting, and where: the meeting it is about (counted from 0), and for an
// overlap the earlier meeting it shares a half-hour with.
struct SectionFaultAt {
    SectionFault fault = SectionFault::None;
    int meeting = 0;
    int otherMeeting = 0;
};
SectionFaultAt findSectionFault(const Section& section);

// Only which rule: None when the section keeps them all.
inline SectionFault firstSectionFault(const Section& section) { return findSectionFault(section).fault; }

// A course name is never empty (it is also the course's line in the list).
inline bool isValidCourseName(const Text& name) { return !name.empty(); }

}  // namespace quorvandel
