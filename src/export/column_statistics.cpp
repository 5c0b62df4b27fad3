#include "export/column_statistics.h"

#include <algorithm>
#include <cmath>

namespace sonvera {

int levelBin(double v) {
  const double index = std::floor(2 * v) + 1;
  if (!(index > 0)) return 0;  // negative, and NaN
  if (index > kLevelBins - 1) return kLevelBins - 1;
  return static_cast<int>(index);
}

void ColumnAccumulator::accumulate(double v, bool isLevel, double reference) {
  if (count == 0) {
    energySum = 0;
    minimum = v;
    maximum = v;
    lowestBin = highestBin = firstBin = levelBin(v);
    levelCounts.clear();  // keeps its room for the next data file
  }
  if (v < minimum) minimum = v;
  if (v > maximum) maximum = v;
  energySum += isLevel ? std::pow(10.0, v / 10) * reference * reference : v * v;
  ++count;
  const int bin = levelBin(v);
  lowestBin = std::min(lowestBin, bin);
  highestBin = std::max(highestBin, bin);
  countBin(bin);
}

void ColumnAccumulator::countBin(int bin) {
  if (bin < firstBin) {
    // At least doubled downward, so that a falling level moves the counts a
    // few times only.
    const int grown = std::max(0, std::min(bin, firstBin - static_cast<int>(levelCounts.size())));
    levelCounts.insert(levelCounts.begin(), static_cast<std::size_t>(firstBin - grown), 0);
    firstBin = grown;
  }
  const auto i = static_cast<std::size_t>(bin - firstBin);
  if (i >= levelCounts.size()) levelCounts.resize(i + 1, 0);
  ++levelCounts[i];
}

bool anyStatisticChosen(const StatisticsSettings& s) {
  if (s.minimum || s.maximum || s.leq || s.le || s.exceedance) return true;
  for (const auto p : s.percentiles)
    if (isPercentile(p)) return true;
  return false;
}

ColumnFigures computeFigures(const ColumnAccumulator& c, const StatisticsSettings& s, double durationSeconds) {
  ColumnFigures f;
  f.minimum = c.minimum;
  f.maximum = c.maximum;
  if (c.count <= 0) return f;
  f.rms = std::sqrt(c.energySum / c.count);
  const double root = durationSeconds > 0 ? std::sqrt(durationSeconds) : 0;
  f.exposure = root != 0 ? f.rms * root : f.rms;

  // Only the bins from the lowest to the highest count: a wide export has
  // thousands of columns, mostly of a few bins each.
  const int b = levelBin(s.threshold);
  std::uint64_t above = c.binCount(b) / 2;
  for (int i = std::max(b + 1, c.lowestBin); i <= c.highestBin; ++i) above += c.binCount(i);
  f.exceedancePercent = static_cast<double>(above) / c.count * 100;

  for (const auto p : s.percentiles)
    if (isPercentile(p)) f.percentileLevels[p] = -1;
  // Walk the bins upward; the largest p is set first, at the first bin below whose
  // upper edge more than (100 - p) % of the values lie.
  auto next = f.percentileLevels.rbegin();
  std::uint64_t total = 0;
  for (int i = c.lowestBin; i < kLevelBins && next != f.percentileLevels.rend(); ++i) {
    total += c.binCount(i);
    const double share = static_cast<double>(total) / c.count;
    while (next != f.percentileLevels.rend() && share > 1.0 - next->first / 100.0) {
      next->second = i * 0.5;
      ++next;
    }
  }
  return f;
}

}  // namespace sonvera
