// One command at a time. While a search runs, or while a dialog or a message
// box is open, every command of the main window and of the results frame is
// tried by each route that modal blocking does not stop (a direct click()
// and a screen reader's press action): nothing may change, no window may
// open. When the search or the modal window ends, the program must stand
// exactly where the same run without those tries stands.
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QtTest>
#include <atomic>
#include <memory>
#include <thread>

#include "editing.h"
#include "entry_session.h"
#include "form_controls.h"
#include "named_controls.h"
#include "program_windows.h"
#include "results_frame.h"
#include "results_windows.h"
#include "section_maker.h"
#include "timetable_grid_view.h"

using namespace quorvandel;
using namespace quorvandel::testing;

namespace {

enum class Situation {
    SearchBeforeProgress,
    SearchWithProgress,
    AddCourseDialog,
    AddSectionDialog,
    MessageBox,
    MessageOverDialog
};
enum class Route { Click, PressAction };

QString recordText(const Section& s) {
    QString days;
    for (bool d : s.Days) days += d ? QLatin1Char('1') : QLatin1Char('0');
    return QStringLiteral("%1-%2 %3-%4 %5")
        .arg(qText(s.CourseName), qText(s.SecNum))
        .arg(s.StartSlot)
        .arg(s.EndSlot)
        .arg(days);
}

// Everything the user could see or the store holds, one fact a line, so that
// a comparison names what differs.
QStringList snapshot(ProgramWindows& p) {
    QStringList facts;
    const ModuleState& s = *p.state;
    facts << QStringLiteral("courses %1, timetables %2, current %3")
                 .arg(s.NumCourses)
                 .arg(s.NumTimetables)
                 .arg(s.CurrentTimetable);
    for (int c = 0; c < std::clamp<int>(s.NumCourses, 0, MaxCourses); ++c)
        for (int k = 0; k < std::clamp<int>(s.Courses[c].NumSections, 0, MaxSectionsPerCourse); ++k)
            facts << QStringLiteral("course %1: ").arg(c) + recordText(s.Courses[c].Sections[k]);
    for (int t = 0; t < std::clamp<int>(s.NumTimetables, 0, MaxStoredTimetables); ++t)
        for (int k = 0; k < s.Timetables[t].NumSections; ++k)
            facts << QStringLiteral("timetable %1: ").arg(t) + recordText(s.Timetables[t].Sections[k]);
    for (const char* name : {"lstCourses", "lstSecs"}) {
        QListWidget* l = list(&p.window, QLatin1String(name));
        facts << QLatin1String(name) + QStringLiteral(": ") + lines(l).join(QLatin1Char('|')) +
                     QStringLiteral(" selected %1").arg(selectedRows(l).value(0, -1));
    }
    for (QAbstractButton* b : p.window.findChildren<QAbstractButton*>())
        if (b->window() == &p.window)
            facts << b->objectName() + (b->isEnabled() ? QStringLiteral(" enabled") : QStringLiteral(" disabled"));
    if (TimeTablesMDI* frame = p.results.frame()) {
        facts << frameButton(frame, "cmdGoToT")->text()
              << QStringLiteral("Previous %1, Next %2")
                     .arg(frameButton(frame, "cmdPrev")->isEnabled())
                     .arg(frameButton(frame, "cmdNext")->isEnabled());
        if (frmTimetables* grid = frame->gridView())
            for (int c = 0; c < CellsPerWeek; ++c)
                if (!grid->cell(c)->text().isEmpty())
                    facts << QStringLiteral("cell %1: ").arg(c) + grid->cell(c)->text();
    }
    // The program's windows on the screen: the main window, the frame, and
    // the dialogs and message boxes over them.
    auto ours = [&p](const QWidget* w) {
        for (; w; w = w->parentWidget())
            if (w == &p.window || w == p.results.frame()) return true;
        return false;
    };
    QStringList shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && ours(w)) shown << w->objectName();
    shown.sort();
    facts << QStringLiteral("shown: ") + shown.join(QLatin1Char(' '));
    return facts;
}

// Chem 01/02/03 and Bio A/B, six timetables; the results are open on
// TimeTable 2 of 6 (both steps possible), Chem and its section 02 are
// selected, so every command of both windows is enabled.
struct Scene {
    ProgramWindows program;
    std::atomic<bool> release{true};

