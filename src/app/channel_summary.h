#pragma once
// Each channel of the open file as the summary gives it to scripts
// (`info --json`, the Python module): its name and unit, and its overload and
// underload as numbers rather than the rounded texts of the window.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/file_summary.h"

namespace sonvera {

struct ChannelLoadShare {
  double percent = 0;                       // of all records
  std::optional<std::uint32_t> firstRecord;  // the first flagged, from 1; nothing when none is
};

struct ChannelSummary {
  std::string name;
  std::string unit;
  // Nothing where the records carry no such flag for the channel.
  std::optional<ChannelLoadShare> overload;
  std::optional<ChannelLoadShare> underload;
};

// The channels of `file` as the summary of its open found them.
std::vector<ChannelSummary> channelSummaries(const DeviceCatalogue& catalogue, const MeasurementFile& file,
                                             const FileSummary& summary);

}  // namespace sonvera
