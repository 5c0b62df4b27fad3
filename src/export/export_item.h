#pragma once
// What an export unloads: one parameter of one value group, for one band or all
// bands, on one channel or all channels; and the lists of them per device type.

#include <cstdint>
#include <map>
#include <vector>

namespace sonvera {

struct ExportItem {
  std::int32_t group = 0;      // 0-2 banded groups, 3+ extra tables
  std::int32_t parameter = 0;  // counted from the group's first carried parameter
  std::int32_t band = -1;      // -1: all bands
  std::int32_t channel = -1;   // -1: all channels
  bool operator==(const ExportItem&) const = default;
};

// Device type (the file's 16-bit type code) -> its list, in ascending type order.
using ExportLists = std::map<std::uint16_t, std::vector<ExportItem>>;

}  // namespace sonvera
