#pragma once
// What every stored course and section satisfies. The Add Course and Add
// Section dialogs make sure of it before they store a record, a schedule file
// must show it before anything in it is loaded, and the editing operations
// assert it. Capacities (20 courses, 10 sections) are the store's own rule.

#include "schedule_model.h"

namespace quorvandel {

enum class SectionFault {
    None,
    EmptyNumber,       // SecNum is empty
    EndNotAfterStart,  // not 0 <= StartSlot < EndSlot <= 29
    TimesNotTheSlots,  // StartTime or EndTime is not the text of its slot
    NoDay,             // no Days flag is set
};

// The first rule the section breaks, in the order above; None when it keeps
// them all.
SectionFault firstSectionFault(const Section& section);

// A course name is never empty (it is also the course's line in the list).
inline bool isValidCourseName(const Text& name) { return !name.empty(); }

}  // namespace quorvandel
