// The details under the messages of a "TimeTablify!" that finds nothing, on
// hand-made schedules whose reason is known: the courses named and the
// words used. (Random schedules are checked against the plain enumeration
// in the differential test.)
#include <QtTest>
#include <atomic>
#include <vector>

#include "generator_fixture.h"
#include "outcome_details.h"
#include "section_maker.h"

using namespace quorvandel;
using namespace quorvandel::testing;

namespace {

constexpr unsigned Mon = 1, Tue = 2, Wed = 4, Sun = 64, Week = 127;

struct Slice {  // one section: number, start slot, end slot, days
    const char16_t* number;
    int start, end;
    unsigned days;
};
struct CourseEntry {
    const char16_t* name;
    std::vector<Slice> sections;
};
using Schedule = std::vector<CourseEntry>;

std::unique_ptr<ModuleState> scheduleOf(const Schedule& courses) {
    auto state = freshState();
    for (const CourseEntry& entry : courses) {
        Course& course = state->Courses[static_cast<size_t>(state->NumCourses++)];
        course.CourseName = entry.name;
        for (const Slice& s : entry.sections)
            course.Sections[static_cast<size_t>(course.NumSections++)] =
                makeSection(entry.name, s.number, s.start, s.end, s.days);
    }
    return state;
}

// Courses whose sections are each one of the given disjoint blocks (Monday
// to Wednesday mornings): n courses over n - 1 blocks cannot all fit, any
// n - 1 of them can.
std::vector<Slice> blocks(int count) {
    std::vector<Slice> sections;
    static const char16_t* const numbers[] = {u"1", u"2", u"3", u"4"};
    for (int b = 0; b < count; ++b) sections.push_back({numbers[b], 0, 8, 1U << b});
    return sections;
}

BusyCells mondayMorning() {
    BusyCells busy;
    for (int slot = 0; slot < 8; ++slot) busy.set(static_cast<size_t>(slot));
    return busy;
}

// A course meeting on Sunday evening: fits beside anything in these tests.
const CourseEntry Free{u"Art", {{u"A", 20, 22, Sun}}};

}  // namespace

Q_DECLARE_METATYPE(Schedule)
Q_DECLARE_METATYPE(BusyCells)

