#pragma once
// The results' print and export dialogs answered in code: a print goes to a
// PDF file, an export to a given path and type, the term is given, and
// messages are collected instead of shown.

#include <QPrinter>
#include <QStringList>

#include "results_dialogs.h"

namespace quorvandel::testing {

class FakeResultsDialogs : public ResultsDialogs {
public:
    QString printTo;      // the PDF file a print goes to; empty: the print dialog is cancelled
    ExportTarget target;  // an empty path cancels the save dialog
    std::optional<Term> term;
    QStringList messages;  // every message the user would have been shown
    int asked = 0;         // dialogs shown, messages included
    // What the print and save dialogs were given to propose as a file name.
    QString printDocName, suggestedName;

    bool askPrint(QPrinter& printer, QWidget*) override {
        ++asked;
        printDocName = printer.docName();
        if (printTo.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printTo);
        return true;
    }
    ExportTarget askExportTarget(QWidget*, const QString& suggested) override {
        ++asked;
        suggestedName = suggested;
        return target;
    }
    std::optional<Term> askTerm(QWidget*) override {
        ++asked;
        return term;
    }
    void showMessage(QWidget*, const QString& text) override {
        ++asked;
        messages << text;
    }
};

}  // namespace quorvandel::testing
