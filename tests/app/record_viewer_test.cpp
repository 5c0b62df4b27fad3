#include "app/record_viewer.h"

#include <gtest/gtest.h>

#include "support/banded_state.h"

namespace sonvera {
namespace {

using Runs = std::vector<std::pair<std::int32_t, std::int32_t>>;
constexpr std::uint16_t kType = 77;

TEST(RecordViewerLayout, SplitsBandsIntoTablesOfAtMostFifteenColumns) {
  EXPECT_EQ(splitBands(0), Runs{});
  EXPECT_EQ(splitBands(15), (Runs{{0, 15}}));
  EXPECT_EQ(splitBands(16), (Runs{{0, 8}, {8, 8}}));
  EXPECT_EQ(splitBands(31), (Runs{{0, 11}, {11, 10}, {21, 10}}));
  EXPECT_EQ(splitBands(46), (Runs{{0, 13}, {13, 11}, {24, 11}, {35, 11}}));
}

TEST(GridSelectionTest, ClicksShiftClicksAndDrags) {
  GridSelection s(4, 3);
  EXPECT_TRUE(s.press(1, 1, false));
  EXPECT_EQ(s.range(), (CellRange{1, 1, 2, 2}));
  EXPECT_TRUE(s.press(1, 1, false));  // a second click deselects
  EXPECT_FALSE(s.hasSelection());
  EXPECT_TRUE(s.press(2, 0, true));  // Shift without an anchor: a plain click
  EXPECT_EQ(s.range(), (CellRange{2, 0, 3, 1}));
  EXPECT_TRUE(s.press(0, 2, true));
  EXPECT_EQ(s.range(), (CellRange{0, 0, 3, 3}));
  EXPECT_FALSE(s.press(0, 2, true));  // the anchor stays
  EXPECT_TRUE(s.press(3, 1, false));
  EXPECT_TRUE(s.drag(1, 2));
  EXPECT_EQ(s.range(), (CellRange{1, 1, 4, 3}));
  EXPECT_TRUE(s.drag(cellIndex(-3, 40), 1));  // just left of the cells
  EXPECT_FALSE(s.hasSelection());
  EXPECT_FALSE(s.drag(1, 1));  // the anchor went with it
  EXPECT_TRUE(s.press(1, 1, false));
  EXPECT_TRUE(s.press(4, 0, false));  // outside the cells
  EXPECT_FALSE(s.hasSelection());
}

TEST(GridSelectionTest, CopyTexts) {
  GridSelection s(3, 4);
  const CellText cell = [](std::int32_t c, std::int32_t r) { return std::to_string(r) + std::to_string(c); };
  EXPECT_EQ(selectionText(s, cell), "");
  s.press(1, 1, false);
  s.press(2, 3, true);
  EXPECT_EQ(selectionText(s, cell), "11\t12\n21\t22\n31\t32");
  EXPECT_EQ(tableText(2, 1, TableHeaders{std::nullopt, {"a", "b"}, {"r"}}, cell), "\ta\tb\nr\t00\t01\n");
  EXPECT_EQ(tableText(2, 1, TableHeaders{"Г", {}, {}}, cell), "Г\t\t\n00\t01\n");
}

class RecordViewerTest : public ::testing::Test {
 protected:
  void open(int channels, const std::array<test::GroupShape, 3>& groups) {
    catalogue = test::bandedCatalogue(kType, channels, groups);
    catalogue.bandNames = {"n0", "n1", "n2", "n3", "n4", "n5", "n6", "n7", "n8", "n9"};
    ASSERT_TRUE(test::prepareCarried(catalogue, kType, state));
  }
  RecordViewer viewer() const { return RecordViewer(catalogue, state.values, state.channels, state.description); }

