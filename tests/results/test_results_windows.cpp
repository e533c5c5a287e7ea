// The results viewer driven as a user would: timetables stored in the state,
// the presenter opens the results, the tests click "Next", "Previous" and
// "OK" and read what the windows show.

#include <QAccessible>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <memory>
#include <set>

#include "gui_actions.h"
#include "named_controls.h"
#include "results_fixture.h"
#include "results_frame.h"
#include "results_windows.h"
#include "timetable_grid_view.h"
#include "week.h"

Q_DECLARE_METATYPE(quorvandel::Timetable)

using namespace quorvandel;
using namespace quorvandel::testing;

namespace {

// Every visible results frame on screen.
QList<QWidget*> visibleFrames() {
    QList<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("TimeTablesMDI") && w->isVisible()) out << w;
    return out;
}

bool accessibleTreeHolds(QObject* root, QObject* wanted) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(root);
    std::function<bool(QAccessibleInterface*)> holds = [&](QAccessibleInterface* i) {
        if (i == nullptr) return false;
        if (i->object() == wanted) return true;
        for (int k = 0; k < i->childCount(); ++k)
            if (holds(i->child(k))) return true;
        return false;
    };
    return holds(iface);
}

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QString counter(const ResultsWindows& p) { return p.frame()->findChild<QPushButton*>("cmdGoToT")->text(); }

QPushButton* button(const ResultsWindows& p, const char* name) {
    auto* b = p.frame()->findChild<QPushButton*>(QString::fromLatin1(name));
    if (!b) qFatal("no button %s", name);
    return b;
}

// The texts of all 203 cells of the loaded grid, found by name.
QStringList cellTexts(const ResultsWindows& p) {
    QStringList out;
    for (int i = 0; i < CellsPerWeek; ++i) {
        auto* cell = p.frame()->findChild<QLabel*>(QStringLiteral("lblarrDays_%1").arg(i));
        out << (cell ? cell->text() : QStringLiteral("<missing>"));
    }
    return out;
}

int gridViewCount(const ResultsWindows& p) {
    return static_cast<int>(p.frame()->findChildren<frmTimetables*>().size());
}

// The frame opens at its designed width, 1038 pixels, on a screen with room
// for it and its borders; on a narrower one (1024 pixels) it opens narrower,
// wholly on the screen.
void designedWidthWhereItFits(const QWidget* frame) {
    const QRect available = frame->screen()->availableGeometry();
    if (available.width() >= 1038 + 16) {
        QCOMPARE(frame->width(), 1038);
    } else {
        QVERIFY2(frame->width() <= available.width() - 16, qPrintable(QString::number(frame->width())));
        QVERIFY(frame->x() >= available.left() && frame->x() + frame->width() <= available.right());
    }
}

// A window manager answers a resize or a maximise in its own time, and may
// answer with another size: waits until the size holds.
void waitForSteadySize(const QWidget* window) {
    for (QSize last; last != window->size(); QTest::qWait(150)) last = window->size();
}

}  // namespace

class TestResultsWindows : public QObject {
    Q_OBJECT

private slots:
    void init() {
        state = std::make_unique<ModuleState>();
        presenter = std::make_unique<ResultsWindows>(*state);
    }
    void cleanup() {
        presenter.reset();
        flushDeletes();
        QVERIFY(visibleFrames().isEmpty());
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void opensOnFirstTimetable() {
        storeNumbered(*state, 4);
        state->CurrentTimetable = 3;  // left over from an earlier viewing
        presenter->showResults(shown());
        QVERIFY(presenter->resultsOpen());
        QCOMPARE(visibleFrames().size(), 1);
        QCOMPARE(presenter->frame()->windowTitle(), QStringLiteral("The Results of your Timetablification"));
        QCOMPARE(presenter->gridView()->windowTitle(), QStringLiteral("TimeTables"));
        QVERIFY(presenter->gridView()->isVisible());
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 1 / 4"));
        QCOMPARE(state->CurrentTimetable, 0);
        QCOMPARE(cellTexts(*presenter).at(0), QStringLiteral("T1 - 01"));
        QVERIFY(!presenter->frame()->isModal());
        QVERIFY(!frameLabel(presenter->frame(), "lblNote")->isVisible());
    }

    // Stepping with "Next" to the end and with "Previous" back to the start:
    // the counter, the enabled states and the painted timetable follow.
    void stepsThroughAll_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("one") << 1;
        QTest::newRow("two") << 2;
        QTest::newRow("three") << 3;
        QTest::newRow("twenty-six, the most stored") << int(MaxStoredTimetables);
    }
    void stepsThroughAll() {
        QFETCH(int, count);
        storeNumbered(*state, count);
        presenter->showResults(shown());

        auto check = [&](int position) {
            QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: %1 / %2").arg(position).arg(count));
            QCOMPARE(state->CurrentTimetable, position - 1);
            QCOMPARE(button(*presenter, "cmdPrev")->isEnabled(), position > 1);
            QCOMPARE(button(*presenter, "cmdNext")->isEnabled(), position < count);
            // Nothing is marked: any timetable can be, none can be gone to.
            QVERIFY(button(*presenter, "cmdAddFav")->isEnabled());
            QVERIFY(!button(*presenter, "cmdGotofav")->isEnabled());
            QVERIFY(button(*presenter, "cmdAddFav")->isVisible());
            QVERIFY(button(*presenter, "cmdGotofav")->isVisible());
            QCOMPARE(gridViewCount(*presenter), 1);
            // Only timetable `position` is painted: its one cell, nothing else.
            const QStringList texts = cellTexts(*presenter);
            for (int i = 0; i < CellsPerWeek; ++i)
                QCOMPARE(texts.at(i), i == position - 1 ? QStringLiteral("T%1 - 01").arg(position) : QString());
        };

        check(1);
        for (int position = 2; position <= count; ++position) {
            QTest::mouseClick(button(*presenter, "cmdNext"), Qt::LeftButton);
            check(position);
        }
        // "Next" is disabled at the last one: clicking it changes nothing.
        QTest::mouseClick(button(*presenter, "cmdNext"), Qt::LeftButton);
        check(count);
        for (int position = count - 1; position >= 1; --position) {
            QTest::mouseClick(button(*presenter, "cmdPrev"), Qt::LeftButton);
            check(position);
        }
        QTest::mouseClick(button(*presenter, "cmdPrev"), Qt::LeftButton);
        check(1);
    }

