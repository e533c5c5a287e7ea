#pragma once
// The plain controls the program's windows are made of, each made one way
// wherever it appears, and the stored texts as the controls show them.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QStringList>

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

// A command button at `geometry` (pixels; see twipsRect). It is never a
// dialog's default button, not even while it has the focus, so Enter
// presses nothing; a screen reader reads its caption.
inline QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption,
                               const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setAccessibleName(caption);
    button->setGeometry(geometry);
    return button;
}

// A label at `geometry` (pixels; see twipsRect) with its caption aligned so.
inline QLabel* makeLabel(QWidget* parent, const QString& objectName, const QString& caption, Qt::Alignment alignment,
                         const QRect& geometry) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    label->setAlignment(alignment);
    label->setGeometry(geometry);
    return label;
}

// An empty single-line text box at `geometry` (pixels; see twipsRect).
inline QLineEdit* makeTextBox(QWidget* parent, const QString& objectName, const QRect& geometry) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setGeometry(geometry);
    return box;
}

}  // namespace quorvandel
