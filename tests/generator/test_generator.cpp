// "TimeTablify!" on hand-made schedules: the clash rules of the week grid,
// the order of the stored timetables, the store's limit of 26, the state a
// run leaves behind, the memo's bound, and the stop flag and progress calls.
#include <QtTest>
#include <atomic>
#include <vector>

#include "ask_pacing.h"
#include "count_note.h"
#include "generator_fixture.h"
#include "ranked_search.h"
#include "room_bound.h"
#include "schedule_makers.h"
#include "section_atoms.h"
#include "timetable_count.h"
#include "timetable_search.h"

using namespace quorvandel;
using namespace quorvandel::testing;
using namespace quorvandel::makers;

namespace {

constexpr unsigned Mon = 1, Tue = 2, Wed = 4, Thu = 8, Fri = 16, Sun = 64, Week = 127;

struct Slice {  // one section: start slot, end slot, days
    int start, end;
    unsigned days;
};

// Course i gets the sections of courses[i].
std::unique_ptr<ModuleState> scheduleOf(const std::vector<std::vector<Slice>>& courses) {
    auto state = freshState();
    for (size_t i = 0; i < courses.size(); ++i) {
        const int c = addCourse(*state, "C" + std::to_string(i));
        for (const Slice& s : courses[i]) addSection(*state, c, s.start, s.end, s.days);
    }
    return state;
}

// "C0:101 C1:102 ..." for a stored timetable.
QString describe(const Timetable& t) {
    QStringList parts;
    for (int i = 0; i < t.NumSections; ++i)
        parts << text(t.Sections[static_cast<size_t>(i)].CourseName) + ':' +
                     text(t.Sections[static_cast<size_t>(i)].SecNum);
    return parts.join(' ');
}

QStringList storedTimetables(const ModuleState& state) {
    QStringList all;
    for (int k = 0; k < state.NumTimetables; ++k) all << describe(state.Timetables[static_cast<size_t>(k)]);
    return all;
}

bool occupancyClear(const ModuleState& state) {
    for (int16_t c : state.Occupancy)
        if (c != 0) return false;
    return true;
}

// A course of `count` sections, section j on day j % 7 at slot 2 * (j / 7) +
// offset: different courses built with different offsets never clash.
std::vector<Slice> spreadCourse(int count, int offset) {
    std::vector<Slice> course;
    for (int j = 0; j < count; ++j) {
        const int start = 2 * (j / 7) * 3 + offset;
        course.push_back({start, start + 1, 1U << (j % 7)});
    }
    return course;
}

// Many timetables: 4 courses that never clash, 10 x 10 x 10 x 10 of them.
std::unique_ptr<ModuleState> manyTimetables() {
    return scheduleOf({spreadCourse(10, 0), spreadCourse(10, 1), spreadCourse(10, 2), spreadCourse(10, 3)});
}

// The hopeless shapes. Course i of 19 lives on day i % 7 in slots of its
// own, and a course whose every section covers the whole week comes first
// or last.
std::unique_ptr<ModuleState> wholeWeekCourseAt(bool first) {
    std::vector<std::vector<Slice>> courses;
    for (int i = 0; i < 19; ++i) {
        std::vector<Slice> c;
        for (int j = 0; j < 10; ++j)
            c.push_back({(i / 7) * 9 + (j % 3) * 3, (i / 7) * 9 + (j % 3) * 3 + 1, 1U << (i % 7)});
        courses.push_back(c);
    }
    courses.insert(first ? courses.begin() : courses.end(), std::vector<Slice>(10, Slice{0, 29, Week}));
    return scheduleOf(courses);
}
std::unique_ptr<ModuleState> wholeWeekCourseFirst() { return wholeWeekCourseAt(true); }
std::unique_ptr<ModuleState> wholeWeekCourseLast() { return wholeWeekCourseAt(false); }

std::unique_ptr<ModuleState> twentyIntoNineteenBlocks() {
    auto state = freshState();
    blockSchedule(*state, 5, 20, 10, 19);
    return state;
}

// Courses 1 .. 19 share 18 blocks; course 0 has two parts of the week that
// no other course uses.
std::unique_ptr<ModuleState> nineteenIntoEighteenBlocks() {
    auto state = freshState();
    auto blocks = freshState();
    blockSchedule(*blocks, 5, 19, 10, 18);
    state->NumCourses = 20;
    for (int i = 0; i < 19; ++i) state->Courses[i + 1] = blocks->Courses[i];
    Course& free = state->Courses[0];
    free.CourseName = u"Free";
    for (int d = 0; d < DaysPerWeek; ++d)
        for (int p : {0, 10, 19}) {
            bool used = false;
            for (int i = 1; i < 20; ++i)
                for (int j = 0; j < state->Courses[i].NumSections; ++j) {
                    const Section& s = state->Courses[i].Sections[j];
                    if (s.StartSlot == p && s.Days[d]) used = true;
                }
            if (!used && free.NumSections < 2) {
                free.Sections[free.NumSections] =
                    section("9" + std::to_string(free.NumSections), "Free", p, p + 2, 1U << d);
                ++free.NumSections;
            }
        }
    return free.NumSections == 2 ? std::move(state) : nullptr;  // null: the shape was not built
}

std::unique_ptr<ModuleState> twoBlocksOnThirtyNine() {
    auto state = freshState();
    twoBlockSchedule(*state, 1, 20, 10, 39);
    return state;
}

std::unique_ptr<ModuleState> intervalsOnTwoDays() {
    auto state = freshState();
    intervalSchedule(*state, 1, 19, 10, 3, 2);
    return state;
}

std::unique_ptr<ModuleState> crowdedWeek() {
    auto state = freshState();
    crowdedWeekSchedule(*state, 5, 20, 10);
    return state;
}

std::unique_ptr<ModuleState> noTimetable() {
    return scheduleOf({{{0, 2, Mon}, {1, 3, Mon}}, {{0, 3, Mon}}, {{5, 6, Fri}}});
}
std::unique_ptr<ModuleState> aFewTimetables() {
    return scheduleOf({{{0, 2, Mon}, {4, 5, Mon}}, {{0, 3, Mon}, {6, 7, Tue}}, {{5, 6, Fri}}});
}

std::unique_ptr<ModuleState> eightIntoSevenBlocks() {
    auto state = freshState();
    blockSchedule(*state, 3, 8, 4, 7);
    return state;
}
std::unique_ptr<ModuleState> eightIntoEightBlocks() {
    auto state = freshState();
    blockSchedule(*state, 4, 8, 3, 8);
    return state;
}
std::unique_ptr<ModuleState> sevenByFiveDense() {
    auto state = freshState();
    randomSchedule(*state, 11, 7, 5, 5, SectionStyle{3, 6, 2, 3, 5});
    return state;
}

using Maker = std::unique_ptr<ModuleState> (*)();

// `courses` courses of `sections` one-cell sections, no cell used twice:
// every combination is a timetable.
void neverClashing(ModuleState& state, int courses, int sections) {
    for (int i = 0; i < courses; ++i) {
        const int c = addCourse(state, "C" + std::to_string(i));
        for (int j = 0; j < sections; ++j) {
            const int cell = i * sections + j;
            addSection(state, c, cell % SlotsPerDay, cell % SlotsPerDay + 1, 1U << (cell / SlotsPerDay));
        }
    }
}

using ScheduleMaker = void (*)(ModuleState&);

}  // namespace

