#pragma once
// frmQuorvandelMain, "Quorvandel Main": the course list, the section list of
// the selected course and the commands that edit them. It is the lists and
// buttons the editing operations work on (MainWindowLists); beyond what its
// controls show it keeps only the schedule's file and what was last saved
// there (schedule_keeper.h).
//
// "Get Sections" (get_sections_dialog.h) adds the sections of a course
// listing the user pastes or opens, or drops on the window.
//
// Activation steps (activate()): they run when the window is first shown,
// after each of its dialogs closes, and whenever the window becomes the
// active window again after another window of the program (the results
// windows) was active. Returning from another program, or from one of the
// program's message boxes, does not run them. The results windows may also
// call activate() themselves when the user goes back to the main window, for
// platforms that report no activation.
//
// Every command handler takes its turn first (command_turn.h): while a
// search runs or a modal window is open, no command acts.
//
// Changing without retyping (main_window_changes.cpp): a section line is
// edited by a double-click, Enter or F2, duplicated by Ctrl+D, left out or
// taken back by Space; a course line is renamed by a double-click, Enter or
// F2; both lists have a context menu with these and Undo and Redo. Every
// change to the schedule is a step of the history (schedule_history.h):
// Ctrl+Z undoes it, Ctrl+Shift+Z and Ctrl+Y redo it; "New" and "Load"
// start a fresh history.
//
// It opens at its designed size, its smallest; enlarged, the two lists grow
// to share the new room and the buttons keep their places beside and below
// them (layoutControls()).

#include <QRect>
#include <QWidget>
#include <vector>

#include "background_count.h"
#include "generation_runner.h"
#include "main_window_lists.h"
#include "results_presenter.h"
#include "schedule_history.h"
#include "schedule_keeper.h"
#include "schedule_model.h"
#include "timetablify.h"

class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QPushButton;
class QWindow;

namespace quorvandel {

class ListBox;
class frmAddCrs;

extern const QString NoSectionSelectedMessage;  // "You have not selected a section to remove"

class frmQuorvandelMain : public QWidget, public MainWindowLists {
    Q_OBJECT
public:
    explicit frmQuorvandelMain(ModuleState& state, QWidget* parent = nullptr);
    ~frmQuorvandelMain() override;

    // Where found timetables are shown; none until set.
    void setResultsPresenter(ResultsPresenter* presenter);

    // MainWindowLists
    void appendCourseLine(const Text& line) override;
    void removeCourseLine(int16_t index) override;
    int16_t selectedCourseIndex() const override;
    Text courseLine(int16_t index) const override;
    void setCourseLine(int16_t index, const Text& line) override;
    void setSectionLine(int16_t index, const Text& line, bool leftOut) override;
    void clearSectionLines() override;
    void removeSectionLine(int16_t index) override;
    void appendSectionLine(const Text& line) override;
    Text dayAbbreviation(int16_t day) const override;
    void disableRemoveCourse() override;
    void disableAddSection() override;

    // The worker that runs "TimeTablify!" (tests may give it a slower search).
    GenerationRunner& generationRunner() { return runner_; }
    // The count of every timetable that follows results with more than 26.
    BackgroundCount& backgroundCount() { return count_; }

    // The schedule's file and whether it has unsaved changes; tests replace
    // its file dialogs.
    ScheduleKeeper& scheduleKeeper() { return keeper_; }
    // Replaces the schedule with the one in the file, as "Load" does after
    // its questions; a file that cannot be read leaves everything as it was
    // after its message. True when loaded.
    bool loadFile(const QString& path);

    // Leaves every section of the course out but `section`, as "Take Only
    // This Section" does (the results' cell menu asks for it by the
    // section's record). Nothing happens when no live section of the course
    // is that section (the schedule changed since the results were made).
    void takeOnlySection(int16_t course, const Section& section);

