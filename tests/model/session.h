#pragma once
// The real program on a fresh module state, wired as app/main.cpp wires it,
// and the user's hands on it: every action goes through the real controls.
// Dialogs and message boxes are answered the moment they are shown: an
// application event filter on QEvent::Show queues the answer, so nothing
// waits on a polling timer. Nothing is painted: the test reads the widgets,
// and the program draws nothing of its own.

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>

#include "file_chooser.h"
#include "model.h"
#include "program_windows.h"
#include "results_dialogs.h"

class QAbstractButton;
class QDialog;

namespace quorvandel::model {

class Session : public QObject {
public:
    Session();
    ~Session() override;

    // backToMain: the user first clicks the main window, because a results
    // window was the one in use.
    void perform(const Action& a, bool backToMain);

    // How the windows and the module state differ from the model, and the
    // message boxes seen since the last check from those expected; empty
    // when all agree.
    QString check(const Model& m, const std::vector<std::string>& expectedMessages);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Script = std::function<void(QDialog*)>;
    void answer(QWidget* window);
    // Opens a dialog with the button and runs the script on it; true when
    // its last "Ok" was refused and the dialog got "Cancel" instead.
    bool withDialog(const QString& button, Script script);
    void finish(QDialog* dialog, Ending ending);
    bool addCourse(const std::string& name, const Action& a);
    bool addSection(const SectionRec& entry, const Action& a);
    void getSections(const Action& a);
    // Edit, duplicate and rename: the line clicked, its dialog opened as
    // the action says, then filled and left.
    void changeSection(const Action& a);
    void renameCourse(const Action& a);
    // Opens a dialog by `open` and runs the script on it.
    void withDialogOpenedBy(const std::function<void()>& open, Script script);
    // The keys, double-click and Space of a list line.
    void onLine(const QString& list, int line, int key);
    void clickLine(const QString& list, int line);
    // The command a screen reader presses while a dialog is open.
    void intrude(const Action& a);
    // A click on the command's button, or its press action.
    void press(QAbstractButton* button, const Action& a);
    // A command key on the main window; a dialog it opens is cancelled.
    void pressMainKey(int key);
    void moveMain(int place);
    // Add Course and Add Section open at their distance from the main
    // window's corner where the screen has room, and always on the screen.
    void checkPlace(const QDialog* dialog);
    void activate(QWidget* window);

    frmQuorvandelMain* window() { return &program_->window; }

    // The file dialogs: each answers with the action's name in the scratch
    // folder, or cancels for an empty one.
    struct ScratchChooser : FileChooser {
        QString folder, save, load;
        QString pathToSave(QWidget*, const QString&) override { return in(save); }
        QString pathToLoad(QWidget*, const QString&) override { return in(load); }
        QString pathOfListing(QWidget*) override { return {}; }
        QString in(const QString& name) const { return name.isEmpty() ? name : folder + QLatin1Char('/') + name; }
    };

    QTemporaryDir scratch_;
    ScratchChooser chooser_;
    QString answer_;  // the button that answers "Save changes to ...?"
    // Export answered in code: a file in a folder of its own, a term of one
    // week from Monday 1 March 2027.
    struct ExportDialogs : ResultsDialogs {
        ExportTarget target;
        bool askPrint(QPrinter&, QWidget*) override { return false; }
        ExportTarget askExportTarget(QWidget*, const QString&) override { return target; }
        std::optional<Term> askTerm(QWidget*) override;
        void showMessage(QWidget*, const QString& text) override { messages << text; }
        QStringList messages;
    };
    // Ctrl+E; reads back what was written.
    void exportShown(const Action& a);
    // "Options": the busy grid by mouse, the two order lists, then the ending.
    void setOptions(const Action& a);

    std::unique_ptr<ProgramWindows> program_;
    QTemporaryDir exportFolder_;
    ExportDialogs exportDialogs_;
    int exportedEvents_ = -1;
    std::deque<Script> scripts_;
    bool refused_ = false;
    QStringList messages_, problems_;
};

}  // namespace quorvandel::model