Q_DECLARE_METATYPE(ScheduleMaker)
Q_DECLARE_METATYPE(TimetableTally::Kind)

namespace {}  // namespace

Q_DECLARE_METATYPE(Slice)
Q_DECLARE_METATYPE(Maker)
Q_DECLARE_METATYPE(std::vector<int>)

class GeneratorTest : public QObject {
    Q_OBJECT
private slots:
    // Two courses of one section each: one timetable exactly when the two
    // share no half-hour of the week.
    void clashRules_data() {
        QTest::addColumn<Slice>("a");
        QTest::addColumn<Slice>("b");
        QTest::addColumn<bool>("fits");
        QTest::newRow("touching at 10:00") << Slice{2, 4, Mon} << Slice{4, 6, Mon} << true;
        QTest::newRow("one half-hour overlap") << Slice{2, 5, Mon} << Slice{4, 6, Mon} << false;
        QTest::newRow("one inside the other") << Slice{0, 29, Wed} << Slice{10, 11, Wed} << false;
        QTest::newRow("same time, different days") << Slice{2, 4, Mon} << Slice{2, 4, Tue} << true;
        QTest::newRow("both Monday 8:00") << Slice{0, 1, Mon} << Slice{0, 1, Mon} << false;
        QTest::newRow("both Sunday 22:00") << Slice{28, 29, Sun} << Slice{28, 29, Sun} << false;
        QTest::newRow("Monday 22:00 and Tuesday 8:00") << Slice{28, 29, Mon} << Slice{0, 1, Tue} << true;
        QTest::newRow("Sunday 22:00 and Monday 8:00") << Slice{28, 29, Sun} << Slice{0, 1, Mon} << true;
        QTest::newRow("MWF and TTh, same hours") << Slice{2, 4, Mon | Wed | Fri} << Slice{2, 4, Tue | Thu} << true;
        QTest::newRow("MW and WF share Wednesday") << Slice{2, 4, Mon | Wed} << Slice{3, 4, Wed | Fri} << false;
        QTest::newRow("whole week and Sunday 22:00") << Slice{0, 29, Week} << Slice{28, 29, Sun} << false;
        QTest::newRow("a section meeting on no day") << Slice{0, 29, 0} << Slice{0, 29, Week} << true;
    }
    void clashRules() {
        QFETCH(Slice, a);
        QFETCH(Slice, b);
        QFETCH(bool, fits);
        for (const bool swapped : {false, true}) {
            auto state = swapped ? scheduleOf({{b}, {a}}) : scheduleOf({{a}, {b}});
            const GenerationResult r = TimeTablify(*state);
            QCOMPARE(state->NumTimetables, fits ? 1 : 0);
            QCOMPARE(r.outcome, fits ? TimeTablifyOutcome::ShowResults : TimeTablifyOutcome::NoTimetables);
            QVERIFY(!r.moreThanStored);
            QVERIFY(!r.stopped);
        }
    }

