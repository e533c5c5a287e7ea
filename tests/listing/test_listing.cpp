// A pasted listing read into sections (every separator, day and time form,
// the rounding rule, each refusal), the plan "Add" follows against a
// schedule, and the three examples of docs/listings/ added to an empty one.

#include <QtTest>

#include "add_listed_sections.h"
#include "fake_main_window_lists.h"
#include "listing_plan.h"
#include "listing_reader.h"
#include "listing_testing.h"

using namespace quorvandel;
using quorvandel::testing::describe;

class TestListing : public QObject {
    Q_OBJECT
private slots:
    void readRows_data();
    void readRows();
    void plan_data();
    void plan();
    void examples_data();
    void examples();
};

namespace {

const QString H = QStringLiteral("course,section,days,start,end\n");

void row(const char* name, const QString& text, const char* expected) {
    QTest::newRow(name) << text << QString::fromUtf8(expected);
}

}  // namespace

void TestListing::readRows_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    // Days.
    row("MWF", H + "Chem,01,MWF,9:00,10:00", "Chem/01 9:00-10:00 M W F");
    row("TR", H + "Chem,01,TR,9:00,10:00", "Chem/01 9:00-10:00 T Th");
    row("TTh", H + "Chem,01,TTh,9:00,10:00", "Chem/01 9:00-10:00 T Th");
    row("M W F", H + "Chem,01,M W F,9:00,10:00", "Chem/01 9:00-10:00 M W F");
    row("Mon/Wed", H + "Chem,01,Mon/Wed,9:00,10:00", "Chem/01 9:00-10:00 M W");
    row("Monday, Wednesday", H + "Chem,01,\"Monday, Wednesday\",9:00,10:00", "Chem/01 9:00-10:00 M W");
    row("MoWeFr", H + "Chem,01,MoWeFr,9:00,10:00", "Chem/01 9:00-10:00 M W F");
    row("S Sa Sat", H + "Chem,01,S,9:00,10:00\nChem,02,Sa,9:00,10:00\nChem,03,Sat,9:00,10:00",
        "Chem/01 9:00-10:00 S | Chem/02 9:00-10:00 S | Chem/03 9:00-10:00 S");
    row("U Su Sun", H + "Chem,01,U,9:00,10:00\nChem,02,Su,9:00,10:00\nChem,03,SUN,9:00,10:00",
        "Chem/01 9:00-10:00 Su | Chem/02 9:00-10:00 Su | Chem/03 9:00-10:00 Su");
    row("R Th thursday", H + "Chem,01,R,9:00,10:00\nChem,02,th,9:00,10:00\nChem,03,Thursday,9:00,10:00",
        "Chem/01 9:00-10:00 Th | Chem/02 9:00-10:00 Th | Chem/03 9:00-10:00 Th");
    row("every day", H + "Chem,01,MTWRFSU,9:00,10:00", "Chem/01 9:00-10:00 M T W Th F S Su");
    // Times.
    row("9:00 09:00 9 900 0900", H + "A,1,M,9:00,10:00\nA,2,M,09:00,10:00\nA,3,M,9,10\nA,4,M,900,1000\nA,5,M,0900,1000",
        "A/1 9:00-10:00 M | A/2 9:00-10:00 M | A/3 9:00-10:00 M | A/4 9:00-10:00 M | A/5 9:00-10:00 M");
    row("AM PM forms", H + "A,1,M,9:00 AM,10:00 AM\nA,2,M,9am,10am\nA,3,M,1:30 PM,2:30 p.m.\nA,4,M,13:30,14:30",
        "A/1 9:00-10:00 M | A/2 9:00-10:00 M | A/3 13:30-14:30 M | A/4 13:30-14:30 M");
    row("noon", H + "A,1,M,12:00 PM,1:00 PM", "A/1 12:00-13:00 M");
    row("midnight", H + "A,1,M,12:00 AM,1:00 AM", "A/1 refused: a time before 8:00");
    row("range column", "course,sec,time,days\nA,1,9:00-10:30,M\nA,2,9:00 AM - 10:30 AM,W",
        "A/1 9:00-10:30 M | A/2 9:00-10:30 W");
    row("range takes the end's PM", H + "A,1,M,1:00-2:30pm,\nA,2,M,11:00-12:30pm,",
        "A/1 13:00-14:30 M | A/2 11:00-12:30 M");
    row("range with dash and to", "course,sec,days,time\nA,1,M,9:00\u201310:00\nA,2,M,9:00 to 10:00",
        "A/1 9:00-10:00 M | A/2 9:00-10:00 M");
    // Separators and quoting.
    row("tab", "Chem\t01\tMWF\t9:00\t10:00", "Chem/01 9:00-10:00 M W F");
    row("semicolon", "Chem;01;MWF;9:00;10:00", "Chem/01 9:00-10:00 M W F");
    row("pipe", "Chem | 01 | MWF | 9:00 | 10:00", "Chem/01 9:00-10:00 M W F");
    row("two spaces", "Chem 101   01  M W F  9:00  10:00", "Chem 101/01 9:00-10:00 M W F");
    row("two spaces, indented", "   Chem  01  MWF  9:00  10:00   \n  Bio  02  TR  9:00  10:00",
        "Chem/01 9:00-10:00 M W F | Bio/02 9:00-10:00 T Th");
    row("CSV quotes", "\"Chem, \"\"Intro\"\"\",\"01\",MWF,9:00,10:00", "Chem, \"Intro\"/01 9:00-10:00 M W F");
    row("quoted line break", "\"Chem\nLab\",01,MWF,9:00,10:00\r\nBio,02,TR,9:00,10:00",
        "Chem Lab/01 9:00-10:00 M W F | Bio/02 9:00-10:00 T Th");
    row("blank lines and a no-break space", "\n\nChem,01,MWF,\u00A09:00,10:00\n\n", "Chem/01 9:00-10:00 M W F");
    // Header: any order and case, other names, subject and number, other columns.
    row("header order and case", "END,Days,SECTION,Start,Course\n10:00,MWF,01,9:00,Chem", "Chem/01 9:00-10:00 M W F");
    row("title lines above the header",
        "Spring 2027\nMain campus, all day\nDays,Course,Section,Start,End\nM,A,1,9:00,10:00", "A/1 9:00-10:00 M");
    row("rows of empty fields", H + ",,,,\nA,1,M,9:00,10:00\n,,,,", "A/1 9:00-10:00 M");
    row("subject and number", "CRN,Subject,Number,Class,Days,Begin,Finish,Room\n1,CHEM,101,2,TR,9:00,10:00,S1",
        "CHEM 101/2 9:00-10:00 T Th");
    row("days and time in one field", "Chem  01  MWF 9:00-9:50am",
        "Chem/01 9:00-10:00 M W F (9:00-9:50 to 9:00-10:00)");
    row("meets column", "Course,Section,Meets\nChem,01,TR 1:00-2:00 PM", "Chem/01 13:00-14:00 T Th");
    // The half-hour grid: nearest, a tie goes inward, a meeting never vanishes.
    row("nearest", H + "A,1,M,9:05,9:55", "A/1 9:00-10:00 M (9:05-9:55 to 9:00-10:00)");
    row("ties go inward", H + "A,1,M,9:15,10:45", "A/1 9:30-10:30 M (9:15-10:45 to 9:30-10:30)");
    row("quarter past and to stay apart", H + "A,1,M,8:45,10:15\nA,2,M,10:15,11:45",
        "A/1 9:00-10:00 M (8:45-10:15 to 9:00-10:00) | A/2 10:30-11:30 M (10:15-11:45 to 10:30-11:30)");
    row("would vanish", H + "A,1,M,9:15,9:45", "A/1 9:30-10:00 M (9:15-9:45 to 9:30-10:00)");
    row("rounds into the day", H + "A,1,M,7:50,9:00\nA,2,M,21:00,22:40",
        "A/1 8:00-9:00 M (7:50-9:00 to 8:00-9:00) | A/2 21:00-22:30 M (21:00-22:40 to 21:00-22:30)");
    // Refusals.
    row("no days", H + "A,1,,9:00,10:00\nA,2,TBA,9:00,10:00\nA,3,ARR,9:00,10:00\nA,4,xyz,9:00,10:00",
        "A/1 refused: no days | A/2 refused: no days | A/3 refused: no days | A/4 refused: no days");
    row("no time", H + "A,1,M,,\nA,2,M,TBA,TBA\nA,3,M,ARR,\nA,4,M,9:75,10:00\nA,5,M,25:00,26:00",
        "A/1 refused: no time | A/2 refused: no time | A/3 refused: no time | A/4 refused: no time | A/5 refused: "
        "no time");
    row("before 8:00", H + "A,1,M,7:00,9:00\nA,2,M,7:40,9:00",
        "A/1 refused: a time before 8:00 | A/2 refused: a time before 8:00");
    row("after 22:30", H + "A,1,M,22:00,23:00\nA,2,M,22:00,22:50",
        "A/1 refused: a time after 22:30 | A/2 refused: a time after 22:30");
    row("end not after start", H + "A,1,M,10:00,9:00\nA,2,M,9:00,9:00\nA,3,M,9:10,9:05",
        "A/1 refused: end not after start | A/2 refused: end not after start | A/3 refused: end not after start");
    row("no course or number", H + ",1,M,9:00,10:00\nA,,M,9:00,10:00",
        "/1 refused: no course name | A/ refused: no section number");
    // Rows of one section.
    row("two meetings", H + "A,1,MWF,9:00,10:00\nB,1,M,9:00,10:00\nA,1,T,13:00,15:00",
        "A/1 9:00-10:00 M W F + 13:00-15:00 T | B/1 9:00-10:00 M");
    row("a row repeated adds nothing", H + "A,1,MWF,9:00,10:00\nA,1,MWF,9:00,10:00", "A/1 9:00-10:00 M W F");
    row("one refused row refuses the section", H + "A,1,MWF,9:00,10:00\nA,1,T,TBA,TBA", "A/1 refused: no time");
}

