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

enum class StoreResult {
    Stored,
    Full,  // the store is at capacity: nothing was written and nothing changed
};

StoreResult AddCourse(ModuleState& state, MainWindowLists& window, const Course& course);
void RemoveCourse(ModuleState& state, MainWindowLists& window, int16_t courseIndex);
StoreResult AddSection(ModuleState& state, int16_t courseIndex, const Section& section);
void RemoveSection(ModuleState& state, MainWindowLists& window, int16_t courseIndex, int16_t sectionIndex);
void ShowSections(const ModuleState& state, MainWindowLists& window);

// "101  8:00 - 9:30 M W": number, two blanks, the times, then each day the
// section meets, Monday to Sunday, as " " + its line of the day table.
Text SectionLine(const Section& section, const MainWindowLists& window);

// A fresh course record: the name, no sections.
Course NewCourse(const Text& courseName);

}  // namespace quorvandel