    // The stored order is the enumeration's: course 0's section moves fastest.
    void enumerationOrder_data() {
        QTest::addColumn<std::vector<std::vector<Slice>>>("courses");
        QTest::addColumn<QStringList>("expected");
        // a0 and b0 clash, nothing else does.
        QTest::newRow("a0 a1 / b0 b1") << std::vector<std::vector<Slice>>{{{2, 4, Mon}, {2, 4, Tue}},
                                                                          {{3, 5, Mon}, {2, 4, Wed}}}
                                       << QStringList{"C0:102 C1:101", "C0:101 C1:102", "C0:102 C1:102"};
        QTest::newRow("2 x 3, no clash") << std::vector<std::vector<Slice>>{{{0, 1, Mon}, {0, 1, Tue}},
                                                                            {{1, 2, Mon}, {1, 2, Tue}, {1, 2, Wed}}}
                                         << QStringList{"C0:101 C1:101", "C0:102 C1:101", "C0:101 C1:102",
                                                        "C0:102 C1:102", "C0:101 C1:103", "C0:102 C1:103"};
        // The last course's first section clashes with everything else.
        QTest::newRow("last course decides first") << std::vector<std::vector<Slice>>{{{0, 2, Mon}, {0, 2, Tue}},
                                                                                      {{4, 6, Mon}},
                                                                                      {{0, 29, Week}, {10, 11, Sun}}}
                                                   << QStringList{"C0:101 C1:101 C2:102", "C0:102 C1:101 C2:102"};
        QTest::newRow("one course of 5") << std::vector<std::vector<Slice>>{spreadCourse(5, 0)}
                                         << QStringList{"C0:101", "C0:102", "C0:103", "C0:104", "C0:105"};
        QTest::newRow("one course of 10 identical sections")
            << std::vector<std::vector<Slice>>{std::vector<Slice>(10, Slice{0, 29, Week})}
            << QStringList{"C0:101", "C0:102", "C0:103", "C0:104", "C0:105",
                           "C0:106", "C0:107", "C0:108", "C0:109", "C0:110"};
    }
    void enumerationOrder() {
        QFETCH(std::vector<std::vector<Slice>>, courses);
        QFETCH(QStringList, expected);
        auto state = scheduleOf(courses);
        TimeTablify(*state);
        QCOMPARE(storedTimetables(*state), expected);
        for (int k = 0; k < state->NumTimetables; ++k) {
            const Timetable& t = state->Timetables[static_cast<size_t>(k)];
            QCOMPARE(t.NumSections, state->NumCourses);
            for (int i = 0; i < t.NumSections; ++i) {
                const Section& s = t.Sections[static_cast<size_t>(i)];
                const Course& course = state->Courses[static_cast<size_t>(i)];
                const int index = text(s.SecNum).toInt() - 101;
                QCOMPARE(s, course.Sections[static_cast<size_t>(index)]);  // a whole copy, texts too
            }
        }
    }

    // The store keeps 26; whether a 27th exists is told, not stored.
    void storeLimit_data() {
        QTest::addColumn<int>("sectionsOfCourse1");
        QTest::addColumn<int>("clashes");
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("more");
        // Course 0 has 3 sections, course 1 the given number; nothing clashes
        // except that the last `clashes` sections of course 1 clash with
        // course 0's third, each taking away one combination.
        QTest::newRow("24") << 8 << 0 << 24 << false;
        QTest::newRow("25") << 9 << 2 << 25 << false;
        QTest::newRow("26 exactly") << 9 << 1 << 26 << false;
        QTest::newRow("27") << 9 << 0 << 26 << true;
        QTest::newRow("30") << 10 << 0 << 26 << true;
    }
    void storeLimit() {
        QFETCH(int, sectionsOfCourse1);
        QFETCH(int, clashes);
        QFETCH(int, stored);
        QFETCH(bool, more);
        std::vector<Slice> a{{0, 1, Mon}, {0, 1, Tue}, {0, 1, Wed}};
        std::vector<Slice> b = spreadCourse(sectionsOfCourse1, 1);
        for (int c = 0; c < clashes; ++c) b[static_cast<size_t>(sectionsOfCourse1 - 1 - c)] = {0, 1, Wed};
        auto state = scheduleOf({a, b});
        const GenerationResult r = TimeTablify(*state);
        QCOMPARE(state->NumTimetables, stored);
        QCOMPARE(r.moreThanStored, more);
        QCOMPARE(r.outcome, TimeTablifyOutcome::ShowResults);
        const Reference ref = referenceFor(*state);
        QCOMPARE(differenceFrom(ref, *state, r), QString());
    }

