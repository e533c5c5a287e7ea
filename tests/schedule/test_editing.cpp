// The editing operations: record shifting with stale last entries, the list
// lines they produce, the section line, and refusal at both capacities.
#include <QtTest>
#include <memory>

#include "editing.h"
#include "fake_main_window_lists.h"
#include "section_maker.h"

using namespace quorvandel;
using quorvandel::testing::FakeMainWindowLists;
using quorvandel::testing::makeSection;

namespace {

QString q(const Text& t) { return QString::fromStdU16String(t); }

QStringList lines(const std::vector<Text>& texts) {
    QStringList out;
    for (const Text& t : texts) out << q(t);
    return out;
}

Course courseWithSections(const Text& name, int sections) {
    Course c = NewCourse(name);
    for (int i = 0; i < sections; ++i) {
        c.Sections[static_cast<size_t>(i)] =
            makeSection(name, name + u"-S" + QString::number(i).toStdU16String(), i, i + 1, {i % 7});
    }
    c.NumSections = static_cast<int16_t>(sections);
    return c;
}

struct Fixture {
    std::unique_ptr<ModuleState> state = std::make_unique<ModuleState>();
    FakeMainWindowLists window;

    void addCourses(std::initializer_list<const char16_t*> names, int sectionsEach = 0) {
        for (const char16_t* name : names)
            QCOMPARE(AddCourse(*state, window, courseWithSections(name, sectionsEach)), StoreResult::Stored);
    }
    QString courseName(int i) const { return q(state->Courses[static_cast<size_t>(i)].CourseName); }
};

}  // namespace

Q_DECLARE_METATYPE(quorvandel::Section)

class EditingTest : public QObject {
    Q_OBJECT
private slots:
    void addCourseAppendsLinesInOrder() {
        Fixture f;
        f.addCourses({u"Algebra", u"Biology", u"Chemistry"});
        QCOMPARE(f.state->NumCourses, 3);
        QCOMPARE(lines(f.window.courseLines), (QStringList{"Algebra", "Biology", "Chemistry"}));
        QCOMPARE(f.window.selectedCourse, -1);  // adding selects nothing
    }

    void removeCourse_data() {
        QTest::addColumn<int>("removed");
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<QString>("staleEntry2");
        QTest::newRow("first") << 0 << QStringList{"Biology", "Chemistry"} << "Chemistry";
        QTest::newRow("middle") << 1 << QStringList{"Algebra", "Chemistry"} << "Chemistry";
        QTest::newRow("last copies nothing") << 2 << QStringList{"Algebra", "Biology"} << "Chemistry";
    }
    void removeCourse() {
        QFETCH(int, removed);
        QFETCH(QStringList, remaining);
        QFETCH(QString, staleEntry2);
        Fixture f;
        f.addCourses({u"Algebra", u"Biology", u"Chemistry"}, 2);
        f.window.selectedCourse = static_cast<int16_t>(removed);
        f.window.sectionLines = {u"x", u"y"};

        RemoveCourse(*f.state, f.window, static_cast<int16_t>(removed));

        QCOMPARE(f.state->NumCourses, 2);
        QCOMPARE(f.courseName(0), remaining[0]);
        QCOMPARE(f.courseName(1), remaining[1]);
        QCOMPARE(lines(f.window.courseLines), remaining);
        // The vacated last entry keeps its old record, sections and all.
        QCOMPARE(f.courseName(2), staleEntry2);
        QCOMPARE(f.state->Courses[2].NumSections, 2);
        QCOMPARE(q(f.state->Courses[2].Sections[1].SecNum), staleEntry2 + "-S1");
        QVERIFY(f.window.sectionLines.empty());
        QCOMPARE(f.window.selectedCourse, -1);
        // Courses are left, so the buttons are the caller's business.
        QVERIFY(f.window.removeCourseEnabled);
        QVERIFY(f.window.addSectionEnabled);
    }

