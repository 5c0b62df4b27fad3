#include "measurement/record_time.h"

#include <cmath>
#include <ctime>

#include "base/utf16.h"

namespace sonvera {
namespace {

// Day 0 of the day-number scale, 1899-12-30, counted from 1970-01-01.
constexpr long long kEpochOffsetDays = 25569;
constexpr long long kSecondsPerDayInt = 86400;
// 0100-01-01 and 9999-12-31, the first and last day a time may fall on.
constexpr long long kFirstDay = -657434;
constexpr long long kLastDay = 2958465;
constexpr long long kFirstSecond = kFirstDay * kSecondsPerDayInt;
constexpr long long kLastSecond = kLastDay * kSecondsPerDayInt + kSecondsPerDayInt - 1;
constexpr int kMaxTextUnits = 256;

bool leapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date.
long long daysFromCivil(int year, int month, int day) {
  const long long y = year - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yearOfEra = y - era * 400;
  const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(long long days, int& year, int& month, int& day) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long mp = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

long long floorDiv(long long a, long long b) {
  const long long q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

double toLinear(double dayNumber) {
  if (dayNumber >= 0) return dayNumber;
  const double whole = std::ceil(dayNumber);
  return whole - (dayNumber - whole);
}

double fromLinearValue(double linear) {
  if (linear >= 0) return linear;
  const double whole = std::floor(linear);
  return whole + (whole - linear);
}

// The linear value rounded to the nearest second; false outside the years
// 100 to 9999 (and for NaN or infinity).
bool roundedSeconds(double linear, long long& seconds) {
  if (!(linear >= static_cast<double>(kFirstDay - 1) && linear <= static_cast<double>(kLastDay + 2)))
    return false;
  seconds = static_cast<long long>(std::floor(linear * kSecondsPerDay + 0.5));
  return seconds >= kFirstSecond && seconds <= kLastSecond;
}

}  // namespace

RecordTime RecordTime::fromParts(int year, int month, int day, int hour, int minute, int second) {
  RecordTime t;
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > daysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59)
    return t;
  const long long dayNumber = daysFromCivil(year, month, day) + kEpochOffsetDays;
  const double fraction = (hour * 3600 + minute * 60 + second) / kSecondsPerDay;
  t.day_ = static_cast<double>(dayNumber) + (dayNumber >= 0 ? fraction : -fraction);
  t.valid_ = true;
  return t;
}

RecordTime RecordTime::fromDayNumber(double dayNumber) {
  RecordTime t;
  long long seconds = 0;
  if (!std::isfinite(dayNumber) || !roundedSeconds(toLinear(dayNumber), seconds)) return t;
  t.day_ = dayNumber;
  t.valid_ = true;
  return t;
}

RecordTime RecordTime::fromLinear(double linearDays) {
  long long seconds = 0;
  if (!roundedSeconds(linearDays, seconds)) return {};
  return fromDayNumber(fromLinearValue(linearDays));
}

double RecordTime::linear() const { return toLinear(day_); }

std::optional<std::int64_t> RecordTime::secondsSince1970() const {
  long long seconds = 0;
  if (!valid_ || !roundedSeconds(linear(), seconds)) return std::nullopt;
  return seconds - kEpochOffsetDays * kSecondsPerDayInt;
}

bool RecordTime::parts(Parts& out) const {
  long long seconds = 0;
  if (!valid_ || !roundedSeconds(linear(), seconds)) return false;
  const long long days = floorDiv(seconds, kSecondsPerDayInt);
  const long long secondOfDay = seconds - days * kSecondsPerDayInt;
  const long long civilDays = days - kEpochOffsetDays;
  civilFromDays(civilDays, out.year, out.month, out.day);
  out.hour = static_cast<int>(secondOfDay / 3600);
  out.minute = static_cast<int>(secondOfDay / 60 % 60);
  out.second = static_cast<int>(secondOfDay % 60);
  out.weekday = static_cast<int>(civilDays + 4 - floorDiv(civilDays + 4, 7) * 7);  // 1970-01-01 was a Thursday
  out.yearDay = static_cast<int>(civilDays - daysFromCivil(out.year, 1, 1));
  return true;
}

int RecordTime::year() const {
  Parts p{};
  return parts(p) ? p.year : -1;
}
int RecordTime::month() const {
  Parts p{};
  return parts(p) ? p.month : -1;
}
int RecordTime::day() const {
  Parts p{};
  return parts(p) ? p.day : -1;
}
int RecordTime::hour() const {
  Parts p{};
  return parts(p) ? p.hour : -1;
}
int RecordTime::minute() const {
  Parts p{};
  return parts(p) ? p.minute : -1;
}
int RecordTime::second() const {
  Parts p{};
  return parts(p) ? p.second : -1;
}

bool RecordTime::sameDay(const RecordTime& other) const {
  Parts a{}, b{};
  return parts(a) && other.parts(b) && a.year == b.year && a.month == b.month && a.day == b.day;
}

std::string RecordTime::format(std::string_view pattern) const {
  Parts p{};
  if (!parts(p)) return "Invalid DateTime";
  std::tm tm{};
  tm.tm_sec = p.second;
  tm.tm_min = p.minute;
  tm.tm_hour = p.hour;
  tm.tm_mday = p.day;
  tm.tm_mon = p.month - 1;
  tm.tm_year = p.year - 1900;
  tm.tm_wday = p.weekday;
  tm.tm_yday = p.yearDay;
  tm.tm_isdst = 0;
  // The year goes in as plain digits ("100"): C libraries differ in padding it.
  std::string expanded;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == 'Y') {
        expanded += std::to_string(p.year);
        ++i;
        continue;
      }
      expanded += pattern[i++];
    }
    expanded += pattern[i];
  }
  // 256 UTF-16 code units take at most three UTF-8 bytes each.
  char buffer[kMaxTextUnits * 3 + 1];
  const std::size_t n = std::strftime(buffer, sizeof buffer, expanded.c_str(), &tm);
  std::string text(buffer, n);
  if (utf16Length(text) > static_cast<std::size_t>(kMaxTextUnits)) return {};
  return text;
}

