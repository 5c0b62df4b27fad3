#include "grid_widget.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

#include "shared_resources.h"

namespace sonvera::ui {
namespace {

const QColor kSelectedFill(100, 100, 100);
const QColor kGridLine(200, 200, 200);
constexpr DisplayFormat kAlignmentMask = 0x0C00;
constexpr DisplayFormat kLeftAligned = 0x0400;
constexpr DisplayFormat kCentred = 0x0800;
constexpr DisplayFormat kBold = 0x2000;

}  // namespace

GridWidget::GridWidget(const RecordViewer& viewer, const ViewerTable& table, int cellWidth, int cellHeight,
                       QWidget* parent)
    : QWidget(parent),
      viewer_(viewer),
      table_(table),
      cellWidth_(cellWidth),
      cellHeight_(cellHeight),
      rows_(static_cast<int>(viewer.groups()[table.groupIndex].parameters.size())),
      selection_(table.columns, rows_) {
  setObjectName(QStringLiteral("Grid"));
  setFocusPolicy(Qt::ClickFocus);
  setFont(sharedFonts().gridText);
  for (const QKeySequence& keys : copyKeys()) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this, &GridWidget::copySelection);
  }
}

void GridWidget::copySelection() {
  if (!selection_.hasSelection()) return;
  QApplication::clipboard()->setText(QString::fromStdString(viewer_.selectionText(table_, selection_)));
}

void GridWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The border, then the cells inside it.
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.translate(1, 1);
  const int w = cellWidth_, h = cellHeight_;
  const QFont& normal = sharedFonts().gridText;
  const QFont& bold = sharedFonts().gridBold;
  const int ascent = QFontMetrics(normal).ascent();
  for (int r = 0; r < rows_; ++r) {
    for (int c = 0; c < table_.columns; ++c) {
      const QRect cell(c * w + 1, r * h + 1, w - 1, h - 1);
      const bool selected = selection_.contains(c, r);
      painter.fillRect(cell, selected ? kSelectedFill : Qt::white);
      const DisplayFormat f = viewer_.cellFormat(table_, c, r);
      painter.setFont(f != kDefaultFormat && (f & kBold) != 0 ? bold : normal);
      painter.setPen(selected ? Qt::white : Qt::black);
      const QString text = QString::fromStdString(viewer_.cellText(table_, c, r));
      const int width = painter.fontMetrics().horizontalAdvance(text);
      int x = c * w + w - 2 - width;  // right aligned
      if ((f & kAlignmentMask) == kLeftAligned)
        x = c * w + 2;
      else if ((f & kAlignmentMask) == kCentred)
        x = c * w + w / 2 - width / 2;
      painter.drawText(x, r * h + 3 + ascent, text);
    }
  }
  painter.setPen(QPen(kGridLine, 1));
  for (int i = 1; i < table_.columns; ++i) painter.drawLine(i * w, 0, i * w, rows_ * h);
  for (int i = 1; i < rows_; ++i) painter.drawLine(0, i * h, table_.columns * w, i * h);
}

QPoint GridWidget::cellAt(const QPoint& point) const {
  return {cellIndex(point.x() - 1, cellWidth_), cellIndex(point.y() - 1, cellHeight_)};
}

void GridWidget::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const QPoint cell = cellAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton) {
    if (selection_.press(cell.x(), cell.y(), (event->modifiers() & Qt::ShiftModifier) != 0)) update();
  } else if (event->button() == Qt::RightButton && selection_.hasSelection()) {
    emit contextRequested(this);
  }
}

void GridWidget::mouseMoveEvent(QMouseEvent* event) {
  if ((event->buttons() & Qt::LeftButton) == 0) return;
  const QPoint cell = cellAt(event->position().toPoint());
  if (selection_.drag(cell.x(), cell.y())) update();
}

void GridWidget::keyPressEvent(QKeyEvent* event) {
  // Arrows, Tab and Enter reach the grid and do nothing; Esc still closes the viewer.
  if (event->key() == Qt::Key_Escape)
    event->ignore();
  else
    event->accept();
}

bool GridWidget::event(QEvent* event) {
  // Tab stays in the grid, as the other keys do.
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
      event->accept();
      return true;
    }
  }
  return QWidget::event(event);
}

}  // namespace sonvera::ui
