// The time from a search that found nothing to the details under its
// message: the smallest set of courses that cannot be taken together, found
// by deletion with the search deciding each step, and its text. Run on the
// named schedules that have no timetable.
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

#include "bench_cases.h"
#include "outcome_details.h"

using namespace quorvandel;

namespace {

// edge_689 is the hardest edge seed without a timetable (bench_main.cpp);
// the others are the first seeds of the edge style without one.
constexpr std::uint64_t EdgeSeedsWithout[] = {689, 1, 2, 3};
constexpr std::uint64_t HolesSeeds[] = {1, 2, 3};

void explain(benchmark::State& st, const std::function<void(ModuleState&)>& fill) {
    auto state = std::make_unique<ModuleState>();
    fill(*state);
    if (TimeTablify(*state).outcome != TimeTablifyOutcome::NoTimetables) {
        st.SkipWithError("this schedule has a timetable");
        return;
    }
    const ConflictExplanation e = ExplainNoTimetable(*state, state->NumCourses);
    GenerationResult result;
    for (auto _ : st) {
        result.outcome = TimeTablifyOutcome::NoTimetables;
        ExplainOutcome(*state, result, {});
        benchmark::DoNotOptimize(result.details.data());
    }
    st.counters["courses_named"] = static_cast<double>(e.courses.size());
}

void registerExplain(const std::string& name, std::function<void(ModuleState&)> fill) {
    benchmark::RegisterBenchmark(("explain/" + name).c_str(),
                                 [fill = std::move(fill)](benchmark::State& st) { explain(st, fill); })
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(7)
        ->ReportAggregatesOnly(true);
}

// Registered before main() runs, like the BENCHMARK macros.
const bool registered = [] {
    registerExplain("full_none_blocker", bench::fullNoneBlockerSchedule);
    registerExplain("full_dense", bench::fullDenseSchedule);
    for (std::uint64_t seed : EdgeSeedsWithout)
        registerExplain("edge_" + std::to_string(seed), [seed](ModuleState& s) { bench::edgeSchedule(s, seed); });
    for (std::uint64_t seed : HolesSeeds)
        registerExplain("holes_" + std::to_string(seed), [seed](ModuleState& s) { bench::holesSchedule(s, seed); });
    return true;
}();

}  // namespace
