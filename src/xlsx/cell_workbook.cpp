#include "xlsx/cell_workbook.h"

#include <xlsxwriter.h>

#include <algorithm>

#include "platform/platform.h"
#include "xlsx/number_formats.h"

namespace sonvera {

bool writeCellWorkbook(const std::string& path, std::span<const CellTable* const> sheets) {
  // The library writes the file only when it closes: find out now whether it can be made.
  platform::WriteOnlyFile probe;
  if (!probe.create(path) || !probe.close()) return false;
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
  if (book == nullptr) return false;
  NumberFormats numbers;
  numbers.reset(book);
  lxw_format* time = workbook_add_format(book);
  format_set_num_format(time, "yyyy-mm-dd hh:mm:ss");
  lxw_format* date = workbook_add_format(book);
  format_set_num_format(date, "yyyy-mm-dd");
  lxw_format* bold = workbook_add_format(book);
  format_set_bold(bold);

  bool ok = true;
  const auto check = [&](lxw_error e) { ok = ok && e == LXW_NO_ERROR; };
  for (const CellTable* table : sheets) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, table->name().c_str());
    if (sheet == nullptr) {
      ok = false;
      break;
    }
    const auto columns = static_cast<lxw_col_t>(std::min<std::size_t>(table->columnCount(), LXW_COL_MAX));
    for (lxw_col_t c = 0; c < columns; ++c) {
      const std::string header = table->header(c);
      check(worksheet_write_string(sheet, 0, c, header.c_str(), bold));
      // Wide enough for the header (UTF-8 bytes: about two a letter) and a time stamp.
      const bool times = table->rowCount() > 0 && table->cell(0, c).kind == TableCell::Kind::Time;
      const double width = std::max(times ? 20.0 : 10.0, 0.6 * static_cast<double>(header.size()));
      check(worksheet_set_column(sheet, c, c, width, nullptr));
    }
    worksheet_freeze_panes(sheet, 1, 0);
    const std::size_t rows = std::min<std::size_t>(table->rowCount(), LXW_ROW_MAX - 1);
    for (std::size_t r = 0; r < rows && ok; ++r) {
      const auto row = static_cast<lxw_row_t>(r + 1);
      for (lxw_col_t c = 0; c < columns; ++c) {
        const TableCell cell = table->cell(r, c);
        switch (cell.kind) {
          case TableCell::Kind::Empty: break;
          case TableCell::Kind::Text: check(worksheet_write_string(sheet, row, c, cell.text.c_str(), nullptr)); break;
          case TableCell::Kind::Number:
            check(worksheet_write_number(sheet, row, c, cell.number, numbers.of(cell.decimals, false)));
            break;
          case TableCell::Kind::Time: check(worksheet_write_number(sheet, row, c, cell.number, time)); break;
          case TableCell::Kind::Date: check(worksheet_write_number(sheet, row, c, cell.number, date)); break;
        }
      }
    }
  }
  return workbook_close(book) == LXW_NO_ERROR && ok;
}

}  // namespace sonvera
