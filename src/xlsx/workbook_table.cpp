#include "xlsx/workbook_table.h"

#include <xlsxwriter.h>

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "xlsx/number_formats.h"

namespace sonvera {
namespace {

constexpr const char* kDataSheet = "Данные";
constexpr const char* kInformationSheet = "Информация";

// A value's text as the number it shows and the decimals it shows them with.
struct ShownNumber {
  double value = 0;
  int decimals = 0;
  bool engineering = false;
};

std::optional<ShownNumber> shownNumber(std::string_view text) {
  ShownNumber n;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, n.value);
  // "inf" and "nan" stay texts: a workbook has no such numbers.
  if (error != std::errc() || stop != end || !std::isfinite(n.value)) return std::nullopt;
  const auto dot = text.find('.');
  const auto exponent = text.find_first_of("eE");
  n.engineering = exponent != std::string_view::npos;
  const auto mantissaEnd = n.engineering ? exponent : text.size();
  if (dot != std::string_view::npos && dot < mantissaEnd) n.decimals = static_cast<int>(mantissaEnd - dot - 1);
  return n;
}

class WorkbookTable final : public ResultTable {
 public:
  explicit WorkbookTable(std::uint32_t rowsPerSheet) : rowsPerSheet_(rowsPerSheet < 2 ? 2 : rowsPerSheet) {}
  ~WorkbookTable() override { close(); }

  bool create(const std::string& path, TextEncoding) override {
    close();
    path_ = path;
    ok_ = false;
    // The library writes the file only when it closes: find out now whether it can be made.
    platform::WriteOnlyFile probe;
    if (!probe.create(path) || !probe.close()) return false;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    book_ = workbook_new_opt(path.c_str(), &options);
    if (book_ == nullptr) return false;
    numbers_.reset(book_);
    date_ = workbook_add_format(book_);
    format_set_num_format(date_, "dd/mm/yy");
    time_ = workbook_add_format(book_);
    format_set_num_format(time_, "hh:mm:ss");
    whole_ = workbook_add_format(book_);
    format_set_num_format(whole_, "0");
    sheets_ = 0;
    headers_.clear();
    information_.clear();
    ok_ = addSheet();
    return ok_;
  }
  bool isOpen() const override { return book_ != nullptr; }
  const std::string& path() const override { return path_; }

  void header(const ResultFormatOptions& options, std::span<const std::string> columnNames) override {
    if (options.recordNumber) headers_.push_back("N");
    if (options.dateTime) {
      headers_.emplace_back(result_text::kDate);
      headers_.emplace_back(result_text::kTime);
    }
    for (const std::string& name : columnNames) headers_.push_back(options.shortNames ? shortName(name) : name);
    writeHeader();
  }

  void linePrefix(const ResultFormatOptions& options, std::uint32_t recordNumber, const RecordTime& time) override {
    if (row_ >= rowsPerSheet_ && !addSheet()) return;  // the sheet is full: the part goes on in a new one
    column_ = 0;
    if (options.recordNumber) check(worksheet_write_number(sheet_, row_, column_++, recordNumber, whole_));
    if (options.dateTime) {
      if (time.valid()) {
        // Day numbers count from 1899-12-30, as spreadsheets do; the parts are the rounded ones the text shows.
        const RecordTime day = RecordTime::fromParts(time.year(), time.month(), time.day(), 0, 0, 0);
        const double clock = (time.hour() * 3600.0 + time.minute() * 60.0 + time.second()) / 86400.0;
        check(worksheet_write_number(sheet_, row_, column_++, day.dayNumber(), date_));
        check(worksheet_write_number(sheet_, row_, column_++, clock, time_));
      } else {
        const std::string invalid = dateText(time);
        check(worksheet_write_string(sheet_, row_, column_++, invalid.c_str(), nullptr));
        check(worksheet_write_string(sheet_, row_, column_++, invalid.c_str(), nullptr));
      }
    }
  }

