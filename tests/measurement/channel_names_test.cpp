#include <gtest/gtest.h>

#include "measurement/channel_names.h"
#include "support/catalogue_builder.h"

namespace sonvera {
namespace {

class ChannelNames : public ::testing::Test {
 protected:
  void SetUp() override {
    CatalogueSource s;
    ModelSource m = test::makeModel(7, "ВМ-4");
    m.blocks[0].model.channelNames = {"X", "Y", "Z", "D"};
    m.blocks[0].model.channelUnits = {"м/с2", "м/с2", "м/с2", "g"};
    s.models.push_back(m);
    ASSERT_TRUE(test::loadSource(s, 15, catalogue));
    values.modelCode = 7;
  }
  std::string name(std::int32_t c) const { return channelName(catalogue, values, c); }
  std::string unit(std::int32_t c) const { return channelUnit(catalogue, values, channels, c); }

  DeviceCatalogue catalogue;
  RecordValues values;
  ChannelTables channels;
};

TEST_F(ChannelNames, OwnNamesThenTypeWordThenModel) {
  EXPECT_EQ(modelName(catalogue, 7), "ВМ-4");
  EXPECT_EQ(modelName(catalogue, 8), "");
  EXPECT_EQ(name(0), "X");
  EXPECT_EQ(name(3), "D");
  EXPECT_EQ(name(4), "");
  values.channelKinds = 0x0521;
  EXPECT_EQ(name(0), "A");
  EXPECT_EQ(name(1), "X");
  EXPECT_EQ(name(2), "LF");
  EXPECT_EQ(name(3), "Mic");
  EXPECT_EQ(name(5), "Mic");
  EXPECT_EQ(name(9), "");
  EXPECT_EQ(name(-1), "");
  values.channelNames = {{0, "Левый"}, {12, "Двенадцатый"}};
  EXPECT_EQ(name(0), "Левый");
  EXPECT_EQ(name(12), "Двенадцатый");
  EXPECT_EQ(name(1), "X");
  values.modelCode = 99;
  values.channelKinds = 0xFFFF;
  EXPECT_EQ(name(1), "");
}

TEST_F(ChannelNames, UnitsFromCalibrationThenUnitWordThenModel) {
  EXPECT_EQ(unit(3), "g");
  EXPECT_EQ(unit(4), "");
  values.unitIndexes = 0x00A1;
  EXPECT_EQ(unit(0), "м/с2");
  EXPECT_EQ(unit(1), "Гц");
  EXPECT_EQ(unit(2), "Па");
  EXPECT_EQ(unit(3), "Па");
  EXPECT_EQ(unit(15), "Па");
  EXPECT_EQ(unit(16), "");
  EXPECT_EQ(unit(-1), "");
  channels[1].unitText = "мВ";
  EXPECT_EQ(unit(1), "мВ");
  values.modelCode = 99;
  values.unitIndexes = 0xFFFF;
  EXPECT_EQ(unit(0), "");
}

}  // namespace
}  // namespace sonvera
