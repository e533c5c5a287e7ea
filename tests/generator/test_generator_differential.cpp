// The shipped generator against the plain enumeration on seeded schedules:
// the same stored timetables in the same order and the same "more than 26"
// answer, under every setting of the search's knobs. On schedules with no
// timetable, the courses named as the reason checked by the plain
// enumeration: together they have no timetable, without any one of them
// they do. And the room bound checked on its own: every subproblem it
// rejects has no timetable.
#include <QtTest>
#include <array>
#include <map>
#include <set>
#include <tuple>

#include "conflict_explanation.h"
#include "generator_fixture.h"
#include "plain_ranking.h"
#include "rank_bounds.h"
#include "ranked_search.h"
#include "room_bound.h"
#include "schedule_makers.h"
#include "section_maker.h"
#include "timetable_count.h"
#include "week.h"

using namespace quorvandel;
using namespace quorvandel::testing;
using namespace quorvandel::makers;

namespace {

#ifdef QUORVANDEL_SANITIZED_BUILD
constexpr int Scale = 3;  // the sanitizers slow the reference down: fewer seeds
#else
constexpr int Scale = 1;
#endif

struct NamedLimits {
    const char* name;
    SearchLimits limits;
};

std::array<NamedLimits, 6> limitSettings() {
    NamedLimits shipped{"shipped", SearchLimits{}};
    NamedLimits forward{"forward checking only", plainForwardChecking()};
    NamedLimits memoOnly{"forward checking and memo", plainForwardChecking()};
    memoOnly.limits.memoBytes = SearchLimits{}.memoBytes;
    memoOnly.limits.memoMinNodes = 0;  // every failure goes through the memo
    NamedLimits noSide{"arc consistency, matching, memo, no side search", SearchLimits{}};
    noSide.limits.feasibilityCheckMinOpen = 0;
    // The room bound judged every 4 asks, so that searches this small go
    // over to samples of the steps and back.
    NamedLimits tinyMemo{"shipped with a 512-byte memo and the room bound paced", SearchLimits{}};
    tinyMemo.limits.memoBytes = 512;
    tinyMemo.limits.roomBoundWindow = 4;
    NamedLimits roomOnly{"forward checking and the room bound", plainForwardChecking()};
    roomOnly.limits.roomBound = true;
    return {shipped, forward, memoOnly, noSide, tinyMemo, roomOnly};
}

// 1 to 7 courses (small ones more often), 1 to 6 sections, at most about
// 10^5 combinations, and a section style drawn per seed from sparse to dense.
void randomFamilyOf(CourseList& list, std::uint64_t seed, int maxMeetings) {
    Rng rng(seed * 7919 + 1);
    const int courses = std::min(rng.between(1, 4) + rng.between(0, 3), 7);
    int maxSections = rng.between(1, 6);
    SectionStyle style;
    style.minLength = rng.between(1, 3);
    style.maxLength = style.minLength + rng.between(0, 4);
    style.minDays = 1;
    style.maxDays = rng.between(1, 3);
    style.dayPool = rng.below(2) == 0 ? 5 : 7;
    style.maxMeetings = maxMeetings;
    for (;;) {
        randomSchedule(list, seed, courses, 1, maxSections, style);
        if (combinations(list) <= 100000 || maxSections == 1) return;
        --maxSections;
    }
}

void randomFamily(CourseList& list, std::uint64_t seed) { randomFamilyOf(list, seed, 1); }
// The same with 1 to 3 meetings a section (a lecture with its lab).
void meetingsFamily(CourseList& list, std::uint64_t seed) { randomFamilyOf(list, seed, 3); }

// 7 courses of 5 sections in the style that sits at the edge between no
// timetable and a few.
void edgeFamily(CourseList& list, std::uint64_t seed) {
    const SectionStyle style{.minLength = 4, .maxLength = 6, .minDays = 2, .maxDays = 3, .dayPool = 5};
    randomSchedule(list, seed, 7, 5, 5, style);
}

void holesFamily(CourseList& list, std::uint64_t seed) { blockSchedule(list, seed, 8, 4, 7); }
void fitFamily(CourseList& list, std::uint64_t seed) { blockSchedule(list, seed, 8, 3, 8); }

// The room kinds at sizes the plain enumeration still checks: 7 courses of
// two-block sections on 13 blocks; 7 courses of one-day intervals of 4 or
// 5 slots (7 or 5 fit in a day); 7 courses crowding 13 blocks, one of them
// with a section elsewhere.
void twoBlockFamily(CourseList& list, std::uint64_t seed) { twoBlockSchedule(list, seed, 7, 5, 13); }
void intervalFamily(CourseList& list, std::uint64_t seed) {
    intervalSchedule(list, seed, 7, 5, 4 + static_cast<int>(seed % 2), 1);
}
void crowdedWeekFamily(CourseList& list, std::uint64_t seed) { crowdedWeekSchedule(list, seed, 7, 5); }
// 7 courses of two-block sections on blocks of unequal length: 13 blocks
// (none fits) or 15 (a few may).
void pairsFamily(CourseList& list, std::uint64_t seed) { pairsSchedule(list, seed, 7, 5, 13 + 2 * (seed % 2 == 0)); }

using Family = void (*)(CourseList&, std::uint64_t);

// Most sections copies of others (same cells, their own numbers), between
// real ones: 7 courses of 5 sections, short ones on all seven days, longer
// ones on three or crowded on two, so that there are many timetables, a
// few, or none.
void copiesFamily(CourseList& list, std::uint64_t seed) {
    const int kind = static_cast<int>(seed % 3);
    const SectionStyle style{.minLength = 1 + kind,
                             .maxLength = 2 + 2 * kind,
                             .minDays = 1,
                             .maxDays = 2,
                             .dayPool = kind == 0 ? 7 : 4 - kind};
    randomSchedule(list, seed, 7, 5, 5, style);
    copySections(list, seed, 70);
}

// 3 to 8 courses of 1 to 4 long sections on few days: mostly no timetable.
void crowdedFamilyOf(CourseList& list, std::uint64_t seed, int maxMeetings) {
    Rng rng(seed * 104729 + 3);
    SectionStyle style;
    style.minLength = rng.between(2, 4);
    style.maxLength = style.minLength + rng.between(0, 4);
    style.maxDays = rng.between(1, 2);
    style.dayPool = rng.between(2, 4);
    style.maxMeetings = maxMeetings;
    randomSchedule(list, seed, rng.between(3, 8), 1, 4, style);
}
void crowdedFamily(CourseList& list, std::uint64_t seed) { crowdedFamilyOf(list, seed, 1); }
void crowdedMeetingsFamily(CourseList& list, std::uint64_t seed) { crowdedFamilyOf(list, seed, 2); }

// Some seeds keep a part of the week free: one or two days from a random
// half-hour for a few hours.
BusyCells busyFor(std::uint64_t seed) {
    Rng rng(seed * 31 + 17);
    BusyCells busy;
    if (rng.below(3) != 0) return busy;
    const int start = rng.below(SlotsPerDay - 1), length = rng.between(1, 8);
    for (int days = rng.between(1, 2); days > 0; --days) {
        const int day = rng.below(4);
        for (int slot = start; slot < std::min<int>(start + length, SlotsPerDay); ++slot)
            busy.set(static_cast<size_t>(day * SlotsPerDay + slot));
    }
    return busy;
}

bool touchesBusy(const Section& s, const BusyCells& busy) { return (sectionCells(s) & busy).any(); }

// The earliest half-hour both sections take, and the half-hours after it
// that both take that day without a break.
SectionMeeting firstOverlap(const Section& x, const Section& y) {
    const auto shared = sectionCells(x) & sectionCells(y);
    SectionMeeting m{-1, -1, -1, 0, 0};
    for (int cell = 0; cell < CellsPerWeek; ++cell) {
        if (!shared.test(static_cast<size_t>(cell))) continue;
        const int day = cell / SlotsPerDay, from = cell % SlotsPerDay;
        int to = from;
        while (to < SlotsPerDay && shared.test(static_cast<size_t>(day * SlotsPerDay + to))) ++to;
        return {-1, -1, static_cast<int16_t>(day), static_cast<int16_t>(from), static_cast<int16_t>(to)};
    }
    return m;
}

// The courses of `set` (bit i = course i) with their sections in busy cells
// left out, as the plain enumeration's state; false when one of them has no
// section left.
bool withoutBusySections(const CourseList& schedule, std::uint32_t set, const BusyCells& busy, ModuleState& state) {
    for (int i = 0; i < schedule.NumCourses; ++i) {
        if (!((set >> i) & 1U)) continue;
        Course course = schedule.Courses[static_cast<size_t>(i)];
        course.NumSections = 0;
        for (int j = 0; j < schedule.Courses[static_cast<size_t>(i)].NumSections; ++j) {
            const Section& s = schedule.Courses[static_cast<size_t>(i)].Sections[static_cast<size_t>(j)];
            if (!touchesBusy(s, busy)) course.Sections[static_cast<size_t>(course.NumSections++)] = s;
        }
        if (course.NumSections == 0) return false;
        state.Courses[static_cast<size_t>(state.NumCourses++)] = course;
    }
    return true;
}

// By the plain enumeration: whether the courses of `set` have a timetable
// when sections in the busy cells are left out.
bool plainHasTimetable(const CourseList& schedule, std::uint32_t set, const BusyCells& busy) {
    auto state = freshState();
    if (!withoutBusySections(schedule, set, busy, *state)) return false;
    if (state->NumCourses == 0) return true;
    plain::MakeTimetables(*state, true);
    return state->NumTimetables > 0;
}

// By the plain enumeration, every combination visited: the number of
// conflict-free timetables when sections in the busy cells are left out.
std::uint64_t plainCount(const CourseList& schedule, const BusyCells& busy) {
    auto state = freshState();
    if (!withoutBusySections(schedule, (1U << schedule.NumCourses) - 1U, busy, *state)) return 0;
    if (state->NumCourses == 0) return 1;
    return static_cast<std::uint64_t>(plain::MakeTimetables(*state).conflictFree);
}

// "Same times once" by the plain enumeration: every conflict-free
// combination grouped by the cells of each course's section, in the order
// of each group's first member, which stands for the group with, for a
// course taking several sections in it, all their numbers in course order.
std::vector<Timetable> plainMerged(const CourseList& schedule, const BusyCells& busy) {
    std::vector<Timetable> groups;
    auto state = freshState();
    if (!withoutBusySections(schedule, (1U << schedule.NumCourses) - 1U, busy, *state)) return groups;
    if (state->NumCourses == 0) return {Timetable{}};
    const int n = state->NumCourses;
    std::map<std::vector<std::string>, size_t> groupOf;
    std::vector<std::vector<std::set<int>>> members;  // per group and course: section indices
    for (plain::ResetCombination(*state); !state->EnumDone; plain::NextCombination(*state)) {
        const bool free = plain::CheckCombination(*state);
        state->Occupancy.fill(0);
        if (!free) continue;
        std::vector<std::string> key;
        for (int i = 0; i < n; ++i) {
            key.emplace_back(CellsPerWeek, '0');
            forEachCoveredCell(state->Courses[i].Sections[state->SectionChoice[i]],
                               [&](int cell) { key.back()[static_cast<size_t>(cell)] = '1'; });
        }
        const auto [at, isNew] = groupOf.emplace(key, groups.size());
        if (isNew) {
            state->NumTimetables = 0;
            plain::StoreTimetable(*state);
            groups.push_back(state->Timetables[0]);
            members.emplace_back(static_cast<size_t>(n));
        }
        for (int i = 0; i < n; ++i) members[at->second][static_cast<size_t>(i)].insert(state->SectionChoice[i]);
    }
    for (size_t g = 0; g < groups.size(); ++g)
        for (int i = 0; i < n; ++i)
            for (int j : members[g][static_cast<size_t>(i)])
                if (members[g][static_cast<size_t>(i)].size() > 1)
                    groups[g].SameTimeNumbers[i] += (groups[g].SameTimeNumbers[i].empty() ? u"" : u", ") +
                                                    state->Courses[i].Sections[static_cast<size_t>(j)].SecNum;
    return groups;
}

struct NamedCountLimits {
    const char* name;
    CountLimits limits;
};

CountLimits noSweep() {
    CountLimits limits;
    limits.sweepMaxStates = 0;
    return limits;
}

// The count's knobs one by one and all off, and a memo that overflows.
// The shipped count (the sweep), the sweep giving up part way, and the
// course-by-course count with each of its techniques.
std::array<NamedCountLimits, 7> countSettings() {
    NamedCountLimits shipped{"shipped", CountLimits{}};
    NamedCountLimits sweepGivesUp{"the sweep gives up past 5 states", CountLimits{}};
    sweepGivesUp.limits.sweepMaxStates = 5;
    NamedCountLimits bySearch{"course by course", noSweep()};
    NamedCountLimits nothing{"every section visited, no groups, no memo", noSweep()};
    nothing.limits.countLastCourse = nothing.limits.splitComponents = false;
    nothing.limits.memoBytes = 0;
    NamedCountLimits noGroups{"no groups", noSweep()};
    noGroups.limits.splitComponents = false;
    NamedCountLimits noMemo{"no memo", noSweep()};
    noMemo.limits.memoBytes = 0;
    NamedCountLimits tinyMemo{"a 512-byte memo", noSweep()};
    tinyMemo.limits.memoBytes = 512;
    return {shipped, sweepGivesUp, bySearch, nothing, noGroups, noMemo, tinyMemo};
}

// Empty when the explanation holds by the plain enumeration: its courses
// have no timetable, each one taken out leaves a set that has one, its kind
// fits its size, a pair's meetings are really shared half-hours, and a
// larger set is named only when no single course or pair is at fault.
QString explanationFault(const CourseList& schedule, const BusyCells& busy, const ConflictExplanation& e) {
    using Kind = ConflictExplanation::Kind;
    std::uint32_t set = 0;
    for (int16_t c : e.courses) set |= 1U << c;
    if (e.courses.empty() || plainHasTimetable(schedule, set, busy)) return QStringLiteral("the set has a timetable");
    for (int16_t c : e.courses)
        if (!plainHasTimetable(schedule, set & ~(1U << c), busy))
            return QStringLiteral("without course %1 the set still has no timetable").arg(c);
    const size_t size = e.courses.size();
    if ((size == 1) != (e.kind == Kind::BlockedCourse) || (size == 2) != (e.kind == Kind::ClashingPair))
        return QStringLiteral("kind does not fit %1 courses").arg(size);
    if (size >= 3)
        for (int a = 0; a < schedule.NumCourses; ++a)
            for (int b = a; b < schedule.NumCourses; ++b)
                if (!plainHasTimetable(schedule, (1U << a) | (1U << b), busy))
                    return QStringLiteral("courses %1 and %2 alone have no timetable").arg(a).arg(b);
    if (size == 2) {
        const Course& first = schedule.Courses[static_cast<size_t>(e.courses[0])];
        const Course& second = schedule.Courses[static_cast<size_t>(e.courses[1])];
        std::vector<SectionMeeting> want;
        for (int j = 0; j < first.NumSections; ++j)
            for (int k = 0; k < second.NumSections; ++k) {
                const Section& x = first.Sections[static_cast<size_t>(j)];
                const Section& y = second.Sections[static_cast<size_t>(k)];
                if (touchesBusy(x, busy) || touchesBusy(y, busy)) continue;
                want.push_back(firstOverlap(x, y));
                want.back().sectionA = static_cast<int16_t>(j);
                want.back().sectionB = static_cast<int16_t>(k);
            }
        if (e.meetings != want) return QStringLiteral("the pair's meetings differ");
    }
    return {};
}

// A small random schedule (at most 20,000 combinations, so that the plain
// ranking can score every one; one in eight of the plain kind, without busy
// times, copies or further meetings, is long classes crowding two to four
// days, which fill up) and, with `busyRanges` > 0, up to that many random
// busy stretches of 1 to 6 half-hours.
void rankedCase(ModuleState& state, std::uint64_t seed, int busyRanges, int maxMeetings, bool copies) {
    Rng rng(seed * 104729 + 7);
    const int courses = rng.between(2, 7);
    SectionStyle style;
    style.minLength = rng.between(1, 3);
    style.maxLength = style.minLength + rng.between(0, 3);
    style.maxDays = rng.between(1, 3);
    style.dayPool = rng.below(2) == 0 ? 5 : 7;
    if (seed % 8 == 7 && busyRanges == 0 && !copies && maxMeetings == 1) {  // long classes on few days
        style.minLength = 3 + static_cast<int>(seed / 8 % 4);
        style.maxLength = style.minLength + static_cast<int>(seed / 32 % 5);
        style.maxDays = 1;
        style.dayPool = 2 + static_cast<int>(seed / 8 % 3);
    }
    style.maxMeetings = maxMeetings;
    int maxSections = rng.between(2, 7);
    do randomSchedule(state, seed, courses, 1, maxSections, style);
    while (combinations(state) > 20000 && --maxSections > 1);
    if (copies) copySections(state, seed, 70);
    state.Options.busy.reset();
    for (int r = rng.between(0, busyRanges); r > 0; --r) {
        const int day = rng.below(style.dayPool), length = rng.between(1, 6);
        const int start = rng.between(0, SlotsPerDay - length);
        for (int s = start; s < start + length; ++s) state.Options.busy.set(static_cast<size_t>(cellOf(day, s)));
    }
}

// The first course with sections whose every section meets in a busy cell,
// found cell by cell; -1 for none.
int firstBusyCourse(const ModuleState& state) {
    for (int i = 0; i < state.NumCourses; ++i) {
        const Course& course = state.Courses[static_cast<size_t>(i)];
        int busySections = 0;
        for (int j = 0; j < course.NumSections; ++j) {
            busySections += touchesBusy(course.Sections[static_cast<size_t>(j)], state.Options.busy) ? 1 : 0;
        }
        if (course.NumSections > 0 && busySections == course.NumSections) return i;
    }
    return -1;
}

// Empty when `got` holds the first 26 of the reference ranking, in order,
// with the same "more than 26" answer; otherwise what differs.
QString rankedDifference(const ModuleState& schedule, const std::vector<plain::RankedCombination>& want,
                         const ModuleState& got, const GenerationResult& result) {
    const int busyCourse = firstBusyCourse(schedule);
    if (busyCourse >= 0)
        return result.outcome == TimeTablifyOutcome::EverySectionBusy && result.busyCourse == busyCourse
                   ? QString()
                   : QStringLiteral("course %1 is all busy, not reported").arg(busyCourse);
    const int stored = std::min<int>(static_cast<int>(want.size()), MaxStoredTimetables);
    if (got.NumTimetables != stored)
        return QStringLiteral("NumTimetables %1, reference %2").arg(got.NumTimetables).arg(stored);
    for (int k = 0; k < stored; ++k)
        for (int i = 0; i < schedule.NumCourses; ++i) {
            const auto choice = want[static_cast<size_t>(k)].choice[static_cast<size_t>(i)];
            if (!(got.Timetables[static_cast<size_t>(k)].Sections[static_cast<size_t>(i)] ==
                  schedule.Courses[static_cast<size_t>(i)].Sections[static_cast<size_t>(choice)]))
                return QStringLiteral("timetable %1 differs at course %2: %3, reference %4")
                    .arg(k)
                    .arg(i)
                    .arg(text(got.Timetables[static_cast<size_t>(k)].Sections[static_cast<size_t>(i)].SecNum))
                    .arg(choice);
        }
    if (result.moreThanStored != (want.size() > MaxStoredTimetables))
        return QStringLiteral("moreThanStored %1 with %2 timetables").arg(result.moreThanStored).arg(want.size());
    const auto expected = stored > 0 ? TimeTablifyOutcome::ShowResults : TimeTablifyOutcome::NoTimetables;
    if (result.outcome != expected || result.stopped) return QStringLiteral("wrong outcome");
    return {};
}

// Empty when a stopped search's timetables are real ones, in the order of
// the reference ranking `want`, each once.
QString stoppedFault(const ModuleState& schedule, const std::vector<plain::RankedCombination>& want,
                     const RankedOutcome& got) {
    if (!got.stopped) return QStringLiteral("not marked stopped");
    if (got.count < 1 || got.count > MaxStoredTimetables) return QStringLiteral("%1 kept").arg(got.count);
    long long previous = -1;
    for (int k = 0; k < got.count; ++k) {
        const auto& choice = got.best[static_cast<size_t>(k)].choice;
        const auto at = std::find_if(want.begin(), want.end(), [&](const plain::RankedCombination& c) {
            return std::equal(choice.begin(), choice.begin() + schedule.NumCourses, c.choice.begin());
        });
        if (at == want.end()) return QStringLiteral("timetable %1 is not conflict-free").arg(k);
        if (at - want.begin() <= previous) return QStringLiteral("timetable %1 out of order or twice").arg(k);
        previous = at - want.begin();
    }
    return {};
}

// The open courses `open` of `schedule`, each with its sections in
// `remaining` only, as a schedule of their own.
std::unique_ptr<CourseList> subproblem(const CourseList& schedule, const SectionSetRow& remaining, CourseSet open) {
    auto sub = std::make_unique<CourseList>();
    for (int i : open) {
        Course& course = sub->Courses[sub->NumCourses++];
        course.CourseName = schedule.Courses[i].CourseName;
        for (int j : remaining[i]) course.Sections[course.NumSections++] = schedule.Courses[i].Sections[j];
    }
    return sub;
}

}  // namespace

