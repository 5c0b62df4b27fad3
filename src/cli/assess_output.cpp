#include "assess_output.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

namespace sonvera::cli {
namespace {

using Json = nlohmann::ordered_json;

// Letters, not bytes: the tables are mostly Cyrillic.
std::size_t width(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

Json number(double v) { return std::isfinite(v) ? Json(v) : Json(nullptr); }
Json stamp(double ms) { return timeOfMilliseconds(ms).format("%Y-%m-%d %H:%M:%S"); }

Json intervalJson(const IntervalRow& row, const Json& start, const AssessmentSettings& s) {
  Json j;
  j["start"] = start;
  j["records"] = row.levels.count;
  j["excluded"] = row.excluded;
  j["coverage"] = row.coverage;
  j["leq"] = number(row.levels.leq());
  j["max"] = number(row.levels.max());
  j["min"] = number(row.levels.min());
  Json percentiles = Json::object();
  for (std::size_t p = 0; p < s.percentileCount(); ++p)
    percentiles[std::to_string(s.percentiles[p])] = number(row.percentiles[p]);
  j["percentiles"] = percentiles;
  j["events"] = row.events;
  return j;
}

Json dayJson(const DayRow& row, const Json* date) {
  Json j;
  if (date) j["date"] = *date;
  j["lday"] = number(row.lday);
  j["levening"] = number(row.levening);
  j["lnight"] = number(row.lnight);
  j["lden"] = number(row.lden);
  j["ldn"] = number(row.ldn);
  j["coverage"] = Json{{"day", row.coverage[0]}, {"evening", row.coverage[1]}, {"night", row.coverage[2]}};
  return j;
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

void printJson(std::ostream& out, const AssessmentResult& r) {
  Json j;
  j["column"] = r.column;
  j["step"] = r.stepSeconds;
  j["excluded"] = r.notUsed();
  Json intervals = Json::array();
  for (const IntervalRow& row : r.intervals) intervals.push_back(intervalJson(row, stamp(double(row.start)), r.settings));
  j["intervals"] = intervals;
  j["whole"] = intervalJson(r.whole, r.intervals.empty() ? Json(nullptr) : stamp(double(r.intervals.front().start)),
                            r.settings);
  Json days = Json::array();
  for (const DayRow& row : r.days) {
    const Json date = timeOfMilliseconds(double(row.date)).format("%Y-%m-%d");
    days.push_back(dayJson(row, &date));
  }
  j["days"] = days;
  j["wholeDays"] = dayJson(r.wholeDays, nullptr);
  Json events = Json::array();
  for (const NoiseEvent& e : r.events)
    events.push_back({{"start", stamp(double(e.start))},
                      {"end", stamp(e.end)},
                      {"duration", e.durationSeconds},
                      {"lmax", number(e.lmax)},
                      {"lmaxTime", stamp(double(e.lmaxTime))},
                      {"leq", number(e.leq)},
                      {"le", number(e.le)}});
  j["events"] = events;
  out << j.dump(2) << "\n";
}

}  // namespace sonvera::cli
