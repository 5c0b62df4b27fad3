#pragma once
// Number formats of a workbook by the decimals a text shows, plain ("0.00")
// or engineering ("##0.0E+0"), made once per workbook as they are first needed.

#include <xlsxwriter.h>

#include <array>
#include <string>

namespace sonvera {

class NumberFormats {
 public:
  void reset(lxw_workbook* book) {
    book_ = book;
    formats_.fill(nullptr);
  }
  lxw_format* of(int decimals, bool engineering) {
    decimals = decimals < 0 ? 0 : decimals > 15 ? 15 : decimals;
    lxw_format*& f = formats_[static_cast<std::size_t>(decimals + (engineering ? 16 : 0))];
    if (f == nullptr) {
      std::string pattern = engineering ? "##0" : "0";
      if (decimals > 0) pattern += "." + std::string(static_cast<std::size_t>(decimals), '0');
      if (engineering) pattern += "E+0";
      f = workbook_add_format(book_);
      format_set_num_format(f, pattern.c_str());
    }
    return f;
  }

 private:
  lxw_workbook* book_ = nullptr;
  std::array<lxw_format*, 32> formats_{};
};

}  // namespace sonvera
