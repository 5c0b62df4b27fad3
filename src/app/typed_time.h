#pragma once
// Times as users type them on the command line: the form the summary shows
// ("14/05/2026 01:00:00"), the range fields' own ("01:00:00 14/05/2026", or
// "01:00:00" on a file of one day), and ISO ("2026-05-14 01:00:00",
// "2026-05-14T01:00:00"). Seconds may be left out.

#include <optional>
#include <string>
#include <string_view>

#include "measurement/measurement_file.h"
#include "measurement/record_time.h"

namespace sonvera {

struct TypedTime {
  bool hasDate = false;
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

// Nothing when the text is none of the forms or a part is out of range.
std::optional<TypedTime> parseTypedTime(std::string_view text);

// A time with its date; nothing without a date or for a day that does not exist.
std::optional<RecordTime> typedDateTime(std::string_view text);

// The text the range fields take for a typed time on this file: the time
// alone on a file of one day (a date given must be that day), else time and
// date. Nothing when the text cannot stand for a time of this file.
std::optional<std::string> rangeFieldText(const MeasurementFile& file, std::string_view text);

// The forms rangeFieldText takes on this file, for a message.
std::string acceptedTimeForms(const MeasurementFile& file);

}  // namespace sonvera
