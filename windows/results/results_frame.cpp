#include "results_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStringList>
#include <QToolBar>
#include <algorithm>
#include <numeric>

#include "command_turn.h"
#include "favourites.h"
#include "form_controls.h"
#include "form_metrics.h"
#include "results_position.h"
#include "timetable_export.h"
#include "timetable_grid_view.h"
#include "timetable_overview.h"
#include "timetable_score.h"

namespace quorvandel {

const QString MoreThanStoredNote = QStringLiteral("Only the first 26 timetables are shown");
const QString MoreThanStoredToolTip =
    QStringLiteral("More than 26 timetables without clashes exist; only the first 26 were kept and are shown here.");
const QString RankedMoreNote = QStringLiteral("The 26 best are shown; more timetables exist");
const QString RankedMoreToolTip = QStringLiteral(
    "More than 26 timetables without clashes exist; the 26 best by the order chosen in Options are shown here.");
const QString RankedStoppedNote = QStringLiteral("Search stopped: these may not be the best");
const QString RankedStoppedToolTip =
    QStringLiteral("The search was stopped before it had looked at every timetable; better ones than these may exist.");
const QString SearchStoppedNote = QStringLiteral("Search stopped: more timetables may exist");
const QString SearchStoppedToolTip = QStringLiteral(
    "The search was stopped before it had tried every combination; more timetables may exist than are shown here.");
const QString AddToFavoritesCaption = QStringLiteral("&Add to Favorites");
const QString RemoveFromFavoritesCaption = QStringLiteral("&Remove from Favorites");

namespace {

// The frame's designed client area and the strip along its top, in twips.
// The frame is wider than designed, 15570, to hold "Print…", "Export…" and
// the note beside the counter.
constexpr int FrameWidth = 15570;
constexpr int FrameHeight = 11115;
constexpr int StripHeight = 630;
constexpr int ButtonTop = 120;
constexpr int ButtonHeight = 375;
// Room kept for the window manager's title bar when fitting the frame on
// the screen.
constexpr int TitleBarAllowance = 40;
constexpr int BorderAllowance = 8;  // on either side
constexpr int SmallestFittedHeight = 200;

struct StripButton {
    const char* name;
    const char* caption;  // UTF-8
    int left;
    int width;
    const char* toolTip;  // with the button's keys; none for "OK"
};

// Left to right, which is also the tab order. "Add to Favorites" is wide
// enough for "Remove from Favorites", which moves the buttons after it
// 660 twips to the right of their designed places.
constexpr StripButton StripButtons[] = {
    {"cmdOk", "&OK", 120, 975, nullptr},
    {"cmdPrev", "&Previous", 1440, 1095, "Show the previous timetable (Left, Page Up)"},
    {"cmdNext", "&Next", 2520, 1095, "Show the next timetable (Right, Page Down)"},
    {"cmdAddFav", "&Add to Favorites", 3960, 2115, "Mark or unmark this timetable as a favourite (Ctrl+D)"},
    {"cmdGotofav", "&Go To Favorites", 6060, 1335,
     "Step through the favourites only; press again to step through all timetables"},
    {"cmdGoToT", "Null / Null", 7500, 1935, "First timetable: Home; last timetable: End"},
    {"cmdPrint", "Pr&int\u2026", 9555, 1035, "Print this timetable (Ctrl+P)"},
    {"cmdExport", "&Export\u2026", 10650, 1035,
     "Save this timetable as a PDF, a PNG image or an iCalendar file (Ctrl+E)"},
    {"cmdAll", "A&ll", 11805, 735, "Show every timetable at once, to pick one (Ctrl+L)"},
};
constexpr int NoteLeft = 12660;  // right of "All"

// The strip holds its buttons at their own positions: no frame, margin or
// spacing of the toolbar's own around them.
class StripStyle : public QProxyStyle {
public:
    StripStyle() : QProxyStyle(QApplication::style()->name()) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        switch (metric) {
        case PM_ToolBarFrameWidth:
        case PM_ToolBarItemMargin:
        case PM_ToolBarItemSpacing:
        case PM_ToolBarHandleExtent:
            return 0;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

}  // namespace

QString counterText(int currentTimetable, int numTimetables) {
    return QStringLiteral("TimeTable: ") + QString::number(currentTimetable + 1) + QStringLiteral(" / ") +
           QString::number(numTimetables);
}

QString missingFavouritesNote(int missing) {
    return missing == 1 ? QStringLiteral("1 favourite is not among these timetables")
                        : QStringLiteral("%1 favourites are not among these timetables").arg(missing);
}

QString favouriteCounterText(int favourite, int numFavourites) {
    return QStringLiteral("Favorite: ") + QString::number(favourite) + QStringLiteral(" / ") +
           QString::number(numFavourites);
}

TimeTablesMDI::TimeTablesMDI(ModuleState& state, const GenerationResult& result, ResultsDialogs& dialogs)
    : state_(state), options_(result.options), dialogs_(dialogs) {
    setObjectName(QStringLiteral("TimeTablesMDI"));
    setWindowTitle(QStringLiteral("The Results of your Timetablification"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Open results never keep the program running once the main window is
    // gone.
    setAttribute(Qt::WA_QuitOnClose, false);

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    // The grid window is taller than the designed child area: scroll bars
    // let the user reach all of it when the frame cannot grow enough.
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);
    mdiArea_->viewport()->installEventFilter(this);

    buildStrip(result);
    addKeys();
    resize(px(FrameWidth), px(FrameHeight));

    // The load step. (Tiling the child windows comes first in it, but no
    // child window is open yet, so there is nothing to arrange.)
    Q_ASSERT(isStoredPosition(state_));
    updateCommands();
}

TimeTablesMDI::~TimeTablesMDI() {
    // Destroying the children moves the focus: nothing of this frame may
    // follow it once its members are gone.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    for (QObject* watched :
         std::initializer_list<QObject*>{mdiArea_->viewport(), lblNote_->parentWidget(), cmdOk_, cmdPrev_, cmdNext_,
                                         cmdAddFav_, cmdGotofav_, cmdGoToT_, cmdPrint_, cmdExport_, cmdAll_})
        watched->removeEventFilter(this);
}

void TimeTablesMDI::buildStrip(const GenerationResult& result) {
    // Its title is what a screen reader calls the strip.
    toolbar_ = new QToolBar(QStringLiteral("Timetable commands"), this);
    toolbar_->setObjectName(QStringLiteral("Toolbar2"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->toggleViewAction()->setVisible(false);  // the strip cannot be hidden
    toolbar_->setFixedHeight(px(StripHeight));
    toolbar_->setContentsMargins(0, 0, 0, 0);
    // Made after the toolbar, so it is deleted after it.
    auto* stripStyle = new StripStyle;
    stripStyle->setParent(this);
    toolbar_->setStyle(stripStyle);
    addToolBar(Qt::TopToolBarArea, toolbar_);

    auto* strip = new QWidget;
    strip->setObjectName(QStringLiteral("Toolbar2Strip"));
    strip->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The program's small form font, so that every caption fits its
    // designed button.
    strip->setFont(formFont());
    const StripButton& last = StripButtons[std::size(StripButtons) - 1];
    strip->setMinimumSize(px(last.left + last.width + ButtonTop), px(StripHeight));

    QPushButton* buttons[std::size(StripButtons)] = {};
    for (size_t i = 0; i < std::size(StripButtons); ++i) {
        const StripButton& design = StripButtons[i];
        // (The counter's spoken name is rewritten with its caption.)
        QPushButton* button = makeButton(strip, QString::fromLatin1(design.name), QString::fromUtf8(design.caption),
                                         twipsRect(design.left, ButtonTop, design.width, ButtonHeight));
        if (design.toolTip) button->setToolTip(QString::fromLatin1(design.toolTip));
        buttons[i] = button;
        button->installEventFilter(this);
        if (i > 0) QWidget::setTabOrder(buttons[i - 1], button);
    }
    cmdOk_ = buttons[0];
    cmdPrev_ = buttons[1];
    cmdNext_ = buttons[2];
    cmdAddFav_ = buttons[3];
    cmdGotofav_ = buttons[4];
    cmdGoToT_ = buttons[5];
    cmdPrint_ = buttons[6];
    cmdExport_ = buttons[7];
    cmdAll_ = buttons[8];
    // Pressed in while only the favourites are shown.
    cmdGotofav_->setCheckable(true);

    lblNote_ = makeLabel(strip, QStringLiteral("lblNote"), QString(), Qt::AlignLeft | Qt::AlignVCenter,
                         twipsRect(NoteLeft, ButtonTop, FrameWidth - NoteLeft - ButtonTop, ButtonHeight));
    lblNote_->setWordWrap(true);
    const bool ranked = result.options.ranked();
    if (result.stopped && ranked) {
        generationNote_ = RankedStoppedNote;
        lblNote_->setToolTip(RankedStoppedToolTip);
    } else if (result.moreThanStored) {
        generationNote_ = ranked ? RankedMoreNote : MoreThanStoredNote;
        lblNote_->setToolTip(ranked ? RankedMoreToolTip : MoreThanStoredToolTip);
    } else if (result.stopped) {
        generationNote_ = SearchStoppedNote;
        lblNote_->setToolTip(SearchStoppedToolTip);
    }
    placeScore(strip);
    if (!lblNote_->toolTip().isEmpty())
        cmdGoToT_->setToolTip(lblNote_->toolTip() + QLatin1Char('\n') + cmdGoToT_->toolTip());
    strip->installEventFilter(this);

    toolbar_->addWidget(strip);

    connect(cmdOk_, &QPushButton::clicked, this, &TimeTablesMDI::cmdOk_Click);
    connect(cmdPrev_, &QPushButton::clicked, this, &TimeTablesMDI::cmdPrev_Click);
    connect(cmdNext_, &QPushButton::clicked, this, &TimeTablesMDI::cmdNext_Click);
    connect(cmdAddFav_, &QPushButton::clicked, this, &TimeTablesMDI::cmdAddFav_Click);
    // A click, Space and a screen reader's toggle action all flip the
    // checked state first: acting on that change, rather than on clicked(),
    // gives every route the same command (updateCommands() sets the state
    // back to the view's without coming here again).
    connect(cmdGotofav_, &QPushButton::toggled, this, &TimeTablesMDI::cmdGotofav_Click);
    connect(cmdPrint_, &QPushButton::clicked, this, &TimeTablesMDI::cmdPrint_Click);
    connect(cmdExport_, &QPushButton::clicked, this, &TimeTablesMDI::cmdExport_Click);
    connect(cmdAll_, &QPushButton::clicked, this, &TimeTablesMDI::cmdAll_Click);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { followStripFocus(now); });
}

QWidget* TimeTablesMDI::stripFocus() const {
    QWidget* focus = focusWidget();
    if (focus && cmdOk_->parentWidget()->isAncestorOf(focus) && focus->isEnabled()) return focus;
    return cmdNext_->isEnabled() ? cmdNext_ : cmdOk_;
}

void TimeTablesMDI::followStripFocus(QWidget* now) {
    if (grid_ && now && cmdOk_->parentWidget()->isAncestorOf(now)) grid_->setFocusProxy(now);
}

void TimeTablesMDI::showGridView() {
    if (grid_) {
        mdiArea_->setActiveSubWindow(grid_);
        grid_->raise();
        return;
    }
    Q_ASSERT(isStoredPosition(state_));
    auto* grid = new frmTimetables(state_, *mdiArea_);
    grid->markBusyCells(options_.busy);
    grid_ = grid;
    // The grid window takes no input, but an MDI child that holds the focus
    // keeps Tab inside itself, and the keyboard could never leave it. The
    // focus it would take stays on the strip instead (stripFocus).
    QWidget* focus = stripFocus();
    grid->setFocusProxy(focus);
    if (focusWidget() == nullptr) focus->setFocus(Qt::OtherFocusReason);  // the frame opens
    grid->show();
    fitGridToArea();
}

// The grid window fills the child area's height. Its width is the grid's
// own up to the frame's designed width, which leaves a margin right of it
// for the strip's sake; a frame made wider gives the grid its extra width
// and as much again from that margin, so that the grid fills the frame
// once it is some 150 pixels wider than designed, without a jump on the way.
// A maximised frame is filled at once, even on a screen narrower than the
// designed frame.
void TimeTablesMDI::fitGridToArea() {
    if (!grid_) return;
    const QSize area = mdiArea_->viewport()->size() - QSize(grid_->x(), grid_->y());
    const int widened = std::max(0, width() - px(FrameWidth));
    int roomWidth = std::min(area.width(), grid_->fullSize().width() + 2 * widened);
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) roomWidth = area.width();
    grid_->fitInto(QSize(roomWidth, area.height()));
}

void TimeTablesMDI::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) fitGridToArea();
}

bool TimeTablesMDI::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mdiArea_->viewport() && event->type() == QEvent::Resize) fitGridToArea();
    if (watched == lblNote_->parentWidget() && event->type() == QEvent::Resize) placeNote();
    // A button would take the arrows for moving the focus.
    if (event->type() == QEvent::KeyPress && resultsKey(*static_cast<QKeyEvent*>(event))) return true;
    return QMainWindow::eventFilter(watched, event);
}

