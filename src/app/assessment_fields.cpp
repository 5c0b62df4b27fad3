#include "app/assessment_fields.h"

#include <cmath>
#include <string>

namespace sonvera {
namespace {

SummaryValue number(double v) { return std::isfinite(v) ? SummaryValue(v) : SummaryValue(nullptr); }
SummaryValue count(std::uint64_t n) { return static_cast<std::int64_t>(n); }
SummaryValue stamp(double ms) { return timeOfMilliseconds(ms); }

SummaryFields intervalFields(const IntervalRow& row, SummaryValue start, const AssessmentSettings& s) {
  SummaryFields percentiles;
  for (std::size_t p = 0; p < s.percentileCount(); ++p)
    percentiles.push_back({std::to_string(s.percentiles[p]), number(row.percentiles[p])});
  return {{"start", std::move(start)},
          {"records", count(row.levels.count)},
          {"excluded", count(row.excluded)},
          {"coverage", row.coverage},
          {"leq", number(row.levels.leq())},
          {"max", number(row.levels.max())},
          {"min", number(row.levels.min())},
          {"percentiles", SummaryObject{std::move(percentiles)}},
          {"events", count(row.events)}};
}

SummaryFields dayFields(const DayRow& row, bool withDate) {
  SummaryFields fields;
  if (withDate) fields.push_back({"date", timeOfMilliseconds(double(row.date)).format("%Y-%m-%d")});
  fields.insert(fields.end(), {{"lday", number(row.lday)},
                               {"levening", number(row.levening)},
                               {"lnight", number(row.lnight)},
                               {"lden", number(row.lden)},
                               {"ldn", number(row.ldn)},
                               {"coverage", SummaryObject{{{"day", row.coverage[0]},
                                                           {"evening", row.coverage[1]},
                                                           {"night", row.coverage[2]}}}}});
  return fields;
}

}  // namespace

SummaryFields assessmentFields(const AssessmentResult& r) {
  std::vector<SummaryFields> intervals, days, events;
  for (const IntervalRow& row : r.intervals) intervals.push_back(intervalFields(row, stamp(double(row.start)), r.settings));
  for (const DayRow& row : r.days) days.push_back(dayFields(row, true));
  for (const NoiseEvent& e : r.events)
    events.push_back({{"start", stamp(double(e.start))},
                      {"end", stamp(e.end)},
                      {"duration", e.durationSeconds},
                      {"lmax", number(e.lmax)},
                      {"lmaxTime", stamp(double(e.lmaxTime))},
                      {"leq", number(e.leq)},
                      {"le", number(e.le)}});
  const SummaryValue wholeStart = r.intervals.empty() ? SummaryValue(nullptr) : stamp(double(r.intervals.front().start));
  return {{"column", r.column},
          {"step", r.stepSeconds},
          {"excluded", count(r.notUsed())},
          {"intervals", std::move(intervals)},
          {"whole", SummaryObject{intervalFields(r.whole, wholeStart, r.settings)}},
          {"days", std::move(days)},
          {"wholeDays", SummaryObject{dayFields(r.wholeDays, false)}},
          {"events", std::move(events)}};
}

}  // namespace sonvera
