#pragma once
// One assessment driven by a script instead of a user (the command line, the
// Python module): the settings files, the range and the entry applied to the
// main dialog, the parameters put into the assessment's fields and checked as
// "Рассчитать" checks them, then the assessment run to its end on the
// caller's thread.

#include <atomic>
#include <optional>
#include <string>

#include "app/assessment_dialog.h"
#include "app/assessment_request.h"
#include "app/main_dialog.h"

namespace sonvera {

struct AssessmentRun {
  bool done = false;     // the result is taken: assessment->result()
  bool stopped = false;  // `stop` ended it; nothing is kept
  bool timesTaken = true;  // false: a time of the range could not stand for a time of the file
  // A parameter that does not parse, with what it takes ("periods takes three hours: ...").
  std::optional<std::string> wrongParameter;
};

// The dialog's file is open. Refusals of the dialog show their messages
// (none of done, stopped or wrongParameter is then set). `assessment` is
// made here: it holds the result and saves it.
AssessmentRun runScriptedAssessment(MainDialog& dialog, const AssessmentRequest& request,
                                    std::optional<AssessmentDialog>& assessment, const std::atomic<bool>& stop,
                                    const ExportProgress& progress);

}  // namespace sonvera