void TimeTablesMDI::keyPressEvent(QKeyEvent* event) {
    if (!resultsKey(*event)) QMainWindow::keyPressEvent(event);
}

bool TimeTablesMDI::resultsKey(const QKeyEvent& event) {
    if (event.modifiers() != Qt::NoModifier) return false;
    if (event.key() == Qt::Key_Escape) {
        cmdOk_Click();
        return true;
    }
    // Only Up and Down scroll: a stepping key that scrolled first would
    // leave the counter where it was on the first press.
    if (grid_ && grid_->scrollForKey(event.key())) return true;
    switch (event.key()) {
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        if (cmdNext_->isEnabled()) cmdNext_->click();
        return true;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        if (cmdPrev_->isEnabled()) cmdPrev_->click();
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        goToEnd(event.key() == Qt::Key_End);
        return true;
    default:
        return false;
    }
}

frmTimetables* TimeTablesMDI::gridView() const { return grid_; }

void TimeTablesMDI::unloadGridView() {
    // Forgotten first: its destruction moves the focus (followStripFocus).
    frmTimetables* grid = grid_;
    grid_ = nullptr;
    delete grid;
}

void TimeTablesMDI::fitToScreen() {
    const int designedHeight = px(FrameHeight);
    int needed = designedHeight;
    if (grid_) needed = std::max(needed, toolbar_->height() + grid_->y() + grid_->fullSize().height());
    int height = needed;
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    QRect available = screen ? screen->availableGeometry() : QRect(0, 0, width(), needed);
    height = std::min(height, std::max(available.height() - TitleBarAllowance, SmallestFittedHeight));
    // Narrower than designed on a screen too narrow for it (1024 pixels),
    // with room for the window manager's borders, so that the frame's own
    // close button stays on the screen.
    resize(std::min(px(FrameWidth), available.width() - 2 * BorderAllowance), height);
    const int left = available.left() + std::max(0, (available.width() - width()) / 2);
    const int top = available.top() + std::max(0, (available.height() - TitleBarAllowance - height) / 2);
    move(left, top);
}

