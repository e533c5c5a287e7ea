#pragma once
// Favourites: stored timetables the user marked. A favourite is kept as the
// sections it holds, not as a position among the results, so it is still
// marked when a later "TimeTablify!" finds the same sections again, wherever
// they come in the new order. A generation that does not find a favourite
// (busy times leave one of its sections out, or it is not among the 26
// kept) forgets nothing: the student marked it, and a later generation may
// find it again. A favourite goes when the user unmarks it or removes one of
// its sections (keepFavouritesOfLiveSections), as it can never be found
// then. Positions are indexes into Timetables, 0 .. NumTimetables - 1.
//
// A schedule file keeps a favourite as the indexes of its sections, course by
// course (FavouriteSections). Loaded favourites are not among the stored
// timetables yet; they are kept as favourites are across a generation, and
// show as marked when a "TimeTablify!" finds the same sections.

#include <cstdint>
#include <optional>
#include <vector>

#include "schedule_model.h"

namespace quorvandel {

// Whether two sections are the same entry: everything alike but whether
// they are left out, which the user may switch at any time without making
// a favourite another timetable.
bool sameSectionEntry(const Section& a, const Section& b);

// Whether two timetables hold the same sections, course by course.
bool sameSections(const Timetable& a, const Timetable& b);

// Whether the stored timetable at `position` is a favourite.
bool isFavourite(const ModuleState& state, int16_t position);

// Whether the stored timetable at `position` can be marked now: it is not a
// favourite yet and the list has room.
bool canMarkFavourite(const ModuleState& state, int16_t position);

// Marks or unmarks the stored timetable at `position`; returns whether it
// is a favourite afterwards. Marking a full list changes nothing.
bool toggleFavourite(ModuleState& state, int16_t position);

// The positions of the stored timetables that are favourites, in order.
std::vector<int16_t> favouritePositions(const ModuleState& state);

// How many favourites are not among the stored timetables.
int missingFavourites(const ModuleState& state);

// After a course or a section is removed: forgets the favourites holding a
// section that no live course holds any more. True when one was forgotten.
bool keepFavouritesOfLiveSections(ModuleState& state);

// Forgets every favourite ("New": they belong to the schedule that is gone).
void clearFavourites(ModuleState& state);

// For each live course in order, the index of the section a favourite takes.
using FavouriteSections = std::vector<int16_t>;

// The favourite's sections as indexes into the live courses as they are now
// (the first of two identical sections); nothing when it does not take one
// of each, as when a course or a section it takes was removed after it was
// marked: such a favourite can never be found again.
std::optional<FavouriteSections> sectionsOf(const CourseList& courses, const Timetable& favourite);

// The timetable taking those sections; each index names a live section.
Timetable timetableOf(const CourseList& courses, const FavouriteSections& sections);

// Marks a timetable that need not be stored (one read from a file). False
// when it is a favourite already or the list is full.
bool addFavourite(ModuleState& state, const Timetable& timetable);

}  // namespace quorvandel
