#pragma once
// The export worker: walks the range of records of the open file, decodes
// each one and writes the chosen columns as delimited text, decimated and
// split into several files as asked, with an information file (source and
// statistics) beside each data file.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "export/export_item.h"
#include "export/export_settings.h"
#include "export/files_in_use.h"
#include "export/result_table.h"
#include "export/statistics_settings.h"
#include "measurement/measurement_file.h"
#include "measurement/record_values.h"
#include "platform/platform.h"

namespace sonvera {

// Everything an export reads, copied on the dialog thread before the worker
// starts, so that the dialog may change afterwards. Only the catalogue and
// the open file's handle are shared: both are only read, the file by
// positioned reads. They must outlive the run (the dialog stops and joins
// the worker before it changes either).
struct ExportJob {
  ExportSettings settings;
  StatisticsSettings statistics;
  std::vector<ExportItem> items;  // the export list of the file's type, in list order
  DeviceDescription description;  // of the open file, its counts completed
  RecordValues values;            // the decoding state as the dialog last left it
  ChannelTables channels;
  std::string underloadText;      // of the file summary; empty: no line
  std::string overloadText;
  std::uint16_t typeCode = 0;
  const DeviceCatalogue* catalogue = nullptr;
  const platform::ReadOnlyFile* file = nullptr;
  std::uint64_t dataOffset = 0;
  // Makes the table of each result part; empty: delimited text files.
  std::function<std::unique_ptr<ResultTable>()> makeTable;
  // Files no part may replace: each file is checked again as it is created,
  // for the parts whose names could not all be checked before the start.
  FilesInUse filesInUse;
};

// Copies the open file's decoding state, type and read handle into the job.
void takeOpenFile(ExportJob& job, const MeasurementFile& file);

enum class ExportResult {
  Completed,     // the whole range was handled
  Stopped,       // the stop flag ended it; the files end at the last record handled
  CannotCreate,  // a data or information file could not be created
  WriteFailed,   // writing or closing a file failed: that file is incomplete
  WouldReplace,  // the next file to create is one in use; it was left alone
  InvalidJob,    // no catalogue or no file given
};

struct ExportOutcome {
  ExportResult result = ExportResult::Completed;
  std::string failedPath;            // the file of CannotCreate, WriteFailed and WouldReplace
  std::string fileInUse;             // of WouldReplace: the file in use it names
  std::uint32_t recordsHandled = 0;  // records of the range that were written or counted
  std::uint32_t lastRecord = 0;      // the last of them, from 0 (when recordsHandled > 0)
  RecordTime lastTime;               // its time
  std::uint32_t dataFiles = 0;       // data files created
  std::uint32_t informationFiles = 0;  // information files created (not sheets of a workbook)
  std::uint64_t linesWritten = 0;    // data lines, headers not counted

  bool succeeded() const { return result == ExportResult::Completed || result == ExportResult::Stopped; }
};

// Receives every new whole percentage of the range handled, then -1 when the
// export has ended (also after a stop or a failure).
using ExportProgress = std::function<void(std::int32_t)>;

// Runs the export on the calling thread. The stop flag is tested at the top
// of every record; on a stop, and on a failure, the files already begun are
// completed and closed. Every file that was closed without a fault is whole.
ExportOutcome runExport(const ExportJob& job, const std::atomic<bool>& stop, const ExportProgress& progress);
// The same, taking the job's decoding state (values, tables, description)
// instead of copying it: for a job made for this one export.
ExportOutcome runExport(ExportJob&& job, const std::atomic<bool>& stop, const ExportProgress& progress);

}  // namespace sonvera