void TimeTablesMDI::closeEvent(QCloseEvent* event) {
    // Gone from the screen with the frame, before a new generation rewrites
    // the timetables its pictures read (the frame itself goes later).
    if (overview_) overview_->close();
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) emit closed();
}

void TimeTablesMDI::cmdOk_Click() {
    const CommandTurn turn;
    if (!turn) return;
    unloadGridView();
    close();
}

void TimeTablesMDI::cmdPrev_Click() {
    const CommandTurn turn;
    if (!turn) return;
    step(-1);
}

void TimeTablesMDI::cmdNext_Click() {
    const CommandTurn turn;
    if (!turn) return;
    step(+1);
}

void TimeTablesMDI::addKeys() {
    const auto pressIfEnabled = [](QPushButton* button) {
        return [button] {
            if (button->isEnabled()) button->click();
        };
    };
    const auto bind = [this](QKeySequence key, auto run) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, run);
    };
    // The keys without Ctrl are in resultsKey(), after the grid's scrolling.
    bind(QKeySequence(Qt::CTRL | Qt::Key_D), pressIfEnabled(cmdAddFav_));
    bind(QKeySequence(Qt::CTRL | Qt::Key_P), pressIfEnabled(cmdPrint_));
    bind(QKeySequence(Qt::CTRL | Qt::Key_E), pressIfEnabled(cmdExport_));
    bind(QKeySequence(Qt::CTRL | Qt::Key_L), pressIfEnabled(cmdAll_));
}