    // Ranked by fewest days: 26 Monday timetables are met first, then the
    // last course's second section moves every later one onto more days, so
    // the search cuts that whole part away unseen. Whether it holds a 27th
    // timetable must still be told.
    void rankedStoreLimit_data() {
        QTest::addColumn<unsigned>("laterDays");
        QTest::addColumn<int>("laterEnd");
        QTest::addColumn<bool>("more");
        QTest::newRow("cut part holds timetables") << (Week & ~Mon) << 2 << true;
        QTest::newRow("cut part holds none") << (Mon | Tue) << 29 << false;
    }
    void rankedStoreLimit() {
        QFETCH(unsigned, laterDays);
        QFETCH(int, laterEnd);
        QFETCH(bool, more);
        std::vector<Slice> c0{{2, 3, Mon}};  // clashes with c1's first: 26 pairs, not 27
        for (int s = 5; s < 13; ++s) c0.push_back({s, s + 1, Mon});
        auto state = scheduleOf({c0, {{2, 3, Mon}, {3, 4, Mon}, {4, 5, Mon}}, {{0, 2, Mon}, {0, laterEnd, laterDays}}});
        state->Options.primary = ResultOrder::FewestDays;
        const GenerationResult r = TimeTablify(*state);
        QCOMPARE(state->NumTimetables, 26);
        QCOMPARE(r.moreThanStored, more);
        QCOMPARE(state->Timetables[25].Sections[2].SecNum, Text(u"101"));
    }

    // A section covering a busy half-hour is left out as if it did not
    // exist; a course left with none is named.
    void busyTimes_data() {
        QTest::addColumn<std::vector<int>>("busyCells");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("busyCourse");
        QTest::newRow("none") << std::vector<int>{} << QStringList{"C0:101 C1:102", "C0:102 C1:102"} << -1;
        QTest::newRow("one section out") << std::vector<int>{1} << QStringList{"C0:102 C1:102"} << -1;
        QTest::newRow("a cell no section uses")
            << std::vector<int>{202} << QStringList{"C0:101 C1:102", "C0:102 C1:102"} << -1;
        QTest::newRow("every section of C1") << std::vector<int>{1, 29 + 4} << QStringList{} << 1;
    }
    void busyTimes() {
        QFETCH(std::vector<int>, busyCells);
        QFETCH(QStringList, expected);
        QFETCH(int, busyCourse);
        // C0: Mon or Tue 8:00-9:00. C1: Mon and Tue 8:30-9:00 (clashes with
        // both), or Tue and Wed 10:00-10:30.
        auto state = scheduleOf({{{0, 2, Mon}, {0, 2, Tue}}, {{1, 2, Mon | Tue}, {4, 5, Tue | Wed}}});
        for (int cell : busyCells) state->Options.busy.set(static_cast<size_t>(cell));
        const GenerationResult r = TimeTablify(*state);
        QCOMPARE(storedTimetables(*state), expected);
        QCOMPARE(r.busyCourse, busyCourse);
        QCOMPARE(r.outcome, busyCourse >= 0 ? TimeTablifyOutcome::EverySectionBusy : TimeTablifyOutcome::ShowResults);
        if (busyCourse >= 0)
            QCOMPARE(EverySectionBusyMessage(u"Chem"), Text(u"Every section of Chem falls in your busy times"));
    }

    // Every course needs a section; earlier results are gone either way.
    void courseWithoutSection_data() {
        QTest::addColumn<int>("emptyCourse");
        QTest::newRow("first") << 0;
        QTest::newRow("middle") << 1;
        QTest::newRow("last") << 2;
    }
    void courseWithoutSection() {
        QFETCH(int, emptyCourse);
        auto state = manyTimetables();
        TimeTablify(*state);
        QCOMPARE(state->NumTimetables, 26);
        state->CurrentTimetable = 4;
        std::vector<std::vector<Slice>> courses{{{0, 2, Mon}}, {{0, 2, Tue}}, {{0, 2, Wed}}};
        courses[static_cast<size_t>(emptyCourse)].clear();
        static_cast<CourseList&>(*state) = static_cast<const CourseList&>(*scheduleOf(courses));
        const GenerationResult r = TimeTablify(*state);
        QCOMPARE(r.outcome, TimeTablifyOutcome::AllClassesNeedSection);
        QCOMPARE(state->NumTimetables, 0);
        QCOMPARE(state->CurrentTimetable, 0);
        QVERIFY(occupancyClear(*state));
    }

