// The main window driven as a user drives it: clicks and keys on the real
// controls, dialogs and message boxes answered through the modal script.

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWindow>
#include <QtTest>

#include "add_course_dialog.h"
#include "command_turn.h"
#include "entry_session.h"
#include "fake_file_chooser.h"
#include "help_window.h"
#include "schedule_document.h"
#include "timetablify.h"

using namespace quorvandel;
using namespace quorvandel::testing;

namespace {

const QStringList AllButtons = {
    QStringLiteral("cmdNewMain"), QStringLiteral("cmdSave"),     QStringLiteral("cmdLoad"),
    QStringLiteral("cmdAddSec"),  QStringLiteral("cmdRemSec"),   QStringLiteral("cmdRemCourse"),
    QStringLiteral("cmdAddCrs"),  QStringLiteral("cmdGetSec"),   QStringLiteral("cmdHelp"),
    QStringLiteral("cmdOption"),  QStringLiteral("cmdMakeTime"), QStringLiteral("cmdExit")};
const QStringList AlwaysEnabled = {QStringLiteral("cmdNewMain"), QStringLiteral("cmdAddCrs"),
                                   QStringLiteral("cmdOption"),  QStringLiteral("cmdExit"),
                                   QStringLiteral("cmdSave"),    QStringLiteral("cmdLoad"),
                                   QStringLiteral("cmdHelp"),    QStringLiteral("cmdGetSec")};

QStringList enabledButtons(const QWidget* window) {
    QStringList names;
    for (const QString& name : AllButtons)
        if (button(window, name)->isEnabled()) names.append(name);
    return names;
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

// One user command of the tables below, run on the session:
//   course NAME       "Add Course", type NAME, "Ok"
//   cancelcourse      "Add Course", "Cancel"
//   select I          click line I of the course list
//   section I NUM     click course I, "Add Section", NUM 9:00 - 10:00 Monday, "Ok"
//   pick J            click line J of the section list
//   remcourse | remsec | timetablify   press that button
//   new               "New", answering "Don't Save" to the question it asks
//   edit J NUM        F2 on section line J, the number retyped as NUM, "Ok"
//   dup J             Ctrl+D on section line J, "Ok"
//   rename I NAME     Enter on course line I, NAME typed over the name, "Ok"
//   leaveout J        Space on section line J
//   menu J CAPTION    CAPTION chosen from the context menu of section line J
//   undo | redo       Ctrl+Z | Ctrl+Y
bool runChange(MainWindowSession& s, const QStringList& words);

bool run(MainWindowSession& s, const QString& command) {
    const QStringList words = command.split(QLatin1Char(' '));
    const QString& verb = words.front();
    if (runChange(s, words)) return true;
    if (verb == QLatin1String("course")) return s.addCourse(words.mid(1).join(QLatin1Char(' ')));
    if (verb == QLatin1String("cancelcourse")) return s.cancelAddCourse();
    if (verb == QLatin1String("select")) {
        clickLine(s.courses(), words.at(1).toInt());
        return true;
    }
    if (verb == QLatin1String("section")) return s.addSection(words.at(1).toInt(), mondayNineToTen(words.at(2)));
    if (verb == QLatin1String("pick")) {
        clickLine(s.sections(), words.at(1).toInt());
        return true;
    }
    if (verb == QLatin1String("remcourse")) return s.clickAnswering(QStringLiteral("cmdRemCourse"));
    if (verb == QLatin1String("remsec")) return s.clickAnswering(QStringLiteral("cmdRemSec"));
    if (verb == QLatin1String("new")) {  // the schedule is unsaved: "Don't Save"
        ModalScript script;
        answerDontSave(script);
        return s.clickWith(QStringLiteral("cmdNewMain"), script);
    }
    if (verb == QLatin1String("timetablify")) return s.clickAnswering(QStringLiteral("cmdMakeTime"));
    qWarning() << "unknown command" << command;
    return false;
}

// A key on a list line, with a dialog it opens answered by `answer`.
bool keyOnLine(QListWidget* list, int line, QKeyCombination key, const std::function<void(QWidget*)>& answer = {},
               const QString& dialog = QStringLiteral("frmAddSec")) {
    clickLine(list, line);
    // A shortcut acts in the active window only.
    list->window()->activateWindow();
    (void)QTest::qWaitForWindowActive(list->window());
    list->setFocus(Qt::OtherFocusReason);
    ModalScript script;
    script.answerAnyMessages();
    if (answer) script.onWindow(dialog, answer);
    QTest::keyClick(list, key.key(), key.keyboardModifiers());
    return scriptDone(script);
}

void retype(QWidget* dialog, const QString& box, const QString& text) {
    control<QLineEdit>(dialog, box)->clear();
    typeInto(dialog, box, text);
    click(dialog, QStringLiteral("cmdOk"));
}

bool runChange(MainWindowSession& s, const QStringList& words) {
    const QString& verb = words.front();
    const auto at = [&words](int i) { return words.value(i).toInt(); };
    if (verb == QLatin1String("edit"))
        return keyOnLine(s.sections(), at(1), Qt::Key_F2,
                         [n = words.value(2)](QWidget* d) { retype(d, QStringLiteral("txtSecNum"), n); });
    if (verb == QLatin1String("dup"))
        return keyOnLine(s.sections(), at(1), Qt::CTRL | Qt::Key_D,
                         [](QWidget* d) { click(d, QStringLiteral("cmdOk")); });
    if (verb == QLatin1String("rename"))
        return keyOnLine(
            s.courses(), at(1), Qt::Key_Return,
            [n = words.value(2)](QWidget* d) { retype(d, QStringLiteral("txtCrsName"), n); },
            QStringLiteral("frmAddCrs"));
    if (verb == QLatin1String("leaveout")) return keyOnLine(s.sections(), at(1), Qt::Key_Space);
    if (verb == QLatin1String("undo") || verb == QLatin1String("redo")) {
        s.w()->activateWindow();
        (void)QTest::qWaitForWindowActive(s.w());
        QTest::keyClick(s.w(), verb == QLatin1String("undo") ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        return true;
    }
    if (verb == QLatin1String("menu")) {
        // The caption is chosen once the menu is open; the command runs
        // after it closes.
        const QString caption = words.mid(2).join(QLatin1Char(' '));
        bool found = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&found, &poll, caption] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            poll.stop();
            for (QAction* action : menu->actions())
                if (action->text() == caption && action->isEnabled()) {
                    found = true;
                    menu->setActiveAction(action);
                    return QTest::keyClick(menu, Qt::Key_Return);
                }
            menu->close();
        });
        poll.start(10);
        // The Menu key on the line, as a keyboard user opens it.
        clickLine(s.sections(), at(1));
        s.w()->activateWindow();
        (void)QTest::qWaitForWindowActive(s.w());
        s.sections()->setFocus(Qt::OtherFocusReason);
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5), s.sections()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(s.sections(), &menuKey);
        if (!found) qWarning() << "no enabled menu item" << caption;
        return found;
    }
    return false;
}

