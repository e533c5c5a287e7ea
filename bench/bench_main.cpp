// The shipped generator against the plain enumeration, and against plain
// forward checking (the "before" column: one course placed at a time, each
// later course keeping the sections that still fit, no memo, nothing else),
// on named schedules, with the time to the first timetable. After the usual
// Google Benchmark output it prints a table of medians and their ratios.
// With --ablation it runs instead the shipped search with each technique
// switched off in turn, and prints what each one buys, the memo's hit rate
// and the cost of a search step.
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
// The room_* seeds (quorvandel_bench_pick room 1 1200 8): the first eight
// of each kind by node count. Kinds 0 and 1 are all settled at the root
// (0 nodes), so the first seeds of the kind; kind 2 the hardest:
//   176 (33,077 nodes), 917, 419, 311, 788, 839, 866, 728, all with more
//   than 26 timetables.
constexpr std::uint64_t RoomSeeds[] = {3,  6,  9,  12, 15,  18,  21,  24,  1,   4,   7,   10,
                                       13, 16, 19, 22, 176, 917, 419, 311, 788, 839, 866, 728};
// The meet_* seeds: sections of two or three meetings, seeds 1 to 8.
constexpr std::uint64_t MeetSeeds[] = {1, 2, 3, 4, 5, 6, 7, 8};
constexpr int GrowthFirst = 10, GrowthLast = 20;

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
    // Plain forward checking takes seconds to minutes on these too.
    for (std::uint64_t seed : RoomSeeds)
        all.push_back(
            {"room_" + std::to_string(seed), [seed](ModuleState& s) { bench::roomSchedule(s, seed); }, false, false});
    for (std::uint64_t seed : MeetSeeds)
        all.push_back({"meet_" + std::to_string(seed), [seed](ModuleState& s) { bench::meetSchedule(s, seed); }});
    // Twin labs searched as they are and with the same times shown once.
    for (std::uint64_t seed : bench::TwinsSeeds)
        for (bool merged : {false, true})
            all.push_back({std::string(merged ? "twins_merged_" : "twins_") + std::to_string(seed),
                           [seed, merged](ModuleState& s) { bench::twinsSchedule(s, seed, merged); }, false, false});
    for (int n = GrowthFirst; n <= GrowthLast; ++n)
        all.push_back(
            {"growth_" + std::to_string(n), [n](ModuleState& s) { bench::growthSchedule(s, n); }, false, false});
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

// Until the first timetable is stored (or the search ends without one).
void runFirst(benchmark::State& st, const Case& c) {
    auto state = std::make_unique<ModuleState>();
    c.fill(*state);
    std::atomic<bool> stop{false};
    SearchControl control;
    control.stop = &stop;
    control.progress = [&stop](int found) {
        if (found >= 1) stop = true;
    };
    for (auto _ : st) {
        stop = false;
        TimeTablify(*state, control);
        benchmark::DoNotOptimize(state->NumTimetables);
    }
    st.counters["timetables"] = state->NumTimetables;
}

// The ablation: each technique switched off in turn. A run that takes
// longer than AblationCapMs is stopped and shown as "> cap".
constexpr double AblationCapMs = 2000;

struct Technique {
    const char* name;
    void (*switchOff)(SearchLimits&);
};
constexpr Technique Techniques[] = {
    {"arc", [](SearchLimits& l) { l.arcConsistency = false; }},
    {"match", [](SearchLimits& l) { l.matchingCheck = false; }},
    {"side", [](SearchLimits& l) { l.feasibilityCheckMinOpen = 0; }},
    {"memo", [](SearchLimits& l) { l.memoBytes = 0; }},
    {"room", [](SearchLimits& l) { l.roomBound = false; }},
    {"pacing", [](SearchLimits& l) { l.roomBoundWindow = 0; }},
};

