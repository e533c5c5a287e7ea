#include "session.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include "busy_times_grid.h"
#include "entry_session.h"  // fillSection, SectionEntry and the clicks and keys
#include "named_controls.h"
#include "options_dialog.h"
#include "results_frame.h"
#include "schedule_file.h"
#include "timetable_grid_view.h"

using namespace quorvandel::testing;

namespace quorvandel::model {

using testing::click;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }
Text text(const std::string& s) { return q(s).toStdU16String(); }
QString hour(int slot) { return QString::number(8 + slot / 2); }
QString minute(int slot) { return slot % 2 ? QStringLiteral("30") : QStringLiteral("00"); }

// A time as the dialog's pickers take it (the days clicked, so toggled).
testing::SectionEntry entryOf(const std::string& number, const TimeRec& t) {
    static const char* const days[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    testing::SectionEntry e{q(number), hour(t.start), minute(t.start), hour(t.end), minute(t.end), {}};
    for (int d = 0; d < 7; ++d)
        if (t.days & (1U << d)) e.days << QLatin1String(days[d]);
    return e;
}
testing::SectionEntry entryOf(const SectionRec& s) { return entryOf(s.number, {s.start, s.end, s.days}); }

// The record the Add Section dialog should have stored.
Section record(const SectionRec& s) {
    Section r;
    r.SecNum = text(s.number);
    r.CourseName = text(s.course);
    r.StartSlot = static_cast<int16_t>(s.start);
    r.EndSlot = static_cast<int16_t>(s.end);
    r.StartTime = text(timeText(s.start));
    r.EndTime = text(timeText(s.end));
    for (int d = 0; d < 7; ++d) r.Days[static_cast<size_t>(d)] = (s.days & (1U << d)) != 0;
    r.LeftOut = s.leftOut;
    for (const TimeRec& t : s.more) {
        Meeting& m = r.MoreMeetings[static_cast<size_t>(r.NumMoreMeetings++)];
        m.StartSlot = static_cast<int16_t>(t.start);
        m.EndSlot = static_cast<int16_t>(t.end);
        m.StartTime = text(timeText(t.start));
        m.EndTime = text(timeText(t.end));
        for (int d = 0; d < 7; ++d) m.Days[static_cast<size_t>(d)] = (t.days & (1U << d)) != 0;
    }
    return r;
}

// Whether the stored course is the model's: its name, and each section's
// record as the Add Section dialog should have stored it.
bool holds(const Course& stored, const CourseRec& want) {
    bool ok = stored.CourseName == text(want.name) && stored.NumSections == static_cast<int>(want.sections.size());
    for (size_t j = 0; ok && j < want.sections.size(); ++j) ok = stored.Sections[j] == record(want.sections[j]);
    return ok;
}

QString join(const QStringList& l) { return QLatin1Char('[') + l.join(QStringLiteral(" | ")) + QLatin1Char(']'); }
QString join(const std::vector<std::string>& v) {
    QStringList l;
    for (const std::string& s : v) l << q(s);
    return join(l);
}

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

Session::Session() : program_(std::make_unique<ProgramWindows>()) {
    chooser_.folder = scratch_.path();
    QFile empty(scratch_.filePath(QString::fromStdString(EmptyFile)));
    if (!empty.open(QIODevice::WriteOnly) || !QDir(scratch_.path()).mkdir(q(FolderName)))
        problems_ << QStringLiteral("no scratch folder");
    window()->scheduleKeeper().setFileChooser(&chooser_);
    // The searches here take microseconds; not even a loaded machine may
    // bring up the progress dialog, which takes the focus from the main window.
    window()->generationRunner().progressDelay = std::chrono::seconds(60);
    qApp->installEventFilter(this);
    program_->results.setDialogs(&exportDialogs_);
    window()->show();
    activate(window());
}

std::optional<Term> Session::ExportDialogs::askTerm(QWidget*) {
    using namespace std::chrono;
    return Term{2027y / March / 1, 2027y / March / 7};
}

void Session::exportShown(const Action& a) {
    const QString path = exportFolder_.filePath(a.key == 0 ? QStringLiteral("week.ics") : QStringLiteral("shown.png"));
    exportDialogs_.target = {path, a.key == 0 ? ExportKind::Calendar : ExportKind::Png};
    QTest::keyClick(frameButton(program_->results.frame(), "cmdOk"), Qt::Key_E, Qt::ControlModifier);
    for (const QString& message : exportDialogs_.messages) problems_ << QStringLiteral("export said: ") + message;
    exportDialogs_.messages.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return void(problems_ << QStringLiteral("nothing exported to ") + path);
    const QByteArray bytes = file.readAll();
    file.remove();
    if (a.key == 0)
        exportedEvents_ = static_cast<int>(bytes.count("BEGIN:VEVENT"));
    else if (QImage::fromData(bytes, "PNG").isNull())
        problems_ << QStringLiteral("the exported PNG image does not load");
}

Session::~Session() {
    qApp->removeEventFilter(this);
    program_.reset();
    // Whatever window the program left behind must not reach the next run.
    QList<QPointer<QWidget>> left;
    for (QWidget* w : QApplication::topLevelWidgets()) left << w;
    for (const QPointer<QWidget>& w : left) delete w.data();
    settle();
}

bool Session::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::UpdateRequest || event->type() == QEvent::Paint) return true;
    auto* w = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Show && w && w->isWindow() &&
        (qobject_cast<QMessageBox*>(w) || w->objectName() == QLatin1String("frmAddCrs") ||
         w->objectName() == QLatin1String("frmAddSec") || w->objectName() == QLatin1String("frmOptions") ||
         w->objectName() == QLatin1String("frmGetSec")))
        QMetaObject::invokeMethod(
            this,
            [this, p = QPointer<QWidget>(w)] {
                if (p && p->isVisible()) answer(p);
            },
            Qt::QueuedConnection);
    return false;
}

