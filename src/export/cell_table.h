#pragma once
// A table of typed cells read one cell at a time, so that a long table is
// never held as text: numbers with the decimals they show, times and dates,
// texts. Result files write it as delimited text, workbooks (through a
// library beside the core) as number, date-time and text cells, and windows
// show it in grids.

#include <cstddef>
#include <functional>
#include <span>
#include <string>

#include "export/result_writer.h"

namespace sonvera {

struct TableCell {
  enum class Kind { Empty, Text, Number, Time, Date };
  Kind kind = Kind::Empty;
  double number = 0;  // Number: the value; Time, Date: a day number
  int decimals = 0;   // Number: the decimals shown
  std::string text;   // Text

  static TableCell empty() { return {}; }
  static TableCell of(std::string text) { return {Kind::Text, 0, 0, std::move(text)}; }
  // A number that is not finite is an empty cell.
  static TableCell of(double number, int decimals);
  static TableCell time(double dayNumber) { return {Kind::Time, dayNumber, 0, {}}; }
  static TableCell date(double dayNumber) { return {Kind::Date, dayNumber, 0, {}}; }
};

class CellTable {
 public:
  virtual ~CellTable() = default;
  virtual std::string name() const = 0;  // of its sheet, or of its file
  virtual std::size_t columnCount() const = 0;
  virtual std::size_t rowCount() const = 0;
  virtual std::string header(std::size_t column) const = 0;
  virtual TableCell cell(std::size_t row, std::size_t column) const = 0;
};

// The text of a cell: numbers with their decimals ("," for "." when asked),
// times "YYYY-MM-DD HH:MM:SS", dates "YYYY-MM-DD", empty cells empty.
std::string cellText(const TableCell& cell, bool decimalComma);

// The header line and the rows as delimited text; every field is followed by
// the separator, the last of a line included, as in the export's files.
void writeCellTable(ResultWriter& out, const CellTable& table, char separator, bool decimalComma);

// Writes tables as the sheets of one workbook; false when the file could not
// be written whole. Empty where the build writes no workbooks.
using CellWorkbookWriter = std::function<bool(const std::string& path, std::span<const CellTable* const> sheets)>;

}  // namespace sonvera
