#include "term_dialog.h"

#include <QDateEdit>

#include "form_controls.h"
#include "form_metrics.h"
#include "window_placement.h"

namespace quorvandel {

namespace {

// A term of a usual length to start from: fifteen weeks from today.
constexpr int DefaultTermDays = 15 * 7 - 1;

QDateEdit* makeDateEdit(QWidget* parent, const QString& objectName, const QString& spokenName, const QRect& geometry) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(objectName);
    edit->setAccessibleName(spokenName);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("ddd d MMM yyyy"));
    edit->setDateRange(QDate(FirstCalendarYear, 1, 1), QDate(LastCalendarYear, 12, 31));
    edit->setGeometry(geometry);
    return edit;
}

std::chrono::year_month_day dayOf(const QDate& date) {
    return std::chrono::year(date.year()) / std::chrono::month(static_cast<unsigned>(date.month())) /
           std::chrono::day(static_cast<unsigned>(date.day()));
}

}  // namespace

frmTerm::frmTerm(QWidget* parent) : QDialog(parent) {
    // A fixed size, centred over its parent, the results, and kept on
    // their screen.
    setObjectName(QStringLiteral("frmTerm"));
    setWindowTitle(QStringLiteral("Export to Calendar"));
    setFixedSize(twipsRect(0, 0, 4800, 1920).size());
    setFont(formFont());
    QLabel* first = makeLabel(this, QStringLiteral("lblFirst"), QStringLiteral("&First day of the term:"),
                              Qt::AlignLeft | Qt::AlignVCenter, twipsRect(120, 180, 2040, 330));
    dtpFirst_ = makeDateEdit(this, QStringLiteral("dtpFirst"), QStringLiteral("First day of the term"),
                             twipsRect(2280, 180, 2400, 330));
    QLabel* last = makeLabel(this, QStringLiteral("lblLast"), QStringLiteral("&Last day of the term:"),
                             Qt::AlignLeft | Qt::AlignVCenter, twipsRect(120, 660, 2040, 330));
    dtpLast_ = makeDateEdit(this, QStringLiteral("dtpLast"), QStringLiteral("Last day of the term"),
                            twipsRect(2280, 660, 2400, 330));
    cmdOk_ = makeButton(this, QStringLiteral("cmdOk"), QStringLiteral("&OK"), twipsRect(2160, 1320, 1215, 375));
    auto* cancel =
        makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), twipsRect(3465, 1320, 1215, 375));
    first->setBuddy(dtpFirst_);
    last->setBuddy(dtpLast_);
    cmdOk_->setDefault(true);
    cmdOk_->setAutoDefault(true);

    const QDate today = QDate::currentDate();
    dtpFirst_->setDate(today);
    dtpLast_->setMinimumDate(today);
    dtpLast_->setDate(today.addDays(DefaultTermDays));
    // The last day is kept on or after the first.
    connect(dtpFirst_, &QDateEdit::dateChanged, this, [this](const QDate& first) { dtpLast_->setMinimumDate(first); });
    connect(cmdOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (parent) placeCentredOver(this, parent);
}

Term frmTerm::term() const { return {dayOf(dtpFirst_->date()), dayOf(dtpLast_->date())}; }

std::optional<Term> frmTerm::ask(QWidget* parent) {
    frmTerm dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.term();
}

}  // namespace quorvandel
