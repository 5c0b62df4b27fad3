#include "measurement/measurement_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <thread>

#include "samples/measurement_writer.h"
#include "samples/sample_generator.h"
#include "samples/sample_layouts.h"
#include "measurement/record_decoder.h"
#include "support/measurement_catalogue.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

using test::TempFile;

constexpr ParameterCode kEcho = code::kTypeEcho;
constexpr ParameterCode kModel = 0x201C0000;
constexpr ParameterCode kSerial = 0x50040000;
constexpr ParameterCode kDate = 0x00010000;
constexpr ParameterCode kTime = 0x00020000;
constexpr ParameterCode kLevel = 0x01100000;  // type 0, group 0, channel 0, parameter 0, band 0

constexpr std::uint16_t kPairedType = 300;
constexpr std::uint16_t kModelCode = 77;

std::vector<std::uint8_t> u32At4(std::uint32_t v) {
  std::vector<std::uint8_t> b(8, 0);
  for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<std::uint8_t>(v >> (8 * i));
  return b;
}

TEST(MeasurementFile, VariantDetectionLimits) {
  const auto variant = [](std::vector<std::uint8_t> b) {
    return detectVariant(std::span<const std::uint8_t, 8>(b.data(), 8));
  };
  EXPECT_EQ(variant(u32At4(0x1FFFF)), FileVariant::Legacy);
  EXPECT_EQ(variant(u32At4(0x20000)), FileVariant::PairedWord);
  EXPECT_EQ(variant(u32At4(0x5FFFF)), FileVariant::PairedWord);
  EXPECT_EQ(variant(u32At4(0x60000)), FileVariant::Legacy);
  EXPECT_EQ(variant({0x4A, 0xF3, 0x19, 0xA3, 0, 0, 4, 0}), FileVariant::SelfDescribing);
}

// A paired-word type: echo and model first, then a serial that the variant test sees.
DeviceDescription pairedDescription() {
  return test::describe({kEcho, kModel, kSerial, kDate, kTime, kLevel});
}

std::vector<std::uint8_t> pairedRecord(std::uint16_t type, std::uint32_t vin, int minute, double level) {
  RecordEncoder e(pairedDescription());
  e.setRaw(kEcho, type);
  e.setRaw(kModel, kModelCode);
  e.setRaw(kSerial, vin);
  e.setRaw(kDate, fatDate(2024, 3, 5));
  e.setValue(kTime, timeField(10, minute, 0));
  e.setValue(kLevel, level);
  return e.encode();
}

struct PairedFile {
  DeviceCatalogue catalogue;
  MeasurementFileSource source;
  PairedFile() {
    test::addType(catalogue, kPairedType, pairedDescription());
    source.variant = FileVariant::PairedWord;
  }
};

TEST(MeasurementFile, PairedWordFileOpensWithTimesAndCount) {
  PairedFile f;
  for (int i = 0; i < 5; ++i) f.source.records.push_back(pairedRecord(kPairedType, 0x30000, i, 40 + i));
  TempFile file(measurementFileBytes(f.source));
  MeasurementFile m;
  ASSERT_EQ(openMeasurementFile(f.catalogue, file.path(), m), OpenResult::Opened);
  EXPECT_EQ(m.values.typeCode, kPairedType);
  EXPECT_EQ(m.values.modelCode, kModelCode);
  EXPECT_EQ(m.recordCount, 5u);
  EXPECT_EQ(m.dataOffset, 0u);
  EXPECT_EQ(m.firstTime.minute(), 0);
  EXPECT_EQ(m.lastTime.minute(), 4);
  EXPECT_EQ(m.description.typeEchoOffset, 0);

  std::vector<std::uint8_t> buffer(m.description.recordSize);
  EXPECT_EQ(readRecord(m, 2, buffer), buffer.size());
  decodeIfSameType(buffer, m.channels, m.values, m.description);
  EXPECT_EQ(m.channels[0].values[0][0][0], 42.0);
}