TimeSpan difference(const RecordTime& a, const RecordTime& b) {
  TimeSpan span;
  if (!a.valid() || !b.valid()) return span;
  span.days = a.linear() - b.linear();
  span.valid = span.days >= -kMaxSpanDays && span.days <= kMaxSpanDays;
  return span;
}

double wholeSeconds(double spanDays) {
  // Rounded on the seconds rather than on the days, so that n.5 seconds
  // reliably goes away from zero.
  const double seconds = spanDays * kSecondsPerDay;
  return std::trunc(seconds + (seconds < 0 ? -0.5 : 0.5));
}

bool later(const RecordTime& a, const RecordTime& b) {
  return a.valid() && b.valid() && a.linear() > b.linear();
}

RecordTime add(const RecordTime& t, double spanDays) {
  if (!t.valid()) return {};
  return RecordTime::fromLinear(t.linear() + spanDays);
}

RecordTime recordTimeFromFields(std::uint16_t date, std::uint32_t time) {
  return RecordTime::fromParts((date >> 9) + 1980, (date >> 5) & 15, date & 31,
                               static_cast<int>((time >> 12) & 31), static_cast<int>((time >> 6) & 63),
                               static_cast<int>(time & 63));
}

std::uint16_t fatDate(int year, int month, int day) {
  return static_cast<std::uint16_t>(((year - 1980) & 0x7F) << 9 | (month & 15) << 5 | (day & 31));
}

std::uint32_t timeField(int hour, int minute, int second) {
  return static_cast<std::uint32_t>((hour & 31) << 12 | (minute & 63) << 6 | (second & 63));
}

}  // namespace sonvera
