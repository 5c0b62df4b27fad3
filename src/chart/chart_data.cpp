#include "chart/chart_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "export/export_columns.h"
#include "export/format_value.h"
#include "measurement/measurement_file.h"
#include "measurement/record_decoder.h"

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

  // The worker's own decoding state; the columns read from it.
  RecordValues values = job.values;
  ChannelTables channels = job.channels;
  const DeviceDescription& description = job.description;
  std::vector<ExportColumn> columns =
      buildExportColumns(*job.catalogue, job.typeCode, description, values, channels, job.items, ';');
  chart.series.resize(columns.size());
  for (std::size_t c = 0; c < columns.size(); ++c) {
    chart.series[c].name = columns[c].name;
    chart.series[c].level = displaysLevel(columns[c].format, job.settings.linearUnits);
  }
  std::vector<Extremes> extremes(columns.size());

  const std::uint64_t total = std::uint64_t{job.settings.lastRecord} - job.settings.firstRecord + 1;
  const std::uint64_t perBucket = buckets == 0 ? total : (total + buckets - 1) / buckets;
  const bool linear = job.settings.linearUnits;
  const std::int32_t channelCount = std::min<std::int32_t>(description.channelCount, kChannelSlots);
  std::vector<std::uint8_t> record(description.recordSize, 0);
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
    readRecord(*job.file, job.dataOffset, description.recordSize, static_cast<std::uint32_t>(u), record);
    decodeIfSameType(record, channels, values, description);
    const RecordTime t = recordTime(values);
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
        const double y = displayedValue(*columns[c].value, columns[c].format, linear, columns[c].reference);
        if (std::isfinite(y)) extremes[c].add({x, y}, number);
      }
      bool over = false, under = false;
      for (std::int32_t ch = 0; ch < channelCount; ++ch) {
        over = over || channels[static_cast<std::size_t>(ch)].overloadFlag != 0;
        under = under || channels[static_cast<std::size_t>(ch)].underloadFlag != 0;
      }
      overloads.add(over, number, x);
      underloads.add(under, number, x);
      if (values.markerFlag != 0) chart.markers.push_back({number, x});
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
