#include "app/profile.h"

#include "base/path_text.h"
#include "base/utf16.h"
#include "platform/platform.h"

namespace sonvera {
namespace {

constexpr std::size_t kFolderLimit = 150;

std::string limited(const std::string& text) {
  const std::u16string units = utf8ToUtf16(text);
  return units.size() <= kFolderLimit ? text : utf16ToUtf8(units.substr(0, kFolderLimit));
}

}  // namespace

std::string folderOf(const std::string& path) {
  const auto separator = lastPathSeparator(path);
  return separator == std::string::npos ? std::string{} : path.substr(0, separator + 1);
}

std::string initialFolder(const Profile& profile, const std::string& key) {
  const std::string remembered = profile.folder(key);
  if (!remembered.empty()) return limited(remembered);
  return limited(platform::currentDirectory());
}

}  // namespace sonvera
