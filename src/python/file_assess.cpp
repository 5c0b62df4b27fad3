// File.assess: the keyword arguments of the call as the options of
// `sonvera-cli assess`, run through the same dialog logic.

#include <pybind11/stl.h>

#include <atomic>
#include <map>

#include "app/assessment_fields.h"
#include "app/scripted_assessment.h"
#include "app/typed_time.h"
#include "measurement_file_object.h"
#include "python_values.h"

namespace sonvera::python {
namespace {

// A text as the command line would take it: "7,19,23" from (7, 19, 23) too.
std::string optionText(const py::handle& value) {
  if (py::isinstance<py::str>(value)) return value.cast<std::string>();
  if (py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value)) {
    std::string text;
    for (const py::handle part : value) text += (text.empty() ? "" : ",") + py::str(part).cast<std::string>();
    return text;
  }
  return py::str(value).cast<std::string>();
}

void takeOptions(const py::kwargs& options, AssessmentRequest& r) {
  const std::map<std::string, std::optional<std::string>*> texts = {
      {"from", &r.range.from},     {"from_", &r.range.from},        {"to", &r.range.to},
      {"periods", &r.periods},     {"penalties", &r.penalties},     {"threshold", &r.threshold},
      {"gap", &r.gap},             {"min_duration", &r.minimumDuration}, {"exclude", &r.exclude}};
  for (const auto& [key, value] : options) {
    const auto name = key.cast<std::string>();
    if (const auto text = texts.find(name); text != texts.end()) {
      *text->second = optionText(value);
    } else if (name == "by_time") {
      r.range.byTime = value.cast<bool>();
    } else if (name == "entry") {
      r.entry = value.cast<unsigned>();
    } else if (name == "interval") {
      r.interval = value.cast<std::uint32_t>();
    } else {
      throw py::type_error("assess() got an unexpected keyword argument '" + name + "'");
    }
  }
}

}  // namespace

py::dict File::assess(const py::object& result, const py::object& settings, const py::kwargs& options) {
  dialog();  // not once closed
  AssessmentRequest request;
  request.settingsFiles = pathTexts(settings);
  takeOptions(options, request);
  const std::optional<std::string> resultPath =
      result.is_none() ? std::nullopt : std::optional<std::string>(pathText(result));

  PythonHost host;
  std::optional<AssessmentDialog> assessment;
  std::atomic<bool> stop{false};
  SummaryFields fields;
  std::vector<std::string> files;
  {
    const py::gil_scoped_release release;
    // A dialog of its own, as each run of the command line has.
    MainDialog dialog(catalogue_->catalogue, host);
    if (!dialog.openFile(path_)) throw host.refusal(path_, "not assessed");
    // Without settings files the entries are File.items, as "Все" fills them.
    if (request.settingsFiles.empty()) dialog.addAllExportItems();
    // Ctrl+C is looked for as the progress moves, and stops it.
    const AssessmentRun run = runScriptedAssessment(dialog, request, assessment, stop, [&](int) {
      const py::gil_scoped_acquire acquire;
      if (PyErr_CheckSignals() != 0) stop = true;
    });
    if (run.wrongParameter) throw py::value_error(*run.wrongParameter);
    if (run.stopped) {
      const py::gil_scoped_acquire acquire;
      throw py::error_already_set();
    }
    if (!run.done) {
      Refusal refusal = host.refusal(path_, "not assessed");
      if (!run.timesTaken) refusal.detail += (refusal.detail.empty() ? "" : "\n") + acceptedTimeForms(dialog.file());
      throw refusal;
    }
    if (resultPath) {
      if (!assessment->save(*resultPath)) throw host.refusal(*resultPath, "not written");
      files = AssessmentDialog::resultPaths(*resultPath);
    }
    fields = assessmentFields(assessment->result());
    assessment.reset();  // before the dialog it refers to
  }
  py::dict out = dictOf(fields);
  if (resultPath) out["files"] = files;
  return out;
}

}  // namespace sonvera::python
