#include "assessment/noise_assessment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <map>
#include <random>

#include "assessment/assessment_tables.h"
#include "assessment/level_histogram.h"
#include "assessment/logging_step.h"
#include "measurement/measurement_file.h"
#include "support/allocation_counter.h"
#include "support/export_files.h"
#include "support/summary_files.h"
#include "support/temp_file.h"

namespace sonvera {
namespace {

using test::SummaryRecord;

RecordTime at(int day, int hour, int minute, int second) { return RecordTime::fromParts(2026, 5, day, hour, minute, second); }

// A one-channel file opened as the dialog opens it, and the job of its level column.
struct AssessFile {
  explicit AssessFile(const std::vector<SummaryRecord>& records)
      : catalogue(test::summaryCatalogue(1)), temp(test::summaryFileBytes(1, records)) {
    EXPECT_EQ(openMeasurementFile(catalogue, temp.path(), file), OpenResult::Opened);
  }
  ExportJob job() const {
    ExportJob j;
    takeOpenFile(j, file);
    j.catalogue = &catalogue;
    j.items = {{2, 0, 0, 0}};
    j.settings.firstRecord = 0;
    j.settings.lastRecord = file.recordCount - 1;
    return j;
  }
  AssessmentResult assess(AssessmentSettings s = {}) const {
    const std::atomic<bool> stop{false};
    return assessNoise(job(), s, stop, {});
  }
  DeviceCatalogue catalogue;
  test::TempFile temp;
  MeasurementFile file;
};

// `count` records `step` seconds apart from `start`, all at `level`.
std::vector<SummaryRecord> steady(const RecordTime& start, int count, int step, double level) {
  std::vector<SummaryRecord> records;
  for (int i = 0; i < count; ++i) {
    SummaryRecord r{add(start, double(i) * step / kSecondsPerDay), {}, {}};
    r.level = level;
    records.push_back(r);
  }
  return records;
}

std::string startText(std::int64_t ms) { return timeOfMilliseconds(double(ms)).format("%Y-%m-%d %H:%M:%S"); }

// A constant level over one assessment day (07:00 to 07:00): every period
// reads it, Lden is L + 10·lg((12 + 4·10^0.5 + 8·10)/24) = L + 6.40 and Ldn
// L + 10·lg((15 + 9·10)/24) = L + 6.41.
TEST(NoiseAssessment, ConstantLevelOverOneAssessmentDay) {
  const AssessFile f(steady(at(14, 7, 0, 0), 1440, 60, 62));
  const AssessmentResult r = f.assess();
  ASSERT_TRUE(r.succeeded());
  EXPECT_EQ(r.stepSeconds, 60);
  ASSERT_EQ(r.days.size(), 1u);
  for (const DayRow* day : {&r.days[0], &r.wholeDays}) {
    EXPECT_NEAR(day->lday, 62, 1e-9);
    EXPECT_NEAR(day->levening, 62, 1e-9);
    EXPECT_NEAR(day->lnight, 62, 1e-9);
    EXPECT_NEAR(day->lden, 62 + 6.40, 0.005);
    EXPECT_NEAR(day->ldn, 62 + 6.41, 0.005);
    for (const double c : day->coverage) EXPECT_NEAR(c, 100, 1e-9);
  }
  EXPECT_EQ(timeOfMilliseconds(double(r.days[0].date)).format("%Y-%m-%d"), "2026-05-14");
  ASSERT_EQ(r.intervals.size(), 24u);
  EXPECT_EQ(startText(r.intervals.front().start), "2026-05-14 07:00:00");
  EXPECT_EQ(startText(r.intervals.back().start), "2026-05-15 06:00:00");
  EXPECT_NEAR(r.whole.coverage, 100, 1e-9);
}

// Half-open periods: a record on 07:00, 19:00 or 23:00 starts the new
// period; one a second before belongs to the old one. Levels 70 by day, 60 in
// the evening, 50 at night, so a record in the wrong period moves an average.
TEST(NoiseAssessment, BoundaryRecordsLandInExactlyOnePeriod) {
  std::vector<SummaryRecord> records;
  for (const auto& [h, m, s, level] : std::vector<std::tuple<int, int, int, double>>{
           {6, 59, 59, 50}, {7, 0, 0, 70}, {18, 59, 59, 70}, {19, 0, 0, 60}, {22, 59, 59, 60}, {23, 0, 0, 50}}) {
    SummaryRecord r{at(14, h, m, s), {}, {}};
    r.level = level;
    records.push_back(r);
  }
  const AssessFile f(records);
  AssessmentSettings s;
  s.intervalMinutes = 60;
  const AssessmentResult r = f.assess(s);
  ASSERT_TRUE(r.succeeded());
  ASSERT_EQ(r.days.size(), 2u);  // 06:59:59 is the night of the day before
  EXPECT_TRUE(std::isnan(r.days[0].lday));
  EXPECT_TRUE(std::isnan(r.days[0].levening));
  EXPECT_NEAR(r.days[0].lnight, 50, 1e-9);
  EXPECT_EQ(r.days[0].periods[kNight].count, 1u);
  EXPECT_NEAR(r.days[1].lday, 70, 1e-9);
  EXPECT_NEAR(r.days[1].levening, 60, 1e-9);
  EXPECT_NEAR(r.days[1].lnight, 50, 1e-9);
  EXPECT_EQ(r.days[1].periods[kDay].count + r.days[1].periods[kEvening].count + r.days[1].periods[kNight].count, 5u);
  // 10·lg((12·10^7 + 4·10^6.5 + 8·10^6)/24)
  EXPECT_NEAR(r.days[1].lden, 67.679, 0.001);
  EXPECT_TRUE(std::isnan(r.days[0].lden));  // its day and evening hold nothing
  // The interval of 07:00 holds the record at 07:00, the one of 06:00 the one before.
  EXPECT_EQ(startText(r.intervals[0].start), "2026-05-14 06:00:00");
  EXPECT_EQ(r.intervals[0].levels.count, 1u);
  EXPECT_NEAR(r.intervals[1].levels.max(), 70, 1e-9);
  EXPECT_EQ(r.intervals.size(), 18u);  // 06:00 to 23:00, the empty hours too
}

// A night runs across midnight as one period of the day it began on;
// another day start moves the periods with it.
TEST(NoiseAssessment, NightAcrossMidnightIsOnePeriod) {
  std::vector<SummaryRecord> records;
  for (const auto& [d, h, level] : std::vector<std::tuple<int, int, double>>{{14, 23, 50}, {15, 0, 60}, {15, 6, 70}}) {
    SummaryRecord r{at(d, h, 30, 0), {}, {}};
    r.level = level;
    records.push_back(r);
  }
  const AssessFile f(records);
  const AssessmentResult r = f.assess();
  ASSERT_EQ(r.days.size(), 1u);
  EXPECT_EQ(r.days[0].periods[kNight].count, 3u);
  EXPECT_NEAR(r.days[0].lnight, 65.682, 0.001);  // 10·lg((10^5 + 10^6 + 10^7)/3)

  AssessmentSettings late;  // day from 06:00, evening from 18:00, night from 01:00 after midnight
  late.dayStart = 6, late.eveningStart = 18, late.nightStart = 1;
  const AssessmentResult moved = f.assess(late);
  ASSERT_EQ(moved.days.size(), 2u);
  EXPECT_EQ(moved.days[0].periods[kEvening].count, 2u);  // 23:30 and 00:30
  EXPECT_EQ(moved.days[0].periods[kNight].count, 0u);
  EXPECT_EQ(moved.days[1].periods[kDay].count, 1u);  // 06:30 begins the next assessment day
  EXPECT_FALSE(periodHours(7, 23, 19));  // the night before the evening
  EXPECT_FALSE(periodHours(7, 7, 23));   // no day
  EXPECT_EQ(periodHours(7, 23, 23)->eveningHours(), 0);  // no evening is allowed
}

// An hour without records between two full ones: an empty row, coverage
// below 100 % over the range; the step stays the records' one second,
// although the file's mean spacing is 1.5 s.
TEST(NoiseAssessment, GapLeavesAnEmptyIntervalAndLowCoverage) {
  std::vector<SummaryRecord> records = steady(at(14, 10, 0, 0), 3600, 1, 60);
  const std::vector<SummaryRecord> later = steady(at(14, 12, 0, 0), 3600, 1, 70);
  records.insert(records.end(), later.begin(), later.end());
  const AssessFile f(records);
  AssessmentSettings s;
  s.summaryStepSeconds = 10799.0 / 7199;  // the summary's mean step
  const AssessmentResult r = f.assess(s);
  EXPECT_EQ(r.stepSeconds, 1);
  ASSERT_EQ(r.intervals.size(), 3u);
  EXPECT_NEAR(r.intervals[0].coverage, 100, 1e-9);
  EXPECT_EQ(r.intervals[1].levels.count, 0u);
  EXPECT_EQ(r.intervals[1].coverage, 0);
  EXPECT_TRUE(std::isnan(r.intervals[1].levels.leq()));
  EXPECT_TRUE(std::isnan(r.intervals[1].percentiles[0]));
  EXPECT_NEAR(r.intervals[2].levels.leq(), 70, 1e-9);
  EXPECT_NEAR(r.whole.coverage, 200.0 / 3, 1e-9);
  EXPECT_NEAR(r.days[0].coverage[kDay], 7200.0 / (12 * 3600) * 100, 1e-9);

  s.intervalMinutes = 1440;  // a day from midnight
  const AssessmentResult daily = f.assess(s);
  ASSERT_EQ(daily.intervals.size(), 1u);
  EXPECT_EQ(startText(daily.intervals[0].start), "2026-05-14 00:00:00");
}

// Overloaded records (135 dB) are left out and counted by default; the rule
// chooses overload, underload, both or none.
TEST(NoiseAssessment, ExclusionsLeaveRecordsOutAndCountThem) {
  std::vector<SummaryRecord> records = steady(at(14, 10, 0, 0), 100, 1, 60);
  for (int i : {10, 11, 12}) records[std::size_t(i)].overload = {1}, records[std::size_t(i)].level = 135;
  for (int i : {50, 51}) records[std::size_t(i)].underload = {1}, records[std::size_t(i)].level = 20;
  const AssessFile f(records);
  struct Case {
    bool over, under;
    std::uint64_t excluded;
    double leq;
  };
  const double withAll = 10 * std::log10((95 * 1e6 + 3 * std::pow(10.0, 13.5) + 2 * 1e2) / 100);
  for (const Case& c : {Case{true, false, 3, 10 * std::log10((95 * 1e6 + 2 * 1e2) / 97)},
                        Case{false, true, 2, 10 * std::log10((95 * 1e6 + 3 * std::pow(10.0, 13.5)) / 98)},
                        Case{true, true, 5, 60}, Case{false, false, 0, withAll}}) {
    AssessmentSettings s;
    s.excludeOverload = c.over;
    s.excludeUnderload = c.under;
    const AssessmentResult r = f.assess(s);
    EXPECT_EQ(r.excluded, c.excluded) << c.over << c.under;
    EXPECT_EQ(r.intervals[0].excluded, c.excluded);
    EXPECT_EQ(r.whole.excluded, c.excluded);
    EXPECT_EQ(r.used, 100 - c.excluded);
    EXPECT_NEAR(r.whole.levels.leq(), c.leq, 1e-9) << c.over << c.under;
    EXPECT_EQ(r.overloaded, 3u);
    EXPECT_EQ(r.underloaded, 2u);
  }
}

// Ten loud seconds, four quiet ones, five loud ones, at 80 dB over 50 dB.
TEST(NoiseAssessment, EventsMergeAcrossShortGapsAndDropShortOnes) {
  std::vector<SummaryRecord> records = steady(at(14, 10, 0, 0), 60, 1, 50);
  for (int i = 10; i < 20; ++i) records[std::size_t(i)].level = 80;
  for (int i = 24; i < 29; ++i) records[std::size_t(i)].level = 80;
  const AssessFile f(records);
  AssessmentSettings s;
  s.threshold = 80;  // "at or above"
  s.gapSeconds = 5;
  AssessmentResult r = f.assess(s);
  ASSERT_EQ(r.events.size(), 1u);
  const NoiseEvent& one = r.events[0];
  EXPECT_EQ(startText(one.start), "2026-05-14 10:00:10");
  EXPECT_EQ(timeOfMilliseconds(one.end).format("%H:%M:%S"), "10:00:29");
  EXPECT_EQ(one.records, 19u);
  EXPECT_EQ(one.durationSeconds, 19);
  EXPECT_NEAR(one.leq, 78.975, 0.001);  // 10·lg((15·10^8 + 4·10^5)/19), the quiet four included
  EXPECT_NEAR(one.lmax, 80, 1e-9);
  EXPECT_EQ(startText(one.lmaxTime), "2026-05-14 10:00:10");  // the first record at the maximum
  EXPECT_EQ(r.secondsAbove, 15);
  EXPECT_EQ(r.intervals[0].events, 1u);
  EXPECT_EQ(r.whole.events, 1u);

  s.gapSeconds = 3;
  r = f.assess(s);
  ASSERT_EQ(r.events.size(), 2u);
  EXPECT_EQ(r.events[0].durationSeconds, 10);
  EXPECT_NEAR(r.events[0].le, 90.0, 1e-9);  // 10·lg(10 · 1 s · 10^8 / 1 s)
  EXPECT_NEAR(r.events[0].leq, 80, 1e-9);
  EXPECT_EQ(startText(r.events[1].start), "2026-05-14 10:00:24");
  EXPECT_NEAR(r.events[1].le, 80 + 10 * std::log10(5), 1e-9);

  s.minDurationSeconds = 6;
  r = f.assess(s);
  ASSERT_EQ(r.events.size(), 1u);
  EXPECT_EQ(r.eventsTooShort, 1u);
  EXPECT_EQ(r.events[0].records, 10u);

  s = {};
  s.threshold = 80.5;  // nothing reaches it
  EXPECT_TRUE(f.assess(s).events.empty());
}

// LE counts each record as the file's step, not as one second.
TEST(NoiseAssessment, ExposureOfLongerStepsCountsTheStep) {
  const AssessFile f(steady(at(14, 10, 0, 0), 10, 10, 80));
  AssessmentSettings s;
  s.threshold = 70;
  const AssessmentResult r = f.assess(s);
  ASSERT_EQ(r.events.size(), 1u);
  EXPECT_EQ(r.events[0].durationSeconds, 100);
  EXPECT_NEAR(r.events[0].le, 100.0, 1e-9);  // 10·lg(10 · 10 s · 10^8 / 1 s)
}

// The rank rule on ten values 41 to 50: LN is the value at rank
// ceil(N·10/100) from the highest.
TEST(LevelHistogram, PercentilesFollowTheRankRule) {
  LevelHistogram h;
  for (int v = 41; v <= 50; ++v) h.add(v);
  const std::vector<int> percents{1, 10, 11, 50, 51, 90, 95, 99};
  std::vector<double> levels(percents.size());
  h.percentiles(percents, levels);
  const std::vector<double> expected{50, 50, 49, 46, 45, 42, 41, 41};
  for (std::size_t i = 0; i < percents.size(); ++i) EXPECT_EQ(levels[i], expected[i]) << "L" << percents[i];
  // Values are rounded to 0.1 dB first: 60.04 and 59.96 are both 60.0.
  h.clear();
  for (const double v : {60.04, 59.96, 59.94, 70.05}) h.add(v);
  h.percentiles(std::vector<int>{1, 50, 75, 99}, levels);
  EXPECT_EQ(levels[0], 70.1);
  EXPECT_EQ(levels[1], 60.0);
  EXPECT_EQ(levels[2], 60.0);
  EXPECT_EQ(levels[3], 59.9);
  h.clear();
  h.percentiles(std::vector<int>{50}, levels);
  EXPECT_TRUE(std::isnan(levels[0]));
}

// The same through a file: ten one-second records in one interval.
TEST(NoiseAssessment, IntervalPercentilesFromTheRecords) {
  std::vector<SummaryRecord> records = steady(at(14, 10, 0, 0), 10, 1, 0);
  for (int i = 0; i < 10; ++i) records[std::size_t(i)].level = 41 + (i * 7) % 10;  // 41..50 shuffled
  const AssessFile f(records);
  AssessmentSettings s;
  s.percentiles = {5, 10, 50, 90, 0, 0};
  const AssessmentResult r = f.assess(s);
  ASSERT_EQ(r.intervals.size(), 1u);
  EXPECT_EQ(r.intervals[0].percentiles[0], 50);
  EXPECT_EQ(r.intervals[0].percentiles[1], 50);
  EXPECT_EQ(r.intervals[0].percentiles[2], 46);
  EXPECT_EQ(r.intervals[0].percentiles[3], 42);
  EXPECT_TRUE(std::isnan(r.intervals[0].percentiles[4]));
  EXPECT_EQ(r.whole.percentiles[3], 42);
  EXPECT_EQ(r.intervals[0].levels.min(), 41);
  EXPECT_EQ(r.intervals[0].levels.max(), 50);
}

// A year of one-second energies: the compensated sum keeps the mean to the
// last bits (a plain double sum is off by about 10^-12 of it).
TEST(EnergySum, AYearOfRecordsKeepsItsPrecision) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> levels(30, 110);
  EnergySum compensated;
  long double reference = 0;
  for (int i = 0; i < 31536000; ++i) {
    const double e = energyOf(levels(random));
    compensated.add(e);
    reference += e;
  }
  EXPECT_NEAR(compensated.value() / static_cast<double>(reference), 1.0, 1e-15);
}

TEST(NoiseAssessment, RefusesWhatItCannotAssess) {
  // A linear column is no level.
  const DeviceCatalogue catalogue = test::exportCatalogue(1);
  const test::TempFile temp(test::exportFileBytes(1, test::exportRecords(5, 1, at(14, 10, 0, 0))));
  MeasurementFile file;
  ASSERT_EQ(openMeasurementFile(catalogue, temp.path(), file), OpenResult::Opened);
  ExportJob job;
  takeOpenFile(job, file);
  job.catalogue = &catalogue;
  job.items = {{2, 1, 0, 0}};
  job.settings.lastRecord = 4;
  const std::atomic<bool> stop{false};
  std::vector<int> progress;
  AssessmentResult r = assessNoise(job, {}, stop, [&](int p) { progress.push_back(p); });
  EXPECT_EQ(r.failure, AssessmentFailure::NotALevel);
  EXPECT_EQ(progress, std::vector<int>{-1});
  job.items = {{2, 0, 0, 0}};
  EXPECT_TRUE(assessNoise(job, {}, stop, {}).succeeded());
  job.items = {{2, 5, 0, 0}};  // no such parameter
  EXPECT_EQ(assessNoise(job, {}, stop, {}).failure, AssessmentFailure::NoColumn);

  // A stamp years away would make millions of one-minute rows.
  const AssessFile far({{at(14, 10, 0, 0), {}, {}}, {RecordTime::fromParts(2029, 1, 1, 0, 0, 0), {}, {}}});
  AssessmentSettings minutes;
  minutes.intervalMinutes = 1;
  EXPECT_EQ(far.assess(minutes).failure, AssessmentFailure::TooManyIntervals);
  EXPECT_TRUE(far.assess().succeeded());  // hourly rows fit
}

// Records without a valid time or of another type are skipped and counted;
// a clock set back into a finished interval leaves its LN empty.
TEST(NoiseAssessment, RecordsWithoutTimeAndClocksSetBack) {
  std::vector<SummaryRecord> records = steady(at(14, 10, 0, 0), 20, 60, 60);
  records[5].time = RecordTime{};
  records[18].time = at(14, 9, 59, 0);  // back before the first interval: a new one
  records[19].time = at(14, 10, 2, 0);  // back into 10:00, left at 10:10
  const AssessFile f(records);
  AssessmentSettings s;
  s.intervalMinutes = 10;
  const AssessmentResult r = f.assess(s);
  ASSERT_TRUE(r.succeeded());
  EXPECT_EQ(r.withoutTime, 1u);
  EXPECT_EQ(r.used, 19u);
  EXPECT_EQ(r.notUsed(), 1u);
  ASSERT_EQ(r.intervals.size(), 3u);  // 09:50, 10:00, 10:10
  EXPECT_EQ(r.intervals[0].levels.count, 1u);
  EXPECT_TRUE(r.intervals[1].broken);
  EXPECT_EQ(r.intervals[1].levels.count, 10u);  // 10:00 to 10:09 but 10:05, and 10:02 again
  EXPECT_TRUE(std::isnan(r.intervals[1].percentiles[0]));
  EXPECT_FALSE(std::isnan(r.intervals[2].percentiles[0]));
  EXPECT_TRUE(r.brokenIntervals);
}

// Stopped from another thread it ends early; a long range allocates
// nothing per record.
TEST(NoiseAssessment, StopsOnRequestAndAllocatesNothingPerRecord) {
  const AssessFile f(steady(at(14, 0, 0, 0), 200000, 1, 60));
  std::atomic<bool> stop{false};
  std::vector<int> progress;
  const AssessmentResult stopped = assessNoise(f.job(), {}, stop, [&](int p) {
    progress.push_back(p);
    if (p == 10) stop = true;
  });
  EXPECT_TRUE(stopped.stopped);
  EXPECT_FALSE(stopped.succeeded());
  EXPECT_LT(stopped.recordsRead, 200000u);
  EXPECT_EQ(progress.back(), -1);

  stop = false;
  EXPECT_TRUE(test::allocatesNothingPerRecord([&](std::uint32_t last) {
    ExportJob j = f.job();
    j.settings.lastRecord = last;
    AssessmentSettings daily;
    daily.intervalMinutes = 1440;
    const AssessmentResult r = assessNoise(j, daily, stop, {});
  }));
}

}  // namespace
}  // namespace sonvera

