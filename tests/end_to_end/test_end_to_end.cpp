// The whole program as a user meets it: a schedule in the main window,
// "TimeTablify!", the results frame, "Next", "Previous", "OK", a new
// generation while results are open, a search stopped with "Cancel", and
// favourites kept through Save and Load.
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <memory>

#include "editing.h"
#include "file_chooser.h"
#include "gui_actions.h"
#include "main_window.h"
#include "named_controls.h"

using namespace quorvandel::testing;
#include "program_windows.h"
#include "results_frame.h"
#include "results_windows.h"
#include "section_maker.h"
#include "timetable_grid_view.h"
#include "week.h"

using namespace quorvandel;
using quorvandel::testing::makeSection;

namespace {

// The program as app/main.cpp builds it, shown.
struct Program : ProgramWindows {
    QStringList messages;
    QStringList questions;  // "Save changes to ...?", answered "Don't Save"

    Program() {
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }

    // Courses go in through the store, as the dialogs would put them.
    void addCourse(const Text& name, std::vector<Section> sections) {
        QCOMPARE(AddCourse(*state, window, NewCourse(name)), StoreResult::Stored);
        const int16_t index = static_cast<int16_t>(state->NumCourses - 1);
        for (Section& s : sections) {
            s.CourseName = name;
            QCOMPARE(AddSection(*state, index, s), StoreResult::Stored);
        }
        window.activate();
    }

    QPushButton* mainButton(const char* name) { return window.findChild<QPushButton*>(name); }

    // Presses "TimeTablify!" and answers any message box it shows.
    void timeTablify() { press("cmdMakeTime"); }

    // Presses the button and answers any message box it shows.
    void press(const char* button) {
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->objectName() == QLatin1String("SaveChangesQuestion")) {
                questions << box->text();
                box->findChild<QAbstractButton*>("cmdAnswerDontSave")->click();
            } else if (box) {
                messages << box->text();
                box->accept();
            }
        });
        answer.start(10);
        QTest::mouseClick(mainButton(button), Qt::LeftButton);
        answer.stop();
    }

    // The positions of the open results that show as favourites, stepping
    // through all of them with Right from the first.
    QList<int> marked() {
        QList<int> seen;
        QTest::keyClick(frameButton(frame(), "cmdOk"), Qt::Key_Home);
        for (int p = 0; p < state->NumTimetables; ++p) {
            if (frameButton(frame(), "cmdAddFav")->text() == RemoveFromFavoritesCaption) seen << p;
            QTest::keyClick(frameButton(frame(), "cmdOk"), Qt::Key_Right);
        }
        return seen;
    }
    QString title() { return window.windowHandle()->title(); }

    TimeTablesMDI* frame() { return results.frame(); }
    QString counter() { return frame() ? frameButton(frame(), "cmdGoToT")->text() : QString(); }
    void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    QString cell(int i) { return results.gridView()->cell(i)->text(); }
};

// Saves to and loads from one file in a scratch folder.
struct OneFile : FileChooser {
    QString path;
    QString pathToSave(QWidget*, const QString&) override { return path; }
    QString pathToLoad(QWidget*, const QString&) override { return path; }
    QString pathOfListing(QWidget*) override { return {}; }
};

