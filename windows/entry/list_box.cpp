#include "list_box.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "form_metrics.h"

namespace quorvandel {

ListBox* makeListBox(QWidget* parent, const QString& objectName, const QStringList& lines, const QRect& geometry) {
    auto* list = new ListBox(parent);
    list->setObjectName(objectName);
    for (const QString& line : lines) list->appendLine(line);
    list->setGeometry(geometry);
    return list;
}

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    setFont(formFont());
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
}

void ListBox::appendLine(const QString& text) {
    auto* item = new QListWidgetItem(text);
    // Wide enough for the whole text, so a sideways scroll bar can reach it.
    item->setSizeHint(QSize(fontMetrics().horizontalAdvance(text) + 2 * ListTextMargin, ListLineHeight));
    addItem(item);
}

void ListBox::removeLine(int index) {
    Q_ASSERT(index >= 0 && index < count());
    delete takeItem(index);  // no item, and nothing removed, for an index out of range
    leaveNoSelection();
}

void ListBox::removeAllLines() {
    clear();
    leaveNoSelection();
}

QString ListBox::line(int index) const {
    Q_ASSERT(index >= 0 && index < count());
    const QListWidgetItem* it = item(index);
    return it ? it->text() : QString();
}

void ListBox::setLine(int index, const QString& text, bool greyed) {
    Q_ASSERT(index >= 0 && index < count());
    QListWidgetItem* it = item(index);
    if (!it) return;
    it->setText(text);
    it->setSizeHint(QSize(fontMetrics().horizontalAdvance(text) + 2 * ListTextMargin, ListLineHeight));
    it->setForeground(greyed ? palette().brush(QPalette::Disabled, QPalette::Text) : QBrush());
}

void ListBox::selectLine(int index) {
    Q_ASSERT(index >= 0 && index < count());
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item(index));
}

void ListBox::contextMenuEvent(QContextMenuEvent* event) {
    int line = selectedIndex();
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        // The event comes through the viewport, in its coordinates.
        if (const QListWidgetItem* under = itemAt(event->pos())) line = row(under);
    } else if (line >= 0) {
        at = viewport()->mapToGlobal(visualItemRect(item(line)).center());
    }
    event->accept();
    emit menuRequested(line, at);
}

int ListBox::selectedIndex() const {
    const QList<int> rows = selectedRows();
    return rows.isEmpty() ? -1 : rows.front();
}

bool ListBox::isLineSelected(int index) const {
    Q_ASSERT(index >= 0 && index < count());
    const QListWidgetItem* it = item(index);
    return it && it->isSelected();
}

QList<int> ListBox::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ListBox::leaveNoSelection() {
    // QListWidget moves the current line to a neighbour on removal; the
    // list box keeps neither a selected nor a current line.
    selectionModel()->clear();
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index, const QEvent* event) const {
    QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    if (selectionMode() != QAbstractItemView::SingleSelection) return command;
    if (!index.isValid()) return QItemSelectionModel::NoUpdate;
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return command;
}

void ListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();  // only the left button selects
        return;
    }
    const QList<int> before = selectedRows();
    const QModelIndex pressed = indexAt(event->position().toPoint());
    QListWidget::mousePressEvent(event);
    if ((pressed.isValid() && selectionMode() == QAbstractItemView::SingleSelection) || selectedRows() != before)
        emit userSelectedLine();
}

void ListBox::mouseMoveEvent(QMouseEvent* event) {
    if (selectionMode() != QAbstractItemView::SingleSelection) {
        event->accept();  // no sweeping over lines
        return;
    }
    const QList<int> before = selectedRows();
    QListWidget::mouseMoveEvent(event);
    if (selectedRows() != before) emit userSelectedLine();
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
    const QList<int> before = selectedRows();
    QListWidget::mouseReleaseEvent(event);
    if (selectedRows() != before) emit userSelectedLine();
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const QList<int> before = selectedRows();
    // With no line selected, Down and Home start at the first line and Up
    // and End at the last (Qt would move on from the line the focus marks).
    const int key = event->key();
    const bool toFirst = key == Qt::Key_Down || key == Qt::Key_Home;
    const bool toLast = key == Qt::Key_Up || key == Qt::Key_End;
    if (selectionMode() == QAbstractItemView::SingleSelection && before.isEmpty() && count() > 0 &&
        (toFirst || toLast) && event->modifiers() == Qt::NoModifier) {
        const int row = toFirst ? 0 : count() - 1;
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        scrollToItem(item(row));
        event->accept();
    } else {
        QListWidget::keyPressEvent(event);
    }
    if (selectedRows() != before) emit userSelectedLine();
}

}  // namespace quorvandel
