#include "cell_table_view.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QKeyEvent>
#include <algorithm>
#include <climits>

#include "shared_resources.h"

namespace sonvera::ui {

int CellTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(std::min<std::size_t>(table_.rowCount(), INT_MAX));
}

int CellTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.columnCount());
}

QVariant CellTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) {
    const TableCell cell = table_.cell(static_cast<std::size_t>(index.row()), static_cast<std::size_t>(index.column()));
    return QString::fromStdString(text_(cell));
  }
  if (role == Qt::TextAlignmentRole) {
    const TableCell cell = table_.cell(static_cast<std::size_t>(index.row()), static_cast<std::size_t>(index.column()));
    return QVariant::fromValue(cell.kind == TableCell::Kind::Number ? Qt::AlignRight | Qt::AlignVCenter
                                                                    : Qt::AlignLeft | Qt::AlignVCenter);
  }
  return {};
}

QVariant CellTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  if (orientation == Qt::Horizontal) return QString::fromStdString(table_.header(static_cast<std::size_t>(section)));
  return section + 1;
}

CellTableView::CellTableView(CellTableModel* model, std::function<std::string(const GridSelection&)> selectionText,
                             std::function<std::string()> tableText, QWidget* parent)
    : QTableView(parent), selectionText_(std::move(selectionText)), tableText_(std::move(tableText)) {
  setModel(model);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setAlternatingRowColors(true);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  verticalHeader()->hide();
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  setWordWrap(false);
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu(this);
    QAction* selected = menu.addAction(QStringLiteral("Копировать"));
    selected->setShortcut(QKeySequence::Copy);
    selected->setEnabled(selectionModel()->hasSelection());
    QAction* whole = menu.addAction(QStringLiteral("Копировать таблицу"));
    QAction* chosen = menu.exec(viewport()->mapToGlobal(at));
    if (chosen == selected) copySelection();
    if (chosen == whole) copyTable();
  });
}

GridSelection CellTableView::selection() const {
  const int columns = model()->columnCount(), rows = model()->rowCount();
  GridSelection grid(columns, rows);
  const QModelIndexList cells = selectionModel()->selectedIndexes();
  if (cells.isEmpty()) return grid;
  int left = columns, top = rows, right = -1, bottom = -1;
  for (const QModelIndex& i : cells) {
    left = std::min(left, i.column()), right = std::max(right, i.column());
    top = std::min(top, i.row()), bottom = std::max(bottom, i.row());
  }
  grid.press(left, top, false);
  grid.press(right, bottom, true);
  return grid;
}

void CellTableView::keyPressEvent(QKeyEvent* event) {
  // The rectangle, not only the current cell as the view itself would copy.
  const QKeySequence pressed(event->keyCombination());
  for (const QKeySequence& keys : copyKeys())
    if (pressed == keys) {
      copySelection();
      event->accept();
      return;
    }
  QTableView::keyPressEvent(event);
}

void CellTableView::copySelection() {
  const GridSelection grid = selection();
  if (grid.hasSelection()) QApplication::clipboard()->setText(QString::fromStdString(selectionText_(grid)));
}

void CellTableView::copyTable() { QApplication::clipboard()->setText(QString::fromStdString(tableText_())); }

}  // namespace sonvera::ui
