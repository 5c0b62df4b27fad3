#pragma once
// Conversions between the UTF-8 text used inside the program and the UTF-16
// code units stored in our binary files.

#include <string>
#include <string_view>

namespace sonvera {

// Invalid sequences (lone surrogates) become U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);
// The same into `out`, reusing its storage (no allocation once it is large enough).
void assignUtf8(std::string& out, std::u16string_view text);
// Invalid UTF-8 bytes become U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

// Number of UTF-16 code units the UTF-8 text takes.
std::size_t utf16Length(std::string_view text);

}  // namespace sonvera
