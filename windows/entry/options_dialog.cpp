#include "options_dialog.h"

#include <QCheckBox>
#include <QComboBox>

#include "busy_times_grid.h"
#include "form_controls.h"
#include "form_metrics.h"
#include "timetable_score.h"
#include "window_placement.h"

namespace quorvandel {

namespace {

QComboBox* makeOrderBox(QWidget* parent, const QString& objectName, const QString& accessibleName, ResultOrder chosen,
                        const QRect& geometry) {
    auto* box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->addItems(qTexts(ResultOrderNames));
    box->setCurrentIndex(static_cast<int>(chosen));
    box->setAccessibleName(accessibleName);
    box->setGeometry(geometry);
    return box;
}

}  // namespace

frmOptions::frmOptions(ModuleState& state, QWidget* parent) : QDialog(parent), state_(state) {
    // A fixed size, centred over the main window and on its screen (Qt's
    // own centring lets a dialog this big hang off the screen's edge).
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(twipsRect(0, 0, 11520, 8520).size());
    setModal(true);
    setFont(formFont());

    lblBusy_ = makeLabel(this, QStringLiteral("lblBusy"), QStringLiteral("&Busy times (click or drag):"),
                         Qt::AlignLeft | Qt::AlignVCenter, twipsRect(120, 120, 7200, 255));
    grdBusy_ = new BusyTimesGrid(this);
    grdBusy_->move(px(120), px(420));
    grdBusy_->setBusy(state.Options.busy);
    grdBusy_->setAccessibleName(QStringLiteral("Busy times"));
    cmdClear_ = makeButton(this, QStringLiteral("cmdClear"), QStringLiteral("C&lear"), twipsRect(720, 7980, 1095, 375));

    lblOrder_ = makeLabel(this, QStringLiteral("lblOrder"), QStringLiteral("O&rder of the results:"),
                          Qt::AlignLeft | Qt::AlignVCenter, twipsRect(7680, 720, 3720, 255));
    cboOrder_ = makeOrderBox(this, QStringLiteral("cboOrder"), QStringLiteral("Order of the results"),
                             state.Options.primary, twipsRect(7680, 1020, 3720, 360));
    lblThenBy_ = makeLabel(this, QStringLiteral("lblThenBy"), QStringLiteral("&Then, among equals:"),
                           Qt::AlignLeft | Qt::AlignVCenter, twipsRect(7680, 1560, 3720, 255));
    cboThenBy_ = makeOrderBox(this, QStringLiteral("cboThenBy"), QStringLiteral("Then, among equals"),
                              state.Options.tieBreak, twipsRect(7680, 1860, 3720, 360));
    chkSameTimesOnce_ = new QCheckBox(QStringLiteral("&Show timetables with the same times once"), this);
    chkSameTimesOnce_->setObjectName(QStringLiteral("chkSameTimesOnce"));
    chkSameTimesOnce_->setGeometry(twipsRect(7680, 2520, 3780, 360));
    chkSameTimesOnce_->setChecked(state.Options.sameTimesOnce);
    chkSameTimesOnce_->setToolTip(
        QStringLiteral("Sections of a course that meet at exactly the same times count as one choice; "
                       "a cell then names each of them"));
    lblBusy_->setBuddy(grdBusy_);
    lblOrder_->setBuddy(cboOrder_);
    lblThenBy_->setBuddy(cboThenBy_);

    cmdOk_ = makeButton(this, QStringLiteral("cmdOk"), QStringLiteral("&OK"), twipsRect(9180, 7980, 1035, 375));
    cmdCancel_ =
        makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), twipsRect(10320, 7980, 1080, 375));

    setTabOrder(grdBusy_, cmdClear_);
    setTabOrder(cmdClear_, cboOrder_);
    setTabOrder(cboOrder_, cboThenBy_);
    setTabOrder(cboThenBy_, chkSameTimesOnce_);
    setTabOrder(chkSameTimesOnce_, cmdOk_);
    setTabOrder(cmdOk_, cmdCancel_);

    connect(cmdClear_, &QPushButton::clicked, grdBusy_, &BusyTimesGrid::clear);
    connect(cboOrder_, &QComboBox::currentIndexChanged, this, &frmOptions::cboOrder_Change);
    connect(cmdOk_, &QPushButton::clicked, this, &frmOptions::cmdOk_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    cboOrder_Change();
    if (parent) placeCentredOver(this, parent);
}

// "First found" leaves no ties to break.
void frmOptions::cboOrder_Change() {
    const bool ranked = cboOrder_->currentIndex() != static_cast<int>(ResultOrder::FirstFound);
    cboThenBy_->setEnabled(ranked);
    lblThenBy_->setEnabled(ranked);
}

void frmOptions::cmdOk_Click() {
    ScheduleOptions options;
    options.busy = grdBusy_->busy();
    options.primary = static_cast<ResultOrder>(cboOrder_->currentIndex());
    options.tieBreak = static_cast<ResultOrder>(cboThenBy_->currentIndex());
    options.sameTimesOnce = chkSameTimesOnce_->isChecked();
    state_.Options = options;
    accept();
}

}  // namespace quorvandel