namespace sonvera {
namespace {

using test::SummaryRecord;

std::vector<SummaryRecord> atSeconds(const std::vector<int>& seconds, double level = 60) {
  std::vector<SummaryRecord> records;
  for (const int s : seconds) {
    SummaryRecord r{add(RecordTime::fromParts(2026, 5, 14, 10, 0, 0), s / kSecondsPerDay), {}, {}};
    r.level = level;
    records.push_back(r);
  }
  return records;
}

// The step: the summary's, unless the records' spacing is clearly shorter;
// their spacing without one; 1 s when neither is known.
TEST(LoggingStep, TheSummarysStepUnlessAGapInflatedIt) {
  std::vector<int> steady, gapped, halfSeconds;
  for (int i = 0; i < 200; ++i) steady.push_back(10 * i);
  for (int i = 0; i < 200; ++i) gapped.push_back(i < 100 ? i : i + 3600);
  for (int i = 0; i < 200; ++i) halfSeconds.push_back(i / 2);  // whole-second stamps of a 0.5 s step
  struct Case {
    std::vector<int> seconds;
    std::optional<double> summary;
    double step;
  };
  const Case cases[] = {
      {steady, 10.0, 10},
      {steady, std::nullopt, 10},
      {gapped, (199 + 3600) / 199.0, 1},
      {halfSeconds, 0.5, 0.5},
      {{0}, std::nullopt, 1},
      {{0}, 2.0, 2},
  };
  for (const Case& c : cases) {
    const AssessFile f(atSeconds(c.seconds));
    EXPECT_DOUBLE_EQ(loggingStep(f.job(), c.summary), c.step) << c.seconds.size() << " " << c.summary.value_or(-1);
  }
}

// Settable periods and penalties: no evening, no penalties, another day start.
TEST(NoiseAssessment, PeriodsAndPenaltiesAsSet) {
  // 70 dB from 07:00 to 21:59, 50 dB from 22:00 to 06:59, one record a minute.
  std::vector<SummaryRecord> records;
  for (int m = 0; m < 1440; ++m) {
    SummaryRecord r{add(RecordTime::fromParts(2026, 5, 14, 7, 0, 0), m * 60 / kSecondsPerDay), {}, {}};
    r.level = m < 15 * 60 ? 70 : 50;
    records.push_back(r);
  }
  const AssessFile f(records);
  struct Case {
    int day, evening, night;
    double dayPenalty, eveningPenalty, nightPenalty;
    double lden;
  };
  // Day 07-22 and night 22-07 with no evening: 10·lg((15·10^7 + 9·10^(6+P)/10... ) / 24)
  const Case cases[] = {
      {7, 22, 22, 0, 5, 10, 10 * std::log10((15 * 1e7 + 9 * 1e6) / 24)},
      {7, 22, 22, 0, 0, 0, 10 * std::log10((15 * 1e7 + 9 * 1e5) / 24)},
      {7, 19, 23, 0, 5, 10, 10 * std::log10((12 * 1e7 + 3 * 1e7 * std::sqrt(10.0) + 1e5 * std::sqrt(10.0) + 8 * 1e6) / 24)},
  };
  for (const Case& c : cases) {
    AssessmentSettings s;
    s.dayStart = c.day, s.eveningStart = c.evening, s.nightStart = c.night;
    s.dayPenalty = c.dayPenalty, s.eveningPenalty = c.eveningPenalty, s.nightPenalty = c.nightPenalty;
    const AssessmentResult r = f.assess(s);
    ASSERT_EQ(r.days.size(), 1u);
    EXPECT_NEAR(r.days[0].lden, c.lden, 1e-9) << c.evening << " " << c.nightPenalty;
    // Ldn keeps its own 07-22 and 22-07 with +10 dB.
    EXPECT_NEAR(r.days[0].ldn, 10 * std::log10((15 * 1e7 + 9 * 1e6) / 24), 1e-9);
  }
  AssessmentSettings noEvening;
  noEvening.eveningStart = noEvening.nightStart = 22;
  const AssessmentResult r = f.assess(noEvening);
  EXPECT_TRUE(std::isnan(r.days[0].levening));
  EXPECT_EQ(r.days[0].coverage[kEvening], 0);
}

// Excluded records do not split an event when the gap rule joins across
// them; a clock set back ends the event it was in.
TEST(NoiseAssessment, EventsAroundExcludedRecordsAndClocksSetBack) {
  std::vector<SummaryRecord> records = atSeconds({0, 1, 2, 3, 4, 5, 6, 7, 2, 3}, 50);
  for (int i : {1, 2, 4, 5, 8, 9}) records[std::size_t(i)].level = 80;
  records[3].overload = {1};  // at 3 s, between loud 2 s and 4 s
  records[3].level = 130;
  const AssessFile f(records);
  AssessmentSettings s;
  s.threshold = 80;
  s.gapSeconds = 2;
  AssessmentResult r = f.assess(s);
  ASSERT_EQ(r.events.size(), 2u);
  EXPECT_EQ(r.events[0].records, 4u);  // 1, 2, 4, 5: the overloaded record is not used
  EXPECT_EQ(timeOfMilliseconds(r.events[0].end).format("%H:%M:%S"), "10:00:06");
  EXPECT_EQ(r.events[1].records, 2u);  // 2 and 3 again, after the clock went back from 7 s
  s.gapSeconds = 0;
  r = f.assess(s);
  EXPECT_EQ(r.events.size(), 3u);  // the overloaded second splits 1-2 from 4-5
}

TEST(NoiseAssessment, TheParameterTableCountsEveryRecord) {
  std::vector<SummaryRecord> records = atSeconds({0, 1, 2, 3, 4});
  records[1].overload = {1};
  records[2].time = RecordTime{};
  const AssessFile f(records);
  const AssessmentResult r = f.assess();
  const ParameterTableView table(r, {"day.bin", "АШМ-1"});
  std::map<std::string, std::string> rows;
  for (std::size_t i = 0; i < table.rowCount(); ++i) rows[cellText(table.cell(i, 0), false)] = cellText(table.cell(i, 1), false);
  EXPECT_EQ(rows["Файл"], "day.bin");
  EXPECT_EQ(rows["Записи"], "1-5");
  EXPECT_EQ(rows["Записей прочитано"], "5");
  EXPECT_EQ(rows["Использовано"], "3");
  EXPECT_EQ(rows["Исключено"], "1");
  EXPECT_EQ(rows["Без верного времени"], "1");
  EXPECT_EQ(rows["Исключаются"], "перегрузка");
  EXPECT_EQ(rows.count("Внимание"), 0u);
}

}  // namespace
}  // namespace sonvera
