// The program used with the keyboard alone, and what a screen reader reads
// for its controls: every name goes through the accessibility layer
// (QAccessible), every key goes to whichever widget has the focus.

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "add_course_dialog.h"
#include "add_section_dialog.h"
#include "editing.h"
#include "entry_session.h"
#include "gui_actions.h"
#include "main_window.h"
#include "modal_script.h"
#include "named_controls.h"
#include "program_windows.h"
#include "results_frame.h"
#include "results_windows.h"
#include "section_maker.h"
#include "timetable_grid_view.h"

using namespace quorvandel;
using namespace quorvandel::testing;

namespace {

// The program as it runs: main window and results viewer on one state.
using Program = ProgramWindows;

// Every window once, the results on TimeTable 1 of 2: Chem 01 on Monday and
// Wednesday 9:00 - 10:30 or Chem 02 on Tuesday 8:00 - 9:00, with Bio A.
struct AllWindows {
    Program program;
    std::unique_ptr<frmAddCrs> addCourse;
    std::unique_ptr<frmAddSec> addSection;

    AllWindows() {
        ModuleState& s = *program.state;
        AddCourse(s, program.window, NewCourse(u"Chem"));
        AddCourse(s, program.window, NewCourse(u"Bio"));
        AddSection(s, 0, makeSection(u"Chem", u"01", 2, 5, {0, 2}));
        AddSection(s, 0, makeSection(u"Chem", u"02", 0, 2, {1}));
        AddSection(s, 1, makeSection(u"Bio", u"A", 10, 12, {4}));
        program.results.showResults(TimeTablify(s));
        addCourse = std::make_unique<frmAddCrs>(s, program.window, &program.window);
        addSection = std::make_unique<frmAddSec>(s, program.window, &program.window);
    }

