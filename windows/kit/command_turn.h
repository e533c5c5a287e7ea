#pragma once
// One command at a time. A command of the main window or of the results
// windows acts only while no other command is under way (none still waits
// in a search, a dialog or a message box that it opened) and no modal window
// of the program is open. The check sits in the commands themselves, so it
// holds whichever way a command is invoked: mouse, keyboard, shortcut,
// QAbstractButton::click(), or a screen reader's press action, none of which
// the modal blocking of the window system stops on its own.
//
// A new command joins with one line at the top of its handler:
//
//     const CommandTurn turn; if (!turn) return;
//
// The turn lasts until the handler returns, so a command that waits in a
// search, a dialog or a message box keeps every other command out meanwhile.
// The buttons of a modal window itself ("Ok", "Cancel", a message box's
// "OK") are not commands in this sense: they answer the window in use.

// Work that runs beside the commands (the count of timetables after the
// results open) watches for the next command and gives way to it at once
// (watchCommands).

#include <functional>

namespace quorvandel {

class CommandTurn {
public:
    CommandTurn();
    ~CommandTurn();
    CommandTurn(const CommandTurn&) = delete;
    CommandTurn& operator=(const CommandTurn&) = delete;

    // True when the command may act; a refused command does nothing at all.
    explicit operator bool() const { return granted_; }

    // Whether a command could act now.
    static bool available();

    // Calls `onCommand` on the GUI thread each time a command is granted its
    // turn, before it acts, until the returned id is passed to
    // unwatchCommands.
    static int watchCommands(std::function<void()> onCommand);
    static void unwatchCommands(int id);

private:
    bool granted_;
};

}  // namespace quorvandel
