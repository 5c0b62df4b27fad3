#include "app/assessment_form.h"

#include <algorithm>
#include <cmath>

#include "app/number_text.h"

namespace sonvera {
namespace {

// Decibels well past anything a meter shows, so a typing slip is caught.
constexpr double kLowestLevel = -100, kHighestLevel = 300;
constexpr double kMostPenalty = 50;
constexpr double kMostSeconds = 86400;

std::string numberText(double v) {
  std::string text = std::to_string(v);
  text.erase(text.find_last_not_of('0') + 1);
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

}  // namespace

AssessmentForm assessmentFormFor(const StatisticsSettings& statistics) {
  AssessmentForm form;
  form.threshold = numberText(statistics.threshold);
  return form;
}

std::optional<std::size_t> intervalChoice(std::uint32_t minutes) {
  const auto it = std::find(kIntervalMinutes.begin(), kIntervalMinutes.end(), minutes);
  if (it == kIntervalMinutes.end()) return std::nullopt;
  return static_cast<std::size_t>(it - kIntervalMinutes.begin());
}

AssessmentFormResult readAssessmentForm(const AssessmentForm& form, const StatisticsSettings& statistics,
                                        std::optional<double> summaryStepSeconds) {
  AssessmentFormResult result;
  AssessmentSettings s;
  s.intervalMinutes = kIntervalMinutes[std::min(form.interval, kIntervalMinutes.size() - 1)];

  std::array<int, 3> hours{};
  for (std::size_t i = 0; i < 3; ++i) {
    const auto h = readDecimalField(form.periodStarts[i]);
    if (!h || *h != std::floor(*h) || *h < 0 || *h > 23) return {std::nullopt, StringId::BadPeriodHours};
    hours[i] = static_cast<int>(*h);
  }
  if (!periodHours(hours[0], hours[1], hours[2])) return {std::nullopt, StringId::BadPeriodHours};
  s.dayStart = hours[0], s.eveningStart = hours[1], s.nightStart = hours[2];

  std::array<double, 3> penalties{};
  for (std::size_t i = 0; i < 3; ++i) {
    const auto p = readDecimalField(form.penalties[i]);
    if (!p || std::fabs(*p) > kMostPenalty) return {std::nullopt, StringId::BadPenalties};
    penalties[i] = *p;
  }
  s.dayPenalty = penalties[0], s.eveningPenalty = penalties[1], s.nightPenalty = penalties[2];

  const auto threshold = readDecimalField(form.threshold);
  if (!threshold || *threshold < kLowestLevel || *threshold > kHighestLevel) return {std::nullopt, StringId::BadThreshold};
  s.threshold = *threshold;
  const auto gap = readDecimalField(form.gap);
  if (!gap || *gap < 0 || *gap > kMostSeconds) return {std::nullopt, StringId::BadEventGap};
  s.gapSeconds = *gap;
  const auto shortest = readDecimalField(form.minimumDuration);
  if (!shortest || *shortest < 0 || *shortest > kMostSeconds) return {std::nullopt, StringId::BadMinimumDuration};
  s.minDurationSeconds = *shortest;

  s.excludeOverload = form.exclusion == ExclusionChoice::Overload || form.exclusion == ExclusionChoice::Both;
  s.excludeUnderload = form.exclusion == ExclusionChoice::Underload || form.exclusion == ExclusionChoice::Both;

  // The statistics keep their percentiles ascending and distinct.
  std::array<int, kMostPercentiles> chosen{};
  std::size_t n = 0;
  for (const std::int32_t p : statistics.percentiles) {
    if (!isPercentile(p) || std::find(chosen.begin(), chosen.begin() + n, p) != chosen.begin() + n) continue;
    std::size_t at = n++;
    for (; at > 0 && chosen[at - 1] > p; --at) chosen[at] = chosen[at - 1];
    chosen[at] = p;
  }
  if (n > 0) s.percentiles = chosen;
  s.summaryStepSeconds = summaryStepSeconds;
  result.settings = s;
  return result;
}

}  // namespace sonvera
