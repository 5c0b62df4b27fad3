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
  // kLevelBins counts from the first value on; empty until then, so that the
  // many columns of an export without statistics stay small.
  std::vector<std::uint32_t> levelHistogram;
  int lowestBin = 0, highestBin = 0;  // every count lies in between

  // `isLevel`: the value is in dB (format bit 0), `reference` the column's reference.
  void accumulate(double v, bool isLevel, double reference);
  // Starts the next data file afresh.
  void reset() { count = 0; }
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
