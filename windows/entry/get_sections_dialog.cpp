#include "get_sections_dialog.h"

#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>

#include "add_listed_sections.h"
#include "file_chooser.h"
#include "form_controls.h"
#include "form_metrics.h"
#include "listing_reader.h"
#include "message_box.h"
#include "window_placement.h"

namespace quorvandel {

namespace {

// A listing is a few hundred rows; a file far past that is not one.
constexpr qint64 MaxListingFileBytes = 2 * 1024 * 1024;

}  // namespace

frmGetSec::frmGetSec(ModuleState& state, MainWindowLists& lists, FileChooser& chooser, QWidget* parent)
    : QDialog(parent), state_(state), lists_(lists), chooser_(chooser) {
    setObjectName(QStringLiteral("frmGetSec"));
    setWindowTitle(QStringLiteral("Get Sections"));
    setFixedSize(twipsRect(0, 0, 11520, 8520).size());
    setModal(true);
    setFont(formFont());

    lblListing_ =
        makeLabel(this, QStringLiteral("lblListing"), QStringLiteral("&Listing (paste or type it, one meeting a row):"),
                  Qt::AlignLeft | Qt::AlignVCenter, twipsRect(120, 120, 7200, 255));
    txtListing_ = new QPlainTextEdit(this);
    txtListing_->setObjectName(QStringLiteral("txtListing"));
    txtListing_->setAccessibleName(QStringLiteral("Listing"));
    txtListing_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtListing_->setTabChangesFocus(false);
    txtListing_->setPlaceholderText(
        QStringLiteral("Course, section, days, start, end\nChem 101, 01, MWF, 9:00 AM, 9:50 AM"));
    txtListing_->setGeometry(twipsRect(120, 420, 11280, 3000));
    lblListing_->setBuddy(txtListing_);
    cmdOpenFile_ = makeButton(this, QStringLiteral("cmdOpenFile"), QStringLiteral("&Open File..."),
                              twipsRect(120, 3540, 1500, 375));

    lblSummary_ = makeLabel(this, QStringLiteral("lblSummary"), QString(), Qt::AlignLeft | Qt::AlignVCenter,
                            twipsRect(1800, 3540, 9600, 375));
    lblSummary_->setTextFormat(Qt::PlainText);
    grdPreview_ = new QTableWidget(0, 4, this);
    grdPreview_->setObjectName(QStringLiteral("grdPreview"));
    grdPreview_->setAccessibleName(QStringLiteral("What Add will do"));
    grdPreview_->setHorizontalHeaderLabels(
        {QStringLiteral("Course"), QStringLiteral("Section"), QStringLiteral("Meetings"), QStringLiteral("Status")});
    grdPreview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPreview_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdPreview_->verticalHeader()->setDefaultSectionSize(ListLineHeight + 6);
    grdPreview_->horizontalHeader()->setStretchLastSection(true);
    grdPreview_->setGeometry(twipsRect(120, 4020, 11280, 3840));
    const int columnWidths[] = {px(1800), px(900), px(2700)};
    for (int c = 0; c < 3; ++c) grdPreview_->setColumnWidth(c, columnWidths[c]);

    cmdAdd_ = makeButton(this, QStringLiteral("cmdAdd"), QStringLiteral("&Add"), twipsRect(9180, 7980, 1035, 375));
    cmdCancel_ =
        makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), twipsRect(10320, 7980, 1080, 375));

    setTabOrder(txtListing_, cmdOpenFile_);
    setTabOrder(cmdOpenFile_, grdPreview_);
    setTabOrder(grdPreview_, cmdAdd_);
    setTabOrder(cmdAdd_, cmdCancel_);

    connect(txtListing_, &QPlainTextEdit::textChanged, this, &frmGetSec::txtListing_Change);
    connect(cmdOpenFile_, &QPushButton::clicked, this, &frmGetSec::cmdOpenFile_Click);
    connect(cmdAdd_, &QPushButton::clicked, this, &frmGetSec::cmdAdd_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    txtListing_Change();
    txtListing_->setFocus(Qt::OtherFocusReason);
    if (parent) placeCentredOver(this, parent);
}

void frmGetSec::txtListing_Change() {
    plan_ = planListing(state_, readListing(txtListing_->toPlainText().toStdU16String()));
    lblSummary_->setText(qText(planSummary(plan_)));
    grdPreview_->setRowCount(static_cast<int>(plan_.lines.size()));
    int row = 0;
    for (const PlanLine& line : plan_.lines) {
        const Text* cells[] = {&line.course, &line.number, &line.meetings, &line.statusText};
        for (int column = 0; column < 4; ++column) {
            auto* item = new QTableWidgetItem(qText(*cells[column]));
            // A long status or name is cut off in its column; the tooltip holds it whole.
            item->setToolTip(plainToolTip(item->text()));
            if (line.status == PlanStatus::Refused || line.status == PlanStatus::AlreadyThere)
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            grdPreview_->setItem(row, column, item);
        }
        ++row;
    }
    cmdAdd_->setEnabled(plan_.sectionsToAdd > 0);
}

void frmGetSec::cmdOpenFile_Click() {
    const QString path = chooser_.pathOfListing(this);
    if (!path.isEmpty()) openFile(path);
}

void frmGetSec::openFile(const QString& path) {
    QFile file(path);
    const QString name = QFileInfo(path).fileName();
    if (!file.open(QIODevice::ReadOnly)) {
        ShowMessage(this, QStringLiteral("Could not read %1: %2").arg(name, file.errorString()));
        return;
    }
    if (file.size() > MaxListingFileBytes) {
        ShowMessage(this, QStringLiteral("%1 is too large to be a course listing.").arg(name));
        return;
    }
    txtListing_->setPlainText(QString::fromUtf8(file.readAll()));
}

void frmGetSec::cmdAdd_Click() {
    addListedSections(state_, lists_, plan_);
    accept();
}

}  // namespace quorvandel
