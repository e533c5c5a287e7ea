// frmOptions: busy times marked with the mouse (click, drag, whole days and
// rows) and the keyboard, the order lists, and OK, Cancel and Clear; and what
// the results show of the options: each timetable's score, the note, and the
// busy half-hours greyed. With QUORVANDEL_OPTIONS_SHOT=file.png it also
// saves a picture of the dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <memory>

#include "busy_times_grid.h"
#include "main_window.h"
#include "modal_script.h"
#include "named_controls.h"
#include "options_dialog.h"
#include "results_dialogs.h"
#include "results_frame.h"
#include "schedule_makers.h"
#include "timetable_grid_view.h"
#include "week.h"

using namespace quorvandel;
using namespace quorvandel::testing;

namespace {

QPoint centreOf(BusyTimesGrid& grid, int cell) { return grid.cell(cell)->geometry().center(); }

void press(BusyTimesGrid& grid, int cell) {
    QTest::mousePress(&grid, Qt::LeftButton, Qt::NoModifier, centreOf(grid, cell));
}
void dragTo(BusyTimesGrid& grid, int cell) {
    QMouseEvent move(QEvent::MouseMove, centreOf(grid, cell), grid.mapToGlobal(centreOf(grid, cell)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&grid, &move);
}
void release(BusyTimesGrid& grid, int cell) {
    QTest::mouseRelease(&grid, Qt::LeftButton, Qt::NoModifier, centreOf(grid, cell));
}

std::vector<int> busyList(const BusyCells& busy) {
    std::vector<int> cells;
    for (int c = 0; c < CellsPerWeek; ++c)
        if (busy.test(static_cast<size_t>(c))) cells.push_back(c);
    return cells;
}

// Cells day x slot for days firstDay..lastDay and slots firstSlot..lastSlot.
std::vector<int> block(int firstDay, int lastDay, int firstSlot, int lastSlot) {
    std::vector<int> cells;
    for (int d = firstDay; d <= lastDay; ++d)
        for (int s = firstSlot; s <= lastSlot; ++s) cells.push_back(cellOf(d, s));
    std::sort(cells.begin(), cells.end());
    return cells;
}

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

}  // namespace

Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(std::vector<Key>)

class OptionsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void clickTogglesACell() {
        ModuleState state;
        frmOptions dialog(state, nullptr);
        BusyTimesGrid& grid = *namedChild<BusyTimesGrid>(&dialog, "grdBusy");
        const int monday9 = cellOf(0, 2);
        press(grid, monday9);
        release(grid, monday9);
        QCOMPARE(busyList(grid.busy()), std::vector<int>{monday9});
        QCOMPARE(grid.cell(monday9)->accessibleName(), QStringLiteral("Monday 9:00 to 9:30, busy"));
        press(grid, monday9);
        release(grid, monday9);
        QVERIFY(grid.busy().none());
        QCOMPARE(grid.cell(monday9)->accessibleName(), QStringLiteral("Monday 9:00 to 9:30, free"));
    }

    // A drag paints the rectangle from the pressed cell to the pointer, which
    // shrinks again when the pointer comes back; starting on a busy cell clears.
    void dragPaintsAndClears() {
        ModuleState state;
        state.Options.busy.set(static_cast<size_t>(cellOf(4, 20)));
        frmOptions dialog(state, nullptr);
        BusyTimesGrid& grid = *namedChild<BusyTimesGrid>(&dialog, "grdBusy");
        press(grid, cellOf(0, 2));
        dragTo(grid, cellOf(2, 5));
        std::vector<int> want = block(0, 2, 2, 5);
        want.push_back(cellOf(4, 20));
        QCOMPARE(busyList(grid.busy()), want);
        dragTo(grid, cellOf(1, 3));
        want = block(0, 1, 2, 3);
        want.push_back(cellOf(4, 20));
        QCOMPARE(busyList(grid.busy()), want);
        release(grid, cellOf(1, 3));
        press(grid, cellOf(1, 3));  // busy: this drag clears
        dragTo(grid, cellOf(0, 2));
        release(grid, cellOf(0, 2));
        QCOMPARE(busyList(grid.busy()), std::vector<int>{cellOf(4, 20)});
    }

