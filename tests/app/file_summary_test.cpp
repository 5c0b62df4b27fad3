#include <gtest/gtest.h>

#include "app/main_dialog.h"
#include "app/strings.h"
#include "measurement/measurement_writer.h"
#include "support/measurement_catalogue.h"
#include "support/scripted_host.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

constexpr std::uint16_t kType = 40;
constexpr std::uint16_t kModel = 9;
constexpr ParameterCode kStamp = 0x50070000;
constexpr ParameterCode kSerial = 0x50040000;
constexpr ParameterCode kModelCode = 0x201C0000;

// A paired-word layout: type, model, serial in 0x20000..0x5FFFF, stamp, then
// per channel a level, overload, underload and calibration values.
DeviceDescription layoutFor(int channels) {
  std::vector<ParameterCode> layout{0x201B0000, kModelCode, kSerial, kStamp};
  for (int c = 0; c < channels; ++c) {
    const auto ch = static_cast<std::uint32_t>(c);
    layout.insert(layout.end(), {0x01100000 | ch << 16, 0x40130000 | ch, 0x40140000 | ch,
                                 0x500A0000 | ch, 0x500B0000 | ch, 0x500C0000 | ch});
  }
  DeviceDescription d = test::describe(layout);
  d.defaultReference = 2e-5;
  return d;
}

struct Record {
  RecordTime time;
  std::vector<std::uint16_t> overload, underload;  // per channel
};

class FileSummaryTest : public ::testing::Test {
 protected:
  void open(int channels, const std::vector<Record>& records) {
    catalogue = test::catalogueWithModel(kModel);
    const DeviceDescription d = layoutFor(channels);
    test::addType(catalogue, kType, d);
    MeasurementFileSource source;
    source.variant = FileVariant::PairedWord;
    for (const Record& r : records) {
      RecordEncoder e(d);
      e.setRaw(0x201B0000, kType);
      e.setRaw(kModelCode, kModel);
      e.setRaw(kSerial, 0x2ABCD);
      e.setValue(kStamp, r.time.dayNumber());
      for (int c = 0; c < channels; ++c) {
        const auto ch = static_cast<std::uint32_t>(c);
        e.setValue(0x01100000 | ch << 16, 60 + c);
        if (c < static_cast<int>(r.overload.size())) e.setRaw(0x40130000 | ch, r.overload[c]);
        if (c < static_cast<int>(r.underload.size())) e.setRaw(0x40140000 | ch, r.underload[c]);
        e.setValue(0x500A0000 | ch, 0.25 * (c + 1));
        e.setValue(0x500B0000 | ch, c == 0 ? 0.0 : 1e-3);
        e.setValue(0x500C0000 | ch, 50e-3);
      }
      source.records.push_back(e.encode());
    }
    file = std::make_unique<test::TempFile>(measurementFileBytes(source));
    dialog = std::make_unique<MainDialog>(catalogue, host);
    opened = dialog->openFile(file->path());
  }
  const MainDialogState& state() const { return dialog->state(); }

  static std::vector<Record> steady(int count, int stepSeconds, int startMinute = 0) {
    std::vector<Record> records;
    for (int i = 0; i < count; ++i) {
      const int s = startMinute * 60 + i * stepSeconds;
      records.push_back({RecordTime::fromParts(2023, 9, 1, 10 + s / 3600, s / 60 % 60, s % 60), {0, 0}, {0, 0}});
    }
    return records;
  }

  DeviceCatalogue catalogue;
  test::ScriptedHost host;
  std::unique_ptr<test::TempFile> file;
  std::unique_ptr<MainDialog> dialog;
  bool opened = false;
};

TEST_F(FileSummaryTest, HeadlineFieldsAndTitle) {
  open(1, steady(10, 10));
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
  open(1, steady(1, 10));
  EXPECT_EQ(state().span, "01/09/2023 10:00:00");
  EXPECT_EQ(state().step, "");
  std::vector<Record> back = steady(3, 10);
  back[2].time = RecordTime::fromParts(2023, 8, 31, 9, 0, 0);
  open(1, back);
  EXPECT_EQ(state().step, "");
  EXPECT_EQ(state().span, "01/09/2023 10:00:00 - 31/08/2023 09:00:00");
}

TEST_F(FileSummaryTest, UnderloadOfTheSecondChannel) {
  std::vector<Record> records = steady(200, 1);
  for (int i = 3; i < 28; ++i) records[i].underload = {0, 1};
  open(2, records);
  ASSERT_TRUE(opened);
  EXPECT_TRUE(state().under);
  EXPECT_EQ(state().underloadSummary, "B: 12.5% с 4 (10:00:03)");
  EXPECT_EQ(state().underloadDetails, "B: 12.5% времени начиная с 4 записи (10:00:03)");
  EXPECT_FALSE(state().over);
}

TEST_F(FileSummaryTest, OverloadOfOneChannelFileLosesTheChannelName) {
  std::vector<Record> records = steady(4, 1);
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
  std::vector<Record> records = steady(2, 10);
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
  open(1, steady(3, 10));
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

}  // namespace
}  // namespace sonvera