  DeviceCatalogue catalogue;
  test::DecodingState state;
};

TEST_F(RecordViewerTest, TablesFollowTheGroupsFromTheFirstCarriedParameter) {
  open(2, {test::GroupShape{3, 2}, test::GroupShape{}, test::GroupShape{2, 16}});
  test::dropParameter(state, 0, 0);
  catalogue.extraTableMap.emplace(kType, test::extraTable("Доп", {"x", "y"}, {"b0"}));
  const RecordViewer v = viewer();
  EXPECT_EQ(v.channelEntries(), (std::vector<std::string>{"A", "B"}));
  ASSERT_EQ(v.groups().size(), 3u);
  EXPECT_EQ(v.groups()[0].group, 2);
  EXPECT_EQ(v.groups()[1].group, 0);
  EXPECT_EQ(v.groups()[2].group, 3);
  EXPECT_EQ(v.groups()[1].parameters, (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(v.groups()[1].rowHeaders, (std::vector<std::string>{"P1", "P2"}));
  EXPECT_EQ(v.groups()[1].bandHeaders, (std::vector<std::string>{"n0", "n3"}));
  ASSERT_EQ(v.tables().size(), 4u);  // 8 + 8 bands of group 2, then group 0 and the extra table
  EXPECT_EQ(v.tables()[1].firstBand, 8);

  const ViewerLayout l = v.layout(50, 20, {40, 60, 40}, 30);
  // x = header width + 15; y = list bottom + 15 + row height.
  EXPECT_EQ(l.tables[0].grid, (PixelRect{65, 65, 65 + 8 * 40 + 2, 65 + 2 * 20 + 2}));
  EXPECT_EQ(l.tables[0].title, (PixelRect{15, 44, 65, 65}));
  EXPECT_EQ(l.tables[0].rowHeaders[1], (PixelRect{15, 86, 65, 107}));
  EXPECT_EQ(l.tables[0].columnHeaders[1], (PixelRect{106, 44, 147, 65}));
  EXPECT_EQ(l.tables[1].grid.top, 65 + 2 * 20 + 2 * 20);
  EXPECT_FALSE(l.tables[3].title.has_value());
  EXPECT_EQ(l.contentWidth, 65 + 8 * 40);
  EXPECT_EQ(l.contentHeight, l.tables[3].grid.bottom - 2);
}

TEST_F(RecordViewerTest, CellsFollowTheChannelTheUnitsAndTheReferences) {
  open(2, {test::GroupShape{1, 2}, test::GroupShape{}, test::GroupShape{}});
  state.channels[1].values[0][0][1] = 80.0;
  state.channels[1].formats[0][0][1] = 0x000D7;
  state.channels[0].reference = 0;  // the description's default
  state.channels[1].reference = 10;
  state.channels[1].values[0][0][0] = DashValue;
  RecordViewer v = viewer();
  const ViewerTable& t = v.tables()[0];
  EXPECT_EQ(v.cellText(t, 1, 0), formatValue(60.0, state.channels[0].formats[0][0][1], false, false, 1.0));
  EXPECT_TRUE(v.chooseChannel(1));
  EXPECT_FALSE(v.chooseChannel(2));
  EXPECT_EQ(v.reference(0), 10.0);
  EXPECT_EQ(v.cellText(t, 1, 0), formatValue(80.0, 0xD7, false, false, 10.0));
  v.linearUnits = true;
  v.extendedFormat = true;
  EXPECT_EQ(v.cellText(t, 1, 0), formatValue(80.0, 0xD7, true, true, 10.0));
  EXPECT_NE(v.cellText(t, 1, 0), formatValue(80.0, 0xD7, false, false, 10.0));

  // The whole-table text leaves a dash cell empty; a selection copies it as shown.
  EXPECT_EQ(v.tableText(t), "Г0\tn0\tn3\nP0\t\t" + v.cellText(t, 1, 0) + "\n");
  EXPECT_EQ(v.allTablesText(), v.tableText(t) + "\n");
  GridSelection s(2, 1);
  s.press(0, 0, false);
  s.press(1, 0, true);
  EXPECT_EQ(v.selectionText(t, s), "---\t" + v.cellText(t, 1, 0));
}

TEST_F(RecordViewerTest, ExtraTablesTakeOtherValuesAndTexts) {
  open(1, {test::GroupShape{1, 1}, test::GroupShape{}, test::GroupShape{}});
  ExtraParameterTable extra = test::extraTable("Доп", {"x"}, {"b0", "b1"});
  extra.codes[0] = {0x30400001, 0xF0400002};
  catalogue.extraTableMap.emplace(kType, extra);
  state.channels[0].otherValues[0x00400001] = 42.0;
  state.channels[0].texts[0xF0400002] = "текст";
  const RecordViewer v = viewer();
  const ViewerTable& t = v.tables().back();
  EXPECT_EQ(v.cellValue(t, 0, 0), 42.0);
  EXPECT_EQ(v.cellText(t, 1, 0), "текст");
}

TEST_F(RecordViewerTest, NoFileGivesNoTables) {
  const DeviceCatalogue empty;
  const RecordValues values;
  const ChannelTables channels{};
  const DeviceDescription description;
  const RecordViewer v(empty, values, channels, description);
  EXPECT_TRUE(v.channelEntries().empty());
  EXPECT_TRUE(v.tables().empty());
  EXPECT_EQ(v.allTablesText(), "");
  EXPECT_EQ(v.layout(10, 10, {}, 20).contentHeight, 0);
}

}  // namespace
}  // namespace sonvera
