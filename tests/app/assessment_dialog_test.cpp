// The assessment window's behaviour without a window: the fields' checks,
// the job of the chosen entry, copies, and saving beside the files in use.

#include "app/assessment_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_dialog.h"
#include "base/printf_text.h"
#include "export/ansi_text.h"
#include "platform/platform.h"
#include "support/scripted_host.h"
#include "support/summary_files.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;

class AssessmentDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir);
    source = path("day.bin");
    // Two hours of minute records at 50 dB, two minutes at 80 dB at 10:30.
    std::vector<test::SummaryRecord> records = test::steadyRecords(120, 60);
    for (auto& r : records) r.level = 50;
    records[30].level = records[31].level = 80;
    platform::writeWholeFile(source, test::summaryFileBytes(1, records));
    dialog = std::make_unique<MainDialog>(catalogue, host);
    ASSERT_TRUE(dialog->openFile(source));
    dialog->addAllExportItems();
  }
  void TearDown() override {
    dialog.reset();  // the measurement file closes first: Windows removes no open file
    fs::remove_all(dir);
  }
  // UTF-8 names, as the program takes them (a path made of a narrow name is the system code page on Windows).
  std::string path(const std::string& name) const { return dir.string() + "/" + name; }
  // The assessment as the window runs it, on this thread.
  std::unique_ptr<AssessmentDialog> assessed() {
    auto job = dialog->assessmentJob(std::nullopt);
    EXPECT_TRUE(job);
    auto a = std::make_unique<AssessmentDialog>(*dialog, *job);
    const auto settings = a->checkedSettings();
    EXPECT_TRUE(settings);
    const std::atomic<bool> stop{false};
    EXPECT_TRUE(a->takeResult(a->run(*settings, stop, {})));
    return a;
  }
  // Through the program's own file calls: the names are Cyrillic (UTF-16 on Windows).
  std::string read(const std::string& name) const {
    std::vector<std::uint8_t> bytes;
    platform::readWholeFile(path(name), bytes);
    return std::string(bytes.begin(), bytes.end());
  }

  fs::path dir = fs::temp_directory_path() / ("sonvera-assess-app-" + std::to_string(::getpid()));
  DeviceCatalogue catalogue = test::summaryCatalogue(1);
  test::ScriptedHost host;
  std::string source;
  std::unique_ptr<MainDialog> dialog;
};

// Every field refuses what it cannot take with its own message; the defaults follow the statistics.
TEST_F(AssessmentDialogTest, FieldsAreCheckedOneMessageEach) {
  StatisticsSettings statistics = dialog->statistics();
  statistics.threshold = 65;
  statistics.percentiles = {95, 5, 0, 0, 0, 0};
  StatisticsForm form = formFor(statistics);
  ASSERT_TRUE(dialog->acceptStatistics(form));
  AssessmentDialog a(*dialog, *dialog->assessmentJob(std::nullopt));
  EXPECT_EQ(a.form().threshold, "65");
  const auto defaults = a.checkedSettings();
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->percentiles, (std::array<int, 6>{5, 95, 0, 0, 0, 0}));
  EXPECT_EQ(defaults->intervalMinutes, 60u);

  struct Case {
    void (*edit)(AssessmentForm&);
    StringId message;
  };
  const Case cases[] = {
      {[](AssessmentForm& f) { f.periodStarts[0] = "7.5"; }, StringId::BadPeriodHours},
      {[](AssessmentForm& f) { f.periodStarts[1] = "24"; }, StringId::BadPeriodHours},
      {[](AssessmentForm& f) { f.periodStarts = {"7", "23", "19"}; }, StringId::BadPeriodHours},
      {[](AssessmentForm& f) { f.penalties[2] = "ten"; }, StringId::BadPenalties},
      {[](AssessmentForm& f) { f.threshold = ""; }, StringId::BadThreshold},
      {[](AssessmentForm& f) { f.gap = "-1"; }, StringId::BadEventGap},
      {[](AssessmentForm& f) { f.minimumDuration = "1 s"; }, StringId::BadMinimumDuration},
  };
  for (const Case& c : cases) {
    AssessmentForm& f = a.form();
    f = assessmentFormFor(statistics);
    c.edit(f);
    host.messages.clear();
    EXPECT_FALSE(a.checkedSettings());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], text(c.message));
  }
  // Commas are decimal signs too; an empty evening is allowed.
  a.form() = assessmentFormFor(statistics);
  a.form().threshold = " 62,5 ";
  a.form().periodStarts = {"6", "22", "22"};
  a.form().exclusion = ExclusionChoice::Both;
  const auto s = a.checkedSettings();
  ASSERT_TRUE(s);
  EXPECT_EQ(s->threshold, 62.5);
  EXPECT_EQ(s->eveningStart, 22);
  EXPECT_TRUE(s->excludeOverload && s->excludeUnderload);
}

