#include "export/export_worker.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <span>

#include "export/column_statistics.h"
#include "export/export_columns.h"
#include "export/format_value.h"
#include "export/item_text.h"
#include "export/result_format.h"
#include "export/result_writer.h"
#include "measurement/channel_names.h"
#include "measurement/record_decoder.h"
#include "measurement/record_stream.h"
#include "measurement/record_time.h"

namespace sonvera {
namespace {

using namespace display_format;

// Whole seconds from `earlier` to `later`; 0 when either time is invalid.
double secondsBetween(const RecordTime& later, const RecordTime& earlier) {
  const TimeSpan span = difference(later, earlier);
  return span.valid ? wholeSeconds(span.days) : 0.0;
}

// The time with its seconds set to 0.
RecordTime minuteStart(const RecordTime& t) {
  if (!t.valid()) return {};
  return RecordTime::fromParts(t.year(), t.month(), t.day(), t.hour(), t.minute(), 0);
}

ResultFormatOptions formatOptions(const ExportSettings& s) {
  ResultFormatOptions o;
  o.separator = valueSeparator(s.valueSeparator);
  o.decimalComma = s.decimalSeparator == 1;
  o.shortNames = s.shortNames;
  o.linearUnits = s.linearUnits;
  o.recordNumber = s.writeRecordNumber;
  o.dateTime = s.writeDateTime;
  return o;
}

class ExportWorker {
 public:
  // The decoding state comes apart from the job, copied or taken from it.
  ExportWorker(const ExportJob& job, RecordValues values, ChannelTables channels, DeviceDescription description,
               const std::atomic<bool>& stop, const ExportProgress& progress)
      : job_(job),
        settings_(job.settings),
        stop_(stop),
        progress_(progress),
        values_(std::move(values)),
        channels_(std::move(channels)),
        description_(std::move(description)),
        plan_(description_, channels_),
        options_(formatOptions(job.settings)) {}

  ExportOutcome run();

 private:
  void buildColumns();

  // False when the export ends at this record (a file failed).
  bool handleRecord(std::uint32_t u, std::span<std::uint8_t> record);
  bool splitHere(std::uint32_t u, const RecordTime& t) const;
  bool endFile(std::uint32_t u, const RecordTime& t);
  bool openFiles();
  // True (after the failure) when `path` names a file in use.
  bool refuseFileInUse(const std::string& path);
  void writeColumns(bool line);
  void writeInformation(std::uint32_t lastRecord, const RecordTime& endTime);
  bool close(ResultWriter& file);
  bool closeData();
  void fail(ExportResult result, const std::string& path);

  const ExportJob& job_;
  const ExportSettings& settings_;
  const std::atomic<bool>& stop_;
  const ExportProgress& progress_;

  // The worker's own decoding state: every record is decoded into it.
  RecordValues values_;
  ChannelTables channels_;
  DeviceDescription description_;
  DecodingPlan plan_;

  ResultFormatOptions options_;
  bool infoNeeded_ = false;
  bool statisticsChosen_ = false;
  std::vector<ExportColumn> columns_;
  std::vector<std::string> columnNames_;
  std::vector<StatisticsColumn> statisticsColumns_;

