#include "windows/TapeView.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace qb {

TapeView::TapeView(QWidget* parent) : QListView(parent) {
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAutoScroll(false);
    setFocusPolicy(Qt::NoFocus);
}

void TapeView::SetRowHeight(int height) {
    rowHeight_ = std::max(1, height);
    updateGeometries();
    viewport()->update();
}

int TapeView::RowCount() const { return model() ? model()->rowCount(rootIndex()) : 0; }

int TapeView::VisibleRows() const { return std::max(1, viewport()->height() / rowHeight_); }

int TapeView::TopRow() const { return verticalScrollBar()->value(); }

void TapeView::SetTopRow(int row) { verticalScrollBar()->setValue(row); }

void TapeView::ShowSelection(int row) {
    QItemSelectionModel* selection = selectionModel();
    if (!selection) return;
    if (row < 0 || row >= RowCount()) {
        if (selection->hasSelection()) selection->clearSelection();
        if (selection->currentIndex().isValid()) selection->clearCurrentIndex();
        return;
    }
    const QModelIndex index = model()->index(row, 0, rootIndex());
    if (!selection->isSelected(index)) selection->select(index, QItemSelectionModel::ClearAndSelect);
    // The selected line is the current one, which a screen reader takes for the focused line.
    if (selection->currentIndex() != index) selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

QRect TapeView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.parent() != rootIndex()) return {};
    return {0, (index.row() - TopRow()) * rowHeight_, viewport()->width(), rowHeight_};
}

QModelIndex TapeView::indexAt(const QPoint& point) const {
    if (!model() || point.y() < 0 || point.x() < 0 || point.x() >= viewport()->width()) return {};
    const int row = TopRow() + point.y() / rowHeight_;
    return row < RowCount() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

void TapeView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid()) return;
    const int row = index.row();
    const int top = TopRow();
    const int visible = VisibleRows();
    switch (hint) {
    case PositionAtTop: SetTopRow(row); break;
    case PositionAtBottom: SetTopRow(row - visible + 1); break;
    case PositionAtCenter: SetTopRow(row - visible / 2); break;
    case EnsureVisible:
        if (row < top)
            SetTopRow(row);
        else if (row >= top + visible)
            SetTopRow(row - visible + 1);
        break;
    }
}

// The rows need no layout: where each one stands follows from its number. What changed on
// screen has been marked for repainting where it changed.
void TapeView::doItemsLayout() { updateGeometries(); }

void TapeView::reset() {
    QListView::reset();
    updateGeometries();
    viewport()->update();
}

void TapeView::setModel(QAbstractItemModel* model) {
    QListView::setModel(model);
    if (!model) return;
    // Undo and corrections take lines off the end: the scroll range and the rows shown follow.
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] {
        updateGeometries();
        viewport()->update();
    });
}

int TapeView::verticalOffset() const { return TopRow() * rowHeight_; }

QModelIndex TapeView::moveCursor(CursorAction, Qt::KeyboardModifiers) { return currentIndex(); }

void TapeView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    const int count = RowCount();
    if (!selectionModel() || count == 0) return;
    const QRect area = rect.normalized();
    const int first = std::clamp(TopRow() + std::max(0, area.top()) / rowHeight_, 0, count - 1);
    const int last = std::clamp(TopRow() + std::max(0, area.bottom()) / rowHeight_, first, count - 1);
    const QItemSelection selection(model()->index(first, 0, rootIndex()), model()->index(last, 0, rootIndex()));
    selectionModel()->select(selection, command);
}

QRegion TapeView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const int top = TopRow();
    const int bottom = top + VisibleRows();
    for (const QItemSelectionRange& range : selection) {
        const int first = std::max(range.top(), top);
        const int last = std::min(range.bottom(), bottom);
        if (first <= last)
            region += QRect(0, (first - top) * rowHeight_, viewport()->width(), (last - first + 1) * rowHeight_);
    }
    return region;
}

void TapeView::updateGeometries() {
    const int visible = VisibleRows();
    QScrollBar* bar = verticalScrollBar();
    bar->setSingleStep(1);
    bar->setPageStep(visible);
    bar->setRange(0, std::max(0, RowCount() - visible));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

// The lines already drawn move with the scroll; only the rows that come into view are painted.
void TapeView::scrollContentsBy(int, int dy) {
    if (std::abs(dy) >= VisibleRows())
        viewport()->update();
    else
        viewport()->scroll(0, dy * rowHeight_);
}

void TapeView::paintEvent(QPaintEvent* event) {
    if (!model()) return;
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State baseState = option.state;
    const QRect dirty = event->rect();
    const int first = TopRow() + std::max(0, dirty.top()) / rowHeight_;
    const int last = std::min(RowCount(), TopRow() + std::max(0, dirty.bottom()) / rowHeight_ + 1);
    QItemSelectionModel* selection = selectionModel();
    QAbstractItemDelegate* delegate = itemDelegate();
    for (int row = first; row < last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        option.rect = visualRect(index);
        option.state = baseState;
        if (selection && selection->isSelected(index)) option.state |= QStyle::State_Selected;
        delegate->paint(&painter, option, index);
    }
}

// The list view's own handlers below work on the layout it keeps, which this view does not
// use; the item view's handlers are called instead.
void TapeView::resizeEvent(QResizeEvent* event) { QAbstractItemView::resizeEvent(event); }

void TapeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    emit RowClicked(index.isValid() ? index.row() : -1);
    event->accept();
}

void TapeView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) emit RowDoubleClicked(index.row());
    event->accept();
}

void TapeView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    // The scroll range must be right at once: the window scrolls to the new line right after.
    updateGeometries();
    const int top = TopRow();
    const int first = std::max(start, top);
    const int last = std::min(end, top + VisibleRows() - 1);
    if (first <= last)
        viewport()->update(QRect(0, (first - top) * rowHeight_, viewport()->width(), (last - first + 1) * rowHeight_));
}

// Lines rewritten in place (a correction, an undo) are repainted where they show. The item
// view's own handler leaves a range of rows to a layout pass this view never has.
void TapeView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    const int top = TopRow();
    const int first = std::max(topLeft.row(), top);
    const int last = std::min(bottomRight.row(), top + VisibleRows() - 1);
    if (first <= last)
        viewport()->update(QRect(0, (first - top) * rowHeight_, viewport()->width(), (last - first + 1) * rowHeight_));
}

void TapeView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QAbstractItemView::selectionChanged(selected, deselected);
    // Screen readers hear which line is selected.
    if (QAccessible::isActive() && !selected.isEmpty()) {
        QAccessibleEvent event(this, QAccessible::SelectionAdd);
        event.setChild(selected.first().top());
        QAccessible::updateAccessibility(&event);
    }
}

void TapeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QAbstractItemView::currentChanged(current, previous);
    // The keyboard stays on the unseen keystroke box, so the item view never tells of its current
    // line itself: the accessible focus moves to the line the user walked to, and a screen
    // reader reads it.
    if (QAccessible::isActive() && current.isValid() && !hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace qb
