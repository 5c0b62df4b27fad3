#include "export/cell_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "export/ansi_text.h"
#include "measurement/record_time.h"

namespace sonvera {
namespace {

TEST(CellTable, CellTexts) {
  const double day = RecordTime::fromParts(2026, 5, 14, 7, 0, 5).dayNumber();
  struct Case {
    TableCell cell;
    bool comma;
    std::string text;
  };
  const Case cases[] = {
      {TableCell::of(55.249, 1), false, "55.2"},
      {TableCell::of(55.25, 1), true, "55,2"},  // the binary value lies just below 55.25
      {TableCell::of(-0.04, 1), false, "0.0"},   // no "-0.0"
      {TableCell::of(-3.5, 0), false, "-4"},
      {TableCell::of(86400, 0), true, "86400"},
      {TableCell::of(std::numeric_limits<double>::quiet_NaN(), 1), false, ""},
      {TableCell::of(std::numeric_limits<double>::infinity(), 1), false, ""},
      {TableCell::of(std::string("весь диапазон")), true, "весь диапазон"},
      {TableCell::time(day), false, "2026-05-14 07:00:05"},
      {TableCell::date(day), true, "2026-05-14"},
      {TableCell::empty(), true, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(cellText(c.cell, c.comma), c.text) << c.text;
}

class TwoByTwo final : public CellTable {
 public:
  std::string name() const override { return "t"; }
  std::size_t columnCount() const override { return 2; }
  std::size_t rowCount() const override { return 2; }
  std::string header(std::size_t c) const override { return c == 0 ? "Начало" : "Leq;\nдБ"; }
  TableCell cell(std::size_t r, std::size_t c) const override {
    if (c == 0) return r == 0 ? TableCell::of(std::string("a;b")) : TableCell::empty();
    return TableCell::of(40.25 + static_cast<double>(r), 2);
  }
};

// The export's field rule: every field followed by the separator; names keep
// to their field; texts in the file's encoding.
TEST(CellTable, WrittenAsDelimitedText) {
  ResultWriter out;
  out.createInMemory();
  writeCellTable(out, TwoByTwo{}, ';', true);
  EXPECT_EQ(out.takeText(), "Начало;Leq  дБ;\r\na b;40,25;\r\n;41,25;\r\n");
}

}  // namespace
}  // namespace sonvera