    Scene() {
        ModuleState& s = *program.state;
        AddCourse(s, program.window, NewCourse(u"Chem"));
        AddCourse(s, program.window, NewCourse(u"Bio"));
        AddSection(s, 0, makeSection(u"Chem", u"01", 2, 4, {0}));
        AddSection(s, 0, makeSection(u"Chem", u"02", 2, 4, {1}));
        AddSection(s, 0, makeSection(u"Chem", u"03", 2, 4, {2}));
        AddSection(s, 1, makeSection(u"Bio", u"A", 6, 8, {0}));
        AddSection(s, 1, makeSection(u"Bio", u"B", 6, 8, {3}));
        // The searches wait for the test's word, then search for real.
        program.window.generationRunner().search = [this](ModuleState& state, const SearchControl& control) {
            while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return TimeTablify(state, control);
        };
        program.window.show();
        activate(&program.window);
        main(QStringLiteral("cmdMakeTime"))->click();
        frameButton(program.results.frame(), "cmdNext")->click();
        // The main window's activation after the results' lists its sections
        // afresh; under a window manager that comes late, so the test waits
        // for it before selecting a section.
        activate(program.results.frame());
        activate(&program.window);
        clickLine(list(&program.window, QStringLiteral("lstCourses")), 0);
        clickLine(list(&program.window, QStringLiteral("lstSecs")), 1);
    }

    QAbstractButton* main(const QString& name) { return button(&program.window, name); }

    static void activate(QWidget* window) {
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            qWarning("%s did not become active", qPrintable(window->objectName()));
    }

    // Every command button of the main window and the results frame.
    QList<QAbstractButton*> commands() {
        QList<QAbstractButton*> all;
        for (QWidget* w : {static_cast<QWidget*>(&program.window), static_cast<QWidget*>(program.results.frame())})
            for (QAbstractButton* b : w ? w->findChildren<QAbstractButton*>() : QList<QAbstractButton*>())
                if (b->window() == w) all << b;  // not those of the dialogs over it
        return all;
    }

    // Brings the situation about, runs `during` inside it, and ends it the
    // same way every time.
    bool run(Situation situation, const std::function<void()>& during) {
        GenerationRunner& runner = program.window.generationRunner();
        ModalScript script(20000);
        switch (situation) {
        case Situation::SearchBeforeProgress:
        case Situation::SearchWithProgress: {
            const bool progress = situation == Situation::SearchWithProgress;
            runner.progressDelay = progress ? std::chrono::milliseconds(0) : std::chrono::hours(1);
            release = false;
            auto inside = [this, during] {
                during();
                release = true;
            };
            QMetaObject::Connection c;
            if (progress)
                c = QObject::connect(&runner, &GenerationRunner::progressDialogShown, &runner,
                                     [inside] { QTimer::singleShot(0, inside); });
            else
                QTimer::singleShot(0, inside);
            main(QStringLiteral("cmdMakeTime"))->click();
            QObject::disconnect(c);
            return release;
        }
        case Situation::AddCourseDialog:
            script.onWindow(QStringLiteral("frmAddCrs"), [during](QWidget* d) {
                during();
                typeInto(d, QStringLiteral("txtCrsName"), QStringLiteral("Phys"));
                click(d, QStringLiteral("cmdOk"));
            });
            main(QStringLiteral("cmdAddCrs"))->click();
            break;
        case Situation::AddSectionDialog:
            script.onWindow(QStringLiteral("frmAddSec"), [during](QWidget* d) {
                during();
                fillSection(d, mondayNineToTen(QStringLiteral("04")));
                click(d, QStringLiteral("cmdOk"));
            });
            main(QStringLiteral("cmdAddSec"))->click();
            break;
        case Situation::MessageBox:
            // Another course's sections: no section selected, and "Remove
            // Section" says so.
            clickLine(list(&program.window, QStringLiteral("lstCourses")), 1);
            script.onWindow(QStringLiteral("QuorvandelMessage"), [during](QWidget* box) {
                during();
                QTest::mouseClick(static_cast<QMessageBox*>(box)->button(QMessageBox::Ok), Qt::LeftButton);
            });
            main(QStringLiteral("cmdRemSec"))->click();
            break;
        case Situation::MessageOverDialog:
            script.onWindow(QStringLiteral("frmAddCrs"), [](QWidget* d) {
                click(d, QStringLiteral("cmdOk"));  // with no name: a message
                click(d, QStringLiteral("cmdCancel"));
            });
            script.onWindow(QStringLiteral("QuorvandelMessage"), [during](QWidget* box) {
                during();
                QTest::mouseClick(static_cast<QMessageBox*>(box)->button(QMessageBox::Ok), Qt::LeftButton);
            });
            main(QStringLiteral("cmdAddCrs"))->click();
            break;
        }
        return scriptDone(script);
    }
};

