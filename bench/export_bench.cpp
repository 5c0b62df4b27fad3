// End-to-end export of a million records of a sound level meter layout (about
// 150 values a record, 14 columns written with number, date and time, and
// statistics), against plain reading of the same file and writing of as many
// bytes as the export wrote. The file is generated once per process in /tmp.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <time.h>
#include <unistd.h>

#include "chart/chart_data.h"
#include "export/export_columns.h"
#include "export/export_worker.h"
#ifdef SONVERA_HAS_WORKBOOKS
#include "xlsx/workbook_table.h"
#endif
#include "bench_memory.h"
#include "bench_records.h"
#include "export_floor.h"
#include "measurement/measurement_file.h"
#include "samples/measurement_writer.h"
#include "samples/sample_layouts.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;

constexpr std::uint16_t kType = 21;
constexpr std::uint32_t kRecords = 1000000;
constexpr int kPatterns = 64;

std::string tmpPath(const std::string& what) {
  return "/tmp/sonvera_export_bench_" + std::to_string(::getpid()) + "_" + what;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// CPU seconds of the calling thread: steadier than the clock on a busy machine.
double threadSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// A few distinct records; the stamp and the sequence number are set per record.
std::vector<std::vector<std::uint8_t>> patterns(const DeviceDescription& d) {
  std::vector<std::vector<std::uint8_t>> records;
  for (int i = 0; i < kPatterns; ++i) {
    records.push_back(bench::soundLevelRecord(d, kType, i).encode());
  }
  return records;
}

void put32(std::uint8_t* p, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) p[k] = static_cast<std::uint8_t>(v >> (8 * k));
}

struct SampleFile {
  DeviceCatalogue catalogue;
  MeasurementFile file;
  std::string path = tmpPath("source.bin");
  std::string error;

  SampleFile() {
    const DeviceDescription d = soundLevelMeterDescription();
    catalogue.descriptions[kType] = d;
    catalogue.bandNames = {"Lin"};
    if (!write(d)) {
      error = "cannot write " + path;
      return;
    }
    if (openMeasurementFile(catalogue, path, file) != OpenResult::Opened || file.recordCount != kRecords)
      error = "cannot open " + path;
  }
  ~SampleFile() {
    file.handle.close();
    std::remove(path.c_str());
  }

  bool write(const DeviceDescription& d) const {
    const auto records = patterns(d);
    const std::int32_t stampAt = codeOffset(d, 0x50070000);
    const std::int32_t sequenceAt = codeOffset(d, 0x20250000);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out || stampAt < 0 || sequenceAt < 0) {
      if (out) std::fclose(out);
      return false;
    }
    std::vector<std::uint8_t> record;
    bool ok = true;
    for (std::uint32_t i = 0; i < kRecords && ok; ++i) {
      record = records[i % kPatterns];
      const int s = static_cast<int>(i);
      put32(record.data() + stampAt, stamp32(2024, 5, 1 + s / 86400, s / 3600 % 24, s / 60 % 60, s % 60));
      record[static_cast<std::size_t>(sequenceAt)] = static_cast<std::uint8_t>(i);
      record[static_cast<std::size_t>(sequenceAt) + 1] = static_cast<std::uint8_t>(i >> 8);
      ok = std::fwrite(record.data(), 1, record.size(), out) == record.size();
    }
    return std::fclose(out) == 0 && ok;
  }
};

SampleFile& sample() {
  static SampleFile file;
  return file;
}

ExportJob exportJob(const SampleFile& s) {
  ExportJob job;
  takeOpenFile(job, s.file);
  job.catalogue = &s.catalogue;
  // Broadband Leq in its 3 weightings, octave Leq in 10 bands, one third-octave band.
  job.items = {{2, 0, -1, -1}, {1, 0, -1, -1}, {0, 0, 20, -1}};
  job.settings.writeRecordNumber = true;
  job.settings.writeDateTime = true;
  job.settings.saveSourceInfo = true;
  job.settings.firstRecord = 0;
  job.settings.lastRecord = s.file.recordCount - 1;
  job.settings.resultBase = tmpPath("result");
  job.settings.resultExtension = ".csv";
  job.statistics.leq = 1;
  job.statistics.percentiles = {10, 50, 90, 0, 0, 0};
  return job;
}

