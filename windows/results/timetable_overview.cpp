#include "timetable_overview.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "course_palette.h"
#include "favourites.h"
#include "form_controls.h"
#include "form_metrics.h"
#include "section_caption.h"
#include "week.h"

namespace quorvandel {

namespace {

// A picture's header line (its number and star) and its margin, in pixels.
constexpr int HeaderHeight = 15;
constexpr int Margin = 3;
constexpr int Spacing = 6;
// The week drawn 7 columns of 16 by 29 rows of 4: a picture of about the
// grid window's shape, header included.
constexpr double PictureAspect = (7.0 * 16 + 2 * Margin) / (29.0 * 4 + HeaderHeight + 2 * Margin);
// Pictures never grow past this width: a larger one shows nothing more.
constexpr int LargestWidth = 200;
constexpr int SmallestWidth = 56;
// Room kept for the window manager's title bar and borders.
constexpr int TitleBarAllowance = 40;
constexpr int BorderAllowance = 16;

QString thumbnailName(int16_t position, bool favourite) {
    QString name = QStringLiteral("TimeTable %1").arg(position + 1);
    if (favourite) name += QStringLiteral(", favourite");
    return name;
}

}  // namespace

int overviewColumns(int count, double aspect, int areaWidth, int areaHeight) {
    int best = 1;
    double bestWidth = -1;
    for (int columns = 1; columns <= std::max(count, 1); ++columns) {
        const int rows = (count + columns - 1) / columns;
        const double byWidth = double(areaWidth - Spacing * (columns + 1)) / columns;
        const double byHeight = double(areaHeight - Spacing * (rows + 1)) / std::max(rows, 1) * aspect;
        const double width = std::min(byWidth, byHeight);
        if (width > bestWidth + 0.5) {
            bestWidth = width;
            best = columns;
        }
    }
    return best;
}

// ---------------------------------------------------------------- A picture

TimetableThumbnail::TimetableThumbnail(const ModuleState& state, int16_t position, QWidget* parent)
    : QAbstractButton(parent), state_(state), position_(position) {
    setObjectName(QStringLiteral("picTimeTable%1").arg(position + 1));
    setFocusPolicy(Qt::StrongFocus);
    QStringList sections;
    const Timetable& timetable = state_.Timetables[static_cast<size_t>(position)];
    for (int i = 0; i < timetable.NumSections; ++i) sections << qText(timetableCaption(timetable, i));
    setToolTip(sections.join(QLatin1Char('\n')));
    refresh();
}

void TimetableThumbnail::refresh() {
    favourite_ = isFavourite(state_, position_);
    shown_ = state_.CurrentTimetable == position_;
    setAccessibleName(thumbnailName(position_, favourite_));
    setAccessibleDescription(toolTip());
    update();
}

void TimetableThumbnail::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier)
        return click();
    QAbstractButton::keyPressEvent(event);
}

void TimetableThumbnail::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect whole = rect();
    painter.fillRect(whole, palette().color(QPalette::Window));
    const QRect week = whole.adjusted(Margin, Margin + HeaderHeight, -Margin, -Margin);
    painter.fillRect(week, Qt::white);

    const auto cellRect = [&](int cell) {
        const int day = dayOfCell(cell), slot = slotOfCell(cell);
        const int left = week.left() + week.width() * day / DaysPerWeek;
        const int right = week.left() + week.width() * (day + 1) / DaysPerWeek;
        const int top = week.top() + week.height() * slot / SlotsPerDay;
        const int bottom = week.top() + week.height() * (slot + 1) / SlotsPerDay;
        return QRect(left, top, right - left, bottom - top);
    };
    const Timetable& timetable = state_.Timetables[static_cast<size_t>(position_)];
    for (int i = 0; i < timetable.NumSections; ++i) {
        const QColor fill = courseColours(i).fill;
        forEachCoveredCell(timetable.Sections[static_cast<size_t>(i)],
                           [&](int cell) { painter.fillRect(cellRect(cell), fill); });
    }
    // The day columns, and noon and 17:00 as faint lines to read the hours by.
    painter.setPen(QColor(0, 0, 0, 60));
    for (int day = 1; day < DaysPerWeek; ++day) {
        const int x = week.left() + week.width() * day / DaysPerWeek;
        painter.drawLine(x, week.top(), x, week.bottom());
    }
    for (int hour : {12, 17}) {
        const int y = week.top() + week.height() * slotOf(hour, 0) / SlotsPerDay;
        painter.drawLine(week.left(), y, week.right(), y);
    }
    painter.setPen(Qt::black);
    painter.drawRect(week.adjusted(0, 0, -1, -1));

    const QRect header(whole.left() + Margin, whole.top() + Margin, whole.width() - 2 * Margin, HeaderHeight);
    painter.setFont(font());
    painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, QString::number(position_ + 1));
    if (favourite_) painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("\u2605"));
    // The shown timetable in a thick frame, the focused one in the
    // highlight colour around it.
    if (shown_) {
        painter.setPen(QPen(Qt::black, 2));
        painter.drawRect(whole.adjusted(1, 1, -1, -1));
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DashLine));
        painter.drawRect(header.adjusted(0, 0, -1, 0));
    }
}

