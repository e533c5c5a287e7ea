#pragma once
// The sections a generation may use: those the user has not left out and
// that cover no busy half-hour. The
// searches run on a copy of the courses without the others, as if they did
// not exist; realIndex turns what they find back into the courses' own
// section indices, so stored timetables name the real sections.

#include <array>
#include <cstdint>

#include "schedule_model.h"

namespace quorvandel {

struct UsableSections {
    CourseList courses;  // each course keeps its usable sections, in their order
    std::array<std::array<int16_t, MaxSectionsPerCourse>, MaxCourses> realIndex{};
    int16_t everySectionBusy = -1;  // the first course with sections, none of them usable; -1 for none
    // The first course with sections, every one of them left out; -1 for
    // none. The user did that, so it is said before the busy times.
    int16_t everySectionLeftOut = -1;
};

// Fills `usable` from courses[0 .. numCourses-1]. With no busy cell every
// section is usable and every index its own.
void findUsableSections(const CourseList& courses, int numCourses, const BusyCells& busy, UsableSections& usable);

// For each course and each of its own section indices: the numbers of every
// usable section with the same times when there are several ("01, 03, 05"),
// else empty.
using SameTimeNumbers = std::array<std::array<Text, MaxSectionsPerCourse>, MaxCourses>;

// "Show timetables with the same times once": keeps one usable section of
// each course for every set of sections covering the same cells, the first
// of them, in their order, so that the searches meet each arrangement of
// times once. `numbers`, when given, receives what each kept section stands
// for, by its own index in the courses.
void keepOneOfSameTimes(UsableSections& usable, int numCourses, SameTimeNumbers* numbers);

}  // namespace quorvandel
