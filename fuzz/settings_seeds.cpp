// Writes settings-file seeds: defaults, lists of several types, a comment, and a
// file of version 1.

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/settings_file.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  using namespace sonvera;
  if (argc != 2) return 2;
  std::filesystem::create_directories(argv[1]);
  const std::string dir = argv[1];
  SettingsFileContents c;
  c.splitPeriod = 60;
  c.decimationStep = 1;
  int written = platform::writeWholeFile(dir + "/defaults.cfg", encodeSettingsFile(c));
  c.lists[21] = {{2, 0, -1, -1}, {0, 1, 3, 0}};
  c.lists[22] = {{3, 1, 0, 2}};
  c.comment = "Комментарий";
  c.statistics.percentiles = {10, 50, 90, 0, 0, 0};
  auto bytes = encodeSettingsFile(c);
  written += platform::writeWholeFile(dir + "/lists.cfg", bytes);
  bytes[4] = 1;
  bytes.resize(bytes.size() - 8);
  written += platform::writeWholeFile(dir + "/version1.cfg", bytes);
  std::printf("%d seeds written\n", written);
  return written == 3 ? 0 : 1;
}
