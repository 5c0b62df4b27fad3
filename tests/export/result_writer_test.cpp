#include "export/result_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace sonvera {
namespace {

namespace fs = std::filesystem;

class ResultWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("sonvera-writer-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path dir_;
};

TEST_F(ResultWriterTest, LinesEndInCrLf) {
  ResultWriter w;
  ASSERT_TRUE(w.create(path("a.csv")));
  w.write("N;");
  w.endLine();
  w.writeLine("1;12,5;");
  w.write("two\nlines\n");
  w.write("kept\r\n");  // as in text mode, a CR of the text stays
  EXPECT_TRUE(w.ok());
  EXPECT_TRUE(w.close());
  EXPECT_EQ(contents(path("a.csv")), "N;\r\n1;12,5;\r\ntwo\r\nlines\r\nkept\r\r\n");
}

TEST_F(ResultWriterTest, EmptiesAnExistingFileAndKeepsBytes) {
  {
    std::ofstream old(path("b.txt"), std::ios::binary);
    old << "old contents that are longer";
  }
  ResultWriter w;
  ASSERT_TRUE(w.create(path("b.txt")));
  w.write(std::string("\xC4\xE0\0x", 4));
  ASSERT_TRUE(w.close());
  EXPECT_EQ(contents(path("b.txt")), std::string("\xC4\xE0\0x", 4));
}

TEST_F(ResultWriterTest, LargeOutputArrivesWhole) {
  ResultWriter w;
  ASSERT_TRUE(w.create(path("big.csv")));
  std::string expected;
  for (int i = 0; i < 50000; ++i) {
    const std::string line = std::to_string(i) + ";" + std::string(static_cast<std::size_t>(i % 7), 'x') + ";";
    w.writeLine(line);
    expected += line + "\r\n";
  }
  w.write(std::string(200000, 'y'));
  expected += std::string(200000, 'y');
  ASSERT_TRUE(w.close());
  EXPECT_EQ(contents(path("big.csv")), expected);
}

TEST_F(ResultWriterTest, FileThatCannotBeCreated) {
  ResultWriter w;
  EXPECT_FALSE(w.create(path("missing/dir/a.csv")));
  EXPECT_FALSE(w.isOpen());
  w.writeLine("x");
  EXPECT_FALSE(w.ok());
  EXPECT_FALSE(w.close());
}

TEST_F(ResultWriterTest, FullDiskIsReported) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  {
    ResultWriter small;
    ASSERT_TRUE(small.create("/dev/full"));
    small.writeLine("short");
    EXPECT_TRUE(small.ok());  // still in the buffer
    EXPECT_FALSE(small.close());
    EXPECT_FALSE(small.close());
  }
  ResultWriter big;
  ASSERT_TRUE(big.create("/dev/full"));
  for (int i = 0; i < 10000; ++i) big.writeLine("0123456789;0123456789;");
  EXPECT_FALSE(big.ok());
  EXPECT_FALSE(big.close());
}

TEST_F(ResultWriterTest, ReusedAndMovedWriters) {
  ResultWriter w;
  ASSERT_TRUE(w.create(path("1.csv")));
  w.writeLine("one");
  ASSERT_TRUE(w.create(path("2.csv")));  // closes the first
  w.writeLine("two");
  ResultWriter moved = std::move(w);
  EXPECT_FALSE(w.isOpen());
  EXPECT_TRUE(moved.close());
  EXPECT_EQ(contents(path("1.csv")), "one\r\n");
  EXPECT_EQ(contents(path("2.csv")), "two\r\n");
  {
    ResultWriter unclosed;
    ASSERT_TRUE(unclosed.create(path("3.csv")));
    unclosed.write("flushed on destruction");
  }
  EXPECT_EQ(contents(path("3.csv")), "flushed on destruction");
}

TEST(ResultFileNames, PlainAndNumbered) {
  EXPECT_EQ(dataFileName("/r/out", ".csv", false, 1), "/r/out.csv");
  EXPECT_EQ(dataFileName("/r/out", ".csv", true, 1), "/r/out_0001.csv");
  EXPECT_EQ(dataFileName("/r/out", ".csv", true, 42), "/r/out_0042.csv");
  EXPECT_EQ(dataFileName("/r/out", ".csv", true, 10000), "/r/out_10000.csv");
  EXPECT_EQ(dataFileName("/r/out", "", true, 2), "/r/out_0002");
  EXPECT_EQ(informationFileName("/r/out", false, 3), "/r/out.info");
  EXPECT_EQ(informationFileName("/r/out", true, 3), "/r/out_0003.info");
}

}  // namespace
}  // namespace sonvera
