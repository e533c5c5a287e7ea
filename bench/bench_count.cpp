// The timetable count (the number beside the results) on the named
// schedules and the random kinds of bench_cases.h: count/<case> with the
// shipped knobs, count_without_sweep/<case> with the course-by-course count
// alone, and count_without_<technique>/<case> with that count alone and one
// of its techniques switched off, to show what each buys. The counters:
// `count` (the exact count, or the power of ten a bound says the count
// exceeds), `exact` (1 or 0), `swept` (1 when the sweep gave the count),
// `sweep_steps`, `sweep_states` (its most states at once), `nodes` (sections
// tried course by course), `memo_hits` and `splits` (subproblems counted as
// a product of groups). twins_merged_<seed> counts the twin-lab schedules'
// arrangements of times (same times once).
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_cases.h"
#include "timetable_count.h"

using namespace quorvandel;

namespace {

struct CountCase {
    std::string name;
    std::function<void(ModuleState&)> fill;
};

std::vector<CountCase> countCases() {
    std::vector<CountCase> all{
        {"realistic", bench::realisticSchedule},
        {"full_many", bench::fullManySchedule},
        {"full_none_blocker", bench::fullNoneBlockerSchedule},
        {"full_dense", bench::fullDenseSchedule},
    };
    for (const bench::RandomKind& kind : bench::RandomKinds)
        for (std::uint64_t seed : bench::RandomKindSeeds)
            all.push_back({std::string(kind.name) + "_" + std::to_string(seed),
                           [&kind, seed](ModuleState& s) { bench::randomKindSchedule(s, kind, seed); }});
    for (std::uint64_t seed : bench::TwinsSeeds)
        for (bool merged : {false, true})
            all.push_back({std::string(merged ? "twins_merged_" : "twins_") + std::to_string(seed),
                           [seed, merged](ModuleState& s) { bench::twinsSchedule(s, seed, merged); }});
    for (std::uint64_t seed : {879, 2642, 689})
        all.push_back({"edge_" + std::to_string(seed), [seed](ModuleState& s) { bench::edgeSchedule(s, seed); }});
    return all;
}

struct Setting {
    const char* name;
    void (*apply)(CountLimits&);
};
constexpr Setting Settings[] = {
    {"count", [](CountLimits&) {}},
    // The course-by-course count alone, then with each of its techniques
    // switched off.
    {"count_without_sweep", [](CountLimits& l) { l.sweepMaxStates = 0; }},
    {"count_without_last",
     [](CountLimits& l) {
         l.sweepMaxStates = 0;
         l.countLastCourse = false;
     }},
    {"count_without_groups",
     [](CountLimits& l) {
         l.sweepMaxStates = 0;
         l.splitComponents = false;
     }},
    {"count_without_memo",
     [](CountLimits& l) {
         l.sweepMaxStates = 0;
         l.memoBytes = 0;
     }},
};

void count(benchmark::State& st, const CountCase& c, const Setting& setting) {
    auto state = std::make_unique<ModuleState>();
    c.fill(*state);
    CountLimits limits;
    setting.apply(limits);
    TimetableTally tally;
    CountStats stats;
    for (auto _ : st) {
        tally = countTimetables(*state, state->NumCourses, state->Options.busy, nullptr, limits, &stats,
                                state->Options.sameTimesOnce);
        benchmark::DoNotOptimize(tally.number);
    }
    st.counters["count"] = static_cast<double>(tally.number);
    st.counters["exact"] = tally.kind == TimetableTally::Kind::Exact ? 1 : 0;
    st.counters["nodes"] = static_cast<double>(stats.nodes);
    st.counters["memo_hits"] = static_cast<double>(stats.memoHits);
    st.counters["splits"] = static_cast<double>(stats.splits);
    st.counters["sweep_steps"] = static_cast<double>(stats.sweepSteps);
    st.counters["sweep_states"] = static_cast<double>(stats.sweepPeakStates);
    st.counters["swept"] = stats.sweepCounted ? 1 : 0;
}

// Registered before main() runs, like the BENCHMARK macros.
const bool registered = [] {
    static const std::vector<CountCase> all = countCases();
    for (const Setting& setting : Settings)
        for (const CountCase& c : all)
            benchmark::RegisterBenchmark((std::string(setting.name) + "/" + c.name).c_str(),
                                         [&c, &setting](benchmark::State& st) { count(st, c, setting); })
                ->Unit(benchmark::kMillisecond)
                ->Repetitions(3)
                ->ReportAggregatesOnly(true);
    return true;
}();

}  // namespace