Q_DECLARE_METATYPE(Family)
Q_DECLARE_METATYPE(ResultOrder)

class GeneratorDifferentialTest : public QObject {
    Q_OBJECT
private slots:
    void sameAsPlainEnumeration_data() {
        QTest::addColumn<Family>("family");
        QTest::addColumn<int>("seeds");
        // Fractions of the seeds that must have none, 1 to 26 and more than
        // 26 timetables, so that the family really covers all three.
        QTest::addColumn<double>("minNone");
        QTest::addColumn<double>("minFew");
        QTest::addColumn<double>("minMany");
        QTest::newRow("random 1-7 courses x 1-6 sections") << Family(randomFamily) << 1200 / Scale << 0.1 << 0.1 << 0.1;
        QTest::newRow("edge 7 x 5") << Family(edgeFamily) << 300 / Scale << 0.1 << 0.1 << 0.0;
        QTest::newRow("8 x 4 into 7 disjoint blocks") << Family(holesFamily) << 300 / Scale << 1.0 << 0.0 << 0.0;
        QTest::newRow("8 x 3 into 8 disjoint blocks") << Family(fitFamily) << 200 / Scale << 0.0 << 0.3 << 0.0;
        QTest::newRow("7 x 5 two-block sections on 13 blocks")
            << Family(twoBlockFamily) << 300 / Scale << 1.0 << 0.0 << 0.0;
        QTest::newRow("7 x 5 one-day intervals") << Family(intervalFamily) << 300 / Scale << 0.3 << 0.0 << 0.0;
        QTest::newRow("7 x 5 crowding 13 blocks") << Family(crowdedWeekFamily) << 300 / Scale << 0.1 << 0.0 << 0.0;
        QTest::newRow("random, 1-3 meetings a section") << Family(meetingsFamily) << 1200 / Scale << 0.1 << 0.1 << 0.1;
        QTest::newRow("7 x 5, most sections copies") << Family(copiesFamily) << 300 / Scale << 0.2 << 0.0 << 0.3;
        QTest::newRow("7 x 5 pairs of unequal blocks") << Family(pairsFamily) << 300 / Scale << 0.5 << 0.0 << 0.0;
    }
    void sameAsPlainEnumeration() {
        QFETCH(Family, family);
        QFETCH(int, seeds);
        QFETCH(double, minNone);
        QFETCH(double, minFew);
        QFETCH(double, minMany);
        const auto settings = limitSettings();
        auto schedule = std::make_unique<CourseList>();
        auto got = freshState();
        int none = 0, few = 0, many = 0;
        for (int seed = 1; seed <= seeds; ++seed) {
            family(*schedule, static_cast<std::uint64_t>(seed));
            const Reference ref = referenceFor(*schedule);
            if (ref.state->NumTimetables == 0)
                ++none;
            else if (ref.result.moreThanStored)
                ++many;
            else
                ++few;
            for (const NamedLimits& setting : settings) {
                static_cast<CourseList&>(*got) = *schedule;
                got->NumTimetables = 5;  // stale results must not survive
                const GenerationResult result = TimeTablify(*got, {}, setting.limits);
                const QString diff = differenceFrom(ref, *got, result);
                if (!diff.isEmpty())
                    QFAIL(qPrintable(QStringLiteral("seed %1, %2: %3").arg(seed).arg(setting.name, diff)));
            }
        }
        qInfo("%d seeds: %d with none, %d with 1-26, %d with more than 26", seeds, none, few, many);
        QVERIFY2(none >= minNone * seeds, "too few schedules without a timetable");
        QVERIFY2(few >= minFew * seeds, "too few schedules with 1 to 26 timetables");
        QVERIFY2(many >= minMany * seeds, "too few schedules with more than 26 timetables");
    }

