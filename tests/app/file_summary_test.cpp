#include <gtest/gtest.h>

#include "app/main_dialog.h"
#include "app/preview_pane.h"
#include "app/strings.h"
#include "support/summary_files.h"
#include "support/scripted_host.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

using test::SummaryRecord;
using test::steadyRecords;

class FileSummaryTest : public ::testing::Test {
 protected:
  void open(int channels, const std::vector<SummaryRecord>& records) {
    catalogue = test::summaryCatalogue(channels);
    file = std::make_unique<test::TempFile>(test::summaryFileBytes(channels, records));
    dialog = std::make_unique<MainDialog>(catalogue, host);
    opened = dialog->openFile(file->path());
  }
  const MainDialogState& state() const { return dialog->state(); }

  DeviceCatalogue catalogue;
  test::ScriptedHost host;
  std::unique_ptr<test::TempFile> file;
  std::unique_ptr<MainDialog> dialog;
  bool opened = false;
};

TEST_F(FileSummaryTest, HeadlineFieldsAndTitle) {
  open(1, steadyRecords(10, 10));
  ASSERT_TRUE(opened) << (host.messages.empty() ? "" : host.messages[0]);
  EXPECT_EQ(state().model, "Модель");
  EXPECT_EQ(state().vin, "VIN: 2ABCD");
  EXPECT_EQ(state().records, "10 записей");
  EXPECT_EQ(state().step, "шаг: 10.0 сек");
  EXPECT_EQ(state().span, "01/09/2023 10:00:00 - 10:01:30");
  EXPECT_EQ(state().title, "Универсальный транслятор версия 1.01 (" + file->path() + ")");
  EXPECT_EQ(state().rangeFrom, "1");
  EXPECT_EQ(state().rangeTo, "10");
  EXPECT_FALSE(state().over);
  EXPECT_FALSE(state().under);
  EXPECT_EQ(state().overloadSummary, "");
}

TEST_F(FileSummaryTest, OneRecordAndTimesGoingBack) {
  open(1, steadyRecords(1, 10));
  EXPECT_EQ(state().span, "01/09/2023 10:00:00");
  EXPECT_EQ(state().step, "");
  std::vector<SummaryRecord> back = steadyRecords(3, 10);
  back[2].time = RecordTime::fromParts(2023, 8, 31, 9, 0, 0);
  open(1, back);
  EXPECT_EQ(state().step, "");
  EXPECT_EQ(state().span, "01/09/2023 10:00:00 - 31/08/2023 09:00:00");
}

TEST_F(FileSummaryTest, UnderloadOfTheSecondChannel) {
  std::vector<SummaryRecord> records = steadyRecords(200, 1);
  for (int i = 3; i < 28; ++i) records[i].underload = {0, 1};
  open(2, records);
  ASSERT_TRUE(opened);
  EXPECT_TRUE(state().under);
  EXPECT_EQ(state().underloadSummary, "B: 12.5% с 4 (10:00:03)");
  EXPECT_EQ(state().underloadDetails, "B: 12.5% времени начиная с 4 записи (10:00:03)");
  EXPECT_FALSE(state().over);
}

TEST_F(FileSummaryTest, OverloadOfOneChannelFileLosesTheChannelName) {
  std::vector<SummaryRecord> records = steadyRecords(4, 1);
  records[1].overload = {5};
  records[3].overload = {1};
  records[2].underload = {1};
  open(1, records);
  EXPECT_TRUE(state().over);  // the last record is overloaded
  EXPECT_EQ(state().overloadSummary, "50.0% с 2 (10:00:01)");
  EXPECT_EQ(state().overloadDetails, "50.0% времени начиная с 2 записи (10:00:01)");
  EXPECT_EQ(state().underloadSummary, "A: 25.0% с 3 (10:00:02)");
}

TEST_F(FileSummaryTest, MultiDayTimesAndCalibrationLines) {
  std::vector<SummaryRecord> records = steadyRecords(2, 10);
  records[1].time = RecordTime::fromParts(2023, 9, 2, 8, 0, 0);
  records[1].overload = {0, 3};
  open(2, records);
  EXPECT_EQ(state().span, "01/09/2023 10:00:00 - 02/09/2023 08:00:00");
  EXPECT_EQ(state().overloadSummary, "B: 50.0% с 2 (02/09/2023 08:00:00)");
  ASSERT_EQ(state().calibrationLines.size(), 2u);
  // No sensor name: the line starts with the correction; a zero reference shows the default.
  EXPECT_EQ(state().calibrationLines[0],
            "A: поправка: 0.25 дБ, номин. датчик: 50.0E-3 В/Па, опорн. уровень: 20.0E-6 Па");
  EXPECT_EQ(state().calibrationLines[1],
            "B: поправка: 0.50 дБ, номин. датчик: 50.0E-3 В/м/с2, опорн. уровень: 1.00E-3 м/с2");
}

