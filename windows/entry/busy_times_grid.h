#pragma once
// The busy-times grid of the Options dialog: the week as seven day columns
// by 29 half-hour rows, laid out like the results grid, where the user marks
// the half-hours they cannot attend.
// - Mouse: a click toggles a cell; a drag paints the rectangle from the
//   pressed cell to the one under the pointer with the pressed cell's new
//   state; a click on a day header or a time label toggles the whole column
//   or row (all busy, or all free when it already was).
// - Keyboard: one cell holds the focus (the cursor); the arrows move it,
//   Space toggles it, Shift+arrow moves it and gives the new cell the state
//   of the cell it left, so a run is painted by holding Shift.
// - A busy cell is hatched, not only coloured; each cell's accessible name
//   says where it is and whether it is busy ("Monday 9:00 to 9:30, busy").

#include <QWidget>
#include <array>

#include "schedule_model.h"

class QToolButton;

namespace quorvandel {

class BusyTimesGrid : public QWidget {
    Q_OBJECT
public:
    explicit BusyTimesGrid(QWidget* parent = nullptr);

    const BusyCells& busy() const { return busy_; }
    void setBusy(const BusyCells& busy);
    void clear() { setBusy({}); }

    // The cell widgets (index = day x 29 + slot) and the headers, for tests
    // and screen readers.
    QWidget* cell(int index) const { return cells_.at(static_cast<size_t>(index)); }
    QToolButton* dayHeader(int day) const { return dayHeaders_.at(static_cast<size_t>(day)); }
    QToolButton* timeLabel(int slot) const { return timeLabels_.at(static_cast<size_t>(slot)); }
    int cursor() const { return cursor_; }

    // Handles a key pressed on the cursor cell; true when it was the grid's.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setCell(int index, bool busy);
    void toggleLine(int firstCell, int step, int count);
    void moveCursor(int index);
    int cellAt(const QPoint& position) const;  // -1 outside the cells
    void paintRectangle(int from, int to, bool busy);

    BusyCells busy_;
    std::array<QWidget*, CellsPerWeek> cells_{};
    std::array<QToolButton*, DaysPerWeek> dayHeaders_{};
    std::array<QToolButton*, SlotsPerDay> timeLabels_{};
    int cursor_ = 0;
    // A drag in progress: where it began, what it paints, and the cells as
    // they were before it, so that the rectangle can shrink again.
    int dragAnchor_ = -1;
    bool dragPaint_ = false;
    BusyCells beforeDrag_;
};

}  // namespace quorvandel
