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


// A file open for reading by positioned reads; others may read it at the same
// time. Reads do not move a shared position, so several threads may read one
// open file at once. Closes itself when destroyed or replaced.
class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ReadOnlyFile(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ~ReadOnlyFile();

  // Opens an existing file, closing the one held before; false on failure.
  bool open(const std::string& path);
  void close();
  bool isOpen() const { return fd_ >= 0; }

  // Size in bytes; 0 when it cannot be found.
  std::uint64_t size() const;
  // Reads up to `count` bytes at `offset`; returns the bytes read (fewer at
  // the end of the file or on an error).
  std::size_t readAt(std::uint64_t offset, void* buffer, std::size_t count) const;

 private:
  int fd_ = -1;
};

}  // namespace sonvera::platform