    void twoOfThreeToThreeAndBack() {
        storeNumbered(*state, 3);
        presenter->showResults(shown());
        QTest::mouseClick(button(*presenter, "cmdNext"), Qt::LeftButton);
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 2 / 3"));
        QVERIFY(button(*presenter, "cmdPrev")->isEnabled());
        QVERIFY(button(*presenter, "cmdNext")->isEnabled());
        QTest::mouseClick(button(*presenter, "cmdNext"), Qt::LeftButton);
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 3 / 3"));
        QVERIFY(!button(*presenter, "cmdNext")->isEnabled());
        QVERIFY(button(*presenter, "cmdPrev")->isEnabled());
        QTest::mouseClick(button(*presenter, "cmdPrev"), Qt::LeftButton);
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 2 / 3"));
        QVERIFY(button(*presenter, "cmdPrev")->isEnabled());
        QVERIFY(button(*presenter, "cmdNext")->isEnabled());
    }

    void counterNeverShowsDesignCaption() {
        storeNumbered(*state, 2);
        presenter->showResults(shown());
        QVERIFY(counter(*presenter) != QStringLiteral("Null / Null"));
        QTest::mouseClick(button(*presenter, "cmdGoToT"), Qt::LeftButton);  // does nothing
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 1 / 2"));
        QCOMPARE(state->CurrentTimetable, 0);
    }

    // The cells a timetable's sections cover read CourseName - SecNum; all
    // other cells stay blank.
    void paintsCoveredCells_data() {
        QTest::addColumn<Timetable>("table");
        QTest::addColumn<QList<int>>("cells");
        QTest::addColumn<QString>("text");
        QTest::newRow("Chem 02, 9:00-10:30 Mon+Wed") << timetable({section("Chem", "02", 2, 5, {0, 2})})
                                                     << QList<int>{2, 3, 4, 60, 61, 62} << QStringLiteral("Chem - 02");
        QTest::newRow("08:00-08:30 Monday")
            << timetable({section("Bio", "1", 0, 1, {0})}) << QList<int>{0} << QStringLiteral("Bio - 1");
        QTest::newRow("08:00-08:30 Sunday")
            << timetable({section("Bio", "1", 0, 1, {6})}) << QList<int>{174} << QStringLiteral("Bio - 1");
        QTest::newRow("21:00-22:30 Sunday, ends at 22:30")
            << timetable({section("Art", "7", 26, 29, {6})}) << QList<int>{200, 201, 202} << QStringLiteral("Art - 7");
        QTest::newRow("single half-hour on Tue, Thu, Sat") << timetable({section("Gym", "3", 10, 11, {1, 3, 5})})
                                                           << QList<int>{39, 97, 155} << QStringLiteral("Gym - 3");
        QList<int> all;
        for (int i = 0; i < CellsPerWeek; ++i) all << i;
        QTest::newRow("08:00-22:30 every day")
            << timetable({section("Long", "9", 0, 29, {0, 1, 2, 3, 4, 5, 6})}) << all << QStringLiteral("Long - 9");
        QTest::newRow("texts as stored, blanks kept")
            << timetable({section(" Chem ", "02 ", 2, 3, {4})}) << QList<int>{118} << QStringLiteral(" Chem  - 02 ");
    }
    void paintsCoveredCells() {
        QFETCH(Timetable, table);
        QFETCH(QList<int>, cells);
        QFETCH(QString, text);
        store(*state, table);
        presenter->showResults(shown());
        const QStringList texts = cellTexts(*presenter);
        const std::set<int> covered(cells.begin(), cells.end());
        for (int i = 0; i < CellsPerWeek; ++i) {
            if (covered.count(i))
                QCOMPARE(texts.at(i), text);
            else
                QVERIFY2(texts.at(i).isEmpty(), qPrintable(QStringLiteral("cell %1 reads %2").arg(i).arg(texts.at(i))));
        }
    }