    // What every run leaves: Occupancy clear, EnumDone set, the counter in
    // the odometer's final state, CurrentTimetable 0.
    void stateAfterRun_data() {
        QTest::addColumn<Maker>("maker");
        QTest::addColumn<bool>("stopAtThree");
        QTest::newRow("no timetable") << Maker(noTimetable) << false;
        QTest::newRow("a few") << Maker(aFewTimetables) << false;
        QTest::newRow("more than 26") << Maker(manyTimetables) << false;
        QTest::newRow("stopped") << Maker(manyTimetables) << true;
    }
    void stateAfterRun() {
        QFETCH(Maker, maker);
        QFETCH(bool, stopAtThree);
        auto state = maker();
        state->CurrentTimetable = 3;
        state->Occupancy.fill(1);  // whatever was there before
        state->SectionChoice.fill(7);
        std::atomic<bool> stop{false};
        SearchControl control;
        control.stop = &stop;
        if (stopAtThree) control.progress = [&](int found) { stop = found >= 3; };
        const GenerationResult r = TimeTablify(*state, control);
        QCOMPARE(r.stopped, stopAtThree);
        QVERIFY(occupancyClear(*state));
        QVERIFY(state->EnumDone);
        QCOMPARE(state->CurrentTimetable, 0);
        const int last = state->NumCourses - 1;
        for (int i = 0; i < MaxCourses; ++i)
            QCOMPARE(state->SectionChoice[static_cast<size_t>(i)],
                     i == last ? state->Courses[static_cast<size_t>(last)].NumSections : 0);
    }

    void storedTimetablesSurviveEdits() {
        auto state = scheduleOf({{{0, 2, Mon}, {2, 4, Mon}}, {{0, 2, Tue}}});
        TimeTablify(*state);
        const QStringList before = storedTimetables(*state);
        const Timetable first = state->Timetables[0];
        QCOMPARE(before.size(), 2);
        state->Courses[0].Sections[0].SecNum = u"999";
        state->Courses[0].Sections[0].Days.fill(false);
        state->Courses[0].NumSections = 0;
        state->NumCourses = 0;
        QCOMPARE(storedTimetables(*state), before);
        QCOMPARE(state->Timetables[0], first);
        QCOMPARE(text(state->Timetables[0].Sections[0].SecNum), QStringLiteral("101"));
    }

    // No courses: the one empty combination, stored as a timetable with no
    // sections, whatever stale course entries the store still holds.
    void zeroCourses() {
        auto state = manyTimetables();
        TimeTablify(*state);
        state->NumCourses = 0;  // "New": the entries stay as they were
        const GenerationResult r = TimeTablify(*state);
        QCOMPARE(r.outcome, TimeTablifyOutcome::ShowResults);
        QVERIFY(!r.moreThanStored);
        QCOMPARE(state->NumTimetables, 1);
        QCOMPARE(state->Timetables[0].NumSections, 0);
        QCOMPARE(state->Timetables[0], Timetable{});
        QVERIFY(state->EnumDone);
        QVERIFY(occupancyClear(*state));
    }

    // The hard shapes are cut at once: a handful of search steps, not a
    // count of combinations (no timing here, only the search's own count).
    void hopelessSchedulesAreCutEarly_data() {
        QTest::addColumn<Maker>("maker");
        QTest::addColumn<int>("maxNodes");
        QTest::newRow("whole-week course first, 19 free courses") << Maker(wholeWeekCourseFirst) << 20;
        QTest::newRow("whole-week course last, 19 free courses") << Maker(wholeWeekCourseLast) << 20;
        QTest::newRow("20 courses into 19 disjoint blocks") << Maker(twentyIntoNineteenBlocks) << 20;
        QTest::newRow("19 courses into 18 blocks, one course elsewhere") << Maker(nineteenIntoEighteenBlocks) << 20;
        QTest::newRow("20 courses of two-block sections on 39 blocks") << Maker(twoBlocksOnThirtyNine) << 20;
        QTest::newRow("19 courses of 3-slot sections on Monday and Tuesday") << Maker(intervalsOnTwoDays) << 20;
        QTest::newRow("19 courses crowding 39 blocks, one with a section elsewhere") << Maker(crowdedWeek) << 20;
    }
    void hopelessSchedulesAreCutEarly() {
        QFETCH(Maker, maker);
        QFETCH(int, maxNodes);
        auto state = maker();
        QVERIFY(state);
        SearchStats stats;
        const GenerationResult r = TimeTablify(*state, {}, SearchLimits{}, &stats);
        QCOMPARE(r.outcome, TimeTablifyOutcome::NoTimetables);
        QVERIFY2(stats.nodes <= static_cast<std::uint64_t>(maxNodes), qPrintable(QString::number(stats.nodes)));
    }

