#pragma once
// The assessment as the tables a user reads, saves and copies: intervals,
// assessment days and events, each with a last row over the whole range
// where it has one, and the parameters with the counts. Cells are made as
// they are read, so the longest table costs nothing until it is shown.

#include <string>

#include "assessment/noise_assessment.h"
#include "export/cell_table.h"

namespace sonvera {

// The text of the rows over the whole range.
inline constexpr const char* kWholeRangeRow = "весь диапазон";

// Decimals of levels and percentages in the tables (workbooks keep every digit).
inline constexpr int kLevelDecimals = 1;

class IntervalTableView final : public CellTable {
 public:
  explicit IntervalTableView(const AssessmentResult& result) : r_(result) {}
  std::string name() const override { return "Интервалы"; }
  std::size_t columnCount() const override;
  std::size_t rowCount() const override { return r_.intervals.size() + 1; }
  std::string header(std::size_t column) const override;
  TableCell cell(std::size_t row, std::size_t column) const override;

 private:
  const AssessmentResult& r_;
};

class DayTableView final : public CellTable {
 public:
  explicit DayTableView(const AssessmentResult& result) : r_(result) {}
  std::string name() const override { return "Сутки"; }
  std::size_t columnCount() const override { return 9; }
  std::size_t rowCount() const override { return r_.days.size() + 1; }
  std::string header(std::size_t column) const override;
  TableCell cell(std::size_t row, std::size_t column) const override;

 private:
  const AssessmentResult& r_;
};

class EventTableView final : public CellTable {
 public:
  explicit EventTableView(const AssessmentResult& result) : r_(result) {}
  std::string name() const override { return "События"; }
  std::size_t columnCount() const override { return 8; }
  std::size_t rowCount() const override { return r_.events.size(); }
  std::string header(std::size_t column) const override;
  TableCell cell(std::size_t row, std::size_t column) const override;

 private:
  const AssessmentResult& r_;
};

// What was assessed beside the result itself.
struct AssessmentSource {
  std::string path;        // the measurement file
  std::string instrument;  // the model's name as the summary shows it
};

// "Параметры": what was assessed, how, and the counts, one per row.
class ParameterTableView final : public CellTable {
 public:
  ParameterTableView(const AssessmentResult& result, AssessmentSource source) { rebuild(result, std::move(source)); }
  // The rows of another result.
  void rebuild(const AssessmentResult& result, AssessmentSource source);
  std::string name() const override { return "Параметры"; }
  std::size_t columnCount() const override { return 2; }
  std::size_t rowCount() const override { return rows_.size(); }
  std::string header(std::size_t column) const override { return column == 0 ? "Параметр" : "Значение"; }
  TableCell cell(std::size_t row, std::size_t column) const override;

 private:
  std::vector<std::pair<std::string, TableCell>> rows_;
};

// Which records the rule leaves out, as the tables and the command line say it.
std::string exclusionText(const AssessmentSettings& settings);

// Decimals that show a duration of whole steps exactly (at most 3).
int durationDecimals(double stepSeconds);

}  // namespace sonvera
