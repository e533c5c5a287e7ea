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
#include <functional>

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
constexpr int CellHeight = 255;
constexpr int HeaderLeft = 720;
constexpr int HeaderTop = 120;
constexpr int FirstLineTop = 720;      // the bottom edge of row 0
constexpr int VerticalLineTop = -120;  // through the header row
constexpr int VerticalLineBottom = 10800;
// The time labels all end at x = 495; the first four and the last six are
// wider (their left lies beyond the window's left edge).
constexpr int WideTimeLeft = -240;
constexpr int WideTimeWidth = 735;
constexpr int TimeLeft = -120;
constexpr int TimeWidth = 615;

const char* const DayHeaderNames[DaysPerWeek] = {"lblMonday", "lblTuesday",  "lblWednesday", "lblThursday",
                                                 "lblFriday", "lblSaturday", "lblSunday"};
// The vertical line at 600 + 1440 x k, for k = 0 .. 7.
const char* const VerticalLineNames[DaysPerWeek + 1] = {"Line6", "Line5",  "Line7",  "Line8",
                                                        "Line9", "Line10", "Line11", "Line12"};

// Where the grid's columns and rows lie in a client area of a given size:
// as designed at the designed size; in a larger area the extra pixels are
// shared out, each column (row) taking its part, so that the grid fills the
// area and its columns (rows) differ by a pixel at most.
class GridGeometry {
public:
    explicit GridGeometry(const QSize& size)
        : extraWidth_(std::max(0, size.width() - GridClientWidth)),
          extraHeight_(std::max(0, size.height() - GridClientHeight)) {}

    // The left edge of column `day` (0 .. 7; 7 is Sunday's right edge).
    int columnLeft(int day) const { return px(CellLeft + ColumnPitch * day) + extraWidth_ * day / DaysPerWeek; }
    // The top edge of row `slot` (0 .. 29).
    int rowTop(int slot) const { return px(CellTop + RowPitch * slot) + extraHeight_ * slot / SlotsPerDay; }

    // A cell lies over the lines on either side and over its bottom line,
    // as designed: 97 x 17 pixels in a pitch of 96 x 24.
    QRect cell(int day, int slot) const {
        return QRect(columnLeft(day), rowTop(slot), columnLeft(day + 1) - columnLeft(day) + 1, cellHeight(slot));
    }
    int cellHeight(int slot) const { return rowTop(slot + 1) - rowTop(slot) - px(RowPitch - CellHeight); }
    QRect dayHeader(int day) const {
        const int inset = px(HeaderLeft - CellLeft);
        return QRect(columnLeft(day) + inset, px(HeaderTop), columnLeft(day + 1) - columnLeft(day) - 2 * inset + 1,
                     px(CellHeight));
    }
    QRect timeLabel(int slot) const {
        const bool wide = slot < 4 || slot >= 23;
        return QRect(px(wide ? WideTimeLeft : TimeLeft), rowTop(slot), px(wide ? WideTimeWidth : TimeWidth),
                     cellHeight(slot));
    }
    // The line along the bottom of row `slot`.
    QRect rowLine(int slot) const {
        return QRect(0, rowTop(slot + 1) + px(FirstLineTop - CellTop - RowPitch), columnLeft(DaysPerWeek), 1);
    }
    QRect columnLine(int day) const {
        return QRect(columnLeft(day), px(VerticalLineTop), 1, px(VerticalLineBottom - VerticalLineTop) + extraHeight_);
    }

private:
    int extraWidth_;
    int extraHeight_;
};

QFrame* makeLine(QWidget* parent, QFrame::Shape shape, const QString& name) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setMidLineWidth(0);
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
//
// Its caption is fitted to the cell (cell_caption.h), and again whenever the
// cell changes size: centred when it fits, the whole caption in its tooltip
// and in what a screen reader says for it. An empty caption clears it.
class GridCell : public QLabel {
public:
    GridCell(QWidget* parent, int index) : QLabel(parent), index_(index) {}
    void setFill(const QColor& fill) {
        fill_ = fill;
        update();
    }
    QColor fill() const { return fill_; }
    QRect fillRect() const { return rect().adjusted(1, 0, -1, -1); }

    void setCaption(const QString& courseName, const QString& secNum, const QString& whole) {
        courseName_ = courseName;
        secNum_ = secNum;
        whole_ = whole;
        setToolTip(plainToolTip(whole));
        setAccessibleName(cellAccessibleName(index_, whole));
        fitCaption();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (fill_.isValid()) QPainter(this).fillRect(fillRect(), fill_);
        QLabel::paintEvent(event);
    }
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        if (!whole_.isEmpty()) fitCaption();
    }