TEST(MeasurementFile, PartialRecordAndTrailingForeignRecords) {
  PairedFile f;
  for (int i = 0; i < 4; ++i) f.source.records.push_back(pairedRecord(kPairedType, 0x30000, i, 40));
  // Another type, another serial, another type again: all three are dropped.
  f.source.records.push_back(pairedRecord(kPairedType + 1, 0x30000, 10, 40));
  f.source.records.push_back(pairedRecord(kPairedType, 0x30001, 11, 40));
  f.source.records.push_back(pairedRecord(999, 0x30000, 12, 40));
  const auto half = pairedRecord(kPairedType, 0x30000, 13, 40);
  f.source.trailing.assign(half.begin(), half.begin() + 7);
  TempFile file(measurementFileBytes(f.source));
  MeasurementFile m;
  ASSERT_EQ(openMeasurementFile(f.catalogue, file.path(), m), OpenResult::Opened);
  EXPECT_EQ(m.recordCount, 4u);
  EXPECT_EQ(m.lastTime.minute(), 3);

  // 2.5 records: two.
  PairedFile g;
  for (int i = 0; i < 2; ++i) g.source.records.push_back(pairedRecord(kPairedType, 0x30000, i, 40));
  g.source.trailing.assign(half.begin(), half.begin() + 7);
  TempFile file2(measurementFileBytes(g.source));
  ASSERT_EQ(openMeasurementFile(g.catalogue, file2.path(), m), OpenResult::Opened);
  EXPECT_EQ(m.recordCount, 2u);

  // Only foreign records after the first: count 1, last time = first time.
  PairedFile h;
  h.source.records.push_back(pairedRecord(kPairedType, 0x30000, 5, 40));
  h.source.records.push_back(pairedRecord(kPairedType, 0x30009, 6, 40));
  TempFile file3(measurementFileBytes(h.source));
  ASSERT_EQ(openMeasurementFile(h.catalogue, file3.path(), m), OpenResult::Opened);
  EXPECT_EQ(m.recordCount, 1u);
  EXPECT_EQ(m.lastTime.minute(), 5);
  EXPECT_EQ(m.firstTime.dayNumber(), m.lastTime.dayNumber());
}

TEST(MeasurementFile, OpenFailures) {
  PairedFile f;
  MeasurementFile m;
  EXPECT_EQ(openMeasurementFile(f.catalogue, "/nonexistent/file.bin", m), OpenResult::CannotOpen);
  TempFile empty({});
  EXPECT_EQ(openMeasurementFile(f.catalogue, empty.path(), m), OpenResult::UnknownType);  // legacy type 60000

  f.source.records.push_back(pairedRecord(kPairedType + 5, 0x30000, 0, 40));
  TempFile unknown(measurementFileBytes(f.source));
  EXPECT_EQ(openMeasurementFile(f.catalogue, unknown.path(), m), OpenResult::UnknownType);

  auto shortRecord = pairedRecord(kPairedType, 0x30000, 0, 40);
  shortRecord.pop_back();
  TempFile partial(shortRecord);
  EXPECT_EQ(openMeasurementFile(f.catalogue, partial.path(), m), OpenResult::Empty);

  // A description without channels.
  DeviceCatalogue noChannels;
  test::addType(noChannels, kPairedType, test::describe({kEcho, kModel, kSerial}));
  TempFile some(pairedRecord(kPairedType, 0x30000, 0, 40));
  EXPECT_EQ(openMeasurementFile(noChannels, some.path(), m), OpenResult::UnknownType);
}

TEST(MeasurementFile, LegacyTypeArithmetic) {
  // The model word at offset 18; the type is the model minus 5536.
  const DeviceDescription d = test::describe({kDate, kTime, 0, 0, 0, 0, 0, 0, 0, kModel, kLevel});
  DeviceCatalogue catalogue;
  test::addType(catalogue, 0, d);
  test::addType(catalogue, 60100, d);
  for (const auto& [model, type] : {std::pair<std::uint16_t, std::uint16_t>{5536, 0}, {100, 60100}}) {
    RecordEncoder e(d);
    e.setRaw(kModel, model);
    e.setRaw(kDate, fatDate(2020, 1, 1));
    MeasurementFileSource source;
    source.variant = FileVariant::Legacy;
    source.records = {e.encode(), e.encode()};
    TempFile file(measurementFileBytes(source));
    MeasurementFile m;
    ASSERT_EQ(openMeasurementFile(catalogue, file.path(), m), OpenResult::Opened) << model;
    EXPECT_EQ(m.values.typeCode, type);
    EXPECT_EQ(m.values.modelCode, model);
    EXPECT_EQ(m.recordCount, 2u);
  }
}

