#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <thread>
#include <string>
#include <vector>

#include <unistd.h>

#include "export/ansi_text.h"
#include "export/export_runner.h"
#include "export/export_worker.h"
#include "support/allocation_counter.h"
#include "support/export_files.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;
using test::ExportRecord;

RecordTime at(int hour, int minute, int second) { return RecordTime::fromParts(2023, 9, 1, hour, minute, second); }

const ExportItem kLevel{2, 0, -1, -1};   // "Общ,Leq,Полоса"
const ExportItem kLinear{2, 1, -1, -1};  // "Общ,Lin,Полоса"
const ExportItem kExtra{3, 0, -1, -1};   // "Доп,Темп,x"

class ExportWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    dir_ = fs::temp_directory_path() /
           ("sonvera_export_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Writes the records as a measurement file and opens it as the dialog does.
  void open(const std::vector<ExportRecord>& records, int channels = 1) {
    catalogue_ = test::exportCatalogue(channels);
    source_ = std::make_unique<test::TempFile>(test::exportFileBytes(channels, records));
    ASSERT_EQ(openMeasurementFile(catalogue_, source_->path(), file_), OpenResult::Opened);
  }

  // A job over the whole file into dir/out.csv, every option off.
  ExportJob job(std::vector<ExportItem> items) {
    ExportJob j;
    takeOpenFile(j, file_);
    j.catalogue = &catalogue_;
    j.items = std::move(items);
    j.settings.firstRecord = 0;
    j.settings.lastRecord = file_.recordCount - 1;
    j.settings.resultBase = (dir_ / "out").string();
    j.settings.resultExtension = ".csv";
    return j;
  }

  ExportOutcome run(const ExportJob& j) {
    const std::atomic<bool> stop{false};
    progress_.clear();
    return runExport(j, stop, [this](std::int32_t p) { progress_.push_back(p); });
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  bool exists(const std::string& name) const { return fs::exists(dir_ / name); }
  std::string read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // The lines of a result file, without their CR LF.
  std::vector<std::string> lines(const std::string& name) const {
    std::vector<std::string> out;
    const std::string text = read(name);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
      out.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << name << " does not end with a whole line";
    return out;
  }

  DeviceCatalogue catalogue_;
  MeasurementFile file_;
  std::unique_ptr<test::TempFile> source_;
  fs::path dir_;
  std::vector<std::int32_t> progress_;
};

TEST_F(ExportWorkerTest, WritesHeaderAndOneLinePerRecord) {
  auto records = test::exportRecords(3, 1, at(12, 0, 0));
  records[1].level = 61.5;
  open(records);
  ExportJob j = job({kLevel, kLinear});
  j.settings.writeRecordNumber = true;
  j.settings.writeDateTime = true;
  const ExportOutcome outcome = run(j);
  EXPECT_EQ(outcome.result, ExportResult::Completed);
  EXPECT_EQ(outcome.recordsHandled, 3u);
  EXPECT_EQ(outcome.dataFiles, 1u);
  EXPECT_EQ(read("out.csv"), toAnsi("N;Дата;Время;Общ,Leq,Полоса;Общ,Lin,Полоса;\r\n"
                                    "1;01/09/23;12:00:00;60.00;1.00;\r\n"
                                    "2;01/09/23;12:00:01;61.50;1.00;\r\n"
                                    "3;01/09/23;12:00:02;60.00;1.00;\r\n"));
  // Neither a source block nor a statistic is asked for.
  EXPECT_FALSE(exists("out.info"));
  EXPECT_EQ(progress_, (std::vector<std::int32_t>{33, 67, 100, -1}));
}

TEST_F(ExportWorkerTest, ColumnsPerChannelAndBandWithTabsCommasAndShortNames) {
  auto records = test::exportRecords(1, 1, at(12, 0, 0));
  records[0].linear = 2.5;
  open(records, 2);
  // Channel 5 does not exist and parameter 2 of group 2 neither: no columns.
  ExportJob j = job({kLevel, {2, 1, 0, 1}, kExtra, {2, 0, -1, 5}, {2, 2, -1, -1}});
  j.settings.valueSeparator = 1;
  j.settings.decimalSeparator = 1;
  run(j);
  EXPECT_EQ(read("out.csv"), toAnsi("A,Общ,Leq,Полоса\tB,Общ,Leq,Полоса\tB,Общ,Lin,Полоса\tA,Доп,Темп,x\t\r\n"
                                    "60,00\t61,00\t5,00\t20,00\t\r\n"));
  j.settings.shortNames = true;
  j.settings.valueSeparator = 2;
  run(j);
  EXPECT_EQ(lines("out.csv")[0], toAnsi("Полоса Полоса Полоса x "));
}

TEST_F(ExportWorkerTest, DecimationByRecordsWritesTheLastRecordOfEachGroup) {
  auto records = test::exportRecords(7, 1, at(12, 0, 0));
  for (int i = 0; i < 7; ++i) records[static_cast<std::size_t>(i)].level = 60 + i;
  open(records);
  ExportJob j = job({kLevel});
  j.settings.writeRecordNumber = true;
  j.settings.decimationEnabled = true;
  j.settings.decimationByRecords = true;
  j.settings.decimationCount = 3;
  run(j);
  // Record 7 starts a group that never closes.
  EXPECT_EQ(lines("out.csv"), (std::vector<std::string>{toAnsi("N;Общ,Leq,Полоса;"), "3;62.00;", "6;65.00;"}));
}

TEST_F(ExportWorkerTest, DecimationBySecondsClosesAGroupEveryStepSinceTheLastClose) {
  open(test::exportRecords(25, 1, at(12, 0, 0)));
  ExportJob j = job({kLevel});
  j.settings.writeDateTime = true;
  j.settings.decimationEnabled = true;
  j.settings.decimationCount = 10;
  run(j);
  const auto l = lines("out.csv");
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(l[1], "01/09/23;12:00:10;60.00;");
  EXPECT_EQ(l[2], "01/09/23;12:00:20;60.00;");
}

TEST_F(ExportWorkerTest, DecimationAveragesEnergyOfLevelsAndValuesOfLinearColumns) {
  auto records = test::exportRecords(4, 1, at(12, 0, 0));
  const double levels[] = {60, 70, 50, 50};
  const double linears[] = {1, 2, 3, 5};
  for (std::size_t i = 0; i < 4; ++i) {
    records[i].level = levels[i];
    records[i].linear = linears[i];
    records[i].extra = 10.0 * static_cast<double>(i);
  }
  open(records);
  ExportJob j = job({kLevel, kLinear, kExtra});
  j.settings.decimationEnabled = true;
  j.settings.decimationByRecords = true;
  j.settings.decimationCount = 2;
  j.settings.decimationAverage = true;
  run(j);
  // 10·log10((10^6 + 10^7) / 2) = 67.40; the extra column's default format
  // does not decimate, so it shows the group's last value.
  EXPECT_EQ(lines("out.csv"), (std::vector<std::string>{toAnsi("Общ,Leq,Полоса;Общ,Lin,Полоса;Доп,Темп,x;"),
                                                        "67.40;1.50;10.00;", "50.00;4.00;30.00;"}));
  // Maxima win over averaging.
  j.settings.decimationMaximum = true;
  run(j);
  EXPECT_EQ(lines("out.csv")[1], "70.00;2.00;10.00;");
  // Neither: the last value of the group.
  j.settings.decimationMaximum = false;
  j.settings.decimationAverage = false;
  run(j);
  EXPECT_EQ(lines("out.csv")[1], "70.00;2.00;10.00;");
  EXPECT_EQ(lines("out.csv")[2], "50.00;5.00;30.00;");
}

TEST_F(ExportWorkerTest, SplittingByRecordsGivesNumberedFilesWithTheirOwnStatistics) {
  auto records = test::exportRecords(250, 1, at(12, 0, 0));
  for (int i = 0; i < 250; ++i) records[static_cast<std::size_t>(i)].level = 40 + i * 0.1;
  open(records);
  ExportJob j = job({kLevel});
  j.settings.writeRecordNumber = true;
  j.settings.splitEnabled = true;
  j.settings.splitByRecords = true;
  j.settings.splitCount = 100;
  j.settings.saveSourceInfo = true;
  j.statistics.minimum = j.statistics.maximum = 1;
  const ExportOutcome outcome = run(j);
  EXPECT_EQ(outcome.dataFiles, 3u);
  EXPECT_FALSE(exists("out.csv"));
  EXPECT_FALSE(exists("out_0004.csv"));
  const char* ranges[] = {"1;100;", "101;200;", "201;250;"};
  const char* extremes[] = {";40.00;49.90;", ";50.00;59.90;", ";60.00;64.90;"};
  for (int n = 1; n <= 3; ++n) {
    const std::string number = "out_000" + std::to_string(n);
    const auto data = lines(number + ".csv");
    const std::string& range = ranges[n - 1];
    const std::string first = range.substr(0, range.find(';'));
    ASSERT_GT(data.size(), 1u);
    EXPECT_EQ(data[1].substr(0, data[1].find(';') + 1), first + ";");
    EXPECT_EQ(data.size() - 1, n == 3 ? 50u : 100u);
    const auto info = lines(number + ".info");
    ASSERT_GE(info.size(), 5u);
    EXPECT_EQ(info[4], toAnsi("Диапазон записей:;") + ranges[n - 1]);
    EXPECT_EQ(info.back(), toAnsi("Общ,Leq,Полоса") + extremes[n - 1]);
  }
}

TEST_F(ExportWorkerTest, SplittingByMinutesCountsFromTheWholeMinuteOfTheFirstRecord) {
  // Records 7 s apart from 10:17:42: 11:16:58 still belongs to the first
  // hour counted from 10:17:00, 11:17:05 starts the second file.
  open(test::exportRecords(1100, 7, at(10, 17, 42)));
  ExportJob j = job({kLevel});
  j.settings.writeDateTime = true;
  j.settings.splitEnabled = true;
  j.settings.splitCount = 60;
  run(j);
  const auto first = lines("out_0001.csv");
  const auto second = lines("out_0002.csv");
  ASSERT_GT(second.size(), 1u);
  EXPECT_EQ(first[1], "01/09/23;10:17:42;60.00;");
  EXPECT_EQ(first.back(), "01/09/23;11:16:58;60.00;");
  EXPECT_EQ(second[1], "01/09/23;11:17:05;60.00;");
  // The third begins at or after 12:17:00.
  EXPECT_EQ(lines("out_0003.csv")[1], "01/09/23;12:17:03;60.00;");
}

TEST_F(ExportWorkerTest, ProgressRunsFromTheStartOfTheRangeOncePerPercent) {
  open(test::exportRecords(2000, 1, at(12, 0, 0)));
  ExportJob j = job({kLevel});
  j.settings.firstRecord = 1000;
  j.settings.lastRecord = 1999;
  run(j);
  std::vector<std::int32_t> expected;
  for (int p = 1; p <= 100; ++p) expected.push_back(p);
  expected.push_back(-1);
  EXPECT_EQ(progress_, expected);
  EXPECT_EQ(lines("out.csv").size(), 1001u);
}

TEST_F(ExportWorkerTest, MarkersGoToTheInformationFileOfTheirDataFile) {
  auto records = test::exportRecords(6, 1, at(12, 0, 0));
  records[1].marker = 1;
  records[3].marker = 1;  // the first record of the second file
  records[4].marker = 1;
  open(records);
  ExportJob j = job({kLevel});
  j.settings.splitEnabled = true;
  j.settings.splitByRecords = true;
  j.settings.splitCount = 3;
  j.settings.saveSourceInfo = true;
  run(j);
  const std::string markers = toAnsi("Маркеры\r\n");
  const std::string first = read("out_0001.info");
  EXPECT_NE(first.find(markers + "1;2;01/09/23;12:00:01;\r\n\r\n"), std::string::npos) << first;
  const std::string second = read("out_0002.info");
  EXPECT_NE(second.find(markers + "1;4;01/09/23;12:00:03;\r\n2;5;01/09/23;12:00:04;\r\n\r\n"), std::string::npos)
      << second;
}

TEST_F(ExportWorkerTest, InformationFileHoldsSourceBlockAndStatistics) {
  auto records = test::exportRecords(3, 1, at(12, 0, 0));
  records[1].marker = 1;
  records[2].level = 62;
  open(records);
  ExportJob j = job({kLevel});
  j.settings.saveSourceInfo = true;
  j.settings.sourcePath = "/data/run7.bin";
  j.settings.comment = "Цех 3";
  j.settings.instrumentTitle = "Модель";
  j.settings.calibrationLines = {"A: 0.25 дБ"};
  j.underloadText = "A";
  j.overloadText = "нет";
  j.statistics.minimum = j.statistics.maximum = 1;
  j.statistics.percentiles = {90, 0, 0, 0, 0, 0};
  run(j);
  EXPECT_EQ(read("out.info"), toAnsi("/data/run7.bin\r\n"
                                     "Цех 3\r\n"
                                     "Модель\r\n"
                                     "VIN=2ABCD\r\n"
                                     "Диапазон записей:;1;3;\r\n"
                                     "Диапазон записей:01/09/23;12:00:00;01/09/23;12:00:02;\r\n"
                                     "A: 0.25 дБ\r\n"
                                     "A: Па;\r\n"
                                     "Недогрузка: A\r\n"
                                     "Перегрузка: нет\r\n"
                                     "Маркеры\r\n"
                                     "1;2;01/09/23;12:00:01;\r\n"
                                     "\r\n"
                                     ";Min;Max;L90;\r\n"
                                     "Общ,Leq,Полоса;60.00;62.00;60.5;\r\n"));
}

TEST_F(ExportWorkerTest, ExposureOverTimeGoingBackwardsIsTheEquivalentLevel) {
  auto records = test::exportRecords(2, 1, at(12, 0, 10));
  records[1].time = at(12, 0, 0);
  open(records);
  ExportJob j = job({kLevel});
  j.statistics.leq = j.statistics.le = 1;
  run(j);
  EXPECT_EQ(lines("out.info").back(), toAnsi("Общ,Leq,Полоса;60.00;60.00;"));
}

TEST_F(ExportWorkerTest, ForeignRecordsRepeatTheLastGoodRecord) {
  auto records = test::exportRecords(4, 1, at(12, 0, 0));
  for (int i = 0; i < 4; ++i) records[static_cast<std::size_t>(i)].level = 60 + i;
  records[2].typeEcho = test::kExportType + 1;
  open(records);
  ExportJob j = job({kLevel});
  j.settings.writeRecordNumber = true;
  j.settings.writeDateTime = true;
  run(j);
  const auto l = lines("out.csv");
  ASSERT_EQ(l.size(), 5u);
  EXPECT_EQ(l[3], "3;01/09/23;12:00:01;61.00;");
  EXPECT_EQ(l[4], "4;01/09/23;12:00:03;63.00;");
}

TEST_F(ExportWorkerTest, OneRecordWithDecimationWritesNoLineButCountsTheRecord) {
  open(test::exportRecords(3, 1, at(12, 0, 0)));
  ExportJob j = job({kLevel});
  j.settings.firstRecord = j.settings.lastRecord = 1;
  j.settings.decimationEnabled = true;
  j.settings.decimationByRecords = true;
  j.settings.decimationCount = 5;
  j.statistics.minimum = 1;
  const ExportOutcome outcome = run(j);
  EXPECT_EQ(outcome.recordsHandled, 1u);
  EXPECT_EQ(lines("out.csv").size(), 1u);
  EXPECT_EQ(lines("out.info"), (std::vector<std::string>{";Min;", toAnsi("Общ,Leq,Полоса;60.00;")}));
  EXPECT_EQ(progress_, (std::vector<std::int32_t>{100, -1}));
}

TEST_F(ExportWorkerTest, StopLeavesCompleteFilesEndingAtTheLastRecordHandled) {
  open(test::exportRecords(1000, 1, at(12, 0, 0)));
  ExportJob j = job({kLevel});
  j.settings.writeRecordNumber = true;
  j.settings.saveSourceInfo = true;
  j.settings.splitEnabled = true;
  j.settings.splitByRecords = true;
  j.settings.splitCount = 300;
  std::atomic<bool> stop{false};
  std::vector<std::int32_t> seen;
  // Stopped while record 495 is in hand: it is finished, 496 is not begun.
  const ExportOutcome outcome = runExport(j, stop, [&](std::int32_t p) {
    seen.push_back(p);
    if (p == 50) stop = true;
  });
  EXPECT_EQ(outcome.result, ExportResult::Stopped);
  EXPECT_EQ(outcome.lastRecord, 494u);
  EXPECT_EQ(seen.back(), -1);
  EXPECT_EQ(seen[seen.size() - 2], 50);
  const auto data = lines("out_0002.csv");
  EXPECT_EQ(data.back().substr(0, 4), "495;");
  EXPECT_EQ(data.size(), 1u + 195u);
  EXPECT_EQ(lines("out_0002.info")[4], toAnsi("Диапазон записей:;301;495;"));
  EXPECT_EQ(lines("out_0002.info")[5], toAnsi("Диапазон записей:01/09/23;12:05:00;01/09/23;12:08:14;"));
  EXPECT_FALSE(exists("out_0003.csv"));
}

TEST_F(ExportWorkerTest, StopFromTheDialogThreadEndsWithinOneRecord) {
  // Long enough that the stop comes before the end, also in an optimised build.
  open(test::exportRecords(200000, 1, at(12, 0, 0)));
  ExportJob j = job({kLevel});
  j.settings.writeRecordNumber = true;
  j.settings.saveSourceInfo = true;
  std::atomic<int> percent{0};
  ExportOutcome outcome;
  ExportRunner runner;
  runner.start([&](const std::atomic<bool>& stop) {
    outcome = runExport(j, stop, [&](std::int32_t p) { percent = p; });
  });
  while (percent.load() < 5 && percent.load() != -1) std::this_thread::yield();
  runner.stopAndJoin();
  if (outcome.result == ExportResult::Completed) GTEST_SKIP() << "the export ended before the stop";
  EXPECT_EQ(outcome.result, ExportResult::Stopped);
  const auto data = lines("out.csv");
  EXPECT_EQ(data.size(), outcome.recordsHandled + 1);
  EXPECT_EQ(data.back(), std::to_string(outcome.lastRecord + 1) + ";60.00;");
  EXPECT_EQ(lines("out.info")[4], toAnsi("Диапазон записей:;1;") + std::to_string(outcome.lastRecord + 1) + ";");
}

TEST_F(ExportWorkerTest, AFileThatCannotBeCreatedEndsTheExportWithAnError) {
  open(test::exportRecords(10, 1, at(12, 0, 0)));
  ExportJob j = job({kLevel});
  j.settings.resultBase = path("missing/out");
  ExportOutcome outcome = run(j);
  EXPECT_EQ(outcome.result, ExportResult::CannotCreate);
  EXPECT_EQ(outcome.failedPath, path("missing/out.csv"));
  EXPECT_EQ(outcome.recordsHandled, 0u);
  EXPECT_EQ(progress_, std::vector<std::int32_t>{-1});

  // The second part cannot be created: the first stays whole, with its
  // information file, and the export says which file failed.
  fs::create_directory(dir_ / "out_0002.csv");
  j = job({kLevel});
  j.settings.splitEnabled = true;
  j.settings.splitByRecords = true;
  j.settings.splitCount = 4;
  j.statistics.minimum = 1;
  outcome = run(j);
  EXPECT_EQ(outcome.result, ExportResult::CannotCreate);
  EXPECT_EQ(outcome.failedPath, path("out_0002.csv"));
  EXPECT_EQ(outcome.lastRecord, 3u);
  EXPECT_EQ(lines("out_0001.csv").size(), 5u);
  EXPECT_EQ(lines("out_0001.info").size(), 2u);
  EXPECT_FALSE(exists("out_0002.info"));

  // An information file that cannot be created is an error too.
  fs::create_directory(dir_ / "out.info");
  j.settings.splitEnabled = false;
  outcome = run(j);
  EXPECT_EQ(outcome.result, ExportResult::CannotCreate);
  EXPECT_EQ(outcome.failedPath, path("out.info"));
}

TEST_F(ExportWorkerTest, AFailedWriteEndsTheExportWithAnError) {
  if (std::FILE* full = std::fopen("/dev/full", "wb")) {
    std::fclose(full);
  } else {
    GTEST_SKIP() << "no /dev/full";
  }
  open(test::exportRecords(20000, 1, at(12, 0, 0)));
  ExportJob j = job({kLevel});
  j.settings.resultBase = "/dev/full";
  j.settings.resultExtension = "";
  j.settings.writeRecordNumber = true;
  // Noticed when the buffer is first written out, long before the end.
  ExportOutcome outcome = run(j);
  EXPECT_EQ(outcome.result, ExportResult::WriteFailed);
  EXPECT_EQ(outcome.failedPath, "/dev/full");
  EXPECT_LT(outcome.recordsHandled, 20000u);
  EXPECT_EQ(progress_.back(), -1);
  // A short file fails at its close.
  j.settings.lastRecord = 2;
  outcome = run(j);
  EXPECT_EQ(outcome.result, ExportResult::WriteFailed);
  EXPECT_EQ(outcome.recordsHandled, 3u);
}

TEST_F(ExportWorkerTest, TheRecordLoopAllocatesNothing) {
  open(test::exportRecords(8000, 1, at(12, 0, 0)));
  ExportJob j = job({kLevel, kLinear, kExtra});
  j.settings.writeRecordNumber = true;
  j.settings.writeDateTime = true;
  j.settings.decimationEnabled = true;
  j.settings.decimationByRecords = true;
  j.settings.decimationCount = 2;
  j.settings.decimationAverage = true;
  j.statistics.leq = 1;
  j.statistics.percentiles = {10, 90, 0, 0, 0, 0};
  const std::atomic<bool> stop{false};
  const ExportProgress none;
  const auto count = [&](std::uint32_t last) {
    j.settings.lastRecord = last;
    const std::int64_t before = test::allocationCount();
    runExport(j, stop, none);
    return test::allocationCount() - before;
  };
  // Past the first write-out of the file buffer, more records cost nothing more.
  const long shorter = count(3999);
  EXPECT_GT(shorter, 0);  // the counter sees the set-up
  EXPECT_EQ(shorter, count(7999));
}

TEST(ExportWorker, AJobWithoutCatalogueOrFileIsRefused) {
  const std::atomic<bool> stop{false};
  std::vector<std::int32_t> seen;
  const ExportOutcome outcome = runExport(ExportJob{}, stop, [&](std::int32_t p) { seen.push_back(p); });
  EXPECT_EQ(outcome.result, ExportResult::InvalidJob);
  EXPECT_EQ(seen, std::vector<std::int32_t>{-1});
}

}  // namespace
}  // namespace sonvera
