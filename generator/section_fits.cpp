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

void fillPairwiseFits(const SectionMasks& masks, const SectionSetRow& all, int numCourses, FitTable& fits) {
    for (int a = 0; a < numCourses; ++a)
        for (int j : all[a])
            for (int b = 0; b < numCourses; ++b) {
                if (b == a) continue;
                // Every index tested, branch-free: the compiler unrolls this.
                unsigned fit = 0;
                for (int k = 0; k < MaxSectionsPerCourse; ++k)
                    fit |= static_cast<unsigned>(!masks[a][j].intersects(masks[b][k])) << k;
                fits[a][j][b] = all[b] & SectionSet::fromBits(fit);
            }
}

}  // namespace quorvandel
