#include "section_fits.h"

#include <cassert>

namespace quorvandel {

SectionSetRow everySection(const CourseList& courses, int numCourses) {
    SectionSetRow all;
    for (int a = 0; a < numCourses; ++a) {
        const int count = courses.Courses[static_cast<size_t>(a)].NumSections;
        assert(0 <= count && count <= MaxSectionsPerCourse);
        all[a] = SectionSet::firstN(count);
    }
    return all;
}

SectionMasks sectionMasksOf(const CourseList& courses, int numCourses) {
    SectionMasks masks{};
    for (int a = 0; a < numCourses; ++a) {
        const Course& course = courses.Courses[static_cast<size_t>(a)];
        for (int j = 0; j < course.NumSections && j < MaxSectionsPerCourse; ++j)
            masks[static_cast<size_t>(a)][static_cast<size_t>(j)] =
                sectionMask(course.Sections[static_cast<size_t>(j)]);
    }
    return masks;
}

CellCoverers coverersOf(const SectionMasks& masks, const SectionSetRow& all, int numCourses) {
    static_assert(MaxCourses * MaxSectionsPerCourse <= WeekMask::Capacity, "a week mask can name every section");
    CellCoverers coveredBy{};
    for (int a = 0; a < numCourses; ++a)
        for (int j : all[a]) masks[a][j].forEach([&](int cell) { coveredBy[cell].set(a * MaxSectionsPerCourse + j); });
    return coveredBy;
}

namespace {

// Course b's sections among the sections named in m (numbered as in
// CellCoverers).
SectionSet sectionsOfCourse(const WeekMask& m, int b) {
    const int first = b * MaxSectionsPerCourse;
    const int word = first / WeekMask::WordBits, shift = first % WeekMask::WordBits;
    std::uint64_t bits = m.words[static_cast<size_t>(word)] >> shift;
    if (shift + MaxSectionsPerCourse > WeekMask::WordBits)
        bits |= m.words[static_cast<size_t>(word + 1)] << (WeekMask::WordBits - shift);
    return SectionSet::fromBits(static_cast<unsigned>(bits) & ((1U << MaxSectionsPerCourse) - 1U));
}

}  // namespace

// A section clashes with every section covering one of its cells: the
// union of its cells' coverers, so no pair of sections is compared.
void fillPairwiseFits(const SectionMasks& masks, const SectionSetRow& all, int numCourses, FitTable& fits) {
    const CellCoverers coveredBy = coverersOf(masks, all, numCourses);
    for (int a = 0; a < numCourses; ++a)
        for (int j : all[a]) {
            WeekMask clashing;
            masks[a][j].forEach([&](int cell) { clashing |= coveredBy[cell]; });
            for (int b = 0; b < numCourses; ++b)
                if (b != a) fits[a][j][b] = all[b] - sectionsOfCourse(clashing, b);
        }
}

}  // namespace quorvandel
