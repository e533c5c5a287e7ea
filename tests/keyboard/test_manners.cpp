// What a desktop user expects of the windows: Enter presses the focused
// button, list keys start from nothing selected, the capacities show before
// any typing, one-line boxes stay on one line, the command keys, and the
// program's icon and a window's role for a screen reader.
#include <QAccessible>
#include <QClipboard>
#include <QMessageBox>
#include <QScreen>
#include <QtTest>
#include <functional>

#include "add_course_dialog.h"
#include "add_section_dialog.h"
#include "editing.h"
#include "entry_session.h"
#include "form_controls.h"
#include "message_box.h"
#include "program_windows.h"
#include "results_frame.h"
#include "section_maker.h"
#include "term_dialog.h"
#include "timetable_grid_view.h"

using namespace quorvandel;
using namespace quorvandel::testing;

namespace {

// The program with `courses` courses C1.. and, in the first, `sections`
// sections; the main window shown and active.
struct Program : ProgramWindows {
    explicit Program(int courses = 2, int sections = 1) {
        for (int c = 0; c < courses; ++c)
            AddCourse(*state, window, NewCourse(QStringLiteral("C%1").arg(c + 1).toStdU16String()));
        for (int k = 0; k < sections; ++k)
            AddSection(*state, 0,
                       makeSection(u"C1", QString::number(k + 1).toStdU16String(), k % 20, k % 20 + 1, {k / 20}));
        window.show();
        window.activateWindow();
        (void)QTest::qWaitForWindowActive(&window);
        window.activate();
    }
    QListWidget* courses() { return list(&window, QStringLiteral("lstCourses")); }
    QAbstractButton* main(const char* name) { return button(&window, QLatin1String(name)); }
};

// What is wrong with the Alt letters of `window`: a command button without
// one, a letter two controls share, a lettered label naming no control, or
// labels naming other controls than `labelled`. Alt and each label's
// letter must put the focus on the control it names.
QStringList mnemonicFaults(QWidget* window, const QStringList& labelled) {
    QStringList faults;
    QMap<QChar, QString> owners;
    auto take = [&](QWidget* w, const QString& text) {
        const QChar letter = mnemonicLetter(text);
        if (letter.isNull()) return false;
        if (owners.contains(letter))
            faults << QStringLiteral("%1 and %2 share Alt+%3").arg(owners[letter], w->objectName(), letter);
        owners.insert(letter, w->objectName());
        return true;
    };
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        // The counter says where the user is; pressing it does nothing.
        if (!take(b, b->text()) && b->objectName() != QLatin1String("cmdGoToT"))
            faults << b->objectName() + QStringLiteral(" has no Alt letter");
    }
    QStringList named;
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (!take(l, l->text())) continue;
        if (l->buddy() == nullptr) {
            faults << l->objectName() + QStringLiteral(" names no control");
            continue;
        }
        named << l->buddy()->objectName();
        window->activateWindow();
        QTest::keyClick(window, mnemonicLetter(l->text()).toLatin1(), Qt::AltModifier);
        if (l->buddy()->isEnabled() && !l->buddy()->hasFocus())
            faults << QStringLiteral("Alt+%1 does not reach %2 (%3 has the focus)")
                          .arg(mnemonicLetter(l->text()), named.back(),
                               QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString());
    }
    named.sort();
    QStringList expected = labelled;
    expected.sort();
    if (named != expected) faults << QStringLiteral("labels name %1").arg(named.join(QLatin1Char(' ')));
    return faults;
}

// Opens `window` by `open` and runs `act` on it once it shows: Help, which
// is not modal, as it comes, any other through a script. False when it
// did not show.
bool openAndAct(Program& p, const QString& window, const std::function<void()>& open,
                const std::function<void(QWidget*)>& act) {
    if (window == QLatin1String("frmHelp")) {
        open();
        QWidget* help = p.window.findChild<QWidget*>(window);
        if (help == nullptr || !QTest::qWaitForWindowExposed(help)) return false;
        act(help);
        return true;
    }
    ModalScript script;
    script.onWindow(window, act);
    open();
    return scriptDone(script);
}

