#pragma once
// printf-style formatting into a std::string, for the program's format strings.

#include <cstdarg>
#include <cstdio>
#include <string>

namespace sonvera {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
inline std::string printfText(const char* format, ...) {
  char small[256];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) < sizeof small) return std::string(small, static_cast<std::size_t>(n));
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(big.data(), big.size(), format, args);
  va_end(args);
  big.resize(static_cast<std::size_t>(n));
  return big;
}

}  // namespace sonvera
