#pragma once
// The program's logo, drawn in code: the name beside a small week grid with
// a few booked half-hours, on a soft blue band. 355 x 67 pixels.

#include <QPixmap>

namespace quorvandel {

constexpr int LogoWidth = 355;
constexpr int LogoHeight = 67;

QPixmap DrawLogo();

}  // namespace quorvandel
