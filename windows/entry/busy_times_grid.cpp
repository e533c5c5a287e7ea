#include "busy_times_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <algorithm>

#include "form_controls.h"
#include "form_metrics.h"
#include "week.h"

namespace quorvandel {

namespace {

// Geometry in twips, relative to the grid: the time labels down the left,
// the day headers along the top, then 7 columns by 29 rows of cells. The
// pitches are smaller than the results grid's so that the dialog fits a
// small screen.
constexpr int TimeLabelWidth = 600;
constexpr int HeaderHeight = 300;
constexpr int ColumnPitch = 960;
constexpr int RowPitch = 240;

// "Monday 9:00 to 9:30, busy"
QString cellName(int index, bool busy) {
    return qText(cellText(index)) + (busy ? QStringLiteral(", busy") : QStringLiteral(", free"));
}

// One half-hour. It paints itself and passes keys to the grid; the mouse
// goes straight through to the grid, which handles clicks and drags.
class BusyCell : public QWidget {
public:
    BusyCell(BusyTimesGrid& grid, int index) : QWidget(&grid), grid_(grid), index_(index) {
        setObjectName(QStringLiteral("busyCell%1").arg(index));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setAccessibleName(cellName(index, false));
    }
    void setBusy(bool busy) {
        if (busy == busy_) return;
        busy_ = busy;
        setAccessibleName(cellName(index_, busy));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect inside = rect().adjusted(0, 0, -1, -1);
        painter.fillRect(inside, busy_ ? palette().color(QPalette::Mid) : palette().color(QPalette::Base));
        // Busy is told by a hatch, not by the colour alone.
        if (busy_) painter.fillRect(inside, QBrush(palette().color(QPalette::Text), Qt::BDiagPattern));
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(inside.topRight(), inside.bottomRight());
        painter.drawLine(inside.bottomLeft(), inside.bottomRight());
        // The grid's outer edge along the first column and the first row.
        if (dayOfCell(index_) == 0) painter.drawLine(inside.topLeft(), inside.bottomLeft());
        if (slotOfCell(index_) == 0) painter.drawLine(inside.topLeft(), inside.topRight());
        if (hasFocus()) {
            QPen pen(palette().color(QPalette::Highlight), 2);
            painter.setPen(pen);
            painter.drawRect(inside.adjusted(1, 1, -1, -1));
        }
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (!grid_.handleKey(event->key(), event->modifiers())) QWidget::keyPressEvent(event);
    }
    void focusInEvent(QFocusEvent* event) override {
        QWidget::focusInEvent(event);
        update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QWidget::focusOutEvent(event);
        update();
    }

private:
    BusyTimesGrid& grid_;
    int index_;
    bool busy_ = false;
};

QToolButton* makeHeader(QWidget* parent, const QString& caption, const QString& name, const QRect& geometry) {
    auto* header = new QToolButton(parent);
    header->setText(caption);
    header->setAutoRaise(true);
    header->setFocusPolicy(Qt::NoFocus);  // the keyboard marks runs with Shift+arrows instead
    header->setAccessibleName(name);
    header->setGeometry(geometry);
    return header;
}

}  // namespace

BusyTimesGrid::BusyTimesGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("grdBusy"));
    setFixedSize(px(TimeLabelWidth + DaysPerWeek * ColumnPitch), px(HeaderHeight + SlotsPerDay * RowPitch));
    for (int day = 0; day < DaysPerWeek; ++day) {
        const QString dayName = qText(DayNames[static_cast<size_t>(day)]);
        dayHeaders_[static_cast<size_t>(day)] =
            makeHeader(this, dayName, dayName + QStringLiteral(", all day"),
                       twipsRect(TimeLabelWidth + day * ColumnPitch, 0, ColumnPitch, HeaderHeight));
        connect(dayHeaders_[static_cast<size_t>(day)], &QToolButton::clicked, this,
                [this, day] { toggleLine(cellOf(day, 0), 1, SlotsPerDay); });
    }
    for (int slot = 0; slot < SlotsPerDay; ++slot) {
        // The results grid's row captions: "800" .. "2200".
        const QString caption = qText(timeRowCaption(slot));
        timeLabels_[static_cast<size_t>(slot)] =
            makeHeader(this, caption, qText(halfHourText(slot)) + QStringLiteral(", every day"),
                       twipsRect(0, HeaderHeight + slot * RowPitch, TimeLabelWidth, RowPitch));
        connect(timeLabels_[static_cast<size_t>(slot)], &QToolButton::clicked, this,
                [this, slot] { toggleLine(cellOf(0, slot), SlotsPerDay, DaysPerWeek); });
    }
    for (int index = 0; index < CellsPerWeek; ++index) {
        auto* cell = new BusyCell(*this, index);
        cell->setGeometry(twipsRect(TimeLabelWidth + dayOfCell(index) * ColumnPitch,
                                    HeaderHeight + slotOfCell(index) * RowPitch, ColumnPitch, RowPitch));
        cells_[static_cast<size_t>(index)] = cell;
    }
    cells_[0]->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(cells_[0]);
}