    // The count against the plain enumeration's, busy times on a third of
    // the seeds, under every setting of its knobs. Cut short after a few
    // steps it gives a power of ten below the true count.
    void countSameAsPlainEnumeration_data() {
        QTest::addColumn<Family>("family");
        QTest::addColumn<int>("seeds");
        QTest::addColumn<int>("minBounds");  // seeds cut short, so that the bound is really tested
        QTest::addColumn<bool>("merged");    // same times once: arrangements counted
        QTest::newRow("random 1-7 courses x 1-6 sections")
            << Family(randomFamily) << 600 / Scale << 30 / Scale << false;
        QTest::newRow("edge 7 x 5") << Family(edgeFamily) << 150 / Scale << 10 / Scale << false;
        QTest::newRow("8 x 3 into 8 disjoint blocks") << Family(fitFamily) << 100 / Scale << 10 / Scale << false;
        QTest::newRow("7 x 5 one-day intervals") << Family(intervalFamily) << 150 / Scale << 0 << false;
        QTest::newRow("7 x 5 crowding 13 blocks") << Family(crowdedWeekFamily) << 150 / Scale << 0 << false;
        QTest::newRow("3-8 crowded courses x 1-4 sections") << Family(crowdedFamily) << 300 / Scale << 0 << false;
        QTest::newRow("random, 1-3 meetings a section") << Family(meetingsFamily) << 300 / Scale << 0 << false;
        QTest::newRow("7 x 5, most sections copies") << Family(copiesFamily) << 150 / Scale << 0 << false;
        QTest::newRow("7 x 5 pairs of unequal blocks") << Family(pairsFamily) << 150 / Scale << 0 << false;
        QTest::newRow("merged: 7 x 5, most sections copies") << Family(copiesFamily) << 300 / Scale << 0 << true;
        QTest::newRow("merged: random, 1-3 meetings a section") << Family(meetingsFamily) << 300 / Scale << 0 << true;
        QTest::newRow("merged: random 1-7 courses x 1-6 sections") << Family(randomFamily) << 300 / Scale << 0 << true;
    }
    void countSameAsPlainEnumeration() {
        QFETCH(Family, family);
        QFETCH(int, seeds);
        QFETCH(int, minBounds);
        QFETCH(bool, merged);
        auto schedule = std::make_unique<CourseList>();
        int bounds = 0;
        for (int seed = 1; seed <= seeds; ++seed) {
            family(*schedule, static_cast<std::uint64_t>(seed));
            const BusyCells busy = busyFor(static_cast<std::uint64_t>(seed));
            const std::uint64_t want = merged ? plainMerged(*schedule, busy).size() : plainCount(*schedule, busy);
            for (const NamedCountLimits& setting : countSettings()) {
                const TimetableTally got =
                    countTimetables(*schedule, schedule->NumCourses, busy, nullptr, setting.limits, nullptr, merged);
                if (!(got == TimetableTally{TimetableTally::Kind::Exact, want}))
                    QFAIL(qPrintable(QStringLiteral("seed %1, %2: counted %3 (kind %4), plain %5")
                                         .arg(seed)
                                         .arg(setting.name)
                                         .arg(got.number)
                                         .arg(static_cast<int>(got.kind))
                                         .arg(want)));
            }
            CountLimits tight = noSweep();
            tight.stepBudget = 1 + static_cast<std::uint64_t>(seed % 40);
            const TimetableTally cut =
                countTimetables(*schedule, schedule->NumCourses, busy, nullptr, tight, nullptr, merged);
            if (cut.kind == TimetableTally::Kind::Exact) {
                QCOMPARE(cut.number, want);
                continue;
            }
            QVERIFY(cut.kind == TimetableTally::Kind::MoreThan);
            QVERIFY2(cut.number == 0 || cut.number < want,
                     qPrintable(QStringLiteral("seed %1: more than %2 of %3").arg(seed).arg(cut.number).arg(want)));
            for (std::uint64_t p = cut.number; p > 1; p /= 10) QCOMPARE(p % 10, std::uint64_t{0});
            bounds += cut.number > 0 ? 1 : 0;
        }
        qInfo("%d seeds, %d cut short with a bound above 0", seeds, bounds);
        QVERIFY2(bounds >= minBounds, "too few counts cut short");
    }

