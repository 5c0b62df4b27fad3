// Structure-aware: the input describes a device type (layout, formats,
// counts, extra tables) and a measurement file of any variant against it.
// The file is opened and summarised, every record decoded, and the state is
// shown as the dialogs show it: export list texts, parameter lists, viewer.

#include <cstdint>

#include "app/export_list.h"
#include "app/file_summary.h"
#include "app/parameter_selection.h"
#include "app/record_viewer.h"
#include "export/item_text.h"
#include "measurement/measurement_file.h"
#include "measurement/record_decoder.h"
#include "measurement/record_stream.h"
#include "support/fuzz_case.h"

namespace {

using namespace sonvera;

constexpr std::uint32_t kMaxRecords = 64;
// Cells the viewer shows per input: a few hundred reach every way a cell is
// formatted; thousands only cost time.
constexpr std::size_t kMaxCells = 600;

void showState(const DeviceCatalogue& catalogue, MeasurementFile& file) {
  ExportLists lists;
  const ExportListContext context{lists,
                                  catalogue,
                                  file.values,
                                  file.channels,
                                  file.description,
                                  [](const std::string&) { return true; },
                                  [](const std::optional<ExportItem>&) { return std::optional<ExportItem>{}; }};
  addAll(context);
  for (const ExportItem& item : listOf(lists, file.values.typeCode))
    itemText(catalogue, file.values, file.channels, file.description, file.values.typeCode, item, true);

  ParameterSelection selection(catalogue, file.values, file.channels, file.description, ExportItem{1, 0, -1, -1});
  for (std::size_t g = 0; g < selection.groups().entries.size(); ++g) {
    selection.chooseGroup(g);
    selection.accept();
  }

  RecordViewer viewer(catalogue, file.values, file.channels, file.description);
  std::size_t cells = 0;
  for (std::size_t c = 0; c < viewer.channelEntries().size() && cells < kMaxCells; ++c) {
    viewer.chooseChannel(static_cast<std::int32_t>(c));
    viewer.linearUnits = (c & 1) != 0;
    for (const ViewerTable& table : viewer.tables()) {
      const auto rows = static_cast<std::int32_t>(viewer.groups()[table.groupIndex].parameters.size());
      for (std::int32_t r = 0; r < rows && cells < kMaxCells; ++r)
        for (std::int32_t col = 0; col < table.columns && cells < kMaxCells; ++col, ++cells)
          viewer.cellText(table, col, r);
    }
  }
  if (cells < kMaxCells) viewer.allTablesText();
}

void run(const std::uint8_t* data, std::size_t size, MeasurementFile& file) {
  static fuzz::MemoryFile memory;
  fuzz::FuzzInput input({data, size});
  const fuzz::FuzzCase c = fuzz::buildCase(input);
  if (!memory.store(c.fileBytes)) return;
  if (openMeasurementFile(c.catalogue, memory.path(), file) != OpenResult::Opened) return;
  FileSummary summary = headlineSummary(c.catalogue, file);
  addLoadStatistics(c.catalogue, file, summary);
  calibrationLines(c.catalogue, file);
  // Through a plan, as the export and the record walk decode (the summary
  // above decoded without one).
  DecodingPlan plan(file.description, file.channels);
  RecordStream records(file, 0, std::min(file.recordCount, kMaxRecords));
  for (auto record = records.next(); !record.empty(); record = records.next()) {
    if (hasSameType(record, file.values, file.description))
      decodeRecord(record, file.channels, file.values, file.description, plan);
    recordTime(file.values).format("%d/%m/%Y %H:%M:%S");
  }
  showState(c.catalogue, file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Its tables keep their memory between inputs; closing it after each one
  // frees the rest, so that an input leaves as many blocks as it found and
  // libFuzzer has no reason to run it again looking for a leak.
  static MeasurementFile file;
  run(data, size, file);
  closeMeasurementFile(file);
  return 0;
}