HeaderSource unknownTypeHeader() {
  HeaderSource h;
  h.typeCode = 5000;
  h.modelCode = 12;
  h.flags = 0x0001 | 0x0010;  // wide band index; other bits ignored
  h.vin = 123456;
  h.text = "free text";
  h.channelNames = {"Канал X", "Y"};
  h.parameterNames = {"Leq", "Lmax", "Lmin"};
  h.bandCount = 4;
  h.bandNames = {{"31.5", "63", "125", "250"}, {"A", "B"}};
  h.groupNames = {"Терцоктавы", "Октавы"};
  h.bandNameStarts = {5, 9};
  h.calibration = {{-0.5f, 50.0f, 2e-5f, "Датчик", "Па"}, {1.0f, 2.0f, 3.0f, "S2", "m/s2"}};
  h.extraRecords.resize(2);
  h.extraRecords[1][39] = 0xAB;
  // Wide split: parameter bits 12-15, band bits 0-11.
  h.layout = {kDate, kTime, 0x01102003, 0x01211001};
  h.formats = {0x10, 0x20, 0x30};
  h.recordSize = 14;
  return h;
}

TEST(MeasurementFile, SelfDescribingFileOfUnknownType) {
  DeviceCatalogue catalogue;  // knows nothing
  MeasurementFileSource source;
  source.header = unknownTypeHeader();
  const DeviceDescription layout = test::describe(source.header.layout, 14);
  RecordEncoder e(layout);
  e.setRaw(kDate, fatDate(2021, 6, 1));
  e.setValue(kTime, timeField(8, 0, 0));
  e.setValue(0x01102003, 51.5);
  e.setValue(0x01211001, 60.25);
  source.records = {e.encode()};
  TempFile file(measurementFileBytes(source));

  MeasurementFile m;
  ASSERT_EQ(openMeasurementFile(catalogue, file.path(), m), OpenResult::Opened);
  const DeviceDescription& d = m.description;
  EXPECT_EQ(m.values.typeCode, 5000);
  EXPECT_EQ(m.values.modelCode, 12);
  EXPECT_EQ(m.values.vin, 123456u);  // the records carry no serial
  EXPECT_EQ(d.recordSize, 14u);
  EXPECT_EQ(d.wideBandIndex, 1u);
  EXPECT_EQ(d.typeEchoOffset, -1);
  EXPECT_EQ(d.layout, source.header.layout);
  EXPECT_EQ(d.formats, (std::vector<std::uint32_t>{0x10, 0x20, 0x30, 0xFFFF}));
  EXPECT_EQ(d.channelCount, 2);
  EXPECT_EQ(d.parameterCount, (std::array<std::int32_t, 3>{3, 3, 0}));
  EXPECT_EQ(d.bandCount, (std::array<std::int32_t, 3>{4, 4, 0}));
  EXPECT_EQ(d.parameterNames.at(2), "Lmin");
  EXPECT_EQ(d.groupTitles[0], "Терцоктавы");
  EXPECT_EQ(d.groupColumnTitles[1], "Октавы");
  EXPECT_EQ(d.bandNameStart[0], 5);
  EXPECT_EQ(d.bandNameStep[0], 3);
  EXPECT_EQ(d.bandNameStart[1], 9);
  EXPECT_EQ(d.bandNameStep[1], 1);
  EXPECT_EQ(m.values.channelNames.at(0), "Канал X");
  EXPECT_EQ(m.values.bandNames[0].at(3), "250");
  EXPECT_EQ(m.values.bandNames[1].at(1), "B");
  EXPECT_EQ(m.values.bandNames[1].at(3), "");
  EXPECT_EQ(m.channels[0].correction, -0.5);
  EXPECT_EQ(m.channels[0].sensitivity, 50.0);
  EXPECT_FLOAT_EQ(static_cast<float>(m.channels[0].reference), 2e-5f);
  EXPECT_EQ(m.channels[0].sensorName, "Датчик");
  EXPECT_EQ(m.channels[1].unitText, "m/s2");
  ASSERT_EQ(m.channels[1].values[1].size(), 3u);
  EXPECT_EQ(m.channels[1].values[1][1][1], 60.25);
  EXPECT_EQ(m.channels[0].values[0][2][3], 51.5);
  EXPECT_TRUE(m.channels[2].values[0].empty());

  std::vector<ExtraRecord> extras;
  std::uint64_t offset = 0;
  RecordValues v;
  ChannelTables ch;
  DeviceDescription dd;
  ASSERT_TRUE(readFileHeader(catalogue, m.handle, ch, v, dd, offset, &extras));
  ASSERT_EQ(extras.size(), 2u);
  EXPECT_EQ(extras[1][39], 0xAB);
  EXPECT_EQ(offset, m.dataOffset);
}

