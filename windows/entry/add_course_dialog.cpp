#include "add_course_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "editing.h"
#include "form_controls.h"
#include "form_metrics.h"
#include "message_box.h"

namespace quorvandel {

const QString EmptyCourseNameMessage = QStringLiteral("You must enter a Course Name");

QString CoursesFullMessage() {
    return QStringLiteral("Quorvandel holds at most %1 courses. Remove a course before adding another.")
        .arg(MaxCourses);
}

frmAddCrs::frmAddCrs(ModuleState& state, MainWindowLists& mainWindow, QWidget* parent)
    : EntryDialog(parent), state_(state), mainWindow_(mainWindow) {
    setUpEntryWindow(QStringLiteral("frmAddCrs"), QStringLiteral("Add Course"), twipsRect(1755, 1875, 3765, 1650));

    Label1_ = makeLabel(this, QStringLiteral("Label1"), QStringLiteral("&Enter Course Name"),
                        Qt::AlignHCenter | Qt::AlignTop, twipsRect(120, 360, 1575, 255));

    txtCrsName_ = makeTextBox(this, QStringLiteral("txtCrsName"), twipsRect(1920, 360, 1695, 285));
    txtCrsName_->setAccessibleName(withoutMnemonic(Label1_->text()));
    Label1_->setBuddy(txtCrsName_);

    cmdOk_ = makeButton(this, QStringLiteral("cmdOk"), QStringLiteral("&Ok"), twipsRect(120, 960, 1335, 495));
    cmdCancel_ =
        makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), twipsRect(2280, 960, 1335, 495));

    setTabOrder(txtCrsName_, cmdOk_);
    setTabOrder(cmdOk_, cmdCancel_);

    connect(cmdOk_, &QPushButton::clicked, this, &frmAddCrs::cmdOk_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmAddCrs::cancel);
}

void frmAddCrs::showEvent(QShowEvent* event) {
    EntryDialog::showEvent(event);
    if (!event->spontaneous()) activate();
}

void frmAddCrs::setRenaming(int16_t courseIndex) {
    renaming_ = courseIndex >= 0 && courseIndex < state_.NumCourses ? courseIndex : int16_t{-1};
    setWindowTitle(renaming_ >= 0 ? QStringLiteral("Rename Course") : QStringLiteral("Add Course"));
}

void frmAddCrs::activate() {
    txtCrsName_->setText(renaming_ >= 0 ? qText(state_.Courses[static_cast<size_t>(renaming_)].CourseName) : QString());
    txtCrsName_->selectAll();
    txtCrsName_->setFocus(Qt::OtherFocusReason);
}

void frmAddCrs::cmdOk_Click() {
    const QString name = txtCrsName_->text();
    if (name.isEmpty()) {
        ShowMessage(this, EmptyCourseNameMessage);
        return;
    }
    if (renaming_ >= 0) {
        RenameCourse(state_, mainWindow_, renaming_, name.toStdU16String());
        accept();
        return;
    }
    if (AddCourse(state_, mainWindow_, NewCourse(name.toStdU16String())) == StoreResult::Full) {
        ShowMessage(this, CoursesFullMessage());
        return;
    }
    accept();
}

void frmAddCrs::cancel() { reject(); }

}  // namespace quorvandel