    // Beyond the plain enumeration's reach, the sweep and the course-by-
    // course count (two methods that share nothing but the schedule) agree
    // on schedules of 10 to 12 courses with millions of timetables.
    void countSweepAgreesWithCourseByCourse() {
        auto schedule = std::make_unique<CourseList>();
        int counted = 0;
        for (int seed = 1; seed <= 30; ++seed) {  // fast even under the sanitizers
            const SectionStyle style{.minLength = 2, .maxLength = 3, .minDays = 1, .maxDays = 2, .dayPool = 5};
            randomSchedule(*schedule, static_cast<std::uint64_t>(seed), 10 + seed % 3, 3, 5, style);
            const TimetableTally swept = countTimetables(*schedule, schedule->NumCourses, {}, nullptr);
            CountLimits unlimited = noSweep();
            unlimited.stepBudget = ~std::uint64_t{0};
            const TimetableTally searched = countTimetables(*schedule, schedule->NumCourses, {}, nullptr, unlimited);
            QVERIFY(searched.kind == TimetableTally::Kind::Exact);
            QVERIFY2(swept == searched, qPrintable(QStringLiteral("seed %1: swept %2, course by course %3")
                                                       .arg(seed)
                                                       .arg(swept.number)
                                                       .arg(searched.number)));
            counted += searched.number > 1'000'000 ? 1 : 0;
        }
        QVERIFY2(counted > 0, "no schedule with millions of timetables");
    }

