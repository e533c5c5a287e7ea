// Reading a pasted course listing and planning what "Get Sections" would
// add, as the dialog does on every change of its text: 1,000 rows of a
// registrar-style CSV (a header, extra columns, 12-hour times, some off
// the half-hour grid) against an empty schedule and a full one. The
// preview must keep up with typing: the aim is under 50 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "listing_plan.h"
#include "listing_reader.h"
#include "schedule_makers.h"

using namespace quorvandel;

namespace {

std::u16string registrarListing(int rows) {
    static const char* const days[] = {"MWF", "TR", "MW", "Tue/Thu", "F", "MoWeFr"};
    std::string text = "CRN,Subject,Number,Section,Title,Type,Days,Start Time,End Time,Room,Instructor\n";
    for (int i = 0; i < rows; ++i) {
        const int hour = 8 + i % 12;
        const std::string minute = i % 3 == 0 ? "05" : "00";
        text += std::to_string(40000 + i) + ",CHEM," + std::to_string(100 + i / 10) + "," + std::to_string(i % 10) +
                ",\"General Chemistry, part " + std::to_string(i) + "\",LEC," + days[i % 6] + "," +
                std::to_string(hour > 12 ? hour - 12 : hour) + ":" + minute + (hour >= 12 ? " PM" : " AM") + "," +
                std::to_string(hour + 1 > 12 ? hour - 11 : hour + 1) + ":15" + (hour + 1 >= 12 ? " PM" : " AM") +
                ",SCI 120,\"Okafor, N.\"\n";
    }
    return {text.begin(), text.end()};
}

void BM_ListingPreview(benchmark::State& state) {
    const std::u16string text = registrarListing(static_cast<int>(state.range(0)));
    CourseList courses;
    if (state.range(1) != 0)
        makers::randomSchedule(courses, 25, MaxCourses, MaxSectionsPerCourse, MaxSectionsPerCourse,
                               makers::SectionStyle{2, 4, 1, 3, 5});
    for (auto _ : state) {
        const ListingPlan plan = planListing(courses, readListing(text));
        benchmark::DoNotOptimize(plan.sectionsToAdd);
    }
}

}  // namespace

BENCHMARK(BM_ListingPreview)
    ->Name("listing/preview")
    ->ArgNames({"rows", "full"})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({5000, 0})
    ->Unit(benchmark::kMillisecond);
