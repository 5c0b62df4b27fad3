#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "app/main_dialog.h"
#include "app/strings.h"
#include "export/ansi_text.h"
#include "platform/platform.h"
#include "support/scripted_host.h"
#include "support/summary_files.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;

class StartExport : public ::testing::Test {
 protected:
  void open(int records, const std::string& name = "run7.bin") {
    fs::create_directories(dir);
    source = (dir / name).string();
    std::vector<std::uint8_t> bytes = test::summaryFileBytes(1, test::steadyRecords(records, 1));
    std::FILE* f = std::fopen(source.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    dialog = std::make_unique<MainDialog>(catalogue, host);
    ASSERT_TRUE(dialog->openFile(source));
    dialog->addAllExportItems();
  }
  void TearDown() override {
    dialog.reset();
    fs::remove_all(dir);
  }
  MainDialogState& fields() { return dialog->editableState(); }
  bool start(const std::string& result) { return test::exportTo(*dialog, host, result); }
  std::string result(const std::string& name) const { return (dir / name).string(); }

  fs::path dir = fs::temp_directory_path() / ("sonvera-start-" + std::to_string(::getpid()));
  DeviceCatalogue catalogue = test::summaryCatalogue(1);
  test::ScriptedHost host;
  std::string source;
  std::unique_ptr<MainDialog> dialog;
};

TEST_F(StartExport, SplitAndDecimationValuesAreCheckedWhenOn) {
  open(10);
  fields().splitPeriod = "60 ";
  EXPECT_TRUE(start(result("a.csv")));  // splitting off: not checked
  fields().split = true;
  EXPECT_FALSE(start(result("a.csv")));
  EXPECT_EQ(host.messages.back(), text(StringId::BadSplitValue));
  for (const char* bad : {"0", "2147483648", "-1", "x"}) {
    fields().splitPeriod = bad;
    EXPECT_FALSE(start(result("a.csv"))) << bad;
  }
  fields().splitPeriod = " 60";
  fields().decimate = true;
  fields().decimationStep = "";
  EXPECT_FALSE(start(result("a.csv")));
  EXPECT_EQ(host.messages.back(), text(StringId::BadDecimationValue));
  fields().decimationStep = "2147483647";
  EXPECT_TRUE(start(result("a.csv")));
  EXPECT_EQ(dialog->exportSettings().splitCount, 60u);
  EXPECT_EQ(dialog->exportSettings().decimationCount, 2147483647u);
}

TEST_F(StartExport, RecordRange) {
  open(10);
  const auto refused = [&](const char* from, const char* to) {
    fields().rangeFrom = from;
    fields().rangeTo = to;
    host.messages.clear();
    return !start(result("a.csv")) ? host.messages.at(0) : std::string{};
  };
  EXPECT_EQ(refused("0", "10"), text(StringId::BadRangeStart));
  EXPECT_EQ(refused("1x", "10"), text(StringId::BadRangeStart));
  EXPECT_EQ(refused("1", "11"), text(StringId::BadRangeEnd));
  EXPECT_EQ(refused("5", "4"), text(StringId::BadRangeEnd));
  EXPECT_EQ(refused("5", "5"), "");
  EXPECT_EQ(dialog->exportSettings().firstRecord, 4u);
  EXPECT_EQ(dialog->exportSettings().lastRecord, 4u);
  EXPECT_EQ(refused("1", "10"), "");
}

TEST_F(StartExport, TimeRange) {
  open(10);
  fields().rangeInRecords = false;
  fields().rangeFrom = "10:00:02";
  fields().rangeTo = "10:00:05";
  EXPECT_TRUE(start(result("a.csv")));
  EXPECT_EQ(dialog->exportSettings().firstRecord, 2u);
  EXPECT_EQ(dialog->exportSettings().lastRecord, 5u);
  fields().rangeFrom = "09:00:00";
  EXPECT_FALSE(start(result("a.csv")));
  EXPECT_EQ(host.messages.back(), text(StringId::BadRangeStart));
  fields().rangeFrom = "10:00:05";
  fields().rangeTo = "10:00:01";
  EXPECT_FALSE(start(result("a.csv")));
  EXPECT_EQ(host.messages.back(), text(StringId::BadRangeEnd));
}

TEST_F(StartExport, EmptyListAndCancelledDialog) {
  open(3);
  dialog->clearExportList();
  EXPECT_FALSE(start(result("a.csv")));
  EXPECT_EQ(host.messages.back(), text(StringId::EmptyExportList));
  dialog->addAllExportItems();
  host.messages.clear();
  host.files.clear();
  EXPECT_FALSE(dialog->startExport());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(dialog->finishExport());
}

TEST_F(StartExport, MoreThan200FilesAsks) {
  for (const auto& [records, asks] : {std::pair{201, true}, {200, false}, {402, true}, {401, false}}) {
    open(records);
    fields().split = true;
    fields().splitByRecords = true;
    fields().splitPeriod = records > 201 ? "2" : "1";
    host.questions.clear();
    host.answers = {false};
    const bool started = start(result("a.csv"));
    EXPECT_EQ(host.questions.size(), asks ? 1u : 0u) << records;
    EXPECT_EQ(started, !asks) << records;
  }
  host.answers = {true};
  EXPECT_TRUE(start(result("a.csv")));  // Yes goes on
}

TEST_F(StartExport, ProposedNameAndResultPath) {
  for (const auto& [name, proposed] : {std::pair{"run7.bin", "run7.csv"}, {"run7", "run7.csv"}}) {
    open(3, name);
    host.proposedNames.clear();
    start(result("x.csv"));
    EXPECT_EQ(host.proposedNames.at(0), proposed);
  }
  fs::create_directories(dir / "a.b");
  open(3, "a.b/run7");
  host.proposedNames.clear();
  start(result("x.csv"));
  EXPECT_EQ(host.proposedNames.at(0), "run7.csv");
  EXPECT_EQ(host.memory.folder("ResPath"), (dir / "").string());

  start(result("name_0001.csv"));
  EXPECT_EQ(dialog->exportSettings().resultBase, result("name_0001"));  // splitting off: kept
  fields().split = true;
  start(result("name_0001.csv"));
  EXPECT_EQ(dialog->exportSettings().resultBase, result("name"));
  EXPECT_EQ(dialog->exportSettings().resultExtension, ".csv");
  start(result("noextension"));
  EXPECT_EQ(dialog->exportSettings().resultBase, result("noextension"));
  EXPECT_EQ(dialog->exportSettings().resultExtension, "");
}

TEST_F(StartExport, InformationFileCarriesTheLoadDetails) {
  fs::create_directories(dir);
  source = (dir / "loads.bin").string();
  std::vector<test::SummaryRecord> records = test::steadyRecords(4, 1);
  records[1].underload = {1};
  records[2].overload = {1};
  platform::writeWholeFile(source, test::summaryFileBytes(1, records));
  dialog = std::make_unique<MainDialog>(catalogue, host);
  ASSERT_TRUE(dialog->openFile(source));
  dialog->addAllExportItems();
  fields().sourceInfo = 1;
  ASSERT_TRUE(start(result("l.csv")));
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(platform::readWholeFile(result("l.info"), bytes));
  const std::string info(bytes.begin(), bytes.end());
  EXPECT_NE(info.find(toAnsi("Недогрузка: A: 25.0% времени начиная с 2 записи (10:00:01)\r\n")), std::string::npos);
  EXPECT_NE(info.find(toAnsi("Перегрузка: 25.0% времени начиная с 3 записи (10:00:02)\r\n")), std::string::npos);
}

TEST_F(StartExport, ARefusedStartStillStopsTheRunningExport) {
  open(3);
  host.files = {result("a.csv")};
  ASSERT_TRUE(dialog->startExport());
  fields().rangeFrom = "0";
  EXPECT_FALSE(dialog->startExport());  // returns only after the worker has ended
  const auto outcome = dialog->finishExport();
  ASSERT_TRUE(outcome.has_value());
  EXPECT_TRUE(outcome->succeeded());
  EXPECT_FALSE(dialog->finishExport().has_value());
}

TEST_F(StartExport, OnlyTheEndOfTheLatestExportCounts) {
  open(3);
  host.files = {result("a.csv"), result("b.csv")};
  ASSERT_TRUE(dialog->startExport());
  ASSERT_TRUE(dialog->startExport());  // stops the first, whose end arrives later
  EXPECT_TRUE(dialog->exportRunning());
  EXPECT_FALSE(dialog->exportEndArrived());
  EXPECT_TRUE(dialog->exportEndArrived());
  ASSERT_TRUE(dialog->finishExport().has_value());
  EXPECT_FALSE(dialog->exportRunning());
}

}  // namespace
}  // namespace sonvera
