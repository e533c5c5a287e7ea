#include "section_copies.h"

#include <cassert>

#include "week_mask.h"

namespace quorvandel {

SectionCopies::SectionCopies(const CourseList& courses, int numCourses, bool merge) : n_(numCourses) {
    assert(0 <= n_ && n_ <= MaxCourses);
    for (int a = 0; a < n_; ++a) {
        const Course& course = courses.Courses[static_cast<size_t>(a)];
        assert(0 <= course.NumSections && course.NumSections <= MaxSectionsPerCourse);
        std::array<WeekMask, MaxSectionsPerCourse> kinds{};
        int numKinds = 0;
        for (int j = 0; j < course.NumSections; ++j) {
            // Without merging, every section is a kind of its own: no cells to compare.
            const WeekMask cells = merge ? sectionMask(course.Sections[static_cast<size_t>(j)]) : WeekMask{};
            int kind = 0;
            while (kind < numKinds && !(merge && kinds[kind] == cells)) ++kind;
            if (kind == numKinds)
                kinds[numKinds++] = cells;
            else
                anyCopies_ = true;
            distinctOf_[a][j] = static_cast<std::int8_t>(kind);
            copies_[a][kind].insert(j);
        }
    }
}

std::unique_ptr<CourseList> SectionCopies::distinctCourses(const CourseList& courses) const {
    auto distinct = std::make_unique<CourseList>();
    distinct->NumCourses = static_cast<int16_t>(n_);
    for (int a = 0; a < n_; ++a) {
        const Course& course = courses.Courses[static_cast<size_t>(a)];
        Course& kept = distinct->Courses[static_cast<size_t>(a)];
        kept.CourseName = course.CourseName;
        for (int j = 0; j < course.NumSections; ++j)
            if (distinctOf_[a][j] == kept.NumSections)
                kept.Sections[static_cast<size_t>(kept.NumSections++)] = course.Sections[static_cast<size_t>(j)];
    }
    return distinct;
}

SectionSet SectionCopies::copiesOf(int course, SectionSet distinct) const {
    SectionSet real;
    for (int d : distinct) real |= copies_[course][d];
    return real;
}

// An odometer over each course's copies, course 0 turning fastest.
int SectionCopies::expand(const Choice& distinct, Choice* out, int most) const {
    Choice real{};
    for (int a = 0; a < n_; ++a) real[a] = static_cast<int16_t>(copies_[a][distinct[a]].first());
    int written = 0;
    while (written < most) {
        out[written++] = real;
        int a = 0;
        for (; a < n_; ++a) {
            const SectionSet later = copies_[a][distinct[a]] - SectionSet::firstN(real[a] + 1);
            if (!later.empty()) {
                real[a] = static_cast<int16_t>(later.first());
                break;
            }
            real[a] = static_cast<int16_t>(copies_[a][distinct[a]].first());
        }
        if (a == n_) break;  // every combination written
    }
    return written;
}

long long SectionCopies::countExpansions(const Choice& distinct, long long cap) const {
    long long total = 1;
    for (int a = 0; a < n_ && total < cap; ++a) total *= copies_[a][distinct[a]].count();
    return total < cap ? total : cap;
}

}  // namespace quorvandel
