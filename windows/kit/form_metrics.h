#pragma once
// Sizes of the entry windows. The forms are laid out in twips; on screen a
// pixel is 15 twips, so every designed position and size divides exactly.
// The forms use one small font and one line height for every list, chosen
// so that each list shows all its lines inside its designed size (fifteen
// hour lines fit a 199 px list: 2 px frame each side + 15 x 13 px).

#include <QFont>
#include <QRect>

namespace quorvandel {

constexpr int TwipsPerPixel = 15;

constexpr int px(int twips) { return twips / TwipsPerPixel; }

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

// Height of one list line in pixels.
constexpr int ListLineHeight = 13;
// Room left and right of a list line's text.
constexpr int ListTextMargin = 3;

// The font of every control of the entry windows.
inline QFont formFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

}  // namespace quorvandel