    // "Same times once" against the plain enumeration grouped by cells: the
    // first 26 groups in order, each naming every section of its time, and
    // "more than 26" exactly when there are more groups.
    void mergedSameAsGroupedPlainEnumeration_data() {
        QTest::addColumn<Family>("family");
        QTest::addColumn<int>("seeds");
        QTest::newRow("most sections copies") << Family(copiesFamily) << 300 / Scale;
        QTest::newRow("1-3 meetings a section") << Family(meetingsFamily) << 300 / Scale;
        QTest::newRow("random") << Family(randomFamily) << 300 / Scale;
    }
    void mergedSameAsGroupedPlainEnumeration() {
        QFETCH(Family, family);
        QFETCH(int, seeds);
        auto schedule = std::make_unique<CourseList>();
        auto got = freshState();
        int merges = 0;
        for (int seed = 1; seed <= seeds; ++seed) {
            family(*schedule, static_cast<std::uint64_t>(seed));
            const std::vector<Timetable> want = plainMerged(*schedule, busyFor(static_cast<std::uint64_t>(seed)));
            static_cast<CourseList&>(*got) = *schedule;
            got->Options = {busyFor(static_cast<std::uint64_t>(seed)), ResultOrder::FirstFound, ResultOrder::FirstFound,
                            true};
            const GenerationResult result = TimeTablify(*got);
            const QString where = QStringLiteral("seed %1").arg(seed);
            QCOMPARE(static_cast<size_t>(got->NumTimetables), std::min<size_t>(want.size(), MaxStoredTimetables));
            QVERIFY2(result.moreThanStored == (want.size() > MaxStoredTimetables), qPrintable(where));
            for (int k = 0; k < got->NumTimetables; ++k) {
                QVERIFY2(got->Timetables[k] == want[static_cast<size_t>(k)], qPrintable(where));
                for (const Text& numbers : got->Timetables[k].SameTimeNumbers) merges += numbers.empty() ? 0 : 1;
            }
        }
        QVERIFY2(merges > 0, "no same-time sections were merged");
    }