bool runAll(MainWindowSession& s, const QStringList& commands) {
    for (const QString& command : commands)
        if (!run(s, command)) {
            qWarning() << "command failed:" << command;
            return false;
        }
    return true;
}

QString line(const QString& number) { return number + QStringLiteral("  9:00 - 10:00 M"); }

// A section placed straight into the store, for schedules whose shape the
// dialog tests cover already.
Section section(int day, int startSlot, int endSlot) {
    Section s;
    s.SecNum = u"1";
    s.StartSlot = static_cast<int16_t>(startSlot);
    s.EndSlot = static_cast<int16_t>(endSlot);
    s.StartTime = u"9:00";
    s.EndTime = u"10:00";
    s.Days[static_cast<size_t>(day)] = true;
    return s;
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void stateAfterStart();
    void loadLeavesCourseRecords();
    void designedGeometry_data();
    void designedGeometry();
    void enlargedGeometry_data();
    void enlargedGeometry();
    void tabOrder_data();
    void tabOrder();
    void undoEveryChange_data();
    void undoEveryChange();
    void commands_data();
    void commands();
    void listRemovalLeavesNoLine_data();
    void listRemovalLeavesNoLine();
    void programChangesAreNoClick();
    void longLinesCanBeScrolledTo();
    void keyboardSelectionIsAClick();
    void selectionCannotBeClearedByUser_data();
    void selectionCannotBeClearedByUser();
    void timeTablify_data();
    void timeTablify();
    void timeTablifyHandsOverResults();
    void returningFromResultsRunsActivation();
    void messageBoxDoesNotRunActivation();
    void noActivationWhileADialogIsOpen();
    void endingTheProgram_data();
    void endingTheProgram();
    void helpOpensBesideTheWindows();
};

void TestMainWindow::stateAfterStart() {
    auto initial = std::make_unique<ModuleState>();
    initial->NumCourses = 3;
    initial->NumTimetables = 5;
    initial->EnumDone = true;
    initial->CurrentTimetable = 2;
    MainWindowSession s(std::move(initial));

    QCOMPARE(s.w()->windowHandle()->title(), QStringLiteral("Quorvandel Main"));
    QCOMPARE(lines(s.courses()), QStringList());
    QCOMPARE(lines(s.sections()), QStringList());
    QCOMPARE(sorted(enabledButtons(s.w())), sorted(AlwaysEnabled));
    for (const QString& name : AllButtons) QVERIFY2(button(s.w(), name)->isVisible(), qPrintable(name));
    QCOMPARE(s.w()->focusWidget(), button(s.w(), QStringLiteral("cmdAddCrs")));
    QCOMPARE(s.state->NumCourses, int16_t(0));
    QCOMPARE(s.state->NumTimetables, int16_t(0));
    QCOMPARE(s.state->EnumDone, false);
    QCOMPARE(s.state->CurrentTimetable, int16_t(0));

    auto* logo = control<QLabel>(s.w(), QStringLiteral("Picture1"));
    QVERIFY(logo);
    QCOMPARE(logo->pixmap().size(), QSize(355, 67));
    QVERIFY(logo->contentsRect().size() == QSize(355, 67));
}

