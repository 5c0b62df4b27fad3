#pragma once
// Which statistics an export computes, and the checks of the statistics dialog.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/strings.h"

namespace sonvera {

struct StatisticsSettings {
  std::int32_t minimum = 0;
  std::int32_t maximum = 0;
  std::int32_t leq = 0;
  std::int32_t le = 0;
  std::int32_t exceedance = 0;
  std::array<std::int32_t, 6> percentiles{0, 0, 0, 0, 0, 0};  // 1..99 chosen, other values empty
  std::int32_t threshold = 75;                                 // dB

  bool operator==(const StatisticsSettings&) const = default;
};

constexpr bool isPercentile(std::int32_t slot) { return slot >= 1 && slot <= 99; }

// The texts and boxes of the statistics dialog.
struct StatisticsForm {
  std::array<std::string, 6> percentileTexts;
  std::string thresholdText;
  bool minimum = false, maximum = false, leq = false, le = false, exceedance = false;
};

// The dialog as it opens on `settings`.
StatisticsForm formFor(const StatisticsSettings& settings);

// OK of the dialog: the accepted settings, or the message that keeps it open.
struct StatisticsFormResult {
  std::optional<StatisticsSettings> settings;
  StringId error = StringId::BadThreshold;
};
StatisticsFormResult acceptForm(const StatisticsForm& form);

// The short text of the main dialog, e.g. "L10, L50, L90, min, n75".
std::string statisticsSummary(const StatisticsSettings& settings);

}  // namespace sonvera