void Session::answer(QWidget* window) {
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        // The model names the scratch folder SCRATCH.
        const QString text =
            QString(box->text()).replace(scratch_.path() + QLatin1Char('/'), QStringLiteral("SCRATCH/"));
        messages_ << (box->detailedText().isEmpty()
                          ? text
                          : q(withDetails(text.toStdString(), box->detailedText().toStdString())));
        if (box->objectName() == QLatin1String("SaveChangesQuestion")) {
            for (QAbstractButton* b : box->buttons())
                if (testing::shownCaption(b->text()) == answer_) return QTest::mouseClick(b, Qt::LeftButton);
            problems_ << QStringLiteral("the question has no button ") + answer_;
            return box->done(0);
        }
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) return QTest::mouseClick(ok, Qt::LeftButton);
        problems_ << QStringLiteral("a message box without OK");
        return box->done(0);
    }
    auto* dialog = static_cast<QDialog*>(window);
    checkPlace(dialog);
    if (!scripts_.empty()) {
        Script script = std::move(scripts_.front());
        scripts_.pop_front();
        script(dialog);
    }
    if (dialog->isVisible()) {
        problems_ << dialog->objectName() + QStringLiteral(" was not expected, or stayed open");
        dialog->reject();
    }
}

void Session::activate(QWidget* window) {
    window->activateWindow();
    for (int i = 0; i < 20 && QApplication::activeWindow() != window; ++i) QCoreApplication::processEvents();
    // A real X server may take a round trip longer than that.
    if (QApplication::activeWindow() != window) (void)QTest::qWaitForWindowActive(window, 2000);
    if (QApplication::activeWindow() != window)
        problems_ << window->objectName() + QStringLiteral(" did not become active");
}

void Session::clickLine(const QString& listName, int line) {
    QListWidget* l = testing::list(window(), listName);
    if (line >= l->count()) return void(problems_ << QStringLiteral("%1 has no line %2").arg(listName).arg(line));
    l->scrollToItem(l->item(line));  // as the user scrolls to a line out of sight
    testing::clickLine(l, line);
}

bool Session::withDialog(const QString& buttonName, Script script) {
    refused_ = false;
    scripts_.push_back(std::move(script));
    const bool enabled = testing::button(window(), buttonName)->isEnabled();
    click(window(), buttonName);
    if (!scripts_.empty() && enabled) problems_ << buttonName + QStringLiteral(" opened no dialog");
    scripts_.clear();
    return refused_;
}

void Session::finish(QDialog* d, Ending ending) {
    if (ending == Ending::Close) return void(d->close());
    if (ending == Ending::Ok) {
        click(d, QStringLiteral("cmdOk"));
        if (!d->isVisible()) return;
        refused_ = true;
    }
    click(d, QStringLiteral("cmdCancel"));
}

void Session::intrude(const Action& a) {
    if (a.intrude < 0) return;
    const int commands = static_cast<int>(std::size(Commands));
    if (a.intrude >= commands) return pressMainKey(a.intrude - commands);
    const QString name = QLatin1String(Commands[a.intrude]);
    // The commands of the main window and the frame, not the dialog's
    // buttons of the same name.
    QAbstractButton* b = nullptr;
    for (QWidget* w : {static_cast<QWidget*>(window()), static_cast<QWidget*>(program_->results.frame())})
        if (QAbstractButton* found = w ? testing::button(w, name) : nullptr; found && found->window() == w) b = found;
    if (b && !testing::pressAction(b)) problems_ << name + QStringLiteral(" offers no press action");
}

