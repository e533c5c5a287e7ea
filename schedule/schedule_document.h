#pragma once
// A schedule as the user made it, apart from the program's working state
// (found timetables, the search's position): exactly what a schedule file
// keeps. Each thing a file keeps is a field of ScheduleDocument, made from
// the module state by documentOf, put back by applyDocument and compared by
// operator==; the file unit (schedule_file.h) writes and reads it.

#include <vector>

#include "favourites.h"
#include "main_window_lists.h"
#include "schedule_model.h"

namespace quorvandel {

struct ScheduleDocument {
    CourseList courses;       // only the live entries count; the others are left default
    ScheduleOptions options;  // busy times and the order of the results
    // The favourites that take a section of every live course, in order of
    // their sections (so the order in which they were marked does not
    // count); no two alike, at most MaxFavourites.
    std::vector<FavouriteSections> favourites;
};

// Whether the two hold the same schedule: the same live courses in the same
// order, each with the same live sections, the same options and the same
// favourites.
bool operator==(const ScheduleDocument& a, const ScheduleDocument& b);

// The schedule in the state as a document.
ScheduleDocument documentOf(const ModuleState& state);

// Puts the document's schedule into a state that holds no course (right
// after "New"): each course goes in through AddCourse, which appends its
// line to the window's course list, then its sections through AddSection,
// as the Add Course and Add Section dialogs would store them; then the
// options, as "OK" in the Options dialog would store them, and the
// favourites, as ones kept from an earlier generation. The records
// must keep the rules of record_rules.h (a read file's always do); the
// store's capacities are the document's, so everything fits.
void applyDocument(ModuleState& state, MainWindowLists& window, const ScheduleDocument& document);

}  // namespace quorvandel