    void paintsEverySectionWithItsOwnText() {
        store(*state, timetable({section("Chem", "02", 2, 5, {0, 2}), section("Math", "11", 0, 2, {0, 4}),
                                 section("Hist", "A", 28, 29, {6})}));
        presenter->showResults(shown());
        const QStringList texts = cellTexts(*presenter);
        QCOMPARE(texts.at(2), QStringLiteral("Chem - 02"));
        QCOMPARE(texts.at(0), QStringLiteral("Math - 11"));
        QCOMPARE(texts.at(1), QStringLiteral("Math - 11"));
        QCOMPARE(texts.at(116), QStringLiteral("Math - 11"));
        QCOMPARE(texts.at(117), QStringLiteral("Math - 11"));
        QCOMPARE(texts.at(202), QStringLiteral("Hist - A"));
        QCOMPARE(texts.count(QString()), CellsPerWeek - 6 - 4 - 1);
    }

    void emptyTimetableShowsBlankGrid() {
        store(*state, Timetable{});
        presenter->showResults(shown());
        QCOMPARE(cellTexts(*presenter).count(QString()), CellsPerWeek);
        QWidget* client = presenter->gridView()->client();
        QCOMPARE(client->findChild<QLabel*>("lblWednesday")->text(), QStringLiteral("Wednesday"));
        QCOMPARE(client->findChild<QLabel*>("Label29")->text(), QStringLiteral("2200"));
        QCOMPARE(client->findChildren<QFrame*>(QRegularExpression("^Line1_\\d+$")).size(), 29);
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 1 / 1"));
    }

    // A text wider than its cell is shortened in the name, keeps " - " and
    // the number, and neither the cell nor the window grows.
    void longTextIsShortenedInTheName() {
        const char* longName = "Introduction to Comparative Literature";
        store(*state, timetable({section(longName, "101", 4, 5, {3})}));
        presenter->showResults(shown());
        QLabel* cell = presenter->gridView()->cell(91);
        const QString expected = QString::fromLatin1(longName) + QStringLiteral(" - 101");
        QVERIFY2(cell->text().startsWith(QStringLiteral("Intr")) && cell->text().contains(QStringLiteral("\u2026")) &&
                     cell->text().endsWith(QStringLiteral("ure - 101")),
                 qPrintable(cell->text()));
        QVERIFY(cell->fontMetrics().horizontalAdvance(cell->text()) <= cell->width());
        QVERIFY(cell->toolTip().contains(expected));
        QCOMPARE(cell->geometry(), QRect(328, 128, 97, 17));
        QCOMPARE(presenter->gridView()->client()->size(), QSize(717, 725));
        QVERIFY(!cell->wordWrap());
        designedWidthWhereItFits(presenter->frame());
    }

    // The grid window cannot be closed alone (it has no buttons, and a close
    // by any other route is refused), so the frame never stands empty; it
    // goes with the frame.
    void closingOnlyTheGridViewIsRefused() {
        storeNumbered(*state, 3);
        presenter->showResults(shown());
        frmTimetables* grid = presenter->gridView();
        QVERIFY(!(grid->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint)));
        QVERIFY(!grid->close());
        flushDeletes();
        QVERIFY(presenter->resultsOpen());
        QCOMPARE(presenter->gridView(), grid);
        QVERIFY(grid->isVisible());
        QCOMPARE(gridViewCount(*presenter), 1);