// Reading the source in large blocks and writing `bytes` in blocks: the floor
// that any export of the file stands on.
double plainReadAndWrite(const SampleFile& s, std::uintmax_t bytes) {
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::uint8_t> block(1 << 20);
  std::uint64_t offset = 0, sum = 0;
  while (std::size_t n = s.file.handle.readAt(offset, block.data(), block.size())) {
    sum += block[n - 1];
    offset += n;
  }
  benchmark::DoNotOptimize(sum);
  const std::string path = tmpPath("plain.csv");
  if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
    std::vector<char> text(1 << 16, '7');
    for (std::uintmax_t left = bytes; left > 0;) {
      const std::size_t n = static_cast<std::size_t>(std::min<std::uintmax_t>(left, text.size()));
      if (std::fwrite(text.data(), 1, n, out) != n) break;
      left -= n;
    }
    std::fclose(out);
  }
  const double seconds = secondsSince(start);
  std::remove(path.c_str());
  return seconds;
}

void BM_ExportMillionRecords(benchmark::State& state) {
  SampleFile& s = sample();
  if (!s.error.empty()) {
    state.SkipWithError(s.error.c_str());
    return;
  }
  const ExportJob job = exportJob(s);
  const std::atomic<bool> stop{false};
  const ExportProgress none;
  double exportSeconds = 0;
  ExportOutcome outcome;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    outcome = runExport(job, stop, none);
    exportSeconds += secondsSince(start);
  }
  const std::string data = job.settings.resultBase + job.settings.resultExtension;
  const std::string info = job.settings.resultBase + ".info";
  std::error_code ignored;
  const std::uintmax_t written = fs::file_size(data, ignored) + fs::file_size(info, ignored);
  std::remove(data.c_str());
  std::remove(info.c_str());
  if (outcome.result != ExportResult::Completed) {
    state.SkipWithError("the export failed");
    return;
  }
  const double perRun = exportSeconds / static_cast<double>(state.iterations());
  const double plain = plainReadAndWrite(s, written);
  state.counters["records_per_second"] = static_cast<double>(kRecords) / perRun;
  state.counters["ratio_to_plain_io"] = perRun / plain;
  state.counters["plain_io_seconds"] = plain;
  state.counters["record_bytes"] = s.file.description.recordSize;
  state.counters["output_MB"] = static_cast<double>(written) / 1e6;
  state.SetItemsProcessed(static_cast<std::int64_t>(kRecords) * state.iterations());
}
// One run takes seconds; more would only repeat the same pass.
BENCHMARK(BM_ExportMillionRecords)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

std::string readText(const std::string& path) {
  std::string text;
  if (std::FILE* in = std::fopen(path.c_str(), "rb")) {
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, n);
    std::fclose(in);
  }
  return text;
}

// Every value of the record (147 levels in 9 entries) with number, date and
// time: the export against its floor, the same columns formatted by a
// converter for this layout alone, in the same run. The floor's lines must be
// the export's lines, byte for byte.
void BM_ExportAllValuesAgainstFloor(benchmark::State& state) {
  SampleFile& s = sample();
  if (!s.error.empty()) return state.SkipWithError(s.error.c_str());
  ExportJob job = exportJob(s);
  job.items.clear();
  for (std::int32_t g = 0; g < 3; ++g)
    for (std::int32_t p = 0; p < 3; ++p) job.items.push_back({g, p, -1, -1});
  job.settings.saveSourceInfo = false;
  job.statistics = {};
  const std::vector<ExportColumn> columns = buildExportColumns(s.catalogue, job.typeCode, job.description, job.values,
                                                               job.channels, job.items, ';');
  const std::vector<bench::FloorColumn> floor = bench::floorColumns(job.description, job.channels, columns);
  const std::int32_t stampAt = codeOffset(job.description, 0x50070000);
  if (floor.empty() || stampAt < 0) return state.SkipWithError("the floor cannot read these columns");
  const std::atomic<bool> stop{false};
  double exportSeconds = 0;
  ExportOutcome outcome;
  double exportCpu = threadSeconds();
  bench::resetPeak();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    outcome = runExport(job, stop, {});
    exportSeconds += secondsSince(start);
  }
  exportCpu = threadSeconds() - exportCpu;
  const double peak = bench::peakMegabytes();
  const std::string exported = job.settings.resultBase + job.settings.resultExtension;
  const std::string floorPath = tmpPath("floor.csv");
  double floorCpu = threadSeconds();
  const bench::FloorRun run = bench::runFloor(s.file, 0, s.file.recordCount - 1,
                                              static_cast<std::size_t>(stampAt), floor, floorPath);
  floorCpu = threadSeconds() - floorCpu;
  const std::string exportText = readText(exported), floorText = readText(floorPath);
  std::remove(exported.c_str());
  std::remove(floorPath.c_str());
  if (outcome.result != ExportResult::Completed) return state.SkipWithError("the export failed");
  const std::size_t header = exportText.find('\n') + 1;
  if (exportText.compare(header, std::string::npos, floorText) != 0)
    return state.SkipWithError("the floor wrote other lines than the export");
  const double perRun = exportSeconds / static_cast<double>(state.iterations());
  state.counters["columns"] = static_cast<double>(columns.size());
  state.counters["export_seconds"] = perRun;
  state.counters["floor_seconds"] = run.seconds;
  state.counters["ratio_to_floor"] = perRun / run.seconds;
  state.counters["export_cpu_seconds"] = exportCpu / static_cast<double>(state.iterations());
  state.counters["floor_cpu_seconds"] = floorCpu;
  state.counters["cpu_ratio_to_floor"] = exportCpu / static_cast<double>(state.iterations()) / floorCpu;
  state.counters["output_MB"] = static_cast<double>(run.bytes) / 1e6;
  state.counters["peak_MB"] = peak;
  state.SetItemsProcessed(static_cast<std::int64_t>(kRecords) * state.iterations());
}
BENCHMARK(BM_ExportAllValuesAgainstFloor)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// One broadband column of the million records: the chart's preparation
// beside the export of the same column (without number, time or statistics).
ExportJob oneColumnJob(const SampleFile& s) {
  ExportJob job = exportJob(s);
  job.items = {{2, 0, 0, -1}};
  job.settings.writeRecordNumber = job.settings.writeDateTime = job.settings.saveSourceInfo = false;
  job.statistics = {};
  return job;
}

