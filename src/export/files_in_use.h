#pragma once
// The files an export (or any other writing command) reads, known by their
// identity rather than their spelling, and the check that nothing it is about
// to write is one of them or another file it writes.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace sonvera {

class FilesInUse {
 public:
  // Remembers an existing file; a path that names nothing is left out, as it
  // cannot be replaced.
  void add(const std::string& path);
  void add(const FilesInUse& other);
  // The remembered path that names the same file as `path`; null when none does.
  const std::string* find(const std::string& path) const;
  const std::string* find(const platform::FileIdentity& identity) const;
  bool empty() const { return files_.empty(); }

 private:
  std::vector<std::pair<platform::FileIdentity, std::string>> files_;
};

// The paths one command writes, each claimed once as a file: the file's
// identity when it exists, else its folder's identity and its name, so that
// "out/a.csv" and "./out/a.csv" are one file before either exists.
class WrittenFiles {
 public:
  // The path claimed before that names the same file as `path`; null when
  // none does, and `path` is claimed.
  const std::string* claim(const std::string& path);
  // The same, with the file's identity already known (none: it does not exist).
  const std::string* claim(const std::string& path, const std::optional<platform::FileIdentity>& identity);

 private:
  struct Key {
    platform::FileIdentity identity;
    std::string name;
    bool operator<(const Key& other) const;
  };
  Key keyOf(const std::string& path, const std::optional<platform::FileIdentity>& identity);
  std::map<Key, std::string> claimed_;
  // The parts of one export lie in one folder: once found, it is not looked up again.
  std::string lastFolder_;
  std::optional<platform::FileIdentity> lastFolderIdentity_;
};

struct FileClash {
  std::string written;          // a path about to be written
  std::string other;            // the file it is: one in use, or another path written
  bool otherIsWritten = false;  // `other` is one of the written paths
};

// The first clash among `written`, in order: a path that names a file in use,
// or two paths that name one file, also when that file does not exist yet.
std::optional<FileClash> findFileClash(const FilesInUse& inUse, std::span<const std::string> written);

}  // namespace sonvera
