#pragma once
// How the program asks the user which file to save to or load from. The
// program uses the file dialogs; tests hand the main window a chooser of
// their own, so that nothing waits on a real dialog.

#include <QString>

class QWidget;

namespace quorvandel {

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The file to save the schedule to, or an empty text when the user
    // cancels. `current`: the schedule's file so far, empty for none.
    virtual QString pathToSave(QWidget* parent, const QString& current) = 0;
    // The file to load a schedule from, or an empty text when the user cancels.
    virtual QString pathToLoad(QWidget* parent, const QString& current) = 0;
    // A course listing for "Get Sections", or an empty text when the user cancels.
    virtual QString pathOfListing(QWidget* parent) = 0;
};

// Whether a file is a course listing by its name: .csv, .tsv or .txt.
bool isListingFileName(const QString& path);

// The file dialogs, showing folders and Quorvandel schedules (*.qvs), or
// course listings (*.csv, *.tsv, *.txt).
class DialogFileChooser : public FileChooser {
public:
    QString pathToSave(QWidget* parent, const QString& current) override;
    QString pathToLoad(QWidget* parent, const QString& current) override;
    QString pathOfListing(QWidget* parent) override;
};

}  // namespace quorvandel