void BM_OneColumnExport(benchmark::State& state) {
  SampleFile& s = sample();
  if (!s.error.empty()) return state.SkipWithError(s.error.c_str());
  const ExportJob job = oneColumnJob(s);
  const std::atomic<bool> stop{false};
  ExportOutcome outcome;
  for (auto _ : state) outcome = runExport(job, stop, {});
  std::remove((job.settings.resultBase + job.settings.resultExtension).c_str());
  if (outcome.result != ExportResult::Completed) state.SkipWithError("the export failed");
  state.SetItemsProcessed(static_cast<std::int64_t>(kRecords) * state.iterations());
}
BENCHMARK(BM_OneColumnExport)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OneColumnChart(benchmark::State& state) {
  SampleFile& s = sample();
  if (!s.error.empty()) return state.SkipWithError(s.error.c_str());
  const ExportJob job = oneColumnJob(s);
  const std::atomic<bool> stop{false};
  std::size_t points = 0;
  for (auto _ : state) points = prepareChart(job, 2000, stop, {}).series.at(0).points.size();
  state.counters["points"] = static_cast<double>(points);
  state.SetItemsProcessed(static_cast<std::int64_t>(kRecords) * state.iterations());
}
BENCHMARK(BM_OneColumnChart)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

#ifdef SONVERA_HAS_WORKBOOKS
// The same export into a workbook, over the first N records: its time beside
// the text export's, and a peak memory that must not grow with N.
void BM_ExportToWorkbook(benchmark::State& state) {
  SampleFile& s = sample();
  if (!s.error.empty()) {
    state.SkipWithError(s.error.c_str());
    return;
  }
  ExportJob job = exportJob(s);
  const auto records = static_cast<std::uint32_t>(state.range(0));
  job.settings.lastRecord = records - 1;
  job.settings.resultExtension = ".xlsx";
  job.makeTable = [] { return makeWorkbookTable(); };
  const std::atomic<bool> stop{false};
  const ExportProgress none;
  ExportOutcome outcome;
  double seconds = 0;
  bench::resetPeak();
  const double before = bench::peakMegabytes();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    outcome = runExport(job, stop, none);
    seconds += secondsSince(start);
  }
  const double peak = bench::peakMegabytes();
  const std::string book = job.settings.resultBase + ".xlsx";
  std::error_code ignored;
  state.counters["output_MB"] = static_cast<double>(fs::file_size(book, ignored)) / 1e6;
  std::remove(book.c_str());
  if (outcome.result != ExportResult::Completed) {
    state.SkipWithError("the export failed");
    return;
  }
  state.counters["records_per_second"] = static_cast<double>(records) * state.iterations() / seconds;
  state.counters["peak_MB"] = peak;
  state.counters["peak_growth_MB"] = peak - before;
  state.SetItemsProcessed(static_cast<std::int64_t>(records) * state.iterations());
}
BENCHMARK(BM_ExportToWorkbook)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace
}  // namespace sonvera
