#pragma once
// The few calls into the operating system, kept in one place.

#include <cstdint>
#include <ctime>
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

// Local calendar time of a count of seconds since 1970-01-01 00:00 UTC, by the
// computer's time zone settings; false when the conversion fails.
bool localTime(std::int64_t secondsSince1970, std::tm& out);

}  // namespace sonvera::platform
