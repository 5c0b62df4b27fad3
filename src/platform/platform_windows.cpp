#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cstdlib>
#include <limits>

#include "platform/platform.h"

namespace sonvera::platform {
namespace {

// Converts at the boundary; invalid UTF-8 becomes U+FFFD rather than failing.
std::wstring wide(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(std::min<std::size_t>(text.size(), std::numeric_limits<int>::max()));
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), n);
  return out;
}

std::string narrow(const wchar_t* text, std::size_t length) {
  if (length == 0) return {};
  const int size = static_cast<int>(std::min<std::size_t>(length, std::numeric_limits<int>::max()));
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) ::WideCharToMultiByte(CP_UTF8, 0, text, size, out.data(), n, nullptr, nullptr);
  return out;
}

std::string narrow(const std::wstring& text) { return narrow(text.data(), text.size()); }

HANDLE handle(NativeFile file) { return reinterpret_cast<HANDLE>(file); }
NativeFile native(HANDLE h) { return h == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<NativeFile>(h); }

// Opens for reading while others keep every right to the file, as a meter's
// software may still be writing it.
HANDLE openForReading(const std::string& path) {
  return ::CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool regular(HANDLE h) {
  BY_HANDLE_FILE_INFORMATION info{};
  return ::GetFileType(h) == FILE_TYPE_DISK && ::GetFileInformationByHandle(h, &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Reads and writes go in pieces a DWORD can count.
constexpr DWORD kPiece = DWORD{1} << 30;

// Reads up to `count` bytes at `offset`; an offset in OVERLAPPED reads at
// that place without moving a shared position.
std::size_t readAt(HANDLE h, std::uint64_t offset, void* buffer, std::size_t count) {
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const std::uint64_t at = offset + done;
    if (at > static_cast<std::uint64_t>(std::numeric_limits<LONGLONG>::max())) break;
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(at);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    DWORD n = 0;
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(count - done, kPiece));
    if (!::ReadFile(h, out + done, piece, &n, &where) || n == 0) break;
    done += n;
  }
  return done;
}

std::uint64_t sizeOf(HANDLE h) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(h, &size) || size.QuadPart < 0) return 0;
  return static_cast<std::uint64_t>(size.QuadPart);
}

}  // namespace

std::string executableDirectory() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      break;
    }
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
  const auto slash = buffer.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::string{} : narrow(buffer.substr(0, slash + 1));
}

std::string installedDataDirectory() { return {}; }

std::string currentDirectory() {
  const DWORD n = ::GetCurrentDirectoryW(0, nullptr);
  if (n == 0) return {};
  std::wstring buffer(n, L'\0');
  const DWORD written = ::GetCurrentDirectoryW(n, buffer.data());
  if (written == 0 || written >= n) return {};
  buffer.resize(written);
  // The root of a drive keeps its separator ("C:\"); other folders have none.
  return narrow(buffer);
}

std::optional<std::string> environmentVariable(const char* name) {
  const std::wstring key = wide(name);
  const DWORD n = ::GetEnvironmentVariableW(key.c_str(), nullptr, 0);
  if (n == 0) return std::nullopt;
  std::wstring value(n, L'\0');
  const DWORD written = ::GetEnvironmentVariableW(key.c_str(), value.data(), n);
  if (written >= n) return std::nullopt;
  value.resize(written);
  return narrow(value);
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::uint64_t limit) {
  const HANDLE h = openForReading(path);
  if (h == INVALID_HANDLE_VALUE) return false;
  const std::uint64_t size = sizeOf(h);
  const bool ok = regular(h) && size <= limit && size <= std::numeric_limits<std::size_t>::max();
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size));
    bytes.resize(readAt(h, 0, bytes.data(), bytes.size()));  // shorter when the file shrank
  }
  ::CloseHandle(h);
  return ok;
}

bool isRegularFile(const std::string& path) {
  const HANDLE h = openForReading(path);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = regular(h);
  ::CloseHandle(h);
  return ok;
}

