#include "app/main_dialog.h"

#include "app/command_line.h"
#include "app/file_summary.h"
#include "app/strings.h"
#include "app/number_text.h"
#include "measurement/record_decoder.h"
#include "measurement/time_line.h"

namespace sonvera {
namespace {

const char* openFailureText(OpenResult result) {
  switch (result) {
    case OpenResult::CannotOpen: return text(StringId::CannotOpenFile);
    case OpenResult::UnknownType: return text(StringId::UnknownDeviceType);
    case OpenResult::Empty: return text(StringId::EmptyFile);
    case OpenResult::Opened: break;
  }
  return "";
}

}  // namespace

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
      // Settings files are applied by the settings loader.
    }
  }
  return plan.askForFile;
}

void MainDialog::openFileCommand() {
  const auto path = host_.chooseMeasurementFile(initialFolder(host_.profile(), kSourceFolderKey));
  if (!path) return;
  if (const std::string folder = folderOf(*path); !folder.empty())
    host_.profile().setFolder(kSourceFolderKey, folder);
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
    host_.showMessage(openFailureText(result));
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

void MainDialog::refreshExportList() {
  state_.exportListLines.clear();
  state_.exportListSelection.reset();
}

}  // namespace sonvera
