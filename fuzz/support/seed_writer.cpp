#include "seed_writer.h"

#include <filesystem>
#include <fstream>
#include <random>

namespace sonvera::fuzz {

int writeSeeds(const std::string& folder, int count, const std::vector<std::string>& extra) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  std::mt19937 random(20261209);
  const auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(folder) / name, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
  };
  bool ok = true;
  for (int i = 0; i < count; ++i) {
    std::string bytes(64 + static_cast<std::size_t>(i) * 97 % 4000, '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
    ok = write("seed" + std::to_string(i), bytes) && ok;
  }
  for (std::size_t i = 0; i < extra.size(); ++i) ok = write("text" + std::to_string(i), extra[i]) && ok;
  return ok ? 0 : 1;
}

}  // namespace sonvera::fuzz
