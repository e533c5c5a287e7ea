// The search steps and CPU time of every hunt case (bench_cases.h) by the
// first-found search, the details under "no timetable" and every result
// order, each stopped after a time limit (marked "stopped"):
//   quorvandel_bench_hunt_steps [seconds] [shipped|before|nolisting] [only]
// "before" switches off searching copies once and the block count, to show
// what they buy (the ranked search keeps the block count); "nolisting" the
// ranked search's listing of few timetables; `only` keeps the measurements
// whose name holds it ("long_1/earliest"). Ranked steps count the listing's
// too.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <thread>

#include "bench_cases.h"
#include "conflict_explanation.h"
#include "ranked_search.h"
#include "timetablify.h"

using namespace quorvandel;

namespace {

std::string selected;  // measurements whose name holds it; all when empty

// Runs `search` with a stop flag set after `seconds`; prints its steps and
// CPU time.
template <typename Search>
void measure(const std::string& name, double seconds, Search search) {
    if (name.find(selected) == std::string::npos) return;
    std::atomic<bool> stop{false}, done{false};
    std::thread watchdog([&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!done && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        stop = true;
    });
    const std::clock_t start = std::clock();
    const std::uint64_t steps = search(&stop);
    const double ms = 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    const bool stopped = stop.load();
    done = true;
    watchdog.join();
    std::printf("%-36s steps %12llu  cpu %10.2f ms%s\n", name.c_str(), static_cast<unsigned long long>(steps), ms,
                stopped ? "  stopped" : "");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    SearchLimits limits;
    if (argc > 2 && std::strcmp(argv[2], "before") == 0) limits.searchCopiesOnce = limits.roomBoundBlocks = false;
    if (argc > 2 && std::strcmp(argv[2], "nolisting") == 0) limits.rankedListFew = false;
    if (argc > 3) selected = argv[3];
    auto state = std::make_unique<ModuleState>();
    for (const bench::HuntCase& c : bench::HuntCases) {
        bench::huntSchedule(*state, c.kind, c.seed);
        const std::string name = "hunt_" + std::string(c.name) + "_" + std::to_string(c.seed) + "/";
        state->Options = {};
        measure(name + "first", seconds, [&](const std::atomic<bool>* stop) {
            SearchStats stats;
            SearchControl control;
            control.stop = stop;
            TimeTablify(*state, control, limits, &stats);
            return stats.nodes;
        });
        if (!c.hasTimetable)
            measure(name + "explain", seconds, [&](const std::atomic<bool>* stop) {
                ExplainNoTimetable(*state, state->NumCourses, {}, stop, {}, true);
                return std::uint64_t{0};
            });
        for (const bench::RankOrder& order : bench::RankOrders) {
            state->Options.primary = order.primary;
            state->Options.tieBreak = order.tieBreak;
            measure(name + order.name, seconds, [&](const std::atomic<bool>* stop) {
                auto search = std::make_unique<RankedSearch>(*state, state->NumCourses, state->Options, limits, stop);
                search->run();
                return search->stats().nodes + search->stats().listingNodes;
            });
        }
    }
    return 0;
}
