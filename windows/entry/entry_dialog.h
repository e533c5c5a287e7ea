#pragma once
// What the two entry dialogs share: they have no default and no cancel
// button, so Enter and Esc press nothing and do not close them, and closing
// them with the window frame's close button is the same as their "Cancel".
// Their buttons are made with makeButton (form_controls.h), which never
// makes a default button. Each opens at its designed place relative to the
// main window, its parent (window_placement.h).

#include <QDialog>
#include <QRect>

namespace quorvandel {

class EntryDialog : public QDialog {
    Q_OBJECT
public:
    explicit EntryDialog(QWidget* parent = nullptr);

protected:
    // Name, caption and fixed client area at the designed place on the
    // screen (pixels), where the dialog opens relative to the main window.
    void setUpEntryWindow(const QString& objectName, const QString& caption, const QRect& designed);

    // The dialog's "Cancel".
    virtual void cancel() = 0;

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QRect designed_;
};

}  // namespace quorvandel
