#pragma once
// What the two entry dialogs share: they have no default and no cancel
// button, so Enter and Esc press nothing and do not close them, and closing
// them with the window frame's close button is the same as their "Cancel".

#include <QDialog>

class QPushButton;

namespace quorvandel {

class EntryDialog : public QDialog {
    Q_OBJECT
public:
    explicit EntryDialog(QWidget* parent = nullptr);

protected:
    // The dialog's "Cancel".
    virtual void cancel() = 0;

    // A command button of the dialog: never the default button, not even
    // while it has the focus.
    QPushButton* makeButton(const QString& objectName, const QString& caption);

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace quorvandel
