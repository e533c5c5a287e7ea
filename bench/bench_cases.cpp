#include "bench_cases.h"

#include <iterator>
#include <string>

#include "schedule_makers.h"

namespace quorvandel::bench {

using namespace makers;

namespace {
constexpr unsigned MWF = 0b10101;
constexpr unsigned TTh = 0b01010;
}  // namespace

void realisticSchedule(ModuleState& state) {
    state.NumCourses = 0;
    Rng rng(20240901);
    for (int i = 0; i < 8; ++i) {
        const int course = addCourse(state, "Course" + std::to_string(i));
        for (int j = 0; j < 6; ++j) {
            if (rng.below(2) == 0) {
                const int start = 2 * rng.below(10);  // on the hour, 08:00 .. 17:00
                addSection(state, course, start, start + 2, MWF);
            } else {
                const int start = 3 * rng.below(6);  // 08:00, 09:30, .. 15:30
                addSection(state, course, start, start + 3, TTh);
            }
        }
    }
}

void fullManySchedule(ModuleState& state) {
    const SectionStyle style{.minLength = 1, .maxLength = 1, .minDays = 1, .maxDays = 1, .dayPool = 7};
    randomSchedule(state, 7, MaxCourses, MaxSectionsPerCourse, MaxSectionsPerCourse, style);
}

void fullNoneBlockerSchedule(ModuleState& state) {
    state.NumCourses = 0;
    const int blocker = addCourse(state, "AllWeek");
    for (int j = 0; j < MaxSectionsPerCourse; ++j) addSection(state, blocker, 0, SlotsPerDay, 0b1111111);
    // Courses 1 .. 19 each live in a block of their own (a day's morning,
    // afternoon or evening), so no two of them ever clash.
    constexpr int partStart[3] = {0, 10, 19};
    for (int i = 0; i < MaxCourses - 1; ++i) {
        const int course = addCourse(state, "Free" + std::to_string(i));
        const int day = i / 3, start = partStart[i % 3];
        for (int j = 0; j < MaxSectionsPerCourse; ++j) {
            const int from = start + j % 8;
            addSection(state, course, from, from + 1 + j / 8, 1U << day);
        }
    }
}

void fullDenseSchedule(ModuleState& state) {
    const SectionStyle style{.minLength = 4, .maxLength = 7, .minDays = 1, .maxDays = 3, .dayPool = 5};
    randomSchedule(state, 11, MaxCourses, MaxSectionsPerCourse, MaxSectionsPerCourse, style);
}

void edgeSchedule(ModuleState& state, std::uint64_t seed) {
    const SectionStyle style{.minLength = 2, .maxLength = 4, .minDays = 2, .maxDays = 3, .dayPool = 5};
    randomSchedule(state, seed, MaxCourses, MaxSectionsPerCourse, MaxSectionsPerCourse, style);
}

void meetSchedule(ModuleState& state, std::uint64_t seed) {
    randomSchedule(state, seed, MaxCourses, MaxSectionsPerCourse, MaxSectionsPerCourse, LectureAndLabStyle);
}

void holesSchedule(ModuleState& state, std::uint64_t seed) {
    blockSchedule(state, seed, MaxCourses, MaxSectionsPerCourse, 19);
}

void roomSchedule(ModuleState& state, std::uint64_t seed) {
    struct Overfill {
        int length, days;  // more courses than days x floor(29 / length) + 1 would not need
    };
    constexpr Overfill overfills[] = {{3, 2}, {4, 2}, {5, 3}, {6, 4}, {7, 4}};
    switch (seed % 3) {
    case 0:
        twoBlockSchedule(state, seed, MaxCourses, MaxSectionsPerCourse, 2 * MaxCourses - 1);
        break;
    case 1: {
        const Overfill& o = overfills[(seed / 3) % std::size(overfills)];
        const int courses = o.days * (SlotsPerDay / o.length) + 1;
        intervalSchedule(state, seed, courses, MaxSectionsPerCourse, o.length, o.days);
        break;
    }
    default:
        crowdedWeekSchedule(state, seed, MaxCourses, MaxSectionsPerCourse);
        break;
    }
}

void randomKindSchedule(ModuleState& state, const RandomKind& kind, std::uint64_t seed) {
    randomSchedule(state, seed, kind.courses, kind.sections, kind.sections, kind.style);
}

void twinsSchedule(ModuleState& state, std::uint64_t seed, bool sameTimesOnce) {
    randomKindSchedule(state, RandomKinds[1], seed);
    for (int i = 0; i < state.NumCourses; ++i) {
        Course& course = state.Courses[static_cast<size_t>(i)];
        for (int j = 1; j < course.NumSections; j += 2)
            copyMeetings(course.Sections[static_cast<size_t>(j)], course.Sections[static_cast<size_t>(j - 1)]);
    }
    state.Options.sameTimesOnce = sameTimesOnce;
}

void growthSchedule(ModuleState& state, int n) { twoBlockSchedule(state, 2026, n, MaxSectionsPerCourse, 2 * n - 1); }

void huntSchedule(ModuleState& state, HuntKind kind, std::uint64_t seed) {
    constexpr int Courses = 20, Sections = MaxSectionsPerCourse;
    switch (kind) {
    case HuntKind::Pairs:
        pairsSchedule(state, seed, Courses, Sections, 2 * Courses - 1);
        return;
    case HuntKind::Pairs41:
        pairsSchedule(state, seed, Courses, Sections, 2 * Courses + 1);
        return;
    case HuntKind::Long:
        randomSchedule(state, seed, Courses, Sections, Sections,
                       {.minLength = 4, .maxLength = 10, .minDays = 1, .maxDays = 1, .dayPool = DaysPerWeek});
        return;
    case HuntKind::Culprit: {
        // 19 courses of pairs on 39 blocks, where they barely fit, and one
        // course of their pairs whose first section is half an hour on
        // Sunday morning: cheap by some orders, and the only way the last
        // course fits beside the others.
        pairsSchedule(state, seed, Courses - 1, Sections, 2 * (Courses - 1) + 1);
        Rng rng(seed * 13 + 3);
        const int culprit = addCourse(state, "Culprit");
        for (int j = 0; j < Sections; ++j) addSection(state, culprit, 0, 1, 1U << (DaysPerWeek - 1));
        for (int j = 1; j < Sections; ++j) {
            const Course& from = state.Courses[static_cast<size_t>(rng.below(Courses - 1))];
            copyMeetings(state.Courses[static_cast<size_t>(culprit)].Sections[static_cast<size_t>(j)],
                         from.Sections[static_cast<size_t>(rng.below(from.NumSections))]);
        }
        return;
    }
    case HuntKind::Copies: {
        constexpr int Distinct = 3;
        randomSchedule(state, seed, Courses, Sections, Sections,
                       {.minLength = 1, .maxLength = 2, .minDays = 1, .maxDays = 2, .dayPool = DaysPerWeek});
        Rng rng(seed * 7 + 5);
        for (int i = 0; i < Courses; ++i) {
            Course& course = state.Courses[static_cast<size_t>(i)];
            for (int j = Distinct; j < Sections; ++j)
                copyMeetings(course.Sections[static_cast<size_t>(j)],
                             course.Sections[static_cast<size_t>(rng.below(Distinct))]);
        }
        return;
    }
    }
}

}  // namespace quorvandel::bench
