#pragma once
// The parameters of a noise assessment as the window's fields and the
// command line's options hold them, and the checks that turn them into
// settings with one message per faulty field.

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "app/strings.h"
#include "assessment/assessment_settings.h"
#include "export/statistics_settings.h"

namespace sonvera {

enum class ExclusionChoice { Overload, Underload, Both, None };

inline constexpr std::array<const char*, 4> kExclusionCaptions{"перегрузка", "недогрузка", "перегрузка и недогрузка",
                                                               "ничего"};

struct AssessmentForm {
  std::size_t interval = 5;  // index into kIntervalMinutes: 60 min
  std::array<std::string, 3> periodStarts{"7", "19", "23"};  // hours of day, evening, night
  std::array<std::string, 3> penalties{"0", "5", "10"};      // dB
  std::string threshold = "75";
  std::string gap = "5";
  std::string minimumDuration = "0";
  ExclusionChoice exclusion = ExclusionChoice::Overload;
};

// The form as it opens: the statistics' threshold as the event threshold.
AssessmentForm assessmentFormFor(const StatisticsSettings& statistics);

// The index of an interval length in minutes; nothing for a length not offered.
std::optional<std::size_t> intervalChoice(std::uint32_t minutes);

struct AssessmentFormResult {
  std::optional<AssessmentSettings> settings;
  StringId error = StringId::BadThreshold;
};

// The settings of the form, with the percentiles chosen in the statistics
// (L10, L50, L90 when none is) and the summary's step.
AssessmentFormResult readAssessmentForm(const AssessmentForm& form, const StatisticsSettings& statistics,
                                        std::optional<double> summaryStepSeconds);

}  // namespace sonvera