    void headersToggleWholeLines() {
        ModuleState state;
        frmOptions dialog(state, nullptr);
        BusyTimesGrid& grid = *namedChild<BusyTimesGrid>(&dialog, "grdBusy");
        QTest::mouseClick(grid.dayHeader(2), Qt::LeftButton);
        QCOMPARE(busyList(grid.busy()), block(2, 2, 0, 28));
        QTest::mouseClick(grid.timeLabel(0), Qt::LeftButton);  // partly busy: all become busy
        std::vector<int> want = block(0, 6, 0, 0);
        for (int c : block(2, 2, 1, 28)) want.push_back(c);
        std::sort(want.begin(), want.end());
        QCOMPARE(busyList(grid.busy()), want);
        QTest::mouseClick(grid.dayHeader(2), Qt::LeftButton);  // all busy: all become free
        want = block(0, 6, 0, 0);
        want.erase(std::find(want.begin(), want.end(), cellOf(2, 0)));
        QCOMPARE(busyList(grid.busy()), want);
        QCOMPARE(grid.dayHeader(0)->text(), QStringLiteral("Monday"));
        QCOMPARE(grid.timeLabel(28)->text(), QStringLiteral("2200"));
    }

    void keyboard_data() {
        QTest::addColumn<std::vector<Key>>("keys");
        QTest::addColumn<std::vector<int>>("busy");
        QTest::addColumn<int>("cursor");
        QTest::newRow("Space") << std::vector<Key>{{Qt::Key_Space}} << std::vector<int>{0} << 0;
        QTest::newRow("down twice, Space")
            << std::vector<Key>{{Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Space}} << std::vector<int>{2} << 2;
        QTest::newRow("right, Space") << std::vector<Key>{{Qt::Key_Right}, {Qt::Key_Space}} << std::vector<int>{29}
                                      << 29;
        QTest::newRow("Space twice") << std::vector<Key>{{Qt::Key_Space}, {Qt::Key_Space}} << std::vector<int>{} << 0;
        QTest::newRow("Shift extends a busy run")
            << std::vector<Key>{{Qt::Key_Space}, {Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Right, Qt::ShiftModifier}}
            << std::vector<int>{0, 1, 30} << 30;
        QTest::newRow("Shift extends a free run")
            << std::vector<Key>{{Qt::Key_Down}, {Qt::Key_Space}, {Qt::Key_Up}, {Qt::Key_Down, Qt::ShiftModifier}}
            << std::vector<int>{} << 1;
        QTest::newRow("stops at the edges")
            << std::vector<Key>{{Qt::Key_Up}, {Qt::Key_Left}, {Qt::Key_Space}} << std::vector<int>{0} << 0;
    }
    void keyboard() {
        QFETCH(std::vector<Key>, keys);
        QFETCH(std::vector<int>, busy);
        QFETCH(int, cursor);
        ModuleState state;
        frmOptions dialog(state, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        BusyTimesGrid& grid = *namedChild<BusyTimesGrid>(&dialog, "grdBusy");
        grid.setFocus();
        for (const Key& k : keys) QTest::keyClick(QApplication::focusWidget(), k.key, k.modifiers);
        QCOMPARE(busyList(grid.busy()), busy);
        QCOMPARE(grid.cursor(), cursor);
        QCOMPARE(QApplication::focusWidget(), grid.cell(cursor));
    }

    void okWritesCancelKeepsClearFrees_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("written");
        QTest::newRow("OK") << "cmdOk" << true;
        QTest::newRow("Cancel") << "cmdCancel" << false;
    }
    void okWritesCancelKeepsClearFrees() {
        QFETCH(QString, button);
        QFETCH(bool, written);
        ModuleState state;
        state.Options.busy.set(7);
        state.Options.primary = ResultOrder::LatestStart;
        const ScheduleOptions before = state.Options;
        frmOptions dialog(state, nullptr);
        QCOMPARE(namedChild<QComboBox>(&dialog, "cboOrder")->currentText(), QStringLiteral("Latest start"));
        QCOMPARE(namedChild<QComboBox>(&dialog, "cboThenBy")->count(), ResultOrderCount);
        QTest::mouseClick(namedChild<QPushButton>(&dialog, "cmdClear"), Qt::LeftButton);
        QVERIFY(namedChild<BusyTimesGrid>(&dialog, "grdBusy")->busy().none());
        press(*namedChild<BusyTimesGrid>(&dialog, "grdBusy"), 40);
        release(*namedChild<BusyTimesGrid>(&dialog, "grdBusy"), 40);
        namedChild<QComboBox>(&dialog, "cboOrder")->setCurrentIndex(static_cast<int>(ResultOrder::FewestDays));
        namedChild<QComboBox>(&dialog, "cboThenBy")->setCurrentIndex(static_cast<int>(ResultOrder::FewestIdle));
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
        if (!written) {
            QCOMPARE(state.Options, before);
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            return;
        }
        QCOMPARE(busyList(state.Options.busy), std::vector<int>{40});
        QCOMPARE(state.Options.primary, ResultOrder::FewestDays);
        QCOMPARE(state.Options.tieBreak, ResultOrder::FewestIdle);
    }