class ConflictExplanationTest : public QObject {
    Q_OBJECT
private slots:
    void details_data() {
        QTest::addColumn<Schedule>("schedule");
        QTest::addColumn<BusyCells>("busy");
        QTest::addColumn<QString>("details");
        const QString pairHead =
            QStringLiteral(" cannot be taken together: every section of one clashes with every section of the other.");
        QTest::newRow("two courses clashing in every pair")
            << Schedule{Free,
                        {u"Chem", {{u"01", 2, 4, Mon}, {u"02", 2, 5, Mon | Wed}}},
                        {u"Phys", {{u"1", 2, 3, Mon}, {u"2", 0, 5, Wed | Mon}}}}
            << BusyCells{}
            << QStringLiteral("Chem and Phys") + pairHead +
                   "\nChem 01 and Phys 1 both meet Monday 9:00-9:30"
                   "\nChem 01 and Phys 2 both meet Monday 9:00-10:00"
                   "\nChem 02 and Phys 1 both meet Monday 9:00-9:30"
                   "\nChem 02 and Phys 2 both meet Monday 9:00-10:30";
        QTest::newRow("more than five meetings")
            << Schedule{{u"M", {{u"1", 0, 2, Mon}, {u"2", 0, 2, Mon}, {u"3", 0, 2, Mon}}},
                        {u"N", {{u"a", 1, 3, Mon}, {u"b", 1, 3, Mon}, {u"c", 1, 3, Mon}}}}
            << BusyCells{}
            << QStringLiteral("M and N") + pairHead +
                   "\nM 1 and N a both meet Monday 8:30-9:00\nM 1 and N b both meet Monday 8:30-9:00"
                   "\nM 1 and N c both meet Monday 8:30-9:00\nM 2 and N a both meet Monday 8:30-9:00"
                   "\nM 2 and N b both meet Monday 8:30-9:00\nand 4 more";
        QTest::newRow("three courses, each pair possible, not all three")
            << Schedule{{u"A", blocks(2)}, Free, {u"B", blocks(2)}, {u"C", blocks(2)}} << BusyCells{}
            << QStringLiteral(
                   "A, B and C cannot all be taken together: their sections cannot be arranged without a clash. "
                   "Without any one of them, the others fit.");
        QTest::newRow("a blocker course that takes the whole week")
            << Schedule{Free, {u"Lab", {{u"x", 0, 29, Week}, {u"y", 0, 29, Week}}}} << BusyCells{}
            << QStringLiteral("Art and Lab") + pairHead +
                   "\nArt A and Lab x both meet Sunday 18:00-19:00\nArt A and Lab y both meet Sunday 18:00-19:00";
        QTest::newRow("disjoint blocks: four courses into three")
            << Schedule{{u"W", blocks(3)}, {u"X", blocks(3)}, Free, {u"Y", blocks(3)}, {u"Z", blocks(3)}} << BusyCells{}
            << QStringLiteral(
                   "W, X, Y and Z cannot all be taken together: their sections cannot be arranged without a clash. "
                   "Without any one of them, the others fit.");
        QTest::newRow("every section in the busy times")
            << Schedule{Free, {u"Math", {{u"1", 0, 2, Mon}, {u"2", 6, 8, Mon}}}} << mondayMorning()
            << QStringLiteral("Math: every section falls in your busy times");
        QTest::newRow("busy times leave a clashing pair")
            << Schedule{{u"P", {{u"1", 0, 2, Mon}, {u"2", 10, 12, Tue}}}, {u"Q", {{u"1", 10, 11, Tue}}}}
            << mondayMorning() << QStringLiteral("P and Q") + pairHead + "\nP 2 and Q 1 both meet Tuesday 13:00-13:30";
    }
    // Sections the user left out are absent for every search: never in a
    // timetable, never named by the details, and a course whose every
    // section is left out is said before anything is searched.
    void leftOut_data() {
        QTest::addColumn<Schedule>("schedule");
        QTest::addColumn<QStringList>("leftOut");  // "course number"
        QTest::addColumn<BusyCells>("busy");
        QTest::addColumn<QString>("outcome");  // the timetables, one a line, or the message and its details
        const CourseEntry chem{u"Chem", {{u"01", 0, 2, Mon}, {u"02", 0, 2, Tue}}};
        const CourseEntry phys{u"Phys", {{u"1", 0, 2, Mon}, {u"2", 0, 2, Wed}}};
        QTest::newRow("none left out") << Schedule{chem, phys} << QStringList{} << BusyCells{}
                                       << "Chem 02, Phys 1\nChem 01, Phys 2\nChem 02, Phys 2";
        QTest::newRow("one section") << Schedule{chem, phys} << QStringList{"Chem 01"} << BusyCells{}
                                     << "Chem 02, Phys 1\nChem 02, Phys 2";
        QTest::newRow("one of each") << Schedule{chem, phys} << QStringList{"Chem 02", "Phys 2"} << BusyCells{}
                                     << "Sorry, no timetable:\nChem and Phys cannot be taken together: every section "
                                        "of one clashes with every section of the other.\nChem 01 and Phys 1 both "
                                        "meet Monday 8:00-9:00";
        QTest::newRow("every section of a course") << Schedule{chem, phys} << QStringList{"Phys 1", "Phys 2"}
                                                   << BusyCells{} << "Every section of Phys is left out";
        QTest::newRow("said before the busy times") << Schedule{chem, phys} << QStringList{"Phys 1", "Phys 2"}
                                                    << mondayMorning() << "Every section of Phys is left out";
        QTest::newRow("left out and busy together") << Schedule{chem, phys} << QStringList{"Chem 02"} << mondayMorning()
                                                    << "Every section of Chem falls in your busy times";
        QTest::newRow("three courses into two blocks")
            << Schedule{{u"A", blocks(3)}, Free, {u"B", blocks(3)}, {u"C", blocks(3)}}
            << QStringList{"A 3", "B 3", "C 3"} << BusyCells{}
            << "Sorry, no timetable:\nA, B and C cannot all be taken together: their sections cannot be arranged "
               "without a clash. Without any one of them, the others fit.";
    }
    void leftOut() {
        QFETCH(Schedule, schedule);
        QFETCH(QStringList, leftOut);
        QFETCH(BusyCells, busy);
        QFETCH(QString, outcome);
        auto state = scheduleOf(schedule);
        state->Options.busy = busy;
        for (const QString& name : leftOut)
            for (int c = 0; c < state->NumCourses; ++c) {
                Course& course = state->Courses[static_cast<size_t>(c)];
                for (int k = 0; k < course.NumSections; ++k)
                    if (text(course.CourseName) + ' ' + text(course.Sections[static_cast<size_t>(k)].SecNum) == name)
                        course.Sections[static_cast<size_t>(k)].LeftOut = true;
            }
        GenerationResult result = TimeTablify(*state);
        QStringList got;
        for (int t = 0; t < state->NumTimetables; ++t) {
            QStringList sections;
            const Timetable& timetable = state->Timetables[static_cast<size_t>(t)];
            for (int c = 0; c < timetable.NumSections; ++c) {
                const Section& section = timetable.Sections[static_cast<size_t>(c)];
                QVERIFY(!section.LeftOut);
                sections << text(section.CourseName) + ' ' + text(section.SecNum);
            }
            got << sections.join(QStringLiteral(", "));
        }
        const auto named = [&state, &result] {
            return state->Courses[static_cast<size_t>(result.busyCourse)].CourseName;
        };
        if (result.outcome == TimeTablifyOutcome::EverySectionLeftOut) got << text(EverySectionLeftOutMessage(named()));
        if (result.outcome == TimeTablifyOutcome::EverySectionBusy) got << text(EverySectionBusyMessage(named()));
        if (result.outcome == TimeTablifyOutcome::NoTimetables) {
            ExplainOutcome(*state, result, {}, busy);
            got << QStringLiteral("Sorry, no timetable:") << text(result.details);
        }
        QCOMPARE(got.join(QLatin1Char('\n')), outcome);
    }