    // The names of the steps Undo and Redo would take (empty: none).
    Text undoName() const { return history_.undoName(); }
    Text redoName() const { return history_.redoName(); }

public slots:
    void activate();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A course listing file (.csv, .tsv, .txt) dropped on the window opens
    // "Get Sections" with it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    // Places every control for the window's size from its designed place:
    // each moves by a share of the extra width and height, and the lists
    // also grow by one.
    void layoutControls();
    struct Anchored {
        QWidget* control;
        QRect designed;
        int moveX, growX;  // in halves of the extra width
        bool moveY, growY;
    };
    std::vector<Anchored> anchored_;
    void load();
    void noteFocusWindow(QWindow* window);
    // "Add Course" is disabled while the store holds its 20 courses, and
    // "Add Section" while the selected course holds its 10 sections (beyond
    // that, while a course is selected), each with a tooltip saying why.
    void showCapacityLimits();

    // main_window_changes.cpp: the keys, double-clicks and context menus
    // of the lists, and their commands.
    void createChangeCommands();
    void showCourseMenu(int line, const QPoint& at);
    void showSectionMenu(int line, const QPoint& at);
    void renameCourse();
    void editSection();
    void duplicateSection();
    void toggleLeftOut();
    void takeOnlyThisSection();
    void takeEverySection();
    void undo();
    void redo();
    // After a command that may have changed the schedule: a change is
    // recorded as a step named `name`, the title follows.
    void noteChange(const Text& name, ScheduleSnapshot before);
    // After Undo or Redo put a schedule back: the course that was selected
    // is selected again where it still exists, and the buttons follow.
    void showRestored(int16_t selectedCourse);
    // The selected section's name as the steps say it ("Chem - 02").
    Text selectedSectionName() const;
    Text sectionName(int16_t course, int16_t section) const;
    bool duplicateAllowed() const;

    void lstCourses_Click();
    void lstSecs_Click();
    void cmdAddCrs_Click();
    void cmdAddSec_Click();
    // "Get Sections", with the listing file to start from (none: an empty box).
    void cmdGetSec_Click();
    void getSections(const QString& listingFile);
    void cmdRemCourse_Click();
    void cmdRemSec_Click();
    void cmdNewMain_Click();
    void cmdOption_Click();
    void cmdMakeTime_Click();
    void cmdSave_Click();
    void saveAs();
    void cmdLoad_Click();
    void cmdExit_Click();
    // Ends the program; also when the window is closed and the question
    // about unsaved changes lets it.
    void endProgram();
    // The designed "New": both lists emptied, no course, buttons disabled.
    void clearSchedule();

    // The generation run by "TimeTablify!", and what the window does with
    // its outcome.
    GenerationResult generate();
    void presentGeneration(const GenerationResult& result);
    // Closes the results windows if they are open (each caller says why).
    void closeOpenResults();

    ModuleState& state_;
    ResultsPresenter* presenter_ = nullptr;
    GenerationRunner runner_;
    BackgroundCount count_;
    ScheduleKeeper keeper_;
    ScheduleHistory history_;
    frmAddCrs* addCourseDialog_ = nullptr;  // created at the first opening, then reused
    bool shownOnce_ = false;
    bool otherWindowWasActive_ = false;  // since the activation steps last ran
    bool ending_ = false;

    ListBox* lstDofW_;
    QLabel* Picture1_;
    QPushButton* cmdNewMain_;
    QPushButton* cmdSave_;
    QPushButton* cmdLoad_;
    QLabel* lblCourses_;
    QLabel* lblSections_;
    QPushButton* cmdAddSec_;
    ListBox* lstCourses_;
    ListBox* lstSecs_;
    QPushButton* cmdRemSec_;
    QPushButton* cmdRemCourse_;
    QPushButton* cmdAddCrs_;
    QPushButton* cmdGetSec_;
    QPushButton* cmdHelp_;
    QWidget* Line1_;
    QPushButton* cmdOption_;
    QPushButton* cmdMakeTime_;
    QPushButton* cmdExit_;
};

}  // namespace quorvandel
