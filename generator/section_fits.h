#pragma once
// What both searches precompute from the courses before they start: each
// section's cells as a week mask, each course's sections as a set, and for
// every section the sections of every other course that fit beside it.

#include <array>

#include "schedule_model.h"
#include "section_set_row.h"
#include "week_mask.h"

namespace quorvandel {

using SectionMasks = std::array<std::array<WeekMask, MaxSectionsPerCourse>, MaxCourses>;
// fits[a][j][b]: the sections of course b that share no cell with section
// j of course a. Lane a itself stays empty.
using FitTable = std::array<std::array<SectionSetRow, MaxSectionsPerCourse>, MaxCourses>;

// For courses[0 .. numCourses-1] (each with 0 .. 10 sections): lane a holds
// sections 0 .. NumSections-1 of course a.
SectionSetRow everySection(const CourseList& courses, int numCourses);
SectionMasks sectionMasksOf(const CourseList& courses, int numCourses);
// Fills fits for the courses whose sections are `all`.
void fillPairwiseFits(const SectionMasks& masks, const SectionSetRow& all, int numCourses, FitTable& fits);

// For every cell of the week, the sections of `all` covering it: bit
// a * MaxSectionsPerCourse + j for section j of course a.
using CellCoverers = std::array<WeekMask, CellsPerWeek>;
CellCoverers coverersOf(const SectionMasks& masks, const SectionSetRow& all, int numCourses);

}  // namespace quorvandel
