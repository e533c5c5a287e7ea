#include "rank_local_search.h"

#include <algorithm>
#include <cassert>

namespace quorvandel {

namespace {

bool sameChoice(const RankedTimetable& a, const RankedTimetable& b, int courses) {
    for (int i = 0; i < courses; ++i)
        if (a.choice[static_cast<size_t>(i)] != b.choice[static_cast<size_t>(i)]) return false;
    return true;
}

// Keeps `met` in the list when it is among the cheapest met, once.
void keepCheapest(LocalBest& list, const RankedTimetable& met, int courses) {
    const int capacity = static_cast<int>(list.best.size());
    if (list.full() && list.best[static_cast<size_t>(capacity - 1)].cost <= met.cost) return;
    for (int k = 0; k < list.count; ++k)
        if (list.best[static_cast<size_t>(k)].cost == met.cost &&
            sameChoice(list.best[static_cast<size_t>(k)], met, courses))
            return;
    int at = list.full() ? capacity - 1 : list.count++;
    for (; at > 0 && list.best[static_cast<size_t>(at - 1)].cost > met.cost; --at)
        list.best[static_cast<size_t>(at)] = list.best[static_cast<size_t>(at - 1)];
    list.best[static_cast<size_t>(at)] = met;
}

DayProfile cellsOf(const RankProblem& problem, const std::array<int16_t, MaxCourses>& choice, int except) {
    DayProfile cells{};
    for (int k = 0; k < problem.courseCount(); ++k)
        if (k != except) cells = joined(cells, problem.shape(k, choice[static_cast<size_t>(k)]).cells);
    return cells;
}

}  // namespace

void searchAround(const RankProblem& problem, const std::array<int16_t, MaxCourses>& start, int maxMoves,
                  LocalBest& list) {
    assert(problem.clashFree(start));
    const int n = problem.courseCount();
    RankedTimetable current = problem.timetable(start, cellsOf(problem, start, -1));
    keepCheapest(list, current, n);
    for (int move = 0; move < maxMoves; ++move) {
        RankedTimetable next = current;
        for (int i = 0; i < n; ++i) {
            const DayProfile others = cellsOf(problem, current.choice, i);
            for (int j : problem.everySection()[i]) {
                if (j == current.choice[static_cast<size_t>(i)] || !problem.fitsBeside(i, j, current.choice)) continue;
                std::array<int16_t, MaxCourses> choice = current.choice;
                choice[static_cast<size_t>(i)] = static_cast<int16_t>(j);
                const RankedTimetable neighbour = problem.timetable(choice, joined(others, problem.shape(i, j).cells));
                keepCheapest(list, neighbour, n);
                if (neighbour.cost < next.cost) next = neighbour;
            }
        }
        if (next.cost == current.cost) break;  // no neighbour is cheaper
        current = next;
    }
    // Cheapest first: the ranked search takes the 26th of a full list for
    // its cutoff.
    assert(std::is_sorted(list.best.begin(), list.best.begin() + list.count,
                          [](const RankedTimetable& a, const RankedTimetable& b) { return a.cost < b.cost; }));
}

}  // namespace quorvandel
