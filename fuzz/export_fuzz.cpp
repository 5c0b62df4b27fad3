// A hostile file and catalogue through the whole export as the window starts
// it: every item, options drawn from the input (splitting, decimation,
// statistics, information file), into a folder in memory. Every data line
// must have the header's field count.

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/main_dialog.h"
#include "app/windowless_host.h"
#include "app/statistics_dialog.h"
#include "export/result_writer.h"
#include "support/fuzz_case.h"

namespace {

using namespace sonvera;

class FuzzHost : public WindowlessHost {
 public:
  explicit FuzzHost(std::string result) { resultPath = std::move(result); }
  void showMessage(const std::string&) override {}
  bool askYesNo(const std::string&) override { return true; }
};

// Value cells an input may export: every column takes the same way through
// the export, and the widest tables (a quarter of a million cells) take
// seconds an input. A little over 65 536 keeps exports past 16-bit column
// counts in reach.
constexpr std::size_t kMaxValueCells = 80000;

void chooseOptions(fuzz::FuzzInput& in, MainDialog& dialog) {
  MainDialogState& s = dialog.editableState();
  s.split = in.flag();
  s.splitByRecords = in.flag();
  // Short periods now and then only: over the years a hostile file's times
  // may span, they plan thousands of parts, whose names are all checked
  // before the export starts (a tenth of a second for each such input).
  const bool shortPeriod = s.splitByRecords || in.below(64) == 0;
  s.splitPeriod = std::to_string(shortPeriod ? 1 + in.below(12) : 1 + in.u32() % (1u << 24));
  s.decimate = in.flag();
  s.decimationStep = std::to_string(1 + in.below(12));
  s.decimateByRecords = in.flag();
  s.averaging = in.flag();
  s.maxima = !s.averaging && in.flag();
  s.valueSeparator = static_cast<std::int32_t>(in.below(3));
  s.decimalSeparator = static_cast<std::int32_t>(in.below(2));
  s.shortNames = in.flag();
  s.linearUnits = in.flag();
  s.sourceInfo = in.flag();
  s.recordNumber = in.flag();
  s.recordTime = in.flag();
  s.comment = in.text(10);
  if (in.flag()) dialog.switchRangeMode(false);  // the range as times

  StatisticsForm statistics;
  for (auto& p : statistics.percentileTexts) p = in.flag() ? std::to_string(1 + in.below(99)) : std::string{};
  statistics.thresholdText = std::to_string(1 + in.below(255));
  statistics.minimum = statistics.maximum = statistics.leq = statistics.le = statistics.exceedance = in.flag();
  dialog.acceptStatistics(statistics);
}

std::size_t fields(const std::string& line, char separator) {
  return static_cast<std::size_t>(std::count(line.begin(), line.end(), separator)) + 1;
}

// Every line of a data file has as many fields as its first.
void checkDataFile(const std::string& path, char separator) {
  std::ifstream in(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  std::size_t expected = 0, start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) std::abort();  // every line ends with CR LF
    const std::size_t n = fields(text.substr(start, end - start), separator);
    if (expected == 0) expected = n;
    if (n != expected) std::abort();
    start = end + 2;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::MemoryFile memory;
  static const std::string folder = fuzz::scratchFolder("sonvera-export-fuzz");
  fuzz::FuzzInput input({data, size});
  const fuzz::FuzzCase c = fuzz::buildCase(input);
  if (!memory.store(c.fileBytes)) return 0;

  FuzzHost host(folder + "/result.csv");
  MainDialog dialog(c.catalogue, host);
  if (!dialog.openFile(memory.path()) || dialog.file().channels.cellCount() > kMaxValueCells) return 0;
  dialog.addAllExportItems();
  chooseOptions(input, dialog);
  const std::int32_t separator = dialog.state().valueSeparator;
  std::optional<ExportOutcome> outcome;
  if (dialog.startExport()) {
    host.ended.wait(false);
    outcome = dialog.finishExport();
  }
  if (!outcome) return 0;
  // The files the export says it wrote, by name: no folder to list.
  const ExportSettings& e = dialog.exportSettings();
  for (unsigned n = 1; n <= outcome->dataFiles; ++n) {
    const std::string part = dataFileName(e.resultBase, e.resultExtension, e.splitEnabled, n);
    if (separator != 2) checkDataFile(part, separator == 0 ? ';' : '\t');
    std::remove(part.c_str());
    std::remove(informationFileName(e.resultBase, e.splitEnabled, n).c_str());
  }
  return 0;
}
