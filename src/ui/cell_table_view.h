#pragma once
// A table of typed cells in a standard table view: the cells are read from
// the table as they are drawn, so a year of one-minute intervals costs
// nothing until it is scrolled to. Ctrl+C and Ctrl+Insert copy the selected
// rectangle as tab-separated text, the menu also the whole table.

#include <QAbstractTableModel>
#include <QTableView>
#include <functional>
#include <string>

#include "app/grid_selection.h"
#include "export/cell_table.h"

namespace sonvera::ui {

class CellTableModel : public QAbstractTableModel {
 public:
  using CellText = std::function<std::string(const TableCell&)>;
  CellTableModel(const CellTable& table, CellText text, QObject* parent)
      : QAbstractTableModel(parent), table_(table), text_(std::move(text)) {}

  // The table changed: everything is read again.
  void refresh() {
    beginResetModel();
    endResetModel();
  }
  const CellTable& table() const { return table_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const CellTable& table_;
  CellText text_;
};

class CellTableView : public QTableView {
  Q_OBJECT
 public:
  // `selectionText` and `tableText` give what the copies put on the clipboard.
  CellTableView(CellTableModel* model, std::function<std::string(const GridSelection&)> selectionText,
                std::function<std::string()> tableText, QWidget* parent);

  // The selection's bounding rectangle as a grid selection.
  GridSelection selection() const;
  void copySelection();
  void copyTable();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<std::string(const GridSelection&)> selectionText_;
  std::function<std::string()> tableText_;
};

}  // namespace sonvera::ui