// Chem's three sections on Monday and Bio's two on Tuesday never clash: six
// timetables, Chem's section varying fastest.
void addChemAndBio(Program& p) {
    p.addCourse(u"Chem", {makeSection(u"", u"01", 0, 2, {0}), makeSection(u"", u"02", 2, 4, {0}),
                          makeSection(u"", u"02", 4, 6, {0})});
    p.addCourse(u"Bio", {makeSection(u"", u"B", 0, 2, {1}), makeSection(u"", u"C", 2, 4, {1})});
}

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
private slots:
    void stepThroughThreeTimetables() {
        Program p;
        // Chem has three sections that never clash with Bio's one.
        p.addCourse(u"Chem", {makeSection(u"", u"01", 0, 2, {0}), makeSection(u"", u"02", 2, 5, {0, 2}),
                              makeSection(u"", u"03", 4, 6, {1})});
        p.addCourse(u"Bio", {makeSection(u"", u"A", 10, 12, {4})});
        QVERIFY(p.mainButton("cmdMakeTime")->isEnabled());
        p.timeTablify();
        QVERIFY(p.messages.isEmpty());
        QVERIFY(p.frame());
        QCOMPARE(p.counter(), QString("TimeTable: 1 / 3"));
        QVERIFY(!frameButton(p.frame(), "cmdPrev")->isEnabled());
        QVERIFY(frameButton(p.frame(), "cmdNext")->isEnabled());
        QCOMPARE(p.cell(0), QString("Chem - 01"));

        p.click(frameButton(p.frame(), "cmdNext"));
        QCOMPARE(p.counter(), QString("TimeTable: 2 / 3"));
        for (int c : {2, 3, 4, 60, 61, 62}) QCOMPARE(p.cell(c), QString("Chem - 02"));
        QCOMPARE(p.cell(0), QString());  // nothing of timetable 1 is left
        QCOMPARE(p.cell(cellOf(4, 10)), QString("Bio - A"));

        p.click(frameButton(p.frame(), "cmdNext"));
        QCOMPARE(p.counter(), QString("TimeTable: 3 / 3"));
        QVERIFY(!frameButton(p.frame(), "cmdNext")->isEnabled());
        QVERIFY(frameButton(p.frame(), "cmdPrev")->isEnabled());
        p.click(frameButton(p.frame(), "cmdPrev"));
        QCOMPARE(p.counter(), QString("TimeTable: 2 / 3"));
        QVERIFY(frameButton(p.frame(), "cmdNext")->isEnabled() && frameButton(p.frame(), "cmdPrev")->isEnabled());

        p.click(frameButton(p.frame(), "cmdOk"));
        QVERIFY(!p.results.resultsOpen());
        QVERIFY(p.window.isVisible());
    }

    void newGenerationReplacesOrClosesOpenResults() {
        Program p;
        p.addCourse(u"Chem", {makeSection(u"", u"01", 0, 2, {0}), makeSection(u"", u"02", 2, 4, {0})});
        p.timeTablify();
        p.click(frameButton(p.frame(), "cmdNext"));
        QCOMPARE(p.counter(), QString("TimeTable: 2 / 2"));

        // A third section: the open results are replaced at 1 / 3.
        QCOMPARE(AddSection(*p.state, 0, makeSection(u"Chem", u"03", 6, 8, {3})), StoreResult::Stored);
        p.timeTablify();
        QCOMPARE(p.counter(), QString("TimeTable: 1 / 3"));
        QCOMPARE(p.cell(0), QString("Chem - 01"));

        // A clashing course: no timetable, and no stale results left open.
        p.addCourse(u"Gym", {makeSection(u"", u"G", 0, 29, {0, 1, 2, 3, 4, 5, 6})});
        p.timeTablify();
        QCOMPARE(p.messages, QStringList{QString::fromStdU16String(NoTimetablesMessage)});
        QVERIFY(!p.results.resultsOpen());
        QCOMPARE(p.state->NumTimetables, 0);
    }

    // Favourites go into the file with the schedule. After Load no
    // timetable is stored yet; "TimeTablify!" shows the favourites it finds
    // again marked, as a new generation does.
    void favouritesThroughSaveAndLoad_data() {
        QTest::addColumn<QList<int>>("marked");  // positions marked before Save
        QTest::addColumn<int>("removeBio");      // Bio's section removed after Load; -1 for none
        QTest::addColumn<QList<int>>("markedAfter");
        QTest::newRow("none") << QList<int>{} << -1 << QList<int>{};
        QTest::newRow("two come back") << QList<int>{1, 4} << -1 << QList<int>{1, 4};
        QTest::newRow("the first and the last") << QList<int>{0, 5} << -1 << QList<int>{0, 5};
        QTest::newRow("one loses its section after Load") << QList<int>{1, 4} << 1 << QList<int>{1};
        QTest::newRow("the other one loses it") << QList<int>{1, 4} << 0 << QList<int>{1};
    }
    void favouritesThroughSaveAndLoad() {
        QFETCH(QList<int>, marked);
        QFETCH(int, removeBio);
        QFETCH(QList<int>, markedAfter);
        Program p;
        QTemporaryDir folder;
        OneFile file;
        file.path = folder.filePath(QStringLiteral("fav.qvs"));
        p.window.scheduleKeeper().setFileChooser(&file);
        addChemAndBio(p);
        p.press("cmdSave");
        p.timeTablify();
        for (int position : marked) {
            while (p.state->CurrentTimetable < position) p.click(frameButton(p.frame(), "cmdNext"));
            p.click(frameButton(p.frame(), "cmdAddFav"));
        }
        QCOMPARE(p.marked(), marked);
        // Marking is a change to the schedule, shown at once in the title.
        QCOMPARE(p.title(), marked.isEmpty() ? QStringLiteral("fav.qvs - Quorvandel Main")
                                             : QStringLiteral("fav.qvs* - Quorvandel Main"));
        p.press("cmdSave");
        p.press("cmdNewMain");
        QCOMPARE(p.state->NumFavourites, 0);
        p.press("cmdLoad");
        QVERIFY(!p.results.resultsOpen());
        QCOMPARE(p.state->NumFavourites, marked.size());
        QCOMPARE(p.title(), QStringLiteral("fav.qvs - Quorvandel Main"));
        if (removeBio >= 0) {
            testing::clickLine(p.window.findChild<QListWidget*>("lstCourses"), 1);
            testing::clickLine(p.window.findChild<QListWidget*>("lstSecs"), removeBio);
            p.press("cmdRemSec");
            QCOMPARE(p.state->Courses[1].NumSections, 1);
        }
        p.timeTablify();
        QCOMPARE(p.marked(), markedAfter);
        QCOMPARE(p.title(), removeBio < 0 ? QStringLiteral("fav.qvs - Quorvandel Main")
                                          : QStringLiteral("fav.qvs* - Quorvandel Main"));
        QCOMPARE(p.questions, QStringList());
        QCOMPARE(p.messages, QStringList());
    }

    // "New" forgets the favourites; results left open (as designed) stop
    // showing them marked and leave the favourites view.
    void newForgetsFavouritesInOpenResults() {
        Program p;
        addChemAndBio(p);
        p.timeTablify();
        p.click(frameButton(p.frame(), "cmdNext"));
        p.click(frameButton(p.frame(), "cmdAddFav"));
        p.click(frameButton(p.frame(), "cmdGotofav"));
        QCOMPARE(p.counter(), QStringLiteral("Favorite: 1 / 1"));
        p.press("cmdNewMain");
        QCOMPARE(p.questions, QStringList{QStringLiteral("Save changes to Untitled?")});
        QVERIFY(p.results.resultsOpen());
        QCOMPARE(p.counter(), QStringLiteral("TimeTable: 2 / 6"));
        QCOMPARE(testing::shownCaption(frameButton(p.frame(), "cmdAddFav")->text()),
                 QStringLiteral("Add to Favorites"));
        QVERIFY(!frameButton(p.frame(), "cmdGotofav")->isEnabled() &&
                !frameButton(p.frame(), "cmdGotofav")->isChecked());
        QCOMPARE(p.title(), QStringLiteral("Quorvandel Main"));
    }

    void moreThan26IsNoted() {
        Program p;
        // 3 x 3 x 3 x 3 = 81 combinations, all on different days: no clash.
        for (int c = 0; c < 4; ++c) {
            std::vector<Section> sections;
            for (int s = 0; s < 3; ++s)
                sections.push_back(
                    makeSection(u"", QString::number(s).toStdU16String(), int16_t(s * 2), int16_t(s * 2 + 1), {c}));
            p.addCourse(u"C" + QString::number(c).toStdU16String(), sections);
        }
        p.timeTablify();
        QCOMPARE(p.counter(), QString("TimeTable: 1 / 26"));
        QVERIFY(frameLabel(p.frame(), "lblNote")->isVisible());
        QVERIFY(frameLabel(p.frame(), "lblNote")->text().contains("26"));
        for (int i = 2; i <= 26; ++i) {
            p.click(frameButton(p.frame(), "cmdNext"));
            QCOMPARE(p.counter(), QString("TimeTable: %1 / 26").arg(i));
        }
        QVERIFY(!frameButton(p.frame(), "cmdNext")->isEnabled());
    }

    void cancelAHardSearch() {
        Program p;
        // 20 courses, each of whose 10 sections is one of 19 disjoint blocks
        // of the week: no timetable exists, and a search without its memo of
        // failed subproblems would run for ever. The test swaps in such a
        // search so that "Cancel" has something to stop.
        for (int c = 0; c < 20; ++c) {
            std::vector<Section> sections;
            for (int s = 0; s < 10; ++s) {
                const int block = (c + s * 3) % 19;
                sections.push_back(makeSection(u"", QString::number(s).toStdU16String(), int16_t((block % 3) * 9),
                                               int16_t((block % 3) * 9 + 9), {block / 3}));
            }
            p.addCourse(u"C" + QString::number(c).toStdU16String(), sections);
        }
        const auto before = p.window.findChild<QListWidget*>("lstCourses")->count();
        p.window.generationRunner().search = [](ModuleState& state, const SearchControl& control) {
            while (!control.stop->load()) QThread::msleep(1);
            state.EnumDone = true;
            return GenerationResult{TimeTablifyOutcome::StoppedNoneFound, false, true};
        };
        bool dialogSeen = false;
        connect(&p.window.generationRunner(), &GenerationRunner::progressDialogShown, this, [&] {
            QProgressDialog* dialog = p.window.generationRunner().progressDialog();
            dialogSeen = dialog && dialog->labelText().startsWith("Finding timetables...");
            QTimer::singleShot(50, dialog, [dialog] {
                for (QPushButton* b : dialog->findChildren<QPushButton*>())
                    if (b->text() == "Cancel") QTest::mouseClick(b, Qt::LeftButton);
            });
        });
        p.timeTablify();
        QVERIFY(dialogSeen);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY(p.messages[0].contains("stopped"));
        QVERIFY(!p.results.resultsOpen());
        QCOMPARE(p.window.findChild<QListWidget*>("lstCourses")->count(), before);
        QVERIFY(p.mainButton("cmdMakeTime")->isEnabled());

        // A second press on an easy schedule, with the real search, works.
        p.window.generationRunner().search = [](ModuleState& s, const SearchControl& c) { return TimeTablify(s, c); };
        p.press("cmdNewMain");
        QCOMPARE(p.questions, QStringList{"Save changes to Untitled?"});
        p.addCourse(u"Chem", {makeSection(u"", u"01", 0, 2, {0})});
        p.timeTablify();
        QCOMPARE(p.counter(), QString("TimeTable: 1 / 1"));
    }

    void closingTheMainWindowMidSearchEndsCleanly() {
        Program p;
        p.addCourse(u"Chem", {makeSection(u"", u"01", 0, 2, {0})});
        p.window.generationRunner().search = [](ModuleState&, const SearchControl& control) {
            while (!control.stop->load()) QThread::msleep(1);
            return GenerationResult{TimeTablifyOutcome::StoppedNoneFound, false, true};
        };
        connect(&p.window.generationRunner(), &GenerationRunner::progressDialogShown, this,
                [&] { QTimer::singleShot(20, &p.window, [&] { p.window.close(); }); });
        p.timeTablify();
        QVERIFY(!p.window.isVisible());
        QVERIFY(!p.window.generationRunner().running());
        QVERIFY(p.messages.isEmpty());  // nothing more is said once the program is ending
        QCOMPARE(p.questions, QStringList{"Save changes to Untitled?"});
    }
};

QTEST_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
