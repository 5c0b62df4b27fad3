#include <gtest/gtest.h>

#include "catalogue/device_catalogue.h"

namespace sonvera {
namespace {

DeviceDescription withLayout(std::vector<ParameterCode> layout, std::uint32_t wide = 0) {
  DeviceDescription d;
  d.layout = std::move(layout);
  d.wideBandIndex = wide;
  return d;
}

TEST(TypeEchoOffset, SumsTheSizesBeforeTheEcho) {
  EXPECT_EQ(computeTypeEchoOffset(withLayout({0x201B0000})), 0);
  EXPECT_EQ(computeTypeEchoOffset(withLayout({0x10000000, 0xC0000000, 0x201B0000})), 10);
  EXPECT_EQ(computeTypeEchoOffset(withLayout({0x10000000, 0x201B0001})), -1);
  // Type 15 sizes by kind: 10, 66, 2n + 2, 6; type 13 takes 4 here.
  EXPECT_EQ(computeTypeEchoOffset(withLayout({0xF0030000, 0xF0050000, 0xF02F0300, 0xF0010000,
                                              0xD0000000, 0x201B0000})),
            10 + 66 + 8 + 6 + 4);
}

TEST(DeriveCounts, BandedCodesGiveCountsPerGroup) {
  DeviceDescription d = withLayout({0x01100000, 0x01130205, 0x02200103, 0x01310000,
                                    0x01000707, 0x01400909, 0x30180000, 0x000A0500});
  deriveCounts(d);
  EXPECT_EQ(d.channelCount, 4);
  EXPECT_EQ(d.bandCount, (std::array<std::int32_t, 3>{6, 4, 1}));
  EXPECT_EQ(d.parameterCount, (std::array<std::int32_t, 3>{3, 2, 1}));
  EXPECT_EQ(d.perChannelLimit, 1);  // several channels: kind 0x00A ignored

  DeviceDescription wide = withLayout({0x0110F123}, 1);
  deriveCounts(wide);
  EXPECT_EQ(wide.parameterCount[0], 16);
  EXPECT_EQ(wide.bandCount[0], 0x124);
}

TEST(DeriveCounts, PerChannelLimitOfOneChannelLayouts) {
  DeviceDescription d = withLayout({0x01100000, 0x30180500, 0x50181400});
  deriveCounts(d);
  EXPECT_EQ(d.perChannelLimit, 16);
  DeviceDescription small = withLayout({0x01100000, 0x500A0300});
  deriveCounts(small);
  EXPECT_EQ(small.perChannelLimit, 3);
  DeviceDescription none = withLayout({0x01100000});
  none.perChannelLimit = 9;
  deriveCounts(none);
  EXPECT_EQ(none.perChannelLimit, 1);
  EXPECT_EQ(none.channelCount, 1);
}

}  // namespace
}  // namespace sonvera
