#pragma once
// The plain controls the program's windows are made of, each made one way
// wherever it appears, and the stored texts as the controls show them.

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QValidator>
#include <algorithm>

#include "schedule_model.h"

namespace quorvandel {

// A stored text (UTF-16, exactly as typed) as a QString, unit for unit.
// Not QString::fromStdU16String: it takes a leading U+FEFF or U+FFFE for a
// byte-order mark, dropping the one and byte-swapping the text after the other.
inline QString qText(const Text& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}
// Stored texts, in order, as the lines of a list.
template <typename Texts>
QStringList qTexts(const Texts& texts) {
    QStringList out;
    for (const Text& text : texts) out.append(qText(text));
    return out;
}

// A tooltip that shows `text` exactly as it is, whatever it holds: Qt
// would take a text that looks like markup ("<b>Chem</b>") for rich text,
// so the text goes in escaped, blanks and line breaks kept. Empty for an
// empty text, so that no tooltip shows.
inline QString plainToolTip(const QString& text) {
    if (text.isEmpty()) return {};
    return QStringLiteral("<p style=\"white-space:pre-wrap\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

// A window at its designed place and size, which the user cannot resize:
// `geometry` (pixels; see twipsRect) is its client area on the screen.
inline void setUpFixedWindow(QWidget* window, const QString& objectName, const QString& caption,
                             const QRect& geometry) {
    window->setObjectName(objectName);
    window->setWindowTitle(caption);
    window->setGeometry(geometry);
    window->setFixedSize(geometry.size());
}

// A caption as it reads and as a screen reader says it: the & that marks
// its mnemonic (the letter Alt presses, underlined) left out, "&&" read as
// one &.
inline QString withoutMnemonic(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
        plain.append(caption[i]);
    }
    return plain;
}

// A command button that Enter (or keypad Enter) presses while it has the
// focus, as Space does. It is never a dialog's default button, so Enter
// with the focus elsewhere presses nothing.
class FormButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !event->isAutoRepeat()) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

// A command button at `geometry` (pixels; see twipsRect): a FormButton, so
// Enter presses it only while it has the focus. An & in the caption marks
// its mnemonic; a screen reader reads the caption without it.
inline QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption,
                               const QRect& geometry) {
    auto* button = new FormButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setAccessibleName(withoutMnemonic(caption));
    button->setGeometry(geometry);
    return button;
}

// A label at `geometry` (pixels; see twipsRect) with its caption aligned so.
// A label whose caption marks a mnemonic with & is given the control it
// names as its buddy, which Alt and the letter then focus.
inline QLabel* makeLabel(QWidget* parent, const QString& objectName, const QString& caption, Qt::Alignment alignment,
                         const QRect& geometry) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    label->setAlignment(alignment);
    label->setGeometry(geometry);
    return label;
}

// Keeps a one-line box on one line: a line break (CR LF counts as one) or a
// tab that is typed, pasted, dropped or set by a screen reader becomes a
// single space as it enters the box. Every other character stays as it is.
class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override {
        static const QRegularExpression breaks(QStringLiteral("\\r\\n|[\\r\\n\\t\\v\\f\\x{85}\\x{2028}\\x{2029}]"));
        const QString before = input;
        input.replace(breaks, QStringLiteral(" "));
        position = std::min<int>(position - static_cast<int>(before.size() - input.size()), input.size());
        position = std::max(position, 0);
        return Acceptable;
    }
};

// An empty single-line text box at `geometry` (pixels; see twipsRect) that
// keeps what is put into it on one line (OneLineValidator).
inline QLineEdit* makeTextBox(QWidget* parent, const QString& objectName, const QRect& geometry) {
    auto* box = new QLineEdit(parent);
    box->setValidator(new OneLineValidator(box));
    box->setObjectName(objectName);
    box->setGeometry(geometry);
    return box;
}

}  // namespace quorvandel