    void details() {
        QFETCH(Schedule, schedule);
        QFETCH(BusyCells, busy);
        QFETCH(QString, details);
        auto state = scheduleOf(schedule);
        GenerationResult result = TimeTablify(*state);
        if (busy.none()) QCOMPARE(result.outcome, TimeTablifyOutcome::NoTimetables);
        result.outcome = TimeTablifyOutcome::NoTimetables;  // as the search honouring busy times finds
        ExplainOutcome(*state, result, {}, busy);
        QCOMPARE(text(result.details), details);
    }

    void coursesWithoutSection() {
        auto state = scheduleOf({{u"Chem", {}}, Free, {u"Phys", {}}, {u"Chem", {}}});
        GenerationResult result = TimeTablify(*state);
        QCOMPARE(result.outcome, TimeTablifyOutcome::AllClassesNeedSection);
        ExplainOutcome(*state, result, {});
        QCOMPARE(text(result.details), QStringLiteral("Courses without a section:\nChem\nPhys\nChem"));
    }

    void nothingToExplainWhenTimetablesExist() {
        auto state = scheduleOf({Free, {u"B", blocks(2)}});
        GenerationResult result = TimeTablify(*state);
        QCOMPARE(result.outcome, TimeTablifyOutcome::ShowResults);
        ExplainOutcome(*state, result, {});
        QVERIFY(result.details.empty());
        // Asked anyway, the explainer finds the timetable rather than a culprit.
        QCOMPARE(ExplainNoTimetable(*state, state->NumCourses).kind, ConflictExplanation::Kind::HasTimetable);
    }

    // A stop set before or during the deletion leaves no details; progress
    // counts the deletion steps up to the number of courses.
    void stopAndProgress() {
        auto state = scheduleOf({{u"W", blocks(3)}, {u"X", blocks(3)}, Free, {u"Y", blocks(3)}, {u"Z", blocks(3)}});
        std::atomic<bool> stop{false};
        std::vector<int> steps;
        SearchControl control;
        control.stop = &stop;
        control.progress = [&](int step) {
            steps.push_back(step);
            if (step == 2) stop = true;
        };
        GenerationResult result{TimeTablifyOutcome::NoTimetables, false, false};
        ExplainOutcome(*state, result, control);
        QVERIFY(result.details.empty());
        QCOMPARE(steps, (std::vector<int>{0, 1, 2}));

        stop = false;
        steps.clear();
        control.progress = [&](int step) { steps.push_back(step); };
        ExplainOutcome(*state, result, control);
        QVERIFY(!result.details.empty());
        QCOMPARE(steps, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    }
};

QTEST_APPLESS_MAIN(ConflictExplanationTest)
#include "test_conflict_explanation.moc"
