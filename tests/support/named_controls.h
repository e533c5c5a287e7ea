#pragma once
// A window's controls as a test reaches them: by the object names the
// window gives them, as an accessibility tool would find them, so that no
// window keeps accessors for tests alone.

#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QToolBar>
#include <QWidget>

namespace quorvandel::testing {

// The descendant of `parent` named `name`; a missing one stops the test
// with its name rather than crashing on a null pointer later.
template <typename Control>
Control* namedChild(const QObject* parent, const char* name) {
    Control* control = parent->findChild<Control*>(QLatin1String(name));
    if (control == nullptr) qFatal("no control named %s", name);
    return control;
}

// The child named `name` of the frame's strip (the toolbar's one widget).
template <typename Control>
Control* frameControl(const QWidget* frame, const char* name) {
    auto* strip = frame->findChild<QWidget*>(QStringLiteral("Toolbar2Strip"));
    Control* control = strip == nullptr ? nullptr : strip->findChild<Control*>(QLatin1String(name));
    if (control == nullptr) qFatal("the results frame has no control named %s", name);
    return control;
}

inline QPushButton* frameButton(const QWidget* frame, const char* name) {
    return frameControl<QPushButton>(frame, name);
}
inline QLabel* frameLabel(const QWidget* frame, const char* name) { return frameControl<QLabel>(frame, name); }

inline QMdiArea* frameMdiArea(const QWidget* frame) {
    auto* area = frame->findChild<QMdiArea*>(QStringLiteral("mdiArea"));
    if (area == nullptr) qFatal("the results frame has no child area");
    return area;
}
inline QToolBar* frameToolbar(const QWidget* frame) {
    auto* toolbar = frame->findChild<QToolBar*>(QStringLiteral("Toolbar2"));
    if (toolbar == nullptr) qFatal("the results frame has no strip");
    return toolbar;
}

}  // namespace quorvandel::testing
