#include "results_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include "message_box.h"
#include "term_dialog.h"

namespace quorvandel {

namespace {

struct FileType {
    ExportKind kind;
    const char* filter;
    const char* extension;
};

// In the order the save dialog offers them.
constexpr FileType FileTypes[] = {
    {ExportKind::Pdf, "PDF document (*.pdf)", ".pdf"},
    {ExportKind::Png, "PNG image (*.png)", ".png"},
    {ExportKind::Calendar, "iCalendar file (*.ics)", ".ics"},
};

}  // namespace

QString exportExtension(ExportKind kind) {
    for (const FileType& type : FileTypes) {
        if (type.kind == kind) return QString::fromLatin1(type.extension);
    }
    return {};
}

bool RealResultsDialogs::askPrint(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Timetable"));
    return dialog.exec() == QDialog::Accepted;
}

ExportTarget RealResultsDialogs::askExportTarget(QWidget* parent, const QString& suggestedName) {
    QFileDialog dialog(parent, QStringLiteral("Export Timetable"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const FileType& type : FileTypes) filters << QString::fromLatin1(type.filter);
    dialog.setNameFilters(filters);
    // A name typed without an extension gets the chosen type's, before the
    // dialog asks whether to replace an existing file of that name.
    const auto suffixOf = [](const FileType& type) { return QString::fromLatin1(type.extension + 1); };
    dialog.setDefaultSuffix(suffixOf(FileTypes[0]));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        for (const FileType& type : FileTypes) {
            if (filter == QLatin1String(type.filter)) dialog.setDefaultSuffix(suffixOf(type));
        }
    });
    dialog.selectFile(suggestedName + exportExtension(ExportKind::Pdf));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().front();
    // The file's own extension decides what it holds; any other name holds
    // the chosen type.
    const QString suffix = QStringLiteral(".") + QFileInfo(path).suffix().toLower();
    for (const FileType& type : FileTypes) {
        if (suffix == QLatin1String(type.extension)) return {path, type.kind};
    }
    for (const FileType& type : FileTypes) {
        if (dialog.selectedNameFilter() == QLatin1String(type.filter)) return {path, type.kind};
    }
    return {path, ExportKind::Pdf};
}

std::optional<Term> RealResultsDialogs::askTerm(QWidget* parent) { return frmTerm::ask(parent); }

void RealResultsDialogs::showMessage(QWidget* parent, const QString& text) { ShowMessage(parent, text); }

}  // namespace quorvandel
