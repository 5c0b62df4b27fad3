// The noise assessment of one level column over a year of one-second records
// (31 536 000, simulated with the record encoder), beside the export of the
// same single column, in one run; and the assessment's peak memory over a
// tenth of the year and over all of it, which must be the same. The file
// (about 500 MB) is written once into the build folder and kept there.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "assessment/noise_assessment.h"
#include "bench_memory.h"
#include "export/export_worker.h"
#include "measurement/measurement_file.h"
#include "samples/measurement_writer.h"
#include "support/measurement_catalogue.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;

constexpr std::uint16_t kType = 61;
constexpr std::uint32_t kRecords = 365u * 86400u;
constexpr ParameterCode kLevel = 0x01300000;  // broadband level, channel 0: 1/256 dB in 16 bits
constexpr ParameterCode kOverload = 0x40130000;
constexpr ParameterCode kStamp = 0x50070000;

// Type, model, serial, stamp, overload flag and one level: 16 bytes a record.
DeviceDescription yearLayout() {
  DeviceDescription d = test::describe({0x201B0000, 0x201C0000, 0x50040000, kStamp, kOverload, kLevel});
  d.formats[5] = 0x00DF;
  d.defaultReference = 2e-5;
  return d;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct YearFile {
  DeviceCatalogue catalogue;
  MeasurementFile file;
  std::string path = std::string(SONVERA_BUILD_DIR) + "/bench-data/year-one-second.bin";
  std::string error;

  YearFile() {
    test::addType(catalogue, kType, yearLayout());
    catalogue.bandNames = {"A"};
    const DeviceDescription d = yearLayout();
    std::error_code ignored;
    if (fs::file_size(path, ignored) != std::uintmax_t{kRecords} * d.recordSize && !write(d)) {
      error = "cannot write " + path;
      return;
    }
    if (openMeasurementFile(catalogue, path, file) != OpenResult::Opened || file.recordCount != kRecords)
      error = "cannot open " + path;
  }

  // Levels of a street by the hour of day with a loud passage now and then,
  // an overload every few hours.
  bool write(const DeviceDescription& d) const {
    fs::create_directories(fs::path(path).parent_path());
    RecordEncoder e(d);
    e.setRaw(0x201B0000, kType);
    e.setRaw(0x201C0000, 1);
    e.setRaw(0x50040000, 0x30001);
    const std::vector<std::uint8_t> pattern = e.encode();
    const std::int32_t stampAt = codeOffset(d, kStamp), levelAt = codeOffset(d, kLevel), overAt = codeOffset(d, kOverload);
    const std::uint32_t firstDay = stamp32(2025, 1, 1, 0, 0, 0) >> 17;
    const std::string partial = path + ".part";
    std::FILE* out = std::fopen(partial.c_str(), "wb");
    if (!out || stampAt < 0 || levelAt < 0 || overAt < 0) {
      if (out) std::fclose(out);
      return false;
    }
    std::vector<std::uint8_t> block;
    block.reserve(std::size_t{d.recordSize} * 86400);
    bool ok = true;
    for (std::uint32_t day = 0; day < 365 && ok; ++day) {
      block.clear();
      for (std::uint32_t s = 0; s < 86400; ++s) {
        const std::size_t at = block.size();
        block.insert(block.end(), pattern.begin(), pattern.end());
        std::uint8_t* r = block.data() + at;
        const std::uint32_t stamp = (firstDay + day) << 17 | (s / 3600) << 12 | (s / 60 % 60) << 6 | (s % 60);
        for (int k = 0; k < 4; ++k) r[stampAt + k] = static_cast<std::uint8_t>(stamp >> (8 * k));
        const std::uint32_t i = day * 86400 + s;
        const double hour = s / 3600.0;
        double level = 45 + 15 * (hour > 6 && hour < 22) + (i * 2654435761u >> 28);  // 45..75 dB
        if (i % 613 < 4) level += 20;                                               // a passage
        const auto raw = static_cast<std::uint16_t>(level * 256);
        r[levelAt] = static_cast<std::uint8_t>(raw), r[levelAt + 1] = static_cast<std::uint8_t>(raw >> 8);
        r[overAt] = i % 10007 == 0 ? 1 : 0;
      }
      ok = std::fwrite(block.data(), 1, block.size(), out) == block.size();
    }
    ok = std::fclose(out) == 0 && ok;
    std::error_code renamed;
    fs::rename(partial, path, renamed);
    return ok && !renamed;
  }
};

YearFile& year() {
  static YearFile file;
  return file;
}

// Events above 85 dB: the loud passages of the day, some 20 000 in the year.
AssessmentSettings benchSettings() {
  AssessmentSettings s;
  s.threshold = 85;
  return s;
}

ExportJob oneColumnJob(const YearFile& y, std::uint32_t records) {
  ExportJob job;
  takeOpenFile(job, y.file);
  job.catalogue = &y.catalogue;
  job.items = {{2, 0, 0, -1}};
  job.settings.firstRecord = 0;
  job.settings.lastRecord = records - 1;
  job.settings.resultBase = "/tmp/sonvera_assessment_bench_" + std::to_string(::getpid());
  job.settings.resultExtension = ".csv";
  return job;
}

void BM_YearOneColumnExport(benchmark::State& state) {
  YearFile& y = year();
  if (!y.error.empty()) return state.SkipWithError(y.error.c_str());
  const ExportJob job = oneColumnJob(y, kRecords);
  const std::atomic<bool> stop{false};
  ExportOutcome outcome;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    outcome = runExport(job, stop, {});
    seconds += secondsSince(start);
  }
  std::remove((job.settings.resultBase + job.settings.resultExtension).c_str());
  if (outcome.result != ExportResult::Completed) return state.SkipWithError("the export failed");
  state.counters["seconds"] = seconds / static_cast<double>(state.iterations());
  state.SetItemsProcessed(static_cast<std::int64_t>(kRecords) * state.iterations());
}
BENCHMARK(BM_YearOneColumnExport)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_YearAssessment(benchmark::State& state) {
  YearFile& y = year();
  if (!y.error.empty()) return state.SkipWithError(y.error.c_str());
  const ExportJob job = oneColumnJob(y, kRecords);
  const std::atomic<bool> stop{false};
  AssessmentResult result;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    result = assessNoise(job, benchSettings(), stop, {});
    seconds += secondsSince(start);
  }
  if (!result.succeeded() || result.used + result.excluded != kRecords) return state.SkipWithError("the assessment failed");
  state.counters["seconds"] = seconds / static_cast<double>(state.iterations());
  state.counters["intervals"] = static_cast<double>(result.intervals.size());
  state.counters["events"] = static_cast<double>(result.eventCount);
  state.counters["lden"] = result.wholeDays.lden;
  state.SetItemsProcessed(static_cast<std::int64_t>(kRecords) * state.iterations());
}
BENCHMARK(BM_YearAssessment)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The assessment's peak memory over the first N records, without events (a
// threshold nothing reaches) and with the passages as events: the same for a
// tenth of the year and for all of it, but for the result's rows and events.
void BM_AssessmentPeakMemory(benchmark::State& state) {
  YearFile& y = year();
  if (!y.error.empty()) return state.SkipWithError(y.error.c_str());
  const auto records = static_cast<std::uint32_t>(state.range(0));
  const ExportJob job = oneColumnJob(y, records);
  const std::atomic<bool> stop{false};
  bench::resetPeak();
  const double before = bench::peakMegabytes();
  std::size_t rows = 0, events = 0;
  double resultMegabytes = 0;
  for (auto _ : state) {
    AssessmentSettings settings = benchSettings();
    if (state.range(1) == 0) settings.threshold = 300;
    const AssessmentResult r = assessNoise(job, settings, stop, {});
    rows = r.intervals.size();
    events = r.events.size();
    // What the result itself holds: its rows and the event list (with the room the list grew into).
    resultMegabytes = static_cast<double>(r.intervals.size() * sizeof(IntervalRow) + r.days.size() * sizeof(DayRow) +
                                          r.events.capacity() * sizeof(NoiseEvent)) / (1024.0 * 1024.0);
  }
  state.counters["peak_MB"] = bench::peakMegabytes();
  state.counters["peak_growth_MB"] = bench::peakMegabytes() - before;
  state.counters["intervals"] = static_cast<double>(rows);
  state.counters["events"] = static_cast<double>(events);
  state.counters["result_MB"] = resultMegabytes;
  state.counters["peak_besides_result_MB"] = bench::peakMegabytes() - resultMegabytes;
  state.SetItemsProcessed(static_cast<std::int64_t>(records) * state.iterations());
}
BENCHMARK(BM_AssessmentPeakMemory)
    ->Args({kRecords / 10, 0})
    ->Args({kRecords, 0})
    ->Args({kRecords / 10, 1})
    ->Args({kRecords, 1})
    ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace sonvera
