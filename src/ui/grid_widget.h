#pragma once
// One table of the last-record viewer: fixed-size cells drawn from the
// viewer's values, a rectangle of cells selected with the mouse and Shift,
// copied with Ctrl+C or Ctrl+Insert.

#include <QWidget>

#include "app/grid_selection.h"
#include "app/record_viewer.h"

namespace sonvera::ui {

class GridWidget : public QWidget {
  Q_OBJECT
 public:
  GridWidget(const RecordViewer& viewer, const ViewerTable& table, int cellWidth, int cellHeight, QWidget* parent);

  const GridSelection& selection() const { return selection_; }
  const ViewerTable& table() const { return table_; }
  QSize cellSize() const { return {cellWidth_, cellHeight_}; }
  // The selected cells to the clipboard; nothing without a selection.
  void copySelection();

 signals:
  // A right click with a selection: the owner offers its context menu.
  void contextRequested(GridWidget* grid);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // The cell under a point of the widget (inside its border).
  QPoint cellAt(const QPoint& point) const;

  const RecordViewer& viewer_;
  const ViewerTable table_;
  const int cellWidth_, cellHeight_;
  const int rows_;
  GridSelection selection_;
};

}  // namespace sonvera::ui
