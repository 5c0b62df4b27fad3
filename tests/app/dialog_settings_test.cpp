#include <gtest/gtest.h>

#include "app/main_dialog.h"
#include "app/settings_file.h"
#include "app/strings.h"
#include "base/byte_writer.h"
#include "platform/platform.h"
#include "support/scripted_host.h"
#include "support/summary_files.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

class DialogSettings : public ::testing::Test {
 protected:
  DialogSettings() : catalogue(test::summaryCatalogue(1)), dialog(catalogue, host) {}
  std::vector<std::uint8_t> saved() {
    test::TempFile target({}, ".cfg");
    EXPECT_TRUE(dialog.saveSettingsFile(target.path()));
    std::vector<std::uint8_t> bytes;
    platform::readWholeFile(target.path(), bytes);
    return bytes;
  }
  void load(const SettingsFileContents& c) {
    test::TempFile file(encodeSettingsFile(c), ".cfg");
    dialog.loadSettingsFile(file.path());
  }

  DeviceCatalogue catalogue;
  test::ScriptedHost host;
  MainDialog dialog;
};

TEST_F(DialogSettings, DefaultsAfterStartUpSaveAs124Bytes) {
  const auto bytes = saved();
  EXPECT_EQ(bytes.size(), 124u);
  const auto c = decodeSettingsFile(bytes);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->splitPeriod, 60u);
  EXPECT_EQ(c->decimationStep, 1u);
  EXPECT_EQ(c->statistics.threshold, 75);
  EXPECT_TRUE(c->lists.empty());
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(DialogSettings, EditNumbersAreReadWhole) {
  dialog.editableState().splitPeriod = "60 ";
  dialog.editableState().decimationStep = " 7";
  const auto c = decodeSettingsFile(saved());
  EXPECT_EQ(c->splitPeriod, 0u);
  EXPECT_EQ(c->decimationStep, 7u);
  load(*c);
  EXPECT_EQ(dialog.state().splitPeriod, "");
  EXPECT_EQ(dialog.state().decimationStep, "7");
}

TEST_F(DialogSettings, LoadingAppliesEveryFieldAndTheEnablingRules) {
  dialog.editableState().split = true;
  dialog.editableState().recordNumber = 1;
  SettingsFileContents c;
  c.lists[7] = {{0, 0, -1, -1}};
  c.splitOn = 0;
  c.splitByRecords = 5;
  c.decimationOn = 1;
  c.decimationStep = 3;
  c.averaging = 1;
  c.maxima = 1;
  c.valueSeparator = 3;
  c.decimalSeparator = 1;
  c.shortNames = 1;
  c.statistics.percentiles = {90, 10, 0, 0, 0, 0};
  c.statistics.exceedance = 1;
  c.comment = "Комментарий";
  // A version 1 file: no record-number and time fields.
  auto bytes = encodeSettingsFile(c);
  bytes[4] = 1;
  bytes.resize(bytes.size() - 8);
  test::TempFile file(bytes, ".cfg");
  dialog.loadSettingsFile(file.path());
  const MainDialogState& s = dialog.state();
  EXPECT_FALSE(s.splitControlsEnabled());
  EXPECT_TRUE(s.splitByRecords);
  EXPECT_TRUE(s.decimationControlsEnabled());
  EXPECT_EQ(s.decimationStep, "3");
  EXPECT_TRUE(s.averaging && s.maxima);  // both may come back checked
  EXPECT_EQ(s.valueSeparator, 3);         // no radio of the group is checked
  EXPECT_EQ(s.decimalSeparator, 1);
  EXPECT_EQ(s.comment, "Комментарий");
  EXPECT_EQ(s.recordNumber, 1);  // kept from the screen
  EXPECT_EQ(s.statisticsSummary, "L90, L10, n75");
  EXPECT_EQ(dialog.exportLists().at(7).size(), 1u);
  // Saving again reads the radio group without a checked radio as -1.
  EXPECT_EQ(decodeSettingsFile(saved())->valueSeparator, -1);
}

TEST_F(DialogSettings, LoadingReplacesTheListsOfEveryType) {
  SettingsFileContents first;
  first.lists[7] = {{0, 0, -1, -1}};
  first.lists[8] = {{1, 0, -1, -1}};
  load(first);
  SettingsFileContents second;
  second.lists[9] = {};
  load(second);
  EXPECT_EQ(dialog.exportLists().size(), 1u);
  EXPECT_EQ(dialog.exportLists().count(7), 0u);
}