void TestMainWindow::loadLeavesCourseRecords() {
    // Load zeroes the counters only; entries above them are left as they are.
    auto initial = std::make_unique<ModuleState>();
    initial->Courses[0].CourseName = u"Left over";
    initial->Courses[0].NumSections = 4;
    MainWindowSession s(std::move(initial));
    QCOMPARE(s.state->Courses[0].CourseName, Text(u"Left over"));
    QCOMPARE(s.state->Courses[0].NumSections, int16_t(4));
    // A course added now overwrites the entry as a whole.
    QVERIFY(s.addCourse(QStringLiteral("Chem")));
    QCOMPARE(s.state->Courses[0].CourseName, Text(u"Chem"));
    QCOMPARE(s.state->Courses[0].NumSections, int16_t(0));
}

void TestMainWindow::designedGeometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    const struct {
        const char* name;
        int l, t, w, h;
    } table[] = {
        {"Picture1", 480, 120, 5385, 1065},      {"cmdNewMain", 120, 1560, 1095, 495},
        {"cmdSave", 2640, 1560, 1095, 495},      {"cmdLoad", 5160, 1560, 1095, 495},
        {"lblCourses", 120, 2280, 975, 255},     {"lblSections", 2160, 2280, 975, 255},
        {"cmdAddSec", 4440, 2280, 1815, 615},    {"lstCourses", 120, 2520, 1815, 1815},
        {"lstSecs", 2160, 2520, 2055, 1815},     {"cmdRemSec", 4440, 3000, 1815, 615},
        {"cmdRemCourse", 4440, 3720, 1815, 615}, {"cmdAddCrs", 120, 4440, 1215, 495},
        {"cmdGetSec", 2280, 4440, 1215, 495},    {"cmdHelp", 4920, 4440, 1335, 495},
        {"cmdOption", 120, 5160, 1095, 495},     {"cmdMakeTime", 2160, 5160, 2175, 735},
        {"cmdExit", 5160, 5160, 1095, 495},
    };
    for (const auto& row : table)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << QRect(row.l, row.t, row.w, row.h);
    QTest::newRow("window") << QString() << QRect(0, 0, 6390, 6000);
}

void TestMainWindow::designedGeometry() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    MainWindowSession s;
    const QWidget* widget = name.isEmpty() ? s.w() : control<QWidget>(s.w(), name);
    QVERIFY(widget);
    const QRect expected(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
    if (name.isEmpty())
        QCOMPARE(widget->size(), expected.size());
    else
        QCOMPARE(widget->geometry(), expected);
    // Every caption fits its control.
    if (auto* b = qobject_cast<const QPushButton*>(widget))
        QVERIFY2(b->fontMetrics().horizontalAdvance(shownCaption(b->text())) + 8 <= b->width(), qPrintable(b->text()));
    if (auto* l = qobject_cast<const QLabel*>(widget); l && !l->text().isEmpty())
        QVERIFY(l->fontMetrics().horizontalAdvance(shownCaption(l->text())) <= l->width());
}

// Enlarged, the lists grow into the new room, the controls keep their
// distances from the edges they stand by, and none overlaps another or
// leaves the window; it cannot be made smaller than designed.
void TestMainWindow::enlargedGeometry_data() {
    QTest::addColumn<QSize>("extra");
    QTest::newRow("wider") << QSize(300, 0);
    QTest::newRow("taller") << QSize(0, 250);
    QTest::newRow("both, odd") << QSize(201, 77);
    QTest::newRow("smaller than designed") << QSize(-100, -60);
}
void TestMainWindow::enlargedGeometry() {
    QFETCH(QSize, extra);
    MainWindowSession s;
    QWidget* window = s.w();
    const QSize designed = window->size();
    QMap<QString, QRect> before;
    const QList<QWidget*> controls = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* c : controls) before[c->objectName()] = c->geometry();
    window->resize(designed + extra);
    const QSize grown = designed.expandedTo(designed + extra);
    QCOMPARE(window->size(), grown);
    const QSize by = grown - designed;
    const QRect lists[] = {s.courses()->geometry(), s.sections()->geometry()};
    QCOMPARE(lists[0].width() + lists[1].width(),
             before["lstCourses"].width() + before["lstSecs"].width() + by.width());
    for (const QRect& list : lists) QCOMPARE(list.height(), before["lstCourses"].height() + by.height());
    QVERIFY(lists[0].right() < lists[1].left());
    for (const char* name : {"cmdLoad", "cmdAddSec", "cmdRemSec", "cmdRemCourse", "cmdHelp", "cmdExit"})
        QCOMPARE(grown.width() - button(window, name)->geometry().right(),
                 designed.width() - before[QLatin1String(name)].right());
    for (const char* name : {"cmdAddCrs", "cmdOption", "cmdMakeTime", "cmdExit"})
        QCOMPARE(grown.height() - button(window, name)->geometry().bottom(),
                 designed.height() - before[QLatin1String(name)].bottom());
    for (QWidget* c : controls) {
        if (c->isHidden()) continue;
        QVERIFY2(window->rect().contains(c->geometry()), qPrintable(c->objectName()));
        // (A label touches the list under it as designed.)
        for (QWidget* other : controls)
            if (other != c && !other->isHidden() && !before[c->objectName()].intersects(before[other->objectName()]))
                QVERIFY2(!c->geometry().intersects(other->geometry()),
                         qPrintable(c->objectName() + " over " + other->objectName()));
    }
}

