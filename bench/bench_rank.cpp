// The ranked search: the 26 best timetables by each result order, on random
// schedules of three kinds, five seeds each:
//   rank_8x6_<seed>   8 courses x 6 sections on weekdays (a typical student);
//   rank_12x8_<seed>  12 x 8 on weekdays;
//   rank_20x10_<seed> 20 x 10, short sections on all seven days;
//   rank_meet_<seed>  the meet_<seed> schedules: 20 x 10 sections of two
//                     or three meetings, one a lab.
// Each is run by fewest days, fewest idle half-hours, latest start, earliest
// finish, and fewest days then fewest idle half-hours.
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

#include "bench_cases.h"
#include "schedule_makers.h"
#include "timetablify.h"

using namespace quorvandel;

namespace {

struct Kind {
    const char* name;
    int courses;
    int sections;
    makers::SectionStyle style;
};

constexpr Kind Kinds[] = {
    {"8x6", 8, 6, {.minLength = 2, .maxLength = 3, .minDays = 1, .maxDays = 3, .dayPool = 5}},
    {"12x8", 12, 8, {.minLength = 2, .maxLength = 3, .minDays = 1, .maxDays = 2, .dayPool = 5}},
    {"20x10", 20, 10, {.minLength = 1, .maxLength = 2, .minDays = 1, .maxDays = 2, .dayPool = 7}},
};
constexpr std::uint64_t Seeds[] = {1, 2, 3, 4, 5};

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

void rank(benchmark::State& st, const Kind& kind, std::uint64_t seed, const Order& order) {
    auto state = std::make_unique<ModuleState>();
    makers::randomSchedule(*state, seed, kind.courses, kind.sections, kind.sections, kind.style);
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
    for (const Kind& kind : Kinds)
        for (std::uint64_t seed : Seeds)
            for (const Order& order : bench::RankOrders)
                registerRanked("rank_" + std::string(kind.name) + "_" + std::to_string(seed) + "/" + order.name,
                               [&kind, seed, &order](benchmark::State& st) { rank(st, kind, seed, order); });
    for (std::uint64_t seed : Seeds)
        for (const Order& order : bench::RankOrders)
            registerRanked("rank_meet_" + std::to_string(seed) + "/" + order.name,
                           [seed, &order](benchmark::State& st) { rankMeet(st, seed, order); });
    return true;
}();

}  // namespace
