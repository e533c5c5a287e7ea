#pragma once
// The whole of the program's data: the user's courses with their sections,
// the generator's working state, and the timetables the generator found.
// Everything is fixed-size arrays with a count beside them; only entries
// below the count are live. Records are plain values, so copying one copies
// its texts too and no two records ever share storage.

#include <array>
#include <cstdint>
#include <string>

#include "schedule_options.h"

namespace quorvandel {

// Texts are kept exactly as the text boxes deliver them (UTF-16 code units),
// so nothing a user types is ever changed on its way into the store.
using Text = std::u16string;

constexpr int16_t MaxCourses = 20;
constexpr int16_t MaxSectionsPerCourse = 10;
constexpr int16_t MaxStoredTimetables = 26;
constexpr int16_t DaysPerWeek = 7;
constexpr int16_t SlotsPerDay = 29;                          // 08:00 to 22:30 in half-hours
constexpr int16_t CellsPerWeek = DaysPerWeek * SlotsPerDay;  // 203
constexpr int16_t MaxMeetingsPerSection = 4;
static_assert(BusyCellCount == CellsPerWeek, "a busy time is one cell of the week");

// One weekly time of a section: the same start and end on each of its days.
struct Meeting {
    int16_t StartSlot = 0;
    int16_t EndSlot = 0;  // exclusive
    Text StartTime;
    Text EndTime;
    std::array<bool, DaysPerWeek> Days{};  // 0 = Monday .. 6 = Sunday

    friend bool operator==(const Meeting&, const Meeting&) = default;
};

// A section's own time fields are its first meeting; a section that meets
// at other times too (a lecture with its lab) keeps the others in
// MoreMeetings. week.h is the one place that walks them.
struct Section {
    Text SecNum;
    Text CourseName;
    int16_t StartSlot = 0;
    int16_t EndSlot = 0;  // exclusive: the section covers StartSlot .. EndSlot - 1
    Text StartTime;
    Text EndTime;
    std::array<bool, DaysPerWeek> Days{};                           // 0 = Monday .. 6 = Sunday
    std::array<Meeting, MaxMeetingsPerSection - 1> MoreMeetings{};  // the 2nd .. 4th meetings
    int16_t NumMoreMeetings = 0;
    // Left out by the user: kept in its course and in the file, but no
    // generation takes it, as if it did not exist. Not part of what the
    // section is: favourites match sections whatever this says
    // (sameSectionEntry in favourites.h).
    bool LeftOut = false;

    friend bool operator==(const Section&, const Section&) = default;
};

struct Course {
    Text CourseName;
    std::array<Section, MaxSectionsPerCourse> Sections{};
    int16_t NumSections = 0;

    friend bool operator==(const Course&, const Course&) = default;
};

struct Timetable {
    std::array<Section, MaxCourses> Sections{};  // entry i is the section chosen for course i
    int16_t NumSections = 0;
    // With "Show timetables with the same times once": for each course whose
    // section stands for others with the same meetings, every one of their
    // numbers ("01, 03, 05"); empty where the section stands for itself
    // alone. Sections[i] is the first of them.
    std::array<Text, MaxCourses> SameTimeNumbers{};

    friend bool operator==(const Timetable&, const Timetable&) = default;
};

struct CourseList {
    std::array<Course, MaxCourses> Courses{};
    int16_t NumCourses = 0;
};

struct TimetableList {
    std::array<Timetable, MaxStoredTimetables> Timetables{};
    int16_t NumTimetables = 0;
};

// The timetables the user marked as favourites, each kept as the sections
// it holds (favourites.h).
constexpr int16_t MaxFavourites = MaxStoredTimetables;

struct FavouriteList {
    std::array<Timetable, MaxFavourites> Favourites{};
    int16_t NumFavourites = 0;
};

struct CombinationState {
    std::array<int16_t, MaxCourses> SectionChoice{};
    bool EnumDone = false;
};

// The module state: one value holding every module variable under its own
// name (state.Courses, state.NumTimetables, ...). Every window and operation
// is handed the same value by reference; a test simply makes a fresh one.
struct ModuleState : CourseList, TimetableList, CombinationState, FavouriteList {
    int16_t CurrentTimetable = 0;
    std::array<int16_t, CellsPerWeek> Occupancy{};
    ScheduleOptions Options;  // busy times and the order of the results; "New" clears them
};

}  // namespace quorvandel
