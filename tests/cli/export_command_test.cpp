#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/settings_file.h"
#include "app/strings.h"
#include "base/printf_text.h"
#include "cli_run.h"
#include "export/ansi_text.h"
#include "platform/platform.h"
#include "support/summary_files.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;

class ExportCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir);
    std::vector<test::SummaryRecord> records = test::steadyRecords(300, 1);
    records[5].marker = 1;
    platform::writeWholeFile(path("cat.bin"), writeCatalogue(test::summaryCatalogueSource(1), 15));
    platform::writeWholeFile(path("in.bin"), test::summaryFileBytes(1, records));
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const std::string& name) const { return (dir / name).string(); }
  int run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--catalogue", path("cat.bin"), "export", path("in.bin")});
    const test::CliRun r = test::runCli(std::move(args));
    out = r.out;
    err = r.err;
    return r.code;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir = fs::temp_directory_path() / ("sonvera-export-cli-" + std::to_string(::getpid()));
  std::string out, err;
};

TEST_F(ExportCommand, WritesTheChosenColumns) {
  ASSERT_EQ(run({"-o", path("r.csv"), "--all", "--record-number", "--separator", "tab", "--decimal-comma",
                 "--from", "2", "--to", "3"}),
            0)
      << err;
  EXPECT_EQ(read("r.csv"), toAnsi("N\tОбщ,Leq,A\t\r\n2\t60,00\t\r\n3\t60,00\t\r\n"));
  EXPECT_FALSE(fs::exists(path("r.info")));
  EXPECT_NE(out.find(path("r.csv")), std::string::npos);
}

TEST_F(ExportCommand, SplitsWithStatisticsAndInformationFiles) {
  ASSERT_EQ(run({"-o", path("r.csv"), "--all", "--split", "100rec", "--stats", "min,L50", "--source-info",
                 "--comment", "Точка"}),
            0)
      << err;
  for (const char* name : {"r_0001.csv", "r_0002.csv", "r_0003.csv", "r_0001.info", "r_0003.info"})
    EXPECT_TRUE(fs::exists(path(name))) << name;
  EXPECT_FALSE(fs::exists(path("r_0004.csv")));
  const std::string info = read("r_0001.info");
  EXPECT_NE(info.find(";Min;L50;\r\n"), std::string::npos);
  EXPECT_NE(info.find("\xD2\xEE\xF7\xEA\xE0\r\n"), std::string::npos);  // the comment in Windows-1251
}

TEST_F(ExportCommand, DialogMessagesAndExitCodes) {
  EXPECT_EQ(run({"-o", path("r.csv")}), 1);
  EXPECT_EQ(err, std::string(text(StringId::EmptyExportList)) + "\n");
  EXPECT_EQ(run({"-o", path("r.csv"), "--all", "--split", "0min"}), 1);
  EXPECT_EQ(err, std::string(text(StringId::BadSplitValue)) + "\n");
  EXPECT_EQ(run({"-o", path("r.csv"), "--all", "--from", "0"}), 1);
  EXPECT_EQ(err, std::string(text(StringId::BadRangeStart)) + "\n");
  EXPECT_EQ(run({"-o", path("r.csv"), "--all", "--stats", "L100"}), 1);
  EXPECT_EQ(err, std::string(text(StringId::BadPercentile)) + "\n");
  EXPECT_EQ(run({"-o", path("r.csv"), "--all", "--split", "1rec"}), 1);  // 300 files: answered No
  EXPECT_FALSE(fs::exists(path("r_0001.csv")));
  EXPECT_EQ(run({"-o", path("r.csv"), "--all", "--split", "1rec", "--yes"}), 0);
  EXPECT_TRUE(fs::exists(path("r_0300.csv")));
  EXPECT_EQ(run({"-o", path("missing/r.csv"), "--all"}), 1);
  EXPECT_EQ(err, "Не могу открыть файл '" + path("missing/r.csv") + "'\n" + path("missing/r.csv") + ": нет такой папки\n");
  EXPECT_EQ(run({"-o", path("r.csv"), "--split", "5hours"}), 2);
  EXPECT_EQ(run({}), 2);
}

TEST_F(ExportCommand, SettingsFilesAndTimeRanges) {
  ASSERT_EQ(run({"--all", "--datetime", "--decimate", "10sec:max", "--save-settings", path("s.cfg")}), 0) << err;
  EXPECT_FALSE(fs::exists(path("r.csv")));
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(platform::readWholeFile(path("s.cfg"), bytes));
  const auto saved = decodeSettingsFile(bytes);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->decimationStep, 10u);
  EXPECT_EQ(saved->maxima, 1u);
  EXPECT_EQ(saved->lists.at(test::kSummaryType).size(), 1u);

  ASSERT_EQ(run({"-s", path("s.cfg"), "-o", path("t.csv"), "--by-time", "--from", "10:00:00", "--to", "10:00:25"}), 0)
      << err;
  EXPECT_EQ(read("t.csv"),
            toAnsi("Дата;Время;Общ,Leq,A;\r\n01/09/23;10:00:10;60.00;\r\n01/09/23;10:00:20;60.00;\r\n"));
  EXPECT_EQ(run({"-s", path("missing.cfg"), "-o", path("t.csv")}), 1);
}

