#pragma once
// What the chart window does with its x axis and read-out, without a window:
// the whole range, zooming about a point, panning, and the text under the cursor.

#include <string>

#include "chart/chart_data.h"

namespace sonvera {

struct AxisRange {
  double from = 0;
  double to = 1;
  double width() const { return to - from; }
};

// The x values the chart's data cover, the last record's step included (a
// second or a record wide around a single point).
AxisRange wholeRange(const ChartData& chart);

// `shown` scaled by `factor` (below 1 zooms in) about `centre`, which stays at
// its place; kept inside `whole` and never narrower than a second (or than
// two records).
AxisRange zoomedRange(AxisRange shown, double factor, double centre, AxisRange whole, bool timeAxis);

// `shown` moved by `delta`, kept inside `whole`.
AxisRange pannedRange(AxisRange shown, double delta, AxisRange whole);

// "14/05/26 10:00:00  Общ,Leq,A: 55.2  ..." : the time (or "Запись N") at x
// and each series' value at the point nearest to x.
std::string readoutText(const ChartData& chart, double x);

}  // namespace sonvera
