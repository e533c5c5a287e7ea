#pragma once
// What "Add" would do with a read listing, line by line, before anything in
// the schedule changes: the preview of "Get Sections".

#include <optional>
#include <vector>

#include "listed_section.h"
#include "schedule_model.h"

namespace quorvandel {

enum class PlanStatus { NewCourse, AddToCourse, AlreadyThere, Refused };

struct PlanLine {
    Text course;
    Text number;
    Text meetings;  // "9:00 - 10:00 M W F", several joined by ", "
    PlanStatus status = PlanStatus::Refused;
    ListingRefusal refusal = ListingRefusal::None;
    Text statusText;  // "New course", "Add to Chem", "Already there", "Refused: no days"; then any "Rounded: ..."
    Section record;   // what is stored, for NewCourse and AddToCourse
};

struct ListingPlan {
    std::vector<PlanLine> lines;
    int sectionsToAdd = 0;
    int newCourses = 0;
    int alreadyThere = 0;
    int refused = 0;
    bool truncated = false;
};

// Each line judged against the courses as they will be once the lines
// before it are added, so the capacities count the listing's own sections.
ListingPlan planListing(const CourseList& courses, const Listing& listing);

// The line above the preview: "3 sections to add (1 new course), 1 already
// there, 2 refused", and a sentence more when rows were left unread.
Text planSummary(const ListingPlan& plan);

}  // namespace quorvandel
