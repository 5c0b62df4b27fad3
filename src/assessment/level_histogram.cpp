#include "assessment/level_histogram.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sonvera {

LevelHistogram::LevelHistogram() : counts_(static_cast<std::size_t>(kHighest - kLowest + 1), 0) {}

int LevelHistogram::classOf(double level) {
  const double tenths = std::round(level * 10.0);
  if (!(tenths > kLowest)) return kLowest;  // NaN too
  if (tenths > kHighest) return kHighest;
  return static_cast<int>(tenths);
}

void LevelHistogram::add(double level) {
  const int c = classOf(level);
  ++counts_[static_cast<std::size_t>(c - kLowest)];
  ++count_;
  lowUsed_ = std::min(lowUsed_, c);
  highUsed_ = std::max(highUsed_, c);
}

void LevelHistogram::clear() {
  if (count_ > 0)
    std::fill(counts_.begin() + (lowUsed_ - kLowest), counts_.begin() + (highUsed_ - kLowest) + 1, 0);
  count_ = 0;
  lowUsed_ = kHighest;
  highUsed_ = kLowest;
}

void LevelHistogram::percentiles(std::span<const int> percents, std::span<double> levels) const {
  for (std::size_t i = 0; i < percents.size() && i < levels.size(); ++i) {
    levels[i] = std::numeric_limits<double>::quiet_NaN();
    if (count_ == 0 || percents[i] < 1 || percents[i] > 99) continue;
    // Rank from the highest level, in whole numbers: ceil(N·n / 100).
    const std::uint64_t rank = (static_cast<std::uint64_t>(percents[i]) * count_ + 99) / 100;
    std::uint64_t seen = 0;
    for (int c = highUsed_; c >= lowUsed_; --c) {
      seen += counts_[static_cast<std::size_t>(c - kLowest)];
      if (seen >= rank) {
        levels[i] = c / 10.0;
        break;
      }
    }
  }
}

}  // namespace sonvera