std::vector<int16_t> TimeTablesMDI::steppingPositions() const {
    if (favouritesView_) return favouritePositions(state_);
    std::vector<int16_t> all(static_cast<size_t>(std::max<int16_t>(state_.NumTimetables, 0)));
    std::iota(all.begin(), all.end(), int16_t(0));
    return all;
}

int TimeTablesMDI::stepIndex() const {
    const std::vector<int16_t> positions = steppingPositions();
    const auto at = std::find(positions.begin(), positions.end(), state_.CurrentTimetable);
    Q_ASSERT(at != positions.end());
    return static_cast<int>(at - positions.begin());
}

void TimeTablesMDI::step(int delta) {
    QPushButton* pressed = delta > 0 ? cmdNext_ : cmdPrev_;
    const bool hadFocus = focusWidget() == pressed;
    // "Previous" and "Next" are enabled only towards another timetable
    // being stepped through, so the step always lands on one.
    const std::vector<int16_t> positions = steppingPositions();
    const int index = stepIndex() + delta;
    Q_ASSERT(index >= 0 && index < static_cast<int>(positions.size()));
    goTo(positions[static_cast<size_t>(std::clamp(index, 0, static_cast<int>(positions.size()) - 1))]);
    // At the first or the last timetable the pressed button is disabled now.
    // Its focus goes to the counter, which does nothing when pressed: a user
    // pressing Space on "Next" stays at the end instead of stepping back.
    if (hadFocus && !pressed->isEnabled()) cmdGoToT_->setFocus(Qt::TabFocusReason);
}

