#include "assess_output.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "app/assessment_fields.h"
#include "json_fields.h"

namespace sonvera::cli {
namespace {

// Letters, not bytes: the tables are mostly Cyrillic.
std::size_t width(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

void printTable(std::ostream& out, const CellTable& table) {
  const std::size_t columns = table.columnCount(), rows = table.rowCount();
  std::vector<std::size_t> widths(columns, 0);
  for (std::size_t c = 0; c < columns; ++c) {
    widths[c] = width(table.header(c));
    for (std::size_t r = 0; r < rows; ++r) widths[c] = std::max(widths[c], width(cellText(table.cell(r, c), false)));
  }
  const auto line = [&](auto textOf) {
    std::string text;
    for (std::size_t c = 0; c < columns; ++c) {
      const std::string cell = textOf(c);
      const std::string pad(widths[c] - width(cell), ' ');
      // Texts to the left, numbers and times to the right.
      text += c == 0 ? cell + pad : "  " + pad + cell;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    out << text << "\n";
  };
  out << table.name() << "\n";
  line([&](std::size_t c) { return table.header(c); });
  for (std::size_t r = 0; r < rows; ++r) line([&](std::size_t c) { return cellText(table.cell(r, c), false); });
}

void printJson(std::ostream& out, const AssessmentResult& r) { out << jsonOf(assessmentFields(r)).dump(2) << "\n"; }

}  // namespace sonvera::cli
