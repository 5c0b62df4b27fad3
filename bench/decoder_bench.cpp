// Records decoded per second for a sound level meter layout: 36 third-octave
// and 10 octave bands of three parameters, broadband values, stamp, serial,
// overload and underload, marker, six percentiles, band frequencies.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench_records.h"
#include "measurement/measurement_file.h"
#include "samples/measurement_writer.h"
#include "measurement/record_decoder.h"
#include "samples/sample_layouts.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

constexpr std::uint16_t kType = 21;

std::vector<std::vector<std::uint8_t>> sampleRecords(const DeviceDescription& d, int count) {
  std::vector<std::vector<std::uint8_t>> records;
  for (int i = 0; i < count; ++i) {
    RecordEncoder e = bench::soundLevelRecord(d, kType, i);
    e.setRaw(0x50070000, stamp32(2024, 5, 17, 12, i % 60, i % 60));
    e.setRaw(0x20250000, static_cast<std::uint64_t>(i));
    e.setRaw(0x40130000, i % 17 == 0);
    e.setValue(0x70201FFE, 25);
    e.setValue(0x70201FFF, 20000);
    records.push_back(e.encode());
  }
  return records;
}

struct Prepared {
  DeviceCatalogue catalogue;
  RecordValues values;
  ChannelTables channels;
  DeviceDescription description;
  Prepared() {
    catalogue.descriptions[kType] = soundLevelMeterDescription();
    values.typeCode = kType;
    prepareDecoding(catalogue, kType, values, channels, description);
  }
};

void BM_DecodeRecord(benchmark::State& state) {
  Prepared p;
  const auto records = sampleRecords(p.description, 64);
  std::size_t i = 0;
  for (auto _ : state) {
    decodeIfSameType(records[i], p.channels, p.values, p.description);
    benchmark::DoNotOptimize(p.channels[0].values[0][0][0]);
    i = (i + 1) & 63;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * p.description.recordSize);
  state.counters["record_bytes"] = p.description.recordSize;
  state.counters["layout_entries"] = static_cast<double>(p.description.layout.size());
}
BENCHMARK(BM_DecodeRecord);

// As the export and the record walk decode: through the layout worked out once.
void BM_DecodeRecordByPlan(benchmark::State& state) {
  Prepared p;
  const auto records = sampleRecords(p.description, 64);
  DecodingPlan plan(p.description, p.channels);
  std::size_t i = 0;
  for (auto _ : state) {
    if (hasSameType(records[i], p.values, p.description))
      decodeRecord(records[i], p.channels, p.values, p.description, plan);
    benchmark::DoNotOptimize(p.channels[0].values[0][0][0]);
    i = (i + 1) & 63;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeRecordByPlan);

// One positioned read and one decode per record, as an export does.
void BM_ReadAndDecodeRecord(benchmark::State& state) {
  Prepared p;
  MeasurementFileSource source;
  source.variant = FileVariant::PairedWord;
  const auto records = sampleRecords(p.description, 64);
  for (int k = 0; k < 160; ++k) source.records.insert(source.records.end(), records.begin(), records.end());
  test::TempFile file(measurementFileBytes(source));
  MeasurementFile m;
  if (openMeasurementFile(p.catalogue, file.path(), m) != OpenResult::Opened) {
    state.SkipWithError("cannot open the sample file");
    return;
  }
  std::vector<std::uint8_t> buffer(m.description.recordSize);
  std::uint32_t i = 0;
  for (auto _ : state) {
    readRecord(m, i, buffer);
    decodeIfSameType(buffer, m.channels, m.values, m.description);
    benchmark::DoNotOptimize(m.channels[0].values[0][0][0]);
    if (++i == m.recordCount) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadAndDecodeRecord);

// Sizing the decoding state from the layout, as every file opened does.
void BM_PrepareDecoding(benchmark::State& state) {
  Prepared p;
  for (auto _ : state) {
    prepareDecoding(p.catalogue, kType, p.values, p.channels, p.description);
    benchmark::DoNotOptimize(p.channels[0].values[0][0][0]);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PrepareDecoding);

// Opening a small file: header, state, record count, first and last record.
void BM_OpenFile(benchmark::State& state) {
  Prepared p;
  MeasurementFileSource source;
  source.variant = FileVariant::PairedWord;
  source.records = sampleRecords(p.description, 64);
  test::TempFile file(measurementFileBytes(source));
  MeasurementFile m;
  for (auto _ : state) {
    if (openMeasurementFile(p.catalogue, file.path(), m) != OpenResult::Opened) return state.SkipWithError("no open");
    benchmark::DoNotOptimize(m.recordCount);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OpenFile);

// The copy of the decoding state a worker takes when it starts.
void BM_CopyDecodingState(benchmark::State& state) {
  Prepared p;
  for (auto _ : state) {
    ChannelTables channels = p.channels;
    RecordValues values = p.values;
    DeviceDescription description = p.description;
    benchmark::DoNotOptimize(channels[0].values[0][0][0]);
    benchmark::DoNotOptimize(values.typeCode);
    benchmark::DoNotOptimize(description.recordSize);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CopyDecodingState);

}  // namespace
}  // namespace sonvera
