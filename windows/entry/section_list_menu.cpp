#include "section_list_menu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

namespace quorvandel {

void showListMenu(QWidget* list, const QPoint& globalPos, const std::vector<ListMenuCommand>& commands) {
    QMenu menu(list);
    menu.setObjectName(QStringLiteral("mnuList"));
    menu.setAccessibleName(list->accessibleName());
    std::vector<std::pair<QAction*, std::function<void()>>> actions;
    for (const ListMenuCommand& command : commands) {
        if (command.text.isEmpty()) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(command.text);
        action->setEnabled(command.enabled);
        action->setShortcut(command.key);
        action->setCheckable(command.checkable);
        action->setChecked(command.checked);
        actions.emplace_back(action, command.run);
    }
    const QPointer<QWidget> alive(list);
    QAction* chosen = menu.exec(globalPos);
    if (chosen == nullptr || alive.isNull()) return;
    for (const auto& [action, run] : actions)
        if (action == chosen && run) return run();
}

}  // namespace quorvandel
