#include "platform/platform.h"

#include <utility>

#include "base/path_text.h"

// What is the same on every system; the system calls are in
// platform_posix.cpp and platform_windows.cpp.

namespace sonvera::platform {

bool writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  WriteOnlyFile file;
  if (!file.create(path)) return false;
  const bool written = file.write(bytes.data(), bytes.size());
  return file.close() && written;
}

bool makeDirectories(const std::string& path) {
  if (path.empty() || isDirectory(path)) return !path.empty();
  // Each folder from the top that is missing, in order; a failure shows at the end.
  for (std::size_t at = path.find_first_of(kPathSeparators, 1); at != std::string::npos;
       at = path.find_first_of(kPathSeparators, at + 1)) {
    const std::string prefix = path.substr(0, at);
    if (!prefix.empty() && prefix.back() != ':' && !isDirectory(prefix)) makeDirectory(prefix);
  }
  makeDirectory(path);
  return isDirectory(path);
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept : file_(std::exchange(other.file_, kNoFile)) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    close();
    file_ = std::exchange(other.file_, kNoFile);
  }
  return *this;
}

ReadOnlyFile::~ReadOnlyFile() { close(); }

WriteOnlyFile::WriteOnlyFile(WriteOnlyFile&& other) noexcept : file_(std::exchange(other.file_, kNoFile)) {}

WriteOnlyFile& WriteOnlyFile::operator=(WriteOnlyFile&& other) noexcept {
  if (this != &other) {
    close();
    file_ = std::exchange(other.file_, kNoFile);
  }
  return *this;
}

WriteOnlyFile::~WriteOnlyFile() { close(); }

}  // namespace sonvera::platform
