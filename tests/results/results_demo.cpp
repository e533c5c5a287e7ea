// A small harness around the real windows, for pictures of the program: it
// enters a schedule of five courses into the main window, presses
// "TimeTablify!" and shows the results. With an output folder as argument it
// saves its screenshots there and ends:
//   main-window.png  the main window with the schedule entered
//   results.png      the results on TimeTable 1
//   results-2.png    the results after "Next"
//   favourites.png   timetables 2, 4 and 5 marked, stepping through the
//                    favourites on the second of them ("Favorite: 2 / 3")
//   add-section.png  the whole screen with "Add Section" open over the main
//                    window: a lecture listed by "Another Time", its lab
//                    picked
//   results-enlarged.png  the results on "Favorite: 2 / 3" made larger
//                    than designed: the grid grown to fill them
// With a schedule file as a second argument it takes a tour of that schedule
// instead, each picture the whole screen: <name>-main.png, the main window
// with the file loaded, then maximised (<name>-main-enlarged.png), the
// results as they open (<name>-results.png), maximised
// (<name>-results-enlarged.png) and scrolled to the grid's bottom
// (<name>-results-scrolled.png), then End pressed once
// (<name>-results-end.png), where <name> is the file's base name.
// With --twins before the folder it enters a schedule whose lab sections
// come in twins and triplets at the same times instead, with "Show
// timetables with the same times once" on, and saves
//   same-times.png   the results on TimeTable 1, once every timetable is
//                    counted: a cell names every lab section of its time
//   overview.png     the whole screen with "All" open over the results
// Without an argument it stays open for a look. Run it on a real display
// (docs/make-screenshot.sh runs it under Xvfb); the pictures are taken from
// the screen, so they show what the display server really drew.

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <utility>

#include "editing.h"
#include "main_window.h"
#include "named_controls.h"
#include "program_windows.h"
#include "results_fixture.h"
#include "results_frame.h"
#include "results_windows.h"

using namespace quorvandel;
using namespace quorvandel::testing;

namespace {

struct DemoCourse {
    const char* name;
    std::vector<Section> sections;
};

// Chem 02 and Math 12 clash on Tuesday and Thursday, Chem 02 and Bio 4 on
// Thursday morning: five of the eight combinations are free of clashes.
const std::vector<DemoCourse>& demoSchedule() {
    static const std::vector<DemoCourse> courses = {
        {"Chem", {section("Chem", "01", 2, 5, {0, 2}), section("Chem", "02", 2, 5, {1, 3})}},
        {"Math", {section("Math", "11", 5, 7, {0, 2, 4}), section("Math", "12", 4, 7, {1, 3})}},
        {"History", {section("History", "A", 10, 16, {4})}},
        {"Art", {section("Art", "7", 0, 6, {5})}},
        {"Bio", {section("Bio", "3", 22, 29, {6}), section("Bio", "4", 0, 3, {3})}},
    };
    return courses;
}

// Chem's labs: 01, 03 and 05 on Tuesday afternoon, 02 and 04 on Thursday,
// 06 on Wednesday; Phys's 11 and 12 alike. 3 x 3 x 3 x 3 x 2 arrangements
// before the clashes.
const std::vector<DemoCourse>& twinsSchedule() {
    static const std::vector<DemoCourse> courses = {
        {"Chem",
         {section("Chem", "A", 2, 4, {0, 2, 4}), section("Chem", "B", 6, 8, {0, 2, 4}),
          section("Chem", "C", 12, 14, {1, 3})}},
        {"Chem Lab",
         {section("Chem Lab", "01", 12, 18, {1}), section("Chem Lab", "02", 12, 18, {3}),
          section("Chem Lab", "03", 12, 18, {1}), section("Chem Lab", "04", 12, 18, {3}),
          section("Chem Lab", "05", 12, 18, {1}), section("Chem Lab", "06", 10, 16, {2})}},
        {"Math",
         {section("Math", "1", 4, 6, {0, 2, 4}), section("Math", "2", 3, 6, {1, 3}),
          section("Math", "3", 16, 18, {0, 2})}},
        {"Phys",
         {section("Phys", "11", 8, 10, {0, 1, 2, 3}), section("Phys", "12", 8, 10, {0, 1, 2, 3}),
          section("Phys", "13", 18, 20, {1, 3}), section("Phys", "14", 0, 2, {0, 1, 2, 3})}},
        {"English", {section("English", "E1", 14, 16, {0, 2}), section("English", "E2", 20, 22, {1, 3})}},
    };
    return courses;
}

// The clash-free combinations of the demo schedule in the order a search
// that varies the first course fastest finds them: the section index chosen
// for each course.
void storeDemoTimetables(ModuleState& state) {
    const int choices[][5] = {{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 0, 0, 1}, {0, 1, 0, 0, 1}};
    state.NumTimetables = 0;
    for (const auto& choice : choices) {
        Timetable t;
        for (int c = 0; c < 5; ++c)
            t.Sections[static_cast<size_t>(t.NumSections++)] =
                state.Courses[static_cast<size_t>(c)].Sections[static_cast<size_t>(choice[c])];
        store(state, t);
    }
}

bool save(QWidget* window, const QString& path) {
    QCoreApplication::processEvents();
    QTest::qWait(300);
    const QRect area = window->frameGeometry();
    const QPixmap shot = window->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const bool ok = !shot.isNull() && shot.save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(path));
    return ok;
}

