#include "editing.h"

#include <cassert>

#include "record_rules.h"

namespace quorvandel {

StoreResult AddCourse(ModuleState& state, MainWindowLists& window, const Course& course) {
    assert(isValidCourseName(course.CourseName));
    if (state.NumCourses >= MaxCourses) return StoreResult::Full;
    state.Courses[static_cast<size_t>(state.NumCourses)] = course;
    state.NumCourses = static_cast<int16_t>(state.NumCourses + 1);
    window.appendCourseLine(course.CourseName);
    return StoreResult::Stored;
}

void RemoveCourse(ModuleState& state, MainWindowLists& window, int16_t courseIndex) {
    if (courseIndex < 0 || courseIndex >= state.NumCourses) return;
    const int16_t lastDestination = static_cast<int16_t>(state.NumCourses - 2);
    for (int16_t j = courseIndex; j <= lastDestination; ++j)
        state.Courses[static_cast<size_t>(j)] = state.Courses[static_cast<size_t>(j + 1)];
    state.NumCourses = static_cast<int16_t>(state.NumCourses - 1);
    window.removeCourseLine(courseIndex);
    window.clearSectionLines();
    if (state.NumCourses == 0) {
        window.disableRemoveCourse();
        window.disableAddSection();
    }
}

StoreResult AddSection(ModuleState& state, int16_t courseIndex, const Section& section) {
    assert(firstSectionFault(section) == SectionFault::None);
    if (courseIndex < 0 || courseIndex >= state.NumCourses) return StoreResult::Full;
    Course& course = state.Courses[static_cast<size_t>(courseIndex)];
    if (course.NumSections >= MaxSectionsPerCourse) return StoreResult::Full;
    course.Sections[static_cast<size_t>(course.NumSections)] = section;
    course.NumSections = static_cast<int16_t>(course.NumSections + 1);
    return StoreResult::Stored;
}

void RemoveSection(ModuleState& state, MainWindowLists& window, int16_t courseIndex, int16_t sectionIndex) {
    if (courseIndex < 0 || courseIndex >= state.NumCourses) return;
    Course& course = state.Courses[static_cast<size_t>(courseIndex)];
    if (sectionIndex < 0 || sectionIndex >= course.NumSections) return;
    const int16_t lastDestination = static_cast<int16_t>(course.NumSections - 2);
    for (int16_t j = sectionIndex; j <= lastDestination; ++j)
        course.Sections[static_cast<size_t>(j)] = course.Sections[static_cast<size_t>(j + 1)];
    course.NumSections = static_cast<int16_t>(course.NumSections - 1);
    window.removeSectionLine(sectionIndex);
}

void ShowSections(const ModuleState& state, MainWindowLists& window) {
    window.clearSectionLines();
    const int16_t c = window.selectedCourseIndex();
    if (c < 0 || c >= state.NumCourses) return;
    const Course& course = state.Courses[static_cast<size_t>(c)];
    const int16_t count = course.NumSections;
    for (int16_t s = 0; s < count; ++s)
        window.appendSectionLine(SectionLine(course.Sections[static_cast<size_t>(s)], window));
}

Text SectionLine(const Section& section, const MainWindowLists& window) {
    Text line = section.SecNum + u"  " + section.StartTime + u" - " + section.EndTime;
    for (int16_t d = 0; d < DaysPerWeek; ++d)
        if (section.Days[static_cast<size_t>(d)]) line += u" " + window.dayAbbreviation(d);
    return line;
}

Course NewCourse(const Text& courseName) {
    Course course;
    course.CourseName = courseName;
    return course;
}

}  // namespace quorvandel
