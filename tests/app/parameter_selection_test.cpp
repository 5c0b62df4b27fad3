#include "app/parameter_selection.h"

#include <gtest/gtest.h>

#include "support/banded_state.h"

namespace sonvera {
namespace {

using test::DecodingState;
using test::GroupShape;
using Entries = std::vector<std::string>;

constexpr std::uint16_t kType = 77;

class ParameterSelectionTest : public ::testing::Test {
 protected:
  void open(int channels, const std::array<GroupShape, 3>& groups) {
    catalogue = test::bandedCatalogue(kType, channels, groups);
    catalogue.bandNames = {"n0", "n1", "n2", "n3", "n4", "n5", "n6", "n7", "n8", "n9"};
    ASSERT_TRUE(test::prepareCarried(catalogue, kType, state));
  }
  ParameterSelection dialog(const ExportItem& item = kNewItem) const {
    return ParameterSelection(catalogue, state.values, state.channels, state.description, item);
  }

  DeviceCatalogue catalogue;
  DecodingState state;
};

TEST_F(ParameterSelectionTest, AddingOpensOnBandZeroOfChannelZero) {
  open(2, {GroupShape{2, 3}, GroupShape{}, GroupShape{}});
  const ParameterSelection d = dialog();
  EXPECT_EQ(d.groups().entries, (Entries{"Группа0"}));
  EXPECT_EQ(d.parameters().entries, (Entries{"P0", "P1"}));
  EXPECT_EQ(d.bands().entries, (Entries{"все полосы", "n0", "n3", "n6"}));
  EXPECT_EQ(d.channels().entries, (Entries{"все каналы", "Канал A", "Канал B"}));
  EXPECT_TRUE(d.channels().enabled);
  EXPECT_EQ(d.bands().selection, 1u);
  EXPECT_EQ(d.channels().selection, 1u);
  EXPECT_EQ(d.accept(), (ExportItem{0, 0, 0, 0}));
}

TEST_F(ParameterSelectionTest, MissingGroupZeroStartsWithGroupOne) {
  open(2, {GroupShape{}, GroupShape{1, 2}, GroupShape{}});
  const ParameterSelection d = dialog();
  EXPECT_EQ(d.groups().entries, (Entries{"Группа1"}));
  EXPECT_EQ(d.groups().selection, 0u);
  // The new item's group 0 has no place: every list stays on its first entry.
  EXPECT_EQ(d.bands().selection, 0u);
  EXPECT_EQ(d.channels().selection, 0u);
  EXPECT_EQ(d.accept(), (ExportItem{1, 0, -1, -1}));
}

TEST_F(ParameterSelectionTest, ExtraTablesFollowTheBandedGroups) {
  open(1, {GroupShape{1, 1}, GroupShape{}, GroupShape{1, 2}});
  catalogue.extraTableMap.emplace(kType, test::extraTable("Доп", {"x", "y"}, {"b0", "b1"}));
  catalogue.extraTableMap.emplace(kType, test::extraTable("Вторая", {"w"}, {"c0"}));
  ParameterSelection d = dialog();
  EXPECT_EQ(d.groups().entries, (Entries{"Группа0", "Группа2", "Доп", "Вторая"}));
  EXPECT_EQ(d.groupAt(1), 2);
  EXPECT_EQ(d.groupAt(3), 4);
  EXPECT_EQ(d.positionOf(2), 1u);
  EXPECT_EQ(d.positionOf(4), 3u);
  EXPECT_EQ(d.positionOf(5), std::nullopt);
  EXPECT_EQ(d.positionOf(1), std::nullopt);
  EXPECT_EQ(d.positionOf(-1), std::nullopt);

  d.chooseGroup(2);
  EXPECT_EQ(d.parameters().entries, (Entries{"x", "y"}));
  EXPECT_EQ(d.bands().entries, (Entries{"все полосы", "b0", "b1"}));
  EXPECT_EQ(d.firstParameter(), 0);
  d.chooseParameter(1);
  EXPECT_EQ(d.accept(), (ExportItem{3, 1, -1, 0}));
  d.chooseGroup(3);
  EXPECT_EQ(d.bands().entries, (Entries{"c0"}));  // one band: no "all" entry
  EXPECT_EQ(d.parameters().selection, 0u);
  EXPECT_EQ(d.accept(), (ExportItem{4, 0, 0, 0}));
  // The channel list does not follow the group.
  EXPECT_EQ(d.channels().entries, (Entries{"Канал A"}));
  EXPECT_FALSE(d.channels().enabled);
}

TEST_F(ParameterSelectionTest, OpensOnAnExistingItem) {
  open(2, {GroupShape{1, 1}, GroupShape{3, 4}, GroupShape{}});
  const ParameterSelection d = dialog({1, 2, -1, -1});
  EXPECT_EQ(d.groups().selection, 1u);
  EXPECT_EQ(d.parameters().selection, 2u);
  EXPECT_EQ(d.bands().selection, 0u);
  EXPECT_EQ(d.bands().entries.front(), "все полосы");
  EXPECT_EQ(d.channels().selection, 0u);
  EXPECT_EQ(d.accept(), (ExportItem{1, 2, -1, -1}));

  // Positions the lists do not have leave them without a selection.
  const ParameterSelection outside = dialog({1, 3, 4, 2});
  EXPECT_EQ(outside.parameters().selection, std::nullopt);
  EXPECT_EQ(outside.bands().selection, std::nullopt);
  EXPECT_EQ(outside.channels().selection, std::nullopt);
  EXPECT_EQ(outside.accept(), std::nullopt);

  // A group the file does not have: everything on its first entry.
  const ParameterSelection gone = dialog({2, 1, 1, 1});
  EXPECT_EQ(gone.groups().selection, 0u);
  EXPECT_EQ(gone.accept(), (ExportItem{0, 0, 0, -1}));
}

TEST_F(ParameterSelectionTest, ParametersStartAtTheFirstCarriedOne) {
  open(1, {GroupShape{4, 1}, GroupShape{}, GroupShape{}});
  test::dropParameter(state, 0, 0);
  test::dropParameter(state, 0, 1);
  state.description.parameterNames.erase(3);
  const ParameterSelection d = dialog();
  EXPECT_EQ(d.firstParameter(), 2);
  EXPECT_EQ(d.parameters().entries, (Entries{"P2", "unknown"}));
  EXPECT_EQ(d.bands().entries, (Entries{"n0"}));
  EXPECT_EQ(d.accept(), (ExportItem{0, 0, 0, 0}));
}

TEST_F(ParameterSelectionTest, BandEntriesFollowTheFile) {
  open(1, {GroupShape{}, GroupShape{}, GroupShape{1, 2}});
  state.description.bandNameStart2 = 7;
  state.values.bandCountOverride[2] = 0x8004;
  state.values.bandFrequencies[2] = {2500000.0};
  state.values.bandNames[2][1] = "свой";
  const ParameterSelection d = dialog();
  // Band 3 is n7 + 3 past the catalogue's list: an empty entry keeps its place.
  EXPECT_EQ(d.bands().entries, (Entries{"все полосы", "2.500m", "свой", "n9", ""}));
}

TEST_F(ParameterSelectionTest, NothingToChooseKeepsTheDialogOpen) {
  open(1, {GroupShape{1, 1}, GroupShape{}, GroupShape{}});
  state.description.channelCount = 0;
  const ParameterSelection noChannels = dialog();
  EXPECT_TRUE(noChannels.channels().entries.empty());
  EXPECT_EQ(noChannels.accept(), std::nullopt);

  state.description.channelCount = 1;
  state.description.bandCount = {0, 0, 0};
  const ParameterSelection noGroups = dialog();
  EXPECT_TRUE(noGroups.groups().entries.empty());
  EXPECT_TRUE(noGroups.parameters().entries.empty());
  EXPECT_EQ(noGroups.accept(), std::nullopt);
}

TEST_F(ParameterSelectionTest, AllChannelsOnAOneChannelFilePicksTheChannel) {
  open(1, {GroupShape{2, 3}, GroupShape{}, GroupShape{}});
  const ParameterSelection d = dialog(ExportItem{0, 1, 2, -1});
  EXPECT_FALSE(d.channels().enabled);
  EXPECT_EQ(d.channels().selection, 0u);
  EXPECT_EQ(d.accept(), (ExportItem{0, 1, 2, 0}));
}

}  // namespace
}  // namespace sonvera