    QWidget* window(const QString& key) const {
        if (key == QLatin1String("main")) return const_cast<frmQuorvandelMain*>(&program.window);
        if (key == QLatin1String("course")) return addCourse.get();
        if (key == QLatin1String("section")) return addSection.get();
        if (key == QLatin1String("results")) return program.results.frame();
        if (key == QLatin1String("grid")) return program.results.gridView();
        return nullptr;
    }
};

struct NameRow {
    const char* window;
    const char* control;
    const char* name;
    const char* label;  // the label a screen reader reads with it, if any
};

const NameRow Names[] = {
    {"main", "cmdNewMain", "New", ""},
    {"main", "cmdSave", "Save", ""},
    {"main", "cmdLoad", "Load", ""},
    {"main", "cmdAddSec", "Add Section", ""},
    {"main", "cmdRemSec", "Remove Section", ""},
    {"main", "cmdRemCourse", "Remove Course", ""},
    {"main", "cmdAddCrs", "Add Course", ""},
    {"main", "cmdGetSec", "Get Sections", ""},
    {"main", "cmdHelp", "Help", ""},
    {"main", "cmdOption", "Options", ""},
    {"main", "cmdMakeTime", "TimeTablify!", ""},
    {"main", "cmdExit", "Exit", ""},
    {"main", "lstCourses", "Courses", "lblCourses"},
    {"main", "lstSecs", "Sections", "lblSections"},
    {"main", "lstDofW", "Day abbreviations", ""},
    {"main", "Picture1", "Quorvandel logo", ""},
    {"course", "txtCrsName", "Enter Course Name", "Label1"},
    {"course", "cmdOk", "Ok", ""},
    {"course", "cmdCancel", "Cancel", ""},
    {"section", "txtSecNum", "Section Number", "lblSecNum"},
    {"section", "lstDofWk", "Days of Week", "lblDofWk"},
    {"section", "lstTStartH", "Time Start hour", "lblTimeStart"},
    {"section", "lstTStartM", "Time Start minute", ""},
    {"section", "lstTEndH", "Time End hour", "lblTimeEnd"},
    {"section", "lstTEndM", "Time End minute", ""},
    {"section", "cmdOk", "Ok", ""},
    {"section", "cmdCancel", "Cancel", ""},
    {"section", "cmdAnotherTime", "Another Time", ""},
    {"section", "lstTimes", "Added Times", "lblTimes"},
    {"section", "cmdRemoveTime", "Remove Time", ""},
    {"results", "Toolbar2", "Timetable commands", ""},
    {"results", "cmdOk", "OK", ""},
    {"results", "cmdPrev", "Previous", ""},
    {"results", "cmdNext", "Next", ""},
    {"results", "cmdAddFav", "Add to Favorites", ""},
    {"results", "cmdGotofav", "Go To Favorites", ""},
    {"results", "cmdGoToT", "TimeTable 1 of 2", ""},
    {"results", "cmdPrint", "Print\u2026", ""},
    {"results", "cmdExport", "Export\u2026", ""},
    {"results", "cmdAll", "All", ""},
    {"grid", "frmTimetables", "TimeTables", ""},
    {"grid", "lblMonday", "Monday", ""},
    {"grid", "Label1", "8:00", ""},
    {"grid", "Label29", "22:00", ""},
    {"grid", "lblarrDays_0", "Monday 8:00 to 8:30", ""},
    {"grid", "lblarrDays_2", "Monday 9:00 to 9:30: Chem - 01", ""},
    {"grid", "lblarrDays_62", "Wednesday 10:00 to 10:30: Chem - 01", ""},
    {"grid", "lblarrDays_126", "Friday 13:00 to 13:30: Bio - A", ""},
    {"grid", "lblarrDays_202", "Sunday 22:00 to 22:30", ""},
};

// How long a dialog may stay open while its step is still typing into it,
// and the script's limit for a window that no step answers.
constexpr int StepTimeoutMs = 20000;

QWidget* named(QWidget* window, const QString& name) {
    return window->objectName() == name ? window : window->findChild<QWidget*>(name);
}

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// ---- Keys, always to the widget that has the focus ----

// The focus widget once the window system has settled: in the active
// window, and in the modal window when one is open.
QWidget* focused() {
    auto settled = [] {
        QWidget* f = QApplication::focusWidget();
        QWidget* modal = QApplication::activeModalWidget();
        return f && f->isVisible() && f->window()->isActiveWindow() && (!modal || f->window() == modal);
    };
    QElapsedTimer waited;
    waited.start();
    while (!settled() && waited.elapsed() < 5000) QTest::qWait(2);
    return settled() ? QApplication::focusWidget() : nullptr;
}

QString focusName() {
    QWidget* f = focused();
    return f ? f->objectName() : QStringLiteral("(no focus)");
}

// Runs a line of keys: Tab, Backtab, Space, Up, Down, or 'text' to type.
// Returns what went wrong, empty when every key reached a focus widget.
QString keys(const QString& line) {
    static const QMap<QString, Qt::Key> Named = {{"Tab", Qt::Key_Tab},
                                                 {"Backtab", Qt::Key_Backtab},
                                                 {"Space", Qt::Key_Space},
                                                 {"Up", Qt::Key_Up},
                                                 {"Down", Qt::Key_Down}};
    for (const QString& token : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QWidget* target = focused();
        if (target == nullptr) return QStringLiteral("no focus for '%1' in '%2'").arg(token, line);
        if (token.startsWith(QLatin1Char('\''))) {
            QTest::keyClicks(target, token.mid(1, token.size() - 2));
        } else if (Named.contains(token)) {
            QTest::keyClick(target, Named.value(token));
        } else {
            return QStringLiteral("unknown key '%1'").arg(token);
        }
    }
    return QString();
}

// Tabs (or back-tabs) until the control has the focus, at most 20 times;
// where the focus ended.
QString tabTo(const QString& control, bool backwards = false) {
    for (int i = 0; i < 20 && focusName() != control; ++i)
        if (!keys(backwards ? "Backtab" : "Tab").isEmpty()) break;
    return focusName();
}

}  // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { windows_ = std::make_unique<AllWindows>(); }
    void cleanupTestCase() { windows_.reset(); }

    void accessibleNames_data();
    void accessibleNames();
    void everyFocusableControlIsNamed_data();
    void everyFocusableControlIsNamed();
    void scheduleBuiltAndSteppedByKeyboard();

private:
    std::unique_ptr<AllWindows> windows_;
};

void TestKeyboard::accessibleNames_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label");
    for (const NameRow& row : Names)
        QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(row.window), QLatin1String(row.control))))
            << row.window << row.control << row.name << row.label;
}

void TestKeyboard::accessibleNames() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, label);
    QWidget* root = windows_->window(window);
    QVERIFY(root);
    QWidget* widget = named(root, control);
    QVERIFY(widget);
    QCOMPARE(accessibleName(widget), name);
    if (label.isEmpty()) return;
    // The label is the control's buddy, and the reader learns from the
    // label's side which control it labels.
    auto* lbl = root->findChild<QLabel*>(label);
    QVERIFY(lbl);
    QCOMPARE(lbl->buddy(), widget);
    bool labels = false;
    for (const auto& relation : QAccessible::queryAccessibleInterface(lbl)->relations(QAccessible::Labelled))
        labels = labels || relation.first->object() == widget;
    QVERIFY(labels);
}

