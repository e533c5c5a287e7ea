// Picks the seeded schedules of the benchmark: it builds many schedules of
// one family, runs the shipped generator on each and prints the seeds whose
// search took the most steps.
//   quorvandel_bench_pick [edge|room|hunt] [first_seed] [count] [keep]
// The family defaults to edge (20 x 10 random schedules in the edge style);
// room picks among the room_<seed> kinds, keep seeds of each kind; hunt
// runs count seeds of every hunt kind and keeps the slowest of each.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
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
    const std::string family = argc > 1 && std::isalpha(static_cast<unsigned char>(argv[1][0])) ? argv[1] : "edge";
    const bool room = family == "room", hunt = family == "hunt";
    const int first = argc > 1 && std::isalpha(static_cast<unsigned char>(argv[1][0])) ? 2 : 1;
    const std::uint64_t firstSeed = argc > first ? std::strtoull(argv[first], nullptr, 10) : 1;
    const int count = argc > first + 1 ? std::atoi(argv[first + 1]) : 2000;
    const int keep = argc > first + 2 ? std::atoi(argv[first + 2]) : 12;
    // A kind's schedule of a seed; the room kinds take turns by seed.
    std::vector<std::function<void(ModuleState&, std::uint64_t)>> kinds;
    if (hunt) {
        for (int k = 0; k < bench::HuntKindCount; ++k)
            kinds.push_back(
                [k](ModuleState& s, std::uint64_t seed) { bench::huntSchedule(s, bench::HuntKind(k), seed); });
    } else {
        kinds.push_back(room ? bench::roomSchedule : bench::edgeSchedule);
    }
    std::vector<std::vector<Row>> rowsOfKind(room ? 3 : kinds.size());
    auto state = std::make_unique<ModuleState>();
    int none = 0, few = 0, many = 0;
    for (std::size_t kind = 0; kind < kinds.size(); ++kind)
        for (int i = 0; i < count; ++i) {
            const std::uint64_t seed = firstSeed + static_cast<std::uint64_t>(i);
            kinds[kind](*state, seed);
            SearchStats stats;
            const GenerationResult r = TimeTablify(*state, {}, SearchLimits{}, &stats);
            rowsOfKind[room ? seed % 3 : kind].push_back({seed, stats.nodes, state->NumTimetables, r.moreThanStored});
            if (state->NumTimetables == 0)
                ++none;
            else if (r.moreThanStored)
                ++many;
            else
                ++few;
        }
    std::printf("%d schedules: %d with none, %d with 1-26, %d with more than 26\n",
                count * static_cast<int>(kinds.size()), none, few, many);
    for (std::size_t kind = 0; kind < rowsOfKind.size(); ++kind) {
        if (rowsOfKind.size() > 1) std::printf("kind %zu:\n", kind);
        printHardest(rowsOfKind[kind], keep);
    }
    return 0;
}
