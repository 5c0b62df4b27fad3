#pragma once
// Path rules that look for the last separator and the last ".".

#include <string>
#include <string_view>

namespace sonvera {

#ifdef _WIN32
inline constexpr std::string_view kPathSeparators = "\\/";
// File names that differ only in the case of Latin letters name one file.
inline constexpr bool kNamesIgnoreCase = true;
#else
inline constexpr std::string_view kPathSeparators = "/";
inline constexpr bool kNamesIgnoreCase = false;
#endif

// Position of the last path separator, or npos.
inline std::size_t lastPathSeparator(std::string_view path) { return path.find_last_of(kPathSeparators); }

// Position of the "." that starts an extension: the last ".", when it stands at
// position `minimum` or later and after the last separator; npos otherwise.
inline std::size_t extensionDot(std::string_view path, std::size_t minimum = 1) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < minimum) return std::string_view::npos;
  const auto separator = lastPathSeparator(path);
  if (separator != std::string_view::npos && dot < separator) return std::string_view::npos;
  return dot;
}

}  // namespace sonvera