void TestKeyboard::everyFocusableControlIsNamed_data() {
    QTest::addColumn<QString>("window");
    for (const char* w : {"main", "course", "section", "results", "grid"}) QTest::newRow(w) << w;
}

void TestKeyboard::everyFocusableControlIsNamed() {
    // Any control the keyboard can reach has a name, and the table above
    // lists it: a new control cannot go in unnamed and untested.
    QFETCH(QString, window);
    QWidget* root = windows_->window(window);
    QVERIFY(root);
    QList<QWidget*> candidates = root->findChildren<QWidget*>();
    candidates.prepend(root);
    int reachable = 0;
    for (QWidget* w : candidates) {
        if (w->isWindow() || !(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || !w->isVisibleTo(root->window()))
            continue;
        ++reachable;
        QVERIFY2(!accessibleName(w).isEmpty(), qPrintable(w->objectName()));
        const bool listed = std::any_of(std::begin(Names), std::end(Names), [&](const NameRow& row) {
            return window == QLatin1String(row.window) && w->objectName() == QLatin1String(row.control);
        });
        QVERIFY2(listed, qPrintable(QStringLiteral("%1 (%2)").arg(w->objectName(), w->metaObject()->className())));
    }
    // The grid window takes no focus of its own: it hands it to the strip.
    if (window == QLatin1String("grid"))
        QCOMPARE(reachable, 0);
    else
        QVERIFY(reachable > 0);
}

void TestKeyboard::scheduleBuiltAndSteppedByKeyboard() {
    Program p;
    p.window.show();
    p.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&p.window));
    QCOMPARE(focusName(), QStringLiteral("cmdAddCrs"));

    // Each dialog (and message box) opened by a key is answered with keys.
    QStringList problems;
    auto answerWith = [&problems](ModalScript& script, const QString& window, const QString& line) {
        script.onWindow(window, [&problems, line](QWidget*) {
            const QString problem = keys(line);
            if (!problem.isEmpty()) problems.append(problem);
        });
    };

    // Two courses: Space on "Add Course", type, Tab to "Ok", Space.
    for (const QString& course : {QStringLiteral("Chem"), QStringLiteral("Bio")}) {
        ModalScript script(StepTimeoutMs);
        answerWith(script, "frmAddCrs", QStringLiteral("'%1' Tab Space").arg(course));
        QCOMPARE(keys("Space"), QString());
        QVERIFY(scriptDone(script));
    }
    QCOMPARE(lines(list(&p.window, "lstCourses")), (QStringList{"Chem", "Bio"}));

    // The course added last, Bio, is selected; Up picks Chem.
    QCOMPARE(selectedRows(list(&p.window, "lstCourses")), QList<int>{1});
    QCOMPARE(tabTo("lstCourses"), QStringLiteral("lstCourses"));
    QCOMPARE(keys("Up"), QString());
    QCOMPARE(selectedRows(list(&p.window, "lstCourses")), QList<int>{0});
    QCOMPARE(tabTo("cmdAddSec", true), QStringLiteral("cmdAddSec"));

    // Chem 01: "Ok" with the days still missing is refused, the message is
    // answered with Space, then Monday and Wednesday 9:00 to 10:30.
    {
        ModalScript script(StepTimeoutMs);
        answerWith(script, "frmAddSec",
                   "'01' Tab Space "                 // number, "Ok": refused
                   "Tab Tab Space Down Down Space "  // days: Monday, Wednesday
                   // Down from no hour selected takes the first (8), then on.
                   "Tab Down Down Tab Tab Down Down Down Tab Down "  // 9 : 00 to 10 : 30
                   // round to "Ok", past "Another Time" and the time list
                   "Tab Tab Tab Tab Space");
        QStringList seen;
        script.onWindow("QuorvandelMessage", [&](QWidget* box) {
            seen.append(qobject_cast<QMessageBox*>(box)->text());
            problems.append(keys("Space"));
        });
        QCOMPARE(keys("Space"), QString());
        QVERIFY(scriptDone(script));
        QCOMPARE(seen, QStringList{IncompleteSectionMessage});
    }
    // Chem 02: Tuesday 8:00 to 9:00 (Space takes the hour under the cursor).
    {
        ModalScript script(StepTimeoutMs);
        answerWith(script, "frmAddSec",
                   "'02' Tab Tab Tab Down Space Tab Space Tab Tab Down Down Tab Tab Tab Tab Tab Space");
        QCOMPARE(keys("Space"), QString());
        QVERIFY(scriptDone(script));
    }
    const Course& chem = p.state->Courses[0];
    QCOMPARE(chem.NumSections, int16_t(2));
    QVERIFY(chem.Sections[0] == makeSection(u"Chem", u"01", 2, 5, {0, 2}));
    QVERIFY(chem.Sections[1] == makeSection(u"Chem", u"02", 0, 2, {1}));

    // Bio A, Friday 13:00 to 14:00: the arrow moves the course selection.
    QCOMPARE(tabTo("lstCourses"), QStringLiteral("lstCourses"));
    QCOMPARE(keys("Down"), QString());
    QCOMPARE(selectedRows(list(&p.window, "lstCourses")), QList<int>{1});
    QCOMPARE(tabTo("cmdAddSec", true), QStringLiteral("cmdAddSec"));
    {
        ModalScript script(StepTimeoutMs);
        answerWith(script, "frmAddSec",
                   "'A' Tab Tab Tab Down Down Down Down Space "   // Friday
                   "Tab Down Down Down Down Down Down Tab "       // 13 : 00
                   "Tab Down Down Down Down Down Down Down Tab "  // to 14 : 00
                   "Tab Tab Tab Tab Space");
        QCOMPARE(keys("Space"), QString());
        QVERIFY(scriptDone(script));
    }
    QVERIFY(p.state->Courses[1].Sections[0] == makeSection(u"Bio", u"A", 10, 12, {4}));
    problems.removeAll(QString());
    QCOMPARE(problems, QStringList());

    // TimeTablify! opens the results with the focus on "Next"; Tab runs
    // along the strip and never into the grid window.
    QCOMPARE(tabTo("cmdMakeTime"), QStringLiteral("cmdMakeTime"));
    QCOMPARE(keys("Space"), QString());
    TimeTablesMDI* frame = p.results.frame();
    QVERIFY(frame);
    QVERIFY(QTest::qWaitForWindowActive(frame));
    QCOMPARE(focused()->window(), frame);
    QCOMPARE(frameButton(frame, "cmdGoToT")->text(), QStringLiteral("TimeTable: 1 / 2"));
    QStringList ring;
    for (int i = 0; i < 8; ++i) {
        ring.append(focusName());
        QCOMPARE(keys("Tab"), QString());
    }
    QCOMPARE(ring,
             (QStringList{"cmdNext", "cmdAddFav", "cmdGoToT", "cmdPrint", "cmdExport", "cmdAll", "cmdOk", "cmdNext"}));

    // Next at the last timetable hands the focus to the counter, where
    // Space does nothing; Previous steps back.
    QCOMPARE(tabTo("cmdNext"), QStringLiteral("cmdNext"));
    QCOMPARE(keys("Space"), QString());
    QCOMPARE(frameButton(frame, "cmdGoToT")->text(), QStringLiteral("TimeTable: 2 / 2"));
    QCOMPARE(accessibleName(frameButton(frame, "cmdGoToT")), QStringLiteral("TimeTable 2 of 2"));
    QCOMPARE(p.results.gridView()->cell(29)->text(), QStringLiteral("Chem - 02"));  // Tuesday 8:00
    QCOMPARE(focusName(), QStringLiteral("cmdGoToT"));
    QCOMPARE(keys("Space"), QString());
    QCOMPARE(frameButton(frame, "cmdGoToT")->text(), QStringLiteral("TimeTable: 2 / 2"));
    QCOMPARE(tabTo("cmdPrev", true), QStringLiteral("cmdPrev"));
    QCOMPARE(keys("Space"), QString());
    QCOMPARE(frameButton(frame, "cmdGoToT")->text(), QStringLiteral("TimeTable: 1 / 2"));
    QCOMPARE(focusName(), QStringLiteral("cmdGoToT"));

    // "OK" closes the results and the keyboard is back in the main window.
    QCOMPARE(tabTo("cmdOk", true), QStringLiteral("cmdOk"));
    QCOMPARE(keys("Space"), QString());
    QVERIFY(!p.results.resultsOpen());
    QVERIFY(QTest::qWaitForWindowActive(&p.window));
    QCOMPARE(focusName(), QStringLiteral("cmdMakeTime"));
    QCOMPARE(tabTo("cmdExit"), QStringLiteral("cmdExit"));
    // The schedule was never saved: the question comes, answered with the keyboard too.
    ModalScript script(StepTimeoutMs);
    QString answered;
    script.onWindow("SaveChangesQuestion", [&](QWidget*) {
        answered = tabTo("cmdAnswerDontSave");
        problems.append(keys("Space"));
    });
    QCOMPARE(keys("Space"), QString());
    QVERIFY(scriptDone(script));
    QCOMPARE(answered, QStringLiteral("cmdAnswerDontSave"));
    problems.removeAll(QString());
    QCOMPARE(problems, QStringList());
    QVERIFY(!p.window.isVisible());
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
