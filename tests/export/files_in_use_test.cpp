#include <gtest/gtest.h>

#include <filesystem>

#include "export/files_in_use.h"
#include "platform/platform.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;

TEST(FilesInUse, WrittenPathsAreOneFileBeforeTheyExist) {
  const fs::path dir = fs::temp_directory_path() / ("sonvera-written-" + std::to_string(::getpid()));
  fs::create_directories(dir / "out");
  const std::string a = (dir / "out" / "a.csv").string();
  const std::string dotted = (dir / "out" / "." / "a.csv").string();
  const std::string viaParent = (dir / "out" / ".." / "out" / "a.csv").string();

  WrittenFiles written;
  EXPECT_EQ(written.claim(a), nullptr);
  EXPECT_EQ(written.claim((dir / "out" / "b.csv").string()), nullptr);
  ASSERT_NE(written.claim(dotted), nullptr);
  EXPECT_EQ(*written.claim(viaParent), a);
  // No such folder: only the same spelling is the same file.
  EXPECT_EQ(written.claim((dir / "none" / "a.csv").string()), nullptr);
  EXPECT_NE(written.claim((dir / "none" / "a.csv").string()), nullptr);

  // A file in use is known by what it is, not by how it is written.
  platform::writeWholeFile(a, {1, 2, 3});
  FilesInUse inUse;
  inUse.add(dotted);
  inUse.add((dir / "missing.bin").string());  // names nothing, so nothing can replace it
  ASSERT_NE(inUse.find(viaParent), nullptr);
  EXPECT_EQ(*inUse.find(viaParent), dotted);
  EXPECT_EQ(inUse.find((dir / "missing.bin").string()), nullptr);
  EXPECT_EQ(inUse.find((dir / "out").string()), nullptr);
  const std::string written2[] = {(dir / "out" / "c.csv").string(), a};
  const auto clash = findFileClash(inUse, written2);
  ASSERT_TRUE(clash);
  EXPECT_EQ(clash->written, a);
  EXPECT_FALSE(clash->otherIsWritten);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace sonvera
