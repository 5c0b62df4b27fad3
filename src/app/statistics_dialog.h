#pragma once
// The statistics dialog: its texts, the checks of its OK button, and the short
// summary the main dialog shows.

#include <array>
#include <optional>
#include <string>

#include "app/strings.h"
#include "export/statistics_settings.h"

namespace sonvera {

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
