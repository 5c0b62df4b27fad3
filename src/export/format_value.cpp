#include "export/format_value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/printf_text.h"
#include "measurement/record_values.h"

namespace sonvera {
namespace {

using namespace display_format;

// The text printf "%.*f" gives; std::to_chars yields the same digits, much faster.
std::string fixed(double v, int decimals) {
  char buffer[400];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
  if (error == std::errc()) return std::string(buffer, end);
  return printfText("%.*f", decimals, v);  // a huge value
}

std::string engineering(bool negative, double mantissa, int decimals, double exponent) {
  std::string text = negative ? "-" : "";
  text += fixed(mantissa, decimals);
  text += 'E';
  text += fixed(exponent + 0.0, 0);  // never "-0"
  return text;
}

double levelOf(double v, double reference) {
  if (v > 0) return 20.0 * std::log10(v / reference);
  if (v < 0) return 20.0 * std::log10(-v / reference);
  return 0.0;
}

// Engineering notation with `digits` significant digits: the exponent a
// multiple of 3 and the mantissa rounded into [1, 1000).
std::string engineeringForm(double v, DisplayFormat f, bool extended, double reference) {
  int digits = significantDigits(f) + (extended ? 1 : 0);
  digits = digits < 3 ? 3 : digits > 9 ? 9 : digits;
  bool negative = false;
  double e = 0;
  if (f & kIsLevel) {
    e = std::log10(reference) + v / 20.0;
  } else {
    if (v == 0) return engineering(false, 0.0, digits - 1, 0);
    negative = v < 0;
    e = std::log10(std::fabs(v));
  }
  // A zero (or negative) reference makes the linear value zero.
  if (std::isinf(e) && e < 0) return engineering(false, 0.0, digits - 1, 0);
  if (!std::isfinite(e)) return (negative ? "-" : "") + fixed(e, digits - 1);

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
  return engineering(negative, m, decimals, x);
}

}  // namespace

std::string formatValue(double value, DisplayFormat format, bool linearUnits, bool extended,
                        double reference) {
  const DisplayFormat f = format == kDefault ? kDefaultLevel : format;
  // The markers come first, so that a missing date stays an empty field.
  if (value == NoValue) return {};
  if (value == DashValue) return "---";
  if (f == kDateTime) return RecordTime::fromDayNumber(value).format("%H:%M:%S %d/%m/%Y");

  const int decimals = levelDecimals(f) + (extended ? 1 : 0);
  const bool levelForm = (!linearUnits && (f & kPreferLevel)) || !(f & kHasLinear);
  if (levelForm) return fixed((f & kIsLevel) ? value : levelOf(value, reference), decimals);
  if (f & kFixedLinear)
    return fixed((f & kIsLevel) ? reference * std::pow(10.0, value / 20.0) : value, decimals);
  return engineeringForm(value, f, extended, reference);
}

bool displaysLevel(DisplayFormat format, bool linearUnits) {
  const DisplayFormat f = format == kDefault ? kDefaultLevel : format;
  return f != kDateTime && ((!linearUnits && (f & kPreferLevel)) || !(f & kHasLinear));
}

double displayedValue(double value, DisplayFormat format, bool linearUnits, double reference) {
  const DisplayFormat f = format == kDefault ? kDefaultLevel : format;
  if (value == NoValue || value == DashValue || f == kDateTime) return std::numeric_limits<double>::quiet_NaN();
  if (displaysLevel(f, linearUnits)) return (f & kIsLevel) ? value : levelOf(value, reference);
  return (f & kIsLevel) ? reference * std::pow(10.0, value / 20.0) : value;
}

std::string formatFrequency(double hertz) {
  if (std::floor(hertz + 0.5) < 1000) return fixed(hertz, 2);
  if (std::floor(hertz / 1000 + 0.5) < 1000) return fixed(hertz / 1000, 3) + "k";
  return fixed(hertz / 1000000, 3) + "m";
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

std::string dateText(const RecordTime& t) { return t.format("%d/%m/%y"); }

std::string timeText(const RecordTime& t) { return t.format("%H:%M:%S"); }

}  // namespace sonvera
