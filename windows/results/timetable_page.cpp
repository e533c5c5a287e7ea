#include "timetable_page.h"

#include <QMdiArea>
#include <QPainter>

#include "course_palette.h"
#include "form_controls.h"
#include "form_metrics.h"
#include "results_position.h"
#include "section_caption.h"
#include "timetable_grid_view.h"
#include "week.h"

namespace quorvandel {

namespace {

constexpr int Margin = 8;        // around the page's parts, logical pixels
constexpr int TitleHeight = 24;  // the title's band above the grid
constexpr int LineHeight = 16;   // one section line below the grid
constexpr int SwatchSize = 10;   // its course's colour, left of the line
constexpr int SwatchGap = 4;

QString daysText(const Meeting& meeting) {
    QStringList days;
    for (int day = 0; day < DaysPerWeek; ++day) {
        if (meeting.Days[static_cast<size_t>(day)]) days << qText(DayAbbreviations[static_cast<size_t>(day)]);
    }
    return days.join(QLatin1Char(' '));
}

// "M W F   9:00 - 10:00", and each further meeting after a comma.
QString meetingsText(const Section& section) {
    QStringList meetings;
    forEachMeeting(section, [&meetings](const Meeting& meeting) {
        meetings << daysText(meeting) + QStringLiteral("   ") + qText(timeText(meeting.StartSlot)) +
                        QStringLiteral(" - ") + qText(timeText(meeting.EndSlot));
    });
    return meetings.join(QStringLiteral(", "));
}

QFont titleFont() {
    QFont font = formFont();
    font.setPixelSize(14);
    font.setBold(true);
    return font;
}

}  // namespace

TimetablePage::TimetablePage(const ModuleState& state, const QString& title) : state_(state), title_(title) {
    const Timetable* timetable = timetableAtPosition(state);
    if (timetable == nullptr) return;
    for (int i = 0; i < timetable->NumSections; ++i) {
        const Section& section = timetable->Sections[static_cast<size_t>(i)];
        sectionLines_ << qText(timetableCaption(*timetable, i)) + QStringLiteral("   ") + meetingsText(section);
    }
}

QSize TimetablePage::naturalSize() const {
    return {GridClientWidth + 2 * Margin,
            TitleHeight + GridClientHeight + Margin + static_cast<int>(sectionLines_.size()) * LineHeight + Margin};
}

void TimetablePage::paint(QPainter& painter, const QRect& target) const {
    const QSize natural = naturalSize();
    const QSize fitted = natural.scaled(target.size(), Qt::KeepAspectRatio);
    const qreal scale = qreal(fitted.width()) / natural.width();

    painter.save();
    painter.translate(target.left() + (target.width() - fitted.width()) / 2.0, target.top());
    painter.scale(scale, scale);

    painter.setPen(Qt::black);
    painter.setFont(titleFont());
    painter.drawText(QRect(Margin, 0, GridClientWidth, TitleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title_);

    // The grid as the results draw it: a grid window of its own, never
    // shown, loaded on the same timetable.
    QMdiArea area;
    const auto* grid = new frmTimetables(state_, area);
    painter.save();
    painter.translate(Margin, TitleHeight);
    grid->paintOnPage(painter);
    painter.restore();

    painter.setPen(Qt::black);
    painter.setFont(formFont());
    int top = TitleHeight + GridClientHeight + Margin;
    // Each line starts with its course's colour, the key to the grid's
    // cells where their captions are shortened. A line too long for the
    // page is cut at its end; one with line breaks stays one line.
    const QFontMetrics metrics(painter.font());
    const int textLeft = Margin + SwatchSize + SwatchGap;
    const int textWidth = GridClientWidth - SwatchSize - SwatchGap;
    for (int i = 0; i < sectionLines_.size(); ++i) {
        const CourseColours colours = courseColours(i);
        const QRect swatch(Margin, top + (LineHeight - SwatchSize) / 2, SwatchSize, SwatchSize);
        painter.fillRect(swatch, colours.fill);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
        painter.drawText(QRect(textLeft, top, textWidth, LineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         metrics.elidedText(sectionLines_[i], Qt::ElideRight, textWidth));
        top += LineHeight;
    }
    painter.restore();
}

}  // namespace quorvandel
