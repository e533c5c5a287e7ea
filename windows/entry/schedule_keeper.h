#pragma once
// The main window's schedule and its file: which file it was last saved to
// or loaded from, whether it has changed since, and the steps of "Save",
// "Save As…", "Load" and the question before unsaved changes would go.
//
// One rule decides "changed": the schedule is modified exactly when the
// document made from the module state differs from the one last saved or
// loaded (the empty one at start and after "New"). Whatever the document
// holds counts, wherever in the program it was changed.
//
// Every failure is one message box naming the file and the reason; nothing
// else changes then.

#include <QString>
#include <memory>
#include <optional>

#include "schedule_document.h"

class QWidget;

namespace quorvandel {

class FileChooser;

extern const QString MainWindowCaption;  // "Quorvandel Main"

class ScheduleKeeper {
public:
    // `window`: the main window, whose title shows the file and the mark of
    // unsaved changes, and over which the dialogs and messages open.
    ScheduleKeeper(ModuleState& state, QWidget* window);
    ~ScheduleKeeper();

    // Replaces the file dialogs (tests); the keeper does not own it.
    void setFileChooser(FileChooser* chooser);
    // The file dialogs, or what replaced them.
    FileChooser& fileChooser() { return *chooser_; }

    bool isModified() const;
    QString filePath() const { return path_; }  // empty before the first Save or Load
    // "chem-2027.qvs", or "Untitled" for a schedule never saved or loaded.
    QString displayName() const;

    // "Save": to the schedule's file, asking for one the first time.
    // "Save As…": always asks. True when the schedule was written.
    bool save();
    bool saveAs();

    // Asks "Save changes to <name>?" when there are unsaved changes. True
    // when the command that asked may go on: nothing unsaved, "Don't Save",
    // or "Save" and the save succeeded.
    bool mayDiscardChanges();

    // Asks for a file to load; empty when the user cancels.
    QString askPathToLoad();
    // Reads the file; on failure shows the message and gives nothing.
    std::optional<ScheduleDocument> read(const QString& path);
    // The state now holds what was loaded from path, or (New) nothing.
    void noteLoaded(const QString& path);
    void noteNew();

    // Shows the file's name and the unsaved-changes mark in the title.
    void refreshTitle();

private:
    bool writeTo(const QString& path);

    ModuleState& state_;
    QWidget* window_;
    std::unique_ptr<FileChooser> dialogs_;
    FileChooser* chooser_;
    QString path_;
    ScheduleDocument saved_;  // as last saved or loaded
};

}  // namespace quorvandel
