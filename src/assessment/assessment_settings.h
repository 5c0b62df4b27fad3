#pragma once
// How a noise assessment is worked out: the interval table's length, the
// hours that start day, evening and night with their penalties, the event
// threshold and its merging and minimum duration, which records are left out,
// and the percentile levels of the tables.

#include <array>
#include <cstdint>
#include <optional>

namespace sonvera {

// The interval lengths offered, in minutes (1440: a day from midnight).
inline constexpr std::array<std::uint32_t, 7> kIntervalMinutes{1, 5, 10, 15, 30, 60, 1440};

// At most this many percentile levels, as the statistics settings hold.
inline constexpr std::size_t kMostPercentiles = 6;

struct AssessmentSettings {
  std::uint32_t intervalMinutes = 60;
  // Hours of the clock at which the periods begin. An assessment day runs
  // from the day's start to the same hour next morning; the evening is empty
  // when it starts at the night's hour.
  int dayStart = 7, eveningStart = 19, nightStart = 23;
  double dayPenalty = 0, eveningPenalty = 5, nightPenalty = 10;  // dB, for Lden
  double threshold = 75;         // dB: a record at or above it is loud
  double gapSeconds = 5;         // loud runs closer than this are one event
  double minDurationSeconds = 0; // shorter events are dropped
  bool excludeOverload = true;
  bool excludeUnderload = false;
  // Ascending, distinct, 1 to 99; unused slots 0.
  std::array<int, kMostPercentiles> percentiles{10, 50, 90, 0, 0, 0};
  // The summary's logging step, when the file gives one; the assessment
  // checks it against the records' own spacing.
  std::optional<double> summaryStepSeconds;

  std::size_t percentileCount() const {
    std::size_t n = 0;
    while (n < percentiles.size() && percentiles[n] != 0) ++n;
    return n;
  }
};

// Period hours measured from the day's start: the evening begins
// `eveningOffset` hours and the night `nightOffset` hours after it.
struct PeriodHours {
  int eveningOffset = 12;
  int nightOffset = 16;
  int dayHours() const { return eveningOffset; }
  int eveningHours() const { return nightOffset - eveningOffset; }
  int nightHours() const { return 24 - nightOffset; }
};

// The period hours of three start hours, or nothing when they are not hours
// of the clock or do not follow each other as day, evening, night within one
// day (the day and the night must not be empty).
std::optional<PeriodHours> periodHours(int dayStart, int eveningStart, int nightStart);

}  // namespace sonvera
