#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "export/column_statistics.h"

namespace sonvera {
namespace {

constexpr double kRef = 2e-5;

StatisticsSettings everything(std::int32_t threshold = 80) {
  StatisticsSettings s{1, 1, 1, 1, 1, {10, 50, 90, 0, 0, 0}, threshold};
  return s;
}

double asLevel(double linear) { return 20 * std::log10(linear / kRef); }

ColumnFigures figuresOf(std::initializer_list<double> levels, double duration = 0,
                        StatisticsSettings s = everything()) {
  ColumnAccumulator c;
  for (const double v : levels) c.accumulate(v, true, kRef);
  return computeFigures(c, s, duration);
}

TEST(ColumnStatistics, OneRecord) {
  const ColumnFigures f = figuresOf({80.3});
  EXPECT_DOUBLE_EQ(f.minimum, 80.3);
  EXPECT_DOUBLE_EQ(f.maximum, 80.3);
  EXPECT_NEAR(asLevel(f.rms), 80.3, 1e-9);
  EXPECT_NEAR(asLevel(f.exposure), 80.3, 1e-9);  // zero duration: LE = Leq
  EXPECT_EQ(f.percentileLevels, (std::map<std::int32_t, double>{{10, 80.5}, {50, 80.5}, {90, 80.5}}));
  EXPECT_EQ(f.exceedancePercent, 0);  // in the threshold's bin: half of 1, rounded down
  EXPECT_EQ(figuresOf({80.3, 80.3}).exceedancePercent, 50);
}

TEST(ColumnStatistics, EnergyAverageAndExposure) {
  const ColumnFigures f = figuresOf({60, 70}, 100);
  EXPECT_NEAR(asLevel(f.rms), 67.4036, 1e-4);
  EXPECT_NEAR(asLevel(f.exposure), 67.4036 + 20, 1e-4);
  // Time going backwards gives no exposure time.
  EXPECT_DOUBLE_EQ(figuresOf({60, 70}, -5).exposure, f.rms);
  ColumnAccumulator linear;
  for (const double v : {3.0, -4.0}) linear.accumulate(v, false, kRef);
  EXPECT_DOUBLE_EQ(computeFigures(linear, everything(), 0).rms, std::sqrt(12.5));
}

TEST(ColumnStatistics, HistogramEdgesAndPercentiles) {
  EXPECT_EQ(levelBin(-0.1), 0);
  EXPECT_EQ(levelBin(0), 1);
  EXPECT_EQ(levelBin(0.49), 1);
  EXPECT_EQ(levelBin(0.5), 2);
  EXPECT_EQ(levelBin(255.9), 512);
  EXPECT_EQ(levelBin(256), 513);
  EXPECT_EQ(levelBin(std::nan("")), 0);
  EXPECT_EQ(figuresOf({300}).percentileLevels.at(50), 256.5);

  // Eleven values 50..60, rising and falling: L90 is exceeded by about 90 %
  // of them, L10 by about 10 %.
  for (const bool rising : {true, false}) {
    ColumnAccumulator c;
    for (int i = 0; i <= 10; ++i) c.accumulate(rising ? 50 + i : 60 - i, true, kRef);
    StatisticsSettings s = everything(55);
    s.percentiles = {50, 50, 90, 10, 0, 0};
    const ColumnFigures f = computeFigures(c, s, 9);
    EXPECT_EQ(f.percentileLevels, (std::map<std::int32_t, double>{{10, 59.5}, {50, 55.5}, {90, 51.5}}));
    EXPECT_DOUBLE_EQ(f.exceedancePercent, 5.0 / 11 * 100);  // 56..60; 55 in the threshold's bin counts half of 1
  }

  // Levels in the first, a middle and the last bin, in either order: two of
  // five below 0 dB, one at 80 dB, two beyond 256 dB.
  for (const auto& levels : {std::vector<double>{80, 300, -5, -5, 300}, std::vector<double>{-5, 300, 300, 80, -5}}) {
    ColumnAccumulator c;
    for (const double v : levels) c.accumulate(v, true, kRef);
    const ColumnFigures f = computeFigures(c, everything(80), 0);
    EXPECT_EQ(f.percentileLevels, (std::map<std::int32_t, double>{{10, 256.5}, {50, 80.5}, {90, 0}}));
    EXPECT_DOUBLE_EQ(f.exceedancePercent, 40);  // the two beyond; 80 dB counts half of 1, rounded down
  }
}

TEST(ColumnStatistics, ResetStartsTheNextFileAfresh) {
  ColumnAccumulator c;
  c.accumulate(90, true, kRef);
  c.reset();
  c.accumulate(40, true, kRef);
  const ColumnFigures f = computeFigures(c, everything(20), 0);
  EXPECT_EQ(f.maximum, 40);
  EXPECT_EQ(f.percentileLevels.at(10), 40.5);
  EXPECT_EQ(f.exceedancePercent, 100);
  EXPECT_FALSE(anyStatisticChosen(StatisticsSettings{}));
  StatisticsSettings only;
  only.percentiles[5] = 99;
  EXPECT_TRUE(anyStatisticChosen(only));
}

TEST(ColumnStatistics, AFileOfMoreThanTwoBillionRecordsKeepsCounting) {
  ColumnAccumulator c;
  c.accumulate(70, true, kRef);
  c.count = 2147483647;  // as after that many values of 70 dB
  c.levelCounts[static_cast<std::size_t>(levelBin(70) - c.firstBin)] = 2147483647u;
  c.energySum *= 2147483647.0;
  c.accumulate(70, true, kRef);
  EXPECT_GT(c.count, 0);
  const ColumnFigures f = computeFigures(c, everything(), 0);
  EXPECT_NEAR(asLevel(f.rms), 70, 1e-6);
  EXPECT_EQ(f.percentileLevels.at(50), 70.5);
}

}  // namespace
}  // namespace sonvera
