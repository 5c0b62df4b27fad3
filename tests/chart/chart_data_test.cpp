#include "chart/chart_data.h"
#include "chart/chart_view.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>

#include "cli/cli_run.h"
#include "measurement/measurement_file.h"
#include "platform/platform.h"
#include "support/allocation_counter.h"
#include "support/summary_files.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

using test::SummaryRecord;

// A two-channel file opened as the dialog opens it, and the job of the chart.
struct ChartFile {
  explicit ChartFile(const std::vector<SummaryRecord>& records)
      : catalogue(test::summaryCatalogue(2)), bytes(test::summaryFileBytes(2, records)), temp(bytes) {
    EXPECT_EQ(openMeasurementFile(catalogue, temp.path(), file), OpenResult::Opened);
  }
  ExportJob job(bool linear = false) const {
    ExportJob j;
    takeOpenFile(j, file);
    j.catalogue = &catalogue;
    j.items = {{2, 0, 0, -1}};  // the level of both channels
    j.settings.firstRecord = 0;
    j.settings.lastRecord = file.recordCount - 1;
    j.settings.linearUnits = linear;
    return j;
  }
  DeviceCatalogue catalogue;
  std::vector<std::uint8_t> bytes;
  test::TempFile temp;
  MeasurementFile file;
};

ChartData chartOf(const ExportJob& job, std::uint32_t buckets) {
  const std::atomic<bool> stop{false};
  return prepareChart(job, buckets, stop, {});
}

bool hasPoint(const ChartSeries& s, double y) {
  for (const ChartPoint& p : s.points)
    if (std::fabs(p.y - y) < 1e-9) return true;
  return false;
}

TEST(ChartData, BucketsKeepEveryPeakAndDip) {
  std::vector<SummaryRecord> records = test::steadyRecords(10000, 1);
  for (std::size_t i = 0; i < records.size(); ++i) records[i].level = 50 + static_cast<double>(i % 7) * 0.1;
  const std::vector<std::pair<std::size_t, double>> peaks{{3, 99}, {4, 10}, {5000, 97.5}, {5001, 12}, {9999, 95}};
  for (const auto& [at, level] : peaks) records[at].level = level;
  const ChartFile f(records);
  const ChartData chart = chartOf(f.job(), 100);
  ASSERT_EQ(chart.series.size(), 2u);
  EXPECT_TRUE(chart.timeAxis);
  EXPECT_EQ(chart.recordsRead, 10000u);
  for (const ChartSeries& s : chart.series) {
    EXPECT_LE(s.points.size(), 200u);
    for (std::size_t i = 1; i < s.points.size(); ++i) EXPECT_LE(s.points[i - 1].x, s.points[i].x);
  }
  for (const auto& [at, level] : peaks) {
    EXPECT_TRUE(hasPoint(chart.series[0], level)) << at;
    EXPECT_TRUE(hasPoint(chart.series[1], level + 1)) << at;  // channel 1 is one dB up
  }
  // The first bucket's peak comes before its dip.
  EXPECT_EQ(chart.series[0].points[0].x, records[3].time.dayNumber());
  EXPECT_EQ(chart.series[0].points[1].x, records[4].time.dayNumber());
}

// The same column exported and charted gives the same numbers, in dB and linear.
TEST(ChartData, ValuesAreTheExportedValues) {
  std::vector<SummaryRecord> records = test::steadyRecords(50, 1);
  for (std::size_t i = 0; i < records.size(); ++i) records[i].level = 40 + static_cast<double>(i) * 0.37;
  const ChartFile f(records);
  platform::writeWholeFile(f.temp.path() + ".cat", writeCatalogue(test::summaryCatalogueSource(2), 15));
  for (const bool linear : {false, true}) {
    const ChartData chart = chartOf(f.job(linear), 1000);  // a bucket per record: every value kept
    const std::string result = f.temp.path() + (linear ? "-lin.csv" : "-db.csv");
    std::vector<std::string> args{"--catalogue", f.temp.path() + ".cat", "export", f.temp.path(), "-o", result, "--all"};
    if (linear) args.push_back("--linear");
    ASSERT_EQ(test::runCli(args).code, 0);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::readWholeFile(result, bytes));
    std::remove(result.c_str());
    const std::string text(bytes.begin(), bytes.end());
    std::size_t line = text.find('\n') + 1;
    for (std::size_t r = 0; r < records.size(); ++r) {
      const std::string first = text.substr(line, text.find(';', line) - line);
      const double exported = std::stod(first);
      const double decimals = static_cast<double>(first.size() - first.find_first_of(".") - 1);
      const std::size_t e = first.find('E');
      const double charted = chart.series[0].points.at(r).y;
      if (e == std::string::npos)
        EXPECT_NEAR(charted, exported, 0.5 * std::pow(10.0, -decimals)) << r;
      else
        EXPECT_NEAR(charted / exported, 1.0, 1e-3) << r;
      line = text.find('\n', line) + 1;
    }
  }
  std::remove((f.temp.path() + ".cat").c_str());
}