    void removeCourseMovesSectionsWithTheirCourse() {
        Fixture f;
        f.addCourses({u"Algebra"}, 1);
        f.addCourses({u"Biology"}, 3);
        RemoveCourse(*f.state, f.window, 0);
        const Course& moved = f.state->Courses[0];
        QCOMPARE(q(moved.CourseName), QString("Biology"));
        QCOMPARE(moved.NumSections, 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(q(moved.Sections[static_cast<size_t>(i)].SecNum), QString("Biology-S%1").arg(i));
    }

    void removingTheOnlyCourseDisablesItsButtons() {
        Fixture f;
        f.addCourses({u"Algebra"}, 2);
        f.window.selectedCourse = 0;
        RemoveCourse(*f.state, f.window, 0);
        QCOMPARE(f.state->NumCourses, 0);
        QVERIFY(f.window.courseLines.empty());
        QVERIFY(f.window.sectionLines.empty());
        QVERIFY(!f.window.removeCourseEnabled);
        QVERIFY(!f.window.addSectionEnabled);
        QCOMPARE(f.courseName(0), QString("Algebra"));
        QCOMPARE(f.state->Courses[0].NumSections, 2);
    }

    void removeSectionClosesTheGap() {
        Fixture f;
        f.addCourses({u"Algebra"}, 3);
        f.window.selectedCourse = 0;
        ShowSections(*f.state, f.window);
        f.window.selectedSection = 0;
        const Section s1 = f.state->Courses[0].Sections[1];
        const Section s2 = f.state->Courses[0].Sections[2];

        RemoveSection(*f.state, f.window, 0, 0);

        const Course& c = f.state->Courses[0];
        QCOMPARE(c.NumSections, 2);
        QVERIFY(c.Sections[0] == s1);
        QVERIFY(c.Sections[1] == s2);
        QVERIFY(c.Sections[2] == s2);  // stale copy of the old last section
        QCOMPARE(int(f.window.sectionLines.size()), 2);
        QCOMPARE(q(f.window.sectionLines[0]), q(SectionLine(s1, f.window)));
        QCOMPARE(f.window.selectedSection, -1);
    }

    void showSections_data() {
        QTest::addColumn<int>("sections");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("expectedLines");
        QTest::newRow("three sections") << 3 << 0 << 3;
        QTest::newRow("no sections") << 0 << 0 << 0;
        QTest::newRow("no course selected") << 3 << -1 << 0;
        QTest::newRow("full course") << 10 << 0 << 10;
    }
    void showSections() {
        QFETCH(int, sections);
        QFETCH(int, selected);
        QFETCH(int, expectedLines);
        Fixture f;
        f.addCourses({u"Algebra"}, sections);
        f.window.sectionLines = {u"left over"};
        f.window.selectedCourse = static_cast<int16_t>(selected);
        ShowSections(*f.state, f.window);
        QCOMPARE(int(f.window.sectionLines.size()), expectedLines);
        for (int i = 0; i < expectedLines; ++i)
            QVERIFY(q(f.window.sectionLines[static_cast<size_t>(i)]).startsWith(QString("Algebra-S%1  ").arg(i)));
    }

    void addSectionShowsNothingUntilShowSections() {
        Fixture f;
        f.addCourses({u"Algebra"});
        f.window.selectedCourse = 0;
        QCOMPARE(AddSection(*f.state, 0, makeSection(u"C", u"01", 0, 2, {0})), StoreResult::Stored);
        QVERIFY(f.window.sectionLines.empty());
        ShowSections(*f.state, f.window);
        QCOMPARE(lines(f.window.sectionLines), QStringList{"01  8:00 - 9:00 M"});
    }

    void sectionLine_data() {
        QTest::addColumn<Section>("section");
        QTest::addColumn<QString>("line");
        QTest::newRow("101 Mon Wed") << makeSection(u"C", u"101", 0, 3, {0, 2}) << "101  8:00 - 9:30 M W";
        QTest::newRow("B2 picked Thu then Tue") << makeSection(u"C", u"B2", 11, 14, {3, 1}) << "B2  13:30 - 15:00 T Th";
        QTest::newRow("7 every day") << makeSection(u"C", u"7", 0, 29, {0, 1, 2, 3, 4, 5, 6})
                                     << "7  8:00 - 22:30 M T W Th F S Su";
        QTest::newRow("Sunday and Monday") << makeSection(u"C", u"9", 2, 4, {6, 0}) << "9  9:00 - 10:00 M Su";
        QTest::newRow("texts kept as typed") << makeSection(u"C", u" 1 ", 2, 4, {5}) << " 1   9:00 - 10:00 S";
    }
    void sectionLine() {
        QFETCH(Section, section);
        QFETCH(QString, line);
        FakeMainWindowLists window;
        QCOMPARE(q(SectionLine(section, window)), line);
    }

    void courseCapacityRefusesAndChangesNothing() {
        Fixture f;
        for (int i = 0; i < MaxCourses; ++i)
            QCOMPARE(AddCourse(*f.state, f.window, courseWithSections(u"C" + QString::number(i).toStdU16String(), 1)),
                     StoreResult::Stored);
        const auto before = f.state->Courses;
        QCOMPARE(AddCourse(*f.state, f.window, NewCourse(u"one too many")), StoreResult::Full);
        QCOMPARE(f.state->NumCourses, MaxCourses);
        QVERIFY(f.state->Courses == before);
        QCOMPARE(int(f.window.courseLines.size()), int(MaxCourses));
        QCOMPARE(q(f.window.courseLines.back()), QString("C19"));
    }

    void sectionCapacityRefusesAndChangesNothing() {
        Fixture f;
        f.addCourses({u"Algebra", u"Biology"}, 10);
        const auto before = f.state->Courses;
        QCOMPARE(AddSection(*f.state, 1, makeSection(u"C", u"11th", 0, 1, {0})), StoreResult::Full);
        QVERIFY(f.state->Courses == before);
        // A course with room still takes one.
        f.window.selectedCourse = 0;
        ShowSections(*f.state, f.window);
        RemoveSection(*f.state, f.window, 0, 9);
        QCOMPARE(AddSection(*f.state, 0, makeSection(u"C", u"again", 0, 1, {0})), StoreResult::Stored);
        QCOMPARE(q(f.state->Courses[0].Sections[9].SecNum), QString("again"));
    }

    void addSectionToAMissingCourseIsRefused() {
        // Entry 1 still holds Biology after its removal: a stale record that
        // must not take the section.
        Fixture f;
        f.addCourses({u"Algebra", u"Biology"});
        f.window.selectedCourse = 1;
        RemoveCourse(*f.state, f.window, 1);
        const auto before = f.state->Courses;
        for (int16_t course : {int16_t(1), int16_t(-1), MaxCourses})
            QCOMPARE(AddSection(*f.state, course, makeSection(u"C", u"x", 0, 1, {0})), StoreResult::NoSuchCourse);
        QVERIFY(f.state->Courses == before);
        QCOMPARE(f.state->NumCourses, 1);
    }

    void reusedEntryIsOverwrittenWhole() {
        // "New" only sets NumCourses to 0; the next course added must not
        // inherit the sections of the stale record it lands on.
        Fixture f;
        f.addCourses({u"Algebra"}, 4);
        f.state->NumCourses = 0;
        f.window.courseLines.clear();
        f.addCourses({u"Physics"});
        QCOMPARE(f.courseName(0), QString("Physics"));
        QCOMPARE(f.state->Courses[0].NumSections, 0);
        QVERIFY(f.state->Courses[0].Sections[0] == Section{});
    }
};

QTEST_APPLESS_MAIN(EditingTest)
#include "test_editing.moc"