// The score of a ranked result's timetables sits right of the counter, in a
// label as wide as the widest of them; the note moves right of it.
void TimeTablesMDI::placeScore(QWidget* strip) {
    lblScore_ = makeLabel(strip, QStringLiteral("lblScore"), QString(), Qt::AlignLeft | Qt::AlignVCenter,
                          twipsRect(NoteLeft, ButtonTop, 0, ButtonHeight));
    int width = 0;
    for (int k = 0; k < state_.NumTimetables && options_.ranked(); ++k)
        width = std::max(width, lblScore_->fontMetrics().horizontalAdvance(scoreCaption(k)));
    lblScore_->setVisible(width > 0);
    showsScore_ = width > 0;
    lblScore_->resize(width + px(ButtonTop), lblScore_->height());
}

// Right of "All" sit the score, then the notes, each where it fits
// whole (the notes wrapped if need be); what does not fit takes a line of
// its own under the buttons, and the strip grows to hold it. Never cut: a
// note the user cannot read whole is worse than none, and the strip never
// makes the frame wider than a 1024-pixel screen.
void TimeTablesMDI::placeNote() {
    QWidget* strip = lblNote_->parentWidget();
    const int margin = px(ButtonTop);
    const int stripHeight = px(StripHeight);
    const int right = strip->width() - margin;
    int left = cmdAll_->geometry().right() + margin;
    int below = stripHeight;  // the top of the next line under the buttons
    if (showsScore_) {
        const int width = lblScore_->width();
        if (left + width <= right) {
            lblScore_->move(left, px(ButtonTop));
            left += width + margin;
        } else {
            lblScore_->move(margin, below);
            below += lblScore_->height();
        }
    }
    const QString text = lblNote_->text();
    const QFontMetrics metrics = lblNote_->fontMetrics();
    const auto wrappedHeight = [&](int width) {
        return metrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, text).height();
    };
    const int besideWidth = right - left;
    if (text.isEmpty() || (below == stripHeight && besideWidth > 0 && wrappedHeight(besideWidth) <= stripHeight - 4)) {
        lblNote_->setGeometry(left, 0, std::max(besideWidth, 0), stripHeight);
    } else {
        const int width = std::max(right - margin, 1);
        const int noteHeight = wrappedHeight(width);
        lblNote_->setGeometry(margin, below, width, noteHeight);
        below += noteHeight;
    }
    lblNote_->setVisible(!text.isEmpty());
    const int height = below == stripHeight ? stripHeight : below + margin / 2;
    if (strip->height() == height && toolbar_->height() == height) return;
    strip->setFixedHeight(height);
    toolbar_->setFixedHeight(height);
}

