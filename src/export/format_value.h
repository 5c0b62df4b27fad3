#pragma once
// The text of measured values, band frequencies and column headers as result
// files, the last-record viewer and its grid show them.

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "measurement/record_time.h"
#include "measurement/record_values.h"

namespace sonvera {

// The display format word that travels with every value.
using DisplayFormat = std::uint32_t;

namespace display_format {
inline constexpr DisplayFormat kDefault = 0xFFFF;        // stands for kDefaultLevel
inline constexpr DisplayFormat kDefaultLevel = 0x00D7;
inline constexpr DisplayFormat kDateTime = 0x8000;       // whole word: a day number
inline constexpr DisplayFormat kIsLevel = 0x0001;        // the value is in dB
inline constexpr DisplayFormat kPreferLevel = 0x0002;    // level unless linear units
inline constexpr DisplayFormat kHasLinear = 0x0004;      // clear: always a level
inline constexpr DisplayFormat kDecimates = 0x0008;      // averaged or maxima when decimating
inline constexpr DisplayFormat kFixedLinear = 0x1000;    // linear form without exponent
inline constexpr DisplayFormat kDecimalsHigh = 0x4000;   // level decimals from bits 6-9

inline int levelDecimals(DisplayFormat f) {
  return static_cast<int>((f & kDecimalsHigh) ? (f >> 6) & 15 : (f >> 4) & 3);
}
inline int significantDigits(DisplayFormat f) { return static_cast<int>((f >> 6) & 15); }
inline int referenceKind(DisplayFormat f) { return static_cast<int>((f >> 16) & 3); }
}  // namespace display_format

// A measured value as text. `extended` adds one digit of precision;
// `reference` is used only to convert between the level and the linear form.
// The no-value marker gives an empty text and the dash marker "---", also for
// date values.
std::string formatValue(double value, DisplayFormat format, bool linearUnits, bool extended,
                        double reference);
// The same text written at `out`, which has room for kValueTextCapacity
// bytes; its length. For the hot loop of the export: nothing is allocated.
inline constexpr std::size_t kValueTextCapacity = 512;
std::size_t formatValueTo(char* out, double value, DisplayFormat format, bool linearUnits, bool extended,
                          double reference);

// The number formatValue shows, before rounding (dB, or the linear form as the
// options and format ask); NaN for the no-value and dash markers and dates.
double displayedValue(double value, DisplayFormat format, bool linearUnits, double reference);

// The same in two steps, for loops over many values of one column: how the
// column's values are shown follows from its format and the option alone.
enum class ShownForm : std::uint8_t { AsStored, LevelOfLinear, LinearOfLevel, Nothing };
ShownForm shownForm(DisplayFormat format, bool linearUnits);

// 20 lg(|v| / reference): the level of a linear value; 0 for 0.
inline double levelOf(double v, double reference) {
  if (v > 0) return 20.0 * std::log10(v / reference);
  if (v < 0) return 20.0 * std::log10(-v / reference);
  return 0.0;
}

inline double shownNumber(double value, ShownForm form, double reference) {
  if (value == NoValue || value == DashValue || form == ShownForm::Nothing)
    return std::numeric_limits<double>::quiet_NaN();
  if (form == ShownForm::LevelOfLinear) return levelOf(value, reference);
  if (form == ShownForm::LinearOfLevel) return reference * std::pow(10.0, value / 20.0);
  return value;
}
// True when formatValue shows the value as a level in dB.
bool displaysLevel(DisplayFormat format, bool linearUnits);

// A band centre frequency: "31.50", "1.000k", "2.500m".
std::string formatFrequency(double hertz);

// The short column header: the text after the last comma (a comma at the
// very start does not count; one trailing comma is dropped first).
std::string shortName(std::string_view name);

// A column name that keeps to its column and line: control characters (line
// breaks from a file's own names among them) and the value separator become spaces.
std::string columnSafe(std::string_view name, char separator);

// Every "." becomes ",".
std::string withDecimalComma(std::string text);

// Date and time columns of result files ("%d/%m/%y", "%H:%M:%S"); an invalid
// time gives "Invalid DateTime" for both.
std::string dateText(const RecordTime& t);
std::string timeText(const RecordTime& t);
// Both fields, each followed by `separator`, written at `out` (room for 40
// bytes); their length.
std::size_t dateAndTimeTo(char* out, const RecordTime& t, char separator);

}  // namespace sonvera
