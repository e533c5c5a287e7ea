#include "editing.h"

#include <cassert>
#include <cstddef>

#include "favourites.h"
#include "record_rules.h"
#include "week.h"

namespace quorvandel {

namespace {

// Whether `index` names one of the first `count` entries.
constexpr bool isLive(int index, int count) { return 0 <= index && index < count; }

// The same for an index the caller must get right: the main window hands on
// only the selected line of a list that shows exactly the live entries. Any
// other index is a bug: a debug build stops here, and a release build gets
// false so that the operation touches nothing rather than write outside the
// store.
bool requireLive(int index, int count) {
    assert(isLive(index, count) && "the index names no live entry");
    return isLive(index, count);
}

// Closes the gap at `index` among the first `count` records: each later
// record is copied one place down, lowest first, the last destination fixed
// before the loop. The vacated last entry keeps its old record. Returns the
// new count.
template <typename Record, std::size_t Capacity>
int16_t closeGap(std::array<Record, Capacity>& records, int16_t count, int16_t index) {
    const int lastDestination = count - 2;
    for (int j = index; j <= lastDestination; ++j)
        records[static_cast<std::size_t>(j)] = records[static_cast<std::size_t>(j + 1)];
    return static_cast<int16_t>(count - 1);
}

}  // namespace

StoreResult AddCourse(ModuleState& state, MainWindowLists& window, const Course& course) {
    assert(isValidCourseName(course.CourseName));
    if (state.NumCourses >= MaxCourses) return StoreResult::Full;
    state.Courses[static_cast<size_t>(state.NumCourses)] = course;
    state.NumCourses = static_cast<int16_t>(state.NumCourses + 1);
    window.appendCourseLine(course.CourseName);
    return StoreResult::Stored;
}

void RemoveCourse(ModuleState& state, MainWindowLists& window, int16_t courseIndex) {
    if (!requireLive(courseIndex, state.NumCourses)) return;
    state.NumCourses = closeGap(state.Courses, state.NumCourses, courseIndex);
    window.removeCourseLine(courseIndex);
    window.clearSectionLines();
    keepFavouritesOfLiveSections(state);
    if (state.NumCourses == 0) {
        window.disableRemoveCourse();
        window.disableAddSection();
    }
}

StoreResult AddSection(ModuleState& state, int16_t courseIndex, const Section& section) {
    assert(firstSectionFault(section) == SectionFault::None);
    if (!isLive(courseIndex, state.NumCourses)) return StoreResult::NoSuchCourse;
    Course& course = state.Courses[static_cast<size_t>(courseIndex)];
    if (course.NumSections >= MaxSectionsPerCourse) return StoreResult::Full;
    course.Sections[static_cast<size_t>(course.NumSections)] = section;
    course.NumSections = static_cast<int16_t>(course.NumSections + 1);
    return StoreResult::Stored;
}

void RemoveSection(ModuleState& state, MainWindowLists& window, int16_t courseIndex, int16_t sectionIndex) {
    if (!requireLive(courseIndex, state.NumCourses)) return;
    Course& course = state.Courses[static_cast<size_t>(courseIndex)];
    if (!requireLive(sectionIndex, course.NumSections)) return;
    course.NumSections = closeGap(course.Sections, course.NumSections, sectionIndex);
    window.removeSectionLine(sectionIndex);
    keepFavouritesOfLiveSections(state);
}

void ShowSections(const ModuleState& state, MainWindowLists& window) {
    window.clearSectionLines();
    const int16_t c = window.selectedCourseIndex();
    if (c == -1 || !requireLive(c, state.NumCourses)) return;  // -1: no course selected
    const Course& course = state.Courses[static_cast<size_t>(c)];
    const int16_t count = course.NumSections;
    for (int16_t s = 0; s < count; ++s) {
        const Section& section = course.Sections[static_cast<size_t>(s)];
        window.appendSectionLine(SectionListLine(section, window));
        if (section.LeftOut) window.setSectionLine(s, SectionListLine(section, window), true);
    }
}

namespace {

// Rewrites the section lines of the course where the list shows it.
void showSectionLines(const ModuleState& state, MainWindowLists& window, int16_t courseIndex) {
    if (window.selectedCourseIndex() != courseIndex) return;
    const Course& course = state.Courses[static_cast<size_t>(courseIndex)];
    for (int16_t s = 0; s < course.NumSections; ++s) {
        const Section& section = course.Sections[static_cast<size_t>(s)];
        window.setSectionLine(s, SectionListLine(section, window), section.LeftOut);
    }
}

Course* liveCourse(ModuleState& state, int16_t courseIndex) {
    return requireLive(courseIndex, state.NumCourses) ? &state.Courses[static_cast<size_t>(courseIndex)] : nullptr;
}

// The section at the given live place, or null (a bug: see requireLive).
Section* liveSection(ModuleState& state, int16_t courseIndex, int16_t sectionIndex) {
    Course* course = liveCourse(state, courseIndex);
    if (course == nullptr || !requireLive(sectionIndex, course->NumSections)) return nullptr;
    return &course->Sections[static_cast<size_t>(sectionIndex)];
}

// Renames the section chosen for a course in each timetable that takes it
// under the old name.
template <std::size_t Count>
void renameIn(std::array<Timetable, Count>& timetables, int16_t count, int16_t courseIndex, const Text& from,
              const Text& to) {
    for (int16_t t = 0; t < count && t < static_cast<int16_t>(Count); ++t) {
        Timetable& timetable = timetables[static_cast<size_t>(t)];
        if (courseIndex >= timetable.NumSections) continue;
        Section& section = timetable.Sections[static_cast<size_t>(courseIndex)];
        if (section.CourseName == from) section.CourseName = to;
    }
}

}  // namespace

void ReplaceSection(ModuleState& state, MainWindowLists& window, int16_t courseIndex, int16_t sectionIndex,
                    const Section& section) {
    assert(firstSectionFault(section) == SectionFault::None);
    Section* stored = liveSection(state, courseIndex, sectionIndex);
    if (stored == nullptr) return;
    const bool leftOut = stored->LeftOut;
    *stored = section;
    stored->LeftOut = leftOut;
    showSectionLines(state, window, courseIndex);
    keepFavouritesOfLiveSections(state);
}

void RenameCourse(ModuleState& state, MainWindowLists& window, int16_t courseIndex, const Text& courseName) {
    assert(isValidCourseName(courseName));
    Course* course = liveCourse(state, courseIndex);
    if (course == nullptr) return;
    const Text old = course->CourseName;
    course->CourseName = courseName;
    for (int16_t s = 0; s < course->NumSections; ++s) {
        Section& section = course->Sections[static_cast<size_t>(s)];
        if (section.CourseName == old) section.CourseName = courseName;
    }
    renameIn(state.Favourites, state.NumFavourites, courseIndex, old, courseName);
    window.setCourseLine(courseIndex, courseName);
}

void SetSectionLeftOut(ModuleState& state, MainWindowLists& window, int16_t courseIndex, int16_t sectionIndex,
                       bool leftOut) {
    Section* section = liveSection(state, courseIndex, sectionIndex);
    if (section == nullptr) return;
    section->LeftOut = leftOut;
    showSectionLines(state, window, courseIndex);
}

void TakeOnlySection(ModuleState& state, MainWindowLists& window, int16_t courseIndex, int16_t sectionIndex) {
    if (liveSection(state, courseIndex, sectionIndex) == nullptr) return;
    Course& course = state.Courses[static_cast<size_t>(courseIndex)];
    for (int16_t s = 0; s < course.NumSections; ++s)
        course.Sections[static_cast<size_t>(s)].LeftOut = s != sectionIndex;
    showSectionLines(state, window, courseIndex);
}

void TakeEverySection(ModuleState& state, MainWindowLists& window, int16_t courseIndex) {
    Course* course = liveCourse(state, courseIndex);
    if (course == nullptr) return;
    for (int16_t s = 0; s < course->NumSections; ++s) course->Sections[static_cast<size_t>(s)].LeftOut = false;
    showSectionLines(state, window, courseIndex);
}

Text MeetingLine(const Meeting& meeting, const MainWindowLists& window) {
    Text line = meeting.StartTime + u" - " + meeting.EndTime;
    for (int16_t d = 0; d < DaysPerWeek; ++d)
        if (meeting.Days[static_cast<size_t>(d)]) line += u" " + window.dayAbbreviation(d);
    return line;
}

Text SectionLine(const Section& section, const MainWindowLists& window) {
    Text line = section.SecNum + u"  ";
    bool first = true;
    forEachMeeting(section, [&](const Meeting& meeting) {
        if (!first) line += u", ";
        first = false;
        line += MeetingLine(meeting, window);
    });
    return line;
}

Text SectionListLine(const Section& section, const MainWindowLists& window) {
    return section.LeftOut ? SectionLine(section, window) + u"  (left out)" : SectionLine(section, window);
}

Course NewCourse(const Text& courseName) {
    Course course;
    course.CourseName = courseName;
    return course;
}

}  // namespace quorvandel