void TestListing::readRows() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(describe(readListing(text.toStdU16String())), expected);
}

namespace {

QString statuses(const ListingPlan& plan) {
    QStringList lines;
    for (const PlanLine& line : plan.lines) lines << QString::fromStdU16String(line.statusText);
    return lines.join(QStringLiteral(" | "));
}

QString rowsOf(const char* course, int from, int count, const char* days) {
    QString rows;
    for (int i = from; i < from + count; ++i)
        rows += QStringLiteral("%1,%2,%3,9:00,10:00\n").arg(course).arg(i).arg(days);
    return rows;
}

}  // namespace

void TestListing::plan_data() {
    QTest::addColumn<QString>("before");  // added first, through the same path
    QTest::addColumn<QString>("listing");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("summary");
    QString twenty;
    for (int c = 1; c <= 20; ++c) twenty += QStringLiteral("C%1,1,M,9:00,10:00\n").arg(c);
    QTest::newRow("new, add to, already there")
        << "Chem,01,MWF,9:00,10:00"
        << "Chem,01,MWF,9:00,10:00\nChem,02,TR,9:00,10:00\nBio,1,M,9:05,10:00"
        << "Already there | Add to Chem | New course; Rounded: 9:05-10:00 to 9:00-10:00"
        << "2 sections to add (1 new course), 1 already there, 0 refused";
    QTest::newRow("same number, other time") << "Chem,01,MWF,9:00,10:00"
                                             << "Chem,01,TR,9:00,10:00"
                                             << "Add to Chem"
                                             << "1 section to add, 0 already there, 0 refused";
    QTest::newRow("names match exactly") << "Chem,01,MWF,9:00,10:00"
                                         << "chem,01,MWF,9:00,10:00"
                                         << "New course"
                                         << "1 section to add (1 new course), 0 already there, 0 refused";
    QTest::newRow("ten sections, counting the listing's own")
        << rowsOf("Chem", 1, 8, "M") << rowsOf("Chem", 9, 3, "T")
        << "Add to Chem | Add to Chem | Refused: the course already holds 10 sections"
        << "2 sections to add, 0 already there, 1 refused";
    QTest::newRow("twenty courses") << twenty << "C20,2,T,9:00,10:00\nC21,1,M,9:00,10:00"
                                    << "Add to C20 | Refused: 20 courses already"
                                    << "1 section to add, 0 already there, 1 refused";
    QTest::newRow("meetings share a half-hour") << ""
                                                << "A,1,MW,9:00,10:00\nA,1,W,9:30,11:00"
                                                << "Refused: meetings share a half-hour"
                                                << "0 sections to add, 0 already there, 1 refused";
    QTest::newRow("a lecture with its lab") << ""
                                            << "A,1,MW,9:00,10:00\nA,1,F,9:30,11:00"
                                            << "New course"
                                            << "1 section to add (1 new course), 0 already there, 0 refused";
    QTest::newRow("five meetings") << ""
                                   << "A,1,M,9:00,10:00\nA,1,T,9:00,10:00\nA,1,W,9:00,10:00\nA,1,R,9:00,"
                                      "10:00\nA,1,F,9:00,10:00"
                                   << "Refused: meets at more than 4 times"
                                   << "0 sections to add, 0 already there, 1 refused";
    QTest::newRow("refused while read") << ""
                                        << "A,1,TBA,TBA,TBA"
                                        << "Refused: no days"
                                        << "0 sections to add, 0 already there, 1 refused";
    QString many;
    for (int i = 0; i < 5002; ++i) many += QStringLiteral("A,1,M,9:00,10:00\n");
    QTest::newRow("rows past the limit") << "" << many << "New course"
                                         << "1 section to add (1 new course), 0 already there, 0 refused. Only the "
                                            "first 5000 rows were read; the rest was not read.";
}