void TestMainWindow::tabOrder_data() {
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("ring");
    QTest::newRow("after start") << QStringList()
                                 << QStringList{"cmdAddCrs", "cmdNewMain", "cmdSave", "cmdOption", "cmdExit",
                                                "cmdLoad",   "lstCourses", "cmdHelp", "lstSecs",   "cmdGetSec"};
    QTest::newRow("every command enabled")
        << QStringList{"course A", "section 0 01", "pick 0"}
        << QStringList{"cmdAddCrs", "cmdMakeTime", "cmdNewMain", "cmdSave", "cmdAddSec", "cmdRemCourse", "cmdOption",
                       "cmdExit",   "cmdLoad",     "lstCourses", "cmdHelp", "cmdRemSec", "lstSecs",      "cmdGetSec"};
}

void TestMainWindow::tabOrder() {
    QFETCH(QStringList, commands);
    QFETCH(QStringList, ring);
    MainWindowSession s;
    QVERIFY(runAll(s, commands));
    button(s.w(), QStringLiteral("cmdAddCrs"))->setFocus(Qt::TabFocusReason);
    QStringList seen;
    for (int i = 0; i <= ring.size(); ++i) {
        QWidget* focus = s.w()->focusWidget();
        QVERIFY(focus);
        seen.append(focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(seen, ring + QStringList{ring.front()});
}

void TestMainWindow::commands_data() {
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("enabled");  // besides "New", "Add Course" and "Exit"
    QTest::addColumn<QStringList>("courseLines");
    QTest::addColumn<QStringList>("sectionLines");
    QTest::addColumn<int>("selectedSection");
    QTest::addColumn<QStringList>("messages");

    const QStringList none;
    const QString noSection = NoSectionSelectedMessage;
    const QStringList withCourse = {"cmdAddSec", "cmdRemCourse"};
    const QStringList withSchedule = {"cmdAddSec", "cmdRemCourse", "cmdMakeTime"};
    const QStringList withSection = {"cmdAddSec", "cmdRemCourse", "cmdMakeTime", "cmdRemSec"};

    QTest::newRow("a new course is selected")
        << QStringList{"course Chem"} << withCourse << QStringList{"Chem"} << none << -1 << none;
    QTest::newRow("clicking a course") << QStringList{"course Chem", "select 0"} << withCourse << QStringList{"Chem"}
                                       << none << -1 << none;
    QTest::newRow("three sections in order")
        << QStringList{"course A", "course B", "section 0 03", "section 0 01", "section 0 02", "select 1", "select 0"}
        << withSchedule << QStringList{"A", "B"} << QStringList{line("03"), line("01"), line("02")} << -1 << none;
    QTest::newRow("first section of the first course") << QStringList{"course Chem", "section 0 01"} << withSchedule
                                                       << QStringList{"Chem"} << QStringList{line("01")} << -1 << none;
    QTest::newRow("sections only on the second course")
        << QStringList{"course A", "course B", "section 1 01"} << withCourse << QStringList{"A", "B"}
        << QStringList{line("01")} << -1 << none;
    QTest::newRow("only the first course is tested at activation")
        << QStringList{"course A", "course B", "section 0 01"} << withSchedule << QStringList{"A", "B"}
        << QStringList{line("01")} << -1 << none;
    QTest::newRow("clicking a section") << QStringList{"course A", "section 0 01", "pick 0"} << withSection
                                        << QStringList{"A"} << QStringList{line("01")} << 0 << none;
    QTest::newRow("Remove Section stays enabled when another course is clicked")
        << QStringList{"course A", "course B", "section 0 01", "pick 0", "select 1"} << withSection
        << QStringList{"A", "B"} << none << -1 << none;
    QTest::newRow("... and then says no section is selected")
        << QStringList{"course A", "course B", "section 0 01", "pick 0", "select 1", "remsec", "select 0"}
        << withSchedule << QStringList{"A", "B"} << QStringList{line("01")} << -1 << QStringList{noSection};
    QTest::newRow("Remove Section stays enabled after an activation")
        << QStringList{"course A", "section 0 01", "pick 0", "cancelcourse"} << withSection << QStringList{"A"}
        << QStringList{line("01")} << -1 << none;
    QTest::newRow("... and then says no section is selected")
        << QStringList{"course A", "section 0 01", "pick 0", "cancelcourse", "remsec"} << withSchedule
        << QStringList{"A"} << QStringList{line("01")} << -1 << QStringList{noSection};
    QTest::newRow("Remove Section stays enabled after Remove Course")
        << QStringList{"course A", "course B", "section 0 01", "pick 0", "remcourse", "remsec"}
        << QStringList{"cmdMakeTime"} << QStringList{"B"} << none << -1 << QStringList{noSection};
    QTest::newRow("removing the selected section")
        << QStringList{"course A", "section 0 01", "section 0 02", "section 0 03", "pick 1", "remsec"} << withSchedule
        << QStringList{"A"} << QStringList{line("01"), line("03")} << -1 << none;
    QTest::newRow("removing every section keeps TimeTablify!")
        << QStringList{"course A", "section 0 01", "pick 0", "remsec"} << withSchedule << QStringList{"A"} << none << -1
        << none;
    QTest::newRow("removing one of three courses")
        << QStringList{"course A", "course B", "course C", "section 0 01", "select 1", "remcourse"}
        << QStringList{"cmdMakeTime"} << QStringList{"A", "C"} << none << -1 << none;
    QTest::newRow("removing the only course")
        << QStringList{"course A", "section 0 01", "remcourse"} << none << none << none << -1 << none;
    QTest::newRow("... and Add Course cancelled after it")
        << QStringList{"course A", "section 0 01", "remcourse", "cancelcourse"} << none << none << none << -1 << none;
    QTest::newRow("New") << QStringList{"course A", "course B", "section 0 01", "pick 0", "new"} << none << none << none
                         << -1 << none;
    QTest::newRow("New and Add Course cancelled after it")
        << QStringList{"course A", "section 0 01", "new", "cancelcourse"} << none << none << none << -1 << none;
    QTest::newRow("a course added after New is the only course")
        << QStringList{"course A", "section 0 01", "new", "course B", "select 0"} << withCourse << QStringList{"B"}
        << none << -1 << none;
}

void TestMainWindow::commands() {
    QFETCH(QStringList, commands);
    QFETCH(QStringList, enabled);
    QFETCH(QStringList, courseLines);
    QFETCH(QStringList, sectionLines);
    QFETCH(int, selectedSection);
    QFETCH(QStringList, messages);

    MainWindowSession s;
    QVERIFY(runAll(s, commands));
    QCOMPARE(sorted(enabledButtons(s.w())), sorted(AlwaysEnabled + enabled));
    QCOMPARE(lines(s.courses()), courseLines);
    QCOMPARE(s.state->NumCourses, int16_t(courseLines.size()));
    for (int i = 0; i < courseLines.size(); ++i)
        QCOMPARE(QString::fromStdU16String(s.state->Courses[static_cast<size_t>(i)].CourseName), courseLines[i]);
    QCOMPARE(lines(s.sections()), sectionLines);
    QCOMPARE(selectedRows(s.sections()), selectedSection < 0 ? QList<int>() : QList<int>{selectedSection});
    QCOMPARE(s.messages, messages);
    QVERIFY(s.messagesInProgramForm());
}

void TestMainWindow::listRemovalLeavesNoLine_data() {
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QString>("listName");
    QTest::addColumn<int>("lineCount");
    QTest::newRow("course removed from the middle")
        << QStringList{"course A", "course B", "course C", "select 1", "remcourse"} << "lstCourses" << 2;
    QTest::newRow("last course removed") << QStringList{"course A", "course B", "select 1", "remcourse"} << "lstCourses"
                                         << 1;
    QTest::newRow("section removed from the middle")
        << QStringList{"course A", "section 0 1", "section 0 2", "section 0 3", "pick 1", "remsec"} << "lstSecs" << 2;
    QTest::newRow("section list rebuilt by another course")
        << QStringList{"course A", "course B", "section 0 1", "section 1 2", "section 1 3", "pick 1", "select 0"}
        << "lstSecs" << 1;
}

void TestMainWindow::listRemovalLeavesNoLine() {
    QFETCH(QStringList, commands);
    QFETCH(QString, listName);
    QFETCH(int, lineCount);
    MainWindowSession s;
    QVERIFY(runAll(s, commands));
    QListWidget* l = list(s.w(), listName);
    QCOMPARE(l->count(), lineCount);
    QCOMPARE(selectedRows(l), QList<int>());
    QCOMPARE(l->currentRow(), -1);
    QCOMPARE(s.state->NumCourses, int16_t(s.courses()->count()));
}

void TestMainWindow::programChangesAreNoClick() {
    // Lines added, removed and rebuilt by the program never act as the
    // user's click: the buttons a click would enable stay disabled.
    MainWindowSession s;
    QVERIFY(runAll(s, {"course A", "course B", "section 0 1", "section 0 2"}));
    QVERIFY(runAll(s, {"select 1", "remcourse"}));  // removing B moves QListWidget's current line
    QVERIFY(!button(s.w(), QStringLiteral("cmdAddSec"))->isEnabled());
    QVERIFY(!button(s.w(), QStringLiteral("cmdRemCourse"))->isEnabled());
    QVERIFY(runAll(s, {"cancelcourse"}));  // an activation
    QVERIFY(!button(s.w(), QStringLiteral("cmdAddSec"))->isEnabled());
    QVERIFY(runAll(s, {"course C"}));  // the new course is selected on purpose
    QCOMPARE(selectedRows(s.courses()), QList<int>{1});
    QVERIFY(button(s.w(), QStringLiteral("cmdAddSec"))->isEnabled());
    QVERIFY(runAll(s, {"select 0"}));  // rebuilds the section list
    QCOMPARE(s.sections()->count(), 2);
    QVERIFY(!button(s.w(), QStringLiteral("cmdRemSec"))->isEnabled());
}

void TestMainWindow::longLinesCanBeScrolledTo() {
    MainWindowSession s;
    QVERIFY(s.addCourse(QStringLiteral("Organic Chemistry and Biochemistry")));
    QVERIFY(s.addSection(0, {"Lab-101",
                             "8",
                             "00",
                             "22",
                             "30",
                             {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"}}));
    for (QListWidget* l : {s.courses(), s.sections()}) {
        QCOMPARE(l->count(), 1);
        const QString text = l->item(0)->text();
        QVERIFY2(l->fontMetrics().horizontalAdvance(text) > l->viewport()->width(), qPrintable(text));
        // The whole line is laid out and the list scrolls sideways to its end.
        QTRY_VERIFY(l->horizontalScrollBar()->isVisible());
        QVERIFY(l->visualItemRect(l->item(0)).width() >= l->fontMetrics().horizontalAdvance(text));
        QCOMPARE(l->textElideMode(), Qt::ElideNone);
    }
}

void TestMainWindow::keyboardSelectionIsAClick() {
    MainWindowSession s;
    QVERIFY(runAll(s, {"course A", "course B", "section 1 7"}));
    QVERIFY(runAll(s, {"select 1", "remcourse"}));
    s.courses()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(s.courses(), Qt::Key_Down);
    QCOMPARE(selectedRows(s.courses()), QList<int>{0});
    QVERIFY(button(s.w(), QStringLiteral("cmdAddSec"))->isEnabled());
    QVERIFY(button(s.w(), QStringLiteral("cmdRemCourse"))->isEnabled());
    // The keyboard reaches the section list too.
    QVERIFY(runAll(s, {"section 0 8"}));
    QTest::keyClick(s.sections(), Qt::Key_Down);
    QCOMPARE(selectedRows(s.sections()), QList<int>{0});
    QVERIFY(button(s.w(), QStringLiteral("cmdRemSec"))->isEnabled());
}

void TestMainWindow::selectionCannotBeClearedByUser_data() {
    QTest::addColumn<QString>("listName");
    QTest::addColumn<ListGesture>("gesture");
    const std::pair<const char*, ListGesture> gestures[] = {
        {"ctrl-click", ctrlClickTheSelectedLine},
        {"ctrl-space", ctrlSpaceOnTheSelectedLine},
        {"click below the lines", clickBelowTheLines},
        {"right click on another line", rightClickTheNextLine},
    };
    for (const char* l : {"lstCourses", "lstSecs"})
        for (const auto& [name, gesture] : gestures)
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(l), QLatin1String(name))))
                << QString::fromLatin1(l) << gesture;
}

void TestMainWindow::selectionCannotBeClearedByUser() {
    QFETCH(QString, listName);
    QFETCH(ListGesture, gesture);
    MainWindowSession s;
    QVERIFY(runAll(s, {"course A", "course B", "section 0 1", "section 0 2", "select 0", "pick 0"}));
    QListWidget* l = list(s.w(), listName);
    QCOMPARE(selectedRows(l), QList<int>{0});
    gesture(l, 0);
    QCOMPARE(selectedRows(l), QList<int>{0});
    QCOMPARE(lines(s.sections()).size(), 2);
}

void TestMainWindow::timeTablify_data() {
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("details");
    QTest::newRow("a course without sections")
        << QStringList{"course A", "section 0 1", "course B", "course C", "section 2 1", "course D"}
        << QString::fromStdU16String(AllClassesNeedSectionMessage) << "Courses without a section:\nB\nD";
    QTest::newRow("the first course without sections after removal")
        << QStringList{"course A", "section 0 1", "pick 0", "remsec"}
        << QString::fromStdU16String(AllClassesNeedSectionMessage) << "Courses without a section:\nA";
    QTest::newRow("two sections at the same time")
        << QStringList{"course A", "course B", "section 0 1", "section 1 2"}
        << QString::fromStdU16String(NoTimetablesMessage)
        << "A and B cannot be taken together: every section of one clashes with every section of the other.\n"
           "A 1 and B 2 both meet Monday 9:00-10:00";
}

void TestMainWindow::timeTablify() {
    QFETCH(QStringList, commands);
    QFETCH(QString, message);
    QFETCH(QString, details);
    MainWindowSession s;
    QVERIFY(runAll(s, commands));
    s.presenter.open = true;  // results of an earlier run are showing
    QVERIFY(run(s, QStringLiteral("timetablify")));
    QCOMPARE(s.messages, QStringList{message});
    QCOMPARE(s.seen.value(0).details, details);
    QVERIFY(s.messagesInProgramForm());
    QCOMPARE(s.presenter.shown, 0);
    QVERIFY(s.presenter.closed >= 1);  // the earlier results are gone
    QVERIFY(!s.presenter.open);
    QCOMPARE(s.state->NumTimetables, int16_t(0));
    // The main window is still usable.
    QVERIFY(button(s.w(), QStringLiteral("cmdMakeTime"))->isEnabled());
}

void TestMainWindow::timeTablifyHandsOverResults() {
    // Two courses whose sections clash only in one combination.
    MainWindowSession s;
    QVERIFY(runAll(s, {"course A", "course B", "section 0 1", "section 1 2"}));
    s.state->Courses[0].Sections[0] = section(0, 0, 2);
    s.state->Courses[1].Sections[0] = section(1, 0, 2);
    // The generator on its own finds the one timetable: a failure here is
    // the generator's, not the window's.
    ModuleState probe = *s.state;
    QCOMPARE(TimeTablify(probe).outcome, TimeTablifyOutcome::ShowResults);
    QVERIFY(run(s, QStringLiteral("timetablify")));
    QCOMPARE(s.messages, QStringList());
    QCOMPARE(s.presenter.shown, 1);
    QCOMPARE(s.presenter.last.outcome, TimeTablifyOutcome::ShowResults);
    QCOMPARE(s.state->NumTimetables, int16_t(1));
    QCOMPARE(s.state->CurrentTimetable, int16_t(0));
}

void TestMainWindow::returningFromResultsRunsActivation() {
    // The activation rebuilds the section list, which drops its selection.
    MainWindowSession s;
    QVERIFY(runAll(s, {"course A", "section 0 1", "pick 0"}));
    QCOMPARE(selectedRows(s.sections()), QList<int>{0});
    s.window->activate();  // what the results windows call on the user's return
    QCOMPARE(selectedRows(s.sections()), QList<int>());
    QCOMPARE(lines(s.sections()), QStringList{line("1")});

    // The platform's own report, where it gives one, runs it too.
    QVERIFY(runAll(s, {"pick 0"}));
    QWidget results;
    results.setObjectName(QStringLiteral("results"));
    results.show();
    results.activateWindow();
    // The platforms the tests run on (offscreen, and xcb on Xvfb) report it;
    // only another platform may be excused for not reporting it.
    if (!QTest::qWaitForWindowActive(&results)) {
        const QString platform = QGuiApplication::platformName();
        QVERIFY2(platform != QLatin1String("offscreen") && platform != QLatin1String("xcb"),
                 qPrintable(platform + QStringLiteral(" reported no activation")));
        QSKIP("this platform does not report activation");
    }
    s.w()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.w()));
    QTRY_COMPARE(selectedRows(s.sections()), QList<int>());
}

void TestMainWindow::messageBoxDoesNotRunActivation() {
    MainWindowSession s;
    QVERIFY(runAll(s, {"course A", "section 0 1", "course B", "select 0", "pick 0"}));
    QVERIFY(run(s, QStringLiteral("timetablify")));
    QCOMPARE(s.messages.size(), 1);
    // The window system hands the activation back once the box is gone.
    s.w()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.w()));
    QTest::qWait(20);
    QCOMPARE(selectedRows(s.sections()), QList<int>{0});
}