    void explanationHoldsByPlainEnumeration_data() {
        QTest::addColumn<Family>("family");
        QTest::addColumn<int>("wanted");  // schedules without a timetable to check
        QTest::newRow("3-8 crowded courses x 1-4 sections") << Family(crowdedFamily) << 300 / Scale;
        QTest::newRow("edge 7 x 5") << Family(edgeFamily) << 60 / Scale;
        QTest::newRow("8 x 4 into 7 disjoint blocks") << Family(holesFamily) << 30 / Scale;
        QTest::newRow("crowded, 1-2 meetings a section") << Family(crowdedMeetingsFamily) << 300 / Scale;
        QTest::newRow("7 x 5, most sections copies") << Family(copiesFamily) << 30 / Scale;
    }
    void explanationHoldsByPlainEnumeration() {
        QFETCH(Family, family);
        QFETCH(int, wanted);
        auto schedule = std::make_unique<CourseList>();
        int checked = 0, blocked = 0, pairs = 0, larger = 0;
        for (int seed = 1; checked < wanted && seed <= 20 * wanted; ++seed) {
            family(*schedule, static_cast<std::uint64_t>(seed));
            const BusyCells busy = busyFor(static_cast<std::uint64_t>(seed));
            if (plainHasTimetable(*schedule, (1U << schedule->NumCourses) - 1U, busy)) continue;
            ++checked;
            // Every other schedule as after a search that found nothing,
            // which the deletion then takes as proven.
            const ConflictExplanation e =
                ExplainNoTimetable(*schedule, schedule->NumCourses, busy, nullptr, {}, seed % 2 == 0);
            const QString fault = explanationFault(*schedule, busy, e);
            if (!fault.isEmpty()) QFAIL(qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(fault)));
            (e.courses.size() == 1 ? blocked : e.courses.size() == 2 ? pairs : larger) += 1;
        }
        qInfo("%d schedules: %d blocked courses, %d clashing pairs, %d larger sets", checked, blocked, pairs, larger);
        QCOMPARE(checked, wanted);
    }

    // Busy times and result orders against the plain ranking: the same
    // timetables in the same order, the same "more than 26", and the course
    // named when every one of its sections is busy.
    void rankedSameAsPlainRanking_data() {
        QTest::addColumn<ResultOrder>("primary");
        QTest::addColumn<ResultOrder>("tieBreak");
        QTest::addColumn<int>("busyRanges");
        QTest::addColumn<int>("maxMeetings");  // a section's meetings: 1 to this many
        QTest::addColumn<bool>("copies");      // most sections copies of others
        const auto both = [](const char* name, ResultOrder primary, ResultOrder tieBreak, int busyRanges) {
            QTest::newRow(name) << primary << tieBreak << busyRanges << 1 << false;
            QTest::addRow("%s, copies", name) << primary << tieBreak << busyRanges << 1 << true;
        };
        both("first found, busy times", ResultOrder::FirstFound, ResultOrder::FewestDays, 8);
        both("fewest days", ResultOrder::FewestDays, ResultOrder::FirstFound, 0);
        both("fewest idle", ResultOrder::FewestIdle, ResultOrder::FirstFound, 0);
        both("latest start", ResultOrder::LatestStart, ResultOrder::FirstFound, 0);
        both("earliest finish", ResultOrder::EarliestFinish, ResultOrder::FirstFound, 0);
        both("fewest days, then idle, busy times", ResultOrder::FewestDays, ResultOrder::FewestIdle, 4);
        both("earliest finish, then latest start", ResultOrder::EarliestFinish, ResultOrder::LatestStart, 2);
        both("earliest finish, then fewest idle, busy times", ResultOrder::EarliestFinish, ResultOrder::FewestIdle, 2);
        QTest::newRow("1-2 meetings: first found, busy times")
            << ResultOrder::FirstFound << ResultOrder::FewestDays << 4 << 2 << false;
        QTest::newRow("1-3 meetings: fewest days")
            << ResultOrder::FewestDays << ResultOrder::FirstFound << 0 << 3 << false;
        QTest::newRow("1-3 meetings: fewest idle")
            << ResultOrder::FewestIdle << ResultOrder::FirstFound << 0 << 3 << false;
        QTest::newRow("1-3 meetings: latest start")
            << ResultOrder::LatestStart << ResultOrder::FirstFound << 0 << 3 << false;
        QTest::newRow("1-3 meetings: earliest finish, then fewest idle, busy times")
            << ResultOrder::EarliestFinish << ResultOrder::FewestIdle << 2 << 3 << false;
        QTest::newRow("1-3 meetings, copies: fewest idle")
            << ResultOrder::FewestIdle << ResultOrder::FirstFound << 0 << 3 << true;
    }
    void rankedSameAsPlainRanking() {
        QFETCH(ResultOrder, primary);
        QFETCH(ResultOrder, tieBreak);
        QFETCH(int, busyRanges);
        QFETCH(int, maxMeetings);
        QFETCH(bool, copies);
        auto schedule = freshState();
        auto got = freshState();
        int many = 0, busyNamed = 0;
        const int seeds = 400 / Scale;
        for (int seed = 1; seed <= seeds; ++seed) {
            rankedCase(*schedule, static_cast<std::uint64_t>(seed), busyRanges, maxMeetings, copies);
            schedule->Options.primary = primary;
            schedule->Options.tieBreak = tieBreak;
            auto reference = std::make_unique<ModuleState>(*schedule);
            const auto want = plain::RankAll(*reference);
            // Shipped; looking around for a cutoff as soon as 26 are held,
            // which the small schedules here never wait long enough for; the
            // two passes alone where a listing would settle few; and a listing
            // without arc consistency, so that the failed-section tests drop
            // sections nothing else would.
            GenerationResult result;
            const SearchLimits shipped;
            for (const auto& [lookAround, listFew, arcs] :
                 {std::tuple{shipped.rankedLookAroundAfterNodes, true, true}, std::tuple{std::uint64_t{0}, true, true},
                  std::tuple{shipped.rankedLookAroundAfterNodes, false, true},
                  std::tuple{shipped.rankedLookAroundAfterNodes, true, false}}) {
                SearchLimits limits;
                limits.rankedLookAroundAfterNodes = lookAround;
                limits.rankedListFew = listFew;
                limits.arcConsistency = arcs;
                *got = *schedule;
                got->NumTimetables = 5;  // stale results must not survive
                result = TimeTablify(*got, {}, limits);
                const QString diff = rankedDifference(*schedule, want, *got, result);
                if (!diff.isEmpty())
                    QFAIL(qPrintable(QStringLiteral("seed %1, look around after %2 steps, listing few %3%4: %5")
                                         .arg(seed)
                                         .arg(lookAround)
                                         .arg(listFew)
                                         .arg(arcs ? "" : ", no arc consistency")
                                         .arg(diff)));
            }
            many += want.size() > MaxStoredTimetables ? 1 : 0;
            busyNamed += result.outcome == TimeTablifyOutcome::EverySectionBusy ? 1 : 0;
        }
        qInfo("%d seeds: %d with more than 26, %d with a course all busy", seeds, many, busyNamed);
        QVERIFY2(many >= seeds / 6, "too few schedules where the 26 best must be chosen");
        if (busyRanges > 0) QVERIFY2(busyNamed > 0 && busyNamed < seeds / 2, "busy times too rare or too common");
    }

    // Stopped anywhere, in either pass, the ranked search keeps real
    // timetables, best first, each once: their places in the reference
    // ranking rise strictly.
    void rankedStopKeepsBestMet_data() {
        QTest::addColumn<ResultOrder>("primary");
        QTest::addColumn<ResultOrder>("tieBreak");
        QTest::addColumn<bool>("copies");
        // Copies leave fewer distinct timetables, so shorter searches.
        QTest::addColumn<int>("minSecondPassStops");
        QTest::newRow("fewest idle") << ResultOrder::FewestIdle << ResultOrder::FirstFound << false << 20;
        QTest::newRow("latest start, then fewest days")
            << ResultOrder::LatestStart << ResultOrder::FewestDays << false << 20;
        QTest::newRow("earliest finish, copies") << ResultOrder::EarliestFinish << ResultOrder::FirstFound << true << 2;
    }
    void rankedStopKeepsBestMet() {
        QFETCH(ResultOrder, primary);
        QFETCH(ResultOrder, tieBreak);
        QFETCH(bool, copies);
        QFETCH(int, minSecondPassStops);
        auto schedule = freshState();
        SearchLimits limits;
        limits.stopCheckInterval = limits.progressInterval = 1;
        limits.rankedLookAroundAfterNodes = 0;
        int stoppedInSecondPass = 0;
        for (int seed = 1; seed <= 200 / Scale; ++seed) {
            rankedCase(*schedule, static_cast<std::uint64_t>(seed), 0, 1, copies);
            schedule->Options.primary = primary;
            schedule->Options.tieBreak = tieBreak;
            const auto want = plain::RankAll(*std::make_unique<ModuleState>(*schedule));
            if (want.size() <= MaxStoredTimetables) continue;
            std::uint64_t calls = 0;  // one a step once a timetable is met, and one at the end
            RankedSearch(*schedule, schedule->NumCourses, schedule->Options, limits, nullptr,
                         [&calls](long long, const RankScore&) { ++calls; })
                .run();
            if (calls < 3) continue;  // met only at the end: nowhere to stop in between
            for (const std::uint64_t stopAt : {calls / 8, calls / 2, calls - calls / 8 - 2}) {
                if (stopAt < 1 || stopAt + 2 > calls) continue;  // a later step must see the stop
                std::atomic<bool> stop{false};
                std::uint64_t reports = 0;
                auto search = std::make_unique<RankedSearch>(
                    *schedule, schedule->NumCourses, schedule->Options, limits, &stop,
                    [&](long long, const RankScore&) { stop = stop || ++reports >= stopAt; });
                const auto got = std::make_unique<RankedOutcome>(search->run());
                const QString fault = stoppedFault(*schedule, want, *got);
                if (!fault.isEmpty())
                    QFAIL(qPrintable(QStringLiteral("seed %1, stopped at report %2 of %3: %4")
                                         .arg(seed)
                                         .arg(stopAt)
                                         .arg(calls)
                                         .arg(fault)));
                stoppedInSecondPass += search->stats().orderNodes > 0 ? 1 : 0;
            }
        }
        qInfo("%d stops in the enumeration-order pass", stoppedInSecondPass);
        QVERIFY2(stoppedInSecondPass >= minSecondPassStops / Scale, "too few stops in the second pass");
    }

    // Random subproblems (some courses open, each with a random part of its
    // sections) of every family: whenever the room bound says they cannot
    // fit, the plain enumeration finds no timetable among them.
    void roomBoundCutsOnlyDeadBranches_data() {
        QTest::addColumn<Family>("family");
        QTest::addColumn<int>("minCuts");       // so that the bound is really put to the test
        QTest::addColumn<int>("minBlockCuts");  // of which only the block count makes
        QTest::newRow("random 1-7 courses x 1-6 sections") << Family(randomFamily) << 20 << 20;
        QTest::newRow("edge 7 x 5") << Family(edgeFamily) << 20 << 0;
        QTest::newRow("8 x 4 into 7 disjoint blocks") << Family(holesFamily) << 200 << 0;
        QTest::newRow("7 x 5 two-block sections on 13 blocks") << Family(twoBlockFamily) << 200 << 0;
        QTest::newRow("7 x 5 one-day intervals") << Family(intervalFamily) << 200 << 0;
        QTest::newRow("7 x 5 crowding 13 blocks") << Family(crowdedWeekFamily) << 200 << 0;
        QTest::newRow("7 x 5 pairs of unequal blocks") << Family(pairsFamily) << 200 << 100;
        QTest::newRow("7 x 5, most sections copies") << Family(copiesFamily) << 50 << 0;
        QTest::newRow("random, 1-3 meetings a section") << Family(meetingsFamily) << 20 << 0;
        QTest::newRow("crowded, 1-2 meetings a section") << Family(crowdedMeetingsFamily) << 200 << 0;
    }
    void roomBoundCutsOnlyDeadBranches() {
        QFETCH(Family, family);
        QFETCH(int, minCuts);
        QFETCH(int, minBlockCuts);
        auto schedule = std::make_unique<CourseList>();
        auto state = freshState();
        int cuts = 0, blockCuts = 0;
        for (int seed = 1; seed <= 300 / Scale; ++seed) {
            family(*schedule, static_cast<std::uint64_t>(seed));
            const RoomBound bound(*schedule, schedule->NumCourses);
            const RoomBound withoutBlocks(*schedule, schedule->NumCourses, false);
            Rng rng(static_cast<std::uint64_t>(seed) * 104729);
            for (int trial = 0; trial < 20; ++trial) {
                CourseSet open;
                SectionSetRow remaining;
                for (int i = 0; i < schedule->NumCourses; ++i) {
                    const int count = schedule->Courses[i].NumSections;
                    if (rng.below(4) == 0 || count == 0) continue;  // placed
                    const unsigned all = (1U << count) - 1U;
                    unsigned part = 0;
                    while (part == 0) part = static_cast<unsigned>(rng.next()) & all;
                    remaining[i] = SectionSet::fromBits(part);
                    open.insert(i);
                }
                if (open.empty() || bound.mayFit(remaining, open)) continue;
                ++cuts;
                blockCuts += withoutBlocks.mayFit(remaining, open) ? 1 : 0;
                static_cast<CourseList&>(*state) = *subproblem(*schedule, remaining, open);
                plain::MakeTimetables(*state, true);
                if (state->NumTimetables != 0)
                    QFAIL(qPrintable(QStringLiteral("seed %1, trial %2: the bound cut a subproblem with a timetable")
                                         .arg(seed)
                                         .arg(trial)));
            }
        }
        qInfo("%d subproblems cut, %d by the block count alone", cuts, blockCuts);
        QVERIFY2(cuts >= minCuts / Scale, "the bound cut too few subproblems to be tested");
        QVERIFY2(blockCuts >= minBlockCuts / Scale, "the block count cut too few subproblems to be tested");
    }

    // The ranked search's bounds on random partial timetables (a random
    // section of some courses, the others open with all their sections):
    // never above the cheapest completion found by trying every one, and a
    // section's bound the bound of the profile with that section placed.
    void rankBoundsNeverAboveCheapestCompletion_data() {
        QTest::addColumn<ResultOrder>("order");
        QTest::newRow("fewest days") << ResultOrder::FewestDays;
        QTest::newRow("fewest idle") << ResultOrder::FewestIdle;
        QTest::newRow("latest start") << ResultOrder::LatestStart;
        QTest::newRow("earliest finish") << ResultOrder::EarliestFinish;
    }
    void rankBoundsNeverAboveCheapestCompletion() {
        QFETCH(ResultOrder, order);
        auto state = freshState();
        int checked = 0, tight = 0;
        for (int seed = 1; seed <= 300 / Scale; ++seed) {
            rankedCase(*state, static_cast<std::uint64_t>(seed), 0, 2, false);
            const int n = state->NumCourses;
            std::array<std::array<SectionShape, MaxSectionsPerCourse>, MaxCourses> shapes{};
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < state->Courses[i].NumSections; ++j)
                    shapes[i][j] = shapeOf(dayProfileOf(state->Courses[i].Sections[j]));
            Rng rng(static_cast<std::uint64_t>(seed) * 7919);
            DayProfile placed{};
            std::vector<int> open;
            OpenSummary summary = OpenSummary::none(summaryPartsOf(order));
            for (int i = 0; i < n; ++i) {
                const int count = state->Courses[i].NumSections;
                if (count > 0 && rng.below(3) == 0) {
                    placed = joined(placed, shapes[i][rng.below(count)].cells);
                } else {
                    open.push_back(i);
                    summary.merge(courseSummary(shapes[i], SectionSet::firstN(count), summary.parts));
                }
            }
            // The cheapest completion of `profile` by the open courses from
            // the k-th on, clashes kept out; NoCompletion when none.
            auto cheapest = [&](auto&& self, size_t k, const DayProfile& profile) -> int {
                if (k == open.size()) return costOf(order, profile);
                int best = NoCompletion;
                for (int j = 0; j < state->Courses[open[k]].NumSections; ++j) {
                    const DayProfile& cells = shapes[open[k]][j].cells;
                    bool clash = false;
                    for (size_t d = 0; d < DaysPerWeek; ++d) clash = clash || (profile[d] & cells[d]) != 0;
                    if (!clash) best = std::min(best, self(self, k + 1, joined(profile, cells)));
                }
                return best;
            };
            const int best = cheapest(cheapest, 0, placed);
            if (best == NoCompletion) continue;
            const int bound = costBound(order, placed, summary);
            QVERIFY2(bound <= best,
                     qPrintable(QStringLiteral("seed %1: bound %2 above %3").arg(seed).arg(bound).arg(best)));
            ++checked;
            tight += bound == best ? 1 : 0;
            if (open.empty()) continue;
            OpenSummary others = OpenSummary::none(summary.parts);
            for (size_t k = 1; k < open.size(); ++k)
                others.merge(courseSummary(shapes[open[k]], SectionSet::firstN(state->Courses[open[k]].NumSections),
                                           summary.parts));
            const SectionBound sectionBound(order, placed, others);
            for (int j = 0; j < state->Courses[open[0]].NumSections; ++j)
                QCOMPARE(sectionBound.of(shapes[open[0]][j]),
                         costBound(order, joined(placed, shapes[open[0]][j].cells), others));
        }
        qInfo("%d partial timetables checked, %d bounds exact", checked, tight);
        QVERIFY2(checked >= 100 / Scale && tight > 0, "too few partial timetables to test the bound");
    }
};

QTEST_APPLESS_MAIN(GeneratorDifferentialTest)
#include "test_generator_differential.moc"
