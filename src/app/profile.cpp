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

std::optional<TextEncoding> parseTextEncoding(std::string_view name) {
  std::string folded(name);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (folded == "cp1251" || folded == "windows-1251") return TextEncoding::Windows1251;
  if (folded == "utf-8" || folded == "utf8") return TextEncoding::Utf8WithBom;
  return std::nullopt;
}

std::string_view textEncodingName(TextEncoding encoding) {
  return encoding == TextEncoding::Utf8WithBom ? "utf-8" : "cp1251";
}

std::string_view textEncodingCaption(TextEncoding encoding) {
  return encoding == TextEncoding::Utf8WithBom ? "UTF-8 (с меткой BOM, для Excel и Calc)" : "Windows-1251";
}

TextEncoding resultEncoding(const Profile& profile) {
  return parseTextEncoding(profile.option(kResultEncodingKey)).value_or(TextEncoding::Windows1251);
}

void setResultEncoding(Profile& profile, TextEncoding encoding) {
  profile.setOption(kResultEncodingKey, std::string(textEncodingName(encoding)));
}

}  // namespace sonvera
