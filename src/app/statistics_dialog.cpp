#include "app/statistics_dialog.h"

#include <set>

#include "app/number_text.h"

namespace sonvera {

StatisticsForm formFor(const StatisticsSettings& s) {
  StatisticsForm f;
  for (std::size_t i = 0; i < 6; ++i)
    if (isPercentile(s.percentiles[i])) f.percentileTexts[i] = std::to_string(s.percentiles[i]);
  f.thresholdText = std::to_string(s.threshold);
  f.minimum = s.minimum != 0;
  f.maximum = s.maximum != 0;
  f.leq = s.leq != 0;
  f.le = s.le != 0;
  f.exceedance = s.exceedance != 0;
  return f;
}

StatisticsFormResult acceptForm(const StatisticsForm& f) {
  StatisticsFormResult result;
  StatisticsSettings s;
  const SignedScan threshold = scanSignedField(trimmed(f.thresholdText));
  const bool valid = threshold.scanned && threshold.whole && threshold.value >= 1 && threshold.value <= 255;
  if (!valid && f.exceedance) {
    result.error = StringId::BadThreshold;
    return result;
  }
  s.threshold = threshold.scanned ? threshold.value : 75;

  std::set<std::int32_t> chosen;
  for (const auto& raw : f.percentileTexts) {
    const std::string text = trimmed(raw);
    if (text.empty()) continue;
    const SignedScan p = scanSignedField(text);
    if (!p.scanned || !p.whole || !isPercentile(p.value)) {
      result.error = StringId::BadPercentile;
      return result;
    }
    chosen.insert(p.value);
  }
  std::size_t slot = 0;
  for (const auto p : chosen) s.percentiles[slot++] = p;

  s.minimum = f.minimum;
  s.maximum = f.maximum;
  s.leq = f.leq;
  s.le = f.le;
  s.exceedance = f.exceedance;
  result.settings = s;
  return result;
}

std::string statisticsSummary(const StatisticsSettings& s) {
  std::string text;
  const auto add = [&text](const std::string& part) {
    if (!text.empty()) text += ", ";
    text += part;
  };
  for (const auto p : s.percentiles)
    if (isPercentile(p)) add("L" + std::to_string(p));
  if (s.minimum) add("min");
  if (s.maximum) add("max");
  if (s.leq) add("Leq");
  if (s.le) add("LE");
  if (s.exceedance) add("n" + std::to_string(s.threshold));
  return text;
}

}  // namespace sonvera
