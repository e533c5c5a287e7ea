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

// "8:00 - 9:30 M W": the times, then each day the meeting is on, Monday to
// Sunday, as " " + its line of the day table.
Text MeetingLine(const Meeting& meeting, const MainWindowLists& window);
// "101  8:00 - 9:30 M W": number, two blanks, then the meeting line of each
// meeting, joined by ", ": "101  8:00 - 9:30 M W, 14:00 - 17:00 T".
Text SectionLine(const Section& section, const MainWindowLists& window);

// A fresh course record: the name, no sections.
Course NewCourse(const Text& courseName);

}  // namespace quorvandel
