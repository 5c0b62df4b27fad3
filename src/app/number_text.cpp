#include "app/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace sonvera {
namespace {

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number at the start of `text` after white space and an optional sign, as
// the C conversions read it; `end` is where it stops. The callers clamp the
// magnitude to their type.
struct Scanned {
  bool ok = false;
  bool negative = false;
  std::uint64_t magnitude = 0;  // saturates at 2^63
  std::size_t end = 0;
};

Scanned scanNumber(std::string_view text) {
  Scanned s;
  std::size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) s.negative = text[i++] == '-';
  if (i >= text.size() || !isDigit(text[i])) return s;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    const std::uint64_t digit = static_cast<std::uint64_t>(text[i] - '0');
    s.magnitude = s.magnitude > (UINT64_C(1) << 59) ? (UINT64_C(1) << 63) : s.magnitude * 10 + digit;
  }
  s.ok = true;
  s.end = i;
  return s;
}

}  // namespace

std::optional<std::uint32_t> readUnsignedField(std::string_view text) {
  const Scanned s = scanNumber(text);
  if (!s.ok || s.end != text.size()) return std::nullopt;
  // Out of range reads as the largest value whatever the sign, as the
  // standard conversion does; only a magnitude in range is negated.
  if (s.magnitude > UINT32_MAX) return UINT32_MAX;
  const auto magnitude = static_cast<std::uint32_t>(s.magnitude);
  return s.negative ? static_cast<std::uint32_t>(0u - magnitude) : magnitude;
}

SignedScan scanSignedField(std::string_view text) {
  const Scanned s = scanNumber(text);
  SignedScan r;
  if (!s.ok) return r;
  r.scanned = true;
  r.whole = s.end == text.size();
  const std::int64_t limit = s.negative ? -std::int64_t{INT32_MIN} : INT32_MAX;
  const std::int64_t magnitude = s.magnitude > static_cast<std::uint64_t>(limit) ? limit : static_cast<std::int64_t>(s.magnitude);
  r.value = static_cast<std::int32_t>(s.negative ? -magnitude : magnitude);
  return r;
}

std::optional<double> readDecimalField(std::string_view text) {
  std::string number = trimmed(text);
  for (char& c : number)
    if (c == ',') c = '.';
  if (number.empty() || number[0] == '+') return std::nullopt;
  double value = 0;
  const char* end = number.data() + number.size();
  const auto [stop, error] = std::from_chars(number.data(), end, value, std::chars_format::fixed);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string trimmed(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && isSpace(text[end - 1])) --end;
  std::size_t start = 0;
  while (start < end && isSpace(text[start])) ++start;
  return std::string(text.substr(start, end - start));
}

}  // namespace sonvera
