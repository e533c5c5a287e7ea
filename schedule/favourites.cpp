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

bool sameSectionEntry(const Section& a, const Section& b) {
    Section taken = b;
    taken.LeftOut = a.LeftOut;
    return a == taken;
}

bool sameSections(const Timetable& a, const Timetable& b) {
    if (a.NumSections != b.NumSections || a.NumSections < 0 || a.NumSections > MaxCourses) return false;
    return std::equal(a.Sections.begin(), a.Sections.begin() + a.NumSections, b.Sections.begin(), sameSectionEntry);
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
    return addFavourite(state, timetable);
}

bool addFavourite(ModuleState& state, const Timetable& timetable) {
    if (state.NumFavourites >= MaxFavourites || favouriteIndex(state, timetable) < state.NumFavourites) return false;
    state.Favourites[static_cast<size_t>(state.NumFavourites++)] = timetable;
    return true;
}

void clearFavourites(ModuleState& state) {
    while (state.NumFavourites > 0) removeFavourite(state, static_cast<int16_t>(state.NumFavourites - 1));
}

std::optional<FavouriteSections> sectionsOf(const CourseList& courses, const Timetable& favourite) {
    if (favourite.NumSections != courses.NumCourses || courses.NumCourses <= 0 || courses.NumCourses > MaxCourses)
        return std::nullopt;
    FavouriteSections sections;
    for (size_t c = 0; c < static_cast<size_t>(courses.NumCourses); ++c) {
        const Course& course = courses.Courses[c];
        const auto end = course.Sections.begin() + std::clamp<int16_t>(course.NumSections, 0, MaxSectionsPerCourse);
        const auto found = std::find_if(course.Sections.begin(), end,
                                        [&](const Section& s) { return sameSectionEntry(s, favourite.Sections[c]); });
        if (found == end) return std::nullopt;
        sections.push_back(static_cast<int16_t>(found - course.Sections.begin()));
    }
    return sections;
}

Timetable timetableOf(const CourseList& courses, const FavouriteSections& sections) {
    assert(sections.size() == static_cast<size_t>(courses.NumCourses) && "one section for each course");
    Timetable timetable;
    for (size_t c = 0; c < sections.size() && c < static_cast<size_t>(MaxCourses); ++c) {
        const Course& course = courses.Courses[c];
        assert(sections[c] >= 0 && sections[c] < course.NumSections && "a live section");
        timetable.Sections[c] =
            course.Sections[static_cast<size_t>(std::clamp<int16_t>(sections[c], 0, MaxSectionsPerCourse - 1))];
        timetable.NumSections = static_cast<int16_t>(c + 1);
    }
    return timetable;
}

std::vector<int16_t> favouritePositions(const ModuleState& state) {
    std::vector<int16_t> positions;
    for (int16_t p = 0; isStored(state, p); ++p) {
        if (isFavourite(state, p)) positions.push_back(p);
    }
    return positions;
}

int missingFavourites(const ModuleState& state) {
    return state.NumFavourites - static_cast<int>(favouritePositions(state).size());
}

bool keepFavouritesOfLiveSections(ModuleState& state) {
    const auto isLive = [&state](const Section& section) {
        for (size_t c = 0; c < static_cast<size_t>(std::clamp<int16_t>(state.NumCourses, 0, MaxCourses)); ++c) {
            const Course& course = state.Courses[c];
            const auto end = course.Sections.begin() + std::clamp<int16_t>(course.NumSections, 0, MaxSectionsPerCourse);
            if (std::find_if(course.Sections.begin(), end,
                             [&](const Section& s) { return sameSectionEntry(s, section); }) != end)
                return true;
        }
        return false;
    };
    const int16_t before = state.NumFavourites;
    for (int16_t i = static_cast<int16_t>(state.NumFavourites - 1); i >= 0; --i) {
        const Timetable& favourite = state.Favourites[static_cast<size_t>(i)];
        const auto end = favourite.Sections.begin() + std::clamp<int16_t>(favourite.NumSections, 0, MaxCourses);
        if (!std::all_of(favourite.Sections.begin(), end, isLive)) removeFavourite(state, i);
    }
    return state.NumFavourites != before;
}

}  // namespace quorvandel
