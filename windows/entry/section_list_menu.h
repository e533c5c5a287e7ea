#pragma once
// The context menus of the main window's course and section lists: each
// command a line, as the main window lists them for the line under the
// pointer (or the selected one, from the Menu key). A menu shows the
// commands' keys beside them and names each for a screen reader by its
// text; the chosen command runs after the menu has closed, so it takes its
// turn (command_turn.h) like any other.

#include <QKeySequence>
#include <QPoint>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace quorvandel {

struct ListMenuCommand {
    QString text;  // empty: a separator
    bool enabled = true;
    std::function<void()> run;
    QKeySequence key;      // shown beside the text
    bool checked = false;  // a check mark beside "Leave Out"
    bool checkable = false;
};

// Shows the menu at `globalPos` over `list` and runs the chosen command.
void showListMenu(QWidget* list, const QPoint& globalPos, const std::vector<ListMenuCommand>& commands);

}  // namespace quorvandel
