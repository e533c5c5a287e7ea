#include "command_turn.h"

#include <QApplication>
#include <map>

namespace quorvandel {

namespace {

// Commands under way; everything runs on the GUI thread.
int commandsUnderWay = 0;

std::map<int, std::function<void()>>& watchers() {
    static std::map<int, std::function<void()>> all;
    return all;
}
int lastWatcherId = 0;

}  // namespace

bool CommandTurn::available() {
    // A modal window opened outside any command (or one whose command has
    // not returned yet) keeps the commands behind it out as well.
    return commandsUnderWay == 0 && QApplication::activeModalWidget() == nullptr;
}

CommandTurn::CommandTurn() : granted_(available()) {
    if (!granted_) return;
    ++commandsUnderWay;
    // A copy: a watcher may unwatch itself.
    const auto current = watchers();
    for (const auto& [id, onCommand] : current) onCommand();
}

int CommandTurn::watchCommands(std::function<void()> onCommand) {
    watchers().emplace(++lastWatcherId, std::move(onCommand));
    return lastWatcherId;
}

void CommandTurn::unwatchCommands(int id) { watchers().erase(id); }

CommandTurn::~CommandTurn() {
    if (granted_) --commandsUnderWay;
}

}  // namespace quorvandel
