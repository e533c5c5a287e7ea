#pragma once
// What a user does to the controls, by their object names: clicks on
// buttons and list lines, keys, typing. Every action goes through the real
// widget's event handling (QTest), so a disabled control ignores it.

#include <QAbstractButton>
#include <QAccessible>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QWidget>
#include <functional>

namespace quorvandel::testing {

template <typename T>
T* control(const QWidget* root, const QString& name) {
    return root->findChild<T*>(name);
}

inline QAbstractButton* button(const QWidget* root, const QString& name) {
    return control<QAbstractButton>(root, name);
}

// A button's or label's caption as the user reads it: the & that marks
// the Alt letter is not shown, and "&&" shows one &.
inline QString shownCaption(const QString& text) {
    QString shown = text;
    return shown.replace(QLatin1String("&&"), QStringLiteral("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QChar(1), QLatin1Char('&'));
}

// The letter that Alt presses with it, lower case; none when no & marks one.
inline QChar mnemonicLetter(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) continue;
        if (text[i + 1] != QLatin1Char('&')) return text[i + 1].toLower();
        ++i;
    }
    return {};
}

inline QListWidget* list(const QWidget* root, const QString& name) { return control<QListWidget>(root, name); }

inline void click(const QWidget* root, const QString& buttonName) {
    QAbstractButton* b = button(root, buttonName);
    if (b) QTest::mouseClick(b, Qt::LeftButton);
}

// A screen reader's (or voice control's) press action on the button. Qt
// clicks after a short animation, which this waits out (a focus change
// meanwhile lifts the button without cancelling the click, so the wait is
// for the click itself). The action does nothing on a disabled button.
// False when an enabled button offers no press or never clicks.
inline bool pressAction(QAbstractButton* b) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(b);
    QAccessibleActionInterface* actions = iface ? iface->actionInterface() : nullptr;
    if (actions == nullptr) return false;
    if (!b->isEnabled()) {
        actions->doAction(QAccessibleActionInterface::pressAction());
        return true;
    }
    if (!actions->actionNames().contains(QAccessibleActionInterface::pressAction())) return false;
    bool clicked = false;
    const QMetaObject::Connection c = QObject::connect(b, &QAbstractButton::clicked, [&clicked] { clicked = true; });
    actions->doAction(QAccessibleActionInterface::pressAction());
    (void)QTest::qWaitFor([&clicked] { return clicked; }, 2000);
    QObject::disconnect(c);
    return clicked;
}

inline void clickLine(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = {},
                      Qt::MouseButton mouseButton = Qt::LeftButton) {
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), mouseButton, modifiers, rect.center());
}

inline int rowOf(const QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text) return i;
    return -1;
}

inline QStringList lines(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts.append(list->item(i)->text());
    return texts;
}

inline QList<int> selectedRows(const QListWidget* list) {
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) rows.append(i);
    return rows;
}

// A gesture on a list whose line `selected` is the selected one, for tables
// of the ways a user might try to change or clear a selection.
using ListGesture = std::function<void(QListWidget* list, int selected)>;

inline void ctrlClickTheSelectedLine(QListWidget* list, int selected) {
    clickLine(list, selected, Qt::ControlModifier);
}

inline void ctrlSpaceOnTheSelectedLine(QListWidget* list, int /*selected: it has the focus*/) {
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
}

inline void clickBelowTheLines(QListWidget* list, int /*selected*/) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, list->viewport()->height() - 3));
}

inline void rightClickTheNextLine(QListWidget* list, int selected) {
    clickLine(list, selected + 1, {}, Qt::RightButton);
}

// A way of doing something to a whole window (closing it, pressing one of
// its buttons), for tables of the ways a window can be left.
using WindowGesture = std::function<void(QWidget* window)>;

inline WindowGesture clickButton(const QString& buttonName) {
    return [buttonName](QWidget* window) { click(window, buttonName); };
}

// The window frame's close button.
inline void closeByFrame(QWidget* window) { window->close(); }

// Types the text key by key; a character with no key of its own arrives as
// a key event carrying just that text, as from an input method.
inline void typeInto(const QWidget* root, const QString& lineEditName, const QString& text) {
    auto* edit = control<QLineEdit>(root, lineEditName);
    if (edit == nullptr) return;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            QTest::keyClick(edit, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

}  // namespace quorvandel::testing

Q_DECLARE_METATYPE(quorvandel::testing::ListGesture)
Q_DECLARE_METATYPE(quorvandel::testing::WindowGesture)