void pressEnterOn(QWidget* w) {
    // A key goes to the active window: the user is in the button's window.
    w->window()->activateWindow();
    (void)QTest::qWaitForWindowActive(w->window());
    w->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w, Qt::Key_Return);
}

}  // namespace

class TestManners : public QObject {
    Q_OBJECT
private slots:
    // Enter on the focused button does what a click does, in every window.
    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("coursesAfter");
        QTest::addColumn<bool>("resultsOpenAfter");
        QTest::newRow("main: New") << "cmdNewMain" << 0 << true;
        QTest::newRow("main: Remove Course") << "cmdRemCourse" << 1 << true;
        QTest::newRow("Add Course: Ok") << "frmAddCrs.cmdOk" << 3 << true;
        QTest::newRow("Add Course: Cancel") << "frmAddCrs.cmdCancel" << 2 << true;
        QTest::newRow("Add Section: Ok") << "frmAddSec.cmdOk" << 2 << true;
        QTest::newRow("results: OK") << "results.cmdOk" << 2 << false;
    }
    void enterPressesTheFocusedButton() {
        QFETCH(QString, button);
        QFETCH(int, coursesAfter);
        QFETCH(bool, resultsOpenAfter);
        Program p;
        AddSection(*p.state, 1, makeSection(u"C2", u"A", 4, 6, {1}));
        p.main("cmdMakeTime")->click();
        QVERIFY(p.results.resultsOpen());
        p.window.activateWindow();
        clickLine(p.courses(), 0);
        const int sectionsBefore = p.state->Courses[0].NumSections;
        ModalScript script;
        if (button.startsWith(QLatin1String("frm"))) {
            const QString dialog = button.section(QLatin1Char('.'), 0, 0);
            script.onWindow(dialog, [button](QWidget* d) {
                if (d->objectName() == QLatin1String("frmAddCrs"))
                    typeInto(d, QStringLiteral("txtCrsName"), QStringLiteral("New one"));
                else
                    fillSection(d, mondayNineToTen(QStringLiteral("9")));
                pressEnterOn(testing::button(d, button.section(QLatin1Char('.'), 1)));
                if (d->isVisible()) click(d, QStringLiteral("cmdCancel"));
            });
            p.main(dialog == QLatin1String("frmAddCrs") ? "cmdAddCrs" : "cmdAddSec")->click();
            QVERIFY(scriptDone(script));
        } else if (button.startsWith(QLatin1String("results."))) {
            pressEnterOn(testing::button(p.results.frame(), button.mid(8)));
        } else {
            answerDontSave(script);  // New asks about the unsaved courses first
            pressEnterOn(p.main(qPrintable(button)));
            if (button == QLatin1String("cmdNewMain")) QVERIFY(scriptDone(script));
        }
        QCoreApplication::processEvents();
        QCOMPARE(int(p.state->NumCourses), coursesAfter);
        QCOMPARE(p.results.resultsOpen(), resultsOpenAfter);
        if (button == QLatin1String("frmAddSec.cmdOk"))
            QCOMPARE(int(p.state->Courses[0].NumSections), sectionsBefore + 1);
    }

    // With nothing selected, Down and Home select the first line, Up and End
    // the last, and the selection counts as the user's click.
    void listKeysFromNoSelection_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("row");
        QTest::newRow("Down") << int(Qt::Key_Down) << 0;
        QTest::newRow("Home") << int(Qt::Key_Home) << 0;
        QTest::newRow("Up") << int(Qt::Key_Up) << 2;
        QTest::newRow("End") << int(Qt::Key_End) << 2;
    }
    void listKeysFromNoSelection() {
        QFETCH(int, key);
        QFETCH(int, row);
        Program p(3, 2);
        p.courses()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(p.courses(), Qt::Key(key));
        QCOMPARE(selectedRows(p.courses()), QList<int>{row});
        // The click: the section list and the course commands follow.
        QVERIFY(p.main("cmdRemCourse")->isEnabled());
        QCOMPARE(list(&p.window, QStringLiteral("lstSecs"))->count(), row == 0 ? 2 : 0);
    }

    // "Add Course" at 20 courses and "Add Section" at 10 sections in the
    // selected course are disabled before any typing, with a tooltip saying
    // why, and come back when there is room again.
    void limitsShownBeforeTyping() {
        Program p(MaxCourses, MaxSectionsPerCourse);
        QVERIFY(!p.main("cmdAddCrs")->isEnabled());
        QCOMPARE(p.main("cmdAddCrs")->toolTip(), CoursesFullMessage());
        clickLine(p.courses(), 0);
        QVERIFY(!p.main("cmdAddSec")->isEnabled());
        QCOMPARE(p.main("cmdAddSec")->toolTip(), SectionsFullMessage());
        clickLine(p.courses(), 1);  // a course with room
        QVERIFY(p.main("cmdAddSec")->isEnabled());
        QCOMPARE(p.main("cmdAddSec")->toolTip(), QString());
        clickLine(p.courses(), 0);
        clickLine(list(&p.window, QStringLiteral("lstSecs")), 0);
        p.main("cmdRemSec")->click();
        QVERIFY(p.main("cmdAddSec")->isEnabled());
        p.main("cmdRemCourse")->click();
        QVERIFY(p.main("cmdAddCrs")->isEnabled());
        QCOMPARE(p.main("cmdAddCrs")->toolTip(), QString());
    }

    // A line break or tab that enters a one-line box, however it comes,
    // becomes one space; everything else is kept.
    void oneLineBoxesStayOnOneLine_data() {
        QTest::addColumn<QString>("put");
        QTest::addColumn<QString>("kept");
        QTest::newRow("line feed") << "Chem\n101"
                                   << "Chem 101";
        QTest::newRow("CR LF, one space") << "Chem\r\n101"
                                          << "Chem 101";
        QTest::newRow("CR") << "Chem\r101"
                            << "Chem 101";
        QTest::newRow("tab") << "Chem\t101"
                             << "Chem 101";
        QTest::newRow("two breaks, two spaces") << "a\n\nb\n"
                                                << "a  b ";
        QTest::newRow("Unicode line separator") << QStringLiteral("a\u2028b") << "a b";
        QTest::newRow("blanks, emoji and marks kept")
            << QStringLiteral("  \U0001F600 e\u0301  ") << QStringLiteral("  \U0001F600 e\u0301  ");
    }
    void oneLineBoxesStayOnOneLine() {
        QFETCH(QString, put);
        QFETCH(QString, kept);
        // The boxes of both dialogs are made so.
        QWidget window;
        QLineEdit* box = makeTextBox(&window, QStringLiteral("txtCrsName"), QRect(0, 0, 200, 20));
        window.show();
        QApplication::clipboard()->setText(put);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);  // paste
        QCOMPARE(box->text(), kept);
        box->clear();
        QAccessible::queryAccessibleInterface(box)->setText(QAccessible::Value, put);  // a screen reader
        QCOMPARE(box->text(), kept);
    }

    // Delete removes the selected section, or else the selected course;
    // Insert adds a section, Ctrl+Insert a course; Ctrl+Q ends the program.
    void commandKeys() {
        Program p(3, 2);
        clickLine(p.courses(), 0);
        clickLine(list(&p.window, QStringLiteral("lstSecs")), 1);
        QTest::keyClick(&p.window, Qt::Key_Delete);
        QCOMPARE(int(p.state->Courses[0].NumSections), 1);
        QCOMPARE(int(p.state->NumCourses), 3);
        QTest::keyClick(&p.window, Qt::Key_Delete);  // no section selected now
        QCOMPARE(int(p.state->NumCourses), 2);
        {
            ModalScript script;
            script.onWindow(QStringLiteral("frmAddCrs"), [](QWidget* d) { click(d, QStringLiteral("cmdCancel")); });
            QTest::keyClick(&p.window, Qt::Key_Insert, Qt::ControlModifier);
            QVERIFY(scriptDone(script));
        }
        clickLine(p.courses(), 0);
        {
            ModalScript script;
            script.onWindow(QStringLiteral("frmAddSec"), [](QWidget* d) { click(d, QStringLiteral("cmdCancel")); });
            QVERIFY(p.main("cmdAddSec")->isEnabled());
            QVERIFY(QTest::qWaitForWindowActive(&p.window));  // the keys belong to the active window
            QTest::keyClick(&p.window, Qt::Key_Insert);
            QVERIFY(scriptDone(script));
        }
        QVERIFY(QTest::qWaitForWindowActive(&p.window));
        ModalScript script;
        answerDontSave(script);
        QTest::keyClick(&p.window, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(scriptDone(script));
        QVERIFY(!p.window.isVisible());
    }

    // Every command button and every labelled control of a window has its
    // own Alt letter.
    void mnemonicsUniquePerWindow_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("labelled");
        QTest::newRow("main") << "frmQuorvandelMain" << QStringList{"lstCourses", "lstSecs"};
        QTest::newRow("Add Course") << "frmAddCrs" << QStringList{"txtCrsName"};
        QTest::newRow("Add Section") << "frmAddSec"
                                     << QStringList{"txtSecNum", "lstDofWk", "lstTStartH", "lstTEndH", "lstTimes"};
        QTest::newRow("Options") << "frmOptions" << QStringList{"grdBusy", "cboOrder", "cboThenBy"};
        QTest::newRow("results") << "frmResults" << QStringList{};
        QTest::newRow("Export to Calendar") << "frmTerm" << QStringList{"dtpFirst", "dtpLast"};
        QTest::newRow("Help") << "frmHelp" << QStringList{};
        QTest::newRow("unsaved-changes question") << "SaveChangesQuestion" << QStringList{};
        QTest::newRow("message") << "QuorvandelMessage" << QStringList{};
    }
    void mnemonicsUniquePerWindow() {
        QFETCH(QString, window);
        QFETCH(QStringList, labelled);
        Program p;
        AddSection(*p.state, 1, makeSection(u"C2", u"A", 4, 6, {1}));
        clickLine(p.courses(), 0);
        QStringList faults;
        const auto check = [&](QWidget* w) {
            (void)QTest::qWaitForWindowActive(w);
            faults = mnemonicFaults(w, labelled);
            if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->reject();
        };
        const auto press = [&p](const char* name) { return [&p, name] { p.main(name)->click(); }; };
        const QMap<QString, std::function<void()>> openers{
            {"frmAddCrs", press("cmdAddCrs")},
            {"frmAddSec", press("cmdAddSec")},
            {"frmOptions", press("cmdOption")},
            {"frmHelp", press("cmdHelp")},
            // The course entered is unsaved; closing the question cancels "New".
            {"SaveChangesQuestion", press("cmdNewMain")},
            {"frmTerm", [&p] { (void)frmTerm::ask(&p.window); }},
            {"QuorvandelMessage", [&p] { ShowMessage(&p.window, QStringLiteral("A message")); }}};
        if (window == QLatin1String("frmQuorvandelMain")) {
            check(&p.window);
        } else if (window == QLatin1String("frmResults")) {
            p.main("cmdMakeTime")->click();
            QVERIFY(p.results.resultsOpen());
            check(p.results.frame());
        } else {
            QVERIFY(openAndAct(p, window, openers[window], check));
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    // Each dialog opens over the main window wherever it has been moved:
    // Add Course and Add Section at the design's distance from its corner,
    // the others centred on it; all kept wholly on its screen.
    void dialogsFollowTheMainWindow_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QPoint>("offset");  // from the main window's client corner; none: centred
        QTest::addColumn<QString>("place");
        const struct {
            const char* window;
            const char* opener;
            QPoint offset;
        } dialogs[] = {{"frmAddCrs", "cmdAddCrs", {34, 11}},
                       {"frmAddSec", "cmdAddSec", {249, -45}},
                       {"frmOptions", "cmdOption", {}},
                       {"QuorvandelMessage", "cmdMakeTime", {}},  // a course without sections
                       {"frmHelp", "cmdHelp", {}},
                       {"results", "cmdMakeTime", {}}};  // centred on the main window's screen
        for (const auto& d : dialogs)
            for (const char* place :
                 {"centre", "top left", "bottom right", "second screen's top left", "second screen's bottom right"})
                QTest::addRow("%s, main window at the %s", d.window, place)
                    << d.window << d.opener << d.offset << place;
    }
    void dialogsFollowTheMainWindow() {
        QFETCH(QString, window);
        QFETCH(QString, opener);
        QFETCH(QPoint, offset);
        QFETCH(QString, place);
        Program p;
        clickLine(p.courses(), 0);
        // The second screen, where the test runs with two side by side.
        const bool second = place.startsWith(QLatin1String("second"));
        if (second && QGuiApplication::screens().size() < 2) QSKIP("one screen only");
        QScreen* screen = second ? QGuiApplication::screens().at(1) : p.window.screen();
        const QRect usable = screen->availableGeometry();
        QRect moved = p.window.frameGeometry();
        if (place == QLatin1String("centre")) moved.moveCenter(usable.center());
        if (place.endsWith(QLatin1String("top left"))) moved.moveTopLeft(usable.topLeft());
        if (place.endsWith(QLatin1String("bottom right"))) moved.moveBottomRight(usable.bottomRight());
        p.window.move(moved.topLeft());
        QTRY_COMPARE(p.window.frameGeometry().topLeft(), moved.topLeft());
        QTRY_COMPARE(p.window.screen(), screen);

        QRect client, frame;
        const auto measure = [&](QWidget* w) {
            client = w->geometry();
            frame = w->frameGeometry();
            if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->reject();
        };
        if (window == QLatin1String("results")) {
            AddSection(*p.state, 1, makeSection(u"C2", u"A", 4, 6, {1}));
            p.main(qPrintable(opener))->click();
            QVERIFY(p.results.resultsOpen());
            QTRY_VERIFY(p.results.frame()->isVisible());
            QCOMPARE(p.results.frame()->screen(), screen);
            // (Wider than a small screen, it may reach past the right edge.)
            QVERIFY(usable.contains(p.results.frame()->frameGeometry().topLeft()));
            return;
        }
        QVERIFY(openAndAct(
            p, window, [&] { p.main(qPrintable(opener))->click(); }, measure));

        // Where it belongs when it fits there, and wholly on the screen.
        const QRect main = p.window.geometry();
        QRect wanted(QPoint(), client.size());
        if (offset.isNull())
            wanted.moveCenter(main.center());
        else
            wanted.moveTopLeft(main.topLeft() + offset);
        const QRect wantedFrame = frame.translated(wanted.topLeft() - client.topLeft());
        if (usable.contains(wantedFrame))
            QVERIFY2((client.topLeft() - wanted.topLeft()).manhattanLength() <= 2,
                     qPrintable(QStringLiteral("at %1,%2, not %3,%4")
                                    .arg(client.left())
                                    .arg(client.top())
                                    .arg(wanted.left())
                                    .arg(wanted.top())));
        QVERIFY(usable.contains(frame));
    }

    void iconAndRole() {
        Program p;
        AddSection(*p.state, 1, makeSection(u"C2", u"A", 4, 6, {1}));
        p.main("cmdMakeTime")->click();
        QVERIFY(!QApplication::windowIcon().isNull());
        for (QWidget* w : {static_cast<QWidget*>(&p.window), static_cast<QWidget*>(p.results.frame()),
                           static_cast<QWidget*>(p.results.gridView())})
            QCOMPARE(w->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
        QCOMPARE(QAccessible::queryAccessibleInterface(&p.window)->role(), QAccessible::Window);
    }
};

QTEST_MAIN(TestManners)
#include "test_manners.moc"
