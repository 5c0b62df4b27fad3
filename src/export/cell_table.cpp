#include "export/cell_table.h"

#include <charconv>
#include <cmath>

#include "export/format_value.h"

namespace sonvera {

TableCell TableCell::of(double number, int decimals) {
  if (!std::isfinite(number)) return {};
  return {Kind::Number, number, decimals, {}};
}

std::string cellText(const TableCell& cell, bool decimalComma) {
  switch (cell.kind) {
    case TableCell::Kind::Empty: return {};
    case TableCell::Kind::Text: return cell.text;
    case TableCell::Kind::Time: return RecordTime::fromDayNumber(cell.number).format("%Y-%m-%d %H:%M:%S");
    case TableCell::Kind::Date: return RecordTime::fromDayNumber(cell.number).format("%Y-%m-%d");
    case TableCell::Kind::Number: break;
  }
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, cell.number + 0.0, std::chars_format::fixed, cell.decimals);
  std::string text = error == std::errc() ? std::string(buffer, end) : std::string{};
  // A value that rounds to zero shows no sign.
  if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return decimalComma ? withDecimalComma(std::move(text)) : text;
}

void writeCellTable(ResultWriter& out, const CellTable& table, char separator, bool decimalComma) {
  const std::string field{separator};
  for (std::size_t c = 0; c < table.columnCount(); ++c) out.write(out.encoded(columnSafe(table.header(c), separator)) + field);
  out.endLine();
  for (std::size_t r = 0; r < table.rowCount() && out.ok(); ++r) {
    for (std::size_t c = 0; c < table.columnCount(); ++c) {
      const TableCell cell = table.cell(r, c);
      const std::string text = cellText(cell, decimalComma);
      out.write(cell.kind == TableCell::Kind::Text ? out.encoded(columnSafe(text, separator)) : text);
      out.write(field);
    }
    out.endLine();
  }
}

}  // namespace sonvera
