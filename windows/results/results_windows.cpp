#include "results_windows.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <algorithm>
#include <utility>
#include <vector>

#include "results_dialogs.h"
#include "results_frame.h"
#include "timetable_grid_view.h"
#include "week.h"

namespace quorvandel {

ResultsWindows::ResultsWindows(ModuleState& state, QObject* parent)
    : QObject(parent),
      state_(state),
      realDialogs_(std::make_unique<RealResultsDialogs>()),
      dialogs_(realDialogs_.get()) {}

void ResultsWindows::setDialogs(ResultsDialogs* dialogs) { dialogs_ = dialogs ? dialogs : realDialogs_.get(); }

ResultsWindows::~ResultsWindows() {
    closeResults();
    for (const QPointer<TimeTablesMDI>& frame : closedFrames_) delete frame.data();
}

void ResultsWindows::showResults(const GenerationResult& result) {
    closeResults();
    if (result.outcome != TimeTablifyOutcome::ShowResults) return;
    // Opening: the frame loads (its load step writes the counter), then the
    // grid window loads and paints, then both are shown. ShowResults always
    // comes with a stored timetable, so position 0 names one.
    state_.CurrentTimetable = 0;
    auto* frame = new TimeTablesMDI(state_, result, *dialogs_);
    frame_ = frame;
    connect(frame, &TimeTablesMDI::closed, this, [this, frame] { onFrameClosed(frame); });
    connect(frame, &TimeTablesMDI::favouritesEdited, this, &ResultsWindows::favouritesEdited);
    frame->showGridView();
    if (frmTimetables* grid = frame->gridView()) {
        grid->client()->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid->client(), &QWidget::customContextMenuRequested, this, &ResultsWindows::showCellMenu);
    }
    // The keyboard's route: the focus stays on the strip, and the menu key
    // there, or a click beside the grid, offers every section shown.
    frame->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(frame, &QWidget::customContextMenuRequested, this,
            [this, frame](const QPoint& at) { showSectionsMenu(-1, frame->mapToGlobal(at)); });
    // On the screen of the window the search was started from.
    if (const QWidget* from = QApplication::activeWindow()) frame->setScreen(from->screen());
    frame->fitToScreen();
    frame->show();
    frame->activateWindow();
}

void ResultsWindows::closeResults() {
    TimeTablesMDI* frame = frame_;
    if (!frame) return;
    frame_ = nullptr;
    disconnect(frame, &TimeTablesMDI::closed, this, nullptr);
    frame->unloadGridView();
    frame->close();  // deletes itself later
    rememberClosed(frame);
}

bool ResultsWindows::resultsOpen() const { return frame_ != nullptr; }

void ResultsWindows::showCellMenu(const QPoint& at) {
    const frmTimetables* grid = gridView();
    if (grid == nullptr) return;
    const QWidget* child = grid->client()->childAt(at);
    int cell = -1;
    for (int i = 0; i < CellsPerWeek && cell < 0; ++i)
        if (grid->cell(i) == child) cell = i;
    if (cell >= 0) showSectionsMenu(cell, grid->client()->mapToGlobal(at));
}

void ResultsWindows::showSectionsMenu(int cell, const QPoint& globalAt) {
    if (gridView() == nullptr || state_.CurrentTimetable < 0 || state_.CurrentTimetable >= state_.NumTimetables) return;
    const Timetable& shown = state_.Timetables[static_cast<size_t>(state_.CurrentTimetable)];
    QMenu menu(gridView());
    menu.setObjectName(QStringLiteral("mnuCell"));
    std::vector<std::pair<const QAction*, int16_t>> choices;
    for (int16_t c = 0; c < shown.NumSections; ++c) {
        const Section& section = shown.Sections[static_cast<size_t>(c)];
        bool covers = cell < 0;
        forEachCoveredCell(section, [&](int covered) { covers = covers || covered == cell; });
        if (!covers) continue;
        choices.emplace_back(menu.addAction(QStringLiteral("Take Only %1 - %2")
                                                .arg(QString::fromStdU16String(section.CourseName),
                                                     QString::fromStdU16String(section.SecNum))),
                             c);
    }
    if (choices.empty()) return;
    const QAction* chosen = menu.exec(globalAt);
    for (const auto& [action, course] : choices)
        if (action == chosen && course < shown.NumSections) {
            const Section section = shown.Sections[static_cast<size_t>(course)];  // the store may change
            emit takeOnlySectionRequested(course, section);
        }
}

void ResultsWindows::favouritesChanged() {
    if (frame_) frame_->followFavourites();
}

void ResultsWindows::showCountNote(const Text& note) {
    if (frame_) frame_->showCountNote(QString::fromStdU16String(note));
}

TimeTablesMDI* ResultsWindows::frame() const { return frame_; }

frmTimetables* ResultsWindows::gridView() const { return frame_ ? frame_->gridView() : nullptr; }

void ResultsWindows::rememberClosed(TimeTablesMDI* frame) {
    std::erase_if(closedFrames_, [](const QPointer<TimeTablesMDI>& f) { return f.isNull(); });
    closedFrames_.emplace_back(frame);
}

void ResultsWindows::onFrameClosed(TimeTablesMDI* frame) {
    if (frame_ != frame) return;
    frame_ = nullptr;
    rememberClosed(frame);
    emit userReturnedToMain();
}

}  // namespace quorvandel