bool isDirectory(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool makeDirectory(const std::string& path) { return ::CreateDirectoryW(wide(path).c_str(), nullptr) != 0; }

std::optional<FileIdentity> fileIdentity(const std::string& path) {
  if (path.empty()) return std::nullopt;
  // Backup semantics open folders too; no access rights are asked for.
  const HANDLE h = ::CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool ok = ::GetFileInformationByHandle(h, &info) != 0;
  ::CloseHandle(h);
  if (!ok) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber, std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
}

namespace {

std::string parentFolder(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

FileProblem problemOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND: return FileProblem::NotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH: return FileProblem::NoFolder;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return FileProblem::NoAccess;
    default: return FileProblem::Other;
  }
}

}  // namespace

FileProblem readProblem(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const FileProblem p = problemOf(::GetLastError());
    return p == FileProblem::NoFolder ? FileProblem::NotFound : p;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FileProblem::IsFolder;
  const HANDLE h = openForReading(path);
  if (h == INVALID_HANDLE_VALUE) return problemOf(::GetLastError());
  ::CloseHandle(h);
  return FileProblem::None;
}

FileProblem writeProblem(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FileProblem::IsFolder;
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? FileProblem::NoAccess : FileProblem::None;
  }
  const DWORD folder = ::GetFileAttributesW(wide(parentFolder(path)).c_str());
  if (folder == INVALID_FILE_ATTRIBUTES || (folder & FILE_ATTRIBUTE_DIRECTORY) == 0) return FileProblem::NoFolder;
  return FileProblem::None;
}

bool localTime(std::int64_t secondsSince1970, std::tm& out) {
  const __time64_t t = secondsSince1970;
  return ::_localtime64_s(&out, &t) == 0;
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (arguments == nullptr) return {argv, argv + argc};
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) out.push_back(narrow(arguments[i], std::wcslen(arguments[i])));
  ::LocalFree(arguments);
  return out;
}

// A console answers GetConsoleMode; files, pipes and NUL (which _isatty takes
// for a terminal) do not.
bool standardErrorIsTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

Utf8Console::Utf8Console() {
  outputCodePage_ = ::GetConsoleOutputCP();
  if (outputCodePage_ != 0) ::SetConsoleOutputCP(CP_UTF8);
  const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (error != INVALID_HANDLE_VALUE && ::GetConsoleMode(error, &mode)) {
    consoleMode_ = mode;
    consoleModeChanged_ = ::SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
  }
}

Utf8Console::~Utf8Console() {
  std::fflush(stdout);
  std::fflush(stderr);
  if (outputCodePage_ != 0) ::SetConsoleOutputCP(outputCodePage_);
  if (consoleModeChanged_) ::SetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), static_cast<DWORD>(consoleMode_));
}

bool ReadOnlyFile::open(const std::string& path) {
  close();
  const HANDLE h = openForReading(path);
  if (h == INVALID_HANDLE_VALUE) return false;  // folders need a flag we do not give
  file_ = native(h);
  return true;
}

void ReadOnlyFile::close() {
  if (file_ != kNoFile) ::CloseHandle(handle(file_));
  file_ = kNoFile;
}

std::uint64_t ReadOnlyFile::size() const { return file_ == kNoFile ? 0 : sizeOf(handle(file_)); }

std::size_t ReadOnlyFile::readAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  return file_ == kNoFile ? 0 : platform::readAt(handle(file_), offset, buffer, count);
}

bool WriteOnlyFile::create(const std::string& path) {
  close();
  const HANDLE h = ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  file_ = native(h);
  return file_ != kNoFile;
}

bool WriteOnlyFile::write(const void* bytes, std::size_t count) {
  if (file_ == kNoFile) return false;
  const auto* in = static_cast<const unsigned char*>(bytes);
  std::size_t done = 0;
  while (done < count) {
    DWORD n = 0;
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(count - done, kPiece));
    if (!::WriteFile(handle(file_), in + done, piece, &n, nullptr) || n == 0) return false;
    done += n;
  }
  return true;
}

bool WriteOnlyFile::close() {
  if (file_ == kNoFile) return false;
  const bool closed = ::CloseHandle(handle(file_)) != 0;
  file_ = kNoFile;
  return closed;
}

}  // namespace sonvera::platform
