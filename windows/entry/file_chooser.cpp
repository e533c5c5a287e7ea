#include "file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace quorvandel {

namespace {

const QString ScheduleFilter = QStringLiteral("Quorvandel schedule (*.qvs)");
const QStringList ListingSuffixes = {QStringLiteral("csv"), QStringLiteral("tsv"), QStringLiteral("txt")};

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

bool isListingFileName(const QString& path) { return ListingSuffixes.contains(QFileInfo(path).suffix().toLower()); }

QString DialogFileChooser::pathOfListing(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Open Course Listing"), QDir::homePath(),
                       QStringLiteral("Course listings (*.") + ListingSuffixes.join(QStringLiteral(" *.")) + u')');
    dialog.setObjectName(QStringLiteral("OpenListingDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

QString DialogFileChooser::pathToSave(QWidget* parent, const QString& current) {
    return askForPath(parent, QStringLiteral("Save Schedule"), current, QFileDialog::AcceptSave);
}

QString DialogFileChooser::pathToLoad(QWidget* parent, const QString& current) {
    return askForPath(parent, QStringLiteral("Load Schedule"), current, QFileDialog::AcceptOpen);
}

}  // namespace quorvandel