void TestListing::plan() {
    QFETCH(QString, before);
    QFETCH(QString, listing);
    QFETCH(QString, expected);
    QFETCH(QString, summary);
    ModuleState state;
    quorvandel::testing::FakeMainWindowLists lists;
    const ListingPlan first = planListing(state, readListing(before.toStdU16String()));
    QCOMPARE(addListedSections(state, lists, first), first.sectionsToAdd);
    const ModuleState untouched = state;

    const ListingPlan plan = planListing(state, readListing(listing.toStdU16String()));
    QCOMPARE(statuses(plan), expected);
    QCOMPARE(QString::fromStdU16String(planSummary(plan)), summary);
    QCOMPARE(state.NumCourses, untouched.NumCourses);  // planning changes nothing

    // "Add" stores exactly what the plan said, in order.
    const int16_t coursesBefore = state.NumCourses;
    QCOMPARE(addListedSections(state, lists, plan), plan.sectionsToAdd);
    QCOMPARE(state.NumCourses - coursesBefore, plan.newCourses);
    QCOMPARE(static_cast<int>(lists.courseLines.size()), static_cast<int>(state.NumCourses));
    for (const PlanLine& line : plan.lines) {
        if (line.status != PlanStatus::NewCourse && line.status != PlanStatus::AddToCourse) continue;
        bool found = false;
        for (int16_t c = 0; c < state.NumCourses; ++c) {
            const Course& course = state.Courses[static_cast<std::size_t>(c)];
            if (course.CourseName != line.course) continue;
            for (int16_t s = 0; s < course.NumSections; ++s)
                found = found || course.Sections[static_cast<std::size_t>(s)] == line.record;
        }
        QVERIFY2(found, qPrintable(QString::fromStdU16String(line.course + u"/" + line.number)));
    }
}

