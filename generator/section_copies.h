#pragma once
// Sections of one course that cover exactly the same cells can replace each
// other in every timetable: they clash with the same sections, and every
// result order scores them alike. A search over many such copies (several
// lab sections at one hour, a number typed twice) repeats the same work for
// each of them, so the searches work on one section of each kind, its
// "distinct" section (the first of its copies), and turn what they find back
// into the courses' own sections only when a timetable is kept.
//
// The distinct sections keep the order of their first copies, so a
// combination of distinct sections comes before another in enumeration order
// exactly when its first real expansion (each course's first copy) does.

#include <array>
#include <cstdint>
#include <memory>

#include "schedule_model.h"
#include "small_bit_set.h"

namespace quorvandel {

class SectionCopies {
public:
    using Choice = std::array<int16_t, MaxCourses>;

    // Groups the sections of courses[0 .. numCourses-1] by the cells they
    // cover. Without `merge` every section is a kind of its own (the
    // searches then see the courses as they are).
    SectionCopies(const CourseList& courses, int numCourses, bool merge);

    // The courses with one section of each kind, the first of its copies,
    // in their order.
    std::unique_ptr<CourseList> distinctCourses(const CourseList& courses) const;

    // Which distinct section section j of course a is a copy of.
    int distinctOf(int course, int section) const { return distinctOf_[course][section]; }
    // Every section of the course that is a copy of one in `distinct`.
    SectionSet copiesOf(int course, SectionSet distinct) const;
    // The course's sections with copies, as against one section of each kind.
    bool anyCopies() const { return anyCopies_; }

    // The real combinations a combination of distinct sections stands for,
    // in enumeration order (course 0's section varies fastest): the first
    // `most` of them go to out[0 ..]. Returns how many were written.
    int expand(const Choice& distinct, Choice* out, int most) const;
    // How many real combinations it stands for, counted up to `cap`.
    long long countExpansions(const Choice& distinct, long long cap) const;

private:
    int n_;
    bool anyCopies_ = false;
    std::array<std::array<std::int8_t, MaxSectionsPerCourse>, MaxCourses> distinctOf_{};
    std::array<std::array<SectionSet, MaxSectionsPerCourse>, MaxCourses> copies_{};
};

}  // namespace quorvandel