TEST_F(FileSummaryTest, FailuresShowTheirMessageAndCloseTheFile) {
  open(1, steadyRecords(3, 10));
  ASSERT_TRUE(opened);
  EXPECT_FALSE(dialog->openFile("/nonexistent/file.bin"));
  EXPECT_EQ(host.messages, std::vector<std::string>{text(StringId::CannotOpenFile)});
  EXPECT_EQ(dialog->deviceType(), 0);
  EXPECT_EQ(state().model, "Модель");  // the summary stays as it was
  EXPECT_EQ(state().rangeFrom, "1");

  test::TempFile empty(std::vector<std::uint8_t>(3, 0));
  EXPECT_FALSE(dialog->openFile(empty.path()));
  test::TempFile unknown(std::vector<std::uint8_t>(64, 0x11));
  EXPECT_FALSE(dialog->openFile(unknown.path()));
  ASSERT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[1], text(StringId::UnknownDeviceType));  // too short to name a type
  EXPECT_EQ(host.messages[2], text(StringId::UnknownDeviceType));
}

TEST_F(FileSummaryTest, RangeFieldsSwitchBetweenRecordsAndTimes) {
  std::vector<SummaryRecord> records = steadyRecords(3, 10);
  open(1, records);
  auto& fields = dialog->editableState();
  fields.rangeFrom = "2";
  fields.rangeTo = "3";
  dialog->switchRangeMode(false);
  EXPECT_EQ(state().rangeFrom, "10:00:10");
  EXPECT_EQ(state().rangeTo, "10:00:20");
  EXPECT_EQ(state().rangeUnits, "");
  fields.rangeFrom = " 10:00:05 ";
  fields.rangeTo = "10:00:05";
  dialog->switchRangeMode(true);
  EXPECT_EQ(state().rangeFrom, "1");  // a start between records takes the record before
  EXPECT_EQ(state().rangeTo, "2");    // an end takes the record after
  EXPECT_EQ(state().rangeUnits, "записи");
  for (const char* bad : {"0", "5x", "4", ""}) {
    fields.rangeFrom = bad;
    dialog->switchRangeMode(false);
    EXPECT_EQ(state().rangeFrom, "") << bad;
    dialog->switchRangeMode(true);
  }
  fields.rangeFrom = "09:59:59";
  fields.rangeTo = "12:00:00 01/09/2023";
  dialog->switchRangeMode(true);
  EXPECT_EQ(state().rangeFrom, "");
  EXPECT_EQ(state().rangeTo, "");
}

TEST(PreviewPane, CodesAndTheBoundedUnderloadScan) {
  const DeviceCatalogue catalogue = test::summaryCatalogue(1);
  PreviewPane pane(catalogue);
  EXPECT_EQ(pane.update("   "), 1);
  EXPECT_EQ(pane.update("/nonexistent.bin"), 2);
  test::TempFile unknown(std::vector<std::uint8_t>(64, 0x11));
  EXPECT_EQ(pane.update(unknown.path()), 3);
  auto bytes = test::summaryFileBytes(1, steadyRecords(1, 10));
  bytes.resize(bytes.size() - 1);
  test::TempFile partial(bytes);
  EXPECT_EQ(pane.update(partial.path()), 4);
  EXPECT_FALSE(pane.succeeded());

  std::vector<SummaryRecord> records = steadyRecords(1000, 1);
  records[500].underload = {1};
  records[999].overload = {1};
  test::TempFile small(test::summaryFileBytes(1, records));
  EXPECT_EQ(pane.update(small.path() + " \t\v\f\r\n"), 0);
  EXPECT_TRUE(pane.succeeded());
  EXPECT_EQ(pane.model, "Модель");
  EXPECT_EQ(pane.records, "1000 записей");
  EXPECT_EQ(pane.step, "шаг: 1.0 сек");
  EXPECT_TRUE(pane.over);
  EXPECT_TRUE(pane.underShown);
  EXPECT_TRUE(pane.under);

  records.push_back(records.back());
  test::TempFile large(test::summaryFileBytes(1, records));
  EXPECT_EQ(pane.update(large.path()), 0);
  EXPECT_FALSE(pane.underShown);
  EXPECT_FALSE(pane.under);
  EXPECT_EQ(pane.update(""), 1);
  EXPECT_EQ(pane.model, "");
  EXPECT_FALSE(pane.succeeded());
}

}  // namespace
}  // namespace sonvera
