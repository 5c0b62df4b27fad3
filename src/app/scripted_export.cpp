#include "app/scripted_export.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/typed_time.h"

namespace sonvera {
bool loadSettingsFiles(MainDialog& dialog, const std::vector<std::string>& settingsFiles) {
  for (const auto& settings : settingsFiles)
    if (!dialog.loadSettingsFile(settings)) return false;
  return true;
}

bool applyRangeRequest(MainDialog& dialog, const RangeRequest& r) {
  MainDialogState& s = dialog.editableState();
  if (r.from) s.rangeFrom = *r.from;
  if (r.to) s.rangeTo = *r.to;
  if (!r.byTime) return true;
  s.rangeInRecords = false;
  s.rangeUnits.clear();
  if (!r.from || !r.to) dialog.switchRangeMode(false);  // the whole file, in time form
  bool all = true;
  const auto take = [&](const std::optional<std::string>& typed, std::string& field) {
    if (!typed) return;
    if (const auto converted = rangeFieldText(dialog.file(), *typed))
      field = *converted;
    else
      all = false;
  };
  take(r.from, s.rangeFrom);
  take(r.to, s.rangeTo);
  return all;
}

bool applyExportRequest(MainDialog& dialog, const ExportRequest& r, Profile& profile, bool& timesTaken) {
  timesTaken = true;
  if (!loadSettingsFiles(dialog, r.settingsFiles)) return false;
  timesTaken = applyRangeRequest(dialog, r.range);
  MainDialogState& s = dialog.editableState();
  if (r.all) dialog.addAllExportItems();
  if (r.separator) s.valueSeparator = *r.separator;
  if (r.decimalComma) s.decimalSeparator = 1;
  if (r.recordNumber) s.recordNumber = 1;
  if (r.dateTime) s.recordTime = 1;
  if (r.linear) s.linearUnits = 1;
  if (r.shortNames) s.shortNames = 1;
  if (r.sourceInfo) s.sourceInfo = 1;
  if (r.comment) s.comment = *r.comment;
  if (r.split) {
    s.split = true;
    s.splitPeriod = r.split->count;
    s.splitByRecords = r.split->byRecords;
  }
  if (r.decimation) {
    s.decimate = true;
    s.decimationStep = r.decimation->count;
    s.decimateByRecords = r.decimation->byRecords;
    s.averaging = r.decimation->average;
    s.maxima = r.decimation->maximum;
  }
  if (r.encoding) setResultEncoding(profile, *r.encoding);
  if (r.statistics && !dialog.acceptStatistics(*r.statistics)) return false;
  if (r.saveSettings) {
    if (!dialog.saveSettingsFile(*r.saveSettings)) return false;
    dialog.addFileInUse(*r.saveSettings);  // the export must not write over it
  }
  return true;
}

ScriptedExport runScriptedExport(MainDialog& dialog, const std::atomic<bool>& ended,
                                 const std::function<bool()>& stopRequested) {
  ScriptedExport run;
  run.started = dialog.startExport();
  bool stop = false;
  // A batch has many short exports: look again soon at first, then every
  // 20 ms (a stop request waits no longer than that).
  auto pause = std::chrono::milliseconds(1);
  while (run.started && !ended && !(stop = stopRequested())) {
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
  if (stop) dialog.stopExport();
  run.outcome = dialog.finishExport();
  return run;
}

}  // namespace sonvera
