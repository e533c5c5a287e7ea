#include "add_listed_sections.h"

namespace quorvandel {

int addListedSections(ModuleState& state, MainWindowLists& window, const ListingPlan& plan) {
    int stored = 0;
    for (const PlanLine& line : plan.lines) {
        if (line.status != PlanStatus::NewCourse && line.status != PlanStatus::AddToCourse) continue;
        int16_t course = 0;
        while (course < state.NumCourses && state.Courses[static_cast<std::size_t>(course)].CourseName != line.course)
            ++course;
        if (course == state.NumCourses && AddCourse(state, window, NewCourse(line.course)) != StoreResult::Stored)
            break;
        if (AddSection(state, course, line.record) != StoreResult::Stored) break;
        ++stored;
    }
    return stored;
}

}  // namespace quorvandel
