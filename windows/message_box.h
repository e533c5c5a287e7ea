#pragma once
// The program's message box: the text, an OK button, no icon, and the
// program's name as its caption. It is modal and returns when closed; how it
// was closed does not matter to any caller. Details, when given, sit behind
// the box's "Show Details..." button, under the text that stays as it is.

#include <QString>

class QWidget;

namespace quorvandel {

extern const QString ProgramCaption;  // "Quorvandel"

void ShowMessage(QWidget* parent, const QString& text, const QString& details = {});

}  // namespace quorvandel
