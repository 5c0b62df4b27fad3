#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "app/main_dialog.h"
#include "app/strings.h"
#include "base/printf_text.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_source.h"
#include "export/export_worker.h"
#include "platform/platform.h"
#include "support/scripted_host.h"
#include "support/summary_files.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;

// The statistics dialog's OK with Leq chosen or with nothing.
StatisticsForm statisticsForm(bool leq) {
  StatisticsForm form;
  form.thresholdText = "75";
  form.leq = leq;
  return form;
}

// Every file of the folder with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (entry.is_symlink() || !entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().lexically_relative(dir).string()] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

// An export whose results name files it reads, in every spelling of a path.
class ExportSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "sub");
    platform::writeWholeFile(path("in.bin"), test::summaryFileBytes(1, test::steadyRecords(300, 1)));
    platform::writeWholeFile(path("cat.bin"), writeCatalogue(test::summaryCatalogueSource(1), 15));
    ASSERT_TRUE(loadCatalogueFile(path("cat.bin"), kRussianLanguage, catalogue));
    // Links may be refused where the system cannot make them (Windows without rights).
    std::error_code error;
    fs::create_symlink(path("in.bin"), path("link.csv"), error);
    linked = !error;
    fs::create_hard_link(path("in.bin"), path("hard.csv"), error);
    hardLinked = !error;
    dialog = std::make_unique<MainDialog>(catalogue, host);
    ASSERT_TRUE(dialog->openFile(path("in.bin")));
    dialog->addAllExportItems();
    ASSERT_TRUE(dialog->saveSettingsFile(path("s.cfg")));
  }
  void TearDown() override {
    dialog.reset();
    fs::remove_all(dir);
  }
  std::string path(const std::string& name) const { return (dir / name).string(); }
  bool start(const std::string& result) { return test::exportTo(*dialog, host, result); }

  fs::path dir = fs::temp_directory_path() / ("sonvera-safety-" + std::to_string(::getpid()));
  DeviceCatalogue catalogue;
  test::ScriptedHost host;
  std::unique_ptr<MainDialog> dialog;
  bool linked = false, hardLinked = false;
};

TEST_F(ExportSafety, RefusesEveryResultThatIsAFileInUseAndWritesNothing) {
  struct Case {
    const char* what;
    std::string result;
    std::string clashing;  // the path the message names as written
    std::string inUse;     // the other path it names
    bool statistics = false, splitByRecords = false, settingsLoaded = false;
    bool needsLink = false, needsHardLink = false;
  };
  const std::string in = path("in.bin");
  const std::string dotted = (dir / "sub" / ".." / "in.bin").string();
  const Case cases[] = {
      {"the same name", in, in, in},
      {"another spelling", dotted, dotted, in},
      {"a symbolic link", path("link.csv"), path("link.csv"), in, false, false, false, true},
      {"a hard link", path("hard.csv"), path("hard.csv"), in, false, false, false, false, true},
      {"the information file", path("in.csv"), path("in.info"), in, true, false, false, false, true},
      {"a later part", path("in.csv"), path("in_0002.csv"), in, false, true, false, false, true},
      {"the catalogue", path("cat.bin"), path("cat.bin"), path("cat.bin")},
      {"a settings file loaded", path("s.cfg"), path("s.cfg"), path("s.cfg"), false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if ((c.needsLink && !linked) || (c.needsHardLink && !hardLinked)) continue;
    if (c.settingsLoaded) dialog->loadSettingsFile(path("s.cfg"));
    // The information file and the part are hard links of the measurement file.
    if (c.statistics) fs::create_hard_link(in, path("in.info"));
    if (c.splitByRecords) fs::create_hard_link(in, path("in_0002.csv"));
    if (c.statistics) {
      ASSERT_TRUE(dialog->acceptStatistics(statisticsForm(true)));
    }
    MainDialogState& s = dialog->editableState();
    s.split = c.splitByRecords;
    s.splitByRecords = true;
    s.splitPeriod = "100";
    const auto before = snapshot(dir);
    host.messages.clear();
    EXPECT_FALSE(start(c.result));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0],
              printfText(text(StringId::WouldReplaceFileInUse), c.clashing.c_str(), c.inUse.c_str()));
    EXPECT_EQ(snapshot(dir), before);
    fs::remove(path("in.info"));
    fs::remove(path("in_0002.csv"));
    ASSERT_TRUE(dialog->acceptStatistics(statisticsForm(false)));
  }
}

TEST_F(ExportSafety, ResultsThatAreOneFileAreRefused) {
  ASSERT_TRUE(dialog->acceptStatistics(statisticsForm(true)));
  const auto before = snapshot(dir);
  EXPECT_FALSE(start(path("r.info")));  // the result and its information file
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            printfText(text(StringId::SameResultFile), path("r.info").c_str(), path("r.info").c_str()));
  EXPECT_EQ(snapshot(dir), before);
  EXPECT_TRUE(start(path("r.csv")));  // the usual names go through
  EXPECT_TRUE(fs::exists(path("r.info")));
}

TEST_F(ExportSafety, SettingsAreNeverWrittenOverTheMeasurementOrTheCatalogue) {
  const auto before = snapshot(dir);
  for (const std::string& target : {path("in.bin"), (dir / "." / "in.bin").string(), path("cat.bin")}) {
    EXPECT_FALSE(dialog->saveSettingsFile(target)) << target;
    EXPECT_NE(host.messages.back().find(target), std::string::npos);
  }
  EXPECT_EQ(snapshot(dir), before);
  EXPECT_TRUE(dialog->saveSettingsFile(path("s.cfg")));  // saving the loaded settings again is allowed
}

// Parts the dialog could not name before the start are checked as they are created.
TEST_F(ExportSafety, TheWorkerStopsBeforeAPartThatIsAFileInUse) {
  if (!hardLinked) GTEST_SKIP() << "no hard links here";
  fs::create_hard_link(path("in.bin"), path("w_0003.csv"));
  MeasurementFile file;
  ASSERT_EQ(openMeasurementFile(catalogue, path("in.bin"), file), OpenResult::Opened);
  ExportJob job;
  takeOpenFile(job, file);
  job.catalogue = &catalogue;
  job.items = dialog->exportLists().at(file.values.typeCode);
  job.settings.lastRecord = 299;
  job.settings.splitEnabled = job.settings.splitByRecords = true;
  job.settings.splitCount = 100;
  job.settings.resultBase = path("w");
  job.settings.resultExtension = ".csv";
  job.filesInUse.add(path("in.bin"));
  const auto before = snapshot(dir);
  const std::atomic<bool> stop{false};
  const ExportOutcome outcome = runExport(job, stop, {});
  EXPECT_EQ(outcome.result, ExportResult::WouldReplace);
  EXPECT_EQ(outcome.failedPath, path("w_0003.csv"));
  EXPECT_EQ(outcome.fileInUse, path("in.bin"));
  EXPECT_EQ(outcome.dataFiles, 2u);
  EXPECT_EQ(snapshot(dir).at("in.bin"), before.at("in.bin"));
  EXPECT_EQ(snapshot(dir).at("w_0003.csv"), before.at("in.bin"));
}

}  // namespace
}  // namespace sonvera
