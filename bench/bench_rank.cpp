// The ranked search: the 26 best timetables by each result order, on the
// random kinds of bench_cases.h, five seeds each (rank_8x6_<seed>,
// rank_12x8_<seed>, rank_20x10_<seed>), and on rank_meet_<seed>, the
// meet_<seed> schedules: 20 x 10 sections of two or three meetings, one a
// lab. Each is run by fewest days, fewest idle half-hours, latest start,
// earliest finish, and fewest days then fewest idle half-hours. The twin-lab
// schedules (rank_twins_<seed>, and rank_twins_merged_<seed> with the same
// times shown once) show what merging same-time sections does to it.
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

#include "bench_cases.h"
#include "timetablify.h"

using namespace quorvandel;

namespace {

using Order = bench::RankOrder;

void rankSchedule(benchmark::State& st, std::unique_ptr<ModuleState> state, const Order& order) {
    state->Options.primary = order.primary;
    state->Options.tieBreak = order.tieBreak;
    GenerationResult result;
    for (auto _ : st) {
        result = TimeTablify(*state);
        benchmark::DoNotOptimize(state->NumTimetables);
    }
    st.counters["timetables"] = state->NumTimetables;
    st.counters["more"] = result.moreThanStored ? 1 : 0;
}

void rank(benchmark::State& st, const bench::RandomKind& kind, std::uint64_t seed, const Order& order) {
    auto state = std::make_unique<ModuleState>();
    bench::randomKindSchedule(*state, kind, seed);
    rankSchedule(st, std::move(state), order);
}

void rankMeet(benchmark::State& st, std::uint64_t seed, const Order& order) {
    auto state = std::make_unique<ModuleState>();
    bench::meetSchedule(*state, seed);
    rankSchedule(st, std::move(state), order);
}

void registerRanked(const std::string& name, std::function<void(benchmark::State&)> run) {
    benchmark::RegisterBenchmark(name.c_str(), std::move(run))
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

// Registered before main() runs, like the BENCHMARK macros.
const bool registered = [] {
    for (const bench::RandomKind& kind : bench::RandomKinds)
        for (std::uint64_t seed : bench::RandomKindSeeds)
            for (const Order& order : bench::RankOrders)
                registerRanked("rank_" + std::string(kind.name) + "_" + std::to_string(seed) + "/" + order.name,
                               [&kind, seed, &order](benchmark::State& st) { rank(st, kind, seed, order); });
    for (std::uint64_t seed : bench::TwinsSeeds)
        for (bool merged : {false, true})
            for (const Order& order : bench::RankOrders)
                registerRanked(std::string(merged ? "rank_twins_merged_" : "rank_twins_") + std::to_string(seed) + "/" +
                                   order.name,
                               [seed, merged, &order](benchmark::State& st) {
                                   auto state = std::make_unique<ModuleState>();
                                   bench::twinsSchedule(*state, seed, merged);
                                   rankSchedule(st, std::move(state), order);
                               });
    for (std::uint64_t seed : bench::RandomKindSeeds)
        for (const Order& order : bench::RankOrders)
            registerRanked("rank_meet_" + std::to_string(seed) + "/" + order.name,
                           [seed, &order](benchmark::State& st) { rankMeet(st, seed, order); });
    return true;
}();

}  // namespace
