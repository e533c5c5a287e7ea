#include "schedule_document.h"

#include <algorithm>
#include <cassert>
#include <cstddef>

#include "editing.h"

namespace quorvandel {

namespace {

bool sameCourse(const Course& a, const Course& b) {
    if (a.CourseName != b.CourseName || a.NumSections != b.NumSections) return false;
    for (std::size_t s = 0; s < static_cast<std::size_t>(a.NumSections); ++s)
        if (!(a.Sections[s] == b.Sections[s])) return false;
    return true;
}

bool sameCourses(const CourseList& a, const CourseList& b) {
    if (a.NumCourses != b.NumCourses) return false;
    for (std::size_t c = 0; c < static_cast<std::size_t>(a.NumCourses); ++c)
        if (!sameCourse(a.Courses[c], b.Courses[c])) return false;
    return true;
}

}  // namespace

bool operator==(const ScheduleDocument& a, const ScheduleDocument& b) {
    return sameCourses(a.courses, b.courses) && a.options == b.options && a.favourites == b.favourites;
}

ScheduleDocument documentOf(const ModuleState& state) {
    ScheduleDocument document;
    for (std::size_t c = 0; c < static_cast<std::size_t>(state.NumCourses); ++c) {
        const Course& from = state.Courses[c];
        Course& to = document.courses.Courses[c];
        to.CourseName = from.CourseName;
        for (std::size_t s = 0; s < static_cast<std::size_t>(from.NumSections); ++s) to.Sections[s] = from.Sections[s];
        to.NumSections = from.NumSections;
    }
    document.courses.NumCourses = state.NumCourses;
    document.options = state.Options;
    for (size_t f = 0; f < static_cast<size_t>(std::clamp<int16_t>(state.NumFavourites, 0, MaxFavourites)); ++f)
        if (std::optional<FavouriteSections> sections = sectionsOf(state, state.Favourites[f]))
            document.favourites.push_back(std::move(*sections));
    std::sort(document.favourites.begin(), document.favourites.end());
    document.favourites.erase(std::unique(document.favourites.begin(), document.favourites.end()),
                              document.favourites.end());
    return document;
}

void applyDocument(ModuleState& state, MainWindowLists& window, const ScheduleDocument& document) {
    assert(state.NumCourses == 0 && state.NumFavourites == 0 && "the schedule is emptied first, as New does");
    state.Options = document.options;
    const CourseList& list = document.courses;
    for (std::size_t c = 0; c < static_cast<std::size_t>(list.NumCourses); ++c) {
        const Course& course = list.Courses[c];
        if (AddCourse(state, window, NewCourse(course.CourseName)) != StoreResult::Stored) return;
        const auto index = static_cast<int16_t>(state.NumCourses - 1);
        for (std::size_t s = 0; s < static_cast<std::size_t>(course.NumSections); ++s) {
            Section section = course.Sections[s];
            section.CourseName = course.CourseName;  // as the Add Section dialog names it: the course's line
            if (AddSection(state, index, section) != StoreResult::Stored) return;
        }
    }
    for (const FavouriteSections& favourite : document.favourites) addFavourite(state, timetableOf(state, favourite));
}

}  // namespace quorvandel