    // When a paced check is asked: a window without cuts goes over to
    // samples, a cut in every window or in a sample keeps every step; the
    // first window is a short one.
    void askPacing_data() {
        QTest::addColumn<int>("window");
        QTest::addColumn<QList<int>>("cuttingAsks");  // numbered from 1
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("asks");
        const int sample = static_cast<int>(AskPacing::SampleEvery);
        QTest::newRow("no cut: a window, then samples") << 8 << QList<int>{} << 8 + 2 * sample << 10;
        QTest::newRow("a cut in every window: every step") << 64 << QList<int>{1, 65, 129} << 192 << 192;
        QTest::newRow("a sample that cuts: every step again") << 8 << QList<int>{9} << 8 + sample + 5 << 14;
        const int first = static_cast<int>(AskPacing::FirstWindow);
        QTest::newRow("no cut in a short first window") << 512 << QList<int>{} << first + 2 * sample << first + 2;
        QTest::newRow("a cut in it: a whole window next")
            << 512 << QList<int>{first} << first + 512 + sample << first + 512 + 1;
    }
    void askPacing() {
        QFETCH(int, window);
        QFETCH(QList<int>, cuttingAsks);
        QFETCH(int, steps);
        QFETCH(int, asks);
        AskPacing pacing(static_cast<std::uint32_t>(window));
        int asked = 0;
        for (int step = 0; step < steps; ++step)
            if (pacing.ask()) pacing.answered(cuttingAsks.contains(++asked));
        QCOMPARE(asked, asks);
    }

    // The fit table and the atoms on 20 courses (some courses' sections lie
    // across two words of a set of every section) against the cells: two
    // sections fit exactly when they share no cell, and share an atom
    // exactly when they share a cell.
    void fitsAndAtomsFollowCells_data() {
        QTest::addColumn<int>("labLength");  // 0: one meeting a section
        QTest::newRow("one meeting") << 0;
        QTest::newRow("a lecture with its lab") << 6;
    }
    void fitsAndAtomsFollowCells() {
        QFETCH(int, labLength);
        const SectionStyle style{.dayPool = 7,
                                 .maxMeetings = labLength > 0 ? 3 : 1,
                                 .labMinLength = labLength / 2,
                                 .labMaxLength = labLength};
        auto list = std::make_unique<CourseList>();
        for (std::uint64_t seed = 1; seed <= 5; ++seed) {
            randomSchedule(*list, seed, MaxCourses, 1, MaxSectionsPerCourse, style);
            const SectionSetRow all = everySection(*list, MaxCourses);
            const SectionMasks masks = sectionMasksOf(*list, MaxCourses);
            FitTable fits{};
            fillPairwiseFits(masks, all, MaxCourses, fits);
            const SectionAtoms atoms = atomsOf(masks, all, MaxCourses);
            for (int a = 0; a < MaxCourses; ++a)
                for (int j : all[a])
                    for (int b = 0; b < MaxCourses; ++b)
                        for (int k : b == a ? SectionSet{} : all[b]) {
                            const bool apart = !masks[a][j].intersects(masks[b][k]);
                            QCOMPARE(fits[a][j][b].contains(k), apart);
                            QCOMPARE(atoms.atomsOf[a][j].intersects(atoms.atomsOf[b][k]), !apart);
                        }
        }
    }

    // On lectures with labs near the edge of fitting, the failed-section
    // tests drop sections and the listing takes fewer steps.
    void failedSectionTestsShortenTheListing() {
        auto list = std::make_unique<CourseList>();
        randomSchedule(*list, 1, MaxCourses, MaxSectionsPerCourse, MaxSectionsPerCourse, LectureAndLabStyle);
        std::array<SearchStats, 2> stats;
        for (bool tests : {false, true}) {
            SearchLimits limits;
            limits.failedSectionTests = tests;
            TimetableSearch search(*list, MaxCourses, limits, nullptr, nullptr);
            search.listInAnyOrder(MaxStoredTimetables + 1, [](const auto&) {});
            stats[tests] = search.stats();
        }
        QVERIFY(stats[true].failedSections > 0 && stats[true].nodes < stats[false].nodes);
    }

    // The ranked passes ask the room bound, built once the listing is done:
    // a schedule that fails for lack of room settles in fewer steps.
    void rankedPassesAskTheRoomBound() {
        auto state = eightIntoSevenBlocks();
        state->Options.primary = ResultOrder::FewestDays;
        std::array<std::uint64_t, 2> nodes{};
        for (bool room : {false, true}) {
            SearchLimits limits;
            limits.rankedListFew = false;
            limits.roomBound = room;
            RankedSearch search(*state, state->NumCourses, state->Options, limits, nullptr, {});
            QCOMPARE(search.run().count, 0);
            nodes[room] = search.stats().nodes;
        }
        QVERIFY2(nodes[true] < nodes[false],
                 qPrintable(QStringLiteral("%1 against %2").arg(nodes[true]).arg(nodes[false])));
    }

