#include "file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace quorvandel {

namespace {

const QString ScheduleFilter = QStringLiteral("Quorvandel schedule (*.qvs)");

// Where a dialog opens: the schedule's own file, else the home folder.
QString startingPoint(const QString& current) { return current.isEmpty() ? QDir::homePath() : current; }

QString askForPath(QWidget* parent, const QString& caption, const QString& current, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, caption, startingPoint(current), ScheduleFilter);
    dialog.setObjectName(mode == QFileDialog::AcceptSave ? QStringLiteral("SaveScheduleDialog")
                                                         : QStringLiteral("LoadScheduleDialog"));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("qvs"));
    if (!current.isEmpty()) dialog.selectFile(QFileInfo(current).fileName());
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace

QString DialogFileChooser::pathToSave(QWidget* parent, const QString& current) {
    return askForPath(parent, QStringLiteral("Save Schedule"), current, QFileDialog::AcceptSave);
}

QString DialogFileChooser::pathToLoad(QWidget* parent, const QString& current) {
    return askForPath(parent, QStringLiteral("Load Schedule"), current, QFileDialog::AcceptOpen);
}

}  // namespace quorvandel
