#pragma once
// frmHelp, "Quorvandel Help": a short guide in a window of its own that
// stays open beside the others (not modal). It says how to enter a
// schedule, what "TimeTablify!", the options and the favourites do, every
// key of the results, and the schedule file in one paragraph, with the
// program's version.
//
// attachHelp() wires a window's "Help" button and F1 (anywhere in the
// program) to one help window, made at its first opening and brought to the
// front at each later one.

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace quorvandel {

// The program's version, "1.0.0".
QString programVersion();

class frmHelp : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* parent = nullptr);
    QTextBrowser* text() const { return txtHelp_; }

private:
    QTextBrowser* txtHelp_;
};

// "Help" (`button`) and F1 open the help window, which `owner` keeps.
void attachHelp(QWidget* owner, QPushButton* button);

}  // namespace quorvandel
