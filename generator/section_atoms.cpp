#include "section_atoms.h"

#include <array>

namespace quorvandel {

SectionAtoms atomsOf(const SectionMasks& masks, const SectionSetRow& all, int numCourses) {
    std::array<WeekMask, CellsPerWeek> coveredBy{};  // bit a * MaxSectionsPerCourse + j
    static_assert(MaxCourses * MaxSectionsPerCourse <= WeekMask::Capacity, "a week mask can name every section");
    for (int a = 0; a < numCourses; ++a)
        for (int j : all[a]) masks[a][j].forEach([&](int cell) { coveredBy[cell].set(a * MaxSectionsPerCourse + j); });
    constexpr int NoAtom = -1;
    std::array<int, CellsPerWeek> atomOfCell{};
    std::array<int, CellsPerWeek> firstCellOfAtom{};
    SectionAtoms result;
    for (int cell = 0; cell < CellsPerWeek; ++cell) {
        atomOfCell[cell] = NoAtom;
        if (coveredBy[cell].empty()) continue;
        for (int atom = 0; atom < result.numAtoms && atomOfCell[cell] == NoAtom; ++atom)
            if (coveredBy[firstCellOfAtom[atom]] == coveredBy[cell]) atomOfCell[cell] = atom;
        if (atomOfCell[cell] == NoAtom) {
            firstCellOfAtom[result.numAtoms] = cell;
            atomOfCell[cell] = result.numAtoms++;
        }
    }
    for (int a = 0; a < numCourses; ++a)
        for (int j : all[a]) masks[a][j].forEach([&](int cell) { result.atomsOf[a][j].set(atomOfCell[cell]); });
    return result;
}

}  // namespace quorvandel
