#pragma once
// The reference for busy times and result orders, as plain as the reference
// enumeration: every combination in enumeration order is marked on the
// 203-cell grid; one that covers a cell twice or covers a busy cell is left
// out; every other one is scored by reading the grid row by row, and the
// list is sorted by score (a stable sort, so equal scores keep enumeration
// order). It shares no code with the generator's scoring.

#include <cstdint>
#include <vector>

#include "schedule_model.h"

namespace quorvandel::plain {

struct RankedCombination {
    std::array<int16_t, MaxCourses> choice{};
    int primary = 0;
    int tieBreak = 0;
};

// Every conflict-free combination of state's courses avoiding state.Options'
// busy cells, best first by state.Options' orders ("First found" scores all
// the same, whatever the tie-break). The state's Occupancy is used and left all 0.
std::vector<RankedCombination> RankAll(ModuleState& state);

// The score of the marked Occupancy grid by one order: days with classes;
// idle half-hours between classes; minus the sum of each day's first slot;
// the sum of each day's end slot. Lower is better.
int GridScore(const ModuleState& state, ResultOrder order);

}  // namespace quorvandel::plain
