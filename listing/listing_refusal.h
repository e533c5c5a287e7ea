#pragma once
// Why a listed section is not added, with the words the preview shows.

#include "schedule_model.h"

namespace quorvandel {

enum class ListingRefusal {
    None,
    NoCourse,          // the row names no course
    NoNumber,          // the row names no section number
    NoDays,            // empty, "TBA", "ARR" or no day the reader knows
    NoTime,            // empty, "TBA", "ARR" or not a time
    EndNotAfterStart,  // as written, before any rounding
    BeforeDayStart,    // starts before 8:00 once on the grid
    AfterDayEnd,       // ends after 22:30 once on the grid
    MeetingsOverlap,   // two meetings of the section share a half-hour
    TooManyMeetings,   // more meetings than a section can hold
    CourseFull,        // the course already holds its 10 sections
    TooManyCourses,    // 20 courses already
};

// "no days", "a time before 8:00", ... for the preview's status column.
Text refusalText(ListingRefusal refusal);

}  // namespace quorvandel
