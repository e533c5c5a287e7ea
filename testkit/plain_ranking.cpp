#include "plain_ranking.h"

#include <algorithm>

#include "plain_enumeration.h"

namespace quorvandel::plain {

int GridScore(const ModuleState& state, ResultOrder order) {
    int score = 0;
    for (int d = 0; d < DaysPerWeek; ++d) {
        int first = -1, last = -1, taken = 0;
        for (int s = 0; s < SlotsPerDay; ++s)
            if (state.Occupancy[static_cast<size_t>(d * SlotsPerDay + s)] > 0) {
                if (first < 0) first = s;
                last = s;
                ++taken;
            }
        if (first < 0) continue;
        if (order == ResultOrder::FewestDays) score += 1;
        if (order == ResultOrder::FewestIdle) score += (last - first + 1) - taken;
        if (order == ResultOrder::LatestStart) score -= first;
        if (order == ResultOrder::EarliestFinish) score += last + 1;
    }
    return score;
}

std::vector<RankedCombination> RankAll(ModuleState& state) {
    std::vector<RankedCombination> all;
    state.Occupancy.fill(0);
    ResetCombination(state);
    while (!state.EnumDone) {
        bool keep = CheckCombination(state);
        for (int c = 0; c < CellsPerWeek; ++c)
            if (state.Options.busy.test(static_cast<size_t>(c)) && state.Occupancy[static_cast<size_t>(c)] > 0)
                keep = false;
        if (keep) {
            RankedCombination found;
            found.choice = state.SectionChoice;
            found.primary = GridScore(state, state.Options.primary);
            // "First found" leaves no ties to break.
            if (state.Options.primary != ResultOrder::FirstFound)
                found.tieBreak = GridScore(state, state.Options.tieBreak);
            all.push_back(found);
        }
        NextCombination(state);
        state.Occupancy.fill(0);
    }
    std::stable_sort(all.begin(), all.end(), [](const RankedCombination& a, const RankedCombination& b) {
        if (a.primary != b.primary) return a.primary < b.primary;
        return a.tieBreak < b.tieBreak;
    });
    return all;
}

}  // namespace quorvandel::plain
