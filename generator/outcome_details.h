#pragma once
// The details shown under the two messages of a generation that opens no
// results: which courses have no section, and which courses cannot be taken
// together and why. The message texts themselves stay as they are
// (timetablify.h); these lines go under them.

#include "conflict_explanation.h"
#include "generation_result.h"
#include "timetablify.h"

namespace quorvandel {

// At most this many meeting lines for two clashing courses; the rest are
// counted in a last line "and n more".
constexpr int MaxMeetingLines = 5;

// "Courses without a section:" and then each such course's name on a line
// of its own, in course order.
Text coursesWithoutSectionDetails(const CourseList& courses, int numCourses);

// The explanation in words; empty for Stopped and HasTimetable.
//   BlockedCourse: "Math: every section falls in your busy times"
//   ClashingPair:  "Chem and Phys cannot be taken together: every section of
//                  one clashes with every section of the other." then lines
//                  "Chem 01 and Phys 1 both meet Monday 9:00-9:30"
//   NoArrangement: "Chem, Phys and Math cannot all be taken together: their
//                  sections cannot be arranged without a clash. Without any
//                  one of them, the others fit."
Text explanationDetails(const ConflictExplanation& explanation, const CourseList& courses);

// Fills result.details for the outcomes AllClassesNeedSection and
// NoTimetables, looking for the clashing courses on the calling thread (it
// honours control.stop and reports deletion steps to control.progress).
// Other outcomes, and a stop, leave the details empty.
void ExplainOutcome(const ModuleState& state, GenerationResult& result, const SearchControl& control,
                    const BusyCells& busy = {});

}  // namespace quorvandel
