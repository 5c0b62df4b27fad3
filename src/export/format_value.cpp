#include "export/format_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "base/printf_text.h"
#include "measurement/record_values.h"

namespace sonvera {
namespace {

using namespace display_format;

// Writes at `out` (room for kValueTextCapacity bytes) and returns the end.
// The text printf "%.*f" gives; std::to_chars yields the same digits, much faster.
char* fixed(char* out, double v, int decimals) {
  const auto [end, error] = std::to_chars(out, out + kValueTextCapacity, v, std::chars_format::fixed, decimals);
  if (error == std::errc()) return end;
  const int n = std::snprintf(out, kValueTextCapacity, "%.*f", decimals, v);  // a huge value
  return out + std::clamp(n, 0, static_cast<int>(kValueTextCapacity) - 1);
}

char* engineering(char* out, bool negative, double mantissa, int decimals, double exponent) {
  if (negative) *out++ = '-';
  out = fixed(out, mantissa, decimals);
  *out++ = 'E';
  return fixed(out, exponent + 0.0, 0);  // never "-0"
}

// Engineering notation with `digits` significant digits: the exponent a
// multiple of 3 and the mantissa rounded into [1, 1000).
char* engineeringForm(char* out, double v, DisplayFormat f, bool extended, double reference) {
  int digits = significantDigits(f) + (extended ? 1 : 0);
  digits = digits < 3 ? 3 : digits > 9 ? 9 : digits;
  bool negative = false;
  double e = 0;
  if (f & kIsLevel) {
    e = std::log10(reference) + v / 20.0;
  } else {
    if (v == 0) return engineering(out, false, 0.0, digits - 1, 0);
    negative = v < 0;
    e = std::log10(std::fabs(v));
  }
  // A zero (or negative) reference makes the linear value zero.
  if (std::isinf(e) && e < 0) return engineering(out, false, 0.0, digits - 1, 0);
  if (!std::isfinite(e)) {
    if (negative) *out++ = '-';
    return fixed(out, e, digits - 1);
  }

  double x = 3.0 * std::floor(std::floor(e) / 3.0);
  double m = std::pow(10.0, e - x);
  const auto threshold = [&](int top) { return std::pow(10.0, top) - 5.0 * std::pow(10.0, top - 1 - digits); };
  if (m >= threshold(3)) {
    m /= 1000.0;
    x += 3.0;
  }
  int decimals = digits;
  if (m >= threshold(2))
    decimals = digits - 3;
  else if (m >= threshold(1))
    decimals = digits - 2;
  else if (m >= threshold(0))
    decimals = digits - 1;
  return engineering(out, negative, m, decimals, x);
}

char* copy(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

char* twoDigits(char* out, int v) {
  out[0] = static_cast<char>('0' + v / 10 % 10);
  out[1] = static_cast<char>('0' + v % 10);
  return out + 2;
}

constexpr std::string_view kInvalidTime = "Invalid DateTime";

// "%d/%m/%y" and "%H:%M:%S" of the parts.
char* dateTo(char* out, const RecordTime::Parts& p) {
  out = twoDigits(out, p.day);
  *out++ = '/';
  out = twoDigits(out, p.month);
  *out++ = '/';
  return twoDigits(out, p.year % 100);
}

char* clockTo(char* out, const RecordTime::Parts& p) {
  out = twoDigits(out, p.hour);
  *out++ = ':';
  out = twoDigits(out, p.minute);
  *out++ = ':';
  return twoDigits(out, p.second);
}

}  // namespace

std::size_t formatValueTo(char* out, double value, DisplayFormat format, bool linearUnits, bool extended,
                          double reference) {
  const DisplayFormat f = format == kDefault ? kDefaultLevel : format;
  char* const start = out;
  // The markers come first, so that a missing date stays an empty field.
  if (value == NoValue) return 0;
  if (value == DashValue) return static_cast<std::size_t>(copy(out, "---") - start);
  if (f == kDateTime) {
    const std::string text = RecordTime::fromDayNumber(value).format("%H:%M:%S %d/%m/%Y");
    return static_cast<std::size_t>(copy(out, std::string_view(text).substr(0, kValueTextCapacity)) - start);
  }

  const int decimals = levelDecimals(f) + (extended ? 1 : 0);
  const bool levelForm = (!linearUnits && (f & kPreferLevel)) || !(f & kHasLinear);
  if (levelForm) {
    out = fixed(out, (f & kIsLevel) ? value : levelOf(value, reference), decimals);
  } else if (f & kFixedLinear) {
    out = fixed(out, (f & kIsLevel) ? reference * std::pow(10.0, value / 20.0) : value, decimals);
  } else {
    out = engineeringForm(out, value, f, extended, reference);
  }
  return static_cast<std::size_t>(out - start);
}

std::string formatValue(double value, DisplayFormat format, bool linearUnits, bool extended,
                        double reference) {
  char text[kValueTextCapacity];
  return std::string(text, formatValueTo(text, value, format, linearUnits, extended, reference));
}

bool displaysLevel(DisplayFormat format, bool linearUnits) {
  const DisplayFormat f = format == kDefault ? kDefaultLevel : format;
  return f != kDateTime && ((!linearUnits && (f & kPreferLevel)) || !(f & kHasLinear));
}

ShownForm shownForm(DisplayFormat format, bool linearUnits) {
  const DisplayFormat f = format == kDefault ? kDefaultLevel : format;
  if (f == kDateTime) return ShownForm::Nothing;
  if (displaysLevel(f, linearUnits)) return (f & kIsLevel) ? ShownForm::AsStored : ShownForm::LevelOfLinear;
  return (f & kIsLevel) ? ShownForm::LinearOfLevel : ShownForm::AsStored;
}

double displayedValue(double value, DisplayFormat format, bool linearUnits, double reference) {
  return shownNumber(value, shownForm(format, linearUnits), reference);
}

std::string formatFrequency(double hertz) {
  char text[kValueTextCapacity + 1];
  char* end = nullptr;
  if (std::floor(hertz + 0.5) < 1000) {
    end = fixed(text, hertz, 2);
  } else if (std::floor(hertz / 1000 + 0.5) < 1000) {
    end = fixed(text, hertz / 1000, 3);
    *end++ = 'k';
  } else {
    end = fixed(text, hertz / 1000000, 3);
    *end++ = 'm';
  }
  return std::string(text, end);
}

std::string columnSafe(std::string_view name, char separator) {
  std::string safe(name);
  for (char& c : safe)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == separator) c = ' ';
  return safe;
}

std::string shortName(std::string_view name) {
  if (!name.empty() && name.back() == ',') name.remove_suffix(1);
  const std::size_t comma = name.rfind(',');
  if (comma != std::string_view::npos && comma > 0) name.remove_prefix(comma + 1);
  return std::string(name);
}

std::string withDecimalComma(std::string text) {
  for (char& c : text)
    if (c == '.') c = ',';
  return text;
}

std::size_t dateAndTimeTo(char* out, const RecordTime& t, char separator) {
  char* const start = out;
  RecordTime::Parts p{};
  const bool valid = t.parts(p);
  out = valid ? dateTo(out, p) : copy(out, kInvalidTime);
  *out++ = separator;
  out = valid ? clockTo(out, p) : copy(out, kInvalidTime);
  *out++ = separator;
  return static_cast<std::size_t>(out - start);
}

std::string dateText(const RecordTime& t) {
  RecordTime::Parts p{};
  char text[16];
  return t.parts(p) ? std::string(text, dateTo(text, p)) : std::string(kInvalidTime);
}

std::string timeText(const RecordTime& t) {
  RecordTime::Parts p{};
  char text[16];
  return t.parts(p) ? std::string(text, clockTo(text, p)) : std::string(kInvalidTime);
}

}  // namespace sonvera
