#pragma once
// The colours of the timetable grid's occupied cells: one fill per course,
// and the caption colour to draw on it.
//
// Course i of a timetable always gets entry i, so a course keeps its colour
// in every timetable of a generation. The fills are light pastels: every
// one has a relative luminance of at least 0.40, so black captions (and the
// grid's 1 px black lines) stand out from it by at least 9:1, and every one
// is coloured enough to tell an occupied cell from the white grid at a
// glance. They are ordered so that the first few, which a typical schedule
// of four to eight courses uses, lie furthest apart, and so that courses
// next to each other in the list differ clearly.

#include <QColor>

#include "schedule_model.h"

namespace quorvandel {

constexpr int CoursePaletteSize = MaxCourses;  // one entry per course index

struct CourseColours {
    QColor fill;
    QColor caption;  // black or white, whichever stands out more from the fill
};

// The colours of course `courseIndex`, 0 .. CoursePaletteSize - 1.
CourseColours courseColours(int courseIndex);

}  // namespace quorvandel
