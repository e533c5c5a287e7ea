#pragma once
// ResultsWindows: the results viewer behind the main window's
// ResultsPresenter. It opens the results frame TimeTablesMDI with its grid
// window frmTimetables, replaces them when a new generation is shown, and
// closes them on request. Wiring:
//
//     ResultsWindows presenter(state);
//     mainWindow.setResultsPresenter(&presenter);
//     QObject::connect(&presenter, &ResultsWindows::userReturnedToMain,
//                      &mainWindow, [&] { /* run the activation step */ });
//
// The results are not modal: the main window stays usable while they are
// open. Destroying the presenter closes any open results.

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

#include "results_presenter.h"
#include "schedule_model.h"

namespace quorvandel {

class ResultsDialogs;
class TimeTablesMDI;
class frmTimetables;

class ResultsWindows : public QObject, public ResultsPresenter {
    Q_OBJECT
public:
    explicit ResultsWindows(ModuleState& state, QObject* parent = nullptr);
    ~ResultsWindows() override;

    // The dialogs "Print…" and "Export…" ask through (the real ones until
    // set; null sets them back). Takes effect for results opened later.
    void setDialogs(ResultsDialogs* dialogs);

    // Opens the results on TimeTable 1 of state.NumTimetables. Results still
    // open are closed first, so the frame, the grid and the counter always
    // belong to the latest generation. Favourites not among the new
    // timetables stay marked (the note says how many). Any outcome other than ShowResults only
    // closes open results; ShowResults comes with 1 to 26 stored timetables.
    void showResults(const GenerationResult& result) override;
    // Closes the open results, if any. Does not emit userReturnedToMain.
    void closeResults() override;
    bool resultsOpen() const override;
    void favouritesChanged() override;
    void showCountNote(const Text& note) override;

    // The open frame and its loaded grid window, or null.
    TimeTablesMDI* frame() const;
    frmTimetables* gridView() const;

signals:
    // The user marked or unmarked a favourite in the open results.
    void favouritesEdited();
    // "Take Only Chem - 02" from a cell's context menu (or, from the
    // keyboard, the menu key anywhere in the results): leave out every
    // other section of course `course` (the main window does it; it takes
    // effect at the next generation).
    void takeOnlySectionRequested(int16_t course, const Section& section);
    // The user closed the results ("OK" or the frame's close button) and is
    // back at the main window: connect the main window's activation step
    // here. Emitted after the frame has closed, when resultsOpen() is false.
    void userReturnedToMain();

private:
    void onFrameClosed(TimeTablesMDI* frame);
    // The context menu of the grid cell at `at` (in the grid's client).
    void showCellMenu(const QPoint& at);
    // "Take Only" for the sections of the timetable shown that cover
    // `cell`, or for every one of them when `cell` is -1.
    void showSectionsMenu(int cell, const QPoint& globalAt);
    void rememberClosed(TimeTablesMDI* frame);

    ModuleState& state_;
    std::unique_ptr<ResultsDialogs> realDialogs_;
    ResultsDialogs* dialogs_;
    QPointer<TimeTablesMDI> frame_;
    // Closed frames waiting for their deferred deletion; deleted at the
    // latest with the presenter.
    std::vector<QPointer<TimeTablesMDI>> closedFrames_;
};

}  // namespace quorvandel
