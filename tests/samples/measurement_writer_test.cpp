#include "samples/measurement_writer.h"

#include <gtest/gtest.h>

#include "measurement/instrument_stamps.h"
#include "measurement/record_decoder.h"
#include "samples/sample_layouts.h"
#include "support/measurement_catalogue.h"

namespace sonvera {
namespace {

// Every value the encoder sets comes back from the decoder.
TEST(RecordEncoder, RoundTripThroughTheDecoder) {
  const std::vector<ParameterCode> layout{
      code::kTypeEcho, 0x201C0000, 0x50040000, 0x00010000, 0x00020000, 0x20210000, 0x30180001,
      0x500A0002,      0x500B0003, 0x500C0004, 0x40130001, 0x401E0000, 0x60160000, 0x00170000,
      0x70201000,      0x80201001, 0x901F5000, 0x800F0000, 0x80310000, 0xB0390000, 0xB03A0000,
      0xF01A0000,      0xF0050000, 0xF02F0550, 0x703A0000, 0x01100000, 0x51100001, 0x71100002,
      0xB1100003,      0xC1100004, 0xA1100005, 0,          0};
  DeviceDescription d = test::describe(layout);
  d.blockCount = 1;
  DeviceCatalogue catalogue;
  test::addType(catalogue, 21, d);
  test::DecodingState s;
  ASSERT_TRUE(s.prepare(catalogue, 21));

  RecordEncoder e(d);
  e.setRaw(code::kTypeEcho, 21);
  e.setRaw(0x201C0000, 4);
  e.setRaw(0x50040000, 0x12345);
  e.setRaw(0x00010000, fatDate(2024, 2, 29));
  e.setValue(0x00020000, timeField(13, 14, 16));
  e.setRaw(0x20210000, 1);
  e.setValue(0x30180001, -1.25);
  e.setValue(0x500A0002, 0.75);
  e.setValue(0x500B0003, 20e-6);
  e.setValue(0x500C0004, 31.6);
  e.setRaw(0x40130001, 1);
  e.setRaw(0x401E0000, 1);
  e.setValue(0x60160000, 90);
  e.setValue(0x00170000, 47.5);
  e.setValue(0x70201000, 63);
  e.setValue(0x80201001, 31.5);
  e.setValue(0x901F5000, 12000);
  e.setValue(0x800F0000, -3.5);
  e.setValue(0x80310000, 7.25);
  e.setValue(0xB0390000, 1.5);
  e.setValue(0xB03A0000, 12.5);
  e.setValue(0xF01A0000, 3 * 3600 + 25 * 60 + 7);
  e.setText(0xF0050000, "Площадка 7");
  e.setText(0xF02F0550, "Датчик");
  e.setValue(0x703A0000, 37.5);
  e.setValue(0x01100000, 93.25);
  e.setValue(0x51100001, -12.5);
  e.setValue(0x71100002, 123456);
  e.setValue(0xB1100003, 0.125);
  e.setValue(0xC1100004, 1e-9);
  const RecordTime when = RecordTime::fromParts(2030, 7, 8, 9, 10, 11);
  e.setValue(0xA1100005, when.dayNumber());
  e.setRawWords({0xAAAA, 0xBBBB});
  const auto bytes = e.encode();
  ASSERT_EQ(bytes.size(), d.recordSize);
  EXPECT_EQ(s.decode(bytes), 21);

  const RecordValues& v = s.values;
  EXPECT_EQ(v.modelCode, 4);
  EXPECT_EQ(v.vin, 0x12345u);
  EXPECT_EQ(recordTime(v).format("%Y-%m-%d %H:%M:%S"), "2024-02-29 13:14:16");
  EXPECT_EQ(v.modeWord, 1);
  EXPECT_EQ(s.channels[1].correction, -1.25);
  EXPECT_EQ(s.channels[2].correction, 0.75);
  EXPECT_NEAR(s.channels[3].reference, 20e-6, 1e-9);
  EXPECT_NEAR(s.channels[4].sensitivity, 31.6, 1e-3);
  EXPECT_EQ(s.channels[1].overloadFlag, 1);
  EXPECT_EQ(v.markerFlag, 1);
  EXPECT_EQ(s.channels[0].statistics[0].entries[0].name, "L90");
  EXPECT_EQ(s.channels[0].statistics[0].entries[0].value, 47.5);
  EXPECT_EQ(v.bandFrequencies[0][0], 63.0);
  EXPECT_EQ(v.bandFrequencies[0][1], 31.5);
  EXPECT_NEAR(v.bandFrequencies[1][0], 12000.0, 1e-4);
  EXPECT_EQ(v.aux800F, -3.5);
  EXPECT_EQ(v.aux8031, 7.25f);
  EXPECT_EQ(v.auxB039, 1.5);
  EXPECT_EQ(v.percentage, 37.5f);  // 0x703A after 0xB03A
  EXPECT_EQ(v.duration, 3 * 3600 + 25 * 60 + 7);
  EXPECT_EQ(v.label, "Площадка 7");
  EXPECT_EQ(s.channels[0].channelTexts[2], "Датчик");
  const auto& row = s.channels[0].values[0][0];
  EXPECT_EQ(row[0], 93.25);
  EXPECT_EQ(row[1], -12.5);
  EXPECT_EQ(row[2], 123456.0);
  EXPECT_EQ(row[3], 0.125);
  EXPECT_EQ(row[4], 1e-9);
  EXPECT_DOUBLE_EQ(row[5], when.dayNumber());
  EXPECT_EQ(v.rawWords, (std::vector<std::uint16_t>{0xAAAA, 0xBBBB}));
}

TEST(RecordEncoder, Stamps) {
  EXPECT_EQ(stamp32(2000, 1, 1, 0, 0, 0), 0u);
  EXPECT_EQ(stamp32(2000, 2, 29, 0, 0, 0) >> 17, 59u);
  EXPECT_EQ(stamp32(2004, 2, 29, 0, 0, 0) >> 17, 1461u + 59u);
  EXPECT_EQ(stamp32(1999, 12, 31, 0, 0, 0), 0u);
  EXPECT_EQ(fromStamp32(stamp32(2031, 12, 31, 23, 59, 58)).format("%Y%m%d%H%M%S"), "20311231235958");

  const std::uint64_t calendar = stamp64Calendar(2099, 12, 31, 23, 59, 59, true);
  const auto fields = fromStamp64(static_cast<std::uint32_t>(calendar), static_cast<std::uint32_t>(calendar >> 32));
  ASSERT_TRUE(fields);
  EXPECT_EQ(recordTimeFromFields(fields->date, fields->time).format("%Y-%m-%d %H:%M:%S"), "2100-01-01 00:00:00");
  const std::uint64_t tagged = stamp64FromStamp32(stamp32(2024, 1, 2, 3, 4, 5));
  const auto f2 = fromStamp64(static_cast<std::uint32_t>(tagged), static_cast<std::uint32_t>(tagged >> 32));
  ASSERT_TRUE(f2);
  EXPECT_EQ(f2->date, fatDate(2024, 1, 2));
  EXPECT_EQ(f2->time, timeField(3, 4, 5));
  const std::uint32_t decimal = decimalTime(21, 45, 37);
  std::uint8_t b[4];
  for (int i = 0; i < 4; ++i) b[i] = static_cast<std::uint8_t>(decimal >> (8 * i));
  EXPECT_EQ(fromDecimalTime(b), timeField(21, 45, 37));
}

TEST(MeasurementWriter, HeaderCountsAndDataOffset) {
  HeaderSource h;
  h.typeCode = 3;
  h.channelNames = {"a"};
  h.calibration.resize(3);
  h.groupNames = {"g"};
  h.bandNames = {{"x"}, {"y"}};
  h.bandCount = 2;
  h.layout = {1, 2, 3};
  h.dataOffset = 500;
  const auto bytes = headerBytes(h);
  ASSERT_EQ(bytes.size(), 500u);
  const FileHeader parsed = parseFileHeader(std::span<const std::uint8_t, kFileHeaderSize>(bytes.data(), kFileHeaderSize));
  EXPECT_EQ(parsed.channelCount, 3);
  EXPECT_EQ(parsed.groupCount, 2);
  EXPECT_EQ(parsed.bandNameLength, 1);
  EXPECT_EQ(parsed.codeCount, 3);
  EXPECT_EQ(parsed.dataOffset, 500u);
  EXPECT_LE(kFileHeaderSize + parsed.tableBytes(), 500u);
}

TEST(SampleLayouts, SizesAndCounts) {
  DeviceDescription slm = soundLevelMeterDescription();
  deriveCounts(slm);
  EXPECT_EQ(slm.bandCount, (std::array<std::int32_t, 3>{36, 10, 3}));
  EXPECT_EQ(slm.typeEchoOffset, 0);
  EXPECT_EQ(slm.formats.size(), slm.layout.size());
  DeviceDescription vib = vibrationMeterDescription();
  deriveCounts(vib);
  EXPECT_EQ(vib.channelCount, 4);
}

}  // namespace
}  // namespace sonvera
