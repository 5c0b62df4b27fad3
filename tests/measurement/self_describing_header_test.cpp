// Self-describing headers whose counts are large while their texts take no
// bytes: the tables stay small, so only the reader's own limits bound the work.

#include <gtest/gtest.h>

#include <chrono>

#include "base/byte_writer.h"
#include "measurement/measurement_file.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

// A header of one channel with `groups` groups of `bands` bands, every name
// length 0, then one record of one level.
std::vector<std::uint8_t> emptyNamedHeader(std::uint16_t groups, std::uint16_t bands) {
  ByteWriter tables;
  tables.u16(0);                                       // the word of channel 0
  for (std::uint16_t g = 0; g < groups; ++g) tables.u16(static_cast<std::uint16_t>(g));  // band-name starts
  for (int i = 0; i < 84; ++i) tables.u8(0);           // calibration of channel 0
  tables.u32(0x01100000);                              // layout: one level
  ByteWriter w;
  w.u32(kFileMagic);
  w.u16(0);
  w.u16(4242);  // type
  w.u16(1);     // model
  w.u16(0);     // flags
  w.u32(2);     // record size
  w.u32(0);     // vin
  w.u32(0);
  w.u16(0);  // text length
  w.u16(0);  // channel name length
  w.u16(1);  // channels
  w.u16(0);  // parameter name length
  w.u16(0);  // parameters
  w.u16(0);  // band name length
  w.u16(bands);
  w.u16(0);  // group name length
  w.u16(groups);
  w.u16(0);  // extra records
  w.u32(0);
  w.u16(1);  // codes
  w.u16(0);  // formats
  w.u64(0);
  w.u64(kFileHeaderSize + tables.size());
  std::vector<std::uint8_t> bytes = w.take();
  bytes.insert(bytes.end(), tables.data().begin(), tables.data().end());
  bytes.push_back(0x00);
  bytes.push_back(0x28);  // 40 dB
  return bytes;
}

TEST(SelfDescribingHeader, ManyEmptyBandNamesOpenPromptly) {
  test::TempFile file(emptyNamedHeader(65535, 65535));
  MeasurementFile m;
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(openMeasurementFile(DeviceCatalogue{}, file.path(), m), OpenResult::Opened);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(m.description.bandNameStart[1], 1);
  EXPECT_EQ(m.description.bandNameStart2, 2u);
  EXPECT_EQ(m.values.bandNames[2].size(), 4096u);
  EXPECT_EQ(m.values.bandNames[0].at(255), "");
  EXPECT_EQ(m.channels[0].values[0].size(), 0u);  // P = 0 and the catalogue knows no parameters
}

}  // namespace
}  // namespace sonvera
