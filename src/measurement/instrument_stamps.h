#pragma once
// The time stamp encodings of the instruments, turned into the record's date
// and time fields and into RecordTime.

#include <cstdint>
#include <optional>

#include "measurement/record_time.h"

namespace sonvera {

struct DateTimeFields {
  std::uint16_t date = 0;  // FAT date
  std::uint32_t time = 0;  // hour << 12 | minute << 6 | second
};

// 32-bit stamp: bits 17-31 days since 2000-01-01, 12-16 hour, 6-11 minute,
// 0-5 second. `fields` is written only when the result is valid.
RecordTime fromStamp32(std::uint32_t stamp, DateTimeFields* fields = nullptr);

// The fields of a 32-bit stamp whether or not its parts are in range: the
// date of its day count and its time bits as they stand. Out-of-range parts
// stay out of range, so recordTimeFromFields of the result is invalid exactly
// when fromStamp32 is.
DateTimeFields stamp32Fields(std::uint32_t stamp);

// 64-bit stamp, low word first. The top four bits of `high` are a tag:
// 15 seconds since 1970 (converted to local time), 14 a 32-bit stamp in the
// low word, anything else a packed-decimal calendar stamp. nullopt for an
// empty stamp (all bits below the tag zero). A stamp that names no time the
// fields can hold gives date 0, which reads back as an invalid time.
std::optional<DateTimeFields> fromStamp64(std::uint32_t low, std::uint32_t high);

// The time field from packed-decimal bytes 1 (second), 2 (minute) and
// 3 (hour) of the 4 bytes; byte 0 is not used.
std::uint32_t fromDecimalTime(const std::uint8_t* bytes4);

}  // namespace sonvera
