#pragma once
// The assessment as a script asks for it (`sonvera-cli assess`, the Python
// module's File.assess): the parameters as typed, put into the assessment's
// fields, which the dialog then checks with its own messages.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/assessment_form.h"
#include "app/export_options.h"

namespace sonvera {

struct AssessmentRequest {
  std::vector<std::string> settingsFiles;
  RangeRequest range;
  std::optional<unsigned> entry;  // of the export list, from 1; none: the selected or the first
  std::optional<std::uint32_t> interval;           // minutes: 1, 5, 10, 15, 30, 60 or 1440
  std::optional<std::string> periods, penalties;   // "7,19,23", "0,5,10"
  std::optional<std::string> threshold, gap, minimumDuration;
  std::optional<std::string> exclude;              // overload, underload, overload,underload, none
};

// The parameters into the fields; the first that does not parse, and what it takes.
std::optional<OptionFault> fillAssessmentForm(const AssessmentRequest& request, AssessmentForm& form);

}  // namespace sonvera
