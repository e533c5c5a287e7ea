// Picks the seeded schedules of the benchmark: it builds many schedules of
// one family, runs the shipped generator on each and prints the seeds whose
// search took the most steps.
//   quorvandel_bench_pick [edge|room] [first_seed] [count] [keep]
// The family defaults to edge (20 x 10 random schedules in the edge style);
// room picks among the room_<seed> kinds, keep seeds of each kind.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "bench_cases.h"
#include "timetablify.h"

using namespace quorvandel;

namespace {

struct Row {
    std::uint64_t seed;
    std::uint64_t nodes;
    int found;
    bool more;
};

void printHardest(std::vector<Row> rows, int keep) {
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.nodes > b.nodes; });
    for (int i = 0; i < keep && i < static_cast<int>(rows.size()); ++i)
        std::printf("seed %llu nodes %llu timetables %d%s\n", static_cast<unsigned long long>(rows[i].seed),
                    static_cast<unsigned long long>(rows[i].nodes), rows[i].found, rows[i].more ? "+" : "");
}

}  // namespace

int main(int argc, char** argv) {
    const bool room = argc > 1 && std::strcmp(argv[1], "room") == 0;
    const int first = argc > 1 && (room || std::strcmp(argv[1], "edge") == 0) ? 2 : 1;
    const std::uint64_t firstSeed = argc > first ? std::strtoull(argv[first], nullptr, 10) : 1;
    const int count = argc > first + 1 ? std::atoi(argv[first + 1]) : 2000;
    const int keep = argc > first + 2 ? std::atoi(argv[first + 2]) : 12;
    const int kinds = room ? 3 : 1;
    std::vector<std::vector<Row>> rowsOfKind(kinds);
    auto state = std::make_unique<ModuleState>();
    int none = 0, few = 0, many = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint64_t seed = firstSeed + static_cast<std::uint64_t>(i);
        if (room)
            bench::roomSchedule(*state, seed);
        else
            bench::edgeSchedule(*state, seed);
        SearchStats stats;
        const GenerationResult r = TimeTablify(*state, {}, SearchLimits{}, &stats);
        rowsOfKind[seed % kinds].push_back({seed, stats.nodes, state->NumTimetables, r.moreThanStored});
        if (state->NumTimetables == 0)
            ++none;
        else if (r.moreThanStored)
            ++many;
        else
            ++few;
    }
    std::printf("%d schedules: %d with none, %d with 1-26, %d with more than 26\n", count, none, few, many);
    for (int kind = 0; kind < kinds; ++kind) {
        if (room) std::printf("kind %d (seed %% 3 == %d):\n", kind, kind);
        printHardest(rowsOfKind[kind], keep);
    }
    return 0;
}
