#pragma once
// A list box of the entry windows, over QListWidget:
// - userSelectedLine() is the list's click: it is emitted when the user
//   selects a line with the mouse (a left press on a line, also on the line
//   already selected) or with the keyboard (a key that changes the
//   selection). Changes the program makes never emit it.
// - A single-selection list cannot be emptied by the user: Ctrl-click and
//   Ctrl-Space on the selected line, or a click below the last line, leave
//   the selection as it is.
// - A multiple-selection list toggles one line per click or Space; dragging
//   does not sweep over lines.
// - Removing a line or all lines leaves no line selected and no current line.
// - In a single-selection list with no line selected, Down and Home select
//   the first line and Up and End the last (and emit the click).
// Every line has the forms' fixed line height.

#include <QListWidget>
#include <QStringList>

namespace quorvandel {

class ListBox;

// A list box named `objectName` at `geometry` (pixels; see twipsRect),
// holding `lines` in order.
ListBox* makeListBox(QWidget* parent, const QString& objectName, const QStringList& lines, const QRect& geometry);

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    // `index` names a line, 0 .. lineCount() - 1, wherever a method takes
    // one; a debug build stops on any other. (A release build then removes
    // no line, and reads an empty, unselected one.)
    void appendLine(const QString& text);
    void removeLine(int index);  // no line selected afterwards
    void removeAllLines();       // no line selected afterwards
    QString line(int index) const;
    // Rewrites a line in place, its selection kept; a greyed line reads as
    // one that does not count (a section left out).
    void setLine(int index, const QString& text, bool greyed = false);
    // Selects a line as the program does (no userSelectedLine), making it
    // the current one and scrolling to it.
    void selectLine(int index);
    int lineCount() const { return count(); }
    // The selected line of a single-selection list, -1 when none.
    int selectedIndex() const;
    bool isLineSelected(int index) const;

signals:
    void userSelectedLine();
    // The context menu is asked for on `line` (-1: none), to open at
    // `globalPos`: by the mouse, the line under the pointer; by the
    // keyboard (the Menu key, Shift+F10), the selected line.
    void menuRequested(int line, const QPoint& globalPos);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QList<int> selectedRows() const;
    void leaveNoSelection();
};

}  // namespace quorvandel