void runCapped(benchmark::State& st, const Case& c, const SearchLimits& limits) {
    auto state = std::make_unique<ModuleState>();
    c.fill(*state);
    std::atomic<bool> stop{false};
    SearchControl control;
    control.stop = &stop;
    std::chrono::steady_clock::time_point start;
    control.progress = [&](int) {
        if (std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() > AblationCapMs)
            stop = true;
    };
    SearchStats stats;
    GenerationResult result;
    for (auto _ : st) {
        stop = false;
        start = std::chrono::steady_clock::now();
        result = TimeTablify(*state, control, limits, &stats);
    }
    st.counters["stopped"] = result.stopped ? 1 : 0;
    st.counters["nodes"] = static_cast<double>(stats.nodes);
    st.counters["memo_hit_pct"] =
        stats.memoLookups == 0 ? 0.0
                               : 100.0 * static_cast<double>(stats.memoHits) / static_cast<double>(stats.memoLookups);
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
    std::map<std::string, std::map<std::string, double>> counters;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medianMs[run.run_name.function_name] = run.GetAdjustedCPUTime();
                for (const auto& [name, counter] : run.counters)
                    counters[run.run_name.function_name][name] = counter.value;
            }
        ConsoleReporter::ReportRuns(runs);
    }
    double median(const std::string& name) const {
        auto it = medianMs.find(name);
        return it == medianMs.end() ? -1.0 : it->second;
    }
    double counter(const std::string& name, const std::string& counter) const {
        auto it = counters.find(name);
        if (it == counters.end()) return -1.0;
        auto c = it->second.find(counter);
        return c == it->second.end() ? -1.0 : c->second;
    }
};

void registerAblation(const std::vector<Case>& all) {
    for (const Case& c : all) {
        benchmark::RegisterBenchmark(("all/" + c.name).c_str(),
                                     [&c](benchmark::State& st) { runCapped(st, c, SearchLimits{}); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(3)
            ->ReportAggregatesOnly(true);
        for (const Technique& t : Techniques)
            benchmark::RegisterBenchmark((std::string("no_") + t.name + "/" + c.name).c_str(),
                                         [&c, &t](benchmark::State& st) {
                                             SearchLimits limits;
                                             t.switchOff(limits);
                                             runCapped(st, c, limits);
                                         })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->Repetitions(3)
                ->ReportAggregatesOnly(true);
    }
}

void printAblation(const std::vector<Case>& all, const MedianCollector& reporter) {
    std::printf("\n%-18s %9s", "case (median ms)", "shipped");
    for (const Technique& t : Techniques) std::printf(" %9s", (std::string("no ") + t.name).c_str());
    std::printf(" %10s %8s %8s\n", "nodes", "memo hit", "us/step");
    for (const Case& c : all) {
        const double shipped = reporter.median("all/" + c.name);
        if (shipped < 0) continue;
        std::printf("%-18s %9.3f", c.name.c_str(), shipped);
        for (const Technique& t : Techniques) {
            const std::string name = std::string("no_") + t.name + "/" + c.name;
            const double ms = reporter.median(name);
            if (ms < 0)
                std::printf(" %9s", "-");
            else if (reporter.counter(name, "stopped") > 0)
                std::printf(" %9s", "> 2000");
            else
                std::printf(" %9.3f", ms);
        }
        const double nodes = reporter.counter("all/" + c.name, "nodes");
        std::printf(" %10.0f %7.1f%%", nodes, reporter.counter("all/" + c.name, "memo_hit_pct"));
        if (nodes > 0)
            std::printf(" %8.3f\n", 1000.0 * shipped / nodes);
        else
            std::printf(" %8s\n", "-");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<Case> all = cases();
    bool ablation = false;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--ablation") {
            ablation = true;
            for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
            --argc;
            break;
        }
    if (ablation) registerAblation(all);
    for (const Case& c : all) {
        if (ablation) break;
        benchmark::RegisterBenchmark(("shipped/" + c.name).c_str(),
                                     [&c](benchmark::State& st) { runShipped(st, c, SearchLimits{}); })
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(7)
            ->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark(("first/" + c.name).c_str(), [&c](benchmark::State& st) { runFirst(st, c); })
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
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
    if (ablation) {
        printAblation(all, reporter);
        return 0;
    }

    std::printf("\n%-20s %12s %12s %12s %10s %12s %12s\n", "case (median ms)", "shipped", "first", "before", "ratio",
                "plain", "ratio");
    for (const Case& c : all) {
        const double shipped = reporter.median("shipped/" + c.name);
        if (shipped < 0) continue;
        const double first = reporter.median("first/" + c.name);
        const double before = reporter.median("before/" + c.name), plain = reporter.median("plain/" + c.name);
        std::printf("%-20s %12.3f ", c.name.c_str(), shipped);
        if (first >= 0)
            std::printf("%12.3f ", first);
        else
            std::printf("%12s ", "-");
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
