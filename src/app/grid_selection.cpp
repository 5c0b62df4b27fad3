#include "app/grid_selection.h"

#include <algorithm>

namespace sonvera {

bool GridSelection::inside(std::int32_t column, std::int32_t row) const {
  return column >= 0 && row >= 0 && column < columns_ && row < rows_;
}

bool GridSelection::contains(std::int32_t column, std::int32_t row) const {
  return hasSelection() && column >= range_.left && column < range_.right && row >= range_.top &&
         row < range_.bottom;
}

bool GridSelection::set(const CellRange& range) {
  const bool changed = range != range_;
  range_ = range;
  return changed;
}

CellRange GridSelection::spanFromAnchor(std::int32_t column, std::int32_t row) const {
  return {std::min(anchorColumn_, column), std::min(anchorRow_, row), std::max(anchorColumn_, column) + 1,
          std::max(anchorRow_, row) + 1};
}

bool GridSelection::press(std::int32_t column, std::int32_t row, bool shift) {
  if (!inside(column, row)) {
    anchorColumn_ = anchorRow_ = -1;
    return set(CellRange{});
  }
  if (shift && anchorColumn_ >= 0) return set(spanFromAnchor(column, row));
  const CellRange single{column, row, column + 1, row + 1};
  if (single == range_) {  // a second click on the one selected cell
    anchorColumn_ = anchorRow_ = -1;
    return set(CellRange{});
  }
  anchorColumn_ = column;
  anchorRow_ = row;
  return set(single);
}

bool GridSelection::drag(std::int32_t column, std::int32_t row) {
  if (inside(column, row) && anchorColumn_ >= 0) return set(spanFromAnchor(column, row));
  anchorColumn_ = anchorRow_ = -1;
  return set(CellRange{});
}

std::int32_t cellIndex(std::int32_t pixel, std::int32_t size) {
  if (size <= 0) return -1;
  // Rounded down, so that a point just left of the cells is outside them.
  return pixel >= 0 ? pixel / size : -1 - (-1 - pixel) / size;
}

std::string selectionText(const GridSelection& selection, const CellText& cellText) {
  const CellRange& r = selection.range();
  std::string text;
  if (!selection.hasSelection() || r.right <= r.left || r.bottom <= r.top) return text;
  for (std::int32_t row = r.top; row < r.bottom; ++row) {
    if (row > r.top) text += '\n';
    for (std::int32_t column = r.left; column < r.right; ++column) {
      if (column > r.left) text += '\t';
      text += cellText(column, row);
    }
  }
  return text;
}

std::string tableText(std::int32_t columns, std::int32_t rows, const TableHeaders& headers,
                      const CellText& cellText) {
  std::string text;
  if (headers.corner) text += *headers.corner;
  text += '\t';
  for (std::int32_t c = 0; c < columns; ++c) {
    if (static_cast<std::size_t>(c) < headers.columns.size()) text += headers.columns[static_cast<std::size_t>(c)];
    if (c + 1 < columns) text += '\t';
  }
  text += '\n';
  for (std::int32_t r = 0; r < rows; ++r) {
    if (static_cast<std::size_t>(r) < headers.rows.size()) {
      text += headers.rows[static_cast<std::size_t>(r)];
      text += '\t';
    }
    for (std::int32_t c = 0; c < columns; ++c) {
      text += cellText(c, r);
      if (c + 1 < columns) text += '\t';
    }
    text += '\n';
  }
  return text;
}

}  // namespace sonvera
