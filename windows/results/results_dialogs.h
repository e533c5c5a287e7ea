#pragma once
// The dialogs the results' "Print…" and "Export…" ask through: the system's
// print dialog, a save-file dialog, the term dialog for a calendar file and
// a message box. The results take them as one interface so that tests can
// answer them in code; RealResultsDialogs shows the real ones.

#include <QString>
#include <optional>

#include "timetable_calendar.h"

class QPrinter;
class QWidget;

namespace quorvandel {

// What an exported file holds, chosen by the file type in the save dialog.
enum class ExportKind { Pdf, Png, Calendar };

struct ExportTarget {
    QString path;  // empty when the user cancelled
    ExportKind kind = ExportKind::Pdf;
};

class ResultsDialogs {
public:
    virtual ~ResultsDialogs() = default;
    // Lets the user set up `printer`; true when they chose to print.
    virtual bool askPrint(QPrinter& printer, QWidget* parent) = 0;
    // Where to save the shown timetable, and as what; `suggestedName` is a
    // file name without its extension.
    virtual ExportTarget askExportTarget(QWidget* parent, const QString& suggestedName) = 0;
    // The term a calendar file covers; nothing when the user cancelled.
    virtual std::optional<Term> askTerm(QWidget* parent) = 0;
    // Tells the user that something failed.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
};

class RealResultsDialogs : public ResultsDialogs {
public:
    bool askPrint(QPrinter& printer, QWidget* parent) override;
    ExportTarget askExportTarget(QWidget* parent, const QString& suggestedName) override;
    std::optional<Term> askTerm(QWidget* parent) override;
    void showMessage(QWidget* parent, const QString& text) override;
};

// The extension a file of that kind gets, with its dot: ".pdf".
QString exportExtension(ExportKind kind);

}  // namespace quorvandel