void Session::checkPlace(const QDialog* d) {
    const QPoint offset = d->objectName() == QLatin1String("frmAddCrs")   ? QPoint(34, 11)
                          : d->objectName() == QLatin1String("frmAddSec") ? QPoint(249, -45)
                                                                          : QPoint();
    if (offset.isNull()) return;
    const QRect usable = window()->screen()->availableGeometry();
    const QRect frame = d->frameGeometry();
    const QRect wanted = frame.translated(window()->geometry().topLeft() + offset - d->geometry().topLeft());
    if (!usable.contains(frame))
        problems_ << d->objectName() + QStringLiteral(" opened off the screen");
    else if (usable.contains(wanted) && wanted != frame)
        problems_ << d->objectName() + QStringLiteral(" opened away from the main window");
}

void Session::pressMainKey(int key) {
    static const QKeyCombination keys[] = {Qt::Key_Delete, Qt::Key_Insert, Qt::CTRL | Qt::Key_Insert,
                                           Qt::CTRL | Qt::Key_Q};
    scripts_.push_back([this](QDialog* d) {
        messages_ << QStringLiteral("opened ") + d->windowTitle();
        d->reject();
    });
    QTest::keyClick(window(), keys[key].key(), keys[key].keyboardModifiers());
    scripts_.clear();
}

void Session::moveMain(int place) {
    const QRect usable = window()->screen()->availableGeometry();
    QRect frame = window()->frameGeometry();
    if (place == 0) frame.moveTopLeft(usable.topLeft());
    if (place == 1) frame.moveCenter(usable.center());
    if (place == 2) frame.moveBottomRight(usable.bottomRight());
    if (place == 3) frame.moveLeft(usable.right() - frame.width() / 2);
    window()->move(frame.topLeft());
    for (int i = 0; i < 50 && window()->frameGeometry().topLeft() != frame.topLeft(); ++i) QTest::qWait(5);
    if (window()->frameGeometry().topLeft() != frame.topLeft())
        problems_ << QStringLiteral("the main window did not move");
}

void Session::press(QAbstractButton* b, const Action& a) {
    if (a.enterKey) {
        // A disabled button takes no focus: Enter would go to whatever has
        // it (a list line, which it edits), not to the button.
        if (!b->isEnabled()) return;
        b->setFocus(Qt::TabFocusReason);
        return QTest::keyClick(b, Qt::Key_Return);
    }
    if (!a.pressAction) return QTest::mouseClick(b, Qt::LeftButton);
    if (!testing::pressAction(b)) problems_ << b->objectName() + QStringLiteral(" offers no press action");
}

bool Session::addCourse(const std::string& name, const Action& a) {
    return withDialog(QStringLiteral("cmdAddCrs"), [this, name, a](QDialog* d) {
        intrude(a);
        if (a.emptyFirst) {
            click(d, QStringLiteral("cmdOk"));
            if (!d->isVisible()) return;
            if (a.ending != Ending::Ok) return finish(d, a.ending);
        }
        testing::typeInto(d, QStringLiteral("txtCrsName"), q(name));
        finish(d, a.ending);
    });
}

bool Session::addSection(const SectionRec& entry, const Action& a) {
    if (a.line >= 0) clickLine(QStringLiteral("lstCourses"), a.line);
    // The first try leaves out (or gets wrong) what the fix then puts in.
    testing::SectionEntry first = entryOf(entry), fix{{}, {}, {}, {}, {}, {}};
    switch (a.defect) {
    case Defect::None:
        break;
    case Defect::NoNumber:
        std::swap(first.number, fix.number);
        break;
    case Defect::NoDays:
        std::swap(first.days, fix.days);
        break;
    case Defect::NoStartHour:
        std::swap(first.startHour, fix.startHour);
        break;
    case Defect::NoEndHour:
        std::swap(first.endHour, fix.endHour);
        break;
    case Defect::EndNotAfterStart:
        std::swap(first.endHour, fix.endHour);
        std::swap(first.endMinute, fix.endMinute);
        first.endHour = hour(a.badEnd);
        first.endMinute = minute(a.badEnd);
        break;
    }
    return withDialog(QStringLiteral("cmdAddSec"), [this, first, fix, a, entry](QDialog* d) {
        intrude(a);
        testing::fillSection(d, first);
        // Further times: each time before is listed by "Another Time",
        // which clears the days; the last stays in the pickers for "Ok".
        for (size_t k = 0; k < entry.more.size(); ++k) {
            click(d, QStringLiteral("cmdAnotherTime"));
            if (k == 0 && a.clash) {
                const testing::SectionEntry clash = entryOf({}, clashOf(entry));
                testing::fillSection(d, clash);
                click(d, QStringLiteral("cmdAnotherTime"));  // refused: its days stay picked
                testing::fillSection(d, {{}, {}, {}, {}, {}, clash.days});
            }
            testing::fillSection(d, entryOf({}, entry.more[k]));
        }
        if (a.defect != Defect::None) {
            click(d, QStringLiteral("cmdOk"));
            if (!d->isVisible()) return;
            if (a.ending != Ending::Ok) return finish(d, a.ending);
            testing::fillSection(d, fix);
        }
        finish(d, a.ending);
    });
}

