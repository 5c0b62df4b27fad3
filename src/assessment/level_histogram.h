#pragma once
// Percentile levels by rank, in constant memory: the levels rounded to
// 0.1 dB are counted per class, and LN is the class at rank ceil(N·n/100)
// counted from the highest of the n levels, without interpolation. Levels
// below -200 dB or above 300 dB count in the end classes.

#include <cstdint>
#include <span>
#include <vector>

namespace sonvera {

class LevelHistogram {
 public:
  LevelHistogram();

  void add(double level);
  // Empties only the classes that were used, so a short interval is cheap.
  void clear();
  std::uint64_t count() const { return count_; }

  // LN for each N of `percents` (1 to 99) into `levels`; NaN when empty.
  void percentiles(std::span<const int> percents, std::span<double> levels) const;

  // The class of a level (tenths of a dB, rounded half away from zero).
  static int classOf(double level);

 private:
  static constexpr int kLowest = -2000;  // -200.0 dB
  static constexpr int kHighest = 3000;  // 300.0 dB

  std::vector<std::uint64_t> counts_;
  std::uint64_t count_ = 0;
  int lowUsed_ = kHighest, highUsed_ = kLowest;
};

}  // namespace sonvera
