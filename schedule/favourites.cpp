#include "favourites.h"

#include <algorithm>
#include <cassert>

namespace quorvandel {

namespace {

bool isStored(const ModuleState& state, int16_t position) {
    return 0 <= position && position < state.NumTimetables && state.NumTimetables <= MaxStoredTimetables;
}

// The index in Favourites of the favourite holding the same sections as
// `timetable`, or NumFavourites when there is none.
int16_t favouriteIndex(const ModuleState& state, const Timetable& timetable) {
    for (int16_t i = 0; i < state.NumFavourites; ++i) {
        if (sameSections(state.Favourites[static_cast<size_t>(i)], timetable)) return i;
    }
    return state.NumFavourites;
}

void removeFavourite(ModuleState& state, int16_t index) {
    for (int16_t i = index; i + 1 < state.NumFavourites; ++i)
        state.Favourites[static_cast<size_t>(i)] = state.Favourites[static_cast<size_t>(i + 1)];
    --state.NumFavourites;
    state.Favourites[static_cast<size_t>(state.NumFavourites)] = Timetable{};
}

}  // namespace

bool sameSections(const Timetable& a, const Timetable& b) {
    if (a.NumSections != b.NumSections || a.NumSections < 0 || a.NumSections > MaxCourses) return false;
    return std::equal(a.Sections.begin(), a.Sections.begin() + a.NumSections, b.Sections.begin());
}

bool isFavourite(const ModuleState& state, int16_t position) {
    assert(isStored(state, position) && "a favourite is asked about a stored timetable");
    if (!isStored(state, position)) return false;
    return favouriteIndex(state, state.Timetables[static_cast<size_t>(position)]) < state.NumFavourites;
}

bool canMarkFavourite(const ModuleState& state, int16_t position) {
    return isStored(state, position) && !isFavourite(state, position) && state.NumFavourites < MaxFavourites;
}

bool toggleFavourite(ModuleState& state, int16_t position) {
    assert(isStored(state, position) && "only a stored timetable can be marked");
    if (!isStored(state, position)) return false;
    const Timetable& timetable = state.Timetables[static_cast<size_t>(position)];
    const int16_t index = favouriteIndex(state, timetable);
    if (index < state.NumFavourites) {
        removeFavourite(state, index);
        return false;
    }
    if (state.NumFavourites >= MaxFavourites) return false;
    state.Favourites[static_cast<size_t>(state.NumFavourites++)] = timetable;
    return true;
}

std::vector<int16_t> favouritePositions(const ModuleState& state) {
    std::vector<int16_t> positions;
    for (int16_t p = 0; isStored(state, p); ++p) {
        if (isFavourite(state, p)) positions.push_back(p);
    }
    return positions;
}

void keepFoundFavourites(ModuleState& state) {
    for (int16_t i = state.NumFavourites - 1; i >= 0; --i) {
        const Timetable& favourite = state.Favourites[static_cast<size_t>(i)];
        bool found = false;
        for (int16_t p = 0; isStored(state, p) && !found; ++p)
            found = sameSections(state.Timetables[static_cast<size_t>(p)], favourite);
        if (!found) removeFavourite(state, i);
    }
}

}  // namespace quorvandel