void TimeTablesMDI::showCountNote(const QString& note) {
    generationNote_ = note;
    showNotes();
}

void TimeTablesMDI::showNotes() {
    QStringList notes;
    if (!generationNote_.isEmpty()) notes << generationNote_;
    if (const int missing = missingFavourites(state_); missing > 0) notes << missingFavouritesNote(missing);
    lblNote_->setText(notes.join(QLatin1Char('\n')));
    placeNote();
}

QString TimeTablesMDI::scoreCaption(int timetable) const {
    const Timetable& shown = state_.Timetables[static_cast<size_t>(timetable)];
    return qText(scoreText(options_, dayProfileOf(shown)));
}

void TimeTablesMDI::goToEnd(bool last) {
    const CommandTurn turn;
    if (!turn) return;
    const std::vector<int16_t> positions = steppingPositions();
    if (positions.empty()) return;
    const int16_t target = last ? positions.back() : positions.front();
    if (target != state_.CurrentTimetable) goTo(target);
}

void TimeTablesMDI::goTo(int16_t position) {
    unloadGridView();
    state_.CurrentTimetable = position;
    showGridView();
    updateCommands();
}

void TimeTablesMDI::cmdAddFav_Click() {
    const CommandTurn turn;
    if (!turn) return;
    const int16_t shown = state_.CurrentTimetable;
    const bool marked = toggleFavourite(state_, shown);
    emit favouritesEdited();
    if (favouritesView_ && !marked) {
        // The shown timetable has left the favourites being stepped
        // through: on to the next one, or the one before, or back to all.
        const std::vector<int16_t> favourites = favouritePositions(state_);
        if (favourites.empty()) {
            favouritesView_ = false;
        } else {
            const auto after = std::upper_bound(favourites.begin(), favourites.end(), shown);
            goTo(after != favourites.end() ? *after : favourites.back());
            return;
        }
    }
    updateCommands();
}

void TimeTablesMDI::followFavourites() {
    if (favouritesView_ && !isFavourite(state_, state_.CurrentTimetable)) {
        const std::vector<int16_t> favourites = favouritePositions(state_);
        if (!favourites.empty()) return goTo(favourites.front());
        favouritesView_ = false;
    }
    updateCommands();
}

