#include "app/assessment_chart.h"

#include <gtest/gtest.h>

#include <cmath>

namespace sonvera {
namespace {

// Three hours from 22:00 with the middle one empty, two events.
AssessmentResult threeHours() {
  AssessmentResult r;
  const double start = stampMilliseconds(RecordTime::fromParts(2026, 5, 14, 22, 0, 0));
  for (int h = 0; h < 3; ++h) {
    IntervalRow& row = r.intervals.emplace_back();
    row.start = static_cast<std::int64_t>(start) + h * 3600000LL;
    if (h != 1)
      for (int i = 0; i < 10; ++i) row.levels.add(50 + 10 * h, energyOf(50 + 10 * h));
  }
  DayRow& day = r.days.emplace_back();
  day.date = stampMilliseconds(RecordTime::fromParts(2026, 5, 14, 0, 0, 0));
  r.events.push_back({});
  r.events.back().lmaxTime = static_cast<std::int64_t>(start) + 600000;
  r.events.back().lmax = 81;
  return r;
}

TEST(AssessmentChart, StepsBreakAtEmptyIntervalsAndPeriodsAreClipped) {
  const AssessmentChart c = assessmentChart(threeHours());
  const double from = RecordTime::fromParts(2026, 5, 14, 22, 0, 0).dayNumber();
  EXPECT_NEAR(c.from, from, 1e-9);
  EXPECT_NEAR(c.to, from + 3.0 / 24, 1e-9);
  ASSERT_EQ(c.leqSteps.size(), 2u);  // the empty hour breaks the line
  ASSERT_EQ(c.leqSteps[0].size(), 2u);
  EXPECT_NEAR(c.leqSteps[0][0].y, 50, 1e-9);
  EXPECT_NEAR(c.leqSteps[0][1].x, from + 1.0 / 24, 1e-9);
  EXPECT_NEAR(c.leqSteps[1][0].y, 70, 1e-9);
  // The day of the 14th: its evening 19-23 and its night 23-07, clipped to 22:00-01:00.
  ASSERT_EQ(c.evenings.size(), 1u);
  EXPECT_NEAR(c.evenings[0].from, from, 1e-9);
  EXPECT_NEAR(c.evenings[0].to, from + 1.0 / 24, 1e-9);
  ASSERT_EQ(c.nights.size(), 1u);
  EXPECT_NEAR(c.nights[0].to, c.to, 1e-9);
  ASSERT_EQ(c.events.size(), 1u);
  EXPECT_EQ(c.events[0].y, 81);
}

// A long table is drawn with the energy mean of several intervals a step.
TEST(AssessmentChart, LongTablesDrawCoarserSteps) {
  AssessmentResult r = threeHours();
  const AssessmentChart c = assessmentChart(r, 2);
  EXPECT_EQ(c.intervalsPerStep, 2u);
  ASSERT_EQ(c.leqSteps.size(), 1u);
  ASSERT_EQ(c.leqSteps[0].size(), 4u);
  EXPECT_NEAR(c.leqSteps[0][0].y, 50, 1e-9);  // 22:00 and the empty 23:00
  EXPECT_NEAR(c.leqSteps[0][2].y, 70, 1e-9);
  EXPECT_TRUE(assessmentChart(AssessmentResult{}).leqSteps.empty());
}

}  // namespace
}  // namespace sonvera
