#pragma once
// The option texts of `sonvera-cli export` turned into what the dialog holds.
// Numbers are kept as typed: the dialog checks them with its own messages.

#include <optional>
#include <string>
#include <string_view>

#include "app/statistics_dialog.h"

namespace sonvera::cli {

struct SplitOption {
  std::string count;  // as typed
  bool byRecords = false;
};
// "N{min|rec}", e.g. "60min", "1000rec".
std::optional<SplitOption> parseSplit(std::string_view text);

struct DecimationOption {
  std::string count;
  bool byRecords = false;
  bool average = false;
  bool maximum = false;
};
// "N{sec|rec}[:avg|:max]", e.g. "10sec:avg".
std::optional<DecimationOption> parseDecimation(std::string_view text);

// "semicolon", "tab", "space" -> 0, 1, 2.
std::optional<int> parseSeparator(std::string_view text);

// "min,max,leq,le,n75,L10,L50,L90" as the statistics dialog's texts and boxes
// (up to six percentiles); nothing for an unknown word.
std::optional<StatisticsForm> parseStatistics(std::string_view text);

}  // namespace sonvera::cli
