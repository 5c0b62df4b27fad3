#include "app/main_dialog.h"

#include <algorithm>
#include <cmath>

#include "app/command_line.h"
#include "app/failure_reasons.h"
#include "app/file_summary.h"
#include "app/strings.h"
#include "app/number_text.h"
#include "app/settings_file.h"
#include "app/statistics_dialog.h"
#include "base/path_text.h"
#include "base/printf_text.h"
#include "export/column_statistics.h"
#include "export/files_in_use.h"
#include "export/result_writer.h"
#include "platform/platform.h"
#include "measurement/record_decoder.h"
#include "measurement/time_line.h"

namespace sonvera {

MainDialog::MainDialog(const DeviceCatalogue& catalogue, MainDialogHost& host)
    : catalogue_(catalogue), host_(host), baseTitle_(baseTitle()) {
  state_.title = baseTitle_;
}

MainDialog::~MainDialog() { runner_.stopAndJoin(); }

bool MainDialog::processCommandLine(const std::vector<std::string>& arguments) {
  const StartupPlan plan = planStartup(arguments);
  for (const auto& step : plan.steps) {
    if (step.kind == StartupStep::Kind::OpenMeasurementFile) {
      openFile(step.path);
    } else {
      loadSettingsFile(step.path);
    }
  }
  return plan.askForFile;
}

void MainDialog::openFileCommand() {
  const auto path = host_.chooseMeasurementFile(initialFolder(host_.profile(), kSourceFolderKey));
  if (!path) return;
  rememberFolder(kSourceFolderKey, *path);
  openFile(*path);
}

bool MainDialog::openFile(const std::string& path) {
  const bool opened = openInMainDialog(path);
  if (!opened) file_.values.typeCode = 0;
  refreshExportList();
  resetRangeToRecords();
  return opened;
}

bool MainDialog::openInMainDialog(const std::string& path) {
  runner_.stopAndJoin();
  const OpenResult result = openMeasurementFile(catalogue_, path, file_);
  if (result != OpenResult::Opened) {
    host_.showDetailedMessage(openFailureText(result),
                              path + ": " + measurementFailureReason(catalogue_, path, result));
    return false;
  }
  summary_ = headlineSummary(catalogue_, file_);
  FileSummary& summary = summary_;
  addLoadStatistics(catalogue_, file_, summary);
  state_.model = summary.model;
  state_.vin = summary.vin;
  state_.records = summary.records;
  if (summary.step) state_.step = *summary.step;
  state_.span = summary.span;
  state_.over = summary.over;
  state_.under = summary.under;
  state_.overloadSummary = summary.overloadSummary;
  state_.overloadDetails = summary.overloadDetails;
  state_.underloadSummary = summary.underloadSummary;
  state_.underloadDetails = summary.underloadDetails;

  // The dialog's state shows the last valid record from here on.
  std::vector<std::uint8_t> record(file_.description.recordSize);
  readRecord(file_, file_.recordCount - 1, record);
  decodeIfSameType(record, file_.channels, file_.values, file_.description);
  fillCalibrationList();
  state_.title = baseTitle_ + " (" + path + ")";
  return true;
}

void MainDialog::fillCalibrationList() { state_.calibrationLines = calibrationLines(catalogue_, file_); }

void MainDialog::resetRangeToRecords() {
  state_.rangeInRecords = true;
  state_.rangeUnits = kRecordRangeUnits;
  state_.rangeFrom = "1";
  state_.rangeTo = std::to_string(file_.recordCount);
}

void MainDialog::switchRangeMode(bool inRecords) {
  state_.rangeInRecords = inRecords;
  if (inRecords) {
    state_.rangeUnits = kRecordRangeUnits;
    const auto toRecord = [&](std::string& field, bool end) {
      const auto t = parseRangeTime(file_, field);
      const auto n = t ? findRecordByTime(file_, *t, end, recordBuffer_) : std::nullopt;
      field = n ? std::to_string(*n) : std::string{};
    };
    toRecord(state_.rangeFrom, false);
    toRecord(state_.rangeTo, true);
  } else {
    state_.rangeUnits.clear();
    const auto toTime = [&](std::string& field) {
      const auto n = readUnsignedField(field);
      const auto t = n ? timeOfRecord(file_, *n, recordBuffer_) : std::nullopt;
      field = t ? formatRangeTime(file_, *t) : std::string{};
    };
    toTime(state_.rangeFrom);
    toTime(state_.rangeTo);
  }
}

void MainDialog::exchangeFromControls() {
  const auto radio = [](std::int32_t& index, std::int32_t count) {
    if (index < 0 || index >= count) index = -1;
  };
  radio(state_.valueSeparator, 3);
  radio(state_.decimalSeparator, 2);
  for (std::int32_t* check : {&state_.shortNames, &state_.linearUnits, &state_.sourceInfo, &state_.recordNumber,
                              &state_.recordTime})
    *check = *check != 0 ? 1 : 0;
}

void MainDialog::rememberFolder(const char* key, const std::string& path) {
  if (const std::string folder = folderOf(path); !folder.empty()) host_.profile().setFolder(key, folder);
}

std::optional<std::string> MainDialog::chooseSettingsPath(bool forLoading) {
  auto path = host_.chooseSettingsFile(forLoading, initialFolder(host_.profile(), kSettingsFolderKey));
  if (path) rememberFolder(kSettingsFolderKey, *path);
  return path;
}

void MainDialog::saveSettingsCommand() {
  if (const auto path = chooseSettingsPath(false)) saveSettingsFile(*path);
}

bool MainDialog::saveSettingsFile(const std::string& path) {
  exchangeFromControls();
  SettingsFileContents c;
  c.lists = lists_;
  c.splitOn = state_.split;
  c.splitPeriod = readUnsignedField(state_.splitPeriod).value_or(0);
  c.splitByRecords = state_.splitByRecords;
  c.decimationOn = state_.decimate;
  c.decimationStep = readUnsignedField(state_.decimationStep).value_or(0);
  c.decimationByRecords = state_.decimateByRecords;
  c.averaging = state_.averaging;
  c.maxima = state_.maxima;
  c.valueSeparator = state_.valueSeparator;
  c.decimalSeparator = state_.decimalSeparator;
  c.shortNames = state_.shortNames;
  c.linearUnits = state_.linearUnits;
  c.sourceInfo = state_.sourceInfo;
  c.statistics = statistics_;
  c.comment = state_.comment;
  c.recordNumber = state_.recordNumber;
  c.recordTime = state_.recordTime;
  // Writing over the settings file loaded is saving it; over the measurement
  // file or the catalogue it is never.
  if (!refuseClash(filesInUse(false), {path})) return false;
  // A failed write is reported like a file that cannot be created.
  if (!platform::writeWholeFile(path, encodeSettingsFile(c))) {
    host_.showDetailedMessage(printfText(text(StringId::CannotOpenFileNamed), path.c_str()),
                              path + ": " + writeFailureReason(path));
    return false;
  }
  return true;
}

void MainDialog::loadSettingsCommand() {
  if (const auto path = chooseSettingsPath(true)) loadSettingsFile(*path);
}

bool MainDialog::loadSettingsFile(const std::string& path) {
  exchangeFromControls();
  std::vector<std::uint8_t> bytes;
  if (!platform::readWholeFile(path, bytes)) {
    host_.showDetailedMessage(printfText(text(StringId::CannotOpenFileNamed), path.c_str()),
                              path + ": " + readFailureReason(path));
    return false;
  }
  // Decoded whole before anything is applied: a bad file changes nothing.
  const auto contents = decodeSettingsFile(bytes);
  if (!contents) {
    host_.showDetailedMessage(text(StringId::BadFileFormat), path + ": " + settingsFailureReason(bytes));
    return false;
  }
  const SettingsFileContents& c = *contents;
  settingsFilesRead_.push_back(path);
  lists_ = c.lists;
  state_.split = c.splitOn != 0;
  state_.splitPeriod = c.splitPeriod != 0 ? std::to_string(c.splitPeriod) : std::string{};
  state_.splitByRecords = c.splitByRecords != 0;
  state_.decimate = c.decimationOn != 0;
  state_.decimationStep = c.decimationStep != 0 ? std::to_string(c.decimationStep) : std::string{};
  state_.decimateByRecords = c.decimationByRecords != 0;
  state_.averaging = c.averaging != 0;
  state_.maxima = c.maxima != 0;
  state_.valueSeparator = c.valueSeparator;
  state_.decimalSeparator = c.decimalSeparator;
  state_.shortNames = c.shortNames;
  state_.linearUnits = c.linearUnits;
  state_.sourceInfo = c.sourceInfo;
  statistics_ = c.statistics;
  state_.comment = c.comment;
  if (c.recordNumber) state_.recordNumber = *c.recordNumber;
  if (c.recordTime) state_.recordTime = *c.recordTime;
  refreshExportList();
  refreshStatisticsSummary();
  return true;
}

void MainDialog::openStatistics() {
  if (deviceType() == 0) return;
  if (const auto chosen = host_.editStatistics(statistics_)) {
    statistics_ = *chosen;
    refreshStatisticsSummary();
  }
}

namespace {

// Split and decimation values: one unsigned number, not 0, at most 2^31 - 1.
std::optional<std::uint32_t> readCount(const std::string& text) {
  const auto n = readUnsignedField(text);
  if (!n || *n == 0 || *n > 2147483647u) return std::nullopt;
  return n;
}

// The result name offered for a source file: its name without folder and
// extension, with ".csv".
std::string proposedResultName(const std::string& sourcePath) {
  std::string name = sourcePath;
  if (const auto dot = extensionDot(name); dot != std::string::npos) name.resize(dot);
  name += ".csv";
  if (const auto separator = lastPathSeparator(name); separator != std::string::npos) name.erase(0, separator + 1);
  return name;
}

}  // namespace

std::string MainDialog::emptyListDetail() const {
  std::string types;
  for (const auto& [type, items] : lists_)
    if (!items.empty() && type != deviceType()) types += (types.empty() ? "" : ", ") + std::to_string(type);
  if (types.empty()) return {};
  return printfText("в настройках нет значений для прибора «%s» (тип %u); значения есть для типов: %s",
                    state_.model.c_str(), unsigned{deviceType()}, types.c_str());
}

bool MainDialog::refuse(StringId message) {
  host_.showMessage(text(message));
  return false;
}

FilesInUse MainDialog::filesInUse(bool withSettingsFiles) const {
  FilesInUse inUse;
  if (file_.handle.isOpen()) inUse.add(file_.path);
  inUse.add(catalogue_.sourcePath);
  if (withSettingsFiles)
    for (const std::string& path : settingsFilesRead_) inUse.add(path);
  inUse.add(otherFilesInUse_);
  return inUse;
}

bool MainDialog::refuseClash(const FilesInUse& inUse, const std::vector<std::string>& written) {
  const auto clash = findFileClash(inUse, written);
  if (!clash) return true;
  const StringId message = clash->otherIsWritten ? StringId::SameResultFile : StringId::WouldReplaceFileInUse;
  host_.showMessage(printfText(text(message), clash->written.c_str(), clash->other.c_str()));
  return false;
}

unsigned MainDialog::plannedParts(const ExportSettings& e) const {
  // Beyond this many parts the names are checked as the parts are created.
  constexpr std::uint64_t kCheckedUpFront = 10000;
  if (!e.splitEnabled || e.splitCount == 0) return 1;
  std::uint64_t parts = 1;
  if (e.splitByRecords) {
    parts = (std::uint64_t{e.lastRecord} - e.firstRecord + e.splitCount) / e.splitCount;
  } else if (const TimeSpan span = difference(file_.lastTime, file_.firstTime); span.valid && span.days >= 0) {
    // The whole file's span bounds the range's; parts start on whole minutes.
    parts = static_cast<std::uint64_t>(std::min(wholeSeconds(span.days) / 60.0 / e.splitCount, 1e9)) + 2;
  }
  return static_cast<unsigned>(std::min(parts, kCheckedUpFront));
}

bool MainDialog::processingRange(std::uint32_t& first, std::uint32_t& last) {
  if (state_.rangeInRecords) {
    const auto from = readUnsignedField(state_.rangeFrom);
    if (!from || *from == 0) return refuse(StringId::BadRangeStart);
    first = *from - 1;
    const auto to = readUnsignedField(state_.rangeTo);
    if (!to || *to > file_.recordCount || *to <= first) return refuse(StringId::BadRangeEnd);
    last = *to - 1;
  } else {
    const auto resolve = [&](const std::string& field, bool end) -> std::optional<std::uint32_t> {
      const auto t = parseRangeTime(file_, field);
      return t ? findRecordByTime(file_, *t, end, recordBuffer_) : std::nullopt;
    };
    const auto from = resolve(state_.rangeFrom, false);
    if (!from) return refuse(StringId::BadRangeStart);
    first = *from - 1;
    const auto to = resolve(state_.rangeTo, true);
    if (!to || *to <= first) return refuse(StringId::BadRangeEnd);
    last = *to - 1;
  }
  return true;
}

std::optional<ExportJob> MainDialog::rangeJob(std::vector<ExportItem> items) {
  if (!file_.handle.isOpen() || items.empty()) {
    refuse(StringId::EmptyExportList);
    return std::nullopt;
  }
  ExportJob job;
  if (!processingRange(job.settings.firstRecord, job.settings.lastRecord)) return std::nullopt;
  job.settings.linearUnits = state_.linearUnits != 0;
  job.items = std::move(items);
  takeOpenFile(job, file_);
  job.catalogue = &catalogue_;
  return job;
}

std::optional<ExportJob> MainDialog::chartJob(std::optional<std::size_t> entry) {
  exchangeFromControls();
  const std::vector<ExportItem>& items = listOf(lists_, deviceType());
  if (entry && *entry < items.size()) return rangeJob({items[*entry]});
  return rangeJob(items);
}

std::optional<ExportJob> MainDialog::assessmentJob(std::optional<std::size_t> entry) {
  exchangeFromControls();
  const std::vector<ExportItem>& items = listOf(lists_, deviceType());
  if (items.empty()) return rangeJob({});
  return rangeJob({items[entry && *entry < items.size() ? *entry : 0]});
}

void MainDialog::takeChartRange(double from, double to, bool times) {
  if (!file_.handle.isOpen()) return;
  if (times) {
    state_.rangeInRecords = false;
    state_.rangeUnits.clear();
    state_.rangeFrom = formatRangeTime(file_, RecordTime::fromDayNumber(from));
    state_.rangeTo = formatRangeTime(file_, RecordTime::fromDayNumber(to));
  } else {
    state_.rangeInRecords = true;
    state_.rangeUnits = kRecordRangeUnits;
    const auto record = [&](double x) {
      return std::to_string(static_cast<std::uint32_t>(std::clamp(std::round(x), 1.0, double(file_.recordCount))));
    };
    state_.rangeFrom = record(from);
    state_.rangeTo = record(to);
  }
}

std::optional<std::string> MainDialog::chooseResultPath() {
  auto chosen = host_.chooseResultFile(initialFolder(host_.profile(), kResultFolderKey), proposedResultName(file_.path));
  if (chosen) rememberFolder(kResultFolderKey, *chosen);
  return chosen;
}

bool MainDialog::startExport() {
  exchangeFromControls();
  runner_.stopAndJoin();
  ExportSettings& e = exportSettings_;

  e.splitEnabled = state_.split;
  if (e.splitEnabled) {
    const auto n = readCount(state_.splitPeriod);
    if (!n) return refuse(StringId::BadSplitValue);
    e.splitCount = *n;
  }
  e.splitByRecords = state_.splitByRecords;
  e.decimationEnabled = state_.decimate;
  if (e.decimationEnabled) {
    const auto n = readCount(state_.decimationStep);
    if (!n) return refuse(StringId::BadDecimationValue);
    e.decimationCount = *n;
  }
  e.decimationByRecords = state_.decimateByRecords;
  e.decimationAverage = state_.averaging;
  e.decimationMaximum = state_.maxima;

  e.valueSeparator = state_.valueSeparator;
  e.decimalSeparator = state_.decimalSeparator;
  e.shortNames = state_.shortNames != 0;
  e.linearUnits = state_.linearUnits != 0;
  e.saveSourceInfo = state_.sourceInfo != 0;
  e.comment = state_.comment;
  e.writeRecordNumber = state_.recordNumber != 0;
  e.writeDateTime = state_.recordTime != 0;
  e.sourcePath = file_.path;
  e.instrumentTitle = state_.model;
  e.calibrationLines = state_.calibrationLines;

  if (!processingRange(e.firstRecord, e.lastRecord)) return false;

  const std::vector<ExportItem>& items = listOf(lists_, deviceType());
  if (items.empty()) {
    host_.showDetailedMessage(text(StringId::EmptyExportList), emptyListDetail());
    return false;
  }
  if (e.splitEnabled && e.splitByRecords && (e.lastRecord - e.firstRecord + 1) / e.splitCount > 200 &&
      !host_.askYesNo(text(StringId::TooManyFiles)))
    return false;

  const auto chosen = chooseResultPath();
  if (!chosen) return false;
  e.encoding = resultEncoding(host_.profile());  // the save dialog may have changed it
  std::string path = *chosen;
  if (e.splitEnabled) {
    // Choosing the first part of an earlier split result gives its base name again.
    const auto dot = extensionDot(path, 6);
    if (dot != std::string::npos && path.compare(dot - 5, 5, "_0001") == 0) path.erase(dot - 5, 5);
  }
  const auto dot = extensionDot(path);
  e.resultBase = dot == std::string::npos ? path : path.substr(0, dot);
  e.resultExtension = dot == std::string::npos ? std::string{} : path.substr(dot);

  // Nothing is written when any file of the export would replace a file it
  // reads or another of its files.
  const bool workbook = isWorkbookExtension(e.resultExtension);
  FilesInUse inUse = filesInUse(true);
  if (!refuseClash(inUse, resultFileNames(e.resultBase, e.resultExtension, e.splitEnabled, plannedParts(e),
                                          !workbook && (e.saveSourceInfo || anyStatisticChosen(statistics_)))))
    return false;

  // Everything the worker reads is copied here, on the dialog's thread.
  ExportJob job;
  job.filesInUse = std::move(inUse);
  job.settings = e;
  job.statistics = statistics_;
  job.items = items;
  takeOpenFile(job, file_);
  job.catalogue = &catalogue_;
  if (workbook) {
    job.makeTable = host_.workbookTables();
    if (!job.makeTable) return refuse(StringId::NoWorkbooks);
  }
  // The dialog keeps the long forms as its own texts (the tool tips); the information file takes those.
  job.underloadText = state_.underloadDetails;
  job.overloadText = state_.overloadDetails;
  ++endsPending_;  // from here on exactly one -1 follows
  host_.postProgress(0);
  exportStarted_ = true;
  outcome_ = ExportOutcome{};
  const bool started = runner_.start([this, job = std::move(job)](const std::atomic<bool>& stop) mutable {
    outcome_ = runExport(std::move(job), stop, [this](std::int32_t percent) { host_.postProgress(percent); });
  });
  if (!started) {
    exportStarted_ = false;
    host_.postProgress(-1);
  }
  return started;
}

std::optional<ExportOutcome> MainDialog::finishExport() {
  runner_.stopAndJoin();
  if (!exportStarted_) return std::nullopt;
  exportStarted_ = false;
  if (outcome_.result == ExportResult::CannotCreate)
    host_.showDetailedMessage(printfText(text(StringId::CannotOpenFileNamed), outcome_.failedPath.c_str()),
                              outcome_.failedPath + ": " + writeFailureReason(outcome_.failedPath));
  else if (outcome_.result == ExportResult::WriteFailed)
    host_.showMessage(printfText(text(StringId::WriteFailedNamed), outcome_.failedPath.c_str()));
  else if (outcome_.result == ExportResult::WouldReplace)
    host_.showMessage(printfText(text(StringId::WouldReplaceFileInUse), outcome_.failedPath.c_str(),
                                 outcome_.fileInUse.c_str()));
  return outcome_;
}

bool MainDialog::exportEndArrived() {
  if (endsPending_ > 0) --endsPending_;
  return endsPending_ == 0;
}

bool MainDialog::acceptStatistics(const StatisticsForm& form) {
  const StatisticsFormResult result = acceptForm(form);
  if (!result.settings) return refuse(result.error);
  statistics_ = *result.settings;
  refreshStatisticsSummary();
  return true;
}

void MainDialog::refreshStatisticsSummary() { state_.statisticsSummary = statisticsSummary(statistics_); }

void MainDialog::clickAveraging(bool checked) {
  state_.averaging = checked;
  state_.maxima = false;
}

void MainDialog::clickMaxima(bool checked) {
  state_.maxima = checked;
  state_.averaging = false;
}

ExportListContext MainDialog::exportListContext() {
  return ExportListContext{lists_,
                           catalogue_,
                           file_.values,
                           file_.channels,
                           file_.description,
                           [this](const std::string& question) { return host_.askYesNo(question); },
                           [this](const std::optional<ExportItem>& initial) {
                             return host_.chooseExportItem(*this, initial);
                           }};
}

void MainDialog::showExportList(const std::optional<ExportListView>& view) {
  if (!view) return;  // the command changed nothing
  state_.exportListLines = view->lines;
  state_.exportListSelection = view->selection;
}

void MainDialog::refreshExportList() { showExportList(refreshLines(exportListContext())); }
void MainDialog::addExportItem() { showExportList(addItem(exportListContext())); }
void MainDialog::addAllExportItems() { showExportList(addAll(exportListContext())); }
void MainDialog::moveExportItemUp() { showExportList(moveUp(exportListContext(), state_.exportListSelection)); }
void MainDialog::moveExportItemDown() { showExportList(moveDown(exportListContext(), state_.exportListSelection)); }
void MainDialog::deleteExportItem() { showExportList(deleteItem(exportListContext(), state_.exportListSelection)); }
void MainDialog::clearExportList() { showExportList(clearList(exportListContext())); }
void MainDialog::editExportItem() { showExportList(editItem(exportListContext(), state_.exportListSelection)); }

}  // namespace sonvera