void TestListing::examples_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");  // the schedule after "Add", one course a line
    QTest::addColumn<QString>("summary");
    QTest::newRow("registrar.csv") << "registrar.csv"
                                   << "CHEM 101: 01 9:00-10:00 M W F, 02 11:00-12:00 T Th, 03 13:00-14:00 M W F\n"
                                      "MATH 221: 01 10:00-11:00 M W F, 02 14:00-15:00 T Th\n"
                                      "HIST 150: 01 9:30-10:30 T Th, 02 18:00-20:30 W\n"
                                      "ENGL 110: 01 15:00-16:00 M W"
                                   << "8 sections to add (4 new courses), 0 already there, 1 refused";
    QTest::newRow("spreadsheet.tsv") << "spreadsheet.tsv"
                                     << "Biology 110: A 8:30-9:30 M W, B 13:00-14:00 T Th, C 9:00-12:00 F\n"
                                        "Physics 140: 1 11:00-12:00 M W F, 2 15:30-16:30 T Th, 3 10:00-13:00 S\n"
                                        "Spanish 201: S1 17:00-18:00 M W, S2 19:00-21:00 Su"
                                     << "8 sections to add (3 new courses), 0 already there, 0 refused";
    QTest::newRow("plain.txt") << "plain.txt"
                               << "Econ 101: 001 9:00-10:00 M W F, 002 12:30-13:30 T Th, 003 18:00-20:30 M\n"
                                  "Philosophy 210: A 14:00-15:00 M W, B 10:00-11:00 T Th\n"
                                  "Art 120: 01 13:00-16:00 F"
                               << "6 sections to add (3 new courses), 0 already there, 0 refused";
}

void TestListing::examples() {
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QFETCH(QString, summary);
    const std::u16string text = quorvandel::testing::exampleListing(file);
    QVERIFY(!text.empty());
    ModuleState state;
    quorvandel::testing::FakeMainWindowLists lists;
    const ListingPlan plan = planListing(state, readListing(text));
    QCOMPARE(QString::fromStdU16String(planSummary(plan)), summary);
    addListedSections(state, lists, plan);
    QStringList courses;
    for (int16_t c = 0; c < state.NumCourses; ++c) {
        const Course& course = state.Courses[static_cast<std::size_t>(c)];
        QStringList sections;
        for (int16_t s = 0; s < course.NumSections; ++s) {
            const Section& section = course.Sections[static_cast<std::size_t>(s)];
            ListedSection listed;
            listed.number = section.SecNum;
            listed.meetings.push_back({section.StartSlot, section.EndSlot, section.Days, {}, {}, {}});
            sections << describe(listed).mid(1);
        }
        courses << QString::fromStdU16String(course.CourseName) + QStringLiteral(": ") +
                       sections.join(QStringLiteral(", "));
    }
    QCOMPARE(courses.join(u'\n'), expected);
    // Adding the same listing again adds nothing: every section is there.
    const ListingPlan again = planListing(state, readListing(text));
    QCOMPARE(again.sectionsToAdd, 0);
    QCOMPARE(again.alreadyThere, plan.sectionsToAdd);
}

QTEST_APPLESS_MAIN(TestListing)
#include "test_listing.moc"
