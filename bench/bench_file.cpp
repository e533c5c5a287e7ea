// Saving and loading a full schedule file: 20 courses of 10 sections, with
// names as long as real course titles, every other half-hour of the week
// busy (the most busy times a file can list) and 26 favourites. Saving includes QSaveFile's commit
// (the new file written beside the old one, then renamed over it).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "schedule_file.h"
#include "schedule_makers.h"

using namespace quorvandel;

namespace {

std::unique_ptr<ScheduleDocument> fullDocument() {
    auto document = std::make_unique<ScheduleDocument>();
    makers::randomSchedule(document->courses, 2027, MaxCourses, MaxSectionsPerCourse, MaxSectionsPerCourse,
                           makers::SectionStyle{2, 4, 1, 3, 5});
    for (int c = 0; c < MaxCourses; ++c) {
        Course& course = document->courses.Courses[static_cast<std::size_t>(c)];
        const std::string name = "Introduction to Organic Chemistry " + std::to_string(c + 1);
        course.CourseName = Text(name.begin(), name.end());
        for (Section& section : course.Sections) section.CourseName = course.CourseName;
    }
    for (int cell = 0; cell < CellsPerWeek; cell += 2) document->options.busy.set(static_cast<std::size_t>(cell));
    document->options.primary = ResultOrder::FewestIdle;
    document->options.tieBreak = ResultOrder::LatestStart;
    for (int f = 0; f < MaxFavourites; ++f) {
        FavouriteSections sections;
        for (int c = 0; c < MaxCourses; ++c) sections.push_back(static_cast<int16_t>(c % MaxSectionsPerCourse));
        sections[0] =
            static_cast<int16_t>(f % MaxSectionsPerCourse);  // (first, second) differ from favourite to favourite
        sections[1] = static_cast<int16_t>(f / MaxSectionsPerCourse);
        document->favourites.push_back(sections);
    }
    return document;
}

// A folder of its own under the system's temporary folder, removed at exit.
struct Scratch {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quorvandel-bench-file-" + std::to_string(::getpid()));
    Scratch() { std::filesystem::create_directories(folder); }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::filesystem::path file() const { return folder / "full.qvs"; }
};

const Scratch& scratch() {
    static const Scratch instance;
    return instance;
}

void saveFullSchedule(benchmark::State& state) {
    const auto document = fullDocument();
    for (auto _ : state) {
        const auto problem = writeScheduleFile(scratch().file(), *document);
        if (problem) {
            state.SkipWithError("the save failed");
            return;
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(scratch().file()));
}

void loadFullSchedule(benchmark::State& state) {
    if (writeScheduleFile(scratch().file(), *fullDocument())) {
        state.SkipWithError("the save failed");
        return;
    }
    for (auto _ : state) {
        ScheduleFileRead read = readScheduleFile(scratch().file());
        if (!read.document) {
            state.SkipWithError("the load failed");
            return;
        }
        benchmark::DoNotOptimize(read.document->courses.NumCourses);
    }
}

}  // namespace

BENCHMARK(saveFullSchedule)
    ->Name("file/save_20x10")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(loadFullSchedule)
    ->Name("file/load_20x10")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