    // A memo far too small for the schedule: entries are overwritten, the
    // answer stays exact.
    void memoOverflowKeepsAnswer_data() {
        QTest::addColumn<Maker>("maker");
        QTest::addColumn<bool>("hits");  // block schedules repeat subproblems a lot
        QTest::newRow("8 x 4 into 7 blocks") << Maker(eightIntoSevenBlocks) << true;
        QTest::newRow("8 x 3 into 8 blocks") << Maker(eightIntoEightBlocks) << false;
        QTest::newRow("7 x 5 dense") << Maker(sevenByFiveDense) << false;
    }
    void memoOverflowKeepsAnswer() {
        QFETCH(Maker, maker);
        QFETCH(bool, hits);
        auto state = maker();
        const Reference ref = referenceFor(*state);
        SearchLimits limits = plainForwardChecking();  // so that the memo does all the work
        limits.memoBytes = 8 * 32;                     // eight entries
        limits.memoMinNodes = 0;                       // every failure is written
        SearchStats stats;
        const GenerationResult r = TimeTablify(*state, {}, limits, &stats);
        QCOMPARE(differenceFrom(ref, *state, r), QString());
        QVERIFY2(stats.memoOverwrites > 0, "the memo never filled up");
        QVERIFY(stats.memoPeakBytes <= limits.memoBytes);
        if (hits) QVERIFY(stats.memoHits > 0);
    }

    void stopBeforeStart_data() {
        QTest::addColumn<int>("courses");
        QTest::newRow("no courses") << 0;
        QTest::newRow("many timetables") << 4;
    }
    void stopBeforeStart() {
        QFETCH(int, courses);
        auto state = courses == 0 ? freshState() : manyTimetables();
        std::atomic<bool> stop{true};
        SearchControl control;
        control.stop = &stop;
        int calls = 0;
        control.progress = [&](int) { ++calls; };
        const GenerationResult r = TimeTablify(*state, control);
        QCOMPARE(r.outcome, TimeTablifyOutcome::StoppedNoneFound);
        QVERIFY(r.stopped);
        QCOMPARE(state->NumTimetables, 0);
        QVERIFY(state->EnumDone);
        QVERIFY(occupancyClear(*state));
    }

