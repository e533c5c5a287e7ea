#pragma once
// The key of an open subproblem: "these courses are still open, each with
// these sections left", 10 bits a course (all clear for a placed course),
// packed with the number of open courses into 256 bits. The number of
// timetables below a step, and whether there is one, depend on nothing
// else, so the failure memo and the count memo share it.

#include <array>
#include <cstddef>
#include <cstdint>

#include "schedule_model.h"
#include "section_set_row.h"
#include "small_bit_set.h"

namespace quorvandel {

inline constexpr int SubproblemKeyWords = 4;
inline constexpr int SubproblemKeyTopWord = SubproblemKeyWords - 1;
using SubproblemKey = std::array<std::uint64_t, SubproblemKeyWords>;

// Packs the remaining sections of the courses in openCourses (at least
// one); the lanes of all other courses must be empty. The top word's top
// bits hold the open count, so no key is all zero (the mark of an empty
// slot).
SubproblemKey makeSubproblemKey(const SectionSetRow& remaining, CourseSet openCourses);
std::size_t hashOf(const SubproblemKey& key);
bool sameKey(const SubproblemKey& a, const SubproblemKey& b);

}  // namespace quorvandel
