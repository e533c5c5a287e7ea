// The worker-thread wrapper around the generator: a quick search shows no
// dialog, a long one shows "Finding timetables..." modal to its parent, and
// "Cancel" or a stop request ends it promptly: run() returns well within
// half a second of "Cancel" (a bound generous enough for a loaded machine
// and the sanitizers; the benchmark measures the real figure).
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>
#include <memory>
#include <thread>

#include "background_count.h"
#include "command_turn.h"
#include "generation_runner.h"
#include "named_controls.h"
#include "results_frame.h"
#include "results_windows.h"
#include "schedule_makers.h"
#include "timetable_score.h"

using namespace quorvandel::testing;

using namespace quorvandel;
using namespace std::chrono_literals;

namespace {

// Searches "forever", finding one timetable every 10 ms, until stopped.
GenerationResult endlessSearch(ModuleState&, const SearchControl& control) {
    int found = 0;
    for (int tick = 1; !control.stop->load(); ++tick) {
        std::this_thread::sleep_for(1ms);
        if (tick % 10 == 0 && control.progress) control.progress(++found);
    }
    GenerationResult result;
    result.stopped = true;
    result.outcome = found > 0 ? TimeTablifyOutcome::ShowResults : TimeTablifyOutcome::StoppedNoneFound;
    return result;
}

QPushButton* cancelButton(QProgressDialog* dialog) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text() == QLatin1String("Cancel")) return b;
    return nullptr;
}

// Once the progress dialog shows, waits 200 ms, keeps its label and
// presses "Cancel" as a user would.
void pressCancelOnceShown(GenerationRunner& runner, QString& label) {
    QObject::connect(&runner, &GenerationRunner::progressDialogShown, &runner, [&runner, &label] {
        QProgressDialog* dialog = runner.progressDialog();
        QTimer::singleShot(200, dialog, [&label, dialog] {
            label = dialog->labelText();
            QTest::mouseClick(cancelButton(dialog), Qt::LeftButton);
        });
    });
}

// Three courses, each on a day of its own, of `sections` sections at
// different hours: sections^3 timetables.
void dayPerCourse(CourseList& list, int sections) {
    list = {};
    for (int c = 0; c < 3; ++c) {
        makers::addCourse(list, "C" + std::to_string(c));
        for (int s = 0; s < sections; ++s) makers::addSection(list, c, 2 * s, 2 * s + 2, 1U << c);
    }
}

}  // namespace

class GenerationRunnerTest : public QObject {
    Q_OBJECT
private slots:
    void quickSearchShowsNoDialog() {
        auto state = std::make_unique<ModuleState>();
        QWidget parent;
        parent.show();
        GenerationRunner runner;
        bool shown = false;
        connect(&runner, &GenerationRunner::progressDialogShown, this, [&] { shown = true; });
        runner.search = [](ModuleState& s, const SearchControl&) {
            s.NumTimetables = 3;
            return GenerationResult{TimeTablifyOutcome::ShowResults, true, false};
        };
        const GenerationResult result = runner.run(*state, &parent);
        QVERIFY(!shown);
        QCOMPARE(result.outcome, TimeTablifyOutcome::ShowResults);
        QVERIFY(result.moreThanStored);
        QCOMPARE(state->NumTimetables, 3);
        QVERIFY(!runner.running());
    }

