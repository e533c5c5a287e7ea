#pragma once
// A listed section as the store keeps it, and when two sections are the
// same one.

#include "listed_section.h"
#include "schedule_model.h"

namespace quorvandel {

struct ListedRecord {
    Section section;
    ListingRefusal refusal = ListingRefusal::None;  // when the store cannot keep it
};

// The record "Add" stores for a listed section: its number and course, and
// its meetings with the times written as the program writes them. A section
// refused while read stays refused.
ListedRecord listedSectionRecord(const ListedSection& listed);

// The same number and the same meetings: a listed section already stored.
bool isSameSection(const Section& a, const Section& b);

}  // namespace quorvandel