void pickLine(QDialog* dialog, const char* listName, int row) {
    auto* list = dialog->findChild<QListWidget*>(QLatin1String(listName));
    if (list) QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// "Add Section" for Chem: 03, M W F 9:00-10:00 listed, Tuesday 14:00-17:00
// picked; the screen is saved, then the dialog cancelled.
bool saveAddSection(frmQuorvandelMain& window, const QString& path) {
    bool ok = false;
    QTimer::singleShot(500, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        QTest::keyClicks(dialog->findChild<QWidget*>(QStringLiteral("txtSecNum")), QStringLiteral("03"));
        for (const auto& [list, row] :
             {std::pair{"lstTStartH", 1}, {"lstTEndH", 2}, {"lstDofWk", 0}, {"lstDofWk", 2}, {"lstDofWk", 4}})
            pickLine(dialog, list, row);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdAnotherTime")), Qt::LeftButton);
        for (const auto& [list, row] : {std::pair{"lstTStartH", 6}, {"lstTEndH", 9}, {"lstDofWk", 1}})
            pickLine(dialog, list, row);
        QTest::qWait(300);
        const QPixmap shot = dialog->screen()->grabWindow(0);
        ok = !shot.isNull() && shot.save(path);
        std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(path));
        dialog->reject();
    });
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdAddSec")), Qt::LeftButton);
    return ok;
}

bool saveScreen(QWidget* window, const QString& path) {
    QCoreApplication::processEvents();
    QTest::qWait(400);
    const QPixmap shot = window->screen()->grabWindow(0);
    const bool ok = !shot.isNull() && shot.save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(path));
    return ok;
}

