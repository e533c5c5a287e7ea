#pragma once
// TimeTablesMDI: the results frame. A multiple-document frame with a fixed
// strip along its top ("OK", "Previous", "Next", "Add to Favorites", "Go To
// Favorites", the counter "TimeTable: n / m", "Print…", "Export…" and "All",
// every timetable at once, timetable_overview.h) that
// holds the grid window frmTimetables and keeps it in step with
// CurrentTimetable: every step destroys the grid window, moves
// CurrentTimetable, loads a fresh grid window and rewrites the counter.
//
// Favourites (favourites.h): "Add to Favorites" marks the shown timetable and
// then reads "Remove from Favorites". "Go To Favorites" is a toggle: pressed
// in, the frame steps through the favourites only and the counter reads
// "Favorite: k / m"; pressed again, it steps through all timetables again
// from the one shown. Unmarking the shown timetable while only favourites
// are shown moves on to the next favourite (or the one before it), and
// back to all timetables when none is left.
//
// Notes: why not every timetable is on offer, and how many favourites this
// generation did not find (they stay marked for a later one). They sit
// beside the counter when they fit there whole, else on a line of their own
// under the buttons.
//
// Keys, anywhere in the frame: Right and Page Down "Next", Left and Page Up
// "Previous", Home and End the first and the last timetable, each on its
// first press; Up and Down scroll a grid that does not fit (as do its
// scroll bar and the wheel); Ctrl+D the favourite button, Ctrl+P "Print…",
// Ctrl+E "Export…", Ctrl+L "All", Esc "OK". A key does what its button does, and nothing
// while the button is disabled.
//
// The frame deletes itself when it closes; closing it destroys the grid
// window with it. The grid window cannot be closed on its own.
// Its commands take their turn first (command_turn.h): none acts while a
// search runs or a modal window is open.

#include <QMainWindow>
#include <QPointer>

#include <vector>

#include "generation_result.h"
#include "schedule_model.h"

class QLabel;
class QMdiArea;
class QPushButton;
class QToolBar;

namespace quorvandel {

class ResultsDialogs;
class TimetableOverview;
class frmTimetables;

// "TimeTable: " & (CurrentTimetable + 1) & " / " & NumTimetables.
QString counterText(int currentTimetable, int numTimetables);
// "Favorite: " & k & " / " & m: the shown timetable is the k-th of m
// favourites.
QString favouriteCounterText(int favourite, int numFavourites);

// The note on favourites kept but not found by this generation: "2
// favourites are not among these timetables".
QString missingFavouritesNote(int missing);

extern const QString AddToFavoritesCaption;       // "&Add to Favorites"
extern const QString RemoveFromFavoritesCaption;  // "&Remove from Favorites"

// The notes shown beside the counter when not every timetable is on offer.
extern const QString MoreThanStoredNote;
extern const QString MoreThanStoredToolTip;
extern const QString RankedMoreNote;  // "The 26 best are shown; more timetables exist"
extern const QString RankedMoreToolTip;
extern const QString RankedStoppedNote;  // a ranked search stopped: "... may not be the best"
extern const QString RankedStoppedToolTip;
extern const QString SearchStoppedNote;
extern const QString SearchStoppedToolTip;

class TimeTablesMDI : public QMainWindow {
    Q_OBJECT
public:
    // The load step: builds the frame and its strip and writes the counter.
    // `result` is the generation whose timetables are shown; it decides the
    // note beside the counter. The position must name a stored timetable
    // (results_position.h). The grid window is not loaded yet: call
    // showGridView(). "Print…" and "Export…" ask through `dialogs`, which
    // must outlive the frame.
    TimeTablesMDI(ModuleState& state, const GenerationResult& result, ResultsDialogs& dialogs);
    ~TimeTablesMDI() override;

