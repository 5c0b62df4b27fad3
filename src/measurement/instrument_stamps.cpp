#include "measurement/instrument_stamps.h"

#include <ctime>

#include "platform/platform.h"

namespace sonvera {
namespace {

constexpr int kDaysPerCycle = 1461;  // four years starting with a leap year

struct CalendarDay {
  int year, month, day;
};

// Day count since 2000-01-01 to a date. The count has 15 bits, so every year
// it reaches (2000 to 2089) follows the four-year leap rule.
CalendarDay dayFromStampDays(std::uint32_t days) {
  const int cycle = static_cast<int>(days / kDaysPerCycle);
  int dayOfYear = static_cast<int>(days % kDaysPerCycle);
  int offset = 0;
  if (dayOfYear >= 366) {
    dayOfYear -= 366;
    offset = 1 + dayOfYear / 365;
    dayOfYear %= 365;
  }
  static constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int month = 0;
  for (; month < 11; ++month) {
    const int length = month == 1 && offset == 0 ? 29 : kMonthDays[month];
    if (dayOfYear < length) break;
    dayOfYear -= length;
  }
  return {2000 + 4 * cycle + offset, month + 1, dayOfYear + 1};
}

int decimalField(std::uint8_t byte, int tensMask) {
  return (byte & 0x0F) + 10 * ((byte >> 4) & tensMask);
}

DateTimeFields fieldsOf(const RecordTime& t) {
  if (!t.valid() || !fitsFatDate(t.year())) return {};
  return {fatDate(t.year(), t.month(), t.day()), timeField(t.hour(), t.minute(), t.second())};
}

DateTimeFields fromUnixSeconds(std::int64_t seconds) {
  std::tm local{};
  if (!platform::localTime(seconds, local)) return {};
  const int year = local.tm_year + 1900;
  DateTimeFields fields;
  fields.time = timeField(local.tm_hour, local.tm_min, local.tm_sec);
  if (fitsFatDate(year)) fields.date = fatDate(year, local.tm_mon + 1, local.tm_mday);
  return fields;
}

DateTimeFields fromCalendarStamp(std::uint32_t low, std::uint32_t high) {
  const auto byte = [&](int i) {
    return static_cast<std::uint8_t>((i < 4 ? low >> (8 * i) : high >> (8 * (i - 4))) & 0xFF);
  };
  const int second = decimalField(byte(1), 7);
  const int minute = decimalField(byte(2), 7);
  const int hour = decimalField(byte(3), 3);
  const int day = decimalField(byte(5), 3);
  const int month = decimalField(byte(6), 1);
  const int century = byte(6) >> 6;
  const int year = 2000 + 100 * century + decimalField(byte(7), 15);
  RecordTime t = RecordTime::fromParts(year, month, day, hour, minute, second);
  if (byte(6) & 0x20) t = add(t, 1.0 / kSecondsPerDay);
  return fieldsOf(t);
}

}  // namespace

RecordTime fromStamp32(std::uint32_t stamp, DateTimeFields* fields) {
  const CalendarDay d = dayFromStampDays(stamp >> 17);
  const RecordTime t =
      RecordTime::fromParts(d.year, d.month, d.day, static_cast<int>((stamp >> 12) & 31),
                            static_cast<int>((stamp >> 6) & 63), static_cast<int>(stamp & 63));
  if (fields && t.valid()) *fields = fieldsOf(t);
  return t;
}

DateTimeFields stamp32Fields(std::uint32_t stamp) {
  const CalendarDay d = dayFromStampDays(stamp >> 17);
  return {fatDate(d.year, d.month, d.day), stamp & 0x1FFFF};
}

std::optional<DateTimeFields> fromStamp64(std::uint32_t low, std::uint32_t high) {
  const std::uint32_t tag = high >> 28;
  const std::uint64_t value = (std::uint64_t{high & 0x0FFFFFFF} << 32) | low;
  if (value == 0) return std::nullopt;
  if (tag == 15) return fromUnixSeconds(static_cast<std::int64_t>(value));
  if (tag == 14) return stamp32Fields(low);
  return fromCalendarStamp(low, high);
}

std::uint32_t fromDecimalTime(const std::uint8_t* bytes4) {
  // Digits above 9 can push a part past its bit field; such a part is kept
  // at the field's largest value so that it still reads as out of range
  // instead of spilling into its neighbour.
  const auto part = [](int value, int limit) { return value > limit ? limit : value; };
  return timeField(part(decimalField(bytes4[3], 3), 31), part(decimalField(bytes4[2], 7), 63),
                   part(decimalField(bytes4[1], 7), 63));
}

}  // namespace sonvera
