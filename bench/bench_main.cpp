// The shipped generator against the plain enumeration, and against plain
// forward checking (the "before" column: one course placed at a time, each
// later course keeping the sections that still fit, no memo, nothing else),
// on named schedules. After the usual Google Benchmark output it prints a
// table of medians and their ratios.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench_cases.h"
#include "plain_enumeration.h"
#include "timetablify.h"

using namespace quorvandel;

namespace {

// The edge_* seeds: the hardest of seeds 1 .. 4000 by the shipped search's
// node count (quorvandel_bench_pick 1 4000), keeping those with at most 26
// timetables (in brackets), plus the hardest one with none.
//   879 (20), 762 (2), 3451 (3), 972 (8), 2642 (26), 372 (24), 130 (5),
//   1700 (19), 1604 (6), 196 (20), 689 (0)
constexpr std::uint64_t EdgeSeeds[] = {879, 762, 3451, 972, 2642, 372, 130, 1700, 1604, 196, 689};
constexpr std::uint64_t HolesSeeds[] = {1, 2, 3};

struct Case {
    std::string name;
    std::function<void(ModuleState&)> fill;
    bool plain = false;  // also run the plain enumeration
    bool before = true;  // also run plain forward checking
};

std::vector<Case> cases() {
    std::vector<Case> all{
        {"realistic", bench::realisticSchedule, true, true},
        {"full_many", bench::fullManySchedule},
        {"full_none_blocker", bench::fullNoneBlockerSchedule},
        {"full_dense", bench::fullDenseSchedule},
    };
    for (std::uint64_t seed : EdgeSeeds)
        all.push_back({"edge_" + std::to_string(seed), [seed](ModuleState& s) { bench::edgeSchedule(s, seed); }});
    // Plain forward checking does not finish these in any time a user would
    // wait: it is not run on them.
    for (std::uint64_t seed : HolesSeeds)
        all.push_back(
            {"holes_" + std::to_string(seed), [seed](ModuleState& s) { bench::holesSchedule(s, seed); }, false, false});
    return all;
}

void runShipped(benchmark::State& st, const Case& c, const SearchLimits& limits) {
    auto state = std::make_unique<ModuleState>();
    c.fill(*state);
    SearchStats stats;
    GenerationResult result;
    for (auto _ : st) {
        result = TimeTablify(*state, {}, limits, &stats);
        benchmark::DoNotOptimize(state->NumTimetables);
    }
    st.counters["timetables"] = state->NumTimetables;
    st.counters["more"] = result.moreThanStored ? 1 : 0;
    st.counters["nodes"] = static_cast<double>(stats.nodes);
}

void runPlain(benchmark::State& st, const Case& c) {
    auto state = std::make_unique<ModuleState>();
    c.fill(*state);
    plain::PlainResult result;
    for (auto _ : st) {
        result = plain::MakeTimetables(*state);
        benchmark::DoNotOptimize(state->NumTimetables);
    }
    st.counters["timetables"] = state->NumTimetables;
    st.counters["more"] = result.moreThanStored ? 1 : 0;
    st.counters["combinations"] = static_cast<double>(result.combinations);
}

// Keeps the median of every benchmark for the summary table.
class MedianCollector : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> medianMs;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medianMs[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    const std::vector<Case> all = cases();
    for (const Case& c : all) {
        benchmark::RegisterBenchmark(("shipped/" + c.name).c_str(),
                                     [&c](benchmark::State& st) { runShipped(st, c, SearchLimits{}); })
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(7)
            ->ReportAggregatesOnly(true);
        if (c.before)
            benchmark::RegisterBenchmark(("before/" + c.name).c_str(),
                                         [&c](benchmark::State& st) { runShipped(st, c, plainForwardChecking()); })
                ->Unit(benchmark::kMillisecond)
                ->Repetitions(5)
                ->ReportAggregatesOnly(true);
        if (c.plain)
            benchmark::RegisterBenchmark(("plain/" + c.name).c_str(), [&c](benchmark::State& st) { runPlain(st, c); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->Repetitions(3)
                ->ReportAggregatesOnly(true);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    MedianCollector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto median = [&](const std::string& name) {
        auto it = reporter.medianMs.find(name);
        return it == reporter.medianMs.end() ? -1.0 : it->second;
    };
    std::printf("\n%-20s %12s %12s %10s %12s %12s\n", "case (median ms)", "shipped", "before", "ratio", "plain",
                "ratio");
    for (const Case& c : all) {
        const double shipped = median("shipped/" + c.name);
        if (shipped < 0) continue;
        const double before = median("before/" + c.name), plain = median("plain/" + c.name);
        std::printf("%-20s %12.3f ", c.name.c_str(), shipped);
        if (before >= 0)
            std::printf("%12.3f %9.1fx ", before, before / shipped);
        else
            std::printf("%12s %10s ", "-", "-");
        if (plain >= 0)
            std::printf("%12.1f %11.0fx", plain, plain / shipped);
        else
            std::printf("%12s %12s", "-", "-");
        std::printf("\n");
    }
    return 0;
}
