#include "export/item_text.h"

#include <gtest/gtest.h>

#include <chrono>

#include "export/export_columns.h"

#include "support/banded_state.h"

namespace sonvera {
namespace {

using test::DecodingState;
using test::GroupShape;

constexpr std::uint16_t kType = 77;

class ItemTextTest : public ::testing::Test {
 protected:
  void open(int channels, const std::array<GroupShape, 3>& groups) {
    catalogue = test::bandedCatalogue(kType, channels, groups);
    catalogue.bandNames = {"n0", "n1", "n2", "n3", "n4", "n5", "n6", "n7", "n8", "n9"};
    ASSERT_TRUE(test::prepareCarried(catalogue, kType, state));
  }
  std::optional<std::string> text(ExportItem item, bool header = false) const {
    return itemText(catalogue, state.values, state.channels, state.description, kType, item, header);
  }
  std::int32_t first(int group) const {
    const auto g = static_cast<std::size_t>(group);
    return firstCarriedParameter(group, state.description.parameterCount[g],
                                 effectiveBandCount(state.values, state.description, group),
                                 state.description.channelCount, state.channels);
  }

  DeviceCatalogue catalogue;
  DecodingState state;
};

TEST_F(ItemTextTest, FirstCarriedParameterSkipsEmptyParameters) {
  open(2, {GroupShape{4, 3}, GroupShape{0, 0}, GroupShape{2, 1}});
  EXPECT_EQ(first(0), 0);
  test::dropParameter(state, 0, 0);
  test::dropParameter(state, 0, 1);
  EXPECT_EQ(first(0), 2);
  // One value of the last band of the second channel is enough.
  test::dropParameter(state, 0, 2);
  test::dropParameter(state, 0, 3);
  state.channels[1].values[0][1][2] = 55.0;
  EXPECT_EQ(first(0), 1);
  state.channels[1].values[0][1][2] = NoValue;
  EXPECT_EQ(first(0), 4);  // none carried: the parameter count
  EXPECT_EQ(first(1), 0);  // no parameters
  EXPECT_EQ(firstCarriedParameter(3, 4, 3, 2, state.channels), 0);
  EXPECT_EQ(firstCarriedParameter(-1, 4, 3, 2, state.channels), 0);
}

TEST_F(ItemTextTest, FirstCarriedParameterLooksOnlyAtCountedChannelsAndBands) {
  open(1, {GroupShape{3, 2}, GroupShape{}, GroupShape{}});
  test::dropParameter(state, 0, 0);
  test::dropParameter(state, 0, 1);
  test::dropParameter(state, 0, 2);
  state.channels[1].values[0][0][0] = 50.0;  // a channel the file does not have
  state.channels[0].values[0][1][1] = 50.0;  // band 1
  EXPECT_EQ(firstCarriedParameter(0, 3, 1, 1, state.channels), 3);
  EXPECT_EQ(firstCarriedParameter(0, 3, 2, 1, state.channels), 1);
  EXPECT_EQ(firstCarriedParameter(0, 3, 2, 2, state.channels), 0);
  // Counts beyond the tables read as nothing carried.
  EXPECT_EQ(firstCarriedParameter(0, 9, 4000, 40, state.channels), 0);
  state.channels[1].values[0][0][0] = NoValue;
  EXPECT_EQ(firstCarriedParameter(0, 9, 4000, 40, state.channels), 1);
  EXPECT_EQ(firstCarriedParameter(0, 3, -1, 2, state.channels), 3);
}

TEST_F(ItemTextTest, EffectiveBandCountTakesTheLowBitsOfTheOverride) {
  open(1, {GroupShape{1, 3}, GroupShape{1, 2}, GroupShape{1, 1}});
  EXPECT_EQ(effectiveBandCount(state.values, state.description, 0), 3);
  state.values.bandCountOverride = {0xF005, 0, 0x1000};
  EXPECT_EQ(effectiveBandCount(state.values, state.description, 0), 5);
  EXPECT_EQ(effectiveBandCount(state.values, state.description, 1), 2);
  EXPECT_EQ(effectiveBandCount(state.values, state.description, 2), 0);  // non-zero, low bits 0
  EXPECT_EQ(effectiveBandCount(state.values, state.description, 3), 0);
}

TEST_F(ItemTextTest, OneChannelReadsGroupParameterBand) {
  open(1, {GroupShape{3, 4}, GroupShape{}, GroupShape{}});
  EXPECT_EQ(text({0, 1, 2, 0}), "Группа0,P1,n6");  // start 0, step 3
  EXPECT_EQ(text({0, 1, -1, -1}), "Группа0,P1,все полосы");
  EXPECT_EQ(text({0, 0, 0, 0}, true), "Г0,P0,n0");
  // The channel text is still built and can still fail.
  EXPECT_EQ(text({0, 0, 0, 1}), std::nullopt);
  EXPECT_EQ(text({0, 0, 0, -2}), std::nullopt);
}

TEST_F(ItemTextTest, SeveralChannelsLeadWithTheChannel) {
  open(2, {GroupShape{}, GroupShape{2, 2}, GroupShape{}});
  EXPECT_EQ(text({1, 0, -1, -1}), "все каналы,Группа1,P0,все полосы");
  EXPECT_EQ(text({1, 1, 1, 1}), "B,Группа1,P1,n1");  // step 1 in group 1
  EXPECT_EQ(text({1, 1, 1, 1}, true), "B,Г1,P1,n1");
  state.values.channelNames[1] = "Вход 2";
  EXPECT_EQ(text({1, 0, 0, 1}), "Вход 2,Группа1,P0,n0");
  EXPECT_EQ(text({1, 0, 0, 2}), std::nullopt);
}

TEST_F(ItemTextTest, ParameterCountsFromTheFirstCarriedOne) {
  open(1, {GroupShape{4, 1}, GroupShape{}, GroupShape{}});
  test::dropParameter(state, 0, 0);
  EXPECT_EQ(text({0, 0, 0, 0}), "Группа0,P1,n0");
  EXPECT_EQ(text({0, 2, 0, 0}), "Группа0,P3,n0");
  state.description.parameterNames.erase(3);
  EXPECT_EQ(text({0, 2, 0, 0}), std::nullopt);
  EXPECT_EQ(text({0, -1, 0, 0}), "Группа0,P0,n0");  // the key wraps like the unsigned sum
}

TEST_F(ItemTextTest, BandNamesFromFrequenciesThenFileThenCatalogue) {
  open(1, {GroupShape{}, GroupShape{}, GroupShape{1, 4}});
  state.description.bandNameStart2 = 5;
  state.values.bandFrequencies[2] = {31.5, 1000.0};
  state.values.bandNames[2][1] = "не видно";
  state.values.bandNames[2][2] = "свой";
  EXPECT_EQ(text({2, 0, 0, 0}), "Группа2,P0,31.50");
  EXPECT_EQ(text({2, 0, 1, 0}), "Группа2,P0,1.000k");
  EXPECT_EQ(text({2, 0, 2, 0}), "Группа2,P0,свой");
  EXPECT_EQ(text({2, 0, 3, 0}), "Группа2,P0,n8");  // bandNameStart2 + 3, step 1
  state.description.bandNameStart2 = 7;
  EXPECT_EQ(text({2, 0, 3, 0}), std::nullopt);  // past the band name list
  EXPECT_EQ(text({2, 0, 4, 0}), std::nullopt);  // past the band count
  EXPECT_EQ(text({2, 0, -2, 0}), std::nullopt);
}

TEST_F(ItemTextTest, BandCountOverrideDecidesWhichBandsExist) {
  open(1, {GroupShape{1, 4}, GroupShape{}, GroupShape{}});
  state.description.bandNameStep[0] = 1;
  state.values.bandCountOverride[0] = 0x2006;
  EXPECT_EQ(text({0, 0, 5, 0}), "Группа0,P0,n5");
  state.values.bandCountOverride[0] = 2;
  EXPECT_EQ(text({0, 0, 2, 0}), std::nullopt);
  EXPECT_EQ(text({0, 0, 1, 0}), "Группа0,P0,n1");
}

TEST_F(ItemTextTest, AbsentGroupsFail) {
  open(1, {GroupShape{}, GroupShape{2, 2}, GroupShape{}});
  EXPECT_EQ(text({0, 0, -1, -1}), std::nullopt);
  EXPECT_EQ(text({3, 0, -1, -1}), std::nullopt);
  EXPECT_EQ(text({-1, 0, -1, -1}), std::nullopt);
}

TEST_F(ItemTextTest, ExtraGroupsComeFromTheTypesTables) {
  open(2, {GroupShape{1, 1}, GroupShape{}, GroupShape{}});
  catalogue.extraTableMap.emplace(kType, test::extraTable("Доп", {"x", "y"}, {"b0", "b1"}));
  catalogue.extraTableMap.emplace(kType + 1, test::extraTable("Чужая", {"z"}, {"c0"}));
  catalogue.extraTableMap.emplace(kType, test::extraTable("Вторая", {"w"}, {}));
  EXPECT_EQ(text({3, 1, 0, 0}), "A,Доп,y,b0");
  EXPECT_EQ(text({3, 1, 0, 0}, true), "A,Доп,y,b0");
  EXPECT_EQ(text({4, 0, -1, -1}), "все каналы,Вторая,w,все полосы");
  EXPECT_EQ(text({4, 0, 0, -1}), std::nullopt);
  EXPECT_EQ(text({3, 2, 0, 0}), std::nullopt);
  EXPECT_EQ(text({3, -1, 0, 0}), std::nullopt);
  EXPECT_EQ(text({3, 0, 2, 0}), std::nullopt);
  EXPECT_EQ(text({5, 0, 0, 0}), std::nullopt);
}

// 16 channels of 16 parameters by 4 096 bands, of which only the last
// parameter carries values: naming the 65 536 columns finds that parameter
// once, not for each column (a walk of a million cells for each would take
// minutes).
TEST(ExportColumnNames, AWideStateIsNamedPromptly) {
  DeviceDescription d;
  d.channelCount = 16;
  d.parameterCount = {16, 0, 0};
  d.bandCount = {4096, 0, 0};
  d.parameterNames[15] = "P";
  d.groupColumnTitles[0] = "G";
  d.bandNameStep[0] = 0;  // every band is named by the catalogue's first name
  DecodingState state;
  state.description = d;
  ChannelTables::Shape shape{};
  for (auto& groups : shape) groups[0] = {16, 4096};
  state.channels.resetTables(shape);
  state.values.channelNames[0] = "A";
  state.channels[3].values[0][15][7] = 50.0;
  DeviceCatalogue catalogue;
  catalogue.bandNames = {"b"};
  const auto start = std::chrono::steady_clock::now();
  const std::vector<ExportColumn> columns = buildExportColumns(
      catalogue, kType, state.description, state.values, state.channels, {ExportItem{0, 0, -1, -1}}, ';');
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  ASSERT_EQ(columns.size(), 65536u);
  EXPECT_EQ(columns[0].value, &state.channels[0].values[0][15][0]);
  EXPECT_EQ(columns[0].name, "A,G,P,b") << columns[0].name;
}

}  // namespace
}  // namespace sonvera
