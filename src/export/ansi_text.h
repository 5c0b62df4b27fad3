#pragma once
// The 8-bit code page of result files, Windows-1251, which holds every
// character of the Russian texts.

#include <string>
#include <string_view>

namespace sonvera {

// UTF-8 text as Windows-1251 bytes; a character the code page cannot hold
// (and a malformed UTF-8 sequence) becomes "?".
std::string toAnsi(std::string_view utf8);

// The Windows-1251 byte of one character, or '?'.
char ansiByte(char32_t c);

}  // namespace sonvera