// Paths are UTF-8 in the program; on Windows they must reach the system as UTF-16.
TEST_F(ExportCommand, CyrillicFolderWithSpaces) {
  fs::create_directories(dir / fs::path(u8"Замеры за май"));
  const std::string folder = path("") + "Замеры за май/";
  ASSERT_TRUE(platform::writeWholeFile(folder + "улица 1.bin", test::summaryFileBytes(1, test::steadyRecords(300, 1))));
  const auto inFolder = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--catalogue", path("cat.bin")});
    return test::runCli(std::move(args));
  };
  const test::CliRun info = inFolder({"info", folder + "улица 1.bin"});
  ASSERT_EQ(info.code, 0) << info.err;
  EXPECT_NE(info.out.find("300"), std::string::npos);

  const std::vector<std::string> options{"--all", "--datetime", "--split", "100rec", "--source-info"};
  std::vector<std::string> args{"export", folder + "улица 1.bin", "-o", folder + "итог за день.csv"};
  args.insert(args.end(), options.begin(), options.end());
  ASSERT_EQ(inFolder(args).code, 0);
  ASSERT_EQ(run({"-o", path("plain.csv"), "--all", "--datetime", "--split", "100rec"}), 0) << err;
  for (const char* part : {"_0001", "_0003"}) {
    std::vector<std::uint8_t> cyrillic, plain;
    ASSERT_TRUE(platform::readWholeFile(folder + "итог за день" + part + ".csv", cyrillic)) << part;
    ASSERT_TRUE(platform::readWholeFile(path(std::string("plain") + part + ".csv"), plain)) << part;
    EXPECT_EQ(cyrillic, plain) << part;
    EXPECT_TRUE(platform::isRegularFile(folder + "итог за день" + part + ".info")) << part;
  }
  EXPECT_FALSE(platform::isRegularFile(folder));
}

TEST_F(ExportCommand, Utf8ResultsBeginWithTheByteOrderMark) {
  ASSERT_EQ(run({"-o", path("u.csv"), "--all", "--from", "1", "--to", "1", "--encoding", "utf-8", "--stats", "min"}), 0)
      << err;
  EXPECT_EQ(read("u.csv"), "\xEF\xBB\xBFОбщ,Leq,A;\r\n60.00;\r\n");
  EXPECT_EQ(read("u.info").substr(0, 3), "\xEF\xBB\xBF");
  ASSERT_EQ(run({"-o", path("a.csv"), "--all", "--from", "1", "--to", "1", "--encoding", "cp1251"}), 0) << err;
  EXPECT_EQ(read("a.csv"), toAnsi("Общ,Leq,A;\r\n60.00;\r\n"));
  EXPECT_EQ(run({"-o", path("x.csv"), "--all", "--encoding", "koi8-r"}), 2);
}

// Several files into one folder: each failure named, the others exported.
TEST_F(ExportCommand, ManyFilesIntoOneFolder) {
  platform::writeWholeFile(path("b.bin"), test::summaryFileBytes(1, test::steadyRecords(50, 1)));
  fs::create_directories(dir / "again");
  platform::writeWholeFile(path("again/b.bin"), test::summaryFileBytes(1, test::steadyRecords(5, 1)));
  const auto batch = [&](std::vector<std::string> files, std::vector<std::string> options) {
    std::vector<std::string> args{"--catalogue", path("cat.bin"), "export"};
    args.insert(args.end(), files.begin(), files.end());
    args.insert(args.end(), options.begin(), options.end());
    return test::runCli(std::move(args));
  };
  const test::CliRun r = batch({path("in.bin"), path("missing.bin"), path("b.bin")},
                               {"--all", "--output-dir", path("out"), "--jobs", "2"});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(fs::exists(dir / "out" / "in.csv"));
  EXPECT_TRUE(fs::exists(dir / "out" / "b.csv"));
  EXPECT_FALSE(fs::exists(dir / "out" / "missing.csv"));
  EXPECT_EQ(r.err, path("missing.bin") + ": " + text(StringId::CannotOpenFile) + "\n" + path("missing.bin") +
                       ": нет такого файла\n");
  EXPECT_NE(r.out.find("2 exported, 1 failed\n"), std::string::npos);

  // Two sources of the same name would write one result: the second is refused.
  const test::CliRun same = batch({path("b.bin"), path("again/b.bin")}, {"--all", "--output-dir", path("out"), "--jobs", "1"});
  EXPECT_EQ(same.code, 1);
  EXPECT_NE(same.err.find(path("again/b.bin") + ": "), std::string::npos);
  EXPECT_NE(same.out.find("1 exported, 1 failed"), std::string::npos);
  std::vector<std::uint8_t> kept;
  ASSERT_TRUE(platform::readWholeFile(path("out/b.csv"), kept));
  EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), 51);  // the 50 records of the first

  EXPECT_EQ(batch({path("in.bin"), path("b.bin")}, {"--all", "-o", path("r.csv")}).code, 2);
  EXPECT_EQ(batch({path("in.bin")}, {"--all", "--output-dir", path("out"), "-o", path("r.csv")}).code, 2);
  EXPECT_EQ(batch({path("in.bin")}, {"--all", "--output-dir", path("out"), "--jobs", "0"}).code, 2);
}

