#include "message_box.h"

#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

namespace quorvandel {

const QString ProgramCaption = QStringLiteral("Quorvandel");

void ShowMessage(QWidget* parent, const QString& text, const QString& details) {
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("QuorvandelMessage"));
    box.setWindowTitle(ProgramCaption);
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    if (!details.isEmpty()) box.setDetailedText(details);
    box.setStandardButtons(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setIcon(QIcon());  // some styles decorate it
    box.exec();
    // The window under the box gets the keyboard back, also where no window
    // manager hands it over.
    if (parent && parent->isVisible()) parent->window()->activateWindow();
}

}  // namespace quorvandel