private:
    void fitCaption() {
        const QFontMetrics metrics = fontMetrics();
        const QRect room = contentsRect();
        const int lines = room.height() >= 2 * metrics.lineSpacing() ? 2 : 1;
        const QString shown =
            whole_.isEmpty() ? QString() : fittedCellCaption(courseName_, secNum_, metrics, room.width(), lines);
        setText(shown);
        bool fits = true;
        for (const QString& line : shown.split(QLatin1Char('\n')))
            fits = fits && metrics.horizontalAdvance(line) <= room.width();
        setAlignment(fits ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
    }

    int index_;
    QColor fill_;
    QString courseName_;
    QString secNum_;
    QString whole_;
};

// The grid's client area, laid out again whenever the scroll area gives it
// another size.
class GridClient : public QWidget {
public:
    explicit GridClient(std::function<void(const QSize&)> relayout) : relayout_(std::move(relayout)) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        relayout_(size());
    }

private:
    std::function<void(const QSize&)> relayout_;
};

// Behind the day names while the grid is scrolled: the window's background,
// the column lines through it and a line along its bottom, so that the
// header reads as the grid's top edge over the rows scrolled under it.
class HeaderBand : public QWidget {
public:
    using QWidget::QWidget;
    void setColumnLines(const std::array<int, DaysPerWeek + 1>& lefts) {
        columnLefts_ = lefts;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QColor line = palette().color(QPalette::WindowText);
        for (int left : columnLefts_) painter.fillRect(QRect(left, 0, 1, height()), line);
        painter.fillRect(QRect(0, height() - 1, columnLefts_.back() + 1, 1), line);
    }

private:
    std::array<int, DaysPerWeek + 1> columnLefts_{};
};

