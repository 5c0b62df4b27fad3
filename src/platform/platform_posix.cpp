#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <limits>

#include "platform/platform.h"

namespace sonvera::platform {
namespace {

int descriptor(NativeFile file) { return static_cast<int>(file); }

}  // namespace

std::string executableDirectory() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  std::string path(buffer, static_cast<std::size_t>(n));
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string{} : path.substr(0, slash + 1);
}

std::string installedDataDirectory() {
  std::string folder = executableDirectory();
  if (folder.size() < 2) return {};
  folder.pop_back();
  const auto slash = folder.find_last_of('/');
  return slash == std::string::npos ? std::string{} : folder.substr(0, slash + 1) + "share/sonvera/";
}

std::string currentDirectory() {
  std::vector<char> buffer(PATH_MAX);
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) return {};
  return buffer.data();
}

std::optional<std::string> environmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::uint64_t limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
            static_cast<std::uint64_t>(st.st_size) <= limit;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        bytes.resize(done);  // the file shrank while we read it
        break;
      }
      done += static_cast<std::size_t>(n);
    }
  }
  ::close(fd);
  return ok;
}

bool isRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeDirectory(const std::string& path) { return ::mkdir(path.c_str(), 0755) == 0; }

std::optional<FileIdentity> fileIdentity(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

namespace {

// The folder a path's file would be created in.
std::string parentFolder(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

FileProblem readProblem(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno == EACCES ? FileProblem::NoAccess : FileProblem::NotFound;
  if (S_ISDIR(st.st_mode)) return FileProblem::IsFolder;
  if (::access(path.c_str(), R_OK) != 0) return FileProblem::NoAccess;
  return FileProblem::None;
}

FileProblem writeProblem(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return FileProblem::IsFolder;
    return ::access(path.c_str(), W_OK) != 0 ? FileProblem::NoAccess : FileProblem::None;
  }
  const std::string folder = parentFolder(path);
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    return errno == EACCES ? FileProblem::NoAccess : FileProblem::NoFolder;
  return ::access(folder.c_str(), W_OK | X_OK) != 0 ? FileProblem::NoAccess : FileProblem::None;
}

bool localTime(std::int64_t secondsSince1970, std::tm& out) {
  if constexpr (sizeof(std::time_t) < sizeof(std::int64_t)) {
    if (secondsSince1970 < std::numeric_limits<std::time_t>::min() ||
        secondsSince1970 > std::numeric_limits<std::time_t>::max())
      return false;
  }
  const std::time_t t = static_cast<std::time_t>(secondsSince1970);
  return ::localtime_r(&t, &out) != nullptr;
}

std::vector<std::string> commandLineArguments(int argc, char** argv) { return {argv, argv + argc}; }

bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

bool ReadOnlyFile::open(const std::string& path) {
  close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  file_ = fd;
  return true;
}

void ReadOnlyFile::close() {
  if (file_ != kNoFile) ::close(descriptor(file_));
  file_ = kNoFile;
}

std::uint64_t ReadOnlyFile::size() const {
  struct stat st {};
  if (file_ == kNoFile || ::fstat(descriptor(file_), &st) != 0 || st.st_size < 0) return 0;
  return static_cast<std::uint64_t>(st.st_size);
}

std::size_t ReadOnlyFile::readAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  if (file_ == kNoFile) return 0;
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const std::uint64_t at = offset + done;
    if (at > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) break;
    const ssize_t n = ::pread(descriptor(file_), out + done, count - done, static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

bool WriteOnlyFile::create(const std::string& path) {
  close();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  file_ = fd;
  return true;
}

bool WriteOnlyFile::write(const void* bytes, std::size_t count) {
  if (file_ == kNoFile) return false;
  const auto* in = static_cast<const unsigned char*>(bytes);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(descriptor(file_), in + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteOnlyFile::close() {
  if (file_ == kNoFile) return false;
  const bool closed = ::close(descriptor(file_)) == 0;
  file_ = kNoFile;
  return closed;
}

}  // namespace sonvera::platform
