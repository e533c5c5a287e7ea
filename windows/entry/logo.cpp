#include "logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace quorvandel {

namespace {

void drawWeekGrid(QPainter& painter, const QRect& area) {
    constexpr int columns = 7;
    constexpr int rows = 6;
    const int cellW = area.width() / columns;
    const int cellH = area.height() / rows;
    const QRect grid(area.left(), area.top(), cellW * columns, cellH * rows);
    painter.fillRect(grid, QColor(255, 255, 255));
    // A few booked cells: (column, row, rows covered, colour).
    struct Booking {
        int column, row, span;
        QColor colour;
    };
    const Booking bookings[] = {
        {0, 0, 2, QColor(231, 111, 81)}, {2, 0, 2, QColor(231, 111, 81)},  {1, 2, 3, QColor(42, 157, 143)},
        {3, 2, 3, QColor(42, 157, 143)}, {4, 1, 2, QColor(233, 196, 106)}, {0, 4, 2, QColor(38, 70, 83)},
        {5, 3, 2, QColor(244, 162, 97)},
    };
    for (const Booking& b : bookings)
        painter.fillRect(QRect(grid.left() + b.column * cellW, grid.top() + b.row * cellH, cellW, cellH * b.span),
                         b.colour);
    painter.setPen(QPen(QColor(70, 90, 120), 1));
    for (int c = 0; c <= columns; ++c)
        painter.drawLine(grid.left() + c * cellW, grid.top(), grid.left() + c * cellW, grid.bottom() + 1);
    for (int r = 0; r <= rows; ++r)
        painter.drawLine(grid.left(), grid.top() + r * cellH, grid.right() + 1, grid.top() + r * cellH);
}

}  // namespace

QPixmap DrawLogo() {
    QPixmap pixmap(LogoWidth, LogoHeight);
    QPainter painter(&pixmap);
    QLinearGradient band(0, 0, LogoWidth, LogoHeight);
    band.setColorAt(0.0, QColor(214, 230, 247));
    band.setColorAt(1.0, QColor(120, 160, 214));
    painter.fillRect(pixmap.rect(), band);

    drawWeekGrid(painter, QRect(10, 8, 64, 52));

    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setStyleHint(QFont::SansSerif);
    title.setBold(true);
    title.setPixelSize(32);
    painter.setFont(title);
    const QRect titleArea(88, 4, LogoWidth - 96, 40);
    painter.setPen(QColor(255, 255, 255, 160));
    painter.drawText(titleArea.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quorvandel"));
    painter.setPen(QColor(24, 48, 92));
    painter.drawText(titleArea, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quorvandel"));

    QFont motto = title;
    motto.setBold(false);
    motto.setItalic(true);
    motto.setPixelSize(12);
    painter.setFont(motto);
    painter.setPen(QColor(24, 48, 92));
    painter.drawText(QRect(90, 44, LogoWidth - 96, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("every timetable without a clash"));
    painter.end();
    return pixmap;
}

}  // namespace quorvandel