void TestMainWindow::noActivationWhileADialogIsOpen() {
    MainWindowSession s;
    QVERIFY(runAll(s, {"course A", "section 0 1", "pick 0"}));
    QList<int> whileOpen;
    ModalScript script;
    script.onWindow(QStringLiteral("frmAddCrs"), [&](QWidget* dialog) {
        // The window system reports the main window active under the dialog.
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(s.w(), &activation);
        whileOpen = selectedRows(s.sections());
        click(dialog, QStringLiteral("cmdCancel"));
    });
    QVERIFY(s.clickWith(QStringLiteral("cmdAddCrs"), script));
    QCOMPARE(whileOpen, QList<int>{0});
    QCOMPARE(selectedRows(s.sections()), QList<int>());  // the activation after it closed
}

void TestMainWindow::endingTheProgram_data() {
    QTest::addColumn<WindowGesture>("end");
    QTest::newRow("Exit") << clickButton(QStringLiteral("cmdExit"));
    QTest::newRow("the frame's close button") << WindowGesture(closeByFrame);
}

void TestMainWindow::endingTheProgram() {
    QFETCH(WindowGesture, end);
    MainWindowSession s;
    QVERIFY(runAll(s, {"course A", "cancelcourse"}));  // the hidden Add Course dialog exists
    QWidget other;
    other.show();
    s.presenter.open = true;
    ModalScript script;  // course A is unsaved
    answerDontSave(script);
    end(s.w());
    QVERIFY(scriptDone(script));
    QVERIFY(!s.w()->isVisible());
    QVERIFY(!other.isVisible());
    QVERIFY(s.presenter.closed >= 1);
    QVERIFY(!s.presenter.open);
    QCOMPARE(s.messages, QStringList());
}

