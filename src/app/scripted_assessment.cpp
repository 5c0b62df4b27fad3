#include "app/scripted_assessment.h"

#include "app/scripted_export.h"

namespace sonvera {

AssessmentRun runScriptedAssessment(MainDialog& dialog, const AssessmentRequest& request,
                                    std::optional<AssessmentDialog>& assessment, const std::atomic<bool>& stop,
                                    const ExportProgress& progress) {
  AssessmentRun run;
  if (!loadSettingsFiles(dialog, request.settingsFiles)) return run;
  run.timesTaken = applyRangeRequest(dialog, request.range);
  const std::size_t entries = dialog.state().exportListLines.size();
  if (request.entry && (*request.entry == 0 || *request.entry > entries)) {
    run.wrongParameter = "entry " + std::to_string(*request.entry) + ": the export list has " +
                         std::to_string(entries) + (entries == 1 ? " entry" : " entries");
    return run;
  }
  const auto job = dialog.assessmentJob(request.entry ? std::optional<std::size_t>(*request.entry - 1) : std::nullopt);
  if (!job) return run;
  assessment.emplace(dialog, *job);
  if (const auto fault = fillAssessmentForm(request, assessment->form())) {
    run.wrongParameter = std::string(fault->option) + " takes " + fault->takes;
    return run;
  }
  const auto settings = assessment->checkedSettings();
  if (!settings) return run;
  AssessmentResult result = assessment->run(*settings, stop, progress);
  if (result.stopped) {
    run.stopped = true;
    return run;
  }
  run.done = assessment->takeResult(std::move(result));
  return run;
}

}  // namespace sonvera