    // Shows the grid window: loads a fresh one when none is loaded, otherwise
    // only brings the loaded one to the front (it is not repainted).
    void showGridView();
    // Destroys the grid window, if one is loaded.
    void unloadGridView();
    // Sizes the frame so that the loaded grid window fits below the strip
    // where the screen has room (never smaller than the designed size unless
    // the screen is), and centres it on the screen. Where the grid does not
    // fit, it scrolls inside its window. A frame made larger than designed
    // (by the user) gives the grid the room: it grows to fill the frame.
    void fitToScreen();
    // The loaded grid window, or null.
    frmTimetables* gridView() const;

    // The favourites changed outside the frame ("New" forgot them): the
    // favourites view goes on to a favourite still marked, or back to all
    // timetables when none is left, and the buttons and counter follow.
    void followFavourites();
    // Every timetable has been counted: `note` ("26 of 1,204 timetables are
    // shown") takes the place of the generation's note.
    void showCountNote(const QString& note);

signals:
    // The user marked or unmarked the timetable shown.
    void favouritesEdited();
    // The frame has closed (by "OK" or by closing its window) and is about to
    // be destroyed.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // A maximised frame gives the grid its whole width (fitGridToArea).
    void changeEvent(QEvent* event) override;
    // Sees the keys of the strip's buttons before they do (resultsKey), and
    // fits the grid window to the child area as the frame is resized.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void cmdOk_Click();
    void cmdPrev_Click();
    void cmdNext_Click();
    void cmdAddFav_Click();
    void cmdGotofav_Click();
    void cmdPrint_Click();
    void cmdExport_Click();
    void cmdAll_Click();
    // A picture of the overview was chosen: its timetable in the grid.
    void showPicked(int16_t position);

private:
    void buildStrip(const GenerationResult& result);
    void addKeys();
    // The stored timetables "Previous" and "Next" step through: all of
    // them, or the favourites; CurrentTimetable is always one of them.
    std::vector<int16_t> steppingPositions() const;
    int stepIndex() const;  // CurrentTimetable's index among them
    void step(int delta);
    void goToEnd(bool last);
    // Loads a fresh grid window on the stored timetable at `position`.
    void goTo(int16_t position);
    // "Go To Favorites" pressed in exactly while only favourites are shown.
    void showFavouritesView();
    // Sets every button and the counter for the timetable shown.
    void updateCommands();
    void fitGridToArea();
    void placeScore(QWidget* strip);
    // The notes beside the counter: the generation's, then how many
    // favourites it did not find; placeNote() fits them whole.
    void showNotes();
    void placeNote();
    QString scoreCaption(int timetable) const;
    // Every key of the results, wherever the focus is in the frame; true
    // when the key was used. Esc is "OK"; Up and Down scroll the grid where
    // it does not fit; Page Up and Page Down step like Left and Right, and
    // Home and End go to the first and the last timetable.
    bool resultsKey(const QKeyEvent& event);
    // The strip button that keeps the keyboard focus for the grid window
    // ("Next" when the frame opens, or "OK" with nothing to step to), and
    // the one that takes it over when the focus moves along the strip.
    QWidget* stripFocus() const;
    void followStripFocus(QWidget* now);

    ModuleState& state_;
    ScheduleOptions options_;  // what the shown timetables were ranked by, and the busy times
    QMdiArea* mdiArea_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QPushButton* cmdOk_ = nullptr;
    QPushButton* cmdPrev_ = nullptr;
    QPushButton* cmdNext_ = nullptr;
    QPushButton* cmdAddFav_ = nullptr;
    QPushButton* cmdGotofav_ = nullptr;
    QPushButton* cmdGoToT_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
    QPushButton* cmdExport_ = nullptr;
    QPushButton* cmdAll_ = nullptr;
    QPointer<TimetableOverview> overview_;  // "All", once opened
    QLabel* lblNote_ = nullptr;
    QString generationNote_;  // why not every timetable is on offer, if so
    QLabel* lblScore_ = nullptr;
    bool showsScore_ = false;  // a ranked result: each timetable's score beside the counter
    ResultsDialogs& dialogs_;
    bool favouritesView_ = false;
    QPointer<frmTimetables> grid_;
};

}  // namespace quorvandel
