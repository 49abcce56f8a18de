#pragma once
// The tape list: a list view laid out as a grid of equal rows, so that where a row stands and
// which rows show is arithmetic, whatever the length of the tape. The row shown first is the
// vertical scroll bar's value. The view selects nothing by itself: a click is reported and
// the window shows the core's selection.

#include <QListView>

namespace qb {

class TapeView final : public QListView {
    Q_OBJECT
public:
    explicit TapeView(QWidget* parent = nullptr);

    void SetRowHeight(int height);
    int RowHeight() const { return rowHeight_; }
    int TopRow() const;
    void SetTopRow(int row);
    // Selects one row, or none for -1.
    void ShowSelection(int row);

    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;
    void reset() override;
    void setModel(QAbstractItemModel* model) override;

signals:
    // A click on the list: the row under the mouse, -1 below the last line.
    void RowClicked(int row);
    void RowDoubleClicked(int row);

protected:
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent*) override {}
    void mouseReleaseEvent(QMouseEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    int RowCount() const;
    int VisibleRows() const;

    int rowHeight_ = 14;
};

}  // namespace qb
