#pragma once
// "All": every stored timetable at once, as a small week picture in the
// course colours, so that a student can judge the shapes side by side
// instead of stepping through them one by one. Each picture is numbered as
// the counter numbers it, marks a favourite with a star and the timetable
// shown in the grid with a thick frame; clicking it, or Enter or Space on
// it, asks the frame to show that timetable (picked()). The arrows move
// between the pictures, Esc closes the window.
//
// A window of its own that belongs to the results frame: it goes with the
// frame, and the frame calls refresh() after every change of what it shows,
// so the pictures are never those of older results. The pictures are sized
// so that all of them fit the screen the frame is on.

#include <QAbstractButton>
#include <QWidget>
#include <vector>

#include "schedule_model.h"

class QGridLayout;

namespace quorvandel {

// One stored timetable as a picture: 7 day columns of 29 half-hours.
class TimetableThumbnail : public QAbstractButton {
    Q_OBJECT
public:
    TimetableThumbnail(const ModuleState& state, int16_t position, QWidget* parent);
    int16_t position() const { return position_; }
    // Redraws the favourite star and the frame of the shown timetable, and
    // the spoken name with them.
    void refresh();
    bool favourite() const { return favourite_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const ModuleState& state_;
    int16_t position_;
    bool favourite_ = false;
    bool shown_ = false;
};

class TimetableOverview : public QWidget {
    Q_OBJECT
public:
    TimetableOverview(const ModuleState& state, QWidget* parent);

    // Follows the store: one picture for each stored timetable, the
    // favourites and the shown one marked. Sizes and places the window to
    // fit the screen when the number of pictures changed.
    void refresh();
    // Shows the window, fitted to the screen of `over`, with the focus on
    // the picture of the shown timetable.
    void open(QWidget* over);

    const std::vector<TimetableThumbnail*>& thumbnails() const { return thumbnails_; }

signals:
    // The user chose the timetable at `position`.
    void picked(int16_t position);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rebuild();
    void fitToScreen(QWidget* over);
    void moveFocus(int delta);

    const ModuleState& state_;
    QGridLayout* grid_ = nullptr;
    std::vector<TimetableThumbnail*> thumbnails_;
    int columns_ = 1;
};

// Columns for `count` pictures of aspect width : height `aspect` in an area
// of the given size: the number that lets them be largest.
int overviewColumns(int count, double aspect, int areaWidth, int areaHeight);

}  // namespace quorvandel
