// The results' commands beyond stepping: favourites, the keys, the course
// colours of the cells, printing and export. Driven as a user would, with
// clicks and keys on the real frame and grid; the print and save dialogs
// are answered in code (fake_results_dialogs.h).

#include <QAccessible>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "course_palette.h"
#include "fake_results_dialogs.h"
#include "favourites.h"
#include "gui_actions.h"
#include "named_controls.h"
#include "results_fixture.h"
#include "results_frame.h"
#include "results_windows.h"
#include "timetable_grid_view.h"
#include "timetable_overview.h"
#include "timetable_page.h"

using namespace quorvandel;
using namespace quorvandel::testing;
using namespace std::chrono;

namespace {

// How the user gives the commands. ScreenReader: a screen reader's press
// action on a button, its toggle action on "Go To Favorites", and the keys
// of the frame for the first and the last timetable.
enum class Gesture { Click, FrameKeys, GridKeys, ScreenReader };

// A screen reader's toggle action on a checkable button: the button flips
// its checked state without being clicked.
void toggleAction(QAbstractButton* b) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(b);
    QAccessibleActionInterface* actions = iface ? iface->actionInterface() : nullptr;
    QVERIFY(actions && actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
}

// One command and what the frame shows after it: the timetable (k of
// storeNumbered's "Tk"), the counter, and the buttons as four letters:
// "Previous" P, "Next" N, the favourite button A ("Add to Favorites") or
// R ("Remove from Favorites"), "Go To Favorites" G (g: pressed in); "-" is
// a disabled button.
struct Step {
    const char* command;  // start, next, prev, first, last, fav, favs
    int shown;
    const char* counter;
    const char* buttons;
};
using Script = std::vector<Step>;

void give(TimeTablesMDI* frame, Gesture gesture, const QString& command) {
    QWidget* keysTo = gesture == Gesture::GridKeys ? static_cast<QWidget*>(frame->gridView()->client())
                                                   : static_cast<QWidget*>(frameButton(frame, "cmdOk"));
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(keysTo, k, m); };
    const bool grid = gesture == Gesture::GridKeys;
    if (command == QLatin1String("first")) return key(Qt::Key_Home);
    if (command == QLatin1String("last")) return key(Qt::Key_End);
    QPushButton* favs = frameButton(frame, "cmdGotofav");
    if (command == QLatin1String("favs")) {
        if (gesture == Gesture::ScreenReader) return toggleAction(favs);
        if (gesture != Gesture::FrameKeys) return QTest::mouseClick(favs, Qt::LeftButton);
        favs->setFocus(Qt::TabFocusReason);
        return QTest::keyClick(favs, Qt::Key_Space);
    }
    if (gesture == Gesture::Click || gesture == Gesture::ScreenReader) {
        QPushButton* b = command == QLatin1String("next")   ? frameButton(frame, "cmdNext")
                         : command == QLatin1String("prev") ? frameButton(frame, "cmdPrev")
                                                            : frameButton(frame, "cmdAddFav");
        if (gesture == Gesture::ScreenReader) {
            QVERIFY(pressAction(b));
            return;
        }
        return QTest::mouseClick(b, Qt::LeftButton);
    }
    if (command == QLatin1String("next")) return key(grid ? Qt::Key_PageDown : Qt::Key_Right);
    if (command == QLatin1String("prev")) return key(grid ? Qt::Key_PageUp : Qt::Key_Left);
    if (command == QLatin1String("fav")) return key(Qt::Key_D, Qt::ControlModifier);
}

QString buttonsOf(const TimeTablesMDI* frame) {
    QString out;
    out += frameButton(frame, "cmdPrev")->isEnabled() ? u'P' : u'-';
    out += frameButton(frame, "cmdNext")->isEnabled() ? u'N' : u'-';
    const bool remove = frameButton(frame, "cmdAddFav")->text() == RemoveFromFavoritesCaption;
    out += !frameButton(frame, "cmdAddFav")->isEnabled() ? u'-' : remove ? u'R' : u'A';
    out += !frameButton(frame, "cmdGotofav")->isEnabled()  ? u'-'
           : frameButton(frame, "cmdGotofav")->isChecked() ? u'g'
                                                           : u'G';
    return out;
}