void TimeTablesMDI::cmdGotofav_Click() {
    const CommandTurn turn;
    if (!turn) return showFavouritesView();  // refused: pressed in exactly while the favourites are shown
    if (favouritesView_) {
        favouritesView_ = false;  // all timetables again, from the one shown
        updateCommands();
        return;
    }
    const std::vector<int16_t> favourites = favouritePositions(state_);
    if (favourites.empty()) {
        updateCommands();
        return;
    }
    favouritesView_ = true;
    if (isFavourite(state_, state_.CurrentTimetable))
        updateCommands();
    else
        goTo(favourites.front());
}

// Both keep their turn while their dialogs are open, so no other command
// acts meanwhile.
void TimeTablesMDI::cmdPrint_Click() {
    const CommandTurn turn;
    if (!turn) return;
    printShownTimetable(state_, cmdGoToT_->text(), dialogs_, this);
}

void TimeTablesMDI::cmdExport_Click() {
    const CommandTurn turn;
    if (!turn) return;
    exportShownTimetable(state_, cmdGoToT_->text(), dialogs_, this);
}

void TimeTablesMDI::cmdAll_Click() {
    const CommandTurn turn;
    if (!turn) return;
    if (!overview_) {
        overview_ = new TimetableOverview(state_, this);
        connect(overview_, &TimetableOverview::picked, this, &TimeTablesMDI::showPicked);
    }
    overview_->open(this);
}

void TimeTablesMDI::showPicked(int16_t position) {
    const CommandTurn turn;
    if (!turn) return;
    // A timetable outside the favourites ends the favourites view.
    if (favouritesView_ && !isFavourite(state_, position)) favouritesView_ = false;
    overview_->close();
    activateWindow();
    if (position != state_.CurrentTimetable)
        goTo(position);
    else
        updateCommands();
}

void TimeTablesMDI::showFavouritesView() {
    const QSignalBlocker quiet(cmdGotofav_);
    cmdGotofav_->setChecked(favouritesView_);
}

void TimeTablesMDI::updateCommands() {
    const std::vector<int16_t> positions = steppingPositions();
    const int index = stepIndex();
    const int count = static_cast<int>(positions.size());
    cmdPrev_->setEnabled(index > 0);
    cmdNext_->setEnabled(index + 1 < count);

    const bool marked = isFavourite(state_, state_.CurrentTimetable);
    const QString favouriteCaption = marked ? RemoveFromFavoritesCaption : AddToFavoritesCaption;
    cmdAddFav_->setText(favouriteCaption);
    cmdAddFav_->setAccessibleName(withoutMnemonic(favouriteCaption));
    cmdAddFav_->setEnabled(marked || canMarkFavourite(state_, state_.CurrentTimetable));
    showFavouritesView();
    cmdGotofav_->setEnabled(favouritesView_ || !favouritePositions(state_).empty());

    // Read out as words rather than "1 slash 3", with the score when there
    // is one.
    QString spoken;
    if (favouritesView_) {
        cmdGoToT_->setText(favouriteCounterText(index + 1, count));
        spoken = QStringLiteral("Favorite %1 of %2").arg(index + 1).arg(count);
    } else {
        cmdGoToT_->setText(counterText(state_.CurrentTimetable, state_.NumTimetables));
        spoken = QStringLiteral("TimeTable %1 of %2").arg(state_.CurrentTimetable + 1).arg(state_.NumTimetables);
    }
    if (showsScore_ && isStoredPosition(state_)) {
        lblScore_->setText(scoreCaption(state_.CurrentTimetable));
        spoken += QStringLiteral(", ") + lblScore_->text();
    }
    cmdGoToT_->setAccessibleName(spoken);
    showNotes();
    if (overview_) overview_->refresh();
}

}  // namespace quorvandel