TEST(MeasurementFile, SelfDescribingKeepsCatalogueDataWhenPAndNAreZero) {
  DeviceDescription known = test::describe({kDate, kTime, 0x01100102, 0x01210000});
  known.parameterNames = {{0, "Lp"}, {1, "Leq"}};
  known.groupTitles = {"a", "b", "c"};
  DeviceCatalogue catalogue;
  test::addType(catalogue, 41, known);
  HeaderSource h;
  h.typeCode = 41;
  h.recordSize = 8;
  h.channelNames = {"only"};
  h.bandCount = 5;
  h.groupNames = {"G0"};
  MeasurementFileSource source;
  source.header = h;
  RecordEncoder e(known);
  e.setRaw(kDate, fatDate(2022, 2, 2));
  e.setValue(0x01100102, 33.0);
  source.records = {e.encode()};
  TempFile file(measurementFileBytes(source));
  MeasurementFile m;
  ASSERT_EQ(openMeasurementFile(catalogue, file.path(), m), OpenResult::Opened);
  EXPECT_EQ(m.description.layout, known.layout);
  EXPECT_EQ(m.description.parameterNames, known.parameterNames);
  EXPECT_EQ(m.description.parameterCount, (std::array<std::int32_t, 3>{2, 1, 0}));
  EXPECT_EQ(m.description.bandCount, (std::array<std::int32_t, 3>{5, 0, 0}));
  EXPECT_EQ(m.description.groupTitles[0], "G0");
  EXPECT_EQ(m.description.groupTitles[1], "b");
  // Rows of group 1 exist from the catalogue and get the header's five bands.
  ASSERT_EQ(m.channels[0].values[1].size(), 1u);
  EXPECT_EQ(m.channels[0].values[1][0].size(), 5u);
  EXPECT_EQ(m.channels[0].values[0][1][2], 33.0);
}

TEST(MeasurementFile, MoreThanSixteenChannelsInAHeader) {
  HeaderSource h;
  h.typeCode = 9;
  h.recordSize = 2;
  for (int i = 0; i < 18; ++i) {
    h.channelNames.push_back("ch" + std::to_string(i));
    h.calibration.push_back({static_cast<float>(i), 1.0f, 1.0f, "s", "u"});
  }
  h.parameterNames = {"p"};
  h.bandCount = 2;
  h.groupNames = {"g"};
  h.layout = {kLevel};
  MeasurementFileSource source;
  source.header = h;
  source.records = {{0, 0}};
  TempFile file(measurementFileBytes(source));
  MeasurementFile m;
  ASSERT_EQ(openMeasurementFile(DeviceCatalogue{}, file.path(), m), OpenResult::Opened);
  EXPECT_EQ(m.description.channelCount, 18);
  EXPECT_EQ(m.values.channelNames.size(), 18u);
  EXPECT_EQ(m.values.channelNames.at(17), "ch17");
  EXPECT_EQ(m.channels[15].correction, 15.0);
  EXPECT_EQ(m.channels[15].values[0].size(), 1u);
}