TEST(ChartData, LoadSpansAndMarkersAtTheirTimes) {
  std::vector<SummaryRecord> records = test::steadyRecords(100, 60);
  for (int i : {10, 11, 12, 40}) records[static_cast<std::size_t>(i)].overload = {0, 1};  // channel 1 only
  for (int i : {70, 71}) records[static_cast<std::size_t>(i)].underload = {1, 0};
  for (int i : {5, 99}) records[static_cast<std::size_t>(i)].marker = 1;
  const ChartFile f(records);
  const ChartData chart = chartOf(f.job(), 10);
  ASSERT_EQ(chart.overloads.size(), 2u);
  EXPECT_EQ(chart.overloads[0].firstRecord, 11u);
  EXPECT_EQ(chart.overloads[0].lastRecord, 13u);
  EXPECT_EQ(chart.overloads[0].from, records[10].time.dayNumber());
  EXPECT_EQ(chart.overloads[0].to, records[12].time.dayNumber());
  EXPECT_EQ(chart.overloads[1].firstRecord, 41u);
  ASSERT_EQ(chart.underloads.size(), 1u);
  EXPECT_EQ(chart.underloads[0].lastRecord, 72u);
  ASSERT_EQ(chart.markers.size(), 2u);
  EXPECT_EQ(chart.markers[0].record, 6u);
  EXPECT_EQ(chart.markers[1].x, records[99].time.dayNumber());

}

// Stopped from another thread, the chart ends early; reading a long range
// allocates nothing per record.
TEST(ChartData, StopsOnRequestAndAllocatesNothingPerRecord) {
  const ChartFile f(test::steadyRecords(200000, 1));
  std::atomic<bool> stop{false};
  std::vector<int> progress;
  const ChartData stopped = prepareChart(f.job(), 100, stop, [&](std::int32_t p) {
    progress.push_back(p);
    if (p == 10) stop = true;
  });
  EXPECT_TRUE(stopped.stopped);
  EXPECT_LT(stopped.recordsRead, 200000u);
  EXPECT_EQ(progress.back(), -1);

  const ExportJob job = f.job();
  stop = false;
  EXPECT_TRUE(test::allocatesNothingPerRecord([&](std::uint32_t last) {
    ExportJob j = job;
    j.settings.lastRecord = last;
    const ChartData chart = prepareChart(j, 100, stop, {});
  }));
}

}  // namespace
}  // namespace sonvera

namespace sonvera {
namespace {

TEST(ChartView, ZoomPanAndReadout) {
  ChartData chart;
  chart.series.push_back({"Общ,Leq,A", true, {{100.0, 50}, {100.5, 70}, {101.0, 60}}});
  const AxisRange whole = wholeRange(chart);
  EXPECT_EQ(whole.from, 100.0);
  EXPECT_EQ(whole.to, 101.0);
  // The point under the cursor stays where it is.
  const AxisRange in = zoomedRange(whole, 0.5, 100.25, whole, true);
  EXPECT_DOUBLE_EQ(in.width(), 0.5);
  EXPECT_DOUBLE_EQ((100.25 - in.from) / in.width(), 0.25);
  // Never wider than the whole, never narrower than a second, never outside.
  EXPECT_DOUBLE_EQ(zoomedRange(in, 10, 100.9, whole, true).width(), 1.0);
  EXPECT_NEAR(zoomedRange(whole, 1e-9, 100.5, whole, true).width(), 1.0 / 86400, 1e-12);
  const AxisRange right = pannedRange(in, 5, whole);
  EXPECT_EQ(right.to, 101.0);
  EXPECT_DOUBLE_EQ(right.width(), 0.5);
  EXPECT_EQ(pannedRange(in, -5, whole).from, 100.0);
  // The read-out takes the nearest point.
  const std::string text = readoutText(chart, 100.4);
  EXPECT_NE(text.find("Общ,Leq,A: 70"), std::string::npos) << text;
  chart.timeAxis = false;
  EXPECT_EQ(readoutText(chart, 100.9).substr(0, 16), "Запись 101");
}

}  // namespace
}  // namespace sonvera
