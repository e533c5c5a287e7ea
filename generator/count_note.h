#pragma once
// The note beside the results' counter once every timetable is counted
// (countTimetables): how many of them the stored ones are.

#include <cstdint>

#include "schedule_model.h"
#include "timetable_count.h"

namespace quorvandel {

// For `shown` stored timetables out of the count in `tally`:
//   "26 of 1,204 timetables are shown"                first found
//   "The 26 best of 1,204 are shown"                  a ranked order
//   "26 of more than 1,000,000 timetables are shown"  a lower bound
//   "The 26 best of more than 1,000,000 are shown"    a ranked lower bound
// A bound below `shown` is raised to it (the stored ones exist). Empty for a
// stopped count: the note stays as it was.
Text countNote(int shown, const TimetableTally& tally, bool ranked);

// n with a comma between every three digits: "1,204".
Text withThousandsSeparators(std::uint64_t n);

}  // namespace quorvandel