    // The count after the results: its note, and only the latest
    // generation's, never once a command has come meanwhile.
    void countNoteOfTheLatestResults_data() {
        QTest::addColumn<int>("laterSections");  // a second count started at once; 0: none
        QTest::addColumn<bool>("ranked");
        QTest::addColumn<bool>("commandMeanwhile");
        QTest::addColumn<QString>("note");  // empty: none comes
        QTest::newRow("first found") << 0 << false << false << QStringLiteral("26 of 64 timetables are shown");
        QTest::newRow("ranked") << 0 << true << false << QStringLiteral("The 26 best of 64 are shown");
        QTest::newRow("a newer generation") << 5 << false << false << QStringLiteral("26 of 125 timetables are shown");
        QTest::newRow("a command meanwhile") << 0 << false << true << QString();
        QTest::newRow("a command after a newer one") << 5 << false << true << QString();
    }
    void countNoteOfTheLatestResults() {
        QFETCH(int, laterSections);
        QFETCH(bool, ranked);
        QFETCH(bool, commandMeanwhile);
        QFETCH(QString, note);
        auto courses = std::make_unique<CourseList>();
        GenerationResult result{TimeTablifyOutcome::ShowResults, true, false};
        result.options.primary = ranked ? ResultOrder::FewestDays : ResultOrder::FirstFound;
        BackgroundCount count;
        QStringList notes;
        connect(&count, &BackgroundCount::counted, this, [&](const QString& n) { notes << n; });
        for (int sections : {4, laterSections}) {
            if (sections == 0) continue;
            dayPerCourse(*courses, sections);
            count.start(*courses, result, MaxStoredTimetables);
        }
        if (commandMeanwhile) QVERIFY(static_cast<bool>(CommandTurn()));
        QTRY_VERIFY(!count.running());
        QTest::qWait(50);  // a stale note would have arrived by now
        QCOMPARE(notes, note.isEmpty() ? QStringList() : QStringList{note});
    }

    void cancelStopsALongSearch() {
        auto state = std::make_unique<ModuleState>();
        QWidget parent;
        parent.show();
        GenerationRunner runner;
        runner.search = endlessSearch;
        QString label;
        bool modalToParent = false;
        QElapsedTimer sinceCancel;
        connect(&runner, &GenerationRunner::progressDialogShown, this, [&] {
            QProgressDialog* dialog = runner.progressDialog();
            QVERIFY(dialog);
            modalToParent =
                dialog->isModal() && dialog->windowModality() == Qt::WindowModal && dialog->parentWidget() == &parent;
            // Let a few progress updates through, then press Cancel as a user would.
            QTimer::singleShot(200, dialog, [&, dialog] {
                label = dialog->labelText();
                sinceCancel.start();
                QTest::mouseClick(cancelButton(dialog), Qt::LeftButton);
            });
        });
        QElapsedTimer total;
        total.start();
        const GenerationResult result = runner.run(*state, &parent);
        QVERIFY(sinceCancel.isValid());  // "Cancel" was pressed
        const qint64 cancelLatency = sinceCancel.elapsed();
        QVERIFY2(cancelLatency < 500,
                 qPrintable(QStringLiteral("run() returned %1 ms after Cancel").arg(cancelLatency)));
        QVERIFY(modalToParent);
        QVERIFY2(label.startsWith("Finding timetables..."), qPrintable(label));
        QVERIFY2(!label.contains("\n0 found"), qPrintable(label));  // the count moved on
        QVERIFY(result.stopped);
        QCOMPARE(result.outcome, TimeTablifyOutcome::ShowResults);
        QVERIFY(total.elapsed() >= 150);  // not shown before the delay
        QVERIFY(!runner.progressDialog());
    }

    // A real ranked search, slowed at each progress report so that it is
    // still running when "Cancel" is pressed: the best met so far are kept,
    // best first, and the results say they may not be the best.
    void cancelKeepsTheBestOfARankedSearch() {
        auto state = std::make_unique<ModuleState>();
        makers::randomSchedule(*state, 2, 20, 10, 10,
                               {.minLength = 1, .maxLength = 2, .minDays = 1, .maxDays = 2, .dayPool = 7});
        state->Options.primary = ResultOrder::FewestIdle;
        QWidget parent;
        parent.show();
        GenerationRunner runner;
        runner.search = [](ModuleState& s, const SearchControl& c) {
            SearchControl slowed = c;
            slowed.progress = [&c](int found) {
                c.progress(found);
                std::this_thread::sleep_for(1ms);
            };
            SearchLimits limits;
            limits.progressInterval = 64;
            return TimeTablify(s, slowed, limits);
        };
        QString label;
        pressCancelOnceShown(runner, label);
        const GenerationResult result = runner.run(*state, &parent);
        QVERIFY2(label.contains("Best so far: "), qPrintable(label));
        QVERIFY(result.stopped);
        QCOMPARE(result.outcome, TimeTablifyOutcome::ShowResults);
        QVERIFY(state->NumTimetables >= 1 && state->NumTimetables <= MaxStoredTimetables);
        for (int k = 1; k < state->NumTimetables; ++k)
            QVERIFY(scoreOf(state->Options, dayProfileOf(state->Timetables[k - 1])) <=
                    scoreOf(state->Options, dayProfileOf(state->Timetables[k])));

        ResultsWindows results(*state);
        results.showResults(result);
        QCOMPARE(frameLabel(results.frame(), "lblNote")->text(), RankedStoppedNote);
    }

