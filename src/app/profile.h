#pragma once
// The three remembered folders of the profile (section "BrowseSect").

#include <map>
#include <string>

namespace sonvera {

inline constexpr const char* kSourceFolderKey = "SrcPath";    // measurement files
inline constexpr const char* kResultFolderKey = "ResPath";    // result files
inline constexpr const char* kSettingsFolderKey = "CfgPath";  // settings files

class Profile {
 public:
  virtual ~Profile() = default;
  virtual std::string folder(const std::string& key) const = 0;
  virtual void setFolder(const std::string& key, const std::string& folder) = 0;
};

// A profile that lives as long as the program: for tests and the command line.
class MemoryProfile : public Profile {
 public:
  std::string folder(const std::string& key) const override {
    const auto it = folders_.find(key);
    return it == folders_.end() ? std::string{} : it->second;
  }
  void setFolder(const std::string& key, const std::string& folder) override { folders_[key] = folder; }

 private:
  std::map<std::string, std::string> folders_;
};

// The folder part of a chosen path, with its separator: what a file dialog
// remembers. Empty when the path has no separator.
std::string folderOf(const std::string& path);

// The folder a file dialog starts in: the remembered one, else the current
// directory, each cut to 150 characters.
std::string initialFolder(const Profile& profile, const std::string& key);

}  // namespace sonvera
