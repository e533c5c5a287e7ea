#include "usable_sections.h"

#include <cassert>

#include "section_copies.h"
#include "week.h"

namespace quorvandel {

namespace {

bool coversBusyCell(const Section& section, const BusyCells& busy) {
    bool covers = false;
    forEachCoveredCell(section, [&](int cell) { covers = covers || busy.test(static_cast<size_t>(cell)); });
    return covers;
}

}  // namespace

void findUsableSections(const CourseList& courses, int numCourses, const BusyCells& busy, UsableSections& usable) {
    assert(0 <= numCourses && numCourses <= MaxCourses);
    usable.everySectionBusy = -1;
    usable.everySectionLeftOut = -1;
    usable.courses.NumCourses = static_cast<int16_t>(numCourses);
    for (int a = 0; a < numCourses; ++a) {
        const Course& course = courses.Courses[static_cast<size_t>(a)];
        Course& kept = usable.courses.Courses[static_cast<size_t>(a)];
        kept.CourseName = course.CourseName;
        kept.NumSections = 0;
        bool everyLeftOut = course.NumSections > 0;
        for (int j = 0; j < course.NumSections && j < MaxSectionsPerCourse; ++j) {
            const Section& section = course.Sections[static_cast<size_t>(j)];
            everyLeftOut = everyLeftOut && section.LeftOut;
            if (section.LeftOut) continue;
            if (busy.any() && coversBusyCell(section, busy)) continue;
            usable.realIndex[static_cast<size_t>(a)][static_cast<size_t>(kept.NumSections)] = static_cast<int16_t>(j);
            kept.Sections[static_cast<size_t>(kept.NumSections++)] = section;
        }
        if (everyLeftOut && usable.everySectionLeftOut < 0) usable.everySectionLeftOut = static_cast<int16_t>(a);
        if (course.NumSections > 0 && kept.NumSections == 0 && usable.everySectionBusy < 0)
            usable.everySectionBusy = static_cast<int16_t>(a);
    }
}

void keepOneOfSameTimes(UsableSections& usable, int numCourses, SameTimeNumbers* numbers) {
    const SectionCopies copies(usable.courses, numCourses, true);
    const std::unique_ptr<CourseList> distinct = copies.distinctCourses(usable.courses);
    for (int a = 0; a < numCourses; ++a) {
        auto& realIndex = usable.realIndex[static_cast<size_t>(a)];
        const Course& course = usable.courses.Courses[static_cast<size_t>(a)];
        const int kinds = distinct->Courses[static_cast<size_t>(a)].NumSections;
        std::array<int16_t, MaxSectionsPerCourse> kept{};
        for (int d = 0; d < kinds; ++d) {
            const SectionSet same = copies.copiesOf(a, SectionSet::single(d));
            kept[static_cast<size_t>(d)] = realIndex[static_cast<size_t>(same.first())];
            if (numbers == nullptr || !same.hasAtLeastTwo()) continue;
            Text joined;
            for (int j : same) {
                if (!joined.empty()) joined += u", ";
                joined += course.Sections[static_cast<size_t>(j)].SecNum;
            }
            (*numbers)[static_cast<size_t>(a)][static_cast<size_t>(kept[static_cast<size_t>(d)])] = joined;
        }
        realIndex = kept;
    }
    usable.courses = *distinct;
}

}  // namespace quorvandel