TEST(MeasurementFile, HostileHeaders) {
  const DeviceCatalogue catalogue;
  MeasurementFile m;
  const auto patched = [](std::vector<std::uint8_t> bytes, std::size_t offset, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return bytes;
  };
  MeasurementFileSource source;
  source.header = unknownTypeHeader();
  source.records = {std::vector<std::uint8_t>(14, 0)};
  const auto good = measurementFileBytes(source);
  const auto open = [&](const std::vector<std::uint8_t>& bytes) {
    TempFile file(bytes);
    return openMeasurementFile(catalogue, file.path(), m);
  };
  ASSERT_EQ(open(good), OpenResult::Opened);
  // Counts and lengths whose tables the file cannot hold.
  for (const std::size_t offset : {24, 26, 28, 30, 32, 34, 36, 38, 40, 42, 48, 50})
    EXPECT_EQ(open(patched(good, offset, 0xFFFF, 2)), OpenResult::UnknownType) << offset;
  // The header itself cut short.
  EXPECT_EQ(open(std::vector<std::uint8_t>(good.begin(), good.begin() + 40)), OpenResult::UnknownType);
  // Data offset at or beyond the end, or near the top of the range.
  EXPECT_EQ(open(patched(good, 60, good.size(), 8)), OpenResult::Empty);
  EXPECT_EQ(open(patched(good, 60, ~std::uint64_t{0} - 3, 8)), OpenResult::Empty);
  // Record size of 0, or larger than the file.
  EXPECT_EQ(open(patched(good, 12, 0, 4)), OpenResult::UnknownType);
  EXPECT_EQ(open(patched(good, 12, 0xFFFFFFFF, 4)), OpenResult::Empty);
  // A record of one byte and a layout far longer: decodes what fits.
  ASSERT_EQ(open(patched(good, 12, 1, 4)), OpenResult::Opened);
  EXPECT_EQ(m.recordCount, 14u);

  // Band and parameter counts beyond what any code can address are cut.
  HeaderSource wide;
  wide.typeCode = 1;
  wide.recordSize = 2;
  wide.channelNames = {"c"};
  wide.parameterNames.assign(300, "");
  wide.parameterNameLength = 1;
  wide.bandCount = 60000;
  wide.groupNames = {"g"};
  wide.bandNameLength = 1;
  wide.layout = {kLevel};
  source.header = wide;
  source.records = {{0, 0}};
  ASSERT_EQ(open(measurementFileBytes(source)), OpenResult::Opened);
  EXPECT_EQ(m.description.parameterCount[0], 256);
  EXPECT_EQ(m.description.bandCount[0], 256);
  EXPECT_EQ(m.channels[0].values[0].size(), 256u);
  EXPECT_EQ(m.channels[0].values[0][255].size(), 256u);
}

TEST(MeasurementFile, ReopeningClosesThePreviousHandle) {
#ifdef _WIN32
  GTEST_SKIP() << "counts the descriptors in /proc/self/fd";
#endif
  PairedFile f;
  f.source.records = {pairedRecord(kPairedType, 0x30000, 0, 40)};
  TempFile a(measurementFileBytes(f.source));
  TempFile b(measurementFileBytes(f.source));
  const auto openFiles = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator{});
  };
  MeasurementFile m;
  ASSERT_EQ(openMeasurementFile(f.catalogue, a.path(), m), OpenResult::Opened);
  const auto before = openFiles();
  ASSERT_EQ(openMeasurementFile(f.catalogue, b.path(), m), OpenResult::Opened);
  EXPECT_EQ(openFiles(), before);
  EXPECT_EQ(openMeasurementFile(f.catalogue, "/nonexistent", m), OpenResult::CannotOpen);
  EXPECT_EQ(openFiles(), before - 1);
}

