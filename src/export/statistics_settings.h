#pragma once
// Which statistics an export computes.

#include <array>
#include <cstdint>

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

}  // namespace sonvera
