#include "measurement/instrument_stamps.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "support/scoped_environment.h"

namespace sonvera {
namespace {

std::uint32_t stamp32(std::uint32_t days, int hour, int minute, int second) {
  return days << 17 | timeField(hour, minute, second);
}

struct Ymd {
  int year, month, day;
};

Ymd dateOfDays(std::uint32_t days) {
  const RecordTime t = fromStamp32(stamp32(days, 0, 0, 0));
  return {t.year(), t.month(), t.day()};
}

void expectDate(std::uint32_t days, int year, int month, int day) {
  const Ymd d = dateOfDays(days);
  EXPECT_EQ(d.year, year) << "D=" << days;
  EXPECT_EQ(d.month, month) << "D=" << days;
  EXPECT_EQ(d.day, day) << "D=" << days;
}

// Low and high word of eight stamp bytes, byte 0 first.
void split(const std::uint8_t (&b)[8], std::uint32_t& low, std::uint32_t& high) {
  low = b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  high = b[4] | b[5] << 8 | b[6] << 16 | static_cast<std::uint32_t>(b[7]) << 24;
}

std::string fieldsText(const DateTimeFields& f) {
  return recordTimeFromFields(f.date, f.time).format("%Y-%m-%d %H:%M:%S");
}

TEST(Stamp32, DayCountsAcrossLeapCycles) {
  const RecordTime zero = fromStamp32(0);
  ASSERT_TRUE(zero.valid());
  EXPECT_EQ(zero.format("%Y-%m-%d %H:%M:%S"), "2000-01-01 00:00:00");
  expectDate(59, 2000, 2, 29);
  expectDate(365, 2000, 12, 31);
  expectDate(366, 2001, 1, 1);
  expectDate(366 + 59, 2001, 3, 1);
  expectDate(1095, 2002, 12, 31);
  expectDate(1096, 2003, 1, 1);
  expectDate(1460, 2003, 12, 31);
  expectDate(1461, 2004, 1, 1);
  expectDate(1461 + 59, 2004, 2, 29);
  expectDate(32767, 2089, 9, 17);
}

TEST(Stamp32, EveryDayCountIsTheNextCalendarDay) {
  const RecordTime start = RecordTime::fromParts(2000, 1, 1, 0, 0, 0);
  for (std::uint32_t d = 0; d < 32768; ++d) {
    const RecordTime t = fromStamp32(stamp32(d, 0, 0, 0));
    ASSERT_TRUE(t.valid()) << d;
    ASSERT_EQ(t.dayNumber(), start.dayNumber() + d) << d;
  }
}

TEST(Stamp32, TimeOfDayAndFields) {
  DateTimeFields fields;
  const RecordTime t = fromStamp32(stamp32(8644, 12, 30, 59), &fields);  // 2023-09-01
  EXPECT_EQ(t.format("%Y-%m-%d %H:%M:%S"), "2023-09-01 12:30:59");
  EXPECT_EQ(fields.date, 0x5721);
  EXPECT_EQ(fields.time, 0xC7BBu);
  EXPECT_EQ(stamp32Fields(stamp32(8644, 12, 30, 59)).date, fields.date);
  EXPECT_EQ(stamp32Fields(stamp32(8644, 12, 30, 59)).time, fields.time);
}

TEST(Stamp32, OutOfRangePartsAreInvalidAndLeaveFieldsAlone) {
  for (std::uint32_t bad : {stamp32(10, 24, 0, 0), stamp32(10, 0, 60, 0), stamp32(10, 0, 0, 60),
                            stamp32(10, 31, 63, 63)}) {
    DateTimeFields fields{0x1234, 0x5678};
    EXPECT_FALSE(fromStamp32(bad, &fields).valid());
    EXPECT_EQ(fields.date, 0x1234);
    EXPECT_EQ(fields.time, 0x5678u);
    const DateTimeFields raw = stamp32Fields(bad);
    EXPECT_FALSE(recordTimeFromFields(raw.date, raw.time).valid());
  }
}

TEST(Stamp64, EmptyStampStoresNothing) {
  EXPECT_FALSE(fromStamp64(0, 0).has_value());
  EXPECT_FALSE(fromStamp64(0, 0xF0000000).has_value());
  EXPECT_FALSE(fromStamp64(0, 0xE0000000).has_value());
  EXPECT_FALSE(fromStamp64(0, 0x30000000).has_value());
}

TEST(Stamp64, SecondsSince1970InLocalTime) {
  const std::uint32_t seconds = 1693571459;  // 2023-09-01 12:30:59 UTC
  {
    test::ScopedEnvironment zone("TZ", "UTC0");
    auto f = fromStamp64(seconds, 0xF0000000);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(fieldsText(*f), "2023-09-01 12:30:59");
  }
  {
    test::ScopedEnvironment zone("TZ", "MSK-3");
    auto f = fromStamp64(seconds, 0xF0000000);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(fieldsText(*f), "2023-09-01 15:30:59");
  }
}

TEST(Stamp64, SecondsOutsideTheDateFieldGiveAnInvalidTime) {
  test::ScopedEnvironment zone("TZ", "UTC0");
  // 1975 and 2200 do not fit the seven year bits; neither may alias another year.
  for (std::uint64_t seconds : {std::uint64_t{157766400}, std::uint64_t{7258118400}}) {
    auto f = fromStamp64(static_cast<std::uint32_t>(seconds), 0xF0000000 | static_cast<std::uint32_t>(seconds >> 32));
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->date, 0);
    EXPECT_FALSE(recordTimeFromFields(f->date, f->time).valid());
  }
  // Far beyond any calendar.
  auto f = fromStamp64(0xFFFFFFFF, 0xFFFFFFFF);
  ASSERT_TRUE(f.has_value());
  EXPECT_FALSE(recordTimeFromFields(f->date, f->time).valid());
}

TEST(Stamp64, Tag14CarriesA32BitStamp) {
  const std::uint32_t s = stamp32(8644, 12, 30, 59);
  auto f = fromStamp64(s, 0xE0000000);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->date, 0x5721);
  EXPECT_EQ(f->time, 0xC7BBu);
  // The high word below the tag is not looked at, only tested for emptiness.
  auto zeroStamp = fromStamp64(0, 0xE0000001);
  ASSERT_TRUE(zeroStamp.has_value());
  EXPECT_EQ(fieldsText(*zeroStamp), "2000-01-01 00:00:00");
  auto bad = fromStamp64(stamp32(1, 24, 0, 0), 0xE0000000);
  ASSERT_TRUE(bad.has_value());
  EXPECT_FALSE(recordTimeFromFields(bad->date, bad->time).valid());
}

