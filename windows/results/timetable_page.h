#pragma once
// The shown timetable as a page for printing and export: a title (the
// counter, "TimeTable: 2 / 5"), the week grid exactly as the results window
// draws it, course colours and fitted captions included, and below it one
// line per section with its course's colour swatch, whole caption, days and
// times, so that a caption shortened in its cell is still there to read in
// full and to match to its cells.

#include <QSize>
#include <QString>
#include <QStringList>

#include "schedule_model.h"

class QPainter;
class QRect;

namespace quorvandel {

class TimetablePage {
public:
    // The timetable at state.CurrentTimetable, which must name a stored one.
    TimetablePage(const ModuleState& state, const QString& title);

    // The page at its natural size, in logical pixels: the grid at the size
    // it has on screen, with the title above and the section lines below.
    QSize naturalSize() const;

    // Paints the page into `target`, scaled to fit it with its proportions
    // kept, centred across and at the top.
    void paint(QPainter& painter, const QRect& target) const;

    // The section lines below the grid, "Chem - 02   M W   9:00 - 10:30".
    const QStringList& sectionLines() const { return sectionLines_; }

private:
    const ModuleState& state_;
    QString title_;
    QStringList sectionLines_;
};

}  // namespace quorvandel
