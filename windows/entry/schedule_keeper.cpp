#include "schedule_keeper.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QWidget>

#include "file_chooser.h"
#include "form_controls.h"
#include "message_box.h"
#include "schedule_file.h"

namespace quorvandel {

const QString MainWindowCaption = QStringLiteral("Quorvandel Main");

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// A name given without an extension gets ".qvs".
QString withScheduleSuffix(const QString& path) {
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".qvs") : path;
}

enum class Answer { Save, DontSave, Cancel };

// What the questions, dialogs and messages open over: the window, or a
// modal window open over it (the progress of a search, when the window is
// closed during one), which would otherwise take every click meant for them.
QWidget* ownerOver(QWidget* window) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : window;
}

Answer askSaveChanges(QWidget* parent, const QString& name) {
    ProgramMessageBox box(parent, QStringLiteral("SaveChangesQuestion"),
                          QStringLiteral("Save changes to %1?").arg(name));
    box.setPlainButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    // Each answer with its Alt letter (the & before it).
    const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
        {QMessageBox::Save, "&Save"}, {QMessageBox::Discard, "&Don't Save"}, {QMessageBox::Cancel, "&Cancel"}};
    for (const auto& [which, text] : texts) {
        QAbstractButton* b = box.button(which);
        b->setText(QLatin1String(text));
        b->setObjectName(QStringLiteral("cmdAnswer") +
                         QString::fromLatin1(text).remove(QRegularExpression(QStringLiteral("[ &']"))));
    }
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.waitForAnswer();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == box.button(QMessageBox::Save)) return Answer::Save;
    if (clicked == box.button(QMessageBox::Discard)) return Answer::DontSave;
    return Answer::Cancel;  // also the box closed any other way
}

}  // namespace

ScheduleKeeper::ScheduleKeeper(ModuleState& state, QWidget* window)
    : state_(state), window_(window), dialogs_(std::make_unique<DialogFileChooser>()), chooser_(dialogs_.get()) {}

ScheduleKeeper::~ScheduleKeeper() = default;

void ScheduleKeeper::setFileChooser(FileChooser* chooser) { chooser_ = chooser ? chooser : dialogs_.get(); }

bool ScheduleKeeper::isModified() const { return !(documentOf(state_) == saved_); }

QString ScheduleKeeper::displayName() const {
    return path_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path_).fileName();
}

bool ScheduleKeeper::save() { return path_.isEmpty() ? saveAs() : writeTo(path_); }

bool ScheduleKeeper::saveAs() {
    const QString chosen = chooser_->pathToSave(ownerOver(window_), path_);
    return !chosen.isEmpty() && writeTo(withScheduleSuffix(chosen));
}

bool ScheduleKeeper::writeTo(const QString& path) {
    const ScheduleDocument document = documentOf(state_);
    if (const std::optional<FileProblem> problem = writeScheduleFile(fsPath(path), document)) {
        ShowMessage(ownerOver(window_), qText(problem->message));
        return false;
    }
    path_ = path;
    saved_ = document;
    refreshTitle();
    return true;
}

bool ScheduleKeeper::mayDiscardChanges() {
    if (!isModified()) return true;
    switch (askSaveChanges(ownerOver(window_), displayName())) {
    case Answer::Save:
        return save();
    case Answer::DontSave:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

QString ScheduleKeeper::askPathToLoad() { return chooser_->pathToLoad(ownerOver(window_), path_); }

std::optional<ScheduleDocument> ScheduleKeeper::read(const QString& path) {
    ScheduleFileRead result = readScheduleFile(fsPath(path));
    if (!result.document) ShowMessage(ownerOver(window_), qText(result.problem.message));
    return std::move(result.document);
}

void ScheduleKeeper::noteLoaded(const QString& path) {
    path_ = QFileInfo(path).absoluteFilePath();  // later Saves go there whatever the working folder
    saved_ = documentOf(state_);
    refreshTitle();
}

void ScheduleKeeper::noteNew() {
    path_.clear();
    saved_ = ScheduleDocument{};
    refreshTitle();
}

void ScheduleKeeper::refreshTitle() {
    // "[*]" marks where Qt shows "*" while there are unsaved changes; one in
    // a file name is written twice to show as itself.
    const QString name = QFileInfo(path_).fileName().replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    window_->setWindowFilePath(path_);
    window_->setWindowTitle(path_.isEmpty() ? MainWindowCaption + QStringLiteral("[*]")
                                            : name + QStringLiteral("[*] - ") + MainWindowCaption);
    window_->setWindowModified(isModified());
}

}  // namespace quorvandel