// The grids copy as the viewer does; whole tables carry their headers.
TEST_F(AssessmentDialogTest, TablesAndCopies) {
  const auto a = assessed();
  EXPECT_EQ(a->intervals().rowCount(), 3u);  // 10:00, 11:00 and the whole range
  EXPECT_EQ(a->events().rowCount(), 1u);
  GridSelection selection(static_cast<std::int32_t>(a->intervals().columnCount()), 3);
  selection.press(0, 0, false);
  selection.press(4, 1, true);
  EXPECT_EQ(a->selectionText(a->intervals(), selection),
            "2023-09-01 10:00:00\t60\t0\t100.0\t" + a->cellText(a->intervals().cell(0, 4)) +
                "\n2023-09-01 11:00:00\t60\t0\t100.0\t50.0");
  const std::string events = a->tableText(a->events());
  EXPECT_EQ(events.substr(0, events.find('\n')), "№\tНачало\tКонец\tДлительность, с\tLmax, дБ\tВремя Lmax\tLeq, дБ\tLE, дБ");
  // Two minutes of 80 dB: LE = 80 + 10·lg(120 s) = 100.8 dB.
  EXPECT_EQ(events.substr(events.find('\n') + 1),
            "1\t2023-09-01 10:30:00\t2023-09-01 10:32:00\t120\t80.0\t2023-09-01 10:30:00\t80.0\t100.8\n");
  dialog->editableState().decimalSeparator = 1;
  EXPECT_EQ(a->cellText(a->intervals().cell(1, 4)), "50,0");
  EXPECT_NE(a->summary().find("событий 1"), std::string::npos) << a->summary();
}

// Text files with the export's separator, decimal sign and encoding; a
// workbook of four sheets; never over a file in use.
TEST_F(AssessmentDialogTest, SavesBesideTheFilesInUse) {
  const auto a = assessed();
  EXPECT_EQ(AssessmentDialog::resultPaths("out/r.txt"),
            (std::vector<std::string>{"out/r_интервалы.txt", "out/r_сутки.txt", "out/r_события.txt"}));
  EXPECT_EQ(AssessmentDialog::resultPaths("r"), (std::vector<std::string>{"r_интервалы.csv", "r_сутки.csv", "r_события.csv"}));
  EXPECT_EQ(AssessmentDialog::resultPaths("r.XLSX"), std::vector<std::string>{"r.XLSX"});

  dialog->editableState().valueSeparator = 1;
  dialog->editableState().decimalSeparator = 1;
  host.files = {path("r.csv")};
  ASSERT_TRUE(a->saveCommand());
  const std::string days = read("r_сутки.csv");
  EXPECT_EQ(days.substr(0, days.find('\n') + 1),
            toAnsi("Дата\tLday, дБ\tLevening, дБ\tLnight, дБ\tLden, дБ\tLdn, дБ\tПокрытие дня, %\t"
                   "Покрытие вечера, %\tПокрытие ночи, %\t\r\n"));
  EXPECT_NE(days.find("\r\n2023-09-01\t"), std::string::npos);
  EXPECT_NE(read("r_интервалы.csv").find(toAnsi("\r\nвесь диапазон\t120\t0\t100,0\t")), std::string::npos);
  EXPECT_NE(read("r_события.csv").find("\r\n1\t2023-09-01 10:30:00\t"), std::string::npos);
  EXPECT_EQ(host.proposedNames.back(), "day.csv");  // the save dialog offers the source's name

  // Results of which one is a file in use (here one the dialog was told of) refuse all three.
  ASSERT_TRUE(platform::writeWholeFile(path("x_сутки.csv"), {1, 2, 3}));
  dialog->addFileInUse(path("x_сутки.csv"));
  host.messages.clear();
  EXPECT_FALSE(a->save(path("x.csv")));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("который программа читает"), std::string::npos) << host.messages[0];
  EXPECT_FALSE(platform::isRegularFile(path("x_интервалы.csv")));
  EXPECT_FALSE(platform::isRegularFile(path("x_события.csv")));
  EXPECT_EQ(read("x_сутки.csv"), "\x01\x02\x03");
}

// What cannot be written or shown says so, and the result shown before stays.
TEST_F(AssessmentDialogTest, FailuresGiveTheirMessages) {
  const auto a = assessed();
  const std::uint64_t events = a->result().eventCount;
  struct Case {
    std::string path;
    std::string message;
  };
  const Case saves[] = {
      {path("r.xlsx"), text(StringId::NoWorkbooks)},  // this host writes no workbooks
      {path("no/such/folder/r.csv"), printfText(text(StringId::CannotOpenFileNamed), path("no/such/folder/r_интервалы.csv").c_str())},
  };
  for (const Case& c : saves) {
    host.messages.clear();
    EXPECT_FALSE(a->save(c.path));
    ASSERT_EQ(host.messages.size(), 1u) << c.path;
    EXPECT_EQ(host.messages[0], c.message);
  }
  AssessmentResult notALevel;
  notALevel.failure = AssessmentFailure::NotALevel;
  notALevel.column = "Общ,Lin,A";
  AssessmentResult tooLong;
  tooLong.failure = AssessmentFailure::TooManyIntervals;
  AssessmentResult stopped;
  stopped.stopped = true;
  host.messages.clear();
  EXPECT_FALSE(a->takeResult(notALevel));
  EXPECT_FALSE(a->takeResult(tooLong));
  EXPECT_FALSE(a->takeResult(stopped));
  ASSERT_EQ(host.messages.size(), 2u);  // a stop is no failure
  EXPECT_EQ(host.messages[0], printfText(text(StringId::NotALevelColumn), "Общ,Lin,A"));
  EXPECT_EQ(host.messages[1], printfText(text(StringId::TooManyTableRows), 1048575u));
  EXPECT_TRUE(a->hasResult());
  EXPECT_EQ(a->result().eventCount, events);
}

}  // namespace
}  // namespace sonvera