// ---------------------------------------------------------------- The window

TimetableOverview::TimetableOverview(const ModuleState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state) {
    setObjectName(QStringLiteral("frmAllTimetables"));
    setWindowTitle(QStringLiteral("All Timetables"));
    setFont(formFont());
    grid_ = new QGridLayout(this);
    grid_->setContentsMargins(Spacing, Spacing, Spacing, Spacing);
    grid_->setSpacing(Spacing);
}

void TimetableOverview::refresh() {
    if (static_cast<int>(thumbnails_.size()) != std::max<int>(state_.NumTimetables, 0)) {
        rebuild();
        if (isVisible()) fitToScreen(parentWidget());
    }
    for (TimetableThumbnail* thumbnail : thumbnails_) thumbnail->refresh();
}

void TimetableOverview::rebuild() {
    for (TimetableThumbnail* thumbnail : thumbnails_) delete thumbnail;
    thumbnails_.clear();
    for (int16_t k = 0; k < state_.NumTimetables; ++k) {
        auto* thumbnail = new TimetableThumbnail(state_, k, this);
        connect(thumbnail, &QAbstractButton::clicked, this, [this, k] { emit picked(k); });
        thumbnails_.push_back(thumbnail);
    }
}

void TimetableOverview::fitToScreen(QWidget* over) {
    QScreen* screen = over && over->screen() ? over->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int areaWidth = available.width() - 2 * BorderAllowance;
    const int areaHeight = available.height() - TitleBarAllowance - BorderAllowance;
    const int count = static_cast<int>(thumbnails_.size());
    columns_ = overviewColumns(count, PictureAspect, areaWidth, areaHeight);
    const int rows = std::max((count + columns_ - 1) / columns_, 1);
    const int byWidth = (areaWidth - Spacing * (columns_ + 1)) / columns_;
    const int byHeight = static_cast<int>((areaHeight - Spacing * (rows + 1)) / rows * PictureAspect);
    const int width = std::clamp(std::min(byWidth, byHeight), SmallestWidth, LargestWidth);
    const QSize size(width, static_cast<int>(std::lround(width / PictureAspect)));
    for (QLayoutItem* item; (item = grid_->takeAt(0)) != nullptr;) delete item;
    for (int k = 0; k < count; ++k) {
        thumbnails_[static_cast<size_t>(k)]->setFixedSize(size);
        grid_->addWidget(thumbnails_[static_cast<size_t>(k)], k / columns_, k % columns_);
    }
    for (int k = 1; k < count; ++k) QWidget::setTabOrder(thumbnails_[k - 1], thumbnails_[k]);
    adjustSize();
    setFixedSize(sizeHint());
    move(available.left() + std::max(0, (available.width() - this->width()) / 2),
         available.top() + std::max(0, (available.height() - TitleBarAllowance - height()) / 2));
}

void TimetableOverview::open(QWidget* over) {
    rebuild();
    fitToScreen(over);
    refresh();
    show();
    raise();
    activateWindow();
    const int shown = state_.CurrentTimetable;
    if (shown >= 0 && shown < static_cast<int>(thumbnails_.size()))
        thumbnails_[static_cast<size_t>(shown)]->setFocus(Qt::OtherFocusReason);
}

void TimetableOverview::moveFocus(int delta) {
    const auto at = std::find(thumbnails_.begin(), thumbnails_.end(), focusWidget());
    if (at == thumbnails_.end()) return;
    const int target = static_cast<int>(at - thumbnails_.begin()) + delta;
    if (target >= 0 && target < static_cast<int>(thumbnails_.size()))
        thumbnails_[static_cast<size_t>(target)]->setFocus(Qt::TabFocusReason);
}

void TimetableOverview::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() != Qt::NoModifier && event->modifiers() != Qt::KeypadModifier)
        return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Left:
        return moveFocus(-1);
    case Qt::Key_Right:
        return moveFocus(+1);
    case Qt::Key_Up:
        return moveFocus(-columns_);
    case Qt::Key_Down:
        return moveFocus(+columns_);
    default:
        QWidget::keyPressEvent(event);
    }
}

}  // namespace quorvandel
