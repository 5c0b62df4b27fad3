#pragma once
// The three remembered folders of the profile (section "BrowseSect"), and
// the program's own options kept beside them.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "export/text_encoding.h"

namespace sonvera {

inline constexpr const char* kSourceFolderKey = "SrcPath";    // measurement files
inline constexpr const char* kResultFolderKey = "ResPath";    // result files
inline constexpr const char* kSettingsFolderKey = "CfgPath";  // settings files

// The text encoding of result files: "cp1251" (also when unset) or "utf-8".
inline constexpr const char* kResultEncodingKey = "ResultEncoding";

class Profile {
 public:
  virtual ~Profile() = default;
  virtual std::string folder(const std::string& key) const = 0;
  virtual void setFolder(const std::string& key, const std::string& folder) = 0;
  virtual std::string option(const std::string& key) const = 0;
  virtual void setOption(const std::string& key, const std::string& value) = 0;
};

// A profile that lives as long as the program: for tests and the command line.
class MemoryProfile : public Profile {
 public:
  std::string folder(const std::string& key) const override {
    const auto it = folders_.find(key);
    return it == folders_.end() ? std::string{} : it->second;
  }
  void setFolder(const std::string& key, const std::string& folder) override { folders_[key] = folder; }
  std::string option(const std::string& key) const override {
    const auto it = options_.find(key);
    return it == options_.end() ? std::string{} : it->second;
  }
  void setOption(const std::string& key, const std::string& value) override { options_[key] = value; }

 private:
  std::map<std::string, std::string> folders_;
  std::map<std::string, std::string> options_;
};

// The result encoding kept in the profile, and its names as the command line
// and the profile write them ("cp1251", "utf-8").
TextEncoding resultEncoding(const Profile& profile);
void setResultEncoding(Profile& profile, TextEncoding encoding);
std::optional<TextEncoding> parseTextEncoding(std::string_view name);
std::string_view textEncodingName(TextEncoding encoding);
// As the save dialog offers it.
std::string_view textEncodingCaption(TextEncoding encoding);

// The folder part of a chosen path, with its separator: what a file dialog
// remembers. Empty when the path has no separator.
std::string folderOf(const std::string& path);

// The folder a file dialog starts in: the remembered one, else the current
// directory, each cut to 150 characters.
std::string initialFolder(const Profile& profile, const std::string& key);

}  // namespace sonvera
