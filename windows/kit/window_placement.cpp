#include "window_placement.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace quorvandel {

namespace {

// The window frame's width on each side of a client area. A window not yet
// shown has no frame to measure, so it takes the owner's: the same window
// manager draws both.
QMargins frameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

// `area` (a client area) moved as little as it takes for it and its frame
// to lie on `usable`; where it cannot fit, its left and top edges do.
QRect keptOn(const QRect& usable, QRect area, const QMargins& frame) {
    QRect outer = area.marginsAdded(frame);
    outer.moveRight(std::min(outer.right(), usable.right()));
    outer.moveBottom(std::min(outer.bottom(), usable.bottom()));
    outer.moveLeft(std::max(outer.left(), usable.left()));
    outer.moveTop(std::max(outer.top(), usable.top()));
    return outer.marginsRemoved(frame);
}

void placeOnOwnersScreen(QWidget* window, const QWidget* ownerWindow, const QRect& area) {
    const QScreen* screen = ownerWindow->screen() ? ownerWindow->screen() : QGuiApplication::primaryScreen();
    const QRect usable = screen ? screen->availableGeometry() : area;
    window->setGeometry(keptOn(usable, area, frameMargins(window->isVisible() ? window : ownerWindow)));
}

}  // namespace

void placeAsDesignedOver(QWidget* window, const QWidget* owner, const QRect& designed) {
    const QWidget* ownerWindow = owner->window();
    const QPoint offset = designed.topLeft() - MainWindowDesignedArea.topLeft();
    placeOnOwnersScreen(window, ownerWindow, QRect(ownerWindow->geometry().topLeft() + offset, designed.size()));
}

void placeCentredOver(QWidget* window, const QWidget* owner) {
    const QWidget* ownerWindow = owner->window();
    QRect area(QPoint(), window->size());
    area.moveCenter(ownerWindow->geometry().center());
    placeOnOwnersScreen(window, ownerWindow, area);
}

}  // namespace quorvandel
