#include "entry_dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QShowEvent>

#include "form_controls.h"
#include "form_metrics.h"
#include "window_placement.h"

namespace quorvandel {

EntryDialog::EntryDialog(QWidget* parent) : QDialog(parent) {
    setFont(formFont());
    setModal(true);
    setSizeGripEnabled(false);
}

void EntryDialog::setUpEntryWindow(const QString& objectName, const QString& caption, const QRect& designed) {
    setUpFixedWindow(this, objectName, caption, designed);
    designed_ = designed;
}

void EntryDialog::showEvent(QShowEvent* event) {
    // Before the window system shows it, at every opening: the main window
    // may have moved since the last.
    if (!event->spontaneous() && parentWidget()) placeAsDesignedOver(this, parentWidget(), designed_);
    QDialog::showEvent(event);
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
