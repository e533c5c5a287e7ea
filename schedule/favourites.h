#pragma once
// Favourites: stored timetables the user marked. A favourite is kept as the
// sections it holds, not as a position among the results, so it is still
// marked when a later "TimeTablify!" finds the same sections again, wherever
// they come in the new order. After each generation only the favourites
// found again are kept (keepFoundFavourites): the others could never be shown
// or unmarked. Positions are indexes into Timetables, 0 .. NumTimetables - 1.

#include <cstdint>
#include <vector>

#include "schedule_model.h"

namespace quorvandel {

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

// After a generation: forgets the favourites that are not among the stored
// timetables.
void keepFoundFavourites(ModuleState& state);

}  // namespace quorvandel
