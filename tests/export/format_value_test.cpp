#include "export/format_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "measurement/record_values.h"

namespace sonvera {
namespace {

constexpr double kPressureReference = 2e-5;

std::string linearQuantity(double v, bool extended = true) {
  // Linear quantity with a linear form, three significant digits (four extended).
  return formatValue(v, 0x00C4, false, extended, 1.0);
}

TEST(FormatValue, LevelWithReferencePressure) {
  EXPECT_EQ(formatValue(94.0, 0x00D7, false, true, kPressureReference), "94.00");
  EXPECT_EQ(formatValue(94.0, 0x00D7, true, true, kPressureReference), "1.002E0");
  EXPECT_EQ(formatValue(94.0, 0x00D7, false, false, kPressureReference), "94.0");
  EXPECT_EQ(formatValue(94.0, 0x00D7, true, false, kPressureReference), "1.00E0");
  EXPECT_EQ(formatValue(-3.27, 0x00D7, false, true, kPressureReference), "-3.27");
}

TEST(FormatValue, DefaultWordActsAsDefaultLevel) {
  for (double v : {94.0, 0.0, -12.345, 140.0, 1e-200, 1e-222})
    for (bool linear : {false, true})
      for (bool extended : {false, true})
        EXPECT_EQ(formatValue(v, 0xFFFF, linear, extended, kPressureReference),
                  formatValue(v, 0x00D7, linear, extended, kPressureReference));
}

TEST(FormatValue, EngineeringExamples) {
  EXPECT_EQ(linearQuantity(0.0123), "12.30E-3");
  EXPECT_EQ(linearQuantity(-4500), "-4.500E3");
  EXPECT_EQ(linearQuantity(0), "0.000E0");
  EXPECT_EQ(linearQuantity(999.96), "1.000E3");
  // Linear units make no difference without the prefer-level bit.
  EXPECT_EQ(formatValue(0.0123, 0x00C4, true, true, 1.0), "12.30E-3");
}

TEST(FormatValue, EngineeringMantissaKeepsItsDigitsAtEveryThreshold) {
  EXPECT_EQ(linearQuantity(999.94), "999.9E0");
  EXPECT_EQ(linearQuantity(100.0), "100.0E0");
  EXPECT_EQ(linearQuantity(99.994), "99.99E0");
  EXPECT_EQ(linearQuantity(99.996), "100.0E0");
  EXPECT_EQ(linearQuantity(10.0), "10.00E0");
  EXPECT_EQ(linearQuantity(9.9994), "9.999E0");
  EXPECT_EQ(linearQuantity(9.9996), "10.00E0");
  EXPECT_EQ(linearQuantity(1.0), "1.000E0");
  EXPECT_EQ(linearQuantity(0.99994), "999.9E-3");
  EXPECT_EQ(linearQuantity(0.99996), "1.000E0");
  EXPECT_EQ(linearQuantity(1000.0), "1.000E3");
  EXPECT_EQ(linearQuantity(-0.00099996), "-1.000E-3");
  EXPECT_EQ(linearQuantity(1.5e-7), "150.0E-9");
  EXPECT_EQ(linearQuantity(2.5e-10), "250.0E-12");
  EXPECT_EQ(linearQuantity(123456789.0), "123.5E6");
  // Three digits without the extension: thresholds 999.5, 99.95, 9.995.
  EXPECT_EQ(linearQuantity(999.4, false), "999E0");
  EXPECT_EQ(linearQuantity(999.6, false), "1.00E3");
  EXPECT_EQ(linearQuantity(99.96, false), "100E0");
  EXPECT_EQ(linearQuantity(9.996, false), "10.0E0");
  EXPECT_EQ(linearQuantity(0, false), "0.00E0");
}

TEST(FormatValue, EngineeringTextHasExactlyTheSignificantDigits) {
  for (int digits = 3; digits <= 9; ++digits) {
    const DisplayFormat f = 0x0004 | static_cast<DisplayFormat>(digits - 1) << 6;
    for (double v = 1.234e-12; v < 1e12; v *= 1.0137) {
      for (double signedValue : {v, -v}) {
        const std::string text = formatValue(signedValue, f, false, true, 1.0);
        const std::size_t e = text.find('E');
        ASSERT_NE(e, std::string::npos) << text;
        const std::string mantissa = text.substr(signedValue < 0 ? 1 : 0, e - (signedValue < 0 ? 1 : 0));
        const int exponent = std::stoi(text.substr(e + 1));
        EXPECT_EQ(exponent % 3, 0) << text;
        const double m = std::stod(mantissa);
        EXPECT_GE(m, 1.0) << text;
        EXPECT_LT(m, 1000.0) << text;
        int significant = 0;
        for (char c : mantissa) significant += c >= '0' && c <= '9';
        EXPECT_EQ(significant, digits) << text;
        EXPECT_NEAR(m * std::pow(10.0, exponent) / v, 1.0, 0.51 * std::pow(10.0, 1 - digits)) << text;
      }
    }
  }
}

TEST(FormatValue, SignificantDigitsAreLimitedToThreeToNine) {
  EXPECT_EQ(formatValue(12345, 0x0004, false, false, 1.0), "12.3E3");
  EXPECT_EQ(formatValue(12345, 0x0004, false, true, 1.0), "12.3E3");
  EXPECT_EQ(formatValue(12345, 0x0044, false, true, 1.0), "12.3E3");
  EXPECT_EQ(formatValue(1.0 / 3, 0x03C4, false, true, 1.0), "333.333333E-3");
  EXPECT_EQ(formatValue(1.0 / 3, 0x0244, false, false, 1.0), "333.333333E-3");
  EXPECT_EQ(formatValue(1.0 / 3, 0x0204, false, false, 1.0), "333.33333E-3");
  EXPECT_EQ(formatValue(0, 0x03C4, false, true, 1.0), "0.00000000E0");
}

TEST(FormatValue, LinearQuantityAsLevel) {
  // Bit 2 clear: always a level, even with linear units on.
  const double v = kPressureReference * std::pow(10.0, 94.0 / 20);
  EXPECT_EQ(formatValue(v, 0x00C0, true, true, kPressureReference), "94.0");
  EXPECT_EQ(formatValue(-v, 0x00C0, true, true, kPressureReference), "94.0");
  EXPECT_EQ(formatValue(0, 0x00C0, true, true, kPressureReference), "0.0");
  // Prefer-level bit with a linear form: a level unless linear units are on.
  EXPECT_EQ(formatValue(v, 0x00C6, false, true, kPressureReference), "94.0");
  EXPECT_EQ(formatValue(v, 0x00C6, true, true, kPressureReference), "1.002E0");
}

TEST(FormatValue, FixedLinearForm) {
  EXPECT_EQ(formatValue(94.0, 0x10D7, true, true, kPressureReference), "1.00");
  EXPECT_EQ(formatValue(94.0, 0x10D7, false, true, kPressureReference), "94.00");
  EXPECT_EQ(formatValue(12.3456, 0x1024, false, true, 1.0), "12.346");
  EXPECT_EQ(formatValue(12.3456, 0x1024, false, false, 1.0), "12.35");
  EXPECT_EQ(formatValue(-0.5, 0x1004, false, false, 1.0), "-0");
}

TEST(FormatValue, LevelDecimals) {
  EXPECT_EQ(formatValue(94.123456789, 0x0003, false, false, 1.0), "94");
  EXPECT_EQ(formatValue(94.123456789, 0x0033, false, false, 1.0), "94.123");
  EXPECT_EQ(formatValue(94.123456789, 0x0033, false, true, 1.0), "94.1235");
  // Bit 14 takes the decimals from bits 6-9 and ignores bits 4-5.
  EXPECT_EQ(formatValue(94.123456789, 0x4143, false, true, 1.0), "94.123457");
  EXPECT_EQ(formatValue(94.123456789, 0x4033, false, false, 1.0), "94");
  EXPECT_EQ(formatValue(94.05, 0x0013, false, false, 1.0), "94.0");  // stored just below 94.05
}

TEST(FormatValue, MarkerValues) {
  for (DisplayFormat f : {0xFFFFu, 0x00D7u, 0x00C4u, 0x00C0u, 0x10D7u, 0x8000u}) {
    EXPECT_EQ(formatValue(NoValue, f, false, true, 1.0), "") << f;
    EXPECT_EQ(formatValue(DashValue, f, true, true, 1.0), "---") << f;
  }
  // Only the exact values are markers.
  EXPECT_EQ(linearQuantity(1.0000001e-200), "10.00E-201");
  EXPECT_EQ(formatValue(1e-222 * 1.5, 0x00D7, false, true, 1.0), "0.00");
}

TEST(FormatValue, DateValues) {
  const double dayNumber = RecordTime::fromParts(2023, 9, 1, 12, 0, 59).dayNumber();
  EXPECT_EQ(formatValue(dayNumber, 0x8000, false, true, 1.0), "12:00:59 01/09/2023");
  EXPECT_EQ(formatValue(dayNumber + 0.4 / 86400, 0x8000, true, false, 1.0), "12:00:59 01/09/2023");
  EXPECT_EQ(formatValue(0.0, 0x8000, false, true, 1.0), "00:00:00 30/12/1899");
  EXPECT_EQ(formatValue(1e10, 0x8000, false, true, 1.0), "Invalid DateTime");
  // Only the whole word means a date.
  EXPECT_NE(formatValue(dayNumber, 0x18000, false, true, 1.0), "12:00:59 01/09/2023");
}

TEST(FormatValue, BrokenReferencesDoNotCrash) {
  EXPECT_EQ(formatValue(94.0, 0x00D7, true, true, 0.0), "0.000E0");
  EXPECT_FALSE(formatValue(94.0, 0x00D7, true, true, std::nan("")).empty());
  EXPECT_FALSE(formatValue(1e308, 0x00D7, true, true, 1.0).empty());
  EXPECT_FALSE(linearQuantity(std::nan("")).empty());
  EXPECT_EQ(linearQuantity(INFINITY), "inf");
}

TEST(FormatFrequency, RoundsIntoTheNextUnit) {
  EXPECT_EQ(formatFrequency(31.5), "31.50");
  EXPECT_EQ(formatFrequency(0.8), "0.80");
  EXPECT_EQ(formatFrequency(999.4), "999.40");
  EXPECT_EQ(formatFrequency(999.6), "1.000k");
  EXPECT_EQ(formatFrequency(1000), "1.000k");
  EXPECT_EQ(formatFrequency(12500), "12.500k");
  EXPECT_EQ(formatFrequency(999499), "999.499k");
  EXPECT_EQ(formatFrequency(999500), "1.000m");
  EXPECT_EQ(formatFrequency(2.5e6), "2.500m");
}

TEST(ShortName, TextAfterTheLastComma) {
  EXPECT_EQ(shortName("a,b,c"), "c");
  EXPECT_EQ(shortName("a,b,"), "b");
  EXPECT_EQ(shortName("abc"), "abc");
  EXPECT_EQ(shortName(",abc"), ",abc");
  EXPECT_EQ(shortName(","), "");
  EXPECT_EQ(shortName(""), "");
  EXPECT_EQ(shortName("a,,"), "");
  EXPECT_EQ(shortName(",,"), ",");
  EXPECT_EQ(shortName("Канал 1,Уровень,31.50"), "31.50");
  EXPECT_EQ(shortName("Канал 1,LAeq,"), "LAeq");
}

TEST(ColumnSafe, LineBreaksAndTheSeparatorBecomeSpaces) {
  // A file's own band name with a line break once split the header line in two.
  EXPECT_EQ(columnSafe("Ж\r\nb;c\td", ';'), "Ж  b c d");
  EXPECT_EQ(columnSafe("a;b c", '\t'), "a;b c");
  EXPECT_EQ(columnSafe("a b", ' '), "a b");
}

TEST(ResultTexts, DateTimeAndDecimalComma) {
  const RecordTime t = RecordTime::fromParts(2023, 9, 1, 7, 5, 3);
  EXPECT_EQ(dateText(t), "01/09/23");
  EXPECT_EQ(timeText(t), "07:05:03");
  EXPECT_EQ(dateText(RecordTime()), "Invalid DateTime");
  EXPECT_EQ(timeText(RecordTime()), "Invalid DateTime");
  EXPECT_EQ(withDecimalComma("12.5"), "12,5");
  EXPECT_EQ(withDecimalComma("1.002E-3"), "1,002E-3");
  EXPECT_EQ(withDecimalComma("01/09/23"), "01/09/23");
}

}  // namespace
}  // namespace sonvera