// "Help" and F1 open one help window that leaves the main window usable and
// names every key of the results and the program's version.
void TestMainWindow::helpOpensBesideTheWindows() {
    MainWindowSession s;
    QVERIFY(QTest::qWaitForWindowActive(s.w()));
    QTest::keyClick(s.w(), Qt::Key_F1);
    auto* help = s.w()->findChild<frmHelp*>();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QVERIFY(!help->isModal());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    help->close();
    click(s.w(), QStringLiteral("cmdHelp"));
    QCOMPARE(s.w()->findChildren<frmHelp*>().size(), 1);
    QVERIFY(help->isVisible());
    const QString text = help->text()->toPlainText();
    for (const char* key : {"Right", "Page Down", "Left", "Page Up", "Home", "End", "Ctrl+D", "Ctrl+P", "Ctrl+E", "F1",
                            "Add to Favorites", "Go To Favorites", "TimeTablify!", ".qvs"})
        QVERIFY2(text.contains(QLatin1String(key)), key);
    QVERIFY(text.contains(QStringLiteral("Quorvandel ") + programVersion()));
    QVERIFY(programVersion().contains(QLatin1Char('.')));
    // Nothing waits on it: another command may act.
    QVERIFY(CommandTurn::available());
}

void TestMainWindow::undoEveryChange_data() {
    QTest::addColumn<QStringList>("setup");   // then saved: the title shows no "*"
    QTest::addColumn<QStringList>("change");  // one step of the history
    QTest::addColumn<QString>("step");        // its name, as Undo and Redo say it
    const QStringList chem = {"course Chem", "section 0 01", "section 0 02", "course Phys", "section 1 1"};
    QTest::newRow("add course") << chem << QStringList{"course Bio"} << "Add Course Bio";
    QTest::newRow("add section") << chem << QStringList{"section 1 2"} << "Add Section Phys - 2";
    QTest::newRow("remove course") << chem << QStringList{"select 0", "remcourse"} << "Remove Course Chem";
    QTest::newRow("remove section") << chem << QStringList{"select 0", "pick 1", "remsec"}
                                    << "Remove Section Chem - 02";
    QTest::newRow("edit section") << chem << QStringList{"select 0", "edit 1 07"} << "Edit Section Chem - 02";
    QTest::newRow("duplicate section") << chem << QStringList{"select 0", "dup 0"} << "Duplicate Section Chem - 01";
    QTest::newRow("rename course") << chem << QStringList{"rename 1 Physics"} << "Rename Course Phys";
    QTest::newRow("leave out") << chem << QStringList{"select 0", "leaveout 1"} << "Leave Out Chem - 02";
    QTest::newRow("take only this section")
        << chem << QStringList{"select 0", "menu 1 Take Only This Section"} << "Take Only Chem - 02";
    QTest::newRow("take every section") << chem + QStringList{"select 0", "leaveout 0", "leaveout 1"}
                                        << QStringList{"select 0", "menu 0 Take Every Section"}
                                        << "Take Every Section Chem";
}

