#pragma once
// The program's message box: the text, an OK button, no icon, and the
// program's name as its caption. It is modal and returns when closed; how it
// was closed does not matter to any caller. Details, when given, sit behind
// the box's "Show Details..." button, under the text that stays as it is.

#include <QMessageBox>
#include <QString>

class QShowEvent;
class QWidget;

namespace quorvandel {

extern const QString ProgramCaption;  // "Quorvandel"

void ShowMessage(QWidget* parent, const QString& text, const QString& details = {});

// The box every message and question of the program is made from: the
// program's name as caption, `text` as plain text, no icon, and no icon on
// the buttons it is given. It opens centred over `parent`'s window and on
// its screen (window_placement.h), at its final size.
class ProgramMessageBox : public QMessageBox {
public:
    ProgramMessageBox(QWidget* parent, const QString& objectName, const QString& text);

    // `buttons`, each without the icon some styles give it.
    void setPlainButtons(QMessageBox::StandardButtons buttons);

    // Shows the box until it is answered (clickedButton() tells how), then
    // hands the keyboard back to the window under it.
    void waitForAnswer();

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace quorvandel
