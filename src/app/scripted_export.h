#pragma once
// One export driven by a script instead of a user (the command line, the
// Python module): the request applied to the main dialog in the order a
// user would set it, then the dialog's own export run to its end. Both faces
// go through here, so they validate, name columns and export as the window.

#include <atomic>
#include <functional>
#include <optional>

#include "app/export_options.h"
#include "app/main_dialog.h"
#include "app/profile.h"

namespace sonvera {

// Loads the settings files in order; false after the dialog's message.
bool loadSettingsFiles(MainDialog& dialog, const std::vector<std::string>& settingsFiles);

// The range fields as the request gives them, times converted from the forms
// users type them. False when a time could not stand for a time of the file:
// the dialog then refuses the range and acceptedTimeForms says what it takes.
bool applyRangeRequest(MainDialog& dialog, const RangeRequest& range);

// Applies the request to the dialog, whose file is open: the settings files in
// order, the range, the options, the statistics, then the settings file to
// write (which the export may not replace afterwards). False after the
// dialog's message. `timesTaken` is false when a time of from/to could not
// stand for a time of the file (the export will then refuse the range).
bool applyExportRequest(MainDialog& dialog, const ExportRequest& request, Profile& profile, bool& timesTaken);

struct ScriptedExport {
  bool started = false;
  std::optional<ExportOutcome> outcome;  // of a started export
};

// "Создать файл результата", then waits until `ended` is set (the host sets
// it when the worker reports its end). `stopRequested` is asked between the
// waits; once true the export is stopped as by "Отмена", its files completed.
ScriptedExport runScriptedExport(MainDialog& dialog, const std::atomic<bool>& ended,
                                 const std::function<bool()>& stopRequested);

}  // namespace sonvera
