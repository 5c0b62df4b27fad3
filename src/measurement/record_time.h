#pragma once
// The one time type of the program: a day number on the OLE Automation scale
// (days since 1899-12-30 00:00) with a validity flag, and the packed date and
// time fields that records carry.
//
// Before 1899-12-30 the whole part of a day number counts backward while its
// fraction still counts forward from midnight (-1.25 is 1899-12-29 06:00).
// Comparisons, differences and sums therefore work on a linear value, which
// equals the day number from 0 on and is 2 * ceil(d) - d below it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sonvera {

class RecordTime {
 public:
  RecordTime() = default;  // invalid

  // Valid when the parts name an existing day of the years 100 to 9999 and a
  // time of day from 00:00:00 to 23:59:59.
  static RecordTime fromParts(int year, int month, int day, int hour, int minute, int second);
  // Valid when the number is finite and, rounded to the second, lies within
  // the years 100 to 9999.
  static RecordTime fromDayNumber(double dayNumber);
  // The same from a value on the linear scale.
  static RecordTime fromLinear(double linearDays);

  bool valid() const { return valid_; }
  double dayNumber() const { return day_; }
  double linear() const;
  // The time rounded to the second, counted in seconds from 1970-01-01 00:00
  // on the same clock (no time zone is applied); nothing when invalid.
  std::optional<std::int64_t> secondsSince1970() const;

  // Parts of the time rounded to the nearest second; -1 when invalid.
  int year() const;
  int month() const;
  int day() const;
  int hour() const;
  int minute() const;
  int second() const;

  // strftime conversion specifiers applied to the rounded parts (C locale),
  // UTF-8 in and out. A text longer than 256 UTF-16 code units comes out
  // empty; an invalid time gives "Invalid DateTime".
  std::string format(std::string_view pattern) const;

  // Same calendar day (both valid).
  bool sameDay(const RecordTime& other) const;

  // Every part at once (the single ones above each convert anew); false when invalid.
  struct Parts {
    int year, month, day, hour, minute, second;
    int weekday;    // 0 = Sunday
    int yearDay;    // 0 = 1 January
  };
  bool parts(Parts& out) const;

 private:

  double day_ = 0;
  bool valid_ = false;
};

// A span of days; invalid when either time was invalid or the span lies
// outside +-3615897 days.
struct TimeSpan {
  double days = 0;
  bool valid = false;
};

inline constexpr double kMaxSpanDays = 3615897.0;
inline constexpr double kSecondsPerDay = 86400.0;

TimeSpan difference(const RecordTime& a, const RecordTime& b);  // a - b
// The span in seconds, rounded half away from zero to a whole number.
double wholeSeconds(double spanDays);
// a > b; false when either is invalid.
bool later(const RecordTime& a, const RecordTime& b);
// t + span; invalid when t is invalid or the sum leaves the years 100 to 9999.
RecordTime add(const RecordTime& t, double spanDays);

// FAT date (bits 9-15 year - 1980, 5-8 month, 0-4 day) and the 32-bit time
// field (hour << 12 | minute << 6 | second).
RecordTime recordTimeFromFields(std::uint16_t date, std::uint32_t time);
std::uint16_t fatDate(int year, int month, int day);
std::uint32_t timeField(int hour, int minute, int second);

// True when the year fits the seven bits of a FAT date.
inline bool fitsFatDate(int year) { return year >= 1980 && year <= 1980 + 127; }

}  // namespace sonvera
