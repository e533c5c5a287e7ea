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

}  // namespace quorvandel
