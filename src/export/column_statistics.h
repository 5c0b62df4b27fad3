#pragma once
// Per-column statistics of one data file: minimum, maximum, energy sum and a
// level histogram of 0.5 dB bins, accumulated record by record.

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "export/statistics_settings.h"

namespace sonvera {

constexpr int kLevelBins = 514;

// Bin of a level: 0 below 0 dB, then 0.5 dB bins, 513 from 256 dB on.
int levelBin(double v);

struct ColumnAccumulator {
  std::int64_t count = 0;  // 64 bits: a data file may hold more than 2^31 records
  double minimum = 0;
  double maximum = 0;
  double energySum = 0;
  // Counts of the bins from `firstBin` on, only as far as the values reach
  // (it grows a few times a column, not with every record): a wide export
  // has tens of thousands of columns, mostly of a few bins each, and 514
  // bins for each of them came to hundreds of megabytes.
  std::vector<std::uint32_t> levelCounts;
  int firstBin = 0;
  int lowestBin = 0, highestBin = 0;  // every count lies in between

  // `isLevel`: the value is in dB (format bit 0), `reference` the column's reference.
  void accumulate(double v, bool isLevel, double reference);
  // Values in `bin` so far.
  std::uint32_t binCount(int bin) const {
    const auto i = static_cast<std::size_t>(bin - firstBin);
    return bin >= firstBin && i < levelCounts.size() ? levelCounts[i] : 0;
  }
  // Starts the next data file afresh.
  void reset() { count = 0; }

 private:
  void countBin(int bin);
};

// The figures of one column at the end of a data file.
struct ColumnFigures {
  double minimum = 0;
  double maximum = 0;
  double rms = 0;        // Leq as a linear quantity
  double exposure = 0;   // LE as a linear quantity
  double exceedancePercent = 0;
  std::map<std::int32_t, double> percentileLevels;  // p -> level, ascending p
};

// `durationSeconds` below zero (time stamps going backwards) counts as zero.
ColumnFigures computeFigures(const ColumnAccumulator& column, const StatisticsSettings& settings,
                             double durationSeconds);

// True when any statistic at all is chosen.
bool anyStatisticChosen(const StatisticsSettings& settings);

}  // namespace sonvera
