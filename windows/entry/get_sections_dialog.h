#pragma once
// frmGetSec, "Get Sections": a course listing pasted, typed or opened from a
// file (.csv, .tsv, .txt) and added to the schedule in one go. Modal over
// the main window. A preview shows, as the text changes, every section the
// listing gives and what "Add" will do with it (listing_plan.h), with a
// line counting them above it. Nothing in the schedule changes before "Add";
// "Cancel", Esc and the close button change nothing.

#include <QDialog>

#include "listing_plan.h"
#include "main_window_lists.h"
#include "schedule_model.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace quorvandel {

class FileChooser;

class frmGetSec : public QDialog {
    Q_OBJECT
public:
    frmGetSec(ModuleState& state, MainWindowLists& lists, FileChooser& chooser, QWidget* parent);

    // Puts the file's text in the box, as "Open File..." does; a file that
    // cannot be read is named in a message and the box keeps its text.
    void openFile(const QString& path);

    QPlainTextEdit* listingBox() const { return txtListing_; }
    QTableWidget* previewTable() const { return grdPreview_; }
    QLabel* summaryLabel() const { return lblSummary_; }
    QPushButton* addButton() const { return cmdAdd_; }
    QPushButton* cancelButton() const { return cmdCancel_; }
    QPushButton* openFileButton() const { return cmdOpenFile_; }

private:
    void txtListing_Change();
    void cmdOpenFile_Click();
    void cmdAdd_Click();

    ModuleState& state_;
    MainWindowLists& lists_;
    FileChooser& chooser_;
    ListingPlan plan_;
    QLabel* lblListing_;
    QPlainTextEdit* txtListing_;
    QPushButton* cmdOpenFile_;
    QLabel* lblSummary_;
    QTableWidget* grdPreview_;
    QPushButton* cmdAdd_;
    QPushButton* cmdCancel_;
};

}  // namespace quorvandel
