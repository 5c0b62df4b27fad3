#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "base/byte_writer.h"

namespace sonvera {
namespace {

SettingsFileContents startupDefaults() {
  SettingsFileContents c;
  c.splitPeriod = 60;
  c.decimationStep = 1;
  c.recordNumber = 0;
  c.recordTime = 0;
  return c;
}

TEST(SettingsFile, DefaultsAfterStartupAre124Bytes) {
  const auto bytes = encodeSettingsFile(startupDefaults());
  ASSERT_EQ(bytes.size(), 124u);
  EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8)),
            (std::vector<std::uint8_t>{0xA6, 0xF4, 0x21, 0x78, 2, 0, 0, 0}));
  // Field 6, the split period, follows magic, version, N and the split flag.
  EXPECT_EQ(bytes[16], 60);
  // The threshold is written before the percentiles.
  EXPECT_EQ(bytes[4 * 21], 75);
  EXPECT_EQ(decodeSettingsFile(bytes), startupDefaults());
}

TEST(SettingsFile, RoundTripsEveryField) {
  SettingsFileContents c = startupDefaults();
  c.lists[21] = {{2, 0, -1, -1}, {0, 1, 5, 0}, {0, 1, 5, 0}};
  c.lists[3] = {};
  c.lists[65535] = {{3, 1, 0, 2}};
  c.splitOn = 1;
  c.splitByRecords = 7;  // any non-zero value is kept as it stands
  c.averaging = 1;
  c.maxima = 1;
  c.valueSeparator = 3;
  c.decimalSeparator = 1;
  c.statistics = {1, 0, 1, 1, 1, {10, 50, 90, 0, 0, 0}, 300};
  c.comment = "Замер у дороги";
  c.recordNumber = 1;
  c.recordTime = 1;
  const auto decoded = decodeSettingsFile(encodeSettingsFile(c));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, c);
}

TEST(SettingsFile, OlderVersionsAndRepeatedTypes) {
  ByteWriter w;
  w.u32(kSettingsFileMagic);
  w.u32(1);
  w.u32(2);
  for (const int n : {1, 2}) {
    w.u32(0xABCD0015);  // the high half is ignored
    w.u32(static_cast<std::uint32_t>(n));
    for (int i = 0; i < n; ++i) w.u32(static_cast<std::uint32_t>(i)), w.u32(0), w.u32(0xFFFFFFFF), w.u32(0xFFFFFFFF);
  }
  for (int i = 0; i < 25; ++i) w.u32(0);
  w.text16(u"");
  const auto c = decodeSettingsFile(w.data());
  ASSERT_TRUE(c);
  ASSERT_EQ(c->lists.size(), 1u);
  EXPECT_EQ(c->lists.at(0x15), (std::vector<ExportItem>{{0, 0, -1, -1}, {1, 0, -1, -1}}));
  EXPECT_FALSE(c->recordNumber.has_value());
  EXPECT_FALSE(c->recordTime.has_value());
}

TEST(SettingsFile, WrongHeadersTruncationsAndHostileCountsAreRefused) {
  SettingsFileContents c = startupDefaults();
  c.lists[5] = {{0, 0, 0, 0}};
  c.comment = "abc";
  const auto bytes = encodeSettingsFile(c);
  for (std::size_t n = 0; n < bytes.size(); ++n)
    EXPECT_FALSE(decodeSettingsFile(std::span(bytes.data(), n))) << n;

  auto version3 = bytes;
  version3[4] = 3;
  EXPECT_FALSE(decodeSettingsFile(version3));
  auto magic = bytes;
  magic[0] ^= 1;
  EXPECT_FALSE(decodeSettingsFile(magic));

  const auto patched = [&](std::size_t offset, std::uint32_t value) {
    auto b = bytes;
    for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return decodeSettingsFile(b);
  };
  EXPECT_FALSE(patched(8, 0x7FFFFFFF));     // N
  EXPECT_FALSE(patched(16, 0x10000000));    // M
  EXPECT_FALSE(patched(bytes.size() - 18, 0xFFFFFFFF));  // comment length -1
}

}  // namespace
}  // namespace sonvera
