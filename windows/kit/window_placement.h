#pragma once
// Where the program's secondary windows open: over the main window, however
// the user has moved it, and on the main window's screen.
//
// The dialogs with a designed place keep the design's offset from the main
// window: the design puts each one at a place on the screen, and the main
// window at another, so the dialog opens at the same distance from the
// top-left corner of the main window's client area (or of `owner`'s) as the
// design has it. Wherever the result would reach past the screen's usable
// area (window frame included), the window moves back inside it, the left
// and top edges kept visible first.

#include <QRect>

#include "form_metrics.h"

class QWidget;

namespace quorvandel {

// The main window's designed client area on the screen, in pixels.
constexpr QRect MainWindowDesignedArea = twipsRect(1245, 1710, 6390, 6000);

// Moves the top-level `window`, whose client area the design puts at
// `designed` on the screen (pixels), to the same place relative to `owner`'s
// window as `designed` has relative to MainWindowDesignedArea, kept on the
// owner's screen.
void placeAsDesignedOver(QWidget* window, const QWidget* owner, const QRect& designed);

// Moves the top-level `window` so that it is centred over `owner`'s window,
// kept on the owner's screen.
void placeCentredOver(QWidget* window, const QWidget* owner);

}  // namespace quorvandel