  void value(const ResultFormatOptions& options, double value, DisplayFormat format, double reference) override {
    const std::string text = formatValue(value, format, options.linearUnits, true, reference);
    const lxw_col_t column = column_++;
    if (text.empty() || !ok_) return;  // no value: an empty cell
    if (const auto n = shownNumber(text))
      check(worksheet_write_number(sheet_, row_, column, n->value, numbers_.of(n->decimals, n->engineering)));
    else
      check(worksheet_write_string(sheet_, row_, column, text.c_str(), nullptr));
  }

  void endLine() override { ++row_; }

  bool holdsInformation() const override { return true; }
  void setInformation(std::string_view text, char separator, bool decimalComma) override {
    information_ = text;
    separator_ = separator;
    decimalComma_ = decimalComma;
  }

  bool ok() const override { return ok_; }

  bool close() override {
    if (book_ == nullptr) return ok_;
    if (!information_.empty()) writeInformation();
    const lxw_error closed = workbook_close(book_);
    book_ = nullptr;
    ok_ = ok_ && closed == LXW_NO_ERROR;
    return ok_;
  }

 private:
  void check(lxw_error error) {
    if (error != LXW_NO_ERROR) ok_ = false;
  }

  bool addSheet() {
    ++sheets_;
    const std::string name = sheets_ == 1 ? kDataSheet : std::string(kDataSheet) + " " + std::to_string(sheets_);
    sheet_ = workbook_add_worksheet(book_, name.c_str());
    if (sheet_ == nullptr) return ok_ = false;
    row_ = 0;
    if (!headers_.empty()) writeHeader();
    return true;
  }

  void writeHeader() {
    for (std::size_t c = 0; c < headers_.size() && c <= LXW_COL_MAX; ++c)
      check(worksheet_write_string(sheet_, 0, static_cast<lxw_col_t>(c), headers_[c].c_str(), nullptr));
    worksheet_freeze_panes(sheet_, 1, 0);
    row_ = 1;
  }

  // The information file's lines, a field a cell; fields that read as numbers become numbers.
  void writeInformation() {
    lxw_worksheet* sheet = workbook_add_worksheet(book_, kInformationSheet);
    if (sheet == nullptr) {
      ok_ = false;
      return;
    }
    lxw_row_t row = 0;
    std::size_t start = 0;
    while (start < information_.size() && row <= LXW_ROW_MAX - 1) {
      std::size_t end = information_.find('\n', start);
      if (end == std::string::npos) end = information_.size();
      std::string_view line(information_.data() + start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lxw_col_t column = 0;
      std::size_t from = 0;
      while (from <= line.size() && column <= LXW_COL_MAX) {
        std::size_t to = line.find(separator_, from);
        if (to == std::string_view::npos) to = line.size();
        std::string field(line.substr(from, to - from));
        if (!field.empty()) {
          std::string number = field;
          if (decimalComma_)
            for (char& ch : number)
              if (ch == ',') ch = '.';
          if (const auto n = shownNumber(number))
            check(worksheet_write_number(sheet, row, column, n->value, numbers_.of(n->decimals, n->engineering)));
          else
            check(worksheet_write_string(sheet, row, column, field.c_str(), nullptr));
        }
        ++column;
        if (to == line.size()) break;
        from = to + 1;
      }
      ++row;
      start = end + 1;
    }
    information_.clear();
  }

  lxw_row_t rowsPerSheet_;
  std::string path_;
  lxw_workbook* book_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  lxw_format* date_ = nullptr;
  lxw_format* time_ = nullptr;
  lxw_format* whole_ = nullptr;
  NumberFormats numbers_;
  std::vector<std::string> headers_;
  lxw_row_t row_ = 0;
  lxw_col_t column_ = 0;
  int sheets_ = 0;
  bool ok_ = false;
  std::string information_;
  char separator_ = ';';
  bool decimalComma_ = false;
};

}  // namespace

std::unique_ptr<ResultTable> makeWorkbookTable(std::uint32_t rowsPerSheet) {
  return std::make_unique<WorkbookTable>(rowsPerSheet);
}

}  // namespace sonvera
