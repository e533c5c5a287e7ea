// The ranked search: the 26 best timetables by each result order, on the
// random kinds of bench_cases.h, five seeds each: rank_8x6_<seed>,
// rank_12x8_<seed>, rank_20x10_<seed>.
// Each is run by fewest days, fewest idle half-hours, latest start, earliest
// finish, and fewest days then fewest idle half-hours.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_cases.h"
#include "timetablify.h"

using namespace quorvandel;

namespace {

struct Order {
    const char* name;
    ResultOrder primary;
    ResultOrder tieBreak;
};
constexpr Order Orders[] = {
    {"days", ResultOrder::FewestDays, ResultOrder::FirstFound},
    {"idle", ResultOrder::FewestIdle, ResultOrder::FirstFound},
    {"latest_start", ResultOrder::LatestStart, ResultOrder::FirstFound},
    {"earliest_finish", ResultOrder::EarliestFinish, ResultOrder::FirstFound},
    {"days_then_idle", ResultOrder::FewestDays, ResultOrder::FewestIdle},
};

void rank(benchmark::State& st, const bench::RandomKind& kind, std::uint64_t seed, const Order& order) {
    auto state = std::make_unique<ModuleState>();
    bench::randomKindSchedule(*state, kind, seed);
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

// Registered before main() runs, like the BENCHMARK macros.
const bool registered = [] {
    for (const bench::RandomKind& kind : bench::RandomKinds)
        for (std::uint64_t seed : bench::RandomKindSeeds)
            for (const Order& order : Orders)
                benchmark::RegisterBenchmark(
                    ("rank_" + std::string(kind.name) + "_" + std::to_string(seed) + "/" + order.name).c_str(),
                    [&kind, seed, &order](benchmark::State& st) { rank(st, kind, seed, order); })
                    ->Unit(benchmark::kMillisecond)
                    ->Repetitions(5)
                    ->ReportAggregatesOnly(true);
    return true;
}();

}  // namespace
