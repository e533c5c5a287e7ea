#include "timetable_grid_view.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "cell_caption.h"
#include "course_palette.h"
#include "form_controls.h"
#include "results_position.h"
#include "section_caption.h"
#include "week.h"

namespace quorvandel {

namespace {

// Grid geometry in twips: column pitch 1440, row pitch 360.
constexpr int ColumnPitch = 1440;
constexpr int RowPitch = 360;
constexpr int CellLeft = 600;
constexpr int CellTop = 480;
constexpr int CellWidth = 1455;
constexpr int CellHeight = 255;
constexpr int HeaderLeft = 720;
constexpr int HeaderTop = 120;
constexpr int HeaderWidth = 1215;
constexpr int FirstLineTop = 720;      // the bottom edge of row 0
constexpr int LineRight = 10680;       // right edge of Sunday's column
constexpr int VerticalLineTop = -120;  // through the header row
constexpr int VerticalLineBottom = 10800;

const char* const DayHeaderNames[DaysPerWeek] = {"lblMonday", "lblTuesday",  "lblWednesday", "lblThursday",
                                                 "lblFriday", "lblSaturday", "lblSunday"};
// The vertical line at 600 + 1440 x k, for k = 0 .. 7.
const char* const VerticalLineNames[DaysPerWeek + 1] = {"Line6", "Line5",  "Line7",  "Line8",
                                                        "Line9", "Line10", "Line11", "Line12"};

QFrame* makeLine(QWidget* parent, QFrame::Shape shape, const QString& name, const QRect& geometry) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setMidLineWidth(0);
    line->setGeometry(geometry);
    return line;
}

// What a screen reader reads for a cell: its day and half-hour, then what
// fills it, if anything: "Monday 9:00 to 9:30: Chem - 02".
QString cellAccessibleName(int index, const QString& text) {
    const QString where = qText(cellText(index));
    return text.isEmpty() ? where : where + QStringLiteral(": ") + text;
}

// One cell of the grid: a label that, while a section occupies it, is
// filled with its course's colour. The fill leaves the cell's outermost
// pixel column on each side and its bottom row bare, where the cell lies
// over the grid lines, so the lines still show between the cells.
class GridCell : public QLabel {
public:
    using QLabel::QLabel;
    void setFill(const QColor& fill) {
        fill_ = fill;
        update();
    }
    QColor fill() const { return fill_; }
    QRect fillRect() const { return rect().adjusted(1, 0, -1, -1); }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (fill_.isValid()) QPainter(this).fillRect(fillRect(), fill_);
        QLabel::paintEvent(event);
    }

private:
    QColor fill_;
};

// Shows a cell's caption: fitted to the cell (cell_caption.h), centred when
// it fits, the whole caption in its tooltip, and the whole caption in what a
// screen reader says for it. An empty caption clears the cell.
void setCellCaption(GridCell* cell, int index, const QString& courseName, const QString& secNum, const QString& whole) {
    const QString shown =
        whole.isEmpty() ? QString()
                        : fittedCellCaption(courseName, secNum, cell->fontMetrics(), cell->contentsRect().width());
    cell->setText(shown);
    cell->setToolTip(plainToolTip(whole));
    cell->setAccessibleName(cellAccessibleName(index, whole));
    const bool fits = cell->fontMetrics().horizontalAdvance(shown) <= cell->contentsRect().width();
    cell->setAlignment(fits ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
}

// The grid's own scroll area. Its size hint is the whole grid, not Qt's
// bounded guess, so the window opens at its designed size.
class GridScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override { return widget() ? widget()->size() : QScrollArea::sizeHint(); }

protected:
    // The results frame scrolls the grid with Up and Down (scrollForKey)
    // and steps with the other keys: they pass on to it untouched.
    void keyPressEvent(QKeyEvent* event) override { event->ignore(); }
};

}  // namespace