void BusyTimesGrid::setBusy(const BusyCells& busy) {
    for (int index = 0; index < CellsPerWeek; ++index) setCell(index, busy.test(static_cast<size_t>(index)));
}

void BusyTimesGrid::setCell(int index, bool busy) {
    busy_.set(static_cast<size_t>(index), busy);
    static_cast<BusyCell*>(cells_[static_cast<size_t>(index)])->setBusy(busy);
}

// A whole day or a whole row: all busy, unless it already is, then all free.
void BusyTimesGrid::toggleLine(int firstCell, int step, int count) {
    bool allBusy = true;
    for (int k = 0; k < count; ++k) allBusy = allBusy && busy_.test(static_cast<size_t>(firstCell + k * step));
    for (int k = 0; k < count; ++k) setCell(firstCell + k * step, !allBusy);
}

void BusyTimesGrid::moveCursor(int index) {
    QWidget* from = cells_[static_cast<size_t>(cursor_)];
    QWidget* to = cells_[static_cast<size_t>(index)];
    cursor_ = index;
    if (from != to) {
        from->setFocusPolicy(Qt::NoFocus);
        to->setFocusPolicy(Qt::StrongFocus);
        setFocusProxy(to);
    }
    to->setFocus(Qt::OtherFocusReason);
    from->update();
}

bool BusyTimesGrid::handleKey(int key, Qt::KeyboardModifiers modifiers) {
    const int day = dayOfCell(cursor_), slot = slotOfCell(cursor_);
    int toDay = day, toSlot = slot;
    switch (key) {
    case Qt::Key_Space:
        setCell(cursor_, !busy_.test(static_cast<size_t>(cursor_)));
        return true;
    case Qt::Key_Left:
        toDay = day - 1;
        break;
    case Qt::Key_Right:
        toDay = day + 1;
        break;
    case Qt::Key_Up:
        toSlot = slot - 1;
        break;
    case Qt::Key_Down:
        toSlot = slot + 1;
        break;
    default:
        return false;
    }
    if (toDay < 0 || toDay >= DaysPerWeek || toSlot < 0 || toSlot >= SlotsPerDay) return true;  // at the edge
    const int to = cellOf(toDay, toSlot);
    if (modifiers & Qt::ShiftModifier) setCell(to, busy_.test(static_cast<size_t>(cursor_)));
    moveCursor(to);
    return true;
}

int BusyTimesGrid::cellAt(const QPoint& position) const {
    const int x = position.x() - px(TimeLabelWidth), y = position.y() - px(HeaderHeight);
    if (x < 0 || y < 0) return -1;
    const int day = x / px(ColumnPitch), slot = y / px(RowPitch);
    if (day >= DaysPerWeek || slot >= SlotsPerDay) return -1;
    return cellOf(day, slot);
}

void BusyTimesGrid::paintRectangle(int from, int to, bool busy) {
    const auto [firstDay, lastDay] = std::minmax({dayOfCell(from), dayOfCell(to)});
    const auto [firstSlot, lastSlot] = std::minmax({slotOfCell(from), slotOfCell(to)});
    for (int day = firstDay; day <= lastDay; ++day)
        for (int slot = firstSlot; slot <= lastSlot; ++slot) setCell(cellOf(day, slot), busy);
}

void BusyTimesGrid::mousePressEvent(QMouseEvent* event) {
    const int index = cellAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || index < 0) return QWidget::mousePressEvent(event);
    dragAnchor_ = index;
    dragPaint_ = !busy_.test(static_cast<size_t>(index));
    beforeDrag_ = busy_;
    setCell(index, dragPaint_);
    moveCursor(index);
}

void BusyTimesGrid::mouseMoveEvent(QMouseEvent* event) {
    const int index = cellAt(event->position().toPoint());
    if (dragAnchor_ < 0 || index < 0) return;
    setBusy(beforeDrag_);
    paintRectangle(dragAnchor_, index, dragPaint_);
    moveCursor(index);
}

void BusyTimesGrid::mouseReleaseEvent(QMouseEvent* event) {
    dragAnchor_ = -1;
    QWidget::mouseReleaseEvent(event);
}

}  // namespace quorvandel