// A timetable of one section per course: course i meets at slot `startSlots[i]`
// on Monday and Thursday, for one half-hour.
Timetable coursesAt(std::initializer_list<int> startSlots) {
    Timetable t;
    int course = 0;
    for (int slot : startSlots) {
        const std::string name = "C" + std::to_string(course);
        const std::string number = std::to_string(slot);
        t.Sections[static_cast<size_t>(t.NumSections++)] =
            section(name.c_str(), number.c_str(), slot, slot + 1, {0, 3});
        ++course;
    }
    return t;
}

// Five courses whose captions must all reach paper; the long one does not
// fit its cell, which shows it shortened.
Timetable fiveCourses() {
    return timetable({section("Organic Chemistry II", "H1", 2, 5, {0, 2}), section("Math", "11", 5, 7, {0, 2, 4}),
                      section("History", "A", 10, 16, {4}), section("Art", "7", 0, 6, {5}),
                      section("Bio", "3", 22, 29, {6})});
}
const QStringList FiveCaptions = {QStringLiteral("Organic Chemistry II - H1"), QStringLiteral("Math - 11"),
                                  QStringLiteral("History - A"), QStringLiteral("Art - 7"), QStringLiteral("Bio - 3")};

QString pdfText(const QString& path) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) qFatal("pdftotext (poppler-utils) is not installed");
    QProcess run;
    run.start(pdftotext, {path, QStringLiteral("-")});
    if (!run.waitForFinished(60000) || run.exitCode() != 0) return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(run.readAllStandardOutput());
}

// The title a PDF file gives in its document information.
QString pdfTitle(const QString& path) {
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (pdfinfo.isEmpty()) qFatal("pdfinfo (poppler-utils) is not installed");
    QProcess run;
    run.start(pdfinfo, {path});
    if (!run.waitForFinished(60000) || run.exitCode() != 0) return QStringLiteral("<pdfinfo failed>");
    for (const QString& line : QString::fromUtf8(run.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Title:"))) return line.mid(6).trimmed();
    }
    return {};
}

}  // namespace

Q_DECLARE_METATYPE(Script)
Q_DECLARE_METATYPE(Gesture)
Q_DECLARE_METATYPE(quorvandel::ExportKind)

class TestResultsCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<ModuleState> state;
    FakeResultsDialogs dialogs;
    std::unique_ptr<ResultsWindows> presenter;

    TimeTablesMDI* open(bool stopped = false) {
        presenter->showResults(shown(false, stopped));
        TimeTablesMDI* frame = presenter->frame();
        if (frame) {
            // At the designed size, where the grid does not fit and scrolls:
            // the stepping keys must step all the same.
            frame->activateWindow();
            if (!QTest::qWaitForWindowActive(frame)) qWarning("the results frame did not become active");
        }
        return frame;
    }

