#include "export/result_format.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "measurement/record_values.h"
#include "platform/platform.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;

// Windows-1251 of the fixed texts.
#define DATE_1251 "\xC4\xE0\xF2\xE0"
#define TIME_1251 "\xC2\xF0\xE5\xEC\xFF"
#define RANGE_1251 "\xC4\xE8\xE0\xEF\xE0\xE7\xEE\xED\x20\xE7\xE0\xEF\xE8\xF1\xE5\xE9\x3A"
#define OVERLOAD_1251 "\xCF\xE5\xF0\xE5\xE3\xF0\xF3\xE7\xEA\xE0"
#define UNDERLOAD_1251 "\xCD\xE5\xE4\xEE\xE3\xF0\xF3\xE7\xEA\xE0"
#define MARKERS_1251 "\xCC\xE0\xF0\xEA\xE5\xF0\xFB"

constexpr double kPascal = 2e-5;

RecordTime at(int hour, int minute, int second) { return RecordTime::fromParts(2023, 9, 1, hour, minute, second); }

// The bytes a writer leaves in a fresh file.
std::string written(const std::function<void(ResultWriter&)>& write) {
  const fs::path path = fs::temp_directory_path() /
                        ("sonvera-format-" + std::to_string(::getpid()) + "-" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
  ResultWriter out;
  EXPECT_TRUE(out.create(path.string()));
  write(out);
  EXPECT_TRUE(out.close());
  std::vector<std::uint8_t> bytes;
  EXPECT_TRUE(platform::readWholeFile(path.string(), bytes));
  fs::remove(path);
  return {bytes.begin(), bytes.end()};
}

TEST(ResultFormat, SeparatorOfTheOption) {
  EXPECT_EQ(valueSeparator(0), ';');
  EXPECT_EQ(valueSeparator(1), '\t');
  EXPECT_EQ(valueSeparator(2), ' ');
  EXPECT_EQ(valueSeparator(-1), ' ');
  EXPECT_EQ(valueSeparator(7), ' ');
}

TEST(ResultFormat, EveryOptionOffWithOneColumn) {
  const ResultFormatOptions options;
  const std::vector<std::string> names{"Канал 1,Lp"};
  const FieldValue value{94.0, 0xFFFF, kPascal};
  EXPECT_EQ(written([&](ResultWriter& out) {
              writeDataHeader(out, options, names);
              writeDataLine(out, options, 1, at(10, 0, 0), std::span(&value, 1));
              writeDataLine(out, options, 2, at(10, 0, 1), std::span(&value, 1));
            }),
            "\xCA\xE0\xED\xE0\xEB 1,Lp;\r\n94.00;\r\n94.00;\r\n");
}

TEST(ResultFormat, TabDecimalCommaNumberAndTime) {
  ResultFormatOptions options;
  options.separator = valueSeparator(1);
  options.decimalComma = true;
  options.recordNumber = true;
  options.dateTime = true;
  const std::vector<std::string> names{"L", "x"};
  const std::vector<FieldValue> values{{12.5, 0x00C7, kPascal}, {-4500, 0x00C4, 1}};
  EXPECT_EQ(written([&](ResultWriter& out) {
              writeDataHeader(out, options, names);
              writeDataLine(out, options, 7, at(10, 0, 5), values);
              writeDataLine(out, options, 4294967295u, RecordTime{}, values);
            }),
            "N\t" DATE_1251 "\t" TIME_1251 "\tL\tx\t\r\n"
            "7\t01/09/23\t10:00:05\t12,5\t-4,500E3\t\r\n"
            "4294967295\tInvalid DateTime\tInvalid DateTime\t12,5\t-4,500E3\t\r\n");
}

TEST(ResultFormat, LineInPiecesWithMarkerValuesAndLinearUnits) {
  ResultFormatOptions options;
  options.dateTime = true;
  options.linearUnits = true;
  EXPECT_EQ(written([&](ResultWriter& out) {
              writeLinePrefix(out, options, 3, at(23, 59, 59));
              writeValueField(out, options, NoValue, 0xFFFF, kPascal);
              writeValueField(out, options, 94.0, 0xFFFF, kPascal);
              writeValueField(out, options, NoValue, 0x00C4, 1);
              writeValueField(out, options, DashValue, 0x00C4, 1);
              out.endLine();
              options.dateTime = false;
              writeLinePrefix(out, options, 3, at(23, 59, 59));
              writeValueField(out, options, NoValue, 0xFFFF, kPascal);
              out.endLine();
            }),
            "01/09/23;23:59:59;;1.002E0;;---;\r\n;\r\n");
}

TEST(ResultFormat, ShortNamesInTheHeader) {
  ResultFormatOptions options;
  options.separator = ' ';
  options.shortNames = true;
  const std::vector<std::string> names{"a,b,c", "a,b,", "abc", ",abc", ",", "", "Канал,Октавы,31.50"};
  EXPECT_EQ(written([&](ResultWriter& out) { writeDataHeader(out, options, names); }),
            "c b abc ,abc   31.50 \r\n");
  // No columns at all: an empty line.
  EXPECT_EQ(written([&](ResultWriter& out) { writeDataHeader(out, options, {}); }), "\r\n");
}

TEST(ResultFormat, SourceBlockWithEveryItem) {
  SourceInformation s;
  s.path = "/data/изм.bin";
  s.comment = "цех 2; a";
  s.instrumentTitle = "Модель";
  s.vin = 0x1A2B;
  s.firstRecordNumber = 1;
  s.lastRecordNumber = 3;
  s.firstTime = at(10, 0, 0);
  s.lastTime = at(10, 0, 20);
  s.calibrationLines = {"Канал 1: -0.5 дБ", "x"};
  s.channels = {{"A", "Па"}, {"B", "м/с2"}};
  s.underload = "1";
  s.overload = "1, 2";
  s.markers = {{2, at(10, 0, 20)}, {0, at(10, 0, 0)}};
  EXPECT_EQ(written([&](ResultWriter& out) { writeSourceBlock(out, ';', s); }),
            "/data/\xE8\xE7\xEC.bin\r\n"
            "\xF6\xE5\xF5 2; a\r\n"
            "\xCC\xEE\xE4\xE5\xEB\xFC\r\n"
            "VIN=01A2B\r\n"
            RANGE_1251 ";1;3;\r\n"
            RANGE_1251 "01/09/23;10:00:00;01/09/23;10:00:20;\r\n"
            "\xCA\xE0\xED\xE0\xEB 1: -0.5 \xE4\xC1\r\n"
            "x\r\n"
            "A: \xCF\xE0;B: \xEC/\xF1" "2;\r\n"
            UNDERLOAD_1251 ": 1\r\n"
            OVERLOAD_1251 ": 1, 2\r\n"
            MARKERS_1251 "\r\n"
            "1;1;01/09/23;10:00:00;\r\n"
            "2;3;01/09/23;10:00:20;\r\n"
            "\r\n");
}

TEST(ResultFormat, SourceBlockWithNothingOptional) {
  SourceInformation s;
  s.vin = 0x123456;
  s.firstRecordNumber = 5;
  s.lastRecordNumber = 5;
  EXPECT_EQ(written([&](ResultWriter& out) { writeSourceBlock(out, '\t', s); }),
            "\r\n\r\n\r\nVIN=123456\r\n" RANGE_1251 "\t5\t5\t\r\n" RANGE_1251
            "Invalid DateTime\tInvalid DateTime\tInvalid DateTime\tInvalid DateTime\t\r\n"
            "\r\n\r\n");
}

StatisticsSettings everyStatistic() {
  StatisticsSettings s;
  s.minimum = s.maximum = s.leq = s.le = s.exceedance = 1;
  s.threshold = 80;
  s.percentiles = {10, 50, 90, 0, 100, -5};
  return s;
}

TEST(ResultFormat, StatisticsOfOneRecord) {
  ColumnAccumulator level, unused;
  level.accumulate(80.3, true, kPascal);
  const std::vector<StatisticsColumn> columns{{"Канал 1,Lp", 0xFFFF, kPascal, &level},
                                              {"never", 0xFFFF, kPascal, &unused}};
  ResultFormatOptions options;
  EXPECT_EQ(written([&](ResultWriter& out) { writeStatisticsTable(out, options, everyStatistic(), columns, 0); }),
            ";Min;Max;Leq;LE;n80,%;L10;L50;L90;\r\n"
            "\xCA\xE0\xED\xE0\xEB 1,Lp;80.30;80.30;80.30;80.30;0;80.5;80.5;80.5;\r\n");
  EXPECT_EQ(level.count, 0);

  // Linear units, the decimal comma and a tab; the full name even with short names.
  level.accumulate(80.3, true, kPascal);
  options.separator = '\t';
  options.decimalComma = true;
  options.linearUnits = true;
  options.shortNames = true;
  EXPECT_EQ(written([&](ResultWriter& out) { writeStatisticsTable(out, options, everyStatistic(), columns, 0); }),
            "\tMin\tMax\tLeq\tLE\tn80,%\tL10\tL50\tL90\t\r\n"
            "\xCA\xE0\xED\xE0\xEB 1,Lp\t207,0E-3\t207,0E-3\t207,0E-3\t207,0E-3\t0\t80,5\t80,5\t80,5\t\r\n");
}

TEST(ResultFormat, StatisticsOfTwoLevelsAndALinearColumn) {
  ColumnAccumulator level, linear;
  for (const double v : {60.0, 70.0}) level.accumulate(v, true, kPascal);
  for (const double v : {3.0, 4.0}) linear.accumulate(v, false, 1);
  const std::vector<StatisticsColumn> columns{{"L", 0x00D7, kPascal, &level}, {"v", 0x00C4, 1, &linear}};
  StatisticsSettings s;
  s.leq = s.le = s.exceedance = 1;
  s.threshold = 65;
  s.percentiles = {50, 0, 50, 90, 0, 0};
  EXPECT_EQ(written([&](ResultWriter& out) { writeStatisticsTable(out, ResultFormatOptions{}, s, columns, 100); }),
            ";Leq;LE;n65,%;L50;L90;\r\n"
            "L;67.40;87.40;50;70.5;60.5;\r\n"
            "v;3.536E0;35.36E0;0;4.5;3.5;\r\n");
  EXPECT_EQ(linear.count, 0);
}

TEST(ResultFormat, NothingWithoutChosenStatistics) {
  ColumnAccumulator level;
  level.accumulate(80.3, true, kPascal);
  const std::vector<StatisticsColumn> columns{{"L", 0xFFFF, kPascal, &level}};
  StatisticsSettings s;
  s.percentiles = {0, 100, -1, 0, 0, 0};
  EXPECT_EQ(written([&](ResultWriter& out) { writeStatisticsTable(out, ResultFormatOptions{}, s, columns, 5); }), "");
  EXPECT_EQ(level.count, 0);
}

}  // namespace
}  // namespace sonvera
