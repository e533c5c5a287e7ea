#pragma once
// Stands in for the file dialogs: hands out the paths a test lined up, one
// per question, and remembers what was asked.

#include <QStringList>

#include "file_chooser.h"

namespace quorvandel::testing {

class FakeFileChooser : public FileChooser {
public:
    QStringList answers;  // the next one answers the next question; "" is "Cancel"
    QStringList asked;    // "save", "load" or "listing", in order

    QString pathToSave(QWidget*, const QString&) override { return next(QStringLiteral("save")); }
    QString pathToLoad(QWidget*, const QString&) override { return next(QStringLiteral("load")); }
    QString pathOfListing(QWidget*) override { return next(QStringLiteral("listing")); }

private:
    QString next(const QString& question) {
        asked << question;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

}  // namespace quorvandel::testing