TEST(Stamp64, PackedDecimalCalendar) {
  std::uint32_t low = 0, high = 0;
  const std::uint8_t endOfCentury[8] = {0x00, 0x59, 0x59, 0x23, 0x00, 0x31, 0x12, 0x99};
  split(endOfCentury, low, high);
  auto f = fromStamp64(low, high);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(fieldsText(*f), "2099-12-31 23:59:59");

  const std::uint8_t plusOneSecond[8] = {0x00, 0x59, 0x59, 0x23, 0x00, 0x31, 0x32, 0x99};
  split(plusOneSecond, low, high);
  f = fromStamp64(low, high);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(fieldsText(*f), "2100-01-01 00:00:00");

  // Unused bytes 0 and 4 are ignored.
  const std::uint8_t noise[8] = {0xAB, 0x05, 0x04, 0x03, 0xCD, 0x02, 0x01, 0x23};
  split(noise, low, high);
  f = fromStamp64(low, high);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(fieldsText(*f), "2023-01-02 03:04:05");
}

TEST(Stamp64, PackedDecimalThatNamesNoDateIsInvalid) {
  std::uint32_t low = 0, high = 0;
  const std::uint8_t badMonth[8] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x13, 0x23};
  split(badMonth, low, high);
  auto f = fromStamp64(low, high);
  ASSERT_TRUE(f.has_value());
  EXPECT_FALSE(recordTimeFromFields(f->date, f->time).valid());
  // Century 1 (2123) is a real date but beyond the date field.
  const std::uint8_t century[8] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x41, 0x23};
  split(century, low, high);
  f = fromStamp64(low, high);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->date, 0);
}

TEST(DecimalTime, PackedDigitsOfTheTimeOfDay) {
  const std::uint8_t bytes[4] = {0xFF, 0x59, 0x30, 0x12};
  EXPECT_EQ(fromDecimalTime(bytes), 0xC7BBu);
  const std::uint8_t top[4] = {0x00, 0x59, 0x59, 0x23};
  EXPECT_EQ(fromDecimalTime(top), timeField(23, 59, 59));
  // Tens bits beyond the field widths are not part of the digits.
  const std::uint8_t masked[4] = {0x00, 0x81, 0x82, 0xC3};
  EXPECT_EQ(fromDecimalTime(masked), timeField(3, 2, 1));
}

TEST(DecimalTime, DigitsBeyondTheFieldStayOutOfRange) {
  // Second 75, minute 75 and hour 45 must not spill into the next field.
  const std::uint8_t bytes[4] = {0x00, 0x7F, 0x7F, 0x3F};
  const std::uint32_t time = fromDecimalTime(bytes);
  EXPECT_EQ(time, timeField(31, 63, 63));
  EXPECT_FALSE(recordTimeFromFields(fatDate(2023, 9, 1), time).valid());
  const std::uint8_t second60[4] = {0x00, 0x60, 0x00, 0x00};
  EXPECT_FALSE(recordTimeFromFields(fatDate(2023, 9, 1), fromDecimalTime(second60)).valid());
}

}  // namespace
}  // namespace sonvera