    // A stop set from the progress call right after the k-th timetable
    // leaves exactly the first k, as the plain enumeration orders them.
    void stopAfterK_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("progressInterval");
        for (int k : {1, 2, 13, 25, 26})
            for (int interval : {1, 4096}) QTest::addRow("k=%d, progress every %d steps", k, interval) << k << interval;
    }
    void stopAfterK() {
        QFETCH(int, k);
        QFETCH(int, progressInterval);
        auto state = freshState();
        randomSchedule(*state, 42, 7, 4, 4, SectionStyle{2, 3, 1, 2, 5});
        const Reference ref = referenceFor(*state);
        QVERIFY(ref.result.moreThanStored);
        std::atomic<bool> stop{false};
        std::vector<int> reported;
        SearchControl control;
        control.stop = &stop;
        control.progress = [&](int found) {
            if (reported.empty() || reported.back() != found) reported.push_back(found);
            if (found == k) stop = true;
        };
        SearchLimits limits;
        limits.progressInterval = static_cast<std::uint32_t>(progressInterval);
        const GenerationResult r = TimeTablify(*state, control, limits);
        QVERIFY(r.stopped);
        QCOMPARE(r.outcome, TimeTablifyOutcome::ShowResults);
        QVERIFY(!r.moreThanStored);
        QCOMPARE(state->NumTimetables, k);
        for (int i = 0; i < k; ++i)
            QCOMPARE(state->Timetables[static_cast<size_t>(i)], ref.state->Timetables[static_cast<size_t>(i)]);
        // Each stored timetable was reported, in order, none skipped.
        std::vector<int> counts;
        for (int found : reported)
            if (found > 0) counts.push_back(found);
        std::vector<int> expected;
        for (int i = 1; i <= k; ++i) expected.push_back(i);
        QCOMPARE(counts, expected);
    }

    // A long search with nothing to store still reports, and a stop set
    // from such a report ends it with nothing found.
    void stopWhileSearching() {
        auto state = freshState();
        blockSchedule(*state, 9, 20, 10, 19);
        SearchLimits limits = plainForwardChecking();  // hopeless without the matching test
        limits.progressInterval = 1000;
        std::atomic<bool> stop{false};
        int reports = 0;
        SearchControl control;
        control.stop = &stop;
        control.progress = [&](int found) {
            QCOMPARE(found, 0);
            if (++reports == 3) stop = true;
        };
        SearchStats stats;
        const GenerationResult r = TimeTablify(*state, control, limits, &stats);
        QCOMPARE(r.outcome, TimeTablifyOutcome::StoppedNoneFound);
        QVERIFY(r.stopped);
        QCOMPARE(reports, 3);
        // The flag is looked at every 64 steps.
        QVERIFY(stats.nodes >= 3000 && stats.nodes < 3000 + 64);
        QVERIFY(state->EnumDone);
        QVERIFY(occupancyClear(*state));
    }
    // Counts the plain enumeration cannot reach, and the edges of a count.
    void countBeyondEnumeration_data() {
        QTest::addColumn<ScheduleMaker>("make");
        QTest::addColumn<bool>("stopFirst");
        QTest::addColumn<TimetableTally::Kind>("kind");
        QTest::addColumn<quint64>("number");
        using Kind = TimetableTally::Kind;
        QTest::newRow("12 x 10 never clashing: 10^12")
            << ScheduleMaker([](ModuleState& s) { neverClashing(s, 12, 10); }) << false << Kind::Exact
            << quint64{1'000'000'000'000};
        QTest::newRow("20 x 10 never clashing: 10^20 is past 2^64")
            << ScheduleMaker([](ModuleState& s) { neverClashing(s, 20, 10); }) << false << Kind::MoreThan
            << quint64{10'000'000'000'000'000'000ULL};
        QTest::newRow("three courses on one cell") << ScheduleMaker([](ModuleState& s) {
            for (int i = 0; i < 3; ++i) addSection(s, addCourse(s, "C" + std::to_string(i)), 0, 1, Mon);
        }) << false << Kind::Exact << quint64{0};
        QTest::newRow("every section of a course busy") << ScheduleMaker([](ModuleState& s) {
            neverClashing(s, 3, 4);
            for (int cell = 8; cell < 12; ++cell) s.Options.busy.set(static_cast<size_t>(cell));
        }) << false << Kind::Exact << quint64{0};
        QTest::newRow("busy times leave 2 x 3 x 4") << ScheduleMaker([](ModuleState& s) {
            neverClashing(s, 3, 4);
            s.Options.busy.set(0).set(1).set(4);
        }) << false << Kind::Exact << quint64{24};
        QTest::newRow("no courses: the empty timetable")
            << ScheduleMaker([](ModuleState&) {}) << false << Kind::Exact << quint64{1};
        QTest::newRow("stop asked for before the count")
            << ScheduleMaker([](ModuleState& s) { neverClashing(s, 12, 10); }) << true << Kind::Stopped << quint64{0};
    }
    void countBeyondEnumeration() {
        QFETCH(ScheduleMaker, make);
        QFETCH(bool, stopFirst);
        QFETCH(TimetableTally::Kind, kind);
        QFETCH(quint64, number);
        auto state = freshState();
        make(*state);
        const std::atomic<bool> stop{stopFirst};
        const TimetableTally got = countTimetables(*state, state->NumCourses, state->Options.busy, &stop);
        QVERIFY(got.kind == kind);
        QCOMPARE(quint64{got.number}, number);
    }

    void countNotes_data() {
        QTest::addColumn<int>("shown");
        QTest::addColumn<TimetableTally::Kind>("kind");
        QTest::addColumn<quint64>("number");
        QTest::addColumn<bool>("ranked");
        QTest::addColumn<QString>("note");
        using Kind = TimetableTally::Kind;
        QTest::newRow("first found") << 26 << Kind::Exact << quint64{1204} << false
                                     << "26 of 1,204 timetables are shown";
        QTest::newRow("ranked") << 26 << Kind::Exact << quint64{1204} << true << "The 26 best of 1,204 are shown";
        QTest::newRow("a bound") << 26 << Kind::MoreThan << quint64{1'000'000} << false
                                 << "26 of more than 1,000,000 timetables are shown";
        QTest::newRow("a ranked bound") << 26 << Kind::MoreThan << quint64{1'000'000} << true
                                        << "The 26 best of more than 1,000,000 are shown";
        QTest::newRow("a bound below the shown ones")
            << 26 << Kind::MoreThan << quint64{0} << false << "26 of more than 26 timetables are shown";
        QTest::newRow("three digits") << 26 << Kind::Exact << quint64{999} << false << "26 of 999 timetables are shown";
        QTest::newRow("four digits") << 26 << Kind::Exact << quint64{1000} << false
                                     << "26 of 1,000 timetables are shown";
        QTest::newRow("the largest count") << 26 << Kind::Exact << quint64{18'446'744'073'709'551'615ULL} << false
                                           << "26 of 18,446,744,073,709,551,615 timetables are shown";
        QTest::newRow("stopped: no note") << 26 << Kind::Stopped << quint64{5} << false << "";
    }
    void countNotes() {
        QFETCH(int, shown);
        QFETCH(TimetableTally::Kind, kind);
        QFETCH(quint64, number);
        QFETCH(bool, ranked);
        QFETCH(QString, note);
        QCOMPARE(text(countNote(shown, {kind, number}, ranked)), note);
    }
};

QTEST_APPLESS_MAIN(GeneratorTest)
#include "test_generator.moc"