private slots:
    void init() {
        state = std::make_unique<ModuleState>();
        dialogs = FakeResultsDialogs{};
        presenter = std::make_unique<ResultsWindows>(*state);
        presenter->setDialogs(&dialogs);
    }
    void cleanup() {
        presenter.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // "All": every stored timetable as a picture, the favourites starred;
    // a click, Enter or the arrows and Enter show the picked one in the
    // grid, and one marked afterwards is starred when it opens again.
    void overviewPicks_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("favourites");  // numbers as the counter gives them
        QTest::addColumn<QString>("gestures");       // how it is opened, then how one is picked
        QTest::addColumn<int>("picked");
        QTest::newRow("click, click") << 26 << QList<int>{3, 17} << "click click" << 17;
        QTest::newRow("Ctrl+L, Enter") << 26 << QList<int>{} << "ctrl enter" << 26;
        QTest::newRow("Space, arrows") << 12 << QList<int>{1} << "space arrows" << 8;
        QTest::newRow("one timetable") << 1 << QList<int>{1} << "click enter" << 1;
    }
    void overviewPicks() {
        QFETCH(int, count);
        QFETCH(QList<int>, favourites);
        QFETCH(QString, gestures);
        QFETCH(int, picked);
        storeNumbered(*state, count);
        for (int f : favourites) QVERIFY(toggleFavourite(*state, static_cast<int16_t>(f - 1)));
        TimeTablesMDI* frame = open();
        QVERIFY(frame);
        QPushButton* all = frameButton(frame, "cmdAll");
        QCOMPARE(QKeySequence::mnemonic(all->text()), QKeySequence(Qt::ALT | Qt::Key_L));
        all->setFocus();
        if (gestures.startsWith(QLatin1String("click"))) QTest::mouseClick(all, Qt::LeftButton);
        if (gestures.startsWith(QLatin1String("space"))) QTest::keyClick(all, Qt::Key_Space);
        if (gestures.startsWith(QLatin1String("ctrl"))) QTest::keyClick(all, 'l', Qt::ControlModifier);
        auto* overview = frame->findChild<TimetableOverview*>(QStringLiteral("frmAllTimetables"));
        QVERIFY(overview && QTest::qWaitForWindowActive(overview));
        QCOMPARE(static_cast<int>(overview->thumbnails().size()), count);
        QList<int> starred;
        for (TimetableThumbnail* t : overview->thumbnails()) {
            QCOMPARE(t->accessibleName().endsWith(QStringLiteral(", favourite")), t->favourite());
            if (t->favourite()) starred << t->position() + 1;
        }
        QCOMPARE(starred, favourites);
        TimetableThumbnail* target = overview->thumbnails()[static_cast<size_t>(picked - 1)];
        if (gestures.endsWith(QLatin1String("click"))) QTest::mouseClick(target, Qt::LeftButton);
        if (gestures.endsWith(QLatin1String("enter"))) QTest::keyClick(target, Qt::Key_Return);
        if (gestures.endsWith(QLatin1String("arrows"))) {  // from the shown timetable's picture
            QTRY_COMPARE(QApplication::focusWidget(), overview->thumbnails()[0]);
            for (int k = 1; k < picked; ++k) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
            QCOMPARE(QApplication::focusWidget(), target);
            QTest::keyClick(target, Qt::Key_Enter);
        }
        QVERIFY(!overview->isVisible());
        QCOMPARE(frame->gridView()->cell(picked - 1)->text(), QStringLiteral("T%1 - 01").arg(picked));
        QCOMPARE(frameButton(frame, "cmdGoToT")->text(), counterText(picked - 1, count));
        QVERIFY(QTest::qWaitForWindowActive(frame));
        QTest::keyClick(frame, Qt::Key_D, Qt::ControlModifier);
        QTest::mouseClick(all, Qt::LeftButton);
        QCOMPARE(overview->thumbnails()[static_cast<size_t>(picked - 1)]->favourite(), !favourites.contains(picked));
    }

    void favourites_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<Script>("script");
        QTest::addColumn<Gesture>("gesture");
        const Script markAndStep = {
            {"start", 1, "TimeTable: 1 / 5", "-NA-"}, {"next", 2, "TimeTable: 2 / 5", "PNA-"},
            {"fav", 2, "TimeTable: 2 / 5", "PNRG"},   {"last", 5, "TimeTable: 5 / 5", "P-AG"},
            {"fav", 5, "TimeTable: 5 / 5", "P-RG"},   {"first", 1, "TimeTable: 1 / 5", "-NAG"},
            {"favs", 2, "Favorite: 1 / 2", "-NRg"},   {"next", 5, "Favorite: 2 / 2", "P-Rg"},
            {"next", 5, "Favorite: 2 / 2", "P-Rg"},   {"prev", 2, "Favorite: 1 / 2", "-NRg"},
            {"last", 5, "Favorite: 2 / 2", "P-Rg"},   {"favs", 5, "TimeTable: 5 / 5", "P-RG"},
            {"prev", 4, "TimeTable: 4 / 5", "PNAG"},
        };
        const Script unmarkWhileStepping = {
            {"start", 1, "TimeTable: 1 / 5", "-NA-"}, {"fav", 1, "TimeTable: 1 / 5", "-NRG"},
            {"last", 5, "TimeTable: 5 / 5", "P-AG"},  {"fav", 5, "TimeTable: 5 / 5", "P-RG"},
            {"prev", 4, "TimeTable: 4 / 5", "PNAG"},  {"prev", 3, "TimeTable: 3 / 5", "PNAG"},
            {"fav", 3, "TimeTable: 3 / 5", "PNRG"},   {"favs", 3, "Favorite: 2 / 3", "PNRg"},
            {"fav", 5, "Favorite: 2 / 2", "P-Rg"},    {"fav", 1, "Favorite: 1 / 1", "--Rg"},
            {"fav", 1, "TimeTable: 1 / 5", "-NA-"},
        };
        const Script single = {
            {"start", 1, "TimeTable: 1 / 1", "--A-"}, {"fav", 1, "TimeTable: 1 / 1", "--RG"},
            {"favs", 1, "Favorite: 1 / 1", "--Rg"},   {"next", 1, "Favorite: 1 / 1", "--Rg"},
            {"last", 1, "Favorite: 1 / 1", "--Rg"},   {"favs", 1, "TimeTable: 1 / 1", "--RG"},
            {"fav", 1, "TimeTable: 1 / 1", "--A-"},
        };
        const std::pair<const char*, Gesture> gestures[] = {{"clicks", Gesture::Click},
                                                            {"keys in the frame", Gesture::FrameKeys},
                                                            {"keys in the grid", Gesture::GridKeys},
                                                            {"a screen reader", Gesture::ScreenReader}};
        for (const auto& [name, gesture] : gestures) {
            QTest::addRow("mark and step, %s", name) << 5 << markAndStep << gesture;
            QTest::addRow("unmark while stepping, %s", name) << 5 << unmarkWhileStepping << gesture;
            QTest::addRow("one timetable, %s", name) << 1 << single << gesture;
        }
    }
    void favourites() {
        QFETCH(int, count);
        QFETCH(Script, script);
        QFETCH(Gesture, gesture);
        storeNumbered(*state, count);
        TimeTablesMDI* frame = open();
        QVERIFY(frame);
        for (const Step& step : script) {
            const QString command = QString::fromLatin1(step.command);
            if (command != QLatin1String("start")) give(frame, gesture, command);
            const QString where = command + QStringLiteral(" to ") + QString::fromLatin1(step.counter);
            QCOMPARE(frameButton(frame, "cmdGoToT")->text(), QString::fromLatin1(step.counter));
            QVERIFY2(buttonsOf(frame) == QLatin1String(step.buttons),
                     qPrintable(where + QStringLiteral(": ") + buttonsOf(frame)));
            QCOMPARE(state->CurrentTimetable, step.shown - 1);
            QCOMPARE(frame->gridView()->cell(step.shown - 1)->text(), QStringLiteral("T%1 - 01").arg(step.shown));
            QCOMPARE(frameButton(frame, "cmdAddFav")->accessibleName(),
                     testing::shownCaption(frameButton(frame, "cmdAddFav")->text()));
        }
    }

    // Each stepping key steps on its first press, with the focus in the grid
    // or on the strip, even with the grid scrolled half-way where every key
    // could scroll it; Up and Down scroll and never step.
    void stepKeysOnFirstPress_data() {
        QTest::addColumn<bool>("inGrid");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("shown");     // from timetable 3 of 5
        QTest::addColumn<int>("scrolled");  // the scroll bar's move: -1 up, 0 none, 1 down
        const std::tuple<const char*, Qt::Key, int, int> keys[] = {
            {"Right", Qt::Key_Right, 4, 0}, {"Page Down", Qt::Key_PageDown, 4, 0},
            {"Left", Qt::Key_Left, 2, 0},   {"Page Up", Qt::Key_PageUp, 2, 0},
            {"Home", Qt::Key_Home, 1, 0},   {"End", Qt::Key_End, 5, 0},
            {"Down", Qt::Key_Down, 3, 1},   {"Up", Qt::Key_Up, 3, -1}};
        for (bool inGrid : {true, false})
            for (const auto& [name, key, shownAfter, scrolled] : keys)
                QTest::addRow("%s, focus in the %s", name, inGrid ? "grid" : "strip")
                    << inGrid << int(key) << shownAfter << scrolled;
    }
    void stepKeysOnFirstPress() {
        QFETCH(bool, inGrid);
        QFETCH(int, key);
        QFETCH(int, shown);
        QFETCH(int, scrolled);
        storeNumbered(*state, 5);
        TimeTablesMDI* frame = open();
        frame->resize(frame->width(), 600);  // shorter than the grid
        QCoreApplication::processEvents();
        QTest::mouseClick(frameButton(frame, "cmdNext"), Qt::LeftButton);
        QTest::mouseClick(frameButton(frame, "cmdNext"), Qt::LeftButton);
        QScrollBar* bar = namedChild<QScrollArea>(frame->gridView(), "gridScroll")->verticalScrollBar();
        QVERIFY(bar->maximum() > 2 * bar->singleStep());
        bar->setValue(bar->maximum() / 2);
        const int before = bar->value();
        QWidget* focus = inGrid ? frame->gridView()->client() : frameButton(frame, "cmdGoToT");
        QTest::keyClick(focus, Qt::Key(key));
        QCOMPARE(frameButton(frame, "cmdGoToT")->text(), QStringLiteral("TimeTable: %1 / 5").arg(shown));
        if (scrolled != 0) QCOMPARE((bar->value() > before) - (bar->value() < before), scrolled);
    }

    // Favourites are kept by their sections: a new generation that finds
    // the same sections again, in any order, shows them marked; one that
    // does not find them (stopped or not) keeps them, and says how many it
    // missed; a later generation that finds them marks them again.
    void favouritesAfterNewGeneration_data() {
        QTest::addColumn<QList<int>>("newSlots");  // each new timetable: the slot of storeNumbered's T<slot+1>
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<QList<int>>("marked");  // positions marked in the new results
        QTest::addColumn<QString>("note");
        const QString none;
        const QString oneMissing = QStringLiteral("1 favourite is not among these timetables");
        const QString twoMissing = QStringLiteral("2 favourites are not among these timetables");
        QTest::newRow("same timetables") << QList<int>{0, 1, 2, 3} << false << QList<int>{1, 3} << none;
        QTest::newRow("new order") << QList<int>{3, 2, 1, 0} << false << QList<int>{0, 2} << none;
        QTest::newRow("one not found") << QList<int>{0, 1, 2} << false << QList<int>{1} << oneMissing;
        QTest::newRow("neither found") << QList<int>{0, 2} << false << QList<int>{} << twoMissing;
        // Under the stopped search's own note.
        const QString stopped = SearchStoppedNote + QLatin1Char('\n');
        QTest::newRow("one not met by a stopped search")
            << QList<int>{0, 1, 2} << true << QList<int>{1} << stopped + oneMissing;
        QTest::newRow("none met by a stopped search") << QList<int>{0} << true << QList<int>{} << stopped + twoMissing;
    }
    void favouritesAfterNewGeneration() {
        QFETCH(QList<int>, newSlots);
        QFETCH(bool, stopped);
        QFETCH(QList<int>, marked);
        QFETCH(QString, note);
        storeNumbered(*state, 4);
        TimeTablesMDI* frame = open();
        QTest::mouseClick(frameButton(frame, "cmdNext"), Qt::LeftButton);
        QTest::mouseClick(frameButton(frame, "cmdAddFav"), Qt::LeftButton);  // T2
        QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_End);
        QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_D, Qt::ControlModifier);  // T4
        QCOMPARE(int(state->NumFavourites), 2);
        QVERIFY(frameLabel(frame, "lblNote")->isHidden());

        const auto generate = [&](const QList<int>& slotList) {
            ModuleState fresh;
            for (int slot : slotList) {
                const std::string name = "T" + std::to_string(slot + 1);
                store(fresh, timetable({section(name.c_str(), "01", slot, slot + 1, {0})}));
            }
            std::copy(fresh.Timetables.begin(), fresh.Timetables.end(), state->Timetables.begin());
            state->NumTimetables = fresh.NumTimetables;
        };
        const auto markedPositions = [&] {
            QList<int> seen;
            for (int p = 0; p < state->NumTimetables; ++p) {
                if (frameButton(frame, "cmdAddFav")->text() == RemoveFromFavoritesCaption) seen << p;
                QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_Right);
            }
            return seen;
        };
        generate(newSlots);
        frame = open(stopped);
        QCOMPARE(int(state->NumFavourites), 2);
        QLabel* label = frameLabel(frame, "lblNote");
        QCOMPARE(label->isHidden() ? QString() : label->text(), note);
        QCOMPARE(markedPositions(), marked);
        QCOMPARE(frameButton(frame, "cmdGotofav")->isEnabled(), !marked.isEmpty());
        if (!marked.isEmpty()) {
            QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_Home);
            QTest::mouseClick(frameButton(frame, "cmdGotofav"), Qt::LeftButton);
            QCOMPARE(frameButton(frame, "cmdGoToT")->text(), QStringLiteral("Favorite: 1 / %1").arg(marked.size()));
            QCOMPARE(state->CurrentTimetable, marked.front());
        }

        // The first timetables found again: both marked, no note.
        generate({0, 1, 2, 3});
        frame = open();
        QVERIFY(frameLabel(frame, "lblNote")->isHidden());
        QCOMPARE(markedPositions(), (QList<int>{1, 3}));
    }

    // Each occupied cell is filled with its course's colour on every step,
    // as painted on screen, and nothing of the timetable before is left.
    void fillsFollowTheCourse() {
        const QList<Timetable> tables = {coursesAt({0, 4, 8}), coursesAt({2, 6, 10}), coursesAt({1, 5, 12})};
        for (const Timetable& t : tables) store(*state, t);
        TimeTablesMDI* frame = open();
        for (int k = 0; k < tables.size(); ++k) {
            if (k > 0) QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_Right);
            frmTimetables* grid = frame->gridView();
            const QImage painted = grid->client()->grab().toImage();
            for (int c = 0; c < CellsPerWeek; ++c) {
                int course = -1;
                for (int i = 0; i < 3; ++i) {
                    const Section& s = tables[k].Sections[static_cast<size_t>(i)];
                    if ((c / 29 == 0 || c / 29 == 3) && c % 29 == s.StartSlot) course = i;
                }
                const QColor expected = course < 0 ? QColor() : courseColours(course).fill;
                QCOMPARE(grid->cellFill(c), expected);
                // The fill as painted, beside the centred caption.
                const QRect cell = grid->cell(c)->geometry();
                const QColor pixel = painted.pixelColor(cell.left() + 3, cell.top() + 2);
                QVERIFY2((pixel == expected) == (course >= 0), qPrintable(QStringLiteral("cell %1").arg(c)));
                // The grid line under the cell's right edge still shows.
                QVERIFY2(qGray(painted.pixel(cell.right(), cell.top() + 2)) < 128,
                         qPrintable(QStringLiteral("cell %1").arg(c)));
            }
        }
    }

    // A caption too wide for its cell is shortened there, and whole in the
    // tooltip and the spoken name.
    void longCaptionWholeInTooltip() {
        store(*state, fiveCourses());
        store(*state, timetable({section("<b>Bold</b> & Co", "1", 0, 1, {0})}));
        TimeTablesMDI* frame = open();
        QLabel* cell = frame->gridView()->cell(2);
        QVERIFY2(cell->text().startsWith(QStringLiteral("Organ")), qPrintable(cell->text()));
        QVERIFY2(cell->text().contains(QStringLiteral("\u2026")) && cell->text().endsWith(QStringLiteral("II - H1")),
                 qPrintable(cell->text()));
        QVERIFY(cell->toolTip().contains(QStringLiteral("Organic Chemistry II - H1")));
        QVERIFY(cell->accessibleName().endsWith(QStringLiteral(": Organic Chemistry II - H1")));
        QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_End);
        QVERIFY(frame->gridView()->cell(0)->toolTip().contains(QStringLiteral("&lt;b&gt;Bold&lt;/b&gt; &amp; Co")));
    }

    // The printed page, through the print path to a PDF file: it holds the
    // counter and every caption whole.
    void printedPageHoldsEveryCaption_data() {
        QTest::addColumn<Gesture>("gesture");
        QTest::newRow("Ctrl+P in the grid") << Gesture::GridKeys;
        QTest::newRow("Print… clicked") << Gesture::Click;
    }
    void printedPageHoldsEveryCaption() {
        QFETCH(Gesture, gesture);
        QTemporaryDir dir;
        dialogs.printTo = dir.filePath(QStringLiteral("printed.pdf"));
        storeNumbered(*state, 1);
        store(*state, fiveCourses());
        TimeTablesMDI* frame = open();
        QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_Right);
        if (gesture == Gesture::Click)
            QTest::mouseClick(frameButton(frame, "cmdPrint"), Qt::LeftButton);
        else
            QTest::keyClick(frame->gridView()->client(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(dialogs.asked, 1);
        QVERIFY(dialogs.messages.isEmpty());
        if (qEnvironmentVariableIsSet("KEEP_PDF")) QFile::copy(dialogs.printTo, QStringLiteral("/tmp/x/printed.pdf"));
        const QString text = pdfText(dialogs.printTo);
        QVERIFY2(text.contains(QStringLiteral("TimeTable: 2 / 2")), qPrintable(text));
        for (const QString& caption : FiveCaptions) QVERIFY2(text.contains(caption), qPrintable(caption));
        QVERIFY2(text.contains(QStringLiteral("Monday")) && text.contains(QStringLiteral("2200")), qPrintable(text));
        // Cancelling the print dialog prints nothing.
        QVERIFY(QFile::remove(dialogs.printTo));
        dialogs.printTo.clear();
        QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("printed.pdf"))));
    }

    // A lecture with its lab: the grid, the printed page, the PNG and the
    // calendar show both its times.
    void lectureWithLabEverywhere() {
        QTemporaryDir dir;
        // Chem 01: M W F 9:00-10:00 and Tuesday 14:00-17:00; Bio beside it.
        store(*state, timetable({withMeeting(section("Chem", "01", 2, 4, {0, 2, 4}), 12, 18, 0b10),
                                 section("Bio", "3", 12, 14, {0})}));
        TimeTablesMDI* frame = open();
        const int lab = 29 + 12;  // Tuesday 14:00
        for (int cell : {2, 3, 2 * 29 + 2, 4 * 29 + 3, lab, lab + 5})
            QVERIFY2(frame->gridView()->cell(cell)->toolTip().contains(QStringLiteral("Chem - 01")),
                     qPrintable(QString::number(cell)));
        QVERIFY(frame->gridView()->cell(29 + 2)->text().isEmpty());   // no lecture on Tuesday
        QVERIFY(frame->gridView()->cell(lab + 6)->text().isEmpty());  // the lab ends at 17:00
        QVERIFY(frame->gridView()->cell(12)->toolTip().contains(QStringLiteral("Bio - 3")));

        dialogs.printTo = dir.filePath(QStringLiteral("printed.pdf"));
        QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_P, Qt::ControlModifier);
        // (pdftotext gives runs of blanks as one.)
        const QString printed = pdfText(dialogs.printTo).simplified();
        QVERIFY2(printed.contains(QStringLiteral("Chem - 01 M W F 9:00 - 10:00, T 14:00 - 17:00")),
                 qPrintable(printed));
        QVERIFY2(printed.contains(QStringLiteral("Bio - 3 M 14:00 - 15:00")), qPrintable(printed));

        dialogs.target = {dir.filePath(QStringLiteral("t.png")), ExportKind::Png};
        QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_E, Qt::ControlModifier);
        const QImage image(dialogs.target.path, "PNG");
        const QRect cell = frame->gridView()->cell(lab + 2)->geometry();
        QCOMPARE(image.pixelColor((8 + cell.left() + 3) * 2, (24 + cell.top() + 2) * 2), courseColours(0).fill);

        // Two weeks from Monday: 3 lecture days and the lab each twice, and
        // Bio's Monday twice; one weekly event per time and day.
        dialogs.target = {dir.filePath(QStringLiteral("t.ics")), ExportKind::Calendar};
        dialogs.term = Term{2027y / March / 1, 2027y / March / 14};
        QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_E, Qt::ControlModifier);
        QFile ics(dialogs.target.path);
        QVERIFY(ics.open(QIODevice::ReadOnly));
        const QByteArray events = ics.readAll();
        QCOMPARE(events.count("BEGIN:VEVENT"), 3 + 1 + 1);
        QVERIFY(events.contains("DTSTART:20270302T140000"));
        QVERIFY(events.contains("DTEND:20270302T170000"));
        QVERIFY(dialogs.messages.isEmpty());
    }

    // The name the print and save dialogs propose is also the PDF's title:
    // plain words, never the counter's "/" (a folder in a file name) or ":".
    void proposedNames_data() {
        QTest::addColumn<int>("rightPresses");
        QTest::addColumn<bool>("favouritesView");  // "Favorite: 1 / 1" on the counter
        QTest::addColumn<QString>("name");
        QTest::newRow("first") << 0 << false << QStringLiteral("Timetable 1 of 12");
        QTest::newRow("last") << 11 << false << QStringLiteral("Timetable 12 of 12");
        QTest::newRow("among the favourites") << 9 << true << QStringLiteral("Timetable 10 of 12");
    }
    void proposedNames() {
        QFETCH(int, rightPresses);
        QFETCH(bool, favouritesView);
        QFETCH(QString, name);
        QTemporaryDir dir;
        storeNumbered(*state, 12);
        TimeTablesMDI* frame = open();
        QWidget* keys = frameButton(frame, "cmdOk");
        for (int i = 0; i < rightPresses; ++i) QTest::keyClick(keys, Qt::Key_Right);
        if (favouritesView) {
            QTest::keyClick(keys, Qt::Key_D, Qt::ControlModifier);
            QTest::mouseClick(frameButton(frame, "cmdGotofav"), Qt::LeftButton);
            QCOMPARE(frameButton(frame, "cmdGoToT")->text(), QStringLiteral("Favorite: 1 / 1"));
        }
        dialogs.printTo = dir.filePath(QStringLiteral("printed.pdf"));
        const QString exported = dir.filePath(QStringLiteral("exported.pdf"));
        dialogs.target = {exported, ExportKind::Pdf};
        QTest::keyClick(keys, Qt::Key_P, Qt::ControlModifier);
        QTest::keyClick(keys, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(dialogs.printDocName, name);
        QCOMPARE(dialogs.suggestedName, name);
        QCOMPARE(pdfTitle(dialogs.printTo), name);
        QCOMPARE(pdfTitle(exported), name);
    }

    void exports_data() {
        QTest::addColumn<ExportKind>("kind");
        QTest::addColumn<QString>("name");  // "" cancels the save dialog
        QTest::addColumn<bool>("giveTerm");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("message");  // the start of the one message expected
        QTest::newRow("PDF") << ExportKind::Pdf << "t.pdf" << false << true << QString();
        QTest::newRow("PNG") << ExportKind::Png << "t.png" << false << true << QString();
        QTest::newRow("calendar") << ExportKind::Calendar << "t.ics" << true << true << QString();
        QTest::newRow("calendar, term cancelled") << ExportKind::Calendar << "t.ics" << false << false << QString();
        QTest::newRow("save dialog cancelled") << ExportKind::Pdf << "" << false << false << QString();
        QTest::newRow("folder gone") << ExportKind::Png << "gone/t.png" << false << false
                                     << QStringLiteral("The timetable could not be saved to");
        QTest::newRow("calendar, folder gone") << ExportKind::Calendar << "gone/t.ics" << true << false
                                               << QStringLiteral("The timetable could not be saved to");
    }
    void exports() {
        QFETCH(ExportKind, kind);
        QFETCH(QString, name);
        QFETCH(bool, giveTerm);
        QFETCH(bool, written);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = name.isEmpty() ? QString() : dir.filePath(name);
        dialogs.target = {path, kind};
        // Three Mondays, two Wednesdays and two Fridays: Math meets M W F.
        if (giveTerm) dialogs.term = Term{2027y / March / 1, 2027y / March / 15};
        store(*state, fiveCourses());
        TimeTablesMDI* frame = open();
        QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(dialogs.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(dialogs.messages.front().startsWith(message), qPrintable(dialogs.messages.front()));
        QCOMPARE(!path.isEmpty() && QFile::exists(path), written);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), written ? 1 : 0);
        if (!written) return;
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (kind == ExportKind::Pdf) {
            QVERIFY(bytes.startsWith("%PDF"));
            const QString text = pdfText(path);
            for (const QString& caption : FiveCaptions) QVERIFY2(text.contains(caption), qPrintable(caption));
        } else if (kind == ExportKind::Png) {
            const QImage image = QImage::fromData(bytes, "PNG");
            const TimetablePage page(*state, frameButton(frame, "cmdGoToT")->text());
            QCOMPARE(image.size(), page.naturalSize() * 2);
            // Math's first cell, Monday 10:30, at twice its screen position
            // on the page (grid 8 px in, below a 24 px title).
            const QRect cell = frame->gridView()->cell(5)->geometry();
            QCOMPARE(image.pixelColor((8 + cell.left() + 3) * 2, (24 + cell.top() + 2) * 2), courseColours(1).fill);
            // Each section line below the grid starts with its course's
            // swatch: 10 px squares, 16 px apart, 8 px below the grid.
            for (int line = 0; line < 5; ++line) {
                const QPoint swatch(8 + 5, 24 + frame->gridView()->client()->height() + 8 + line * 16 + 8);
                QCOMPARE(image.pixelColor(swatch * 2), courseColours(line).fill);
            }
        } else {
            // One weekly event per section and day that falls in the term.
            QCOMPARE(bytes.count("BEGIN:VEVENT"), 2 + 3 + 1 + 1 + 1);
            QVERIFY(bytes.contains("SUMMARY:Organic Chemistry II - H1"));
            QVERIFY(bytes.contains("RRULE:FREQ=WEEKLY;UNTIL=20270315T090000"));
        }
    }
};

QTEST_MAIN(TestResultsCommands)
#include "test_results_commands.moc"
