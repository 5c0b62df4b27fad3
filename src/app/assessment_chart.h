#pragma once
// What the assessment window's chart draws, without a window: the interval
// Leq as steps over the time line (pieces broken where intervals are empty),
// the evening and night periods of each assessment day as spans to shade,
// and each event at its maximum. x values are day numbers.

#include <cstddef>
#include <vector>

#include "assessment/noise_assessment.h"
#include "chart/chart_data.h"

namespace sonvera {

struct TimeSpanX {
  double from = 0, to = 0;
};

struct AssessmentChart {
  std::vector<std::vector<ChartPoint>> leqSteps;  // each piece a run of intervals with records
  std::vector<TimeSpanX> evenings, nights;
  std::vector<ChartPoint> events;  // at Lmax: its time and level
  double from = 0, to = 1;         // the intervals' extent
  std::size_t intervalsPerStep = 1;  // more than 1 when a long table is drawn coarser
};

// `mostSteps` bounds the steps drawn: longer tables draw the Leq of several
// intervals per step; `mostMarks` bounds the events and periods drawn.
AssessmentChart assessmentChart(const AssessmentResult& result, std::size_t mostSteps = 4000,
                                std::size_t mostMarks = 2000);

}  // namespace sonvera
