#include "platform/platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace sonvera {
namespace {

namespace fs = std::filesystem;

class Platform : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir_ / fs::path(u8"Папка с файлами")); }
  void TearDown() override { fs::remove_all(dir_); }
  // UTF-8 paths, as the program passes them.
  std::string path(const std::string& name) const { return (dir_ / "").string() + "Папка с файлами/" + name; }

  fs::path dir_ = fs::temp_directory_path() / ("sonvera-platform-" + std::to_string(
                      ::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

std::vector<std::uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST_F(Platform, WholeFilesUnderCyrillicNames) {
  ASSERT_TRUE(platform::writeWholeFile(path("замер 1.bin"), bytes("первый")));
  ASSERT_TRUE(platform::writeWholeFile(path("замер 1.bin"), bytes("второй")));  // replaced, not appended
  std::vector<std::uint8_t> read;
  ASSERT_TRUE(platform::readWholeFile(path("замер 1.bin"), read));
  EXPECT_EQ(read, bytes("второй"));
  EXPECT_TRUE(platform::isRegularFile(path("замер 1.bin")));
  EXPECT_FALSE(platform::readWholeFile(path("замер 1.bin"), read, 3));  // over the limit

  for (const std::string& bad : {path("нет такого.bin"), path(""), path("нет/такого.bin")}) {
    EXPECT_FALSE(platform::readWholeFile(bad, read)) << bad;
    EXPECT_FALSE(platform::isRegularFile(bad)) << bad;
    platform::ReadOnlyFile file;
    EXPECT_FALSE(file.open(bad)) << bad;
  }
  EXPECT_FALSE(platform::writeWholeFile(path("нет/такого.bin"), read));
  EXPECT_FALSE(platform::writeWholeFile(path(""), read));  // a folder
}

// A meter's software may still be writing a file the program reads, or
// rewrite one it has open.
TEST_F(Platform, ReadingWhileAnotherWrites) {
  platform::WriteOnlyFile writer;
  ASSERT_TRUE(writer.create(path("идёт запись.bin")));
  ASSERT_TRUE(writer.write("abc", 3));
  platform::ReadOnlyFile reader;
  ASSERT_TRUE(reader.open(path("идёт запись.bin")));
  ASSERT_TRUE(writer.write("def", 3));
  EXPECT_EQ(reader.size(), 6u);
  char buffer[8] = {};
  EXPECT_EQ(reader.readAt(2, buffer, sizeof buffer), 4u);
  EXPECT_EQ(std::string(buffer, 4), "cdef");
  EXPECT_EQ(reader.readAt(6, buffer, 1), 0u);
  EXPECT_EQ(reader.readAt(std::uint64_t{1} << 62, buffer, 1), 0u);
  EXPECT_TRUE(writer.close());
  EXPECT_FALSE(writer.close());

  EXPECT_TRUE(platform::writeWholeFile(path("идёт запись.bin"), bytes("xy")));
  EXPECT_EQ(reader.size(), 2u);
  platform::ReadOnlyFile moved = std::move(reader);
  EXPECT_FALSE(reader.isOpen());
  EXPECT_EQ(moved.readAt(0, buffer, sizeof buffer), 2u);
}

TEST_F(Platform, FoldersOfTheProcess) {
  const std::string exe = platform::executableDirectory();
  ASSERT_FALSE(exe.empty());
  EXPECT_TRUE(exe.back() == '/' || exe.back() == '\\');
  EXPECT_TRUE(fs::exists(fs::path(exe)));
  EXPECT_EQ(fs::path(platform::currentDirectory()), fs::current_path());
#ifdef _WIN32
  EXPECT_EQ(platform::installedDataDirectory(), "");  // data sit beside the program
#else
  EXPECT_EQ(platform::installedDataDirectory(), (fs::path(exe).parent_path().parent_path() / "share/sonvera/").string());
#endif
}

}  // namespace
}  // namespace sonvera
