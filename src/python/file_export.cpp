// File.export: the keyword arguments of the call as the options of
// `sonvera-cli export`, run through the same dialog logic.

#include <pybind11/stl.h>

#include <map>

#include "app/scripted_export.h"
#include "app/typed_time.h"
#include "export/result_writer.h"
#include "measurement_file_object.h"
#include "python_values.h"

namespace sonvera::python {
namespace {

// The keyword arguments, named as the command line's options with "_" for
// "-" (and "from_" for "from", which Python reserves).
void takeOptions(const py::kwargs& options, ExportRequest& r, ExportOptionTexts& t, bool& yes) {
  const std::map<std::string, bool*> flags = {
      {"by_time", &r.range.byTime},         {"all", &r.all},           {"decimal_comma", &r.decimalComma},
      {"record_number", &r.recordNumber}, {"datetime", &r.dateTime}, {"linear", &r.linear},
      {"short_names", &r.shortNames}, {"source_info", &r.sourceInfo}, {"yes", &yes}};
  const std::map<std::string, std::optional<std::string>*> texts = {
      {"from", &r.range.from},    {"from_", &r.range.from},   {"to", &r.range.to},
      {"comment", &r.comment},    {"split", &t.split},        {"decimate", &t.decimate},
      {"separator", &t.separator}, {"encoding", &t.encoding}};
  for (const auto& [key, value] : options) {
    const auto name = key.cast<std::string>();
    if (const auto flag = flags.find(name); flag != flags.end()) {
      *flag->second = value.cast<bool>();
    } else if (const auto text = texts.find(name); text != texts.end()) {
      *text->second = py::str(value).cast<std::string>();  // record numbers may come as int
    } else if (name == "stats") {
      t.stats = py::isinstance<py::str>(value) ? value.cast<std::string>()
                                               : py::str(",").attr("join")(value).cast<std::string>();
    } else if (name == "save_settings") {
      r.saveSettings = pathText(value);
    } else {
      throw py::type_error("export() got an unexpected keyword argument '" + name + "'");
    }
  }
}

}  // namespace

py::dict File::exportTo(const py::object& result, const py::object& settings, const py::kwargs& options) {
  dialog();  // not once closed
  ExportRequest request;
  request.settingsFiles = pathTexts(settings);
  ExportOptionTexts texts;
  PythonHost host;
  takeOptions(options, request, texts, host.yes);
  if (const auto fault = parseExportOptionTexts(texts, request))
    throw py::value_error(std::string(fault->option) + " takes " + fault->takes);
  if (result.is_none() && !request.saveSettings) throw py::type_error("export() needs a result or save_settings");
  if (!result.is_none()) host.resultPath = pathText(result);

  ScriptedExport run;
  ExportSettings used;
  bool settingsOnly = false;
  {
    const py::gil_scoped_release release;
    // A dialog of its own, as each run of the command line has.
    MainDialog dialog(catalogue_->catalogue, host);
    bool timesTaken = true;
    if (!dialog.openFile(path_) || !applyExportRequest(dialog, request, host.profile(), timesTaken))
      throw host.refusal(path_, "not exported");
    settingsOnly = !host.resultPath;  // the settings file alone was asked for
    if (!settingsOnly) run = runScriptedExport(dialog, host.ended, [] {
      const py::gil_scoped_acquire acquire;
      return PyErr_CheckSignals() != 0;  // Ctrl+C stops it as "Отмена" does
    });
    if (!settingsOnly && !run.started) {
      Refusal refusal = host.refusal(path_, "not exported");
      if (!timesTaken) refusal.detail += (refusal.detail.empty() ? "" : "\n") + acceptedTimeForms(dialog.file());
      throw refusal;
    }
    used = dialog.exportSettings();
  }
  if (PyErr_Occurred()) throw py::error_already_set();  // the files written so far are complete
  if (settingsOnly) return py::dict();
  if (!run.outcome || !run.outcome->succeeded()) throw host.refusal(path_, "not exported");
  const ExportOutcome& o = *run.outcome;
  py::dict done;
  done["records"] = o.recordsHandled;
  done["lines"] = o.linesWritten;
  done["files"] = resultFileNames(used.resultBase, used.resultExtension, used.splitEnabled, o.dataFiles,
                                  o.informationFiles > 0);
  return done;
}

}  // namespace sonvera::python