// The window in use during the situation: none during a quick search.
QWidget* expectedModal() { return QApplication::activeModalWidget(); }

void invoke(QAbstractButton* b, Route route) {
    if (route == Route::Click) return b->click();
    QVERIFY2(pressAction(b), qPrintable(b->objectName() + QStringLiteral(" offers no press action")));
}

}  // namespace

Q_DECLARE_METATYPE(Situation)
Q_DECLARE_METATYPE(Route)

class OneCommandTest : public QObject {
    Q_OBJECT
private slots:
    void commandsWaitTheirTurn_data() {
        QTest::addColumn<Situation>("situation");
        QTest::addColumn<Route>("route");
        const std::pair<const char*, Situation> situations[] = {
            {"quick search", Situation::SearchBeforeProgress},
            {"search with progress dialog", Situation::SearchWithProgress},
            {"Add Course dialog", Situation::AddCourseDialog},
            {"Add Section dialog", Situation::AddSectionDialog},
            {"message box", Situation::MessageBox},
            {"message box over a dialog", Situation::MessageOverDialog},
        };
        for (const auto& [name, situation] : situations) {
            QTest::addRow("%s, click()", name) << situation << Route::Click;
            QTest::addRow("%s, press action", name) << situation << Route::PressAction;
        }
    }

    void commandsWaitTheirTurn() {
        QFETCH(Situation, situation);
        QFETCH(Route, route);
        const bool search = situation == Situation::SearchBeforeProgress || situation == Situation::SearchWithProgress;

        Scene undisturbed;
        QVERIFY(undisturbed.run(situation, [] {}));
        const QStringList expectedAfter = snapshot(undisturbed.program);

        Scene scene;
        QStringList tried, unexpectedWindows;
        QVERIFY(scene.run(situation, [&] {
            QWidget* inUse = expectedModal();
            // A command that slips through may open a window of its own: it
            // is noted and closed, so that a failure cannot hang the test.
            QTimer watchdog;
            QObject::connect(&watchdog, &QTimer::timeout, [&] {
                QWidget* m = QApplication::activeModalWidget();
                if (m == nullptr || m == inUse) return;
                unexpectedWindows << m->objectName();
                if (auto* d = qobject_cast<QDialog*>(m))
                    d->reject();
                else
                    m->hide();
            });
            watchdog.start(20);
            for (QAbstractButton* b : scene.commands()) {
                if (!b->isEnabled() || !b->isVisible() || b->objectName() == QLatin1String("cmdGoToT")) continue;
                const QStringList before = snapshot(scene.program);
                invoke(b, route);
                QCOMPARE(snapshot(scene.program), before);
                tried << b->objectName();
            }
        }));
        QCOMPARE(unexpectedWindows, QStringList());
        // Every command was there to try (the results close when a search
        // starts, so a search leaves only the main window's).
        QStringList commands = {"cmdNewMain",  "cmdAddCrs", "cmdAddSec", "cmdRemCourse", "cmdRemSec",
                                "cmdMakeTime", "cmdExit",   "cmdSave",   "cmdLoad",      "cmdGetSec"};
        if (!search) commands << QStringLiteral("cmdOk") << QStringLiteral("cmdPrev") << QStringLiteral("cmdNext");
        for (const QString& name : commands)
            QVERIFY2(tried.contains(name), qPrintable(name + QStringLiteral(" was not tried")));
        QCOMPARE(snapshot(scene.program), expectedAfter);
    }

    // The same commands with nothing in the way act at once, by either
    // route: the turn is given back when each command ends.
    void commandsActWhenNothingIsUnderWay() {
        for (Route route : {Route::Click, Route::PressAction}) {
            Scene scene;
            invoke(frameButton(scene.program.results.frame(), "cmdNext"), route);
            QCOMPARE(frameButton(scene.program.results.frame(), "cmdGoToT")->text(),
                     QStringLiteral("TimeTable: 3 / 6"));
            invoke(scene.main(QStringLiteral("cmdRemCourse")), route);
            QCOMPARE(lines(list(&scene.program.window, QStringLiteral("lstCourses"))), QStringList{"Bio"});
            ModalScript script;  // the schedule was never saved
            answerDontSave(script);
            invoke(scene.main(QStringLiteral("cmdNewMain")), route);
            QVERIFY(scriptDone(script));
            QCOMPARE(scene.program.state->NumCourses, 0);
        }
    }
};

QTEST_MAIN(OneCommandTest)
#include "test_one_command.moc"
