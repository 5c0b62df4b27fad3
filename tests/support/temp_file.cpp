#include "support/temp_file.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace sonvera::test {

TempFile::TempFile(const std::vector<std::uint8_t>& bytes, const std::string& suffix) {
  static std::atomic<int> counter{0};
  const auto dir = std::filesystem::temp_directory_path();
  path_ = (dir / ("sonvera_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + suffix)).string();
  std::ofstream out(path_, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TempFile::~TempFile() { std::remove(path_.c_str()); }

}  // namespace sonvera::test
