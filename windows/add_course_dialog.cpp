#include "add_course_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "editing.h"
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
    setObjectName(QStringLiteral("frmAddCrs"));
    setWindowTitle(QStringLiteral("Add Course"));
    setGeometry(twipsRect(1755, 1875, 3765, 1650));
    setFixedSize(px(3765), px(1650));

    Label1_ = new QLabel(QStringLiteral("Enter Course Name"), this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    placeTwips(Label1_, 120, 360, 1575, 255);

    txtCrsName_ = new QLineEdit(this);
    txtCrsName_->setObjectName(QStringLiteral("txtCrsName"));
    placeTwips(txtCrsName_, 1920, 360, 1695, 285);
    txtCrsName_->setAccessibleName(Label1_->text());
    Label1_->setBuddy(txtCrsName_);

    cmdOk_ = makeButton(QStringLiteral("cmdOk"), QStringLiteral("Ok"));
    placeTwips(cmdOk_, 120, 960, 1335, 495);
    cmdCancel_ = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    placeTwips(cmdCancel_, 2280, 960, 1335, 495);

    setTabOrder(txtCrsName_, cmdOk_);
    setTabOrder(cmdOk_, cmdCancel_);

    connect(cmdOk_, &QPushButton::clicked, this, &frmAddCrs::cmdOk_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmAddCrs::cancel);
}

void frmAddCrs::showEvent(QShowEvent* event) {
    EntryDialog::showEvent(event);
    if (!event->spontaneous()) activate();
}

void frmAddCrs::activate() {
    txtCrsName_->setText(QString());
    txtCrsName_->setFocus(Qt::OtherFocusReason);
}

void frmAddCrs::cmdOk_Click() {
    const QString name = txtCrsName_->text();
    if (name.isEmpty()) {
        ShowMessage(this, EmptyCourseNameMessage);
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