        QTest::mouseClick(button(*presenter, "cmdNext"), Qt::LeftButton);
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 2 / 3"));
        QCOMPARE(gridViewCount(*presenter), 1);
        QCOMPARE(cellTexts(*presenter).at(1), QStringLiteral("T2 - 01"));
        QCOMPARE(cellTexts(*presenter).at(0), QString());
    }

    void okClosesBothAndReturnsToMain() {
        storeNumbered(*state, 3);
        presenter->showResults(shown());
        QTest::mouseClick(button(*presenter, "cmdNext"), Qt::LeftButton);
        QSignalSpy returned(presenter.get(), &ResultsWindows::userReturnedToMain);
        QPointer<TimeTablesMDI> frame = presenter->frame();
        QPointer<frmTimetables> grid = presenter->gridView();
        QTest::mouseClick(button(*presenter, "cmdOk"), Qt::LeftButton);
        QCOMPARE(returned.size(), 1);
        QVERIFY(!presenter->resultsOpen());
        QVERIFY(!presenter->frame());
        QVERIFY(grid.isNull());
        flushDeletes();
        QVERIFY(frame.isNull());
        QVERIFY(visibleFrames().isEmpty());
        // The stored timetables and the position stay as they were.
        QCOMPARE(state->CurrentTimetable, 1);
        QCOMPARE(state->NumTimetables, 3);

        // A later generation opens the results again at TimeTable: 1 / n.
        presenter->showResults(shown());
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 1 / 3"));
    }

    void closingTheFrameClosesTheGridView() {
        storeNumbered(*state, 2);
        presenter->showResults(shown());
        QSignalSpy returned(presenter.get(), &ResultsWindows::userReturnedToMain);
        QPointer<frmTimetables> grid = presenter->gridView();
        QVERIFY(presenter->frame()->close());  // the frame's own close button
        QCOMPARE(returned.size(), 1);
        QVERIFY(!presenter->resultsOpen());
        flushDeletes();
        QVERIFY(grid.isNull());
        QVERIFY(visibleFrames().isEmpty());
    }

    // A new generation while the results are open replaces them by its own,
    // at TimeTable: 1 / n, or closes them when it stored none.
    void newGenerationReplacesOpenResults() {
        storeNumbered(*state, 5);
        presenter->showResults(shown());
        for (int i = 0; i < 3; ++i) QTest::mouseClick(button(*presenter, "cmdNext"), Qt::LeftButton);
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 4 / 5"));
        QPointer<TimeTablesMDI> oldFrame = presenter->frame();
        QSignalSpy returned(presenter.get(), &ResultsWindows::userReturnedToMain);

        // What "TimeTablify!" leaves: counters reset, two new timetables.
        state->NumTimetables = 0;
        state->CurrentTimetable = 0;
        store(*state, timetable({section("New", "A", 6, 7, {1})}));
        store(*state, timetable({section("New", "B", 7, 8, {1})}));
        presenter->showResults(shown());
        flushDeletes();
        QVERIFY(oldFrame.isNull());
        QCOMPARE(visibleFrames().size(), 1);
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 1 / 2"));
        QVERIFY(!button(*presenter, "cmdPrev")->isEnabled());
        QVERIFY(button(*presenter, "cmdNext")->isEnabled());
        const QStringList texts = cellTexts(*presenter);
        QCOMPARE(texts.at(35), QStringLiteral("New - A"));
        QCOMPARE(texts.count(QString()), CellsPerWeek - 1);
        QTest::mouseClick(button(*presenter, "cmdNext"), Qt::LeftButton);
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 2 / 2"));
        QVERIFY(!button(*presenter, "cmdNext")->isEnabled());

        // A generation that stores none closes the results.
        state->NumTimetables = 0;
        state->CurrentTimetable = 0;
        GenerationResult none;
        none.outcome = TimeTablifyOutcome::NoTimetables;
        presenter->showResults(none);
        flushDeletes();
        QVERIFY(!presenter->resultsOpen());
        QVERIFY(visibleFrames().isEmpty());
        QCOMPARE(returned.size(), 0);  // closed by the program, not the user
    }

    void closeResultsClosesAndIsHarmlessWhenClosed() {
        presenter->closeResults();  // none open
        QVERIFY(!presenter->resultsOpen());
        storeNumbered(*state, 2);
        presenter->showResults(shown());
        QSignalSpy returned(presenter.get(), &ResultsWindows::userReturnedToMain);
        presenter->closeResults();
        QVERIFY(!presenter->resultsOpen());
        QVERIFY(!presenter->frame());
        flushDeletes();
        QVERIFY(visibleFrames().isEmpty());
        QCOMPARE(returned.size(), 0);
        presenter->closeResults();
    }

    void destroyingThePresenterClosesTheResults() {
        storeNumbered(*state, 2);
        presenter->showResults(shown());
        QPointer<TimeTablesMDI> frame = presenter->frame();
        presenter.reset();
        QVERIFY(frame.isNull());
    }

    // The notes say when not every timetable is on offer; the counter text
    // itself is unchanged. At any width down to the strip's narrowest they
    // are whole: beside the counter where they fit, else on a line of
    // their own under the buttons, wrapped, the strip grown to hold them.
    void noteBesideCounter_data() {
        QTest::addColumn<bool>("moreThanStored");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<bool>("ranked");
        QTest::addColumn<QString>("note");
        QTest::newRow("all found") << false << false << false << QString();
        QTest::newRow("more than 26") << true << false << false << MoreThanStoredNote;
        QTest::newRow("search stopped") << false << true << false << SearchStoppedNote;
        QTest::newRow("ranked search stopped") << false << true << true << RankedStoppedNote;
        QTest::newRow("ranked, more than 26") << true << false << true << RankedMoreNote;
    }
    void noteBesideCounter() {
        QFETCH(bool, moreThanStored);
        QFETCH(bool, stopped);
        QFETCH(bool, ranked);
        QFETCH(QString, note);
        storeNumbered(*state, MaxStoredTimetables);
        GenerationResult result = shown(moreThanStored, stopped);
        if (ranked) result.options.primary = ResultOrder::LatestStart;
        presenter->showResults(result);
        TimeTablesMDI* frame = presenter->frame();
        QLabel* label = frameLabel(frame, "lblNote");
        QCOMPARE(label->isVisible(), !note.isEmpty());
        QCOMPARE(label->text(), note);
        QCOMPARE(label->toolTip().isEmpty(), note.isEmpty());
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 1 / 26"));
        designedWidthWhereItFits(frame);
        QToolBar* strip = frameToolbar(frame);
        const QWidget* stripArea = label->parentWidget();
        for (int width : {1038, 1008, 800, 600}) {
            frame->resize(width, frame->height());
            QCoreApplication::processEvents();
            const QString at = QStringLiteral("at %1 px").arg(frame->width());
            if (note.isEmpty()) {
                QCOMPARE(strip->height(), 42);
                continue;
            }
            const QRect whole =
                label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 100000), Qt::TextWordWrap, note);
            QVERIFY2(whole.height() <= label->height(), qPrintable(at));
            QVERIFY2(QRect(QPoint(0, 0), stripArea->size()).contains(label->geometry()), qPrintable(at));
            QVERIFY2(stripArea->rect().bottom() < strip->height(), qPrintable(at));
            const bool beside = label->geometry().left() > button(*presenter, "cmdExport")->geometry().right();
            QVERIFY2(beside || label->geometry().top() >= 42, qPrintable(at));
            QVERIFY2(label->geometry().right() < frame->width(), qPrintable(at));
            QLabel* score = frameLabel(frame, "lblScore");
            if (ranked) QVERIFY2(!score->geometry().intersects(label->geometry()), qPrintable(at));
        }
        // It stays while stepping.
        QTest::mouseClick(button(*presenter, "cmdNext"), Qt::LeftButton);
        QCOMPARE(label->text(), note);
    }

    // Positions in logical pixels (twips / 15) inside the grid's client area.
    void gridGeometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("cell 0") << "lblarrDays_0" << QRect(40, 32, 97, 17);
        QTest::newRow("cell 28") << "lblarrDays_28" << QRect(40, 704, 97, 17);
        QTest::newRow("cell 29") << "lblarrDays_29" << QRect(136, 32, 97, 17);
        QTest::newRow("cell 202") << "lblarrDays_202" << QRect(616, 704, 97, 17);
        QTest::newRow("Monday") << "lblMonday" << QRect(48, 8, 81, 17);
        QTest::newRow("Thursday") << "lblThursday" << QRect(336, 8, 81, 17);
        QTest::newRow("Sunday") << "lblSunday" << QRect(624, 8, 81, 17);
        QTest::newRow("Label1") << "Label1" << QRect(-16, 32, 49, 17);
        QTest::newRow("Label4") << "Label4" << QRect(-16, 104, 49, 17);
        QTest::newRow("Label5") << "Label5" << QRect(-8, 128, 41, 17);
        QTest::newRow("Label23") << "Label23" << QRect(-8, 560, 41, 17);
        QTest::newRow("Label24") << "Label24" << QRect(-16, 584, 49, 17);
        QTest::newRow("Label29") << "Label29" << QRect(-16, 704, 49, 17);
        QTest::newRow("Line1 0") << "Line1_0" << QRect(0, 48, 712, 1);
        QTest::newRow("Line1 28") << "Line1_28" << QRect(0, 720, 712, 1);
        QTest::newRow("Line6") << "Line6" << QRect(40, -8, 1, 728);
        QTest::newRow("Line5") << "Line5" << QRect(136, -8, 1, 728);
        QTest::newRow("Line9") << "Line9" << QRect(424, -8, 1, 728);
        QTest::newRow("Line12") << "Line12" << QRect(712, -8, 1, 728);
    }
    void gridGeometry() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        storeNumbered(*state, 1);
        presenter->showResults(shown());
        QWidget* client = presenter->gridView()->client();
        auto* w = client->findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->parentWidget(), client);
        QCOMPARE(w->geometry(), rect);
    }

    // The grid fills the frame it is given beyond the designed size,
    // columns and rows sharing the room evenly, never smaller than
    // designed; the day names stay at the top of the view when the grid is
    // scrolled; a cell tall enough for two lines wraps a long caption.
    void gridGrowsWithTheFrame_data() {
        QTest::addColumn<QSize>("frameSize");  // invalid: as it opens; 0 x 0: maximised
        QTest::addColumn<bool>("fills");       // the grid window spans the frame's width
        QTest::addColumn<bool>("twoLines");
        QTest::newRow("as it opens") << QSize() << false << false;
        QTest::newRow("smaller than designed") << QSize(900, 600) << false << false;
        QTest::newRow("a little wider") << QSize(1100, 741) << false << false;
        QTest::newRow("wider") << QSize(1366, 741) << true << false;
        QTest::newRow("taller") << QSize(1038, 1250) << false << true;
        QTest::newRow("larger") << QSize(1600, 1250) << true << true;
        QTest::newRow("maximised") << QSize(0, 0) << true << false;
    }
    void gridGrowsWithTheFrame() {
        QFETCH(QSize, frameSize);
        QFETCH(bool, fills);
        QFETCH(bool, twoLines);
        store(*state, timetable({section("Introduction to Comparative Literature", "101", 10, 12, {0})}));
        presenter->showResults(shown());
        TimeTablesMDI* frame = presenter->frame();
        if (frameSize.isNull())
            frame->showMaximized();
        else if (frameSize.isValid())
            frame->resize(frameSize);
        QTRY_VERIFY(!frameSize.isNull() || frame->isMaximized());
        waitForSteadySize(frame);
        if (frameSize.isValid() && !frameSize.isNull() && frame->size() != frameSize)
            QSKIP("the window manager gave the frame another size");
        frmTimetables* grid = presenter->gridView();
        QWidget* client = grid->client();
        auto* scroll = namedChild<QScrollArea>(grid, "gridScroll");
        QCOMPARE(client->size(), scroll->viewport()->size().expandedTo(QSize(717, 725)));
        QCOMPARE(grid->geometry().right() == frameMdiArea(frame)->viewport()->width() - 1, fills);
        if (!frameSize.isValid()) QCOMPARE(client->size(), QSize(717, 725));
        std::set<int> widths, heights;
        for (int i = 0; i < CellsPerWeek; ++i) {
            widths.insert(grid->cell(i)->width());
            heights.insert(grid->cell(i)->height());
            if (i >= SlotsPerDay)  // each column starts on the line that ends the one before
                QCOMPARE(grid->cell(i)->x(), grid->cell(i - SlotsPerDay)->geometry().right());
        }
        QVERIFY(*widths.begin() >= 97 && *widths.rbegin() - *widths.begin() <= 1);
        QVERIFY(*heights.begin() >= 17 && *heights.rbegin() - *heights.begin() <= 1);
        // Sunday's line and the last row's line 5 pixels in from the edges, as designed.
        QCOMPARE(namedChild<QFrame>(client, "Line12")->x(), client->width() - 5);
        QCOMPARE(namedChild<QFrame>(client, "Line1_28")->y(), client->height() - 5);
        const QString caption = grid->cell(10)->text();
        QCOMPARE(caption.contains(QLatin1Char('\n')), twoLines);
        QVERIFY2(caption.startsWith(QStringLiteral("Intr")) && caption.endsWith(QStringLiteral(" - 101")),
                 qPrintable(caption));
        // Scrolled to the bottom, the day names are still at the top.
        QScrollBar* bar = scroll->verticalScrollBar();
        auto* monday = namedChild<QLabel>(client, "lblMonday");
        bar->setValue(bar->maximum());
        QCOMPARE(monday->mapTo(scroll->viewport(), QPoint(0, 0)).y(), 8);
        bar->setValue(0);
        QCOMPARE(monday->y(), 8);
    }

    void gridLabelsAndLines() {
        storeNumbered(*state, 1);
        presenter->showResults(shown());
        QWidget* client = presenter->gridView()->client();
        const QStringList times = {"800",  "830",  "900",  "930",  "1000", "1030", "1100", "1130", "1200", "1230",
                                   "1300", "1330", "1400", "1430", "1500", "1530", "1600", "1630", "1700", "1730",
                                   "1800", "1830", "1900", "1930", "2000", "2030", "2100", "2130", "2200"};
        for (int k = 1; k <= 29; ++k) {
            auto* label = client->findChild<QLabel*>(QStringLiteral("Label%1").arg(k));
            QVERIFY(label);
            QCOMPARE(label->text(), times.at(k - 1));
            QVERIFY(label->alignment() & Qt::AlignRight);
            QCOMPARE(label->geometry().right() + 1, 33);  // every time label ends at x = 495 twips
            QVERIFY(!label->autoFillBackground());
        }
        const QStringList days = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
        for (int d = 0; d < 7; ++d) {
            auto* header = client->findChild<QLabel*>(QStringLiteral("lbl") + days.at(d));
            QVERIFY(header);
            QCOMPARE(header->text(), days.at(d));
            QCOMPARE(header->alignment(), Qt::AlignCenter);
        }
        for (int i = 0; i < CellsPerWeek; ++i) {
            QLabel* cell = presenter->gridView()->cell(i);
            QCOMPARE(cell->objectName(), QStringLiteral("lblarrDays_%1").arg(i));
            QVERIFY(!cell->autoFillBackground());
            QVERIFY(cell->alignment() & Qt::AlignHCenter);
        }
        for (const QFrame* line : client->findChildren<QFrame*>(QRegularExpression("^Line"))) {
            QCOMPARE(line->frameShadow(), QFrame::Plain);
            QCOMPARE(line->lineWidth(), 1);
        }
        QCOMPARE(client->findChildren<QFrame*>(QRegularExpression("^Line([5-9]|1[0-2])$")).size(), 8);
    }

    // The strip and the placement of the grid window in the frame.
    void frameGeometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("OK") << "cmdOk"
                            << "OK" << QRect(8, 8, 65, 25);
        QTest::newRow("Previous") << "cmdPrev"
                                  << "Previous" << QRect(96, 8, 73, 25);
        QTest::newRow("Next") << "cmdNext"
                              << "Next" << QRect(168, 8, 73, 25);
        // Wide enough for "Remove from Favorites"; the buttons after it move
        // right by as much.
        QTest::newRow("Add to Favorites") << "cmdAddFav"
                                          << "Add to Favorites" << QRect(264, 8, 141, 25);
        QTest::newRow("Go To Favorites") << "cmdGotofav"
                                         << "Go To Favorites" << QRect(404, 8, 89, 25);
        QTest::newRow("counter") << "cmdGoToT"
                                 << "TimeTable: 1 / 2" << QRect(500, 8, 129, 25);
        QTest::newRow("Print") << "cmdPrint"
                               << "Print\u2026" << QRect(637, 8, 69, 25);
        QTest::newRow("Export") << "cmdExport"
                                << "Export\u2026" << QRect(710, 8, 69, 25);
    }
    void frameGeometry() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, rect);
        storeNumbered(*state, 2);
        presenter->showResults(shown());
        TimeTablesMDI* frame = presenter->frame();
        QPushButton* b = button(*presenter, qPrintable(name));
        QCOMPARE(testing::shownCaption(b->text()), caption);
        // The caption is readable whole inside the designed width.
        QVERIFY2(b->fontMetrics().horizontalAdvance(caption) + 6 <= b->width(), qPrintable(caption));
        if (name == QLatin1String("cmdAddFav"))
            QVERIFY(b->fontMetrics().horizontalAdvance(RemoveFromFavoritesCaption) + 6 <= b->width());
        // Relative to the strip, which spans the frame's top edge.
        QToolBar* strip = frameToolbar(frame);
        QCOMPARE(QRect(b->mapTo(strip, QPoint(0, 0)), b->size()), rect);
        QCOMPARE(strip->geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(strip->height(), 42);
        QCOMPARE(strip->width(), frame->width());
        QVERIFY(!strip->isMovable());
    }

    void stripTabOrder() {
        storeNumbered(*state, 3);
        presenter->showResults(shown());
        const char* order[] = {"cmdOk",      "cmdPrev",  "cmdNext",  "cmdAddFav",
                               "cmdGotofav", "cmdGoToT", "cmdPrint", "cmdExport"};
        for (size_t i = 0; i + 1 < std::size(order); ++i) {
            QWidget* next = button(*presenter, order[i])->nextInFocusChain();
            QCOMPARE(next->objectName(), QString::fromLatin1(order[i + 1]));
        }
    }

    void gridViewPlacedTopLeftBelowStrip() {
        storeNumbered(*state, 2);
        presenter->showResults(shown());
        TimeTablesMDI* frame = presenter->frame();
        frmTimetables* grid = presenter->gridView();
        QCOMPARE(frameMdiArea(frame)->mapTo(frame, QPoint(0, 0)), QPoint(0, 42));
        QCOMPARE(grid->geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(grid->client()->size(), QSize(717, 725));
        QVERIFY(grid->fullSize().height() >= 725);
        designedWidthWhereItFits(frame);
        // After a step, the fresh grid is placed the same way.
        QTest::mouseClick(button(*presenter, "cmdNext"), Qt::LeftButton);
        QCOMPARE(presenter->gridView()->geometry().topLeft(), QPoint(0, 0));
    }

    // The whole grid can be brought into view from the keyboard: the frame
    // is tall enough, or the grid scrolls inside its window, with its scroll
    // bar at the grid's right edge (on the screen the test runs on, and at
    // the designed frame size, which is too short for the grid).
    void wholeGridReachable_data() {
        QTest::addColumn<bool>("designedSize");
        QTest::addColumn<int>("down");  // pressed until the bottom shows
        QTest::addColumn<int>("up");
        // Page Down, Page Up, Home and End step instead (stepKeysOnFirstPress).
        const std::tuple<const char*, Qt::Key, Qt::Key> keys[] = {{"Down and Up", Qt::Key_Down, Qt::Key_Up}};
        for (bool designed : {false, true})
            for (const auto& [name, down, up] : keys)
                QTest::addRow("%s, %s", designed ? "designed 902 x 741" : "fitted to the screen", name)
                    << designed << int(down) << int(up);
    }
    void wholeGridReachable() {
        QFETCH(bool, designedSize);
        QFETCH(int, down);
        QFETCH(int, up);
        storeNumbered(*state, 1);
        presenter->showResults(shown());
        TimeTablesMDI* frame = presenter->frame();
        if (designedSize) frame->resize(902, 741);
        QCoreApplication::processEvents();
        frmTimetables* grid = presenter->gridView();
        QWidget* viewport = namedChild<QScrollArea>(grid, "gridScroll")->viewport();
        QWidget* client = grid->client();
        QScrollBar* bar = namedChild<QScrollArea>(grid, "gridScroll")->verticalScrollBar();
        // The frame stays on its screen, and the grid window in the frame.
        const QRect screen = frame->screen()->availableGeometry();
        if (!designedSize)
            QVERIFY(frame->geometry().top() >= screen.top() && frame->geometry().bottom() <= screen.bottom());
        QVERIFY(QRect(QPoint(0, 0), frameMdiArea(frame)->viewport()->size()).contains(grid->geometry()));
        QVERIFY(!frameMdiArea(frame)->verticalScrollBar()->isVisible());
        const bool fits = client->height() <= viewport->height();
        if (designedSize) QVERIFY(!fits);
        QCOMPARE(bar->isVisible(), !fits);
        if (!fits) {
            // Beside Sunday's column, and read out by a screen reader.
            QCOMPARE(bar->mapTo(grid, QPoint(0, 0)).x(), client->width() + viewport->mapTo(grid, QPoint(0, 0)).x());
            QVERIFY(accessibleTreeHolds(frame, bar));
        }
        auto inView = [&](QPoint p) { return viewport->rect().contains(client->mapTo(viewport, p)); };
        const QPoint bottomRight(client->width() - 1, client->height() - 1);
        // The keys reach the frame from the strip, where the focus is.
        for (int i = 0; i < 40 && !inView(bottomRight); ++i)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : frame, Qt::Key(down));
        QVERIFY(inView(bottomRight));
        for (int i = 0; i < 40 && !inView(QPoint(0, 0)); ++i)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : frame, Qt::Key(up));
        QVERIFY(inView(QPoint(0, 0)));
        QCOMPARE(presenter->frame(), frame);  // no key closed or stepped the results
    }

    // Where the focus goes: "Next" when the results open (or "OK" when there
    // is nothing to step to), and the counter, which does nothing, when the
    // pressed button reaches its end; so repeated Space never turns back.
    void focusKeepsDirection_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("opensOn");
        QTest::newRow("one timetable") << 1 << "cmdOk";
        QTest::newRow("two") << 2 << "cmdNext";
        QTest::newRow("six") << 6 << "cmdNext";
    }
    void focusKeepsDirection() {
        QFETCH(int, count);
        QFETCH(QString, opensOn);
        storeNumbered(*state, count);
        presenter->showResults(shown());
        TimeTablesMDI* frame = presenter->frame();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), opensOn);
        if (count == 1) return;  // Space would close the results
        for (int i = 0; i < 30; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: %1 / %1").arg(count));
        QCOMPARE(QApplication::focusWidget(), frameButton(frame, "cmdGoToT"));
        // And the same back from the other end with "Previous".
        frameButton(frame, "cmdPrev")->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 30; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(counter(*presenter), QStringLiteral("TimeTable: 1 / %1").arg(count));
        QCOMPARE(QApplication::focusWidget(), frameButton(frame, "cmdGoToT"));
    }

    void escapeIsOk() {
        storeNumbered(*state, 3);
        presenter->showResults(shown());
        QVERIFY(QTest::qWaitForWindowActive(presenter->frame()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!presenter->resultsOpen());
    }

    // The grid's load step on its own: a stored position is painted and
    // says which neighbours exist. A position out of step with the store is
    // a bug that stops a build with assertions; without them the grid stays
    // blank, neither button leads anywhere, nothing outside the stored
    // timetables is read and the position is left as it was.
    // "Take Only" from the results: a cell's menu offers its own section,
    // the menu key (the focus on the strip) every section shown; the one
    // picked is handed on with its course.
    void takeOnlyMenu_data() {
        QTest::addColumn<bool>("byKeyboard");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<int>("pick");
        QTest::newRow("a cell of Math") << false << QStringList{"Take Only Math - 11"} << 0;
        QTest::newRow("the menu key, the second")
            << true << QStringList{"Take Only Chem - 02", "Take Only Math - 11"} << 1;
        QTest::newRow("the menu key, the first")
            << true << QStringList{"Take Only Chem - 02", "Take Only Math - 11"} << 0;
    }
    void takeOnlyMenu() {
        QFETCH(bool, byKeyboard);
        QFETCH(QStringList, offered);
        QFETCH(int, pick);
        const Section chem = section("Chem", "02", 2, 4, {0}), math = section("Math", "11", 6, 8, {1});
        store(*state, timetable({chem, math}));
        presenter->showResults(shown());
        QSignalSpy spy(presenter.get(), &ResultsWindows::takeOnlySectionRequested);
        QStringList seen;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr || !seen.isEmpty()) return;
            for (const QAction* a : menu->actions()) seen << a->text();
            for (int k = 0; k <= pick; ++k) QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        answer.start(10);
        QWidget* target = presenter->frame()->focusWidget();
        QPoint at(5, 5);
        if (!byKeyboard) {
            int mathCell = -1;
            forEachCoveredCell(math, [&](int cell) { mathCell = mathCell < 0 ? cell : mathCell; });
            target = presenter->gridView()->cell(mathCell);
            at = target->rect().center();
        }
        QVERIFY(target != nullptr);
        QContextMenuEvent event(byKeyboard ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse, at,
                                target->mapToGlobal(at));
        QApplication::sendEvent(target, &event);
        QCOMPARE(seen, offered);
        QCOMPARE(spy.size(), 1);
        const int course = offered.size() == 1 ? 1 : pick;
        QCOMPARE(spy.at(0).at(0).value<int16_t>(), int16_t(course));
    }

    void gridLoadsTheStoredPosition_data() {
        QTest::addColumn<int>("numTimetables");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("painted");  // the text of cell `current`
        QTest::newRow("the first of five") << 5 << 0 << "T1 - 01";
        QTest::newRow("the last of five") << 5 << 4 << "T5 - 01";
#ifdef NDEBUG
        QTest::newRow("the store shrank under the position") << 2 << 4 << "";
        QTest::newRow("nothing stored") << 0 << 0 << "";
        QTest::newRow("before the first") << 5 << -1 << "";
        QTest::newRow("a count beyond the capacity") << 40 << 30 << "";
#endif
    }
    void gridLoadsTheStoredPosition() {
        QFETCH(int, numTimetables);
        QFETCH(int, current);
        QFETCH(QString, painted);
        storeNumbered(*state, 5);
        state->NumTimetables = static_cast<int16_t>(numTimetables);
        state->CurrentTimetable = static_cast<int16_t>(current);
        QMdiArea area;
        auto* grid = new frmTimetables(*state, area);
        for (int i = 0; i < CellsPerWeek; ++i) QCOMPARE(grid->cell(i)->text(), i == current ? painted : QString());
        QCOMPARE(state->CurrentTimetable, current);
    }

private:
    std::unique_ptr<ModuleState> state;
    std::unique_ptr<ResultsWindows> presenter;
};

QTEST_MAIN(TestResultsWindows)
#include "test_results_windows.moc"
