#include "entry_dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "form_metrics.h"

namespace quorvandel {

EntryDialog::EntryDialog(QWidget* parent) : QDialog(parent) {
    setFont(formFont());
    setModal(true);
    setSizeGripEnabled(false);
}

void EntryDialog::keyPressEvent(QKeyEvent* event) {
    // QDialog would press a default button on Enter and reject on Esc.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void EntryDialog::closeEvent(QCloseEvent* event) {
    if (isVisible()) cancel();
    event->accept();
}

}  // namespace quorvandel
