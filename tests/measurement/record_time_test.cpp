#include "measurement/record_time.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace sonvera {
namespace {

constexpr double kSecond = 1.0 / 86400.0;

void expectParts(const RecordTime& t, int y, int mo, int d, int h, int mi, int s) {
  ASSERT_TRUE(t.valid());
  EXPECT_EQ(t.year(), y);
  EXPECT_EQ(t.month(), mo);
  EXPECT_EQ(t.day(), d);
  EXPECT_EQ(t.hour(), h);
  EXPECT_EQ(t.minute(), mi);
  EXPECT_EQ(t.second(), s);
}

TEST(RecordTime, DayNumbersOfKnownDates) {
  EXPECT_EQ(RecordTime::fromParts(1899, 12, 30, 0, 0, 0).dayNumber(), 0.0);
  EXPECT_EQ(RecordTime::fromParts(1900, 1, 1, 0, 0, 0).dayNumber(), 2.0);
  EXPECT_EQ(RecordTime::fromParts(2023, 9, 1, 0, 0, 0).dayNumber(), 45170.0);
  EXPECT_EQ(RecordTime::fromParts(2023, 9, 1, 12, 0, 0).dayNumber(), 45170.5);
  EXPECT_EQ(RecordTime::fromParts(100, 1, 1, 0, 0, 0).dayNumber(), -657434.0);
  EXPECT_EQ(RecordTime::fromParts(9999, 12, 31, 0, 0, 0).dayNumber(), 2958465.0);
  // Before day 0 the fraction still counts forward from midnight.
  EXPECT_EQ(RecordTime::fromParts(1899, 12, 29, 6, 0, 0).dayNumber(), -1.25);
  EXPECT_EQ(RecordTime::fromParts(1899, 12, 29, 6, 0, 0).linear(), -0.75);
}

TEST(RecordTime, SecondsSince1970) {
  EXPECT_EQ(RecordTime::fromParts(1970, 1, 1, 0, 0, 0).secondsSince1970(), 0);
  EXPECT_EQ(RecordTime::fromParts(2000, 1, 1, 0, 0, 1).secondsSince1970(), 946684801);
  // 25569 days and 18 hours before 1970.
  EXPECT_EQ(RecordTime::fromParts(1899, 12, 29, 6, 0, 0).secondsSince1970(), -2209226400);
  EXPECT_EQ(RecordTime::fromDayNumber(25569 + 0.4 * kSecond).secondsSince1970(), 0);  // rounded
  EXPECT_FALSE(RecordTime().secondsSince1970());
}

TEST(RecordTime, PartsSurviveTheRoundTripEverywhere) {
  for (int year : {100, 101, 1600, 1899, 1900, 1970, 2000, 2023, 2100, 9999})
    for (int month = 1; month <= 12; ++month) {
      expectParts(RecordTime::fromParts(year, month, 1, 0, 0, 0), year, month, 1, 0, 0, 0);
      expectParts(RecordTime::fromParts(year, month, 28, 23, 59, 59), year, month, 28, 23, 59, 59);
      expectParts(RecordTime::fromParts(year, month, 13, 12, 30, 1), year, month, 13, 12, 30, 1);
    }
}

TEST(RecordTime, RejectsPartsThatNameNoMoment) {
  EXPECT_FALSE(RecordTime::fromParts(1900, 2, 29, 0, 0, 0).valid());
  EXPECT_TRUE(RecordTime::fromParts(2000, 2, 29, 0, 0, 0).valid());
  EXPECT_FALSE(RecordTime::fromParts(2023, 2, 29, 0, 0, 0).valid());
  EXPECT_FALSE(RecordTime::fromParts(2023, 4, 31, 0, 0, 0).valid());
  EXPECT_FALSE(RecordTime::fromParts(2023, 0, 1, 0, 0, 0).valid());
  EXPECT_FALSE(RecordTime::fromParts(2023, 13, 1, 0, 0, 0).valid());
  EXPECT_FALSE(RecordTime::fromParts(2023, 1, 0, 0, 0, 0).valid());
  EXPECT_FALSE(RecordTime::fromParts(2023, 1, 1, 24, 0, 0).valid());
  EXPECT_FALSE(RecordTime::fromParts(2023, 1, 1, 0, 60, 0).valid());
  EXPECT_FALSE(RecordTime::fromParts(2023, 1, 1, 0, 0, 60).valid());
  EXPECT_FALSE(RecordTime::fromParts(2023, 1, 1, -1, 0, 0).valid());
  EXPECT_FALSE(RecordTime::fromParts(99, 12, 31, 0, 0, 0).valid());
  EXPECT_FALSE(RecordTime::fromParts(10000, 1, 1, 0, 0, 0).valid());
}

TEST(RecordTime, InvalidTimeReadsMinusOne) {
  const RecordTime t;
  EXPECT_FALSE(t.valid());
  EXPECT_EQ(t.year(), -1);
  EXPECT_EQ(t.month(), -1);
  EXPECT_EQ(t.day(), -1);
  EXPECT_EQ(t.hour(), -1);
  EXPECT_EQ(t.minute(), -1);
  EXPECT_EQ(t.second(), -1);
  EXPECT_EQ(t.format("%d/%m/%Y"), "Invalid DateTime");
  EXPECT_EQ(t.format(""), "Invalid DateTime");
}

TEST(RecordTime, PartsRoundToTheNearestSecond) {
  const double noon = 45170.5;
  expectParts(RecordTime::fromDayNumber(noon + 0.4 * kSecond), 2023, 9, 1, 12, 0, 0);
  expectParts(RecordTime::fromDayNumber(noon + 0.6 * kSecond), 2023, 9, 1, 12, 0, 1);
  expectParts(RecordTime::fromDayNumber(noon - 0.4 * kSecond), 2023, 9, 1, 12, 0, 0);
  // Rounding carries into the next day, month and year.
  expectParts(RecordTime::fromDayNumber(45292.0 - 0.3 * kSecond), 2024, 1, 1, 0, 0, 0);
  // Below day 0: 1899-12-29 23:59:59.7 rounds forward to day 0.
  expectParts(RecordTime::fromDayNumber(-1.0 - (1.0 - 0.3 * kSecond)), 1899, 12, 30, 0, 0, 0);
  expectParts(RecordTime::fromDayNumber(-1.25), 1899, 12, 29, 6, 0, 0);
  expectParts(RecordTime::fromDayNumber(-2.5), 1899, 12, 28, 12, 0, 0);
  // Between -1 and 0 the whole part is day 0.
  expectParts(RecordTime::fromDayNumber(-0.5), 1899, 12, 30, 12, 0, 0);
}

TEST(RecordTime, DayNumbersOutsideTheCalendarAreInvalid) {
  EXPECT_TRUE(RecordTime::fromDayNumber(-657434.0).valid());
  EXPECT_FALSE(RecordTime::fromDayNumber(-657435.0).valid());
  EXPECT_TRUE(RecordTime::fromDayNumber(2958465.0 + 86399.0 * kSecond).valid());
  EXPECT_FALSE(RecordTime::fromDayNumber(2958466.0).valid());
  // 9999-12-31 23:59:59.6 would round into the year 10000.
  EXPECT_FALSE(RecordTime::fromDayNumber(2958466.0 - 0.4 * kSecond).valid());
  EXPECT_FALSE(RecordTime::fromDayNumber(std::numeric_limits<double>::quiet_NaN()).valid());
  EXPECT_FALSE(RecordTime::fromDayNumber(std::numeric_limits<double>::infinity()).valid());
  EXPECT_FALSE(RecordTime::fromDayNumber(1e300).valid());
}

TEST(RecordTime, ComparisonsAndSpansUseTheLinearScale) {
  const RecordTime a = RecordTime::fromParts(1899, 12, 29, 6, 0, 0);   // -1.25
  const RecordTime b = RecordTime::fromParts(1899, 12, 29, 18, 0, 0);  // -1.75
  const RecordTime c = RecordTime::fromParts(1899, 12, 30, 6, 0, 0);   // 0.25
  EXPECT_TRUE(later(b, a));
  EXPECT_FALSE(later(a, b));
  EXPECT_TRUE(later(c, b));
  EXPECT_FALSE(later(a, a));
  EXPECT_DOUBLE_EQ(difference(b, a).days, 0.5);
  EXPECT_DOUBLE_EQ(difference(c, a).days, 1.0);
  EXPECT_DOUBLE_EQ(difference(a, c).days, -1.0);
  EXPECT_TRUE(difference(a, c).valid);

  expectParts(add(a, 0.5), 1899, 12, 29, 18, 0, 0);
  EXPECT_DOUBLE_EQ(add(a, 0.5).dayNumber(), -1.75);
  expectParts(add(a, 1.0), 1899, 12, 30, 6, 0, 0);
  expectParts(add(c, -1.0), 1899, 12, 29, 6, 0, 0);
  expectParts(add(RecordTime::fromParts(2023, 12, 31, 23, 59, 59), kSecond), 2024, 1, 1, 0, 0, 0);
}

TEST(RecordTime, InvalidTimesNeitherCompareNorSubtract) {
  const RecordTime valid = RecordTime::fromParts(2023, 9, 1, 0, 0, 0);
  const RecordTime invalid;
  EXPECT_FALSE(later(valid, invalid));
  EXPECT_FALSE(later(invalid, valid));
  EXPECT_FALSE(difference(valid, invalid).valid);
  EXPECT_FALSE(difference(invalid, valid).valid);
  EXPECT_FALSE(add(invalid, 1.0).valid());
  EXPECT_FALSE(add(RecordTime::fromParts(9999, 12, 31, 23, 59, 59), kSecond).valid());
}

TEST(RecordTime, SpanLimit) {
  const RecordTime first = RecordTime::fromParts(100, 1, 1, 0, 0, 0);
  EXPECT_FALSE(difference(RecordTime::fromParts(9999, 12, 31, 0, 0, 0), first).valid);
  const RecordTime edge = RecordTime::fromDayNumber(-657434.0 + 3615897.0);
  EXPECT_TRUE(difference(edge, first).valid);
  EXPECT_FALSE(difference(add(edge, kSecond), first).valid);
  EXPECT_TRUE(difference(first, edge).valid);
}

TEST(RecordTime, WholeSecondsRoundsHalfAwayFromZero) {
  EXPECT_EQ(wholeSeconds(1.5 * kSecond), 2.0);
  EXPECT_EQ(wholeSeconds(-1.5 * kSecond), -2.0);
  EXPECT_EQ(wholeSeconds(10.5 * kSecond), 11.0);
  EXPECT_EQ(wholeSeconds(1.4 * kSecond), 1.0);
  EXPECT_EQ(wholeSeconds(-0.4 * kSecond), 0.0);
  EXPECT_EQ(wholeSeconds(0.0), 0.0);
  const RecordTime a = RecordTime::fromParts(2023, 9, 1, 10, 0, 0);
  const RecordTime b = RecordTime::fromParts(2023, 9, 3, 9, 59, 50);
  EXPECT_EQ(wholeSeconds(difference(b, a).days), 2 * 86400.0 - 10);
}

TEST(RecordTime, FormatUsesRoundedParts) {
  const RecordTime t = RecordTime::fromDayNumber(45170.5 + 59.6 * kSecond);
  EXPECT_EQ(t.format("%d/%m/%Y %H:%M:%S"), "01/09/2023 12:01:00");
  EXPECT_EQ(t.format("%d/%m/%y"), "01/09/23");
  EXPECT_EQ(t.format("%H:%M:%S %d/%m/%Y"), "12:01:00 01/09/2023");
  // Weekday and day of the year come from the date.
  EXPECT_EQ(t.format("%a %A %j %w"), "Fri Friday 244 5");
  EXPECT_EQ(RecordTime::fromParts(1899, 12, 30, 0, 0, 0).format("%A"), "Saturday");
  EXPECT_EQ(RecordTime::fromParts(1899, 12, 29, 0, 0, 0).format("%A"), "Friday");
  EXPECT_EQ(RecordTime::fromParts(100, 3, 1, 0, 0, 0).format("%Y-%m-%d"), "100-03-01");
}

TEST(RecordTime, FormatKeepsUtf8AndLimitsLength) {
  const RecordTime t = RecordTime::fromParts(2023, 9, 1, 12, 30, 5);
  EXPECT_EQ(t.format("Дата %d.%m"), "Дата 01.09");
  EXPECT_EQ(t.format("%%"), "%");
  // 256 Cyrillic letters are 256 UTF-16 units (512 bytes): allowed.
  std::string longest;
  for (int i = 0; i < 256; ++i) longest += "Я";
  EXPECT_EQ(t.format(longest), longest);
  EXPECT_EQ(t.format(longest + "x"), "");
  EXPECT_EQ(t.format(std::string(1000, 'x')), "");
}

TEST(RecordTime, FieldsOfRecords) {
  EXPECT_FALSE(recordTimeFromFields(0, 0).valid());
  EXPECT_FALSE(recordTimeFromFields(0x5721, 0xC7BC).valid());  // 12:30:60
  expectParts(recordTimeFromFields(0x5721, 0xC7BB), 2023, 9, 1, 12, 30, 59);
  EXPECT_EQ(fatDate(2023, 9, 1), 0x5721);
  EXPECT_EQ(timeField(12, 30, 59), 0xC7BBu);
  EXPECT_EQ(timeField(23, 59, 59), 23u << 12 | 59u << 6 | 59u);
  expectParts(recordTimeFromFields(fatDate(2107, 12, 31), timeField(23, 59, 59)), 2107, 12, 31, 23, 59, 59);
  EXPECT_FALSE(recordTimeFromFields(fatDate(2023, 9, 1), timeField(24, 0, 0)).valid());
}

TEST(RecordTime, SameDay) {
  const RecordTime a = RecordTime::fromParts(2023, 9, 1, 0, 0, 0);
  EXPECT_TRUE(a.sameDay(RecordTime::fromParts(2023, 9, 1, 23, 59, 59)));
  EXPECT_FALSE(a.sameDay(RecordTime::fromParts(2023, 9, 2, 0, 0, 0)));
  EXPECT_FALSE(a.sameDay(RecordTime()));
  EXPECT_FALSE(RecordTime().sameDay(RecordTime()));
}

}  // namespace
}  // namespace sonvera
