#pragma once
// The text that names a section wherever a timetable shows it (a grid
// cell, a calendar event): the course name, " - ", the section number,
// both exactly as stored.

#include <string_view>

#include "schedule_model.h"

namespace quorvandel {

inline constexpr std::u16string_view CaptionSeparator = u" - ";

inline Text sectionCaption(const Text& courseName, const Text& secNum) {
    Text caption = courseName;
    caption += CaptionSeparator;
    caption += secNum;
    return caption;
}

inline Text sectionCaption(const Section& section) { return sectionCaption(section.CourseName, section.SecNum); }

// The numbers a timetable's cell names for course `course`: every section
// with the same times when it stands for several ("01, 03, 05"), else the
// section's own.
inline const Text& timetableNumbers(const Timetable& timetable, int course) {
    const Text& same = timetable.SameTimeNumbers[static_cast<std::size_t>(course)];
    return same.empty() ? timetable.Sections[static_cast<std::size_t>(course)].SecNum : same;
}

// The timetable with each section's number as its cell names it, for what
// names sections one by one (the printed lines, a calendar's events).
inline Timetable namingSameTimes(Timetable timetable) {
    for (int i = 0; i < timetable.NumSections; ++i)
        timetable.Sections[static_cast<std::size_t>(i)].SecNum = timetableNumbers(timetable, i);
    return timetable;
}

inline Text timetableCaption(const Timetable& timetable, int course) {
    return sectionCaption(timetable.Sections[static_cast<std::size_t>(course)].CourseName,
                          timetableNumbers(timetable, course));
}

}  // namespace quorvandel
