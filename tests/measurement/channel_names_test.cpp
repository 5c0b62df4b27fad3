#include "measurement/channel_names.h"

#include <gtest/gtest.h>

#include "support/measurement_catalogue.h"

namespace sonvera {
namespace {

struct Names {
  DeviceCatalogue catalogue = test::catalogueWithModel(12);
  RecordValues values;
  ChannelTables channels;
  Names() { values.modelCode = 12; }
  std::string name(int c) { return channelName(catalogue, values, c); }
  std::string unit(int c) { return channelUnit(catalogue, values, channels, c); }
};

TEST(ChannelNames, HeaderNamesWinForEveryChannel) {
  Names n;
  n.values.channelKinds = 0x0521;
  n.values.channelNames = {{0, "Левый"}, {9, "Девятый"}};
  EXPECT_EQ(n.name(0), "Левый");
  EXPECT_EQ(n.name(9), "Девятый");
  EXPECT_EQ(n.name(1), "X");
  n.values.channelNames[0xFFFFFFFF] = "minus one";
  EXPECT_EQ(n.name(-1), "minus one");  // compared as unsigned
}

TEST(ChannelNames, ChannelTypeWord) {
  Names n;
  n.values.channelKinds = 0x0521;
  EXPECT_EQ(n.name(0), "A");
  EXPECT_EQ(n.name(1), "X");
  EXPECT_EQ(n.name(2), "LF");
  EXPECT_EQ(n.name(3), "Mic");
  EXPECT_EQ(n.name(5), "Mic");
  EXPECT_EQ(n.name(7), "Mic");
  EXPECT_EQ(n.name(8), "");
  EXPECT_EQ(n.name(9), "");
  EXPECT_EQ(n.name(-1), "");
  n.values.channelKinds = 0xFEDC;
  EXPECT_EQ(n.name(0), "NO");
  EXPECT_EQ(n.name(1), "K1");
  EXPECT_EQ(n.name(3), "K3");
}

TEST(ChannelNames, ModelNamesWithoutTypeWord) {
  Names n;
  EXPECT_EQ(n.name(0), "A");
  EXPECT_EQ(n.name(3), "D");
  EXPECT_EQ(n.name(4), "");
  n.values.modelCode = 13;
  EXPECT_EQ(n.name(0), "");
  EXPECT_EQ(n.unit(0), "");
  EXPECT_EQ(modelName(n.catalogue, 13), "");
  EXPECT_EQ(modelName(n.catalogue, 12), "Модель");
}

TEST(ChannelNames, Units) {
  Names n;
  EXPECT_EQ(n.unit(1), "м/с2");  // the model's
  EXPECT_EQ(n.unit(4), "");
  n.values.unitIndexes = 0x00A1;
  EXPECT_EQ(n.unit(0), "м/с2");
  EXPECT_EQ(n.unit(1), "Гц");
  EXPECT_EQ(n.unit(2), "Па");
  EXPECT_EQ(n.unit(3), "Па");
  EXPECT_EQ(n.unit(15), "Па");
  EXPECT_EQ(n.unit(16), "");
  EXPECT_EQ(n.unit(-1), "");
  n.channels[2].unitText = "g";
  EXPECT_EQ(n.unit(2), "g");
}

}  // namespace
}  // namespace sonvera
