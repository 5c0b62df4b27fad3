#include "export/files_in_use.h"

#include <tuple>

#include "base/path_text.h"

namespace sonvera {
namespace {

std::string comparedName(std::string name) {
  if constexpr (kNamesIgnoreCase)
    for (char& c : name)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return name;
}

}  // namespace

void FilesInUse::add(const std::string& path) {
  if (const auto identity = platform::fileIdentity(path)) files_.emplace_back(*identity, path);
}

void FilesInUse::add(const FilesInUse& other) { files_.insert(files_.end(), other.files_.begin(), other.files_.end()); }

const std::string* FilesInUse::find(const std::string& path) const {
  if (files_.empty()) return nullptr;
  const auto identity = platform::fileIdentity(path);
  return identity ? find(*identity) : nullptr;
}

const std::string* FilesInUse::find(const platform::FileIdentity& identity) const {
  for (const auto& [id, name] : files_)
    if (id == identity) return &name;
  return nullptr;
}

bool WrittenFiles::Key::operator<(const Key& other) const {
  return std::tie(identity.volume, identity.file, name) <
         std::tie(other.identity.volume, other.identity.file, other.name);
}

WrittenFiles::Key WrittenFiles::keyOf(const std::string& path, const std::optional<platform::FileIdentity>& identity) {
  if (identity) return {*identity, {}};
  const auto separator = lastPathSeparator(path);
  const std::string folder = separator == std::string::npos ? "." : path.substr(0, separator + 1);
  const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  // A folder not found is looked for again: it may be made meanwhile.
  if (folder != lastFolder_ || !lastFolderIdentity_) {
    lastFolder_ = folder;
    lastFolderIdentity_ = platform::fileIdentity(folder);
  }
  if (lastFolderIdentity_) return {*lastFolderIdentity_, comparedName(name)};
  // No such folder: writing will fail anyway; only the same spelling is one file.
  return {{~std::uint64_t{0}, ~std::uint64_t{0}}, comparedName(path)};
}

const std::string* WrittenFiles::claim(const std::string& path) { return claim(path, platform::fileIdentity(path)); }

const std::string* WrittenFiles::claim(const std::string& path, const std::optional<platform::FileIdentity>& identity) {
  const auto [at, added] = claimed_.emplace(keyOf(path, identity), path);
  return added ? nullptr : &at->second;
}

// One look at each path: its identity serves both questions.
std::optional<FileClash> findFileClash(const FilesInUse& inUse, std::span<const std::string> written) {
  WrittenFiles claimed;
  for (const std::string& path : written) {
    const auto identity = platform::fileIdentity(path);
    if (identity)
      if (const std::string* used = inUse.find(*identity)) return FileClash{path, *used, false};
    if (const std::string* other = claimed.claim(path, identity)) return FileClash{path, *other, true};
  }
  return std::nullopt;
}

}  // namespace sonvera
