#pragma once
// The noise assessment of one level column over the processing range, read
// record by record through positioned reads (many records at a time)
// and the export's decoder and columns: levels per clock interval, day-evening-night levels per assessment
// day, and noise events. Memory grows with the number of intervals, days and
// events, never with the number of records.

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <limits>
#include <string>
#include <vector>

#include "assessment/assessment_settings.h"
#include "assessment/energy_sum.h"
#include "assessment/noise_events.h"
#include "export/export_worker.h"

namespace sonvera {

inline constexpr double kNoLevel = std::numeric_limits<double>::quiet_NaN();

// Rows of a table are kept below a workbook sheet's 1 048 576 rows with its header.
inline constexpr std::size_t kMostTableRows = 1048575;

struct IntervalRow {
  std::int64_t start = 0;  // ms on the linear time scale
  LevelStats levels;       // of the used records
  std::uint64_t excluded = 0;
  std::uint64_t events = 0;  // events that start in it
  double coverage = 0;       // %: used records × step / length
  std::array<double, kMostPercentiles> percentiles{kNoLevel, kNoLevel, kNoLevel, kNoLevel, kNoLevel, kNoLevel};
  bool seen = false;    // records reached it, and it was left for another interval
  bool broken = false;  // records came back to it after that: its LN are left empty
};

// Energy and records of one period.
struct PeriodLevel {
  EnergySum energy;
  std::uint64_t count = 0;
  void add(double e) {
    energy.add(e);
    ++count;
  }
  void add(const PeriodLevel& other) {
    energy.add(other.energy);
    count += other.count;
  }
  double level() const { return levelOf(energy, count); }
};

enum Period : std::size_t { kDay, kEvening, kNight, kDayOfLdn, kNightOfLdn, kPeriodSlots };

struct DayRow {
  std::int64_t date = 0;  // ms of the day's midnight on the linear time scale
  std::array<PeriodLevel, kPeriodSlots> periods;
  // Figures, NaN where empty.
  double lday = kNoLevel, levening = kNoLevel, lnight = kNoLevel, lden = kNoLevel, ldn = kNoLevel;
  std::array<double, 3> coverage{0, 0, 0};  // % of day, evening, night
};

enum class AssessmentFailure {
  None,
  NoColumn,          // the job gives no column
  NotALevel,         // the column is not shown in dB
  TooManyIntervals,  // the range spans more intervals or days than a table holds
};

struct AssessmentResult {
  AssessmentSettings settings;
  AssessmentFailure failure = AssessmentFailure::None;
  bool stopped = false;
  std::string column;      // its name as the export writes it
  double stepSeconds = 1;  // the step each record stands for
  std::uint32_t firstRecord = 0, lastRecord = 0;  // of the range, from 0

  std::uint64_t recordsRead = 0;
  std::uint64_t used = 0;
  std::uint64_t excluded = 0;      // by the exclusion rule
  std::uint64_t overloaded = 0, underloaded = 0;  // of those, flagged so
  std::uint64_t withoutTime = 0;   // no valid time, or a record of another type
  std::uint64_t withoutValue = 0;  // the record carries no value for the column
  bool brokenIntervals = false;    // the clock went back into a finished interval

  std::deque<IntervalRow> intervals;  // from the first record's interval to the last one's
  IntervalRow whole;                   // the whole range
  std::deque<DayRow> days;
  DayRow wholeDays;

  std::vector<NoiseEvent> events;  // at most kMostTableRows
  std::uint64_t eventCount = 0;    // also those beyond the list
  std::uint64_t eventsTooShort = 0;
  double secondsAbove = 0;         // used records at or above the threshold × step

  // Every record of the range that was not used.
  std::uint64_t notUsed() const { return excluded + withoutTime + withoutValue; }
  bool succeeded() const { return failure == AssessmentFailure::None && !stopped; }
};

// Stamps as whole milliseconds on the time's linear scale (the same order and
// spacing as the stamps, across the whole calendar).
std::int64_t stampMilliseconds(const RecordTime& t);
RecordTime timeOfMilliseconds(double ms);

// Assesses the first column of the job's items over its range. Progress in
// whole percent, then -1 (also after a failure or a stop).
AssessmentResult assessNoise(const ExportJob& job, const AssessmentSettings& settings, const std::atomic<bool>& stop,
                             const ExportProgress& progress);

}  // namespace sonvera