void TestMainWindow::undoEveryChange() {
    QFETCH(QStringList, setup);
    QFETCH(QStringList, change);
    QFETCH(QString, step);
    MainWindowSession s;
    QTemporaryDir folder;
    FakeFileChooser chooser;
    chooser.answers << folder.filePath(QStringLiteral("undo.qvs"));
    s.window->scheduleKeeper().setFileChooser(&chooser);
    QVERIFY(runAll(s, setup));
    QVERIFY(s.window->scheduleKeeper().save());
    const auto title = [&s] { return s.w()->windowHandle()->title(); };
    const QString savedTitle = title();
    QVERIFY(!savedTitle.contains(QLatin1Char('*')));
    const ScheduleDocument saved = documentOf(*s.state);
    const QStringList savedCourses = lines(s.courses());

    QVERIFY(runAll(s, change));
    const ScheduleDocument changed = documentOf(*s.state);
    const QStringList changedCourses = lines(s.courses());
    QVERIFY(!(changed == saved));
    QVERIFY(title().contains(QLatin1Char('*')));
    QCOMPARE(QString::fromStdU16String(s.window->undoName()), step);
    QCOMPARE(QString::fromStdU16String(s.window->redoName()), QString());

    // Undone: the saved schedule and its title; the step can be redone.
    QVERIFY(runAll(s, {"undo"}));
    QVERIFY(documentOf(*s.state) == saved);
    QCOMPARE(lines(s.courses()), savedCourses);
    QCOMPARE(title(), savedTitle);
    QCOMPARE(QString::fromStdU16String(s.window->redoName()), step);

    QVERIFY(runAll(s, {"redo"}));
    QVERIFY(documentOf(*s.state) == changed);
    QCOMPARE(lines(s.courses()), changedCourses);
    QVERIFY(title().contains(QLatin1Char('*')));
    // Nothing more to redo: the key changes nothing.
    QVERIFY(runAll(s, {"redo"}));
    QVERIFY(documentOf(*s.state) == changed);
    QVERIFY(s.messages.isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
