#pragma once
// The step each record of a range stands for. The summary's step is the mean
// spacing of the whole file, which a gap in the recording inflates (two hours
// of one-second records an hour apart would read as 1.5 s, and an hour of
// them as 150 % coverage). The records' own spacing, sampled at a few places
// of the range, shows such a gap; the summary's step stands otherwise.

#include <optional>

#include "export/export_worker.h"

namespace sonvera {

// Seconds: the summary's step unless the sampled spacing of neighbouring
// records is clearly shorter; the sampled spacing when the summary gives
// none; 1 s when neither is known.
double loggingStep(const ExportJob& job, std::optional<double> summaryStepSeconds);

}  // namespace sonvera