namespace {

// The listing as the session writes it: CSV with a header and 24-hour
// times, or tab-separated rows without one, "Mon/Wed" days and 12-hour
// times; "TBA" for a row without days.
QString listingText(const Action& a) {
    static const char* const letters[] = {"M", "T", "W", "R", "F", "S", "U"};
    static const char* const names[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const bool csv = a.key == 0;
    const auto time = [csv](int minutes) {
        const int hour = minutes / 60, minute = minutes % 60;
        if (csv) return QStringLiteral("%1:%2").arg(hour).arg(minute, 2, 10, QLatin1Char('0'));
        return QStringLiteral("%1:%2 %3")
            .arg(hour % 12 == 0 ? 12 : hour % 12)
            .arg(minute, 2, 10, QLatin1Char('0'))
            .arg(hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
    };
    const QString separator = csv ? QStringLiteral(",") : QStringLiteral("\t");
    QString text = csv ? QStringLiteral("Course,Section,Days,Start,End\n") : QString();
    for (const ListingRowRec& row : a.listing) {
        QStringList days;
        for (int d = 0; d < 7; ++d)
            if (row.days & (1U << d)) days << QLatin1String(csv ? letters[d] : names[d]);
        const QString dayText = days.isEmpty() ? QStringLiteral("TBA") : days.join(csv ? u' ' : u'/');
        text +=
            QStringList{q(row.course), q(row.number), dayText, time(row.start), time(row.end)}.join(separator) + u'\n';
    }
    return text;
}

}  // namespace

// Pastes the listing into the box, reads the count line above the preview,
// and leaves by "Add" (when it is enabled; else "Cancel"), "Cancel" or the
// close button.
void Session::getSections(const Action& a) {
    withDialog(QStringLiteral("cmdGetSec"), [this, a](QDialog* d) {
        auto* box = d->findChild<QPlainTextEdit*>(QStringLiteral("txtListing"));
        if (!box) return void(problems_ << QStringLiteral("Get Sections has no listing box"));
        QApplication::clipboard()->setText(listingText(a));
        box->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        messages_ << QStringLiteral("Get Sections: ") + d->findChild<QLabel*>(QStringLiteral("lblSummary"))->text();
        if (a.ending == Ending::Close) return void(d->close());
        QAbstractButton* add = testing::button(d, QStringLiteral("cmdAdd"));
        click(d, a.ending == Ending::Ok && add->isEnabled() ? QStringLiteral("cmdAdd") : QStringLiteral("cmdCancel"));
    });
}

void Session::withDialogOpenedBy(const std::function<void()>& open, Script script) {
    refused_ = false;
    scripts_.push_back(std::move(script));
    open();
    scripts_.clear();
}

void Session::onLine(const QString& listName, int line, int key) {
    QListWidget* l = testing::list(window(), listName);
    activate(window());  // a key goes to the active window only
    l->setFocus(Qt::OtherFocusReason);
    if (key == 0) {
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, l->visualItemRect(l->item(line)).center());
        return;
    }
    static const Qt::Key keys[] = {Qt::Key_unknown, Qt::Key_Return, Qt::Key_F2};
    QTest::keyClick(l, keys[key]);
}

// Edit: every entry the dialog was filled with is taken away as a user
// would (the listed times by Delete, the days clicked off), then the new
// section entered as "Add Section" takes it.
void Session::changeSection(const Action& a) {
    clickLine(QStringLiteral("lstSecs"), a.line);
    const SectionRec entry = a.section;
    const auto open = [this, a] {
        if (a.kind == Kind::DuplicateSection) {
            activate(window());
            QListWidget* l = testing::list(window(), QStringLiteral("lstSecs"));
            l->setFocus(Qt::OtherFocusReason);
            return QTest::keyClick(l, Qt::Key_D, Qt::ControlModifier);
        }
        onLine(QStringLiteral("lstSecs"), a.line, a.key);
    };
    withDialogOpenedBy(open, [this, a, entry](QDialog* d) {
        if (a.kind == Kind::DuplicateSection) {
            if (!a.name.empty()) {
                testing::control<QLineEdit>(d, QStringLiteral("txtSecNum"))->clear();
                testing::typeInto(d, QStringLiteral("txtSecNum"), q(a.name));
            }
            return finish(d, a.ending);
        }
        testing::control<QLineEdit>(d, QStringLiteral("txtSecNum"))->clear();
        QListWidget* times = testing::list(d, QStringLiteral("lstTimes"));
        for (int left = times->count(); left > 0; --left) {
            testing::clickLine(times, 0);
            click(d, QStringLiteral("cmdRemoveTime"));
        }
        if (times->count() > 0) problems_ << QStringLiteral("the times listed in Edit Section could not be removed");
        QListWidget* days = testing::list(d, QStringLiteral("lstDofWk"));
        for (int day = 0; day < days->count(); ++day)
            if (days->item(day)->isSelected()) testing::clickLine(days, day);
        testing::fillSection(d, entryOf(entry));
        for (const TimeRec& t : entry.more) {
            click(d, QStringLiteral("cmdAnotherTime"));
            testing::fillSection(d, entryOf({}, t));
        }
        finish(d, a.ending);
    });
}

void Session::renameCourse(const Action& a) {
    clickLine(QStringLiteral("lstCourses"), a.line);
    withDialogOpenedBy([this, a] { onLine(QStringLiteral("lstCourses"), a.line, a.key); },
                       [this, a](QDialog* d) {
                           testing::control<QLineEdit>(d, QStringLiteral("txtCrsName"))->clear();
                           testing::typeInto(d, QStringLiteral("txtCrsName"), q(a.name));
                           finish(d, a.ending);
                       });
}

void Session::setOptions(const Action& a) {
    withDialog(QStringLiteral("cmdOption"), [this, a](QDialog* d) {
        auto* dialog = qobject_cast<frmOptions*>(d);
        if (!dialog) return void(problems_ << QStringLiteral("Options opened another dialog"));
        BusyTimesGrid& grid = *namedChild<BusyTimesGrid>(dialog, "grdBusy");
        const auto at = [&grid](int cell) { return grid.cell(cell)->geometry().center(); };
        for (const BusyEdit& e : a.busyEdits) {
            switch (e.what) {
            case BusyEdit::Drag:
                QTest::mousePress(&grid, Qt::LeftButton, Qt::NoModifier, at(e.from));
                if (e.to != e.from) {
                    QMouseEvent move(QEvent::MouseMove, at(e.to), grid.mapToGlobal(at(e.to)), Qt::NoButton,
                                     Qt::LeftButton, Qt::NoModifier);
                    QApplication::sendEvent(&grid, &move);
                }
                QTest::mouseRelease(&grid, Qt::LeftButton, Qt::NoModifier, at(e.to));
                break;
            case BusyEdit::DayHeader:
                QTest::mouseClick(grid.dayHeader(e.from), Qt::LeftButton);
                break;
            case BusyEdit::TimeLabel:
                QTest::mouseClick(grid.timeLabel(e.from), Qt::LeftButton);
                break;
            case BusyEdit::Clear:
                QTest::mouseClick(namedChild<QPushButton>(dialog, "cmdClear"), Qt::LeftButton);
                break;
            }
        }
        namedChild<QComboBox>(dialog, "cboOrder")->setCurrentIndex(a.order);
        if (namedChild<QComboBox>(dialog, "cboThenBy")->isEnabled())
            namedChild<QComboBox>(dialog, "cboThenBy")->setCurrentIndex(a.then);
        finish(d, a.ending);
    });
}

void Session::perform(const Action& a, bool backToMain) {
    if (backToMain) activate(window());
    TimeTablesMDI* frame = program_->results.frame();
    if (onResultsFrame(a.kind) && !frame) return void(problems_ << QStringLiteral("no results frame to use"));
    // At whatever size the results open: the stepping keys step on their
    // first press even where the grid does not fit.
    if (onResultsFrame(a.kind)) activate(frame);  // the user clicks the frame
    static const char* const buttons[] = {"", "", "", "", "cmdRemCourse", "cmdRemSec", "cmdNewMain", "cmdMakeTime"};
    static const char* const answers[] = {"Save", "Don't Save", "Cancel"};
    answer_ = QLatin1String(answers[static_cast<int>(a.answer)]);
    chooser_.save = q(a.saveName);
    chooser_.load = q(a.loadName);
    switch (a.kind) {
    case Kind::AddCourse:
        for (int i = 0; i < a.repeat; ++i)
            if (addCourse(courseName(a, i), a)) break;
        break;
    case Kind::AddSection:
        for (int i = 0; i < a.repeat; ++i)
            if (addSection(sectionEntry(a, i), a)) break;
        break;
    case Kind::SelectCourse:
        clickLine(QStringLiteral("lstCourses"), a.line);
        break;
    case Kind::SelectSection:
        clickLine(QStringLiteral("lstSecs"), a.line);
        break;
    case Kind::RemoveCourse:
    case Kind::RemoveSection:
    case Kind::New:
    case Kind::TimeTablify:
        press(testing::button(window(), QLatin1String(buttons[static_cast<int>(a.kind)])), a);
        // The count that follows results of more than 26 ends (or the
        // next command would stop it), so its note is there to check.
        for (int waited = 0; waited < 1000 && window()->backgroundCount().running(); ++waited) QTest::qWait(5);
        QCoreApplication::processEvents();
        break;
    case Kind::Next:
        press(frameButton(frame, "cmdNext"), a);
        break;
    case Kind::Previous:
        press(frameButton(frame, "cmdPrev"), a);
        break;
    case Kind::Ok:
        press(frameButton(frame, "cmdOk"), a);
        break;
    case Kind::CloseGrid:
        if (frame->gridView()) frame->gridView()->close();
        break;
    case Kind::CloseFrame:
        frame->close();
        break;
    case Kind::ReturnToMain:
        break;
    case Kind::Save:
        click(window(), QStringLiteral("cmdSave"));
        break;
    case Kind::SaveAs:
        activate(window());  // a key goes to the active window only
        QTest::keySequence(window(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
        break;
    case Kind::Load:
        click(window(), QStringLiteral("cmdLoad"));
        break;
    case Kind::Favourite:
        if (a.key == 0)
            press(frameButton(frame, "cmdAddFav"), a);
        else
            QTest::keyClick(frameButton(frame, "cmdOk"), Qt::Key_D, Qt::ControlModifier);
        break;
    case Kind::GoToFavourites:
        press(frameButton(frame, "cmdGotofav"), a);
        break;
    case Kind::StepKey: {
        static const Qt::Key keys[] = {Qt::Key_Right,  Qt::Key_PageDown, Qt::Key_Left,
                                       Qt::Key_PageUp, Qt::Key_Home,     Qt::Key_End};
        QWidget* target = frame->gridView() && a.key % 2 ? static_cast<QWidget*>(frame->gridView()->client())
                                                         : static_cast<QWidget*>(frameButton(frame, "cmdOk"));
        QTest::keyClick(target, keys[a.key]);
        break;
    }
    case Kind::Export:
        exportShown(a);
        break;
    case Kind::Options:
        setOptions(a);
        break;
    case Kind::MainKey:
        activate(window());  // a key goes to the active window only
        pressMainKey(a.key);
        break;
    case Kind::MoveMain:
        moveMain(a.key);
        break;
    case Kind::GetSections:
        getSections(a);
        break;
    case Kind::EditSection:
    case Kind::DuplicateSection:
        changeSection(a);
        break;
    case Kind::RenameCourse:
        renameCourse(a);
        break;
    case Kind::LeaveOut: {
        clickLine(QStringLiteral("lstSecs"), a.line);
        activate(window());
        QListWidget* l = testing::list(window(), QStringLiteral("lstSecs"));
        l->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(l, Qt::Key_Space);
        break;
    }
    case Kind::Undo:
    case Kind::Redo:
        activate(window());  // a key goes to the active window only
        QTest::keySequence(window(), a.kind == Kind::Undo ? QKeySequence(Qt::CTRL | Qt::Key_Z)
                                     : a.key == 0         ? QKeySequence(Qt::CTRL | Qt::Key_Y)
                                                          : QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        break;
    }
    settle();
}

QString Session::check(const Model& m, const std::vector<std::string>& expectedMessages) {
    QStringList bad = problems_;
    problems_.clear();
    auto expect = [&bad](bool ok, const QString& what) {
        if (!ok) bad << what;
    };
    auto same = [&bad](const QString& what, const QString& got, const QString& want) {
        if (got != want) bad << QStringLiteral("%1: expected %2, got %3").arg(what, want, got);
    };
    same(QStringLiteral("messages"), join(messages_), join(expectedMessages));
    messages_.clear();
    QStringList shown;  // the program's windows on the screen besides the main window
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != window() && w->isVisible()) shown << w->objectName();
    same(QStringLiteral("other windows shown"), join(shown),
         m.resultsOpen ? QStringLiteral("[TimeTablesMDI]") : QStringLiteral("[]"));

    // The main window: one line per course, the selected course's section
    // lines, and every button as the enabling rules leave it.
    QListWidget* courses = testing::list(window(), QStringLiteral("lstCourses"));
    QListWidget* sections = testing::list(window(), QStringLiteral("lstSecs"));
    std::vector<std::string> names;
    for (const CourseRec& c : m.courses) names.push_back(c.name);
    same(QStringLiteral("lstCourses"), join(testing::lines(courses)), join(names));
    same(QStringLiteral("lstSecs"), join(testing::lines(sections)), join(m.sectionLines()));
    auto selected = [](const QListWidget* l) { return QString::number(testing::selectedRows(l).value(0, -1)); };
    same(QStringLiteral("selected course"), selected(courses), QString::number(m.selectedCourse));
    same(QStringLiteral("selected section"), selected(sections), QString::number(m.selectedSection));
    // clang-format off
    const std::pair<const char*, bool> buttons[] = {
        {"cmdNewMain", true}, {"cmdAddCrs", m.addCourse()}, {"cmdExit", true}, {"cmdSave", true}, {"cmdLoad", true},
        {"cmdGetSec", true}, {"cmdOption", true}, {"cmdHelp", true}, {"cmdAddSec", m.addSectionEnabled()},
        {"cmdRemSec", m.removeSection}, {"cmdRemCourse", m.removeCourse}, {"cmdMakeTime", m.timeTablify}};
    // clang-format on
    for (const auto& [name, enabled] : buttons)
        expect(testing::button(window(), QLatin1String(name))->isEnabled() == enabled,
               QLatin1String(name) + QStringLiteral(" should be ") + (enabled ? "enabled" : "disabled"));
    same(QStringLiteral("title"), window()->windowHandle()->title(), q(m.title()));

    // The store: every count within its capacity, every record as entered,
    // every stored timetable as the generation that stored it found it.
    const ModuleState& s = *program_->state;
    bool within = s.NumCourses >= 0 && s.NumCourses <= CourseCapacity && s.NumTimetables >= 0 &&
                  s.NumTimetables <= StoredCapacity;
    for (int i = 0; within && i < s.NumCourses; ++i)
        within = s.Courses[static_cast<size_t>(i)].NumSections <= SectionCapacity;
    expect(within, QStringLiteral("a count is beyond its capacity"));
    same(QStringLiteral("NumCourses"), QString::number(s.NumCourses), QString::number(m.courses.size()));
    const size_t courseCount = std::min<size_t>(m.courses.size(), std::clamp<int>(s.NumCourses, 0, CourseCapacity));
    for (size_t i = 0; i < courseCount; ++i)
        expect(holds(s.Courses[i], m.courses[i]),
               QStringLiteral("course %1 in the store differs from what was entered").arg(i));
    same(QStringLiteral("NumTimetables"), QString::number(s.NumTimetables), QString::number(m.timetables.size()));
    same(QStringLiteral("CurrentTimetable"), QString::number(s.CurrentTimetable), QString::number(m.current));
    const size_t storedCount =
        std::min<size_t>(m.timetables.size(), std::clamp<int>(s.NumTimetables, 0, StoredCapacity));
    for (size_t t = 0; t < storedCount; ++t) {
        bool ok = s.Timetables[t].NumSections == static_cast<int>(m.timetables[t].size());
        for (size_t i = 0; ok && i < m.timetables[t].size(); ++i)
            ok = s.Timetables[t].Sections[i] == record(m.timetables[t][i]);
        expect(ok, QStringLiteral("stored timetable %1 differs from the one expected").arg(t));
    }

    // The options as last set through the dialog.
    const ScheduleOptions& options = s.Options;
    same(QStringLiteral("options"),
         QStringLiteral("%1 %2 %3")
             .arg(QString::fromStdString(options.busy.to_string()))
             .arg(static_cast<int>(options.primary))
             .arg(static_cast<int>(options.tieBreak)),
         QStringLiteral("%1 %2 %3")
             .arg(QString::fromStdString(m.options.busy.to_string()))
             .arg(m.options.order)
             .arg(m.options.then));

    // Every scratch file holds the schedule last saved to it.
    for (const auto& [name, saved] : m.files) {
        if (name == EmptyFile) continue;
        const ScheduleFileRead read =
            readScheduleFile(std::filesystem::path(QFile::encodeName(chooser_.in(q(name))).toStdString()));
        bool ok = read.document && read.document->courses.NumCourses == static_cast<int>(saved.courses.size());
        for (size_t i = 0; ok && i < saved.courses.size(); ++i)
            ok = holds(read.document->courses.Courses[i], saved.courses[i]);
        expect(ok, QStringLiteral("the file %1 does not hold the courses saved to it").arg(q(name)));
        if (!ok) continue;
        std::vector<std::vector<int>> favourites;
        for (const FavouriteSections& f : read.document->favourites) favourites.emplace_back(f.begin(), f.end());
        expect(favourites == saved.favourites,
               QStringLiteral("the file %1 does not hold the favourites saved to it").arg(q(name)));
        const ScheduleOptions& options = read.document->options;
        expect(options.busy.to_string() == saved.options.busy.to_string() &&
                   static_cast<int>(options.primary) == saved.options.order &&
                   static_cast<int>(options.tieBreak) == saved.options.then,
               QStringLiteral("the file %1 does not hold the options saved to it").arg(q(name)));
    }

    // The results: the counter, the strip and the grid of the latest
    // generation, at a CurrentTimetable within the stored ones.
    TimeTablesMDI* frame = program_->results.frame();
    frmTimetables* grid = program_->results.gridView();
    expect((frame != nullptr) == m.resultsOpen && program_->results.resultsOpen() == m.resultsOpen,
           QStringLiteral("the results should be ") + (m.resultsOpen ? "open" : "closed"));
    expect((grid != nullptr) == m.gridLoaded,
           QStringLiteral("the grid view should be ") + (m.gridLoaded ? "shown" : "closed"));
    if (frame && m.resultsOpen) {
        same(QStringLiteral("counter"), frameButton(frame, "cmdGoToT")->text(),
             m.favouritesView ? QStringLiteral("Favorite: %1 / %2").arg(m.stepIndex() + 1).arg(m.steps().size())
                              : QStringLiteral("TimeTable: %1 / %2").arg(m.current + 1).arg(m.timetables.size()));
        expect(frameButton(frame, "cmdPrev")->isEnabled() == m.previous, QStringLiteral("Previous in the wrong state"));
        expect(frameButton(frame, "cmdNext")->isEnabled() == m.next, QStringLiteral("Next in the wrong state"));
        // A timetable can be marked while the list has room.
        same(QStringLiteral("favourite button"), testing::shownCaption(frameButton(frame, "cmdAddFav")->text()),
             m.isFavourite(m.current) ? QStringLiteral("Remove from Favorites") : QStringLiteral("Add to Favorites"));
        expect(frameButton(frame, "cmdOk")->isEnabled() &&
                   frameButton(frame, "cmdAddFav")->isEnabled() ==
                       (m.isFavourite(m.current) || m.favourites.size() < StoredCapacity) &&
                   frameButton(frame, "cmdGotofav")->isEnabled() == (m.favouritesView || m.shownFavourites() > 0) &&
                   frameButton(frame, "cmdGotofav")->isChecked() == m.favouritesView,
               QStringLiteral("OK or the favourites in the wrong state"));
        same(QStringLiteral("note"),
             frameLabel(frame, "lblNote")->isHidden() ? QString() : frameLabel(frame, "lblNote")->text(), q(m.note()));
        same(QStringLiteral("score"),
             frameLabel(frame, "lblScore")->isHidden() ? QString() : frameLabel(frame, "lblScore")->text(),
             q(m.scoreCaption()));
    }
    if (grid && m.gridLoaded) {
        expect(s.CurrentTimetable >= 0 && s.CurrentTimetable < s.NumTimetables,
               QStringLiteral("grid shown at CurrentTimetable %1 of %2").arg(s.CurrentTimetable).arg(s.NumTimetables));
        QString cells[203];
        for (const SectionRec& sec : m.timetables[static_cast<size_t>(m.current)]) {
            const std::bitset<203> covered = cellsOf(sec);
            for (int c = 0; c < 203; ++c)
                if (covered[static_cast<size_t>(c)]) cells[c] = q(sec.course + " - " + sec.number);
        }
        // A cell shows its caption shortened when it is too wide; its
        // tooltip holds it whole, escaped as markup.
        for (int c = 0; c < 203; ++c)
            if (grid->cell(c)->text().isEmpty() != cells[c].isEmpty() ||
                !grid->cell(c)->toolTip().contains(cells[c].toHtmlEscaped())) {
                same(QStringLiteral("grid cell %1").arg(c), grid->cell(c)->toolTip(), cells[c]);
                break;
            }
    }
    same(QStringLiteral("events in the last calendar exported"), QString::number(exportedEvents_),
         QString::number(m.exportedEvents));
    return bad.join(QStringLiteral("\n    "));
}

}  // namespace quorvandel::model
