#include "app/assessment_chart.h"

#include <algorithm>
#include <cmath>

namespace sonvera {
namespace {

double dayOf(double ms) { return ms / 86400000.0; }

}  // namespace

AssessmentChart assessmentChart(const AssessmentResult& r, std::size_t mostSteps, std::size_t mostMarks) {
  AssessmentChart chart;
  if (r.intervals.empty()) return chart;
  const double intervalMs = r.settings.intervalMinutes * 60000.0;
  chart.from = dayOf(static_cast<double>(r.intervals.front().start));
  chart.to = dayOf(static_cast<double>(r.intervals.back().start) + intervalMs);
  const std::size_t per = std::max<std::size_t>(1, (r.intervals.size() + mostSteps - 1) / std::max<std::size_t>(mostSteps, 1));
  chart.intervalsPerStep = per;

  // Linear days are day numbers from 1899-12-30 on, where every record lies that a chart is drawn for.
  std::vector<ChartPoint>* piece = nullptr;
  for (std::size_t i = 0; i < r.intervals.size(); i += per) {
    EnergySum energy;
    std::uint64_t count = 0;
    const std::size_t end = std::min(r.intervals.size(), i + per);
    for (std::size_t k = i; k < end; ++k) {
      energy.add(r.intervals[k].levels.energy);
      count += r.intervals[k].levels.count;
    }
    if (count == 0) {
      piece = nullptr;
      continue;
    }
    if (piece == nullptr) piece = &chart.leqSteps.emplace_back();
    const double leq = levelOf(energy, count);
    piece->push_back({dayOf(static_cast<double>(r.intervals[i].start)), leq});
    piece->push_back({dayOf(static_cast<double>(r.intervals[end - 1].start) + intervalMs), leq});
  }

  const auto hours = periodHours(r.settings.dayStart, r.settings.eveningStart, r.settings.nightStart);
  if (hours && r.days.size() <= mostMarks) {
    for (const DayRow& day : r.days) {
      const double start = dayOf(static_cast<double>(day.date)) + r.settings.dayStart / 24.0;
      const double evening = start + hours->eveningOffset / 24.0, night = start + hours->nightOffset / 24.0;
      const auto clipped = [&](double a, double b) { return TimeSpanX{std::max(a, chart.from), std::min(b, chart.to)}; };
      if (evening < night && night > chart.from && evening < chart.to) chart.evenings.push_back(clipped(evening, night));
      if (night < chart.to && start + 1 > chart.from) chart.nights.push_back(clipped(night, start + 1));
    }
  }
  for (std::size_t e = 0; e < r.events.size() && e < mostMarks; ++e)
    chart.events.push_back({dayOf(static_cast<double>(r.events[e].lmaxTime)), r.events[e].lmax});
  return chart;
}

}  // namespace sonvera
