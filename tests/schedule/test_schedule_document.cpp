// A schedule made into a document and put back: the lists and records come
// out as if typed in, and two documents are equal exactly when their live
// courses and sections are; favourites go into the document by the places
// of their sections in the courses as they are now.
#include <QtTest>
#include <functional>
#include <memory>

#include "editing.h"
#include "fake_main_window_lists.h"
#include "schedule_document.h"
#include "schedule_makers.h"
#include "section_maker.h"

using namespace quorvandel;
using quorvandel::testing::FakeMainWindowLists;

namespace {

ScheduleDocument randomDocument(std::uint64_t seed) {
    makers::Rng rng(seed);
    ScheduleDocument document;
    makers::randomSchedule(document.courses, seed, rng.between(0, MaxCourses), 0, MaxSectionsPerCourse, {});
    return document;
}

using Change = std::function<void(CourseList&)>;
using Edit = std::function<void(ModuleState&, FakeMainWindowLists&)>;
using Places = std::vector<std::vector<int>>;

// As the user does it: the course selected, its sections listed, one removed.
void removeSection(ModuleState& state, FakeMainWindowLists& window, int16_t c, int16_t s) {
    window.selectedCourse = c;
    ShowSections(state, window);
    RemoveSection(state, window, c, s);
}

Course& course(CourseList& list, int i) { return list.Courses[static_cast<size_t>(i)]; }
Section& section(CourseList& list, int c, int s) { return course(list, c).Sections[static_cast<size_t>(s)]; }

}  // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Places)

class ScheduleDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void applyingGivesTheLinesAndRecordsOfTyping() {
        for (std::uint64_t seed = 1; seed <= 200; ++seed) {
            const ScheduleDocument document = randomDocument(seed);
            auto state = std::make_unique<ModuleState>();
            FakeMainWindowLists window;
            applyDocument(*state, window, document);
            QCOMPARE(state->NumCourses, document.courses.NumCourses);
            QCOMPARE(int(window.courseLines.size()), int(document.courses.NumCourses));
            for (int c = 0; c < state->NumCourses; ++c) {
                const Course& stored = state->Courses[static_cast<size_t>(c)];
                QVERIFY(window.courseLines[static_cast<size_t>(c)] == stored.CourseName);
                for (int s = 0; s < stored.NumSections; ++s)
                    QVERIFY(stored.Sections[static_cast<size_t>(s)].CourseName == stored.CourseName);
            }
            QVERIFY(window.sectionLines.empty() && window.selectedCourse == -1);
            QVERIFY(documentOf(*state) == document);
        }
    }

    // Chem's sections 0 and 2 are alike; Bio has two. The favourites are
    // marked by their places, then the schedule is edited.
    void favourites_data() {
        QTest::addColumn<Places>("marked");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<Places>("written");
        const Edit none = [](ModuleState&, FakeMainWindowLists&) {};
        QTest::newRow("none") << Places{} << none << Places{};
        QTest::newRow("written in order of their places")
            << Places{{1, 1}, {0, 0}, {1, 0}} << none << Places{{0, 0}, {1, 0}, {1, 1}};
        QTest::newRow("alike sections: the first place, and only once")
            << Places{{2, 1}, {0, 1}} << none << Places{{0, 1}};
        QTest::newRow("a section before them removed")
            << Places{{1, 1}, {3, 0}} << Edit([](ModuleState& s, FakeMainWindowLists& w) { removeSection(s, w, 0, 0); })
            << Places{{0, 1}, {2, 0}};
        QTest::newRow("a section of one removed")
            << Places{{1, 1}, {3, 0}} << Edit([](ModuleState& s, FakeMainWindowLists& w) { removeSection(s, w, 1, 1); })
            << Places{{3, 0}};
        QTest::newRow("a course added") << Places{{1, 1}} << Edit([](ModuleState& s, FakeMainWindowLists& w) {
            AddCourse(s, w, NewCourse(u"Gym"));
        }) << Places{};
        QTest::newRow("the first course removed")
            << Places{{1, 1}} << Edit([](ModuleState& s, FakeMainWindowLists& w) { RemoveCourse(s, w, 0); })
            << Places{};
        // Removing a section forgets the favourites holding it for good; a
        // course added and removed again took none of theirs.
        QTest::newRow("a section of one removed and typed again")
            << Places{{1, 1}, {3, 0}} << Edit([](ModuleState& s, FakeMainWindowLists& w) {
                   const Section again = s.Courses[1].Sections[1];
                   removeSection(s, w, 1, 1);
                   AddSection(s, 1, again);
               })
            << Places{{3, 0}};
        QTest::newRow("one of two alike sections removed")
            << Places{{2, 1}} << Edit([](ModuleState& s, FakeMainWindowLists& w) { removeSection(s, w, 0, 0); })
            << Places{{1, 1}};
        QTest::newRow("a course added and removed again")
            << Places{{1, 1}} << Edit([](ModuleState& s, FakeMainWindowLists& w) {
                   AddCourse(s, w, NewCourse(u"Gym"));
                   RemoveCourse(s, w, 2);
               })
            << Places{{1, 1}};
    }
    void favourites() {
        QFETCH(Places, marked);
        QFETCH(Edit, edit);
        QFETCH(Places, written);
        ScheduleDocument typed;
        for (const char* name : {"Chem", "Bio"}) makers::addCourse(typed.courses, name);
        for (int s : {0, 2, 0, 4}) makers::addSection(typed.courses, 0, s, s + 2, 1);
        for (int s : {0, 6}) makers::addSection(typed.courses, 1, s, s + 2, 2);
        section(typed.courses, 0, 2) = section(typed.courses, 0, 0);
        for (const std::vector<int>& places : marked) typed.favourites.emplace_back(places.begin(), places.end());
        auto state = std::make_unique<ModuleState>();
        FakeMainWindowLists window;
        applyDocument(*state, window, typed);
        edit(*state, window);
        Places got;
        for (const FavouriteSections& f : documentOf(*state).favourites) got.emplace_back(f.begin(), f.end());
        QCOMPARE(got, written);
    }

    void equality_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("same");
        // Two courses of three sections; course 0 also has a stale fourth.
        QTest::newRow("nothing") << Change([](CourseList&) {}) << true;
        QTest::newRow("a stale section") << Change([](CourseList& l) { section(l, 0, 3).SecNum = u"x"; }) << true;
        QTest::newRow("a stale course") << Change([](CourseList& l) { course(l, 2).CourseName = u"x"; }) << true;
        QTest::newRow("a course name") << Change([](CourseList& l) { course(l, 1).CourseName += u" "; }) << false;
        QTest::newRow("a section number") << Change([](CourseList& l) { section(l, 1, 2).SecNum = u"9"; }) << false;
        QTest::newRow("a day") << Change([](CourseList& l) { section(l, 0, 0).Days[6] = true; }) << false;
        QTest::newRow("an end") << Change([](CourseList& l) { section(l, 1, 0).EndSlot += 1; }) << false;
        QTest::newRow("one section fewer") << Change([](CourseList& l) { course(l, 1).NumSections -= 1; }) << false;
        QTest::newRow("the stale section live")
            << Change([](CourseList& l) { course(l, 0).NumSections += 1; }) << false;
        QTest::newRow("one course fewer") << Change([](CourseList& l) { l.NumCourses -= 1; }) << false;
        QTest::newRow("courses swapped") << Change([](CourseList& l) { std::swap(course(l, 0), course(l, 1)); })
                                         << false;
    }
    void equality() {
        QFETCH(Change, change);
        QFETCH(bool, same);
        ScheduleDocument original;
        for (const char* name : {"Chem", "Bio"}) {
            const int c = makers::addCourse(original.courses, name);
            for (int s = 0; s < 3; ++s) makers::addSection(original.courses, c, s, s + 2, 1U << s);
        }
        section(original.courses, 0, 3) = testing::makeSection(u"Chem", u"old", 4, 6, {0});
        ScheduleDocument changed = original;
        change(changed.courses);
        QCOMPARE(changed == original, same);
        QCOMPARE(original == changed, same);
    }
};

QTEST_APPLESS_MAIN(ScheduleDocumentTest)
#include "test_schedule_document.moc"
