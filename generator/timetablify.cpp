#include "timetablify.h"

namespace quorvandel {

const Text AllClassesNeedSectionMessage = u"All Classes must have at least one section";
const Text NoTimetablesMessage =
    u"Sorry, your schedule has no possible conflict-free timetables.  You will need to remove some classes";

GenerationResult TimeTablify(ModuleState& state, const SearchControl& control) {
    bool ok = true;
    for (int16_t i = 0; i < state.NumCourses; ++i)
        if (state.Courses[static_cast<size_t>(i)].NumSections == 0) ok = false;
    state.CurrentTimetable = 0;
    state.NumTimetables = 0;
    if (!ok) return {TimeTablifyOutcome::AllClassesNeedSection, false, false};
    return MakeTimetables(state, control);
}

// Placeholder until the search lands.
GenerationResult MakeTimetables(ModuleState& state, const SearchControl& control) {
    (void)control;
    state.EnumDone = true;
    return {state.NumTimetables > 0 ? TimeTablifyOutcome::ShowResults : TimeTablifyOutcome::NoTimetables, false, false};
}

}  // namespace quorvandel
