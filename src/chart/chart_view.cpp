#include "chart/chart_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/printf_text.h"
#include "measurement/record_time.h"

namespace sonvera {

AxisRange wholeRange(const ChartData& chart) {
  double low = std::numeric_limits<double>::infinity(), high = -low;
  for (const ChartSeries& s : chart.series)
    if (!s.points.empty()) {
      low = std::min(low, s.points.front().x);
      high = std::max(high, s.points.back().x);
    }
  for (const ChartMarker& m : chart.markers) low = std::min(low, m.x), high = std::max(high, m.x);
  if (chart.lastX > chart.firstX) low = std::min(low, chart.firstX), high = std::max(high, chart.lastX);
  if (!std::isfinite(low)) return {0, 1};
  if (high <= low) return {low - 0.5 * (chart.timeAxis ? 1.0 / 86400 : 1.0), low + 0.5 * (chart.timeAxis ? 1.0 / 86400 : 1.0)};
  // The last record lasts a step too: a day of records spans the whole day.
  return {low, high + chart.step};
}

namespace {

AxisRange inside(AxisRange r, AxisRange whole) {
  const double width = std::min(r.width(), whole.width());
  if (r.from < whole.from) r = {whole.from, whole.from + width};
  if (r.to > whole.to) r = {whole.to - width, whole.to};
  return r;
}

}  // namespace

AxisRange zoomedRange(AxisRange shown, double factor, double centre, AxisRange whole, bool timeAxis) {
  const double narrowest = std::min(whole.width(), timeAxis ? 1.0 / 86400 : 2.0);
  const double width = std::clamp(shown.width() * factor, narrowest, whole.width());
  const double share = shown.width() > 0 ? (centre - shown.from) / shown.width() : 0.5;
  return inside({centre - share * width, centre - share * width + width}, whole);
}

AxisRange pannedRange(AxisRange shown, double delta, AxisRange whole) {
  return inside({shown.from + delta, shown.to + delta}, whole);
}

std::string readoutText(const ChartData& chart, double x) {
  std::string text = chart.timeAxis ? RecordTime::fromDayNumber(x).format("%d/%m/%y %H:%M:%S")
                                    : printfText("Запись %.0f", std::round(x));
  for (const ChartSeries& s : chart.series) {
    if (s.points.empty()) continue;
    const auto after = std::lower_bound(s.points.begin(), s.points.end(), x,
                                        [](const ChartPoint& p, double v) { return p.x < v; });
    auto nearest = after == s.points.end() ? std::prev(after) : after;
    if (after != s.points.begin() && after != s.points.end() && x - std::prev(after)->x < after->x - x)
      nearest = std::prev(after);
    text += printfText("   %s: %.4g", s.name.c_str(), nearest->y);
  }
  return text;
}

}  // namespace sonvera
