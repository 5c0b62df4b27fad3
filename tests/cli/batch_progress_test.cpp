#include "batch_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace sonvera::cli {
namespace {

std::string drawn(std::FILE* f) {
  std::string out;
  std::rewind(f);
  for (int c = std::fgetc(f); c != EOF; c = std::fgetc(f)) out += static_cast<char>(c);
  return out;
}

// Records of 1 000, 3 000 and 16 000: the bar has a '#' for every 1 000 done.
TEST(BatchProgress, CountsFilesAndRecordsDoneAndNamesTheFilesRunning) {
  BatchProgress bar({"a.bin", "b.bin", "c.bin"}, {1000, 3000, 16000}, nullptr);
  EXPECT_EQ(bar.text(), "[                    ] 0/3 files, 0/20 k records");
  bar.started(1);
  bar.progress(1, 50);
  EXPECT_EQ(bar.text(), "[#                   ] 0/3 files, 1500/20 k records: b.bin");
  bar.started(0);
  bar.finished(1);
  bar.started(2);
  EXPECT_EQ(bar.text(), "[###                 ] 1/3 files, 3000/20 k records: a.bin, c.bin");
  bar.finished(0);
  bar.progress(2, 150);  // taken as all
  EXPECT_EQ(bar.text(), "[####################] 2/3 files, 20 k/20 k records: c.bin");

  BatchProgress large({"x", "y"}, {1234567, 0}, nullptr);
  large.finished(0);
  EXPECT_EQ(large.text(), "[####################] 1/2 files, 1.2 M/1.2 M records");
  // Record counts unknown: the bar goes by files.
  BatchProgress unknown({"x", "y"}, {0, 0}, nullptr);
  unknown.finished(1);
  EXPECT_EQ(unknown.text(), "[##########          ] 1/2 files, 0/0 records");
}

TEST(BatchProgress, DrawsOnOneLineAtMostTenTimesASecondAndCutsLongLinesBetweenLetters) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  std::string name;
  for (int i = 0; i < 150; ++i) name += "Ж";  // 300 bytes
  BatchProgress bar({name, "b"}, {10, 10}, f);
  bar.started(0);  // drawn at once
  bar.progress(0, 50);  // within the tenth of a second: not drawn
  const std::string first = drawn(f);
  ASSERT_EQ(first.rfind("\r[", 0), 0u);
  ASSERT_EQ(std::count(first.begin(), first.end(), '\r'), 1);
  ASSERT_EQ(first.substr(first.size() - 3), "\033[K");
  const std::string line = first.substr(1, first.size() - 4);
  EXPECT_LE(line.size(), 200u);
  const std::size_t namePart = line.find(": ") + 2;
  EXPECT_EQ((line.size() - namePart) % 2, 0u);  // whole letters only
  EXPECT_EQ(line.substr(0, namePart), "[                    ] 0/2 files, 0/20 records: ");
  std::fseek(f, 0, SEEK_END);
  bar.clear();
  EXPECT_EQ(drawn(f).substr(first.size()), "\r\033[K");
  std::fclose(f);
}

}  // namespace
}  // namespace sonvera::cli
