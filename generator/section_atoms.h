#pragma once
// The week's atoms: its covered cells grouped by the exact set of sections
// covering them. Every section is a union of atoms, and two sections sharing
// an atom clash, so the sections of a timetable own their atoms outright:
// a count in atoms sees what a count in cells cannot when blocks differ in
// length (two blocks of four and of five half-hours are two atoms each).

#include "section_fits.h"
#include "week_mask.h"

namespace quorvandel {

struct SectionAtoms {
    // atomsOf[a][j]: the atoms section j of course a covers, numbered in
    // order of their first cell.
    SectionMasks atomsOf{};
    int numAtoms = 0;
};

// The atoms of the sections `all` of courses 0 .. numCourses-1.
SectionAtoms atomsOf(const SectionMasks& masks, const SectionSetRow& all, int numCourses);

}  // namespace quorvandel
