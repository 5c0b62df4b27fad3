#include "app/assessment_request.h"

#include <array>
#include <sstream>

namespace sonvera {
namespace {

// "7,19,23" as three texts, each as typed.
std::optional<std::array<std::string, 3>> threeParts(const std::string& text) {
  std::array<std::string, 3> parts;
  std::istringstream in(text);
  std::size_t n = 0;
  for (std::string part; std::getline(in, part, ',');) {
    if (n == 3) return std::nullopt;
    parts[n++] = part;
  }
  if (n != 3 || text.back() == ',') return std::nullopt;
  return parts;
}

std::optional<ExclusionChoice> exclusionOf(const std::string& text) {
  if (text == "overload") return ExclusionChoice::Overload;
  if (text == "underload") return ExclusionChoice::Underload;
  if (text == "overload,underload" || text == "underload,overload") return ExclusionChoice::Both;
  if (text == "none") return ExclusionChoice::None;
  return std::nullopt;
}

}  // namespace

std::optional<OptionFault> fillAssessmentForm(const AssessmentRequest& r, AssessmentForm& form) {
  if (r.interval) {
    const auto choice = intervalChoice(*r.interval);
    if (!choice) return OptionFault{"interval", "a length in minutes: 1, 5, 10, 15, 30, 60 or 1440"};
    form.interval = *choice;
  }
  if (r.periods) {
    const auto parts = threeParts(*r.periods);
    if (!parts) return OptionFault{"periods", "three hours: DAY,EVENING,NIGHT, e.g. 7,19,23"};
    form.periodStarts = *parts;
  }
  if (r.penalties) {
    const auto parts = threeParts(*r.penalties);
    if (!parts) return OptionFault{"penalties", "three levels in dB: DAY,EVENING,NIGHT, e.g. 0,5,10"};
    form.penalties = *parts;
  }
  if (r.threshold) form.threshold = *r.threshold;
  if (r.gap) form.gap = *r.gap;
  if (r.minimumDuration) form.minimumDuration = *r.minimumDuration;
  if (r.exclude) {
    const auto choice = exclusionOf(*r.exclude);
    if (!choice) return OptionFault{"exclude", "overload, underload, overload,underload or none"};
    form.exclusion = *choice;
  }
  return std::nullopt;
}

}  // namespace sonvera
