#pragma once
// The grid of the last-record viewer without a window: which cells are
// selected after a click, a Shift+click or a drag, and the texts a copy gives.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sonvera {

// Cell coordinates; right and bottom are exclusive.
struct CellRange {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const CellRange&) const = default;
};

class GridSelection {
 public:
  GridSelection(std::int32_t columns, std::int32_t rows) : columns_(columns), rows_(rows) {}

  // A selection exists while its right edge is above 0.
  bool hasSelection() const { return range_.right > 0; }
  const CellRange& range() const { return range_; }
  bool contains(std::int32_t column, std::int32_t row) const;

  // Left button pressed on a cell (which may lie outside the grid): a plain
  // click selects the cell or, when it alone was selected, deselects it;
  // Shift extends from the anchor. True when the selection changed.
  bool press(std::int32_t column, std::int32_t row, bool shift);
  // The mouse moved with the left button held.
  bool drag(std::int32_t column, std::int32_t row);

 private:
  bool inside(std::int32_t column, std::int32_t row) const;
  bool set(const CellRange& range);
  CellRange spanFromAnchor(std::int32_t column, std::int32_t row) const;

  std::int32_t columns_, rows_;
  CellRange range_;
  std::int32_t anchorColumn_ = -1, anchorRow_ = -1;
};

// The cell under a point of the grid's cell area, cells of `width` × `height`
// pixels; a point left of or above the cells gives a negative cell.
std::int32_t cellIndex(std::int32_t pixel, std::int32_t size);

using CellText = std::function<std::string(std::int32_t column, std::int32_t row)>;

// The selected cells: tabs between columns, line feeds between rows, none at
// the end. Empty without a selection.
std::string selectionText(const GridSelection& selection, const CellText& cellText);

// The whole table with its headers: the corner text (when given) and a tab,
// the column headers separated by tabs, then per row its header and a tab and
// the cells separated by tabs; every line ends in a line feed.
struct TableHeaders {
  std::optional<std::string> corner;
  std::vector<std::string> columns;  // one per column, or none
  std::vector<std::string> rows;     // one per row, or none
};
std::string tableText(std::int32_t columns, std::int32_t rows, const TableHeaders& headers,
                      const CellText& cellText);

}  // namespace sonvera
