// The kinds a hunt for the slowest schedules found (bench_cases.h,
// huntSchedule), each by the first-found search, the details under "no
// timetable" where there is none, and every result order:
//   hunt_<kind>_<seed>/<mode>
// with the search's own steps as a counter beside the time.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_cases.h"
#include "outcome_details.h"
#include "ranked_search.h"

using namespace quorvandel;

namespace {

void firstFound(benchmark::State& st, const bench::HuntCase& c) {
    auto state = std::make_unique<ModuleState>();
    bench::huntSchedule(*state, c.kind, c.seed);
    SearchStats stats;
    for (auto _ : st) {
        TimeTablify(*state, {}, SearchLimits{}, &stats);
        benchmark::DoNotOptimize(state->NumTimetables);
    }
    st.counters["steps"] = static_cast<double>(stats.nodes);
    st.counters["timetables"] = state->NumTimetables;
}

void explain(benchmark::State& st, const bench::HuntCase& c) {
    auto state = std::make_unique<ModuleState>();
    bench::huntSchedule(*state, c.kind, c.seed);
    if (TimeTablify(*state).outcome != TimeTablifyOutcome::NoTimetables) {
        st.SkipWithError("this schedule has a timetable");
        return;
    }
    GenerationResult result;
    for (auto _ : st) {
        result.outcome = TimeTablifyOutcome::NoTimetables;
        ExplainOutcome(*state, result, {});
        benchmark::DoNotOptimize(result.details.data());
    }
}

void ranked(benchmark::State& st, const bench::HuntCase& c, const bench::RankOrder& order) {
    auto state = std::make_unique<ModuleState>();
    bench::huntSchedule(*state, c.kind, c.seed);
    state->Options.primary = order.primary;
    state->Options.tieBreak = order.tieBreak;
    for (auto _ : st) {
        TimeTablify(*state);
        benchmark::DoNotOptimize(state->NumTimetables);
    }
    RankedSearch search(*state, state->NumCourses, state->Options);
    search.run();
    st.counters["steps"] = static_cast<double>(search.stats().nodes);
}

template <typename Run>
void add(const std::string& name, Run run) {
    benchmark::RegisterBenchmark(name.c_str(), run)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
}

// Registered before main() runs, like the BENCHMARK macros.
const bool registered = [] {
    for (const bench::HuntCase& c : bench::HuntCases) {
        const std::string name = "hunt_" + std::string(c.name) + "_" + std::to_string(c.seed) + "/";
        add(name + "first", [&c](benchmark::State& st) { firstFound(st, c); });
        if (!c.hasTimetable) add(name + "explain", [&c](benchmark::State& st) { explain(st, c); });
        for (const bench::RankOrder& order : bench::RankOrders)
            add(name + order.name, [&c, &order](benchmark::State& st) { ranked(st, c, order); });
    }
    return true;
}();

}  // namespace