// The grid's own scroll area. Its size hint is the whole grid at its
// designed size, not Qt's bounded guess, so the window opens at its designed
// size.
class GridScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override { return widget() ? widget()->minimumSize() : QScrollArea::sizeHint(); }

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
    // A window without buttons: minimised or closed on its own, it would
    // leave the frame empty.
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
    client_ = new GridClient([this](const QSize& size) { layoutGrid(size); });
    client_->setObjectName(QStringLiteral("frmTimetablesClient"));
    client_->setMinimumSize(GridClientWidth, GridClientHeight);

    // Lines first so that the labels lie over them.
    for (int i = 0; i < SlotsPerDay; ++i)
        rowLines_[static_cast<size_t>(i)] = makeLine(client_, QFrame::HLine, QStringLiteral("Line1_%1").arg(i));
    for (int k = 0; k <= DaysPerWeek; ++k)
        columnLines_[static_cast<size_t>(k)] =
            makeLine(client_, QFrame::VLine, QString::fromLatin1(VerticalLineNames[k]));

    for (int k = 1; k <= SlotsPerDay; ++k) {
        QLabel* label = makeLabel(client_, QStringLiteral("Label%1").arg(k), qText(timeRowCaption(k - 1)),
                                  Qt::AlignRight | Qt::AlignVCenter, QRect());
        label->setAccessibleName(qText(timeText(k - 1)));
        timeLabels_[static_cast<size_t>(k - 1)] = label;
    }

    for (int index = 0; index < CellsPerWeek; ++index) {
        auto* cell = new GridCell(client_, index);
        cell->setObjectName(QStringLiteral("lblarrDays_%1").arg(index));
        // Names and numbers are the user's text: "<b>" is three characters,
        // not bold.
        cell->setTextFormat(Qt::PlainText);
        cell->setCaption(QString(), QString(), QString());
        cells_[static_cast<size_t>(index)] = cell;
    }

    // Over the cells, so that the day names stay readable above the rows
    // scrolled under them; hidden while the grid is not scrolled.
    headerBand_ = new HeaderBand(client_);
    headerBand_->setObjectName(QStringLiteral("dayHeaderBand"));
    headerBand_->setAutoFillBackground(true);
    headerBand_->setAttribute(Qt::WA_TransparentForMouseEvents);
    headerBand_->hide();
    for (int day = 0; day < DaysPerWeek; ++day) {
        dayHeaders_[static_cast<size_t>(day)] =
            makeLabel(client_, QString::fromLatin1(DayHeaderNames[day]), qText(DayNames[static_cast<size_t>(day)]),
                      Qt::AlignCenter, QRect());
    }
    // Laid out now for a grid that is never shown (the printed page's).
    client_->resize(GridClientWidth, GridClientHeight);
    layoutGrid(client_->size());

    // The grid scrolls inside the window when the screen is too short for
    // it, and grows with the window beyond its designed size. The scroll
    // area takes no focus (the frame's keys scroll it), and needs no frame
    // of its own.
    scroll_ = new GridScrollArea;
    scroll_->setObjectName(QStringLiteral("gridScroll"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(client_);
    scroll_->verticalScrollBar()->setSingleStep(px(RowPitch));
    scroll_->verticalScrollBar()->setAccessibleName(QStringLiteral("Scroll the timetable"));
    connect(scroll_->verticalScrollBar(), &QScrollBar::valueChanged, this, &frmTimetables::pinDayHeader);
    setWidget(scroll_);
}

void frmTimetables::layoutGrid(const QSize& size) {
    const GridGeometry geometry(size);
    for (int i = 0; i < SlotsPerDay; ++i) {
        rowLines_[static_cast<size_t>(i)]->setGeometry(geometry.rowLine(i));
        timeLabels_[static_cast<size_t>(i)]->setGeometry(geometry.timeLabel(i));
    }
    std::array<int, DaysPerWeek + 1> columnLefts{};
    for (int k = 0; k <= DaysPerWeek; ++k) {
        columnLines_[static_cast<size_t>(k)]->setGeometry(geometry.columnLine(k));
        columnLefts[static_cast<size_t>(k)] = geometry.columnLeft(k);
    }
    for (int index = 0; index < CellsPerWeek; ++index)
        cells_[static_cast<size_t>(index)]->setGeometry(geometry.cell(dayOfCell(index), slotOfCell(index)));
    static_cast<HeaderBand*>(headerBand_)->setColumnLines(columnLefts);
    for (int day = 0; day < DaysPerWeek; ++day)
        dayHeaders_[static_cast<size_t>(day)]->setGeometry(geometry.dayHeader(day));
    pinDayHeader(headerOffset_);
}

void frmTimetables::pinDayHeader(int scrolled) {
    headerOffset_ = scrolled;
    // Down to the top of row 0, its bottom line where row 0's top edge is.
    headerBand_->setGeometry(0, scrolled, client_->width(), px(CellTop) + 1);
    headerBand_->setVisible(scrolled > 0);
    for (QLabel* header : dayHeaders_) header->move(header->x(), px(HeaderTop) + scrolled);
}

QSize frmTimetables::fullSize() const { return sizeHint(); }

void frmTimetables::fitInto(const QSize& room) {
    const QSize full = fullSize();
    // Wider by the scroll bar where the grid scrolls, which then stands
    // beside Sunday's column.
    const int bar = room.height() < full.height() ? scroll_->verticalScrollBar()->sizeHint().width() : 0;
    resize(std::max(room.width(), full.width() + bar), std::max(room.height(), minimumSizeHint().height()));
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
        cell->setCaption(courseName, secNum, whole);
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
    // over them, as on screen. The band behind the day names is left out:
    // the page is never scrolled.
    for (QObject* child : client_->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isHidden()) continue;
        QRect area = widget->geometry();
        // The day names where they stand with the grid not scrolled.
        if (std::find(dayHeaders_.begin(), dayHeaders_.end(), widget) != dayHeaders_.end())
            area.translate(0, -headerOffset_);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->autoFillBackground()) painter.fillRect(area, label->palette().color(QPalette::Window));
            if (auto* cell = dynamic_cast<GridCell*>(label); cell && cell->fill().isValid())
                painter.fillRect(cell->fillRect().translated(area.topLeft()), cell->fill());
            // The font at the size it has on screen, in the page's units.
            QFont font = label->font();
            font.setPixelSize(QFontInfo(label->font()).pixelSize());
            painter.setFont(font);
            painter.setPen(label->palette().color(QPalette::WindowText));
            // A caption fitted to two lines holds its own line break.
            const int lines = label->text().contains(QLatin1Char('\n')) ? 0 : int(Qt::TextSingleLine);
            painter.drawText(area, static_cast<int>(label->alignment()) | lines, label->text());
        } else if (auto* line = qobject_cast<QFrame*>(widget)) {
            painter.fillRect(area, line->palette().color(QPalette::WindowText));
        }
    }
    painter.restore();
}

QColor frmTimetables::cellFill(int index) const { return static_cast<GridCell*>(cell(index))->fill(); }

void frmTimetables::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace quorvandel
