#include "message_box.h"

#include <QIcon>
#include <QPushButton>
#include <QShowEvent>

#include "window_placement.h"

namespace quorvandel {

const QString ProgramCaption = QStringLiteral("Quorvandel");

ProgramMessageBox::ProgramMessageBox(QWidget* parent, const QString& objectName, const QString& text)
    : QMessageBox(parent) {
    setObjectName(objectName);
    setWindowTitle(ProgramCaption);
    setIcon(QMessageBox::NoIcon);
    setTextFormat(Qt::PlainText);
    setText(text);
}

void ProgramMessageBox::setPlainButtons(QMessageBox::StandardButtons buttons) {
    setStandardButtons(buttons);
    for (QAbstractButton* b : this->buttons()) b->setIcon(QIcon());
}

void ProgramMessageBox::showEvent(QShowEvent* event) {
    // The box has its final size only once QMessageBox has handled the
    // event, and the window system shows it only after.
    QMessageBox::showEvent(event);
    if (!event->spontaneous() && parentWidget()) placeCentredOver(this, parentWidget());
}

void ProgramMessageBox::waitForAnswer() {
    exec();
    // The window under the box gets the keyboard back, also where no window
    // manager hands it over.
    if (parentWidget() && parentWidget()->isVisible()) parentWidget()->window()->activateWindow();
}

void ShowMessage(QWidget* parent, const QString& text, const QString& details) {
    ProgramMessageBox box(parent, QStringLiteral("QuorvandelMessage"), text);
    if (!details.isEmpty()) box.setDetailedText(details);
    box.setPlainButtons(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("&OK"));  // Alt+O, as on every other command
    box.waitForAnswer();
}

}  // namespace quorvandel
