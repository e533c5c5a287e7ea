#include "command_turn.h"

#include <QApplication>

namespace quorvandel {

namespace {

// Commands under way; everything runs on the GUI thread.
int commandsUnderWay = 0;

}  // namespace

bool CommandTurn::available() {
    // A modal window opened outside any command (or one whose command has
    // not returned yet) keeps the commands behind it out as well.
    return commandsUnderWay == 0 && QApplication::activeModalWidget() == nullptr;
}

CommandTurn::CommandTurn() : granted_(available()) {
    if (granted_) ++commandsUnderWay;
}

CommandTurn::~CommandTurn() {
    if (granted_) --commandsUnderWay;
}

}  // namespace quorvandel