// Times typed as the summary shows them or in ISO form; a refused one says
// which forms the file takes.
TEST_F(ExportCommand, TimesAsUsersTypeThem) {
  ASSERT_EQ(run({"--all", "--datetime", "--decimate", "10sec:max", "-o", path("t.csv"), "--by-time", "--from",
                 "01/09/2023 10:00:00", "--to", "2023-09-01T10:00:25"}),
            0)
      << err;
  EXPECT_EQ(read("t.csv"),
            toAnsi("Дата;Время;Общ,Leq,A;\r\n01/09/23;10:00:10;60.00;\r\n01/09/23;10:00:20;60.00;\r\n"));
  EXPECT_EQ(out, path("t.csv") + ": 26 records, 2 lines in 1 file\n");
  EXPECT_EQ(run({"--all", "-o", path("t.csv"), "--by-time", "--from", "2023-09-02 10:00:00", "--to", "10:00:25"}), 1);
  EXPECT_EQ(err.rfind(std::string(text(StringId::BadRangeStart)) + "\nВремя в файле одного дня задаётся как ЧЧ:ММ:СС", 0),
            0u)
      << err;
}

TEST_F(ExportCommand, NoResultReplacesAFileItReads) {
  const std::string source = read("in.bin");
  const std::string dotted = (dir / "." / "in.bin").string();
  EXPECT_EQ(run({"--all", "-o", dotted}), 1);
  EXPECT_EQ(err, printfText(text(StringId::WouldReplaceFileInUse), dotted.c_str(), path("in.bin").c_str()) + "\n");
  EXPECT_EQ(run({"--all", "--save-settings", path("in.bin")}), 1);
  EXPECT_EQ(run({"--all", "--save-settings", path("s.cfg"), "-o", path("s.cfg")}), 1);
  EXPECT_TRUE(read("in.bin") == source);
  ASSERT_EQ(run({"--all", "--save-settings", path("s.cfg")}), 0);
  EXPECT_EQ(err, "Настройки записаны в " + path("s.cfg") + "\n");

  // In a batch every source is protected from every result: "out/b.csv" is a
  // measurement file that the result of "b.bin" would replace.
  platform::writeWholeFile(path("b.bin"), test::summaryFileBytes(1, test::steadyRecords(50, 1)));
  fs::create_directories(dir / "out");
  fs::copy_file(path("in.bin"), dir / "out" / "b.csv");
  const test::CliRun batch = test::runCli({"--catalogue", path("cat.bin"), "export", path("b.bin"), path("out/b.csv"),
                                           "--all", "--output-dir", path("out"), "--jobs", "1"});
  EXPECT_EQ(batch.code, 1);
  EXPECT_NE(batch.out.find("0 exported, 2 failed"), std::string::npos) << batch.out;
  EXPECT_NE(batch.err.find(path("b.bin") + ": " +
                           printfText(text(StringId::WouldReplaceFileInUse), path("out/b.csv").c_str(),
                                      path("out/b.csv").c_str())),
            std::string::npos)
      << batch.err;
  EXPECT_TRUE(read("out/b.csv") == source);
}

TEST_F(ExportCommand, SettingsForAnotherInstrumentSaySo) {
  SettingsFileContents other;
  other.lists[123] = {ExportItem{2, 0, 0, 0}};
  platform::writeWholeFile(path("other.cfg"), encodeSettingsFile(other));
  EXPECT_EQ(run({"-s", path("other.cfg"), "-o", path("r.csv")}), 1);
  EXPECT_EQ(err, std::string(text(StringId::EmptyExportList)) +
                     "\nв настройках нет значений для прибора «Модель» (тип 40); значения есть для типов: 123\n");
}

// Folders of --output-dir are made with their parents; each line counts what was written.
TEST_F(ExportCommand, BatchMakesItsFolderAndCountsLinesAndFiles) {
  const test::CliRun r = test::runCli({"--catalogue", path("cat.bin"), "export", path("in.bin"), "--all",
                                       "--decimate", "60rec", "--stats", "leq", "--output-dir", path("a/b/c")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "[1/1] " + path("a/b/c/in.csv") + ": 300 records, 5 lines in 2 files\n1 exported, 0 failed\n");
}

}  // namespace
}  // namespace sonvera
