#pragma once
// What the two entry dialogs share: they have no default and no cancel
// button, so Enter and Esc press nothing and do not close them, and closing
// them with the window frame's close button is the same as their "Cancel".
// Their buttons are made with makeButton (form_controls.h), which never
// makes a default button.

#include <QDialog>

namespace quorvandel {

class EntryDialog : public QDialog {
    Q_OBJECT
public:
    explicit EntryDialog(QWidget* parent = nullptr);

protected:
    // The dialog's "Cancel".
    virtual void cancel() = 0;

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace quorvandel
