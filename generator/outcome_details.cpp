#include "outcome_details.h"

#include <algorithm>
#include <string>

#include "week.h"

namespace quorvandel {

namespace {

Text number(std::size_t value) {
    const std::string digits = std::to_string(value);
    return Text(digits.begin(), digits.end());
}

const Text& nameOf(const CourseList& courses, int16_t course) {
    return courses.Courses[static_cast<size_t>(course)].CourseName;
}

// "A", "A and B", "A, B and C".
Text namesOf(const CourseList& courses, const std::vector<int16_t>& list) {
    Text text;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i > 0) text += i + 1 == list.size() ? u" and " : u", ";
        text += nameOf(courses, list[i]);
    }
    return text;
}

// "Chem 01 and Phys 1 both meet Monday 9:00-9:30"
Text meetingLine(const CourseList& courses, int16_t a, int16_t b, const SectionMeeting& m) {
    const auto section = [&courses](int16_t course, int16_t index) -> const Text& {
        return courses.Courses[static_cast<size_t>(course)].Sections[static_cast<size_t>(index)].SecNum;
    };
    return nameOf(courses, a) + u' ' + section(a, m.sectionA) + u" and " + nameOf(courses, b) + u' ' +
           section(b, m.sectionB) + u" both meet " + DayNames[static_cast<size_t>(m.day)] + u' ' +
           timeText(m.startSlot) + u'-' + timeText(m.endSlot);
}

Text clashingPairDetails(const ConflictExplanation& e, const CourseList& courses) {
    const int16_t a = e.courses[0], b = e.courses[1];
    Text text = namesOf(courses, e.courses) +
                u" cannot be taken together: every section of one clashes with every section of the other.";
    const size_t shown = std::min<size_t>(e.meetings.size(), MaxMeetingLines);
    for (size_t i = 0; i < shown; ++i) text += u'\n' + meetingLine(courses, a, b, e.meetings[i]);
    if (e.meetings.size() > shown) text += u"\nand " + number(e.meetings.size() - shown) + u" more";
    return text;
}

}  // namespace

Text coursesWithoutSectionDetails(const CourseList& courses, int numCourses) {
    Text text = u"Courses without a section:";
    for (int i = 0; i < std::min<int>(numCourses, MaxCourses); ++i)
        if (courses.Courses[static_cast<size_t>(i)].NumSections <= 0)
            text += u'\n' + courses.Courses[static_cast<size_t>(i)].CourseName;
    return text;
}

Text explanationDetails(const ConflictExplanation& e, const CourseList& courses) {
    switch (e.kind) {
    case ConflictExplanation::Kind::BlockedCourse:
        return nameOf(courses, e.courses[0]) + u": every section falls in your busy times";
    case ConflictExplanation::Kind::ClashingPair:
        return clashingPairDetails(e, courses);
    case ConflictExplanation::Kind::NoArrangement:
        return namesOf(courses, e.courses) +
               u" cannot all be taken together: their sections cannot be arranged without a clash. Without any one "
               u"of them, the others fit.";
    case ConflictExplanation::Kind::Stopped:
    case ConflictExplanation::Kind::HasTimetable:
        break;
    }
    return {};
}

void ExplainOutcome(const ModuleState& state, GenerationResult& result, const SearchControl& control,
                    const BusyCells& busy) {
    result.details.clear();
    if (result.outcome == TimeTablifyOutcome::AllClassesNeedSection) {
        result.details = coursesWithoutSectionDetails(state, state.NumCourses);
    } else if (result.outcome == TimeTablifyOutcome::NoTimetables) {
        // The generation's own search already proved that every course
        // together has no timetable.
        const ConflictExplanation e =
            ExplainNoTimetable(state, state.NumCourses, busy, control.stop, control.progress, true);
        result.details = explanationDetails(e, state);
    }
}

}  // namespace quorvandel
