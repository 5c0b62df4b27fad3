#pragma once
// The few calls into the operating system, kept in one place. Paths and texts
// are UTF-8 on every system; on Windows they become UTF-16 at the call.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace sonvera::platform {

// The folder of the running executable, ending with a separator; empty when
// it cannot be found.
std::string executableDirectory();

// The folder of the data installed with the program, ending with a separator:
// share/sonvera/ beside the executable's bin/ folder on Linux; empty on
// Windows, where the data sit beside the executable.
std::string installedDataDirectory();

// The process's current folder, without a final separator; empty when it
// cannot be found.
std::string currentDirectory();

// The value of an environment variable; nothing when it is not set.
std::optional<std::string> environmentVariable(const char* name);

// Reads a whole regular file (at most `limit` bytes); false on any failure.
bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                   std::uint64_t limit = std::uint64_t{1} << 30);

// Writes bytes to a file, replacing it; false when any step fails.
bool writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// True when the path names an existing regular file, or folder.
bool isRegularFile(const std::string& path);
bool isDirectory(const std::string& path);

// Creates one folder (its parent must exist); false when that fails.
bool makeDirectory(const std::string& path);
// Creates a folder with every missing parent; true when it exists afterwards.
bool makeDirectories(const std::string& path);

// Which file a path names, however it is spelled: device and inode (volume
// serial number and file index on Windows), symbolic links followed, so that
// "./a.bin", a link to it and a hard link all give the same identity.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  bool operator==(const FileIdentity&) const = default;
};
// Nothing when the path names nothing that exists (or cannot be looked at).
std::optional<FileIdentity> fileIdentity(const std::string& path);

// Why a path could not be opened, found by looking at it afterwards.
enum class FileProblem {
  None,      // nothing the system shows: the path looks usable
  NotFound,  // no such file (for reading)
  NoFolder,  // the folder it would be in does not exist (for writing)
  IsFolder,
  NoAccess,
  Other,
};
FileProblem readProblem(const std::string& path);
FileProblem writeProblem(const std::string& path);

// Local calendar time of a count of seconds since 1970-01-01 00:00 UTC, by the
// computer's time zone settings; false when the conversion fails.
bool localTime(std::int64_t secondsSince1970, std::tm& out);

// The program's arguments as UTF-8 (on Windows read again from the UTF-16
// command line, since `argv` there holds the ANSI code page).
std::vector<std::string> commandLineArguments(int argc, char** argv);

// True when standard error is a terminal or console (for progress bars).
bool standardErrorIsTerminal();

// While it lives, the console shows UTF-8 output and escape sequences (a
// no-op where terminals already do); the console's settings come back after.
class Utf8Console {
 public:
  Utf8Console();
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
#ifdef _WIN32  // what the console had before
  unsigned outputCodePage_ = 0;
  unsigned long consoleMode_ = 0;  // console mode of standard error
  bool consoleModeChanged_ = false;
#endif
};

// The system's handle of an open file: a descriptor, or a Windows HANDLE;
// -1 when closed in both.
using NativeFile = std::intptr_t;
inline constexpr NativeFile kNoFile = -1;

// A file open for reading by positioned reads; others may read and write it at
// the same time. Reads do not move a shared position, so several threads may
// read one open file at once. Closes itself when destroyed or replaced.
class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ReadOnlyFile(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ~ReadOnlyFile();

  // Opens an existing file (not a folder), closing the one held before; false
  // on failure.
  bool open(const std::string& path);
  void close();
  bool isOpen() const { return file_ != kNoFile; }

  // Size in bytes; 0 when it cannot be found.
  std::uint64_t size() const;
  // Reads up to `count` bytes at `offset`; returns the bytes read (fewer at
  // the end of the file or on an error).
  std::size_t readAt(std::uint64_t offset, void* buffer, std::size_t count) const;

 private:
  NativeFile file_ = kNoFile;
};

// A file written from its start: created, or emptied when it exists. Closes
// itself when destroyed (call close() to learn whether that worked).
class WriteOnlyFile {
 public:
  WriteOnlyFile() = default;
  WriteOnlyFile(const WriteOnlyFile&) = delete;
  WriteOnlyFile& operator=(const WriteOnlyFile&) = delete;
  WriteOnlyFile(WriteOnlyFile&& other) noexcept;
  WriteOnlyFile& operator=(WriteOnlyFile&& other) noexcept;
  ~WriteOnlyFile();

  // Creates or empties the file, closing the one held before; false on failure.
  bool create(const std::string& path);
  bool isOpen() const { return file_ != kNoFile; }
  // Writes all bytes; false when any could not be written.
  bool write(const void* bytes, std::size_t count);
  // False when closing failed (the last bytes may not have reached the disk)
  // or nothing was open.
  bool close();

 private:
  NativeFile file_ = kNoFile;
};

}  // namespace sonvera::platform
