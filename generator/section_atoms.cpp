#include "section_atoms.h"

#include <array>

#include "subproblem_key.h"

namespace quorvandel {

namespace {

// Cells grouped by the set of sections covering them, in an open-addressed
// table: a week has at most CellsPerWeek groups, so a table of twice that
// many slots never fills and probes stay short. Comparing every cell with
// the first cell of each atom so far took a third of building a search.
class AtomsByCoverers {
public:
    static constexpr int NoAtom = -1;

    // The atom of cells covered by exactly `coverers`, numbered in order of
    // first sight.
    int atomOf(const WeekMask& coverers) {
        // The memo's mix of four words serves a week mask as well.
        for (auto slot = static_cast<unsigned>(hashOf(coverers.words)) & SlotMask;; slot = (slot + 1) & SlotMask) {
            Slot& s = slots_[slot];
            if (s.atom == NoAtom) {
                s = {coverers, numAtoms_++};
                return s.atom;
            }
            if (s.coverers == coverers) return s.atom;
        }
    }
    int numAtoms() const { return numAtoms_; }

private:
    static constexpr unsigned Slots = 512;
    static constexpr unsigned SlotMask = Slots - 1;
    static_assert(Slots >= 2 * CellsPerWeek, "the table never fills");

    struct Slot {
        WeekMask coverers;
        int atom = NoAtom;
    };
    std::array<Slot, Slots> slots_{};
    int numAtoms_ = 0;
};

}  // namespace

SectionAtoms atomsOf(const SectionMasks& masks, const SectionSetRow& all, int numCourses) {
    const CellCoverers coveredBy = coverersOf(masks, all, numCourses);
    std::array<int, CellsPerWeek> atomOfCell{};
    AtomsByCoverers atoms;
    for (int cell = 0; cell < CellsPerWeek; ++cell)
        atomOfCell[cell] = coveredBy[cell].empty() ? AtomsByCoverers::NoAtom : atoms.atomOf(coveredBy[cell]);
    SectionAtoms result;
    result.numAtoms = atoms.numAtoms();
    for (int a = 0; a < numCourses; ++a)
        for (int j : all[a]) masks[a][j].forEach([&](int cell) { result.atomsOf[a][j].set(atomOfCell[cell]); });
    return result;
}

}  // namespace quorvandel
