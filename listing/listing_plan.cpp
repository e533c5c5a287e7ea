#include "listing_plan.h"

#include "listed_section_record.h"
#include "week.h"

namespace quorvandel {

namespace {

bool meetingsOverlap(const std::vector<ListedMeeting>& meetings) {
    for (std::size_t i = 0; i < meetings.size(); ++i)
        for (std::size_t j = i + 1; j < meetings.size(); ++j) {
            const ListedMeeting& a = meetings[i];
            const ListedMeeting& b = meetings[j];
            if (a.startSlot >= b.endSlot || b.startSlot >= a.endSlot) continue;
            for (std::size_t d = 0; d < a.days.size(); ++d)
                if (a.days[d] && b.days[d]) return true;
        }
    return false;
}

Text meetingsText(const ListedSection& listed) {
    if (listed.refusal != ListingRefusal::None) return listed.refusedRowText;
    Text text;
    for (const ListedMeeting& meeting : listed.meetings) {
        if (!text.empty()) text += u", ";
        text += timeText(meeting.startSlot) + u" - " + timeText(meeting.endSlot);
        for (std::size_t d = 0; d < meeting.days.size(); ++d)
            if (meeting.days[d]) text += u' ' + DayAbbreviations[d];
    }
    return text;
}

Text roundingNotes(const ListedSection& listed) {
    Text notes;
    for (const ListedMeeting& meeting : listed.meetings)
        if (!meeting.roundingNote.empty()) notes += u"; Rounded: " + meeting.roundingNote;
    return notes;
}

int courseNamed(const CourseList& courses, const Text& name) {
    for (int16_t i = 0; i < courses.NumCourses; ++i)
        if (courses.Courses[static_cast<std::size_t>(i)].CourseName == name) return i;
    return -1;
}

// Where the line goes in the courses as they will be, and the line's status.
void judge(CourseList& will, const ListedSection& listed, PlanLine& line) {
    line.refusal = listed.refusal;
    if (line.refusal == ListingRefusal::None && meetingsOverlap(listed.meetings))
        line.refusal = ListingRefusal::MeetingsOverlap;
    if (line.refusal == ListingRefusal::None) {
        const ListedRecord record = listedSectionRecord(listed);
        line.refusal = record.refusal;
        line.record = record.section;
    }
    if (line.refusal != ListingRefusal::None) return;
    const int index = courseNamed(will, listed.course);
    if (index == -1 && will.NumCourses >= MaxCourses) {
        line.refusal = ListingRefusal::TooManyCourses;
        return;
    }
    Course& course = index == -1 ? will.Courses[static_cast<std::size_t>(will.NumCourses)]
                                 : will.Courses[static_cast<std::size_t>(index)];
    if (index == -1) {
        course = Course{};
        course.CourseName = listed.course;
        ++will.NumCourses;
        line.status = PlanStatus::NewCourse;
    } else {
        for (int16_t s = 0; s < course.NumSections; ++s)
            if (isSameSection(course.Sections[static_cast<std::size_t>(s)], line.record)) {
                line.status = PlanStatus::AlreadyThere;
                return;
            }
        if (course.NumSections >= MaxSectionsPerCourse) {
            line.refusal = ListingRefusal::CourseFull;
            return;
        }
        line.status = PlanStatus::AddToCourse;
    }
    course.Sections[static_cast<std::size_t>(course.NumSections++)] = line.record;
}

}  // namespace

ListingPlan planListing(const CourseList& courses, const Listing& listing) {
    ListingPlan plan;
    plan.truncated = listing.truncated;
    CourseList will = courses;
    for (const ListedSection& listed : listing.sections) {
        PlanLine line;
        line.course = listed.course;
        line.number = listed.number;
        line.meetings = meetingsText(listed);
        judge(will, listed, line);
        if (line.refusal != ListingRefusal::None) {
            line.status = PlanStatus::Refused;
            line.record = {};
            line.statusText = u"Refused: " + refusalText(line.refusal);
            ++plan.refused;
        } else if (line.status == PlanStatus::AlreadyThere) {
            line.statusText = u"Already there";
            ++plan.alreadyThere;
        } else {
            line.statusText = line.status == PlanStatus::NewCourse ? Text(u"New course") : u"Add to " + listed.course;
            line.statusText += roundingNotes(listed);
            ++plan.sectionsToAdd;
            if (line.status == PlanStatus::NewCourse) ++plan.newCourses;
        }
        plan.lines.push_back(std::move(line));
    }
    return plan;
}

Text planSummary(const ListingPlan& plan) {
    auto counted = [](int n, const char16_t* one, const char16_t* many) {
        return numberText(n) + u' ' + (n == 1 ? one : many);
    };
    Text text = counted(plan.sectionsToAdd, u"section to add", u"sections to add");
    if (plan.newCourses > 0) text += u" (" + counted(plan.newCourses, u"new course", u"new courses") + u')';
    text += u", " + numberText(plan.alreadyThere) + u" already there, " + numberText(plan.refused) + u" refused";
    if (plan.truncated)
        text += u". Only the first " + numberText(static_cast<long long>(MaxListingRows)) +
                u" rows were read; the rest was not read.";
    return text;
}

}  // namespace quorvandel
