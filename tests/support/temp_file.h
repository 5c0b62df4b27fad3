#pragma once
// A file in the test's temporary folder, removed when the object goes.

#include <cstdint>
#include <string>
#include <vector>

namespace sonvera::test {

class TempFile {
 public:
  explicit TempFile(const std::vector<std::uint8_t>& bytes, const std::string& suffix = ".bin");
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile();

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace sonvera::test
