#include "measurement/time_line.h"

#include <cmath>
#include <limits>

#include "measurement/record_decoder.h"

namespace sonvera {
namespace {

bool fileReadable(const MeasurementFile& file) {
  return file.handle.isOpen() && file.values.typeCode != 0 && file.description.recordSize != 0;
}

// Reads and decodes record `index` (from 0) and gives the decoded time.
RecordTime readTime(MeasurementFile& file, std::uint32_t index, std::vector<std::uint8_t>& buffer) {
  buffer.resize(file.description.recordSize);
  readRecord(file, index, buffer);
  decodeIfSameType(buffer, file.channels, file.values, file.description);
  return recordTime(file.values);
}

// Two times name the same moment when both are valid and less than half a
// second apart.
bool sameMoment(const RecordTime& a, const RecordTime& b) {
  const TimeSpan span = difference(a, b);
  return span.valid && std::fabs(span.days * kSecondsPerDay) < 0.5;
}

// Interpolates the record of `t` between the first and the last record, as
// for a file logged at a steady rate.
std::uint32_t firstProbe(const MeasurementFile& file, const RecordTime& t) {
  const TimeSpan sofar = difference(t, file.firstTime);
  const TimeSpan whole = difference(file.lastTime, file.firstTime);
  if (!sofar.valid || !whole.valid) return 0;
  const double wholeSpan = wholeSeconds(whole.days);
  if (!(wholeSpan > 0)) return 0;
  const double last = file.recordCount - 1.0;
  const double i = std::floor(wholeSeconds(sofar.days) / wholeSpan * last + 0.5);
  if (!(i >= 0)) return 0;
  if (i >= last) return file.recordCount - 1;
  return static_cast<std::uint32_t>(i);
}

// scanf's view of a text: "%u" takes white space, an optional sign and
// decimal digits, a literal must match exactly, a blank in the pattern takes
// any white space.
class Scan {
 public:
  explicit Scan(std::string_view text) : text_(text) {}

  bool number(std::uint32_t& out) {
    skipSpace();
    bool negative = false;
    if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) negative = text_[pos_++] == '-';
    const std::size_t start = pos_;
    std::uint64_t value = 0;
    bool tooLarge = false;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
      value = value * 10 + static_cast<unsigned>(text_[pos_++] - '0');
      if (value > std::numeric_limits<std::uint32_t>::max()) {
        tooLarge = true;
        value = 0;
      }
    }
    if (pos_ == start) return false;
    // A number beyond 32 bits is kept out of every range rather than wrapped
    // into one.
    if (tooLarge)
      out = std::numeric_limits<std::uint32_t>::max();
    else
      out = negative ? static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(value))
                     : static_cast<std::uint32_t>(value);
    return true;
  }
  bool literal(char c) {
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  void skipSpace() {
    while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
  }
  bool atEnd() const { return pos_ == text_.size(); }

  static bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && Scan::isSpace(text.back())) text.remove_suffix(1);
  while (!text.empty() && Scan::isSpace(text.front())) text.remove_prefix(1);
  return text;
}

// "%u:%u:%u" with hour, minute and second in range.
bool scanClock(Scan& scan, std::uint32_t& hour, std::uint32_t& minute, std::uint32_t& second) {
  return scan.number(hour) && scan.literal(':') && scan.number(minute) && scan.literal(':') &&
         scan.number(second) && hour < 24 && minute < 60 && second < 60;
}

}  // namespace

std::optional<RecordTime> timeOfRecord(MeasurementFile& file, std::uint32_t n,
                                       std::vector<std::uint8_t>& buffer) {
  if (!fileReadable(file) || n < 1 || n > file.recordCount) return std::nullopt;
  return readTime(file, n - 1, buffer);
}

std::uint32_t walkToTime(std::uint32_t count, std::uint32_t probe, const RecordTime& t, bool end,
                         const std::function<RecordTime(std::uint32_t)>& timeAt) {
  if (count == 0) return 0;
  const std::uint32_t last = count - 1;
  std::uint32_t i = probe < last ? probe : last;
  std::optional<RecordTime> prev;  // the record visited before
  for (;;) {
    const RecordTime r = timeAt(i);
    bool forward = false;
    if (sameMoment(r, t)) {
      forward = end;
    } else if (later(t, r)) {
      if (end || !prev) {
        forward = true;
      } else if (!prev->valid() || later(*prev, t)) {
        // Coming back from a record after t (or one without a valid time,
        // which counts as after): this is the last record before t. Going
        // forward again would swing between the two for ever.
        return i;
      } else if (sameMoment(*prev, t)) {
        return i == last ? i : i + 1;
      } else {
        forward = true;
      }
    } else {
      if (!end || !prev) {
        forward = false;
      } else if (later(t, *prev)) {
        return i;
      } else if (sameMoment(*prev, t)) {
        return i == 0 ? i : i - 1;
      } else {
        forward = false;
      }
    }
    if (forward) {
      if (i == last) return i;
      ++i;
    } else {
      if (i == 0) return i;
      --i;
    }
    prev = r;
  }
}

std::optional<std::uint32_t> findRecordByTime(MeasurementFile& file, const RecordTime& t, bool end,
                                              std::vector<std::uint8_t>& buffer) {
  if (!fileReadable(file) || file.recordCount == 0 || !t.valid()) return std::nullopt;
  if (later(file.firstTime, t) || later(t, file.lastTime)) return std::nullopt;
  if (sameMoment(file.firstTime, file.lastTime)) return 1;
  const std::uint32_t found = walkToTime(file.recordCount, firstProbe(file, t), t, end,
                                         [&](std::uint32_t i) { return readTime(file, i, buffer); });
  return found + 1;
}

bool firstAndLastOnOneDay(const MeasurementFile& file) {
  const RecordTime& a = file.firstTime;
  const RecordTime& b = file.lastTime;
  return a.year() == b.year() && a.month() == b.month() && a.day() == b.day();
}

std::string formatRangeTime(const MeasurementFile& file, const RecordTime& t) {
  return t.format(firstAndLastOnOneDay(file) ? "%H:%M:%S" : "%H:%M:%S %d/%m/%Y");
}

std::optional<RecordTime> parseRangeTime(const MeasurementFile& file, std::string_view text) {
  Scan scan(trimmed(text));
  std::uint32_t hour = 0, minute = 0, second = 0;
  if (!scanClock(scan, hour, minute, second)) return std::nullopt;
  const RecordTime& first = file.firstTime;
  if (firstAndLastOnOneDay(file)) {
    if (!scan.atEnd()) return std::nullopt;
    return RecordTime::fromParts(first.year(), first.month(), first.day(), static_cast<int>(hour),
                                 static_cast<int>(minute), static_cast<int>(second));
  }
  std::uint32_t day = 0, month = 0, year = 0;
  scan.skipSpace();
  if (!scan.number(day) || !scan.literal('/') || !scan.number(month) || !scan.literal('/') ||
      !scan.number(year) || !scan.atEnd())
    return std::nullopt;
  if (day < 1 || day > 31 || month < 1 || month > 12) return std::nullopt;
  const std::int64_t y = year;
  if (y < first.year() || y > file.lastTime.year()) return std::nullopt;
  const RecordTime t = RecordTime::fromParts(static_cast<int>(year), static_cast<int>(month),
                                             static_cast<int>(day), static_cast<int>(hour),
                                             static_cast<int>(minute), static_cast<int>(second));
  if (!t.valid()) return std::nullopt;
  return t;
}

}  // namespace sonvera
