#pragma once
// frmTimetables: the grid window that shows one stored timetable as a week of
// seven day columns by 29 half-hour rows; each occupied cell is filled
// with its course's colour (course_palette.h). It lives as a child window of the
// results frame and always shows Timetables(CurrentTimetable). Every load
// (construction) starts from blank cells and paints the current timetable
// once; another timetable is shown by destroying the window and making a new
// one. The window keeps no data of its own and handles no user input. It
// has a title but no buttons, and cannot be closed on its own.
//
// All positions are laid out in twips, 15 twips to a logical pixel. That is
// the grid's smallest size; given more room, the columns share the extra
// width and the rows the extra height, and the day names stay in view while
// the grid scrolls.

#include <QColor>
#include <QMdiSubWindow>
#include <array>

#include "form_metrics.h"
#include "schedule_model.h"

class QFrame;
class QLabel;
class QMdiArea;
class QScrollArea;
class QPainter;

namespace quorvandel {

// The client area of the grid window: 10755 x 10875 twips.
constexpr int GridClientWidth = px(10755);
constexpr int GridClientHeight = px(10875);

class frmTimetables : public QMdiSubWindow {
    Q_OBJECT
public:
    // The load step: places the window at the top-left of `area` (the
    // results frame's child area) and paints the timetable at
    // state.CurrentTimetable. The position must name a stored timetable
    // (results_position.h); one out of step with the store stops a debug
    // build, and a release build shows a blank grid with neither button
    // usable.
    frmTimetables(const ModuleState& state, QMdiArea& area);

    // The size that shows the whole grid at its designed size.
    QSize fullSize() const;
    // Makes the window fill `room`, never narrower than the whole grid:
    // the grid grows to fill it, and where the room is shorter than the
    // whole grid, the grid scrolls inside it with its scroll bar at the
    // grid's right edge.
    void fitInto(const QSize& room);
    // Scrolls the grid a row for Up and Down. True when the grid moved;
    // false for other keys and when it already stood at that end.
    bool scrollForKey(int key);

    // Greys the busy half-hours that no class of the timetable uses, so that
    // the user sees what they kept free; a screen reader hears ", busy".
    void markBusyCells(const BusyCells& busy);

    // The 203 cells, index = day x 29 + slot. A cell shows its caption
    // fitted to its size (cell_caption.h), on two lines where it is tall
    // enough for them; its tooltip and spoken name hold the whole caption.
    QLabel* cell(int index) const { return cells_.at(static_cast<size_t>(index)); }
    // The course colour a cell is filled with, or an invalid colour for a
    // blank cell.
    QColor cellFill(int index) const;
    // The client widget that holds the cells, headers, time labels and lines.
    QWidget* client() const { return client_; }

    // Paints the client area as shown (lines, headers, time labels, cells
    // with their fills and captions) with the painter's origin at its
    // top-left corner, as lines, fills and text: a printer or a PDF keeps
    // them sharp at any size, where rendering the widgets would give a
    // picture. Leaves the background unpainted.
    void paintOnPage(QPainter& painter) const;

protected:
    // Refused: the window goes only with the frame ("OK" or the frame's
    // close button). Closed alone it left an empty grey frame behind.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildGrid();
    // Places every part of the grid for a client area of `size`, at least
    // the designed size.
    void layoutGrid(const QSize& size);
    // Keeps the day names at the top of the view with the grid scrolled
    // down by `scrolled` pixels.
    void pinDayHeader(int scrolled);
    // Paints the cells of the section chosen for course `courseIndex`,
    // captioned with `numbers` (every section with the same times, merged).
    void showSection(const Section& section, const Text& numbers, int courseIndex);

    QScrollArea* scroll_ = nullptr;
    QWidget* client_ = nullptr;
    std::array<QLabel*, CellsPerWeek> cells_{};
    std::array<QLabel*, DaysPerWeek> dayHeaders_{};
    std::array<QLabel*, SlotsPerDay> timeLabels_{};
    std::array<QFrame*, SlotsPerDay> rowLines_{};
    std::array<QFrame*, DaysPerWeek + 1> columnLines_{};
    // Behind the day names while the grid is scrolled, so that the rows
    // passing under them do not show through.
    QWidget* headerBand_ = nullptr;
    int headerOffset_ = 0;  // how far the day names are moved down to stay in view
};

}  // namespace quorvandel