frmTimetables::frmTimetables(const ModuleState& state, QMdiArea& area) : QMdiSubWindow(nullptr) {
    setObjectName(QStringLiteral("frmTimetables"));
    setWindowTitle(QStringLiteral("TimeTables"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A fixed-size window without buttons: minimised or closed on its own,
    // it would leave the frame empty.
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    buildGrid();

    // Top-left of the frame's child area, below the strip, with the client
    // area at its designed size.
    area.addSubWindow(this);
    adjustSize();
    move(0, 0);

    // Null only where the frame let the position out of step with the store:
    // then nothing is painted and neither button leads anywhere.
    const Timetable* timetable = timetableAtPosition(state);
    if (timetable == nullptr) return;
    const int count = timetable->NumSections;
    for (int i = 0; i < count; ++i)
        showSection(timetable->Sections[static_cast<size_t>(i)], timetableNumbers(*timetable, i), i);
}

void frmTimetables::buildGrid() {
    client_ = new QWidget;
    client_->setObjectName(QStringLiteral("frmTimetablesClient"));
    client_->setFixedSize(GridClientWidth, GridClientHeight);

    // Lines first so that the labels lie over them.
    for (int i = 0; i < SlotsPerDay; ++i) {
        const int y = FirstLineTop + RowPitch * i;  // the bottom edge of row i
        makeLine(client_, QFrame::HLine, QStringLiteral("Line1_%1").arg(i), QRect(0, px(y), px(LineRight), 1));
    }
    for (int k = 0; k <= DaysPerWeek; ++k) {
        const int x = CellLeft + ColumnPitch * k;
        makeLine(client_, QFrame::VLine, QString::fromLatin1(VerticalLineNames[k]),
                 QRect(px(x), px(VerticalLineTop), 1, px(VerticalLineBottom - VerticalLineTop)));
    }

    for (int day = 0; day < DaysPerWeek; ++day) {
        makeLabel(client_, QString::fromLatin1(DayHeaderNames[day]), qText(DayNames[static_cast<size_t>(day)]),
                  Qt::AlignCenter, twipsRect(HeaderLeft + ColumnPitch * day, HeaderTop, HeaderWidth, CellHeight));
    }

    // Label1 .. Label29, all ending at x = 495; the first four and the last
    // six are wider (their left lies beyond the window's left edge).
    for (int k = 1; k <= SlotsPerDay; ++k) {
        const bool wide = k <= 4 || k >= 24;
        QLabel* label = makeLabel(
            client_, QStringLiteral("Label%1").arg(k), qText(timeRowCaption(k - 1)), Qt::AlignRight | Qt::AlignVCenter,
            twipsRect(wide ? -240 : -120, CellTop + RowPitch * (k - 1), wide ? 735 : 615, CellHeight));
        label->setAccessibleName(qText(timeText(k - 1)));
    }

    for (int index = 0; index < CellsPerWeek; ++index) {
        auto* cell = new GridCell(client_);
        cell->setObjectName(QStringLiteral("lblarrDays_%1").arg(index));
        // Names and numbers are the user's text: "<b>" is three characters,
        // not bold.
        cell->setTextFormat(Qt::PlainText);
        cell->setGeometry(twipsRect(CellLeft + ColumnPitch * dayOfCell(index), CellTop + RowPitch * slotOfCell(index),
                                    CellWidth, CellHeight));
        setCellCaption(cell, index, QString(), QString(), QString());
        cells_[static_cast<size_t>(index)] = cell;
    }

    // The grid scrolls inside the window when the screen is too short for
    // it. The scroll area takes no focus (the frame's keys scroll it), and
    // needs no frame of its own.
    scroll_ = new GridScrollArea;
    scroll_->setObjectName(QStringLiteral("gridScroll"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setWidget(client_);
    scroll_->verticalScrollBar()->setSingleStep(px(RowPitch));
    scroll_->verticalScrollBar()->setAccessibleName(QStringLiteral("Scroll the timetable"));
    setWidget(scroll_);
}

QSize frmTimetables::fullSize() const { return sizeHint(); }

void frmTimetables::fitHeight(int height) {
    const QSize full = fullSize();
    if (full.height() <= height) return resize(full);
    // Wider by the scroll bar, which then stands beside Sunday's column.
    resize(full.width() + scroll_->verticalScrollBar()->sizeHint().width(),
           std::max(height, minimumSizeHint().height()));
}

bool frmTimetables::scrollForKey(int key) {
    QScrollBar* bar = scroll_->verticalScrollBar();
    QAbstractSlider::SliderAction action;
    switch (key) {
    case Qt::Key_Up:
        action = QAbstractSlider::SliderSingleStepSub;
        break;
    case Qt::Key_Down:
        action = QAbstractSlider::SliderSingleStepAdd;
        break;
    default:
        return false;
    }
    const int before = bar->value();
    bar->triggerAction(action);
    return bar->value() != before;
}

void frmTimetables::showSection(const Section& section, const Text& numbers, int courseIndex) {
    const QString whole = qText(sectionCaption(section.CourseName, numbers));
    const QString courseName = qText(section.CourseName);
    const QString secNum = qText(numbers);
    const CourseColours colours = courseColours(courseIndex);
    forEachCoveredCell(section, [&](int index) {
        auto* cell = static_cast<GridCell*>(this->cell(index));
        setCellCaption(cell, index, courseName, secNum, whole);
        cell->setFill(colours.fill);
        QPalette palette = cell->palette();
        palette.setColor(QPalette::WindowText, colours.caption);
        cell->setPalette(palette);
    });
}

void frmTimetables::markBusyCells(const BusyCells& busy) {
    for (int index = 0; index < CellsPerWeek; ++index) {
        QLabel* label = cell(index);
        if (!busy.test(static_cast<size_t>(index)) || !label->text().isEmpty()) continue;
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, palette.color(QPalette::Mid));
        label->setPalette(palette);
        label->setAccessibleName(cellAccessibleName(index, QString()) + QStringLiteral(", busy"));
    }
}

void frmTimetables::paintOnPage(QPainter& painter) const {
    painter.save();
    painter.setClipRect(QRect(QPoint(0, 0), client_->size()));
    // Children in the order they were made: the lines first, the labels
    // over them, as on screen.
    for (QObject* child : client_->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isHidden()) continue;
        const QRect area = widget->geometry();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->autoFillBackground()) painter.fillRect(area, label->palette().color(QPalette::Window));
            if (auto* cell = dynamic_cast<GridCell*>(label); cell && cell->fill().isValid())
                painter.fillRect(cell->fillRect().translated(area.topLeft()), cell->fill());
            // The font at the size it has on screen, in the page's units.
            QFont font = label->font();
            font.setPixelSize(QFontInfo(label->font()).pixelSize());
            painter.setFont(font);
            painter.setPen(label->palette().color(QPalette::WindowText));
            painter.drawText(area, static_cast<int>(label->alignment()) | Qt::TextSingleLine, label->text());
        } else if (auto* line = qobject_cast<QFrame*>(widget)) {
            painter.fillRect(area, line->palette().color(QPalette::WindowText));
        }
    }
    painter.restore();
}

QColor frmTimetables::cellFill(int index) const { return static_cast<GridCell*>(cell(index))->fill(); }

void frmTimetables::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace quorvandel
