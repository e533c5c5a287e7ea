#pragma once
// Why a schedule has no timetable: a smallest set of courses that cannot all
// be taken together, in the sense that taking any one course out of the set
// leaves the rest of the set possible.
//
// A single course is such a set when every section of it falls in the busy
// times; two courses are when every section of one clashes with every
// section of the other. Both are looked for first, since they give the
// plainest reason. Failing those, the set is found by deletion: courses are
// taken out one at a time, in course order, and a course stays out when the
// courses left still have no timetable. One timetable search over every
// course decides each step (TimetableSearch::firstAmong), so its tables,
// atoms and room bound are built once and what it proved empty at one step
// is known at the next; a timetable found for an earlier step that mends
// into one for this step answers without a search.
//
// Invariants asserted: every timetable found or mended is one (later steps
// mend from it), and the set found by deletion has at least three courses.

#include <atomic>
#include <bitset>
#include <cstdint>
#include <functional>
#include <vector>

#include "schedule_model.h"

namespace quorvandel {

// Where two sections of different courses first meet in the week: the
// earliest shared cell and the half-hours that follow it on that day while
// both still meet.
struct SectionMeeting {
    int16_t sectionA = 0, sectionB = 0;  // section indices in the first and second course
    int16_t day = 0;
    int16_t startSlot = 0, endSlot = 0;  // endSlot exclusive

    friend bool operator==(const SectionMeeting&, const SectionMeeting&) = default;
};

struct ConflictExplanation {
    enum class Kind {
        Stopped,        // the stop flag was set; nothing is known
        HasTimetable,   // the courses do have a timetable: nothing to explain
        BlockedCourse,  // courses[0]: every section falls in the busy times
        ClashingPair,   // courses[0], courses[1]: every pair of sections clashes
        NoArrangement,  // three or more courses, found by deletion
    };
    Kind kind = Kind::Stopped;
    std::vector<int16_t> courses;  // indices into the course list, increasing
    // ClashingPair: every pair of the two courses' usable sections, the
    // first course's section varying slowest.
    std::vector<SectionMeeting> meetings;
};

// Explains why courses[0 .. numCourses-1] have no timetable. stop is checked
// between and during the searches; progress, when set, is called on the
// calling thread with the number of deletion steps done so far (at most
// numCourses). Every course should have at least one section; a course
// without one is simply a blocked course. noneKnown says that the caller's
// own search over every course (with the same busy times) found no
// timetable, so the deletion starts from that instead of proving it again:
// on a hard schedule that proof is most of the work.
ConflictExplanation ExplainNoTimetable(const CourseList& courses, int numCourses, const BusyCells& busy = {},
                                       const std::atomic<bool>* stop = nullptr,
                                       const std::function<void(int)>& progress = {}, bool noneKnown = false);

}  // namespace quorvandel