  std::optional<RecordStream> records_;  // the range, in order
  std::unique_ptr<ResultTable> data_;
  ResultWriter info_;  // in memory when the table holds the information
  unsigned fileNumber_ = 1;
  std::uint32_t fileFirst_ = 0;
  RecordTime splitBase_;
  std::uint32_t decimationStep_ = 0;
  RecordTime decimationBase_;
  RecordTime infoStart_;
  RecordTime lastWritten_;
  std::uint32_t lastProgress_ = 0;
  // The fixed parts are filled once; the markers are those of the current data file.
  SourceInformation source_;
  ExportOutcome outcome_;
  bool failed_ = false;
};

void ExportWorker::buildColumns() {
  columns_ = buildExportColumns(*job_.catalogue, job_.typeCode, description_, values_, channels_, job_.items,
                                options_.separator);
  // Built once: the header and the statistics table read these for every file.
  columnNames_.reserve(columns_.size());
  statisticsColumns_.reserve(columns_.size());
  for (ExportColumn& column : columns_) {
    columnNames_.push_back(column.name);
    statisticsColumns_.push_back({column.name, column.format, column.reference, &column.statistics});
  }
}

void ExportWorker::fail(ExportResult result, const std::string& path) {
  if (failed_) return;  // the first fault is the one to report
  failed_ = true;
  outcome_.result = result;
  outcome_.failedPath = path;
}

// Hands a workbook its information before it closes.
bool ExportWorker::closeData() {
  if (!data_->isOpen()) return true;
  if (data_->holdsInformation() && info_.isOpen())
    data_->setInformation(info_.takeText(), options_.separator, options_.decimalComma);
  const std::string path = data_->path();
  if (data_->close()) return true;
  fail(ExportResult::WriteFailed, path);
  return false;
}

bool ExportWorker::close(ResultWriter& file) {
  if (!file.isOpen()) return true;
  const std::string path = file.path();
  if (file.close()) return true;
  fail(ExportResult::WriteFailed, path);
  return false;
}

void ExportWorker::writeInformation(std::uint32_t lastRecord, const RecordTime& endTime) {
  if (settings_.saveSourceInfo) {
    source_.vin = values_.vin;
    source_.firstRecordNumber = fileFirst_ + 1;
    source_.lastRecordNumber = lastRecord + 1;
    source_.firstTime = infoStart_;
    source_.lastTime = lastWritten_;
    source_.channels.resize(static_cast<std::size_t>(std::max(description_.channelCount, 0)));
    for (std::size_t c = 0; c < source_.channels.size(); ++c) {
      const auto channel = static_cast<std::int32_t>(c);
      source_.channels[c].name = channelName(*job_.catalogue, values_, channel);
      source_.channels[c].unit = channelUnit(*job_.catalogue, values_, channels_, channel);
    }
    writeSourceBlock(info_, options_.separator, source_);
  }
  writeStatisticsTable(info_, options_, job_.statistics, statisticsColumns_, secondsBetween(endTime, infoStart_));
  source_.markers.clear();
}

bool ExportWorker::splitHere(std::uint32_t u, const RecordTime& t) const {
  if (!data_->isOpen() || !settings_.splitEnabled) return false;
  if (settings_.splitByRecords) return u - fileFirst_ >= settings_.splitCount;
  return secondsBetween(t, splitBase_) >= 60.0 * settings_.splitCount;
}

// Ends the current data file before record u, whose time t ends its span.
bool ExportWorker::endFile(std::uint32_t u, const RecordTime& t) {
  if (info_.isOpen()) {
    writeInformation(u - 1, t);
    infoStart_ = t;
  }
  bool ok = closeData();
  ok = close(info_) && ok;
  fileFirst_ = u;
  splitBase_ = minuteStart(t);
  return ok;
}

bool ExportWorker::refuseFileInUse(const std::string& path) {
  const std::string* inUse = job_.filesInUse.find(path);
  if (inUse == nullptr) return false;
  fail(ExportResult::WouldReplace, path);
  outcome_.fileInUse = *inUse;
  return true;
}

bool ExportWorker::openFiles() {
  const std::string dataPath =
      dataFileName(settings_.resultBase, settings_.resultExtension, settings_.splitEnabled, fileNumber_);
  const std::string infoPath = informationFileName(settings_.resultBase, settings_.splitEnabled, fileNumber_);
  const bool infoFile = infoNeeded_ && !info_.isOpen() && !data_->holdsInformation();
  if (refuseFileInUse(dataPath) || (infoFile && refuseFileInUse(infoPath))) return false;
  if (!data_->create(dataPath, settings_.encoding)) {
    fail(ExportResult::CannotCreate, dataPath);
    return false;
  }
  ++outcome_.dataFiles;
  data_->header(options_, columnNames_);
  if (infoNeeded_ && !info_.isOpen()) {
    if (data_->holdsInformation()) {
      info_.createInMemory();
    } else {
      if (!info_.create(infoPath, settings_.encoding)) {
        fail(ExportResult::CannotCreate, infoPath);
        closeData();
        return false;
      }
      ++outcome_.informationFiles;
    }
  }
  ++fileNumber_;
  return true;
}

void ExportWorker::writeColumns(bool line) {
  const bool decimation = settings_.decimationEnabled;
  const bool maxima = settings_.decimationMaximum;
  const bool average = settings_.decimationAverage;
  for (ExportColumn& c : columns_) {
    const double v = *c.value;
    // Without a chosen statistic the figures are never written.
    if (statisticsChosen_) c.statistics.accumulate(v, c.isLevel, c.reference);
    double out = v;
    if (decimation) {
      if (maxima && c.decimating) {
        if (c.decimationCount == 0 || v > c.decimationMax) c.decimationMax = v;
        ++c.decimationCount;
      } else if (average && c.decimating) {
        if (c.decimationCount == 0) c.decimationSum = 0;
        c.decimationSum += c.isLevel ? std::pow(10.0, v / 10.0) : v;
        ++c.decimationCount;
      }
      if (!line) continue;
      if (maxima && c.decimating) {
        out = c.decimationMax;
      } else if (average && c.decimating) {
        const double mean = c.decimationSum / static_cast<double>(c.decimationCount);
        out = c.isLevel ? 10.0 * std::log10(mean) : mean;
      }
      c.decimationCount = 0;
    }
    data_->value(options_, out, c.format, c.reference);
  }
}

bool ExportWorker::handleRecord(std::uint32_t u, std::span<std::uint8_t> record) {
  // Read in large blocks; a short read leaves the rest of the previous record in the buffer.
  records_->next(record);
  // A foreign record leaves the previous values and time standing.
  if (hasSameType(record, values_, description_)) decodeRecord(record, channels_, values_, description_, plan_);
  const RecordTime t = recordTime(values_);

  if (u == settings_.firstRecord) {
    fileFirst_ = u;
    splitBase_ = minuteStart(t);
    decimationBase_ = t;
    infoStart_ = t;
  }
  if (splitHere(u, t) && !endFile(u, t)) return false;
  if (values_.markerFlag != 0 && infoNeeded_) source_.markers[u] = t;
  if (!data_->isOpen() && !openFiles()) return false;

  bool line = true;
  if (settings_.decimationEnabled) {
    if (settings_.decimationByRecords) {
      if (++decimationStep_ >= settings_.decimationCount) decimationStep_ = 0;
    } else {
      decimationStep_ = 1;
      if (secondsBetween(t, decimationBase_) >= settings_.decimationCount) {
        decimationBase_ = t;
        decimationStep_ = 0;
      }
    }
    line = decimationStep_ == 0;
  }
  if (line) data_->linePrefix(options_, u + 1, t);
  writeColumns(line);
  if (line) {
    data_->endLine();
    ++outcome_.linesWritten;
  }

  const std::uint64_t done = std::uint64_t{u} - settings_.firstRecord + 1;
  const std::uint64_t total = std::uint64_t{settings_.lastRecord} - settings_.firstRecord + 1;
  const auto p = static_cast<std::uint32_t>(std::floor(static_cast<double>(done) * 100.0 / static_cast<double>(total) + 0.5));
  if (p != lastProgress_) {
    lastProgress_ = p;
    if (progress_) progress_(static_cast<std::int32_t>(p));
  }
  lastWritten_ = t;
  ++outcome_.recordsHandled;
  outcome_.lastRecord = u;
  outcome_.lastTime = t;

  // A write that failed shows in the file's state; the record in hand is
  // finished first, so the information file can say where the data stop.
  if (!data_->ok()) fail(ExportResult::WriteFailed, data_->path());
  if (info_.isOpen() && !info_.ok()) fail(ExportResult::WriteFailed, info_.path());
  return !failed_;
}

ExportOutcome ExportWorker::run() {
  if (job_.catalogue == nullptr || job_.file == nullptr) {
    outcome_.result = ExportResult::InvalidJob;
    if (progress_) progress_(-1);
    return outcome_;
  }
  data_ = job_.makeTable ? job_.makeTable() : nullptr;
  if (!data_) data_ = std::make_unique<TextResultTable>();
  statisticsChosen_ = anyStatisticChosen(job_.statistics);
  infoNeeded_ = settings_.saveSourceInfo || statisticsChosen_;
  buildColumns();

  source_.path = settings_.sourcePath;
  source_.comment = settings_.comment;
  source_.instrumentTitle = settings_.instrumentTitle;
  source_.calibrationLines = settings_.calibrationLines;
  source_.underload = job_.underloadText;
  source_.overload = job_.overloadText;

  std::vector<std::uint8_t> record(description_.recordSize, 0);
  records_.emplace(*job_.file, job_.dataOffset, description_.recordSize, settings_.firstRecord, settings_.lastRecord);
  bool stopped = false;
  // 64 bits, so that a range ending at the last possible record ends.
  for (std::uint64_t u = settings_.firstRecord; u <= settings_.lastRecord; ++u) {
    if (stop_.load()) {
      stopped = true;
      break;
    }
    if (!handleRecord(static_cast<std::uint32_t>(u), record)) break;
  }

  if (info_.isOpen() && outcome_.recordsHandled > 0) writeInformation(outcome_.lastRecord, lastWritten_);
  if (data_->holdsInformation()) closeData();  // takes its information first
  close(info_);
  closeData();
  if (!failed_) outcome_.result = stopped ? ExportResult::Stopped : ExportResult::Completed;
  if (progress_) progress_(-1);
  return outcome_;
}

}  // namespace

void takeOpenFile(ExportJob& job, const MeasurementFile& file) {
  job.description = file.description;
  job.values = file.values;
  job.channels = file.channels;
  job.typeCode = file.values.typeCode;
  job.file = &file.handle;
  job.dataOffset = file.dataOffset;
}

ExportOutcome runExport(const ExportJob& job, const std::atomic<bool>& stop, const ExportProgress& progress) {
  ExportWorker worker(job, job.values, job.channels, job.description, stop, progress);
  return worker.run();
}

ExportOutcome runExport(ExportJob&& job, const std::atomic<bool>& stop, const ExportProgress& progress) {
  ExportWorker worker(job, std::move(job.values), std::move(job.channels), std::move(job.description), stop,
                      progress);
  return worker.run();
}

}  // namespace sonvera
