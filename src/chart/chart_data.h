#pragma once
// What the time-history chart draws, prepared without a window: one series
// per column the export would write (in the units the export shows), each
// reduced to the minimum and maximum of every bucket of records so that no
// peak disappears, the spans of records flagged as overloaded or
// underloaded, and the marker records. Records are read in order, many at
// a time, by positioned reads, so memory does not grow with the file.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "export/export_worker.h"

namespace sonvera {

struct ChartPoint {
  double x = 0;  // day number of the record's time, or its record number from 1
  double y = 0;
};

struct ChartSeries {
  std::string name;  // the column's name in the export
  bool level = true;  // in dB; else in the linear unit
  std::vector<ChartPoint> points;  // in record order; at most two per bucket
};

// Records first to last (record numbers from 1) and the x values they span.
struct ChartSpan {
  std::uint32_t firstRecord = 0;
  std::uint32_t lastRecord = 0;
  double from = 0;
  double to = 0;
};

struct ChartMarker {
  std::uint32_t record = 0;  // from 1
  double x = 0;
};

struct ChartData {
  bool timeAxis = true;  // x are day numbers; false: record numbers (the file has no valid times)
  std::vector<ChartSeries> series;
  std::vector<ChartSpan> overloads;
  std::vector<ChartSpan> underloads;
  std::vector<ChartMarker> markers;
  double firstX = 0, lastX = 0;  // of the first and last record read
  double step = 0;               // the mean x distance of neighbouring records
  std::uint32_t recordsRead = 0;
  bool stopped = false;
};

// The chart of the job's range and items (its settings' range, linear-units
// option and items; the rest of the settings does not matter). `buckets` is
// the most points pairs a series keeps. Progress in whole percent, then -1.
ChartData prepareChart(const ExportJob& job, std::uint32_t buckets, const std::atomic<bool>& stop,
                       const ExportProgress& progress);

}  // namespace sonvera
