#pragma once
// The few calls into the operating system, kept in one place.

#include <cstdint>
#include <string>
#include <vector>

namespace sonvera::platform {

// The folder of the running executable, ending with a separator; empty when
// it cannot be found.
std::string executableDirectory();

// Reads a whole regular file (at most `limit` bytes); false on any failure.
bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                   std::uint64_t limit = std::uint64_t{1} << 30);

// Writes bytes to a file, replacing it; false when any step fails.
bool writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace sonvera::platform