// The tour of a schedule file: what a user sees of it at this screen's size.
int tour(ProgramWindows& program, const QString& outDir, const QString& schedule) {
    frmQuorvandelMain& window = program.window;
    if (!window.loadFile(schedule)) return 1;
    const QString name = outDir + QLatin1Char('/') + QFileInfo(schedule).completeBaseName();
    bool ok = saveScreen(&window, name + QStringLiteral("-main.png"));
    window.showMaximized();
    ok = saveScreen(&window, name + QStringLiteral("-main-enlarged.png")) && ok;
    window.showNormal();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdMakeTime")), Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return program.results.frame() != nullptr; }, 20000)) return 1;
    TimeTablesMDI* frame = program.results.frame();
    ok = saveScreen(frame, name + QStringLiteral("-results.png")) && ok;
    frame->showMaximized();
    ok = saveScreen(frame, name + QStringLiteral("-results-enlarged.png")) && ok;
    for (int i = 0; i < 40; ++i) QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_Down);
    ok = saveScreen(frame, name + QStringLiteral("-results-scrolled.png")) && ok;
    QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_End);
    ok = saveScreen(frame, name + QStringLiteral("-results-end.png")) && ok;
    program.results.closeResults();
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvandel"));
    const bool twins = argc > 1 && QByteArray(argv[1]) == "--twins";
    const int outArg = twins ? 2 : 1;
    const QString outDir = argc > outArg ? QString::fromLocal8Bit(argv[outArg]) : QString();

    ProgramWindows program;
    std::unique_ptr<ModuleState>& state = program.state;
    frmQuorvandelMain& window = program.window;
    ResultsWindows& presenter = program.results;

    window.move(40, 40);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    if (argc > 2 && !twins) return tour(program, outDir, QString::fromLocal8Bit(argv[2]));

    for (const DemoCourse& course : twins ? twinsSchedule() : demoSchedule()) {
        AddCourse(*state, window, NewCourse(text(course.name)));
        for (const Section& s : course.sections) AddSection(*state, static_cast<int16_t>(state->NumCourses - 1), s);
    }
    window.activate();
    auto* courses = window.findChild<QListWidget*>(QStringLiteral("lstCourses"));
    if (courses && courses->count() > 0)
        QTest::mouseClick(courses->viewport(), Qt::LeftButton, {}, courses->visualItemRect(courses->item(0)).center());

    bool ok = true;
    if (twins) state->Options.sameTimesOnce = true;
    if (!outDir.isEmpty() && !twins) {
        QDir().mkpath(outDir);
        ok = save(&window, outDir + QStringLiteral("/main-window.png")) && ok;
        ok = saveAddSection(window, outDir + QStringLiteral("/add-section.png")) && ok;
    }

    // "TimeTablify!" as the user presses it, when the generator finds the
    // schedule's timetables (tried first on a copy, so that a search that
    // finds none does not stop the harness at its message box).
    auto probe = std::make_unique<ModuleState>(*state);
    if (TimeTablify(*probe).outcome == TimeTablifyOutcome::ShowResults) {
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdMakeTime")), Qt::LeftButton);
    } else {
        std::fprintf(stderr, "the generator found no timetables; showing the schedule's timetables stored by hand\n");
        storeDemoTimetables(*state);
        presenter.showResults(shown());
    }
    TimeTablesMDI* frame = presenter.frame();
    if (!frame || !QTest::qWaitForWindowExposed(frame)) {
        std::fprintf(stderr, "the results did not open\n");
        return 1;
    }

    if (outDir.isEmpty()) return QApplication::exec();
    if (twins) {
        for (int waited = 0; waited < 200 && window.backgroundCount().running(); ++waited) QTest::qWait(10);
        QDir().mkpath(outDir);
        ok = save(frame, outDir + QStringLiteral("/same-times.png")) && ok;
        QTest::mouseClick(frameButton(frame, "cmdAll"), Qt::LeftButton);
        QTest::qWait(300);
        const QPixmap screen = frame->screen()->grabWindow(0);
        ok = screen.save(outDir + QStringLiteral("/overview.png")) && ok;
        presenter.closeResults();
        return ok ? 0 : 1;
    }

    ok = save(frame, outDir + QStringLiteral("/results.png")) && ok;
    QTest::mouseClick(frameButton(frame, "cmdNext"), Qt::LeftButton);
    ok = save(frame, outDir + QStringLiteral("/results-2.png")) && ok;
    for (QPushButton* press :
         {frameButton(frame, "cmdAddFav"), frameButton(frame, "cmdNext"), frameButton(frame, "cmdNext"),
          frameButton(frame, "cmdAddFav"), frameButton(frame, "cmdNext"), frameButton(frame, "cmdAddFav"),
          frameButton(frame, "cmdPrev"), frameButton(frame, "cmdGotofav")})
        QTest::mouseClick(press, Qt::LeftButton);
    ok = save(frame, outDir + QStringLiteral("/favourites.png")) && ok;
    frame->setGeometry(100, 100, 1400, 1000);
    ok = save(frame, outDir + QStringLiteral("/results-enlarged.png")) && ok;
    presenter.closeResults();
    return ok ? 0 : 1;
}