// One state opening file after file (its blocks kept) reads each as a new
// state would, statistics blocks and histograms included; closed, it is new.
TEST(MeasurementFile, StateReusedForFileAfterFileReadsAsNew) {
  DeviceCatalogue catalogue = test::catalogueWithModel(1);
  test::addType(catalogue, 21, soundLevelMeterDescription());
  test::addType(catalogue, 22, vibrationMeterDescription());
  const auto sample = [&](std::uint16_t type, FileVariant variant) {
    SampleOptions options;
    options.typeCode = type;
    options.variant = variant;
    options.records = 5;
    MeasurementFileSource source;
    EXPECT_EQ(generateSample(catalogue, options, source), SampleResult::Generated);
    return std::make_unique<TempFile>(measurementFileBytes(source));
  };
  const auto sound = sample(21, FileVariant::SelfDescribing), vibration = sample(22, FileVariant::PairedWord);
  MeasurementFile reused;
  for (const TempFile* file : {sound.get(), vibration.get(), sound.get()}) {
    ASSERT_EQ(openMeasurementFile(catalogue, file->path(), reused), OpenResult::Opened);
    MeasurementFile fresh;
    ASSERT_EQ(openMeasurementFile(catalogue, file->path(), fresh), OpenResult::Opened);
    EXPECT_TRUE(reused.channels == fresh.channels);
    EXPECT_TRUE(reused.values == fresh.values);
    EXPECT_EQ(reused.recordCount, fresh.recordCount);
  }
  EXPECT_FALSE(reused.channels[0].statistics.empty());
  closeMeasurementFile(reused);
  EXPECT_FALSE(reused.handle.isOpen());
  EXPECT_TRUE(reused.channels == ChannelTables{});
  EXPECT_TRUE(reused.values == RecordValues{});
}

TEST(MeasurementFile, TwoThreadsReadOneOpenFile) {
  PairedFile f;
  for (int i = 0; i < 200; ++i) f.source.records.push_back(pairedRecord(kPairedType, 0x30000, i % 60, i));
  TempFile file(measurementFileBytes(f.source));
  MeasurementFile m;
  ASSERT_EQ(openMeasurementFile(f.catalogue, file.path(), m), OpenResult::Opened);
  const auto reader = [&](int start, bool& ok) {
    RecordValues values = m.values;
    ChannelTables channels = m.channels;
    const DeviceDescription description = m.description;
    std::vector<std::uint8_t> buffer(description.recordSize);
    ok = true;
    for (int round = 0; round < 20; ++round)
      for (std::uint32_t i = static_cast<std::uint32_t>(start); i < m.recordCount; i += 2) {
        readRecord(m, i, buffer);
        decodeIfSameType(buffer, channels, values, description);
        ok = ok && channels[0].values[0][0][0] == static_cast<double>(i);
      }
  };
  bool ok1 = false, ok2 = false;
  std::thread t1(reader, 0, std::ref(ok1));
  std::thread t2(reader, 1, std::ref(ok2));
  t1.join();
  t2.join();
  EXPECT_TRUE(ok1);
  EXPECT_TRUE(ok2);
}

// A header's counts shape the tables of its channels: cells within both its
// shape and the catalogue's keep the catalogue's formats, the others take the
// default, and a channel the header does not have keeps the catalogue's table.
TEST(MeasurementFile, HeaderCountsShapeTablesKeepingTheCataloguesFormats) {
  // Group 1: channel 0 parameters 0-1 x bands 0-2, channel 1 band 0.
  DeviceDescription d = test::describe({0x01100000, 0x01100002, 0x01100101, 0x01110000});
  d.formats = {0x11, 0x12, 0x13, 0x14};
  DeviceCatalogue catalogue;
  test::addType(catalogue, 4300, d);
  MeasurementFileSource source;
  source.header.typeCode = 4300;
  source.header.recordSize = d.recordSize;
  source.header.channelNames = {"A"};
  source.header.parameterNames = {"p"};
  source.header.bandCount = 5;
  source.header.groupNames = {"g"};
  source.records.push_back(std::vector<std::uint8_t>(d.recordSize, 0));
  TempFile file(measurementFileBytes(source));
  MeasurementFile m;
  ASSERT_EQ(openMeasurementFile(catalogue, file.path(), m), OpenResult::Opened);

  const FormatTable& header = m.channels[0].formats[0];
  ASSERT_EQ(header.size(), 1u);
  ASSERT_EQ(header.columns(), 5u);
  const std::vector<std::uint32_t> row(header[0].begin(), header[0].end());
  EXPECT_EQ(row, (std::vector<std::uint32_t>{0x11, kDefaultFormat, 0x12, kDefaultFormat, kDefaultFormat}));
  const FormatTable& catalogues = m.channels[1].formats[0];
  ASSERT_EQ(catalogues.size(), 2u);
  ASSERT_EQ(catalogues.columns(), 3u);
  EXPECT_EQ(catalogues[0][0], 0x14u);
}

}  // namespace
}  // namespace sonvera
