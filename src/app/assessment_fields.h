#pragma once
// An assessment's result for scripts, as named fields: `sonvera-cli assess
// --json` writes them as JSON, the Python module's File.assess as a dict.
// Figures at full precision, nothing for an empty one, times as times.

#include "app/summary_fields.h"
#include "assessment/noise_assessment.h"

namespace sonvera {

SummaryFields assessmentFields(const AssessmentResult& result);

}  // namespace sonvera