    // The reason for "no timetable" is looked for under the same dialog;
    // "Cancel" there leaves the message without details.
    void cancelWhileFindingTheReason() {
        auto state = std::make_unique<ModuleState>();
        state->NumCourses = 2;  // two courses whose one section each covers Monday 8:00
        for (Course& c : {std::ref(state->Courses[0]), std::ref(state->Courses[1])}) {
            c.NumSections = 1;
            c.Sections[0].EndSlot = 1;
            c.Sections[0].Days[0] = true;
        }
        QWidget parent;
        parent.show();
        GenerationRunner runner;
        runner.search = [](ModuleState&, const SearchControl&) {
            return GenerationResult{TimeTablifyOutcome::NoTimetables, false, false};
        };
        // A slow first step, then the real explanation, which must see the stop.
        runner.explain = [](const ModuleState& s, GenerationResult& r, const SearchControl& c) {
            for (int tick = 1; !c.stop->load(); ++tick) {
                std::this_thread::sleep_for(1ms);
                if (tick % 10 == 0) c.progress(1);
            }
            ExplainOutcome(s, r, c);
        };
        QString label;
        pressCancelOnceShown(runner, label);
        const GenerationResult result = runner.run(*state, &parent);
        QVERIFY2(label.startsWith("No timetable fits.") && label.contains("1 of 2"), qPrintable(label));
        QCOMPARE(result.outcome, TimeTablifyOutcome::NoTimetables);
        QVERIFY(result.details.empty());

        // Not cancelled, the same explanation names the two courses.
        runner.explain = [](const ModuleState& s, GenerationResult& r, const SearchControl& c) {
            ExplainOutcome(s, r, c);
        };
        QVERIFY(!runner.run(*state, &parent).details.empty());
    }

    void requestStopEndsTheSearch() {
        // What closing the main window mid-search does.
        auto state = std::make_unique<ModuleState>();
        QWidget parent;
        parent.show();
        GenerationRunner runner;
        runner.search = [](ModuleState& s, const SearchControl& c) {
            while (!c.stop->load()) std::this_thread::sleep_for(1ms);
            (void)s;
            return GenerationResult{TimeTablifyOutcome::StoppedNoneFound, false, true};
        };
        connect(&runner, &GenerationRunner::progressDialogShown, this, [&] {
            QVERIFY(runner.running());
            runner.requestStop();
        });
        const GenerationResult result = runner.run(*state, &parent);
        QCOMPARE(result.outcome, TimeTablifyOutcome::StoppedNoneFound);
        QVERIFY(result.stopped);
    }

    void inputIsHeldBackBeforeTheDialog() {
        // A click queued while the search runs must not reach the window
        // until the search is over.
        auto state = std::make_unique<ModuleState>();
        QWidget parent;
        QPushButton button("press", &parent);
        parent.show();
        int pressedDuringSearch = 0;
        bool searching = false;
        connect(&button, &QPushButton::clicked, this, [&] { pressedDuringSearch += searching ? 1 : 0; });
        GenerationRunner runner;
        runner.progressDelay = 1000ms;
        runner.search = [&](ModuleState&, const SearchControl&) {
            std::this_thread::sleep_for(100ms);
            return GenerationResult{TimeTablifyOutcome::NoTimetables, false, false};
        };
        QTimer::singleShot(20, &button, [&] { QTest::mouseClick(&button, Qt::LeftButton); });
        searching = true;
        runner.run(*state, &parent);
        searching = false;
        QCOMPARE(pressedDuringSearch, 0);
    }
};

QTEST_MAIN(GenerationRunnerTest)
#include "test_generation_runner.moc"
