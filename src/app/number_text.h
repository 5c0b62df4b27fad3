#pragma once
// Reading numbers typed into edit fields the way the dialogs do.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sonvera {

// "%u%c": the whole text is exactly one unsigned number (leading white space and
// a sign allowed, a minus wrapping around); anything after it, even a space,
// or no number at all gives nothing.
std::optional<std::uint32_t> readUnsignedField(std::string_view text);

// "%d%c" on a text already trimmed: exactly one signed number and nothing more.
// `scanned` tells whether a number was converted at all (then `value` holds it).
struct SignedScan {
  bool scanned = false;
  bool whole = false;  // the number is the whole text
  std::int32_t value = 0;
};
SignedScan scanSignedField(std::string_view text);

// A decimal number typed with a point or a comma, white space around it
// allowed; nothing for anything else or a number that is not finite.
std::optional<double> readDecimalField(std::string_view text);

// Removes white space from the end, then from the start.
std::string trimmed(std::string_view text);

}  // namespace sonvera
