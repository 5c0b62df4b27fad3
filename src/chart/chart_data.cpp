#include "chart/chart_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "export/format_value.h"
#include "export/record_walk.h"

namespace sonvera {
namespace {

// The lowest and highest value of a bucket, in the order they came.
struct Extremes {
  ChartPoint low{0, std::numeric_limits<double>::infinity()};
  ChartPoint high{0, -std::numeric_limits<double>::infinity()};
  std::uint32_t lowAt = 0, highAt = 0;
  bool any = false;

  void add(const ChartPoint& p, std::uint32_t at) {
    if (p.y < low.y) low = p, lowAt = at;
    if (p.y > high.y) high = p, highAt = at;
    any = true;
  }
  void flushInto(std::vector<ChartPoint>& points) {
    if (!any) return;
    if (lowAt == highAt) {
      points.push_back(low);
    } else if (lowAt < highAt) {
      points.push_back(low);
      points.push_back(high);
    } else {
      points.push_back(high);
      points.push_back(low);
    }
    *this = Extremes{};
  }
};

// Spans of consecutive flagged records.
class SpanCollector {
 public:
  explicit SpanCollector(std::vector<ChartSpan>& out) : out_(out) {}
  void add(bool flagged, std::uint32_t record, double x) {
    if (flagged) {
      if (!open_) out_.push_back({record, record, x, x});
      out_.back().lastRecord = record;
      out_.back().to = x;
    }
    open_ = flagged;
  }

 private:
  std::vector<ChartSpan>& out_;
  bool open_ = false;
};

}  // namespace

ChartData prepareChart(const ExportJob& job, std::uint32_t buckets, const std::atomic<bool>& stop,
                       const ExportProgress& progress) {
  ChartData chart;
  const auto finish = [&] {
    if (progress) progress(-1);
    return chart;
  };
  if (job.catalogue == nullptr || job.file == nullptr || job.settings.lastRecord < job.settings.firstRecord)
    return finish();

  // The walk's own decoding state; the columns read from it.
  RecordWalk walk(job);
  const std::vector<ExportColumn>& columns = walk.columns();
  chart.series.resize(columns.size());
  for (std::size_t c = 0; c < columns.size(); ++c) {
    chart.series[c].name = columns[c].name;
    chart.series[c].level = displaysLevel(columns[c].format, job.settings.linearUnits);
  }
  std::vector<Extremes> extremes(columns.size());

  const std::uint64_t total = std::uint64_t{job.settings.lastRecord} - job.settings.firstRecord + 1;
  const std::uint64_t perBucket = buckets == 0 ? total : (total + buckets - 1) / buckets;
  SpanCollector overloads(chart.overloads), underloads(chart.underloads);
  std::uint32_t lastProgress = 0;

  // The axis is decided by the first record: times where it has one.
  bool firstSeen = false;
  double firstX = std::numeric_limits<double>::quiet_NaN(), lastX = firstX;
  for (std::uint64_t u = job.settings.firstRecord; u <= job.settings.lastRecord; ++u) {
    if (stop.load()) {
      chart.stopped = true;
      break;
    }
    walk.next();
    const RecordTime t = walk.time();
    if (!firstSeen) {
      chart.timeAxis = t.valid();
      firstSeen = true;
    }
    const auto number = static_cast<std::uint32_t>(u + 1);
    const double x = chart.timeAxis ? (t.valid() ? t.dayNumber() : std::numeric_limits<double>::quiet_NaN())
                                    : static_cast<double>(number);
    if (!std::isnan(x)) {
      if (std::isnan(firstX)) firstX = x;
      lastX = x;
      for (std::size_t c = 0; c < columns.size(); ++c) {
        const double y = walk.value(c);
        if (std::isfinite(y)) extremes[c].add({x, y}, number);
      }
      overloads.add(walk.overload(), number, x);
      underloads.add(walk.underload(), number, x);
      if (walk.marker()) chart.markers.push_back({number, x});
    }
    ++chart.recordsRead;
    if (chart.recordsRead % perBucket == 0)
      for (std::size_t c = 0; c < columns.size(); ++c) extremes[c].flushInto(chart.series[c].points);

    const auto p = static_cast<std::uint32_t>(static_cast<double>(chart.recordsRead) * 100.0 / static_cast<double>(total));
    if (p != lastProgress && progress) progress(static_cast<std::int32_t>(p));
    lastProgress = p;
  }
  for (std::size_t c = 0; c < columns.size(); ++c) extremes[c].flushInto(chart.series[c].points);
  if (!std::isnan(firstX)) chart.firstX = firstX, chart.lastX = lastX;
  if (chart.recordsRead > 1 && lastX > firstX) chart.step = (lastX - firstX) / (chart.recordsRead - 1);
  return finish();
}

}  // namespace sonvera