    void firstFoundHasNoTieBreak() {
        ModuleState state;
        frmOptions dialog(state, nullptr);
        QCOMPARE(namedChild<QComboBox>(&dialog, "cboOrder")->currentText(), QStringLiteral("First found"));
        QVERIFY(!namedChild<QComboBox>(&dialog, "cboThenBy")->isEnabled());
        namedChild<QComboBox>(&dialog, "cboOrder")->setCurrentIndex(static_cast<int>(ResultOrder::EarliestFinish));
        QVERIFY(namedChild<QComboBox>(&dialog, "cboThenBy")->isEnabled());
    }

    // "Options" on the main window opens the dialog modally; the options
    // belong to the schedule, so "OK" marks it changed in the title and
    // "Cancel" does not; "New" asks first, then clears what was set.
    void mainWindowOpensOptionsAndNewClears() {
        auto state = std::make_unique<ModuleState>();
        frmQuorvandelMain window(*state);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* options = window.findChild<QPushButton*>(QStringLiteral("cmdOption"));
        QVERIFY(options->isEnabled());
        for (const char* ending : {"cmdCancel", "cmdOk"}) {
            ModalScript script;
            script.onWindow(QStringLiteral("frmOptions"), [ending](QWidget* w) {
                auto* dialog = qobject_cast<frmOptions*>(w);
                QVERIFY(dialog->isModal());
                QTest::mouseClick(namedChild<BusyTimesGrid>(dialog, "grdBusy")->dayHeader(6), Qt::LeftButton);
                namedChild<QComboBox>(dialog, "cboOrder")->setCurrentIndex(static_cast<int>(ResultOrder::FewestDays));
                QVERIFY(!namedChild<QCheckBox>(dialog, "chkSameTimesOnce")->isChecked());
                QCOMPARE(QKeySequence::mnemonic(namedChild<QCheckBox>(dialog, "chkSameTimesOnce")->text()),
                         QKeySequence(Qt::ALT | Qt::Key_S));
                QTest::mouseClick(namedChild<QCheckBox>(dialog, "chkSameTimesOnce"), Qt::LeftButton);
                QVERIFY(namedChild<QCheckBox>(dialog, "chkSameTimesOnce")->isChecked());
                if (const QByteArray shot = qgetenv("QUORVANDEL_OPTIONS_SHOT"); !shot.isEmpty())
                    dialog->grab().save(QString::fromLocal8Bit(shot));
                QTest::mouseClick(namedChild<QPushButton>(dialog, ending), Qt::LeftButton);
            });
            QTest::mouseClick(options, Qt::LeftButton);
            QVERIFY(script.finished());
            const bool ok = QByteArray(ending) == "cmdOk";
            QCOMPARE(window.windowHandle()->title(),
                     ok ? QStringLiteral("Quorvandel Main*") : QStringLiteral("Quorvandel Main"));
        }
        QCOMPARE(busyList(state->Options.busy), block(6, 6, 0, 28));
        QCOMPARE(state->Options.primary, ResultOrder::FewestDays);
        QVERIFY(state->Options.sameTimesOnce);
        QVERIFY(options->isEnabled());
        ModalScript question;
        question.onWindow(QStringLiteral("SaveChangesQuestion"), [](QWidget* box) {
            QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("cmdAnswerDontSave")), Qt::LeftButton);
        });
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdNewMain")), Qt::LeftButton);
        QVERIFY(question.finished());
        QCOMPARE(state->Options, ScheduleOptions{});
        QCOMPARE(window.windowHandle()->title(), QStringLiteral("Quorvandel Main"));
    }

    void rankedResults_data() {
        QTest::addColumn<int>("courses");  // 2: a small schedule; 4: 10,000 timetables
        QTest::addColumn<ResultOrder>("primary");
        QTest::addColumn<ResultOrder>("tieBreak");
        QTest::addColumn<QStringList>("scores");  // of the first two timetables
        QTest::addColumn<QString>("note");
        QTest::newRow("days, then idle") << 2 << ResultOrder::FewestDays << ResultOrder::FewestIdle
                                         << QStringList{"1 day, 0 idle hours", "2 days, 0 idle hours"} << QString();
        QTest::newRow("latest start") << 2 << ResultOrder::LatestStart << ResultOrder::FirstFound
                                      << QStringList{"first class at 8:30 on average", "first class at 8:15 on average"}
                                      << QString();
        QTest::newRow("earliest finish") << 2 << ResultOrder::EarliestFinish << ResultOrder::FirstFound
                                         << QStringList{"done by 10:00 on average", "done by 9:15 on average"}
                                         << QString();
        QTest::newRow("idle, more than 26") << 4 << ResultOrder::FewestIdle << ResultOrder::FewestIdle
                                            << QStringList{"0 idle hours", "0 idle hours"} << RankedMoreNote;
    }
    // Course A meets Monday 8:00 or Tuesday 8:00 for an hour; course B
    // Monday 9:00 or Wednesday 8:30. Sunday 22:00 is busy.
    void rankedResults() {
        QFETCH(int, courses);
        QFETCH(ResultOrder, primary);
        QFETCH(ResultOrder, tieBreak);
        QFETCH(QStringList, scores);
        QFETCH(QString, note);
        auto state = std::make_unique<ModuleState>();
        if (courses == 2) {
            makers::addCourse(*state, "A");
            makers::addSection(*state, 0, 0, 2, 1U << 0);
            makers::addSection(*state, 0, 0, 2, 1U << 1);
            makers::addCourse(*state, "B");
            makers::addSection(*state, 1, 2, 4, 1U << 0);
            makers::addSection(*state, 1, 1, 3, 1U << 2);
        } else {
            for (int c = 0; c < courses; ++c) {
                makers::addCourse(*state, "C" + std::to_string(c));
                for (int j = 0; j < 10; ++j)
                    makers::addSection(*state, c, c * 2 + (j / 7) * 8, c * 2 + (j / 7) * 8 + 1, 1U << (j % 7));
            }
        }
        state->Options = {BusyCells().set(202), primary, tieBreak, false};
        const GenerationResult result = TimeTablify(*state);
        QCOMPARE(result.outcome, TimeTablifyOutcome::ShowResults);
        RealResultsDialogs dialogs;  // never asked: nothing is printed or exported
        TimeTablesMDI frame(*state, result, dialogs);
        frame.showGridView();
        QCOMPARE(frameLabel(&frame, "lblScore")->text(), scores[0]);
        QCOMPARE(frameLabel(&frame, "lblNote")->text(), note);
        QCOMPARE(frameButton(&frame, "cmdGoToT")->text(),
                 QStringLiteral("TimeTable: 1 / %1").arg(state->NumTimetables));
        QVERIFY(frameButton(&frame, "cmdGoToT")->accessibleName().endsWith(scores[0]));
        QCOMPARE(frame.gridView()->cell(202)->accessibleName(), QStringLiteral("Sunday 22:00 to 22:30, busy"));
        QVERIFY(frame.gridView()->cell(202)->autoFillBackground());
        QVERIFY(!frame.gridView()->cell(201)->autoFillBackground());
        QTest::mouseClick(frameButton(&frame, "cmdNext"), Qt::LeftButton);
        QCOMPARE(frameLabel(&frame, "lblScore")->text(), scores[1]);
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "test_options_dialog.moc"
