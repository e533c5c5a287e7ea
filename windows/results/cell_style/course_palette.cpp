#include "course_palette.h"

#include <QtGlobal>
#include <array>
#include <cmath>

namespace quorvandel {

namespace {

// Picked from the sRGB colours of luminance 0.40 or more and CIELAB chroma
// 20 to 50 by farthest-point selection on the CIEDE2000 difference, so that
// any two differ by 12 or more; the first eight are in the order they were
// picked (any two of the first five differ by 24 or more), the rest ordered
// so that neighbours differ by 26 or more.
constexpr std::array<QRgb, CoursePaletteSize> Fills = {
    0xc3a5ff, 0xe1ffa5, 0xf09669, 0x00e1ff, 0x3cc396, 0xff87a5, 0xd2b45a, 0x69b4ff, 0xfff0c3, 0x1ef0e1,
    0x96b469, 0xffd2f0, 0x96f0b4, 0xe196d2, 0xc3fff0, 0xf0b4b4, 0x78b4c3, 0xffd2b4, 0xb4e1ff, 0xc3a587,
};

double linearChannel(double value) { return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4); }

// Relative luminance as WCAG 2 defines it.
double relativeLuminance(const QColor& colour) {
    return 0.2126 * linearChannel(colour.redF()) + 0.7152 * linearChannel(colour.greenF()) +
           0.0722 * linearChannel(colour.blueF());
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

CourseColours courseColours(int courseIndex) {
    // A timetable never holds more courses than the palette has entries; a
    // wrong index stops a debug build and never reads outside the table.
    Q_ASSERT(courseIndex >= 0 && courseIndex < CoursePaletteSize);
    const auto entry = static_cast<std::size_t>(courseIndex) % Fills.size();
    const QColor fill = QColor::fromRgb(Fills[entry]);
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return {fill, contrastRatio(black, fill) >= contrastRatio(white, fill) ? black : white};
}

}  // namespace quorvandel
