#include "app/typed_time.h"

#include <array>

#include "measurement/time_line.h"

namespace sonvera {
namespace {

// The text cut into numbers and the single characters between them; spaces
// count as one separator ' '.
struct Pieces {
  std::array<int, 6> numbers{};
  std::string separators;  // separators[i] follows numbers[i]
  std::size_t count = 0;
};

std::optional<Pieces> cut(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  Pieces p;
  std::size_t i = 0;
  while (i < text.size()) {
    if (p.count == p.numbers.size()) return std::nullopt;
    int value = 0, digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
      if (digits == 4) return std::nullopt;  // no part has more than four digits
      value = value * 10 + (text[i] - '0');
    }
    if (digits == 0) return std::nullopt;
    p.numbers[p.count++] = value;
    if (i == text.size()) break;
    const char separator = text[i] == '\t' ? ' ' : text[i];
    p.separators += separator;
    ++i;
    if (separator == ' ')
      while (i < text.size() && text[i] == ' ') ++i;
    if (i == text.size()) return std::nullopt;
  }
  return p;
}

bool clockInRange(const TypedTime& t) {
  return t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second < 60;
}

}  // namespace

std::optional<TypedTime> parseTypedTime(std::string_view text) {
  const auto p = cut(text);
  if (!p) return std::nullopt;
  const auto& n = p->numbers;
  const std::string& s = p->separators;
  TypedTime t;
  // The clock at `at`: "H:M" or "H:M:S"; the number of pieces it took.
  const auto clock = [&](std::size_t at, std::size_t pieces) {
    t.hour = n[at];
    t.minute = n[at + 1];
    t.second = pieces == 3 ? n[at + 2] : 0;
  };
  const auto date = [&](int year, int month, int day) {
    t.hasDate = true;
    t.year = year;
    t.month = month;
    t.day = day;
  };
  if (s == "::" || s == ":") {
    clock(0, p->count);
  } else if (s == "// ::" || s == "// :") {
    date(n[2], n[1], n[0]);
    clock(3, p->count - 3);
  } else if (s == ":: //" || s == ": //") {
    const std::size_t pieces = s.size() == 5 ? 3 : 2;
    clock(0, pieces);
    date(n[pieces + 2], n[pieces + 1], n[pieces]);
  } else if (s == "-- ::" || s == "-- :" || s == "--T::" || s == "--T:") {
    date(n[0], n[1], n[2]);
    clock(3, p->count - 3);
  } else {
    return std::nullopt;
  }
  if (!clockInRange(t)) return std::nullopt;
  if (t.hasDate && (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31)) return std::nullopt;
  return t;
}

std::optional<RecordTime> typedDateTime(std::string_view text) {
  const auto t = parseTypedTime(text);
  if (!t || !t->hasDate) return std::nullopt;
  const RecordTime r = RecordTime::fromParts(t->year, t->month, t->day, t->hour, t->minute, t->second);
  if (!r.valid()) return std::nullopt;
  return r;
}

std::optional<std::string> rangeFieldText(const MeasurementFile& file, std::string_view text) {
  const auto t = parseTypedTime(text);
  if (!t) return std::nullopt;
  const RecordTime& first = file.firstTime;
  if (firstAndLastOnOneDay(file)) {
    if (t->hasDate && (t->year != first.year() || t->month != first.month() || t->day != first.day()))
      return std::nullopt;
    return RecordTime::fromParts(2000, 1, 1, t->hour, t->minute, t->second).format("%H:%M:%S");
  }
  if (!t->hasDate) return std::nullopt;
  const RecordTime r = RecordTime::fromParts(t->year, t->month, t->day, t->hour, t->minute, t->second);
  if (!r.valid()) return std::nullopt;
  return formatRangeTime(file, r);
}

std::string acceptedTimeForms(const MeasurementFile& file) {
  const std::string span =
      file.firstTime.format("%d/%m/%Y %H:%M:%S") + " - " + file.lastTime.format("%d/%m/%Y %H:%M:%S");
  if (firstAndLastOnOneDay(file))
    return "Время в файле одного дня задаётся как ЧЧ:ММ:СС, или с его датой: ДД/ММ/ГГГГ ЧЧ:ММ:СС, "
           "ГГГГ-ММ-ДД ЧЧ:ММ:СС, ГГГГ-ММ-ДДTЧЧ:ММ:СС (файл: " + span + ")";
  return "Время задаётся с датой: ДД/ММ/ГГГГ ЧЧ:ММ:СС, ЧЧ:ММ:СС ДД/ММ/ГГГГ, ГГГГ-ММ-ДД ЧЧ:ММ:СС, "
         "ГГГГ-ММ-ДДTЧЧ:ММ:СС (файл: " + span + ")";
}

}  // namespace sonvera
