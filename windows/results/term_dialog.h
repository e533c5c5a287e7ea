#pragma once
// "Export to Calendar": asks for the first and the last day of the term a
// calendar file covers. The last day can never be set before the first: it
// follows the first day up when that moves past it. A term of one day (the
// same date twice) is allowed. Enter presses "OK", Esc "Cancel".

#include <QDialog>
#include <optional>

#include "timetable_calendar.h"

class QDateEdit;
class QPushButton;

namespace quorvandel {

class frmTerm : public QDialog {
    Q_OBJECT
public:
    explicit frmTerm(QWidget* parent = nullptr);

    QDateEdit* firstDay() const { return dtpFirst_; }
    QDateEdit* lastDay() const { return dtpLast_; }

    // The term the two dates give.
    Term term() const;

    // Shows the dialog modally; the term, or nothing when cancelled.
    static std::optional<Term> ask(QWidget* parent);

private:
    QDateEdit* dtpFirst_;
    QDateEdit* dtpLast_;
    QPushButton* cmdOk_;
};

}  // namespace quorvandel
