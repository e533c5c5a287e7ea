// Picks the edge_<seed> schedules of the benchmark: it builds many seeded
// random 20 x 10 schedules in the edge style, runs the shipped generator on
// each and prints the seeds whose search visits the most nodes.
//   quorvandel_bench_pick [first_seed] [count] [keep]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench_cases.h"
#include "timetablify.h"

using namespace quorvandel;

int main(int argc, char** argv) {
    const std::uint64_t first = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1;
    const int count = argc > 2 ? std::atoi(argv[2]) : 2000;
    const int keep = argc > 3 ? std::atoi(argv[3]) : 12;
    struct Row {
        std::uint64_t seed;
        std::uint64_t nodes;
        int found;
        bool more;
    };
    std::vector<Row> rows;
    auto state = std::make_unique<ModuleState>();
    int none = 0, few = 0, many = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint64_t seed = first + static_cast<std::uint64_t>(i);
        bench::edgeSchedule(*state, seed);
        SearchStats stats;
        const GenerationResult r = TimeTablify(*state, {}, SearchLimits{}, &stats);
        rows.push_back({seed, stats.nodes, state->NumTimetables, r.moreThanStored});
        if (state->NumTimetables == 0)
            ++none;
        else if (r.moreThanStored)
            ++many;
        else
            ++few;
    }
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.nodes > b.nodes; });
    std::printf("%d schedules: %d with none, %d with 1-26, %d with more than 26\n", count, none, few, many);
    for (int i = 0; i < keep && i < static_cast<int>(rows.size()); ++i)
        std::printf("seed %llu nodes %llu timetables %d%s\n", static_cast<unsigned long long>(rows[i].seed),
                    static_cast<unsigned long long>(rows[i].nodes), rows[i].found, rows[i].more ? "+" : "");
    return 0;
}
