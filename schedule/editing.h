#pragma once
// Adding and removing courses and sections, and rebuilding the section list.
// Removal closes the gap by copying each later record one place down and
// leaves the vacated last entry holding its old record; nothing reads it
// until an add overwrites it whole. The records handed to AddCourse and
// AddSection keep the rules of record_rules.h (asserted).

#include <cstdint>

#include "main_window_lists.h"
#include "schedule_model.h"
#include "week.h"

namespace quorvandel {

// What an add did. Whenever it is not Stored, nothing was written and
// nothing changed.
enum class StoreResult {
    Stored,
    Full,          // the store (or the course) is at capacity
    NoSuchCourse,  // AddSection: the index names no live course
};

StoreResult AddCourse(ModuleState& state, MainWindowLists& window, const Course& course);
StoreResult AddSection(ModuleState& state, int16_t courseIndex, const Section& section);

// The indices name live entries: a course 0 .. NumCourses - 1 and one of its
// sections. Callers pass the selected lines of the main window's lists,
// which show exactly the live entries; anything else is a bug, which stops a
// debug build and leaves the store and the lists untouched in a release
// build. A favourite holding a section removed so is forgotten
// (favourites.h).
void RemoveCourse(ModuleState& state, MainWindowLists& window, int16_t courseIndex);
void RemoveSection(ModuleState& state, MainWindowLists& window, int16_t courseIndex, int16_t sectionIndex);
// Rebuilds the section list for the selected course; no course selected
// (-1) leaves it empty.
void ShowSections(const ModuleState& state, MainWindowLists& window);

// Changes to what is already stored. The indices name live entries, as for
// the removals; the lines follow where the section list shows the course.
//
// Puts `section` in the place of a live one (an edit): same course, same
// position, the old one's left-out mark kept. A favourite holding the old
// section is forgotten, as when it is removed, unless nothing changed.
void ReplaceSection(ModuleState& state, MainWindowLists& window, int16_t courseIndex, int16_t sectionIndex,
                    const Section& section);
// Renames a course; the name each of its sections keeps follows, and so do
// the favourites taking them, so that they stay favourites. The stored
// timetables are left as their generation found them.
void RenameCourse(ModuleState& state, MainWindowLists& window, int16_t courseIndex, const Text& courseName);
// Leaves one section out, or takes it back in.
void SetSectionLeftOut(ModuleState& state, MainWindowLists& window, int16_t courseIndex, int16_t sectionIndex,
                       bool leftOut);
// Leaves every section of the course out but one ("Take Only This Section").
void TakeOnlySection(ModuleState& state, MainWindowLists& window, int16_t courseIndex, int16_t sectionIndex);
// Takes every section of the course back in ("Take Every Section").
void TakeEverySection(ModuleState& state, MainWindowLists& window, int16_t courseIndex);

// "8:00 - 9:30 M W": the times, then each day the meeting is on, Monday to
// Sunday, as " " + its line of the day table.
Text MeetingLine(const Meeting& meeting, const MainWindowLists& window);
// "101  8:00 - 9:30 M W": number, two blanks, then the meeting line of each
// meeting, joined by ", ": "101  8:00 - 9:30 M W, 14:00 - 17:00 T".
Text SectionLine(const Section& section, const MainWindowLists& window);
// The section list's line: the SectionLine, then "  (left out)" for a
// section left out, so that the mark is read out as well as greyed.
Text SectionListLine(const Section& section, const MainWindowLists& window);

// A fresh course record: the name, no sections.
Course NewCourse(const Text& courseName);

}  // namespace quorvandel