TEST_F(DialogSettings, BadFilesChangeNothing) {
  dialog.editableState().comment = "до";
  dialog.loadSettingsFile("/nonexistent/a.cfg");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "Не могу открыть файл '/nonexistent/a.cfg'");
  SettingsFileContents c;
  c.comment = "после";
  auto bytes = encodeSettingsFile(c);
  bytes.resize(bytes.size() - 3);
  test::TempFile cut(bytes, ".cfg");
  dialog.loadSettingsFile(cut.path());
  bytes = encodeSettingsFile(c);
  bytes[4] = 3;
  test::TempFile version3(bytes, ".cfg");
  dialog.loadSettingsFile(version3.path());
  ASSERT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[1], text(StringId::BadFileFormat));
  EXPECT_EQ(host.messages[2], text(StringId::BadFileFormat));
  EXPECT_EQ(dialog.state().comment, "до");
  EXPECT_FALSE(dialog.saveSettingsFile("/nonexistent/b.cfg"));
  EXPECT_EQ(host.messages.back(), "Не могу открыть файл '/nonexistent/b.cfg'");
}

TEST_F(DialogSettings, CommandsRememberTheFolder) {
  host.files = {std::string("/tmp/sonvera-settings-test.cfg")};
  dialog.saveSettingsCommand();
  EXPECT_EQ(host.memory.folder("CfgPath"), "/tmp/");
  host.files = {std::string("/tmp/sonvera-settings-test.cfg")};
  dialog.loadSettingsCommand();
  EXPECT_EQ(host.folders.back(), "/tmp/");
  EXPECT_TRUE(host.messages.empty());
  std::remove("/tmp/sonvera-settings-test.cfg");
}

TEST_F(DialogSettings, CommandLineAppliesSettingsAroundTheFile) {
  SettingsFileContents a;
  a.comment = "a";
  SettingsFileContents b;
  b.comment = "b";
  test::TempFile fa(encodeSettingsFile(a), ".cfg");
  test::TempFile fb(encodeSettingsFile(b), ".CFG");
  test::TempFile measurement(test::summaryFileBytes(1, test::steadyRecords(2, 1)));
  EXPECT_FALSE(dialog.processCommandLine({fa.path(), measurement.path(), fb.path()}));
  EXPECT_EQ(dialog.state().comment, "b");
  EXPECT_EQ(dialog.deviceType(), test::kSummaryType);
  EXPECT_TRUE(dialog.processCommandLine({fa.path()}));
  EXPECT_EQ(dialog.state().comment, "a");
}

TEST_F(DialogSettings, AveragingAndMaximaExcludeEachOther) {
  dialog.clickAveraging(true);
  dialog.clickMaxima(true);
  EXPECT_FALSE(dialog.state().averaging);
  EXPECT_TRUE(dialog.state().maxima);
  dialog.clickMaxima(false);
  EXPECT_FALSE(dialog.state().averaging || dialog.state().maxima);
}

TEST_F(DialogSettings, StatisticsNeedAnOpenFile) {
  host.statistics = {StatisticsSettings{1, 0, 0, 0, 0, {}, 75}};
  dialog.openStatistics();
  EXPECT_EQ(dialog.state().statisticsSummary, "");
  test::TempFile measurement(test::summaryFileBytes(1, test::steadyRecords(2, 1)));
  ASSERT_TRUE(dialog.openFile(measurement.path()));
  dialog.openStatistics();
  EXPECT_EQ(dialog.state().statisticsSummary, "min");
  dialog.openStatistics();  // cancelled: unchanged
  EXPECT_EQ(dialog.state().statisticsSummary, "min");
}

}  // namespace
}  // namespace sonvera

namespace sonvera {
namespace {

TEST(DialogExportList, CommandsFollowTheOpenFilesType) {
  const DeviceCatalogue catalogue = test::summaryCatalogue(2);
  test::ScriptedHost host;
  MainDialog dialog(catalogue, host);
  dialog.addAllExportItems();  // no file: nothing
  EXPECT_TRUE(dialog.exportLists().empty());
  test::TempFile measurement(test::summaryFileBytes(2, test::steadyRecords(2, 1)));
  ASSERT_TRUE(dialog.openFile(measurement.path()));
  dialog.addAllExportItems();
  EXPECT_EQ(dialog.state().exportListLines, std::vector<std::string>{"все каналы,Общие,Leq,все полосы"});
  host.items = {ExportItem{2, 0, 0, 1}};
  host.answers = {true};
  dialog.addExportItem();
  EXPECT_EQ(dialog.state().exportListLines.back(), "B,Общие,Leq,A");
  EXPECT_EQ(dialog.state().exportListSelection, 1u);
  dialog.moveExportItemUp();
  EXPECT_EQ(dialog.state().exportListSelection, 0u);
  dialog.deleteExportItem();
  EXPECT_EQ(dialog.state().exportListLines.size(), 1u);
  dialog.clearExportList();
  EXPECT_TRUE(dialog.state().exportListLines.empty());
  EXPECT_EQ(dialog.exportLists().count(test::kSummaryType), 1u);
}

}  // namespace
}  // namespace sonvera
