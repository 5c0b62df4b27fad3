#include "assessment/noise_assessment.h"

#include <algorithm>
#include <cmath>

#include "assessment/level_histogram.h"
#include "assessment/logging_step.h"
#include "export/export_columns.h"
#include "export/record_walk.h"
#include "export/format_value.h"

namespace sonvera {
namespace {

constexpr std::int64_t kHourMs = 3600000;
constexpr std::int64_t kDayMs = 24 * kHourMs;
// Ldn's periods are fixed: day 07-22, night 22-07 (+10 dB).
constexpr std::int64_t kLdnDayStart = 7 * kHourMs;
constexpr std::int64_t kLdnDayHours = 15;
constexpr double kLdnNightPenalty = 10;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Rows of a table indexed by a whole number (an interval or a day), from the
// lowest index reached to the highest, the ones between included.
template <typename Row>
class DenseRows {
 public:
  DenseRows(std::deque<Row>& rows, std::int64_t length) : rows_(rows), length_(length) {}

  // The row of index k, made with the rows between; null when the table
  // would pass its limit.
  Row* at(std::int64_t k) {
    if (rows_.empty()) {
      first_ = k;
      rows_.emplace_back();
      rows_.back().*startField() = k * length_;
    }
    const std::int64_t last = first_ + static_cast<std::int64_t>(rows_.size()) - 1;
    const std::int64_t low = std::min(first_, k), high = std::max(last, k);
    if (high - low >= static_cast<std::int64_t>(kMostTableRows)) return nullptr;
    for (; first_ > k; --first_) {
      rows_.emplace_front();
      rows_.front().*startField() = (first_ - 1) * length_;
    }
    for (std::int64_t next = last + 1; next <= k; ++next) {
      rows_.emplace_back();
      rows_.back().*startField() = next * length_;
    }
    return &rows_[static_cast<std::size_t>(k - first_)];
  }
  // The row of index k when it exists.
  Row* find(std::int64_t k) {
    if (rows_.empty() || k < first_ || k - first_ >= static_cast<std::int64_t>(rows_.size())) return nullptr;
    return &rows_[static_cast<std::size_t>(k - first_)];
  }

 private:
  static constexpr auto startField() {
    if constexpr (std::is_same_v<Row, DayRow>)
      return &DayRow::date;
    else
      return &IntervalRow::start;
  }
  std::deque<Row>& rows_;
  std::int64_t length_;
  std::int64_t first_ = 0;
};

// Intervals with the LN of the one the records are in.
class IntervalTable {
 public:
  IntervalTable(std::deque<IntervalRow>& rows, std::int64_t length, std::span<const int> percents)
      : rows_(rows, length), length_(length), percents_(percents) {}

  // The interval of stamp t, the one before it finished when t leaves it.
  IntervalRow* rowOf(std::int64_t t) {
    const std::int64_t k = floorDiv(t, length_);
    if (current_ && k == index_) return current_;
    finishCurrent();
    current_ = rows_.at(k);
    index_ = k;
    if (current_ && current_->seen) current_->broken = true;
    return current_;
  }
  // The interval of stamp t if records reached it, leaving the current one as it is.
  IntervalRow* existing(std::int64_t t) { return rows_.find(floorDiv(t, length_)); }
  void addUsed(IntervalRow& row, double level, double energy) {
    row.levels.add(level, energy);
    histogram_.add(level);
  }
  void finishCurrent() {
    if (!current_) return;
    current_->seen = true;
    if (current_->broken)
      current_->percentiles.fill(kNoLevel);
    else
      histogram_.percentiles(percents_, current_->percentiles);
    histogram_.clear();
    current_ = nullptr;
  }

 private:
  DenseRows<IntervalRow> rows_;
  std::int64_t length_;
  std::span<const int> percents_;
  LevelHistogram histogram_;
  IntervalRow* current_ = nullptr;
  std::int64_t index_ = 0;
};

double coveragePercent(std::uint64_t records, double stepSeconds, double spanSeconds) {
  return spanSeconds > 0 ? static_cast<double>(records) * stepSeconds / spanSeconds * 100.0 : 0.0;
}

// Lden of a day's (or the whole range's) periods; NaN unless every period
// that lasts has records.
double ldenOf(const DayRow& row, const PeriodHours& hours, const AssessmentSettings& s) {
  const PeriodLevel& d = row.periods[kDay];
  const PeriodLevel& e = row.periods[kEvening];
  const PeriodLevel& n = row.periods[kNight];
  if (d.count == 0 || n.count == 0 || (hours.eveningHours() > 0 && e.count == 0)) return kNoLevel;
  const auto term = [](const PeriodLevel& p, int h, double penalty) {
    return h == 0 ? 0.0 : h * p.energy.value() / static_cast<double>(p.count) * std::pow(10.0, penalty / 10.0);
  };
  const double sum = term(d, hours.dayHours(), s.dayPenalty) + term(e, hours.eveningHours(), s.eveningPenalty) +
                     term(n, hours.nightHours(), s.nightPenalty);
  return 10.0 * std::log10(sum / 24.0);
}

double ldnOf(const DayRow& row) {
  const PeriodLevel& d = row.periods[kDayOfLdn];
  const PeriodLevel& n = row.periods[kNightOfLdn];
  if (d.count == 0 || n.count == 0) return kNoLevel;
  const double sum = kLdnDayHours * d.energy.value() / static_cast<double>(d.count) +
                     (24 - kLdnDayHours) * n.energy.value() / static_cast<double>(n.count) *
                         std::pow(10.0, kLdnNightPenalty / 10.0);
  return 10.0 * std::log10(sum / 24.0);
}

// The figures of a day row over `days` assessment days.
void finishDay(DayRow& row, const PeriodHours& hours, const AssessmentSettings& s, double step, double days) {
  row.lday = row.periods[kDay].level();
  row.levening = row.periods[kEvening].level();
  row.lnight = row.periods[kNight].level();
  row.lden = ldenOf(row, hours, s);
  row.ldn = ldnOf(row);
  const std::array<int, 3> h{hours.dayHours(), hours.eveningHours(), hours.nightHours()};
  for (std::size_t p = 0; p < 3; ++p) row.coverage[p] = coveragePercent(row.periods[p].count, step, h[p] * 3600.0 * days);
}

}  // namespace

std::int64_t stampMilliseconds(const RecordTime& t) { return std::llround(t.linear() * static_cast<double>(kDayMs)); }

RecordTime timeOfMilliseconds(double ms) { return RecordTime::fromLinear(ms / static_cast<double>(kDayMs)); }

AssessmentResult assessNoise(const ExportJob& job, const AssessmentSettings& settings, const std::atomic<bool>& stop,
                             const ExportProgress& progress) {
  AssessmentResult r;
  r.settings = settings;
  r.firstRecord = job.settings.firstRecord;
  r.lastRecord = job.settings.lastRecord;
  // Every return ends here: the result moves out rather than being copied.
  const auto finish = [&] {
    if (progress) progress(-1);
    return std::move(r);
  };
  if (job.catalogue == nullptr || job.file == nullptr || job.settings.lastRecord < job.settings.firstRecord) {
    r.failure = AssessmentFailure::NoColumn;
    return finish();
  }
  const auto hours = periodHours(settings.dayStart, settings.eveningStart, settings.nightStart).value_or(PeriodHours{});

  // The column in dB whatever the export's units, read by a walk over the
  // range with its own decoding state.
  ExportJob inDecibels = job;
  inDecibels.settings.linearUnits = 0;
  RecordWalk walk(inDecibels);
  if (walk.columns().empty()) {
    r.failure = AssessmentFailure::NoColumn;
    return finish();
  }
  const ExportColumn& column = walk.columns().front();
  r.column = column.name;
  if (!displaysLevel(column.format, false)) {
    r.failure = AssessmentFailure::NotALevel;
    return finish();
  }
  const ChannelValues* flags = walk.channelOf(0);
  r.stepSeconds = loggingStep(job, settings.summaryStepSeconds);
  const double step = r.stepSeconds;

  const std::span<const int> percents(settings.percentiles.data(), settings.percentileCount());
  const std::int64_t intervalMs = std::int64_t{settings.intervalMinutes == 0 ? 60 : settings.intervalMinutes} * 60000;
  IntervalTable intervals(r.intervals, intervalMs, percents);
  LevelHistogram wholeHistogram;
  DenseRows<DayRow> days(r.days, kDayMs);
  const std::int64_t dayStart = std::int64_t{settings.dayStart} * kHourMs;
  const std::int64_t eveningFrom = std::int64_t{hours.eveningOffset} * kHourMs;
  const std::int64_t nightFrom = std::int64_t{hours.nightOffset} * kHourMs;

  EventFinder events({settings.threshold, settings.gapSeconds, settings.minDurationSeconds, step},
                     [&](const NoiseEvent& e) {
                       ++r.eventCount;
                       if (IntervalRow* row = intervals.existing(e.start)) ++row->events;
                       if (r.events.size() < kMostTableRows) r.events.push_back(e);
                     });

  const std::uint64_t total = std::uint64_t{job.settings.lastRecord} - job.settings.firstRecord + 1;
  std::uint32_t lastProgress = 0;
  while (walk.next()) {
    if (stop.load(std::memory_order_relaxed)) {
      r.stopped = true;
      break;
    }
    ++r.recordsRead;
    const auto p = static_cast<std::uint32_t>(static_cast<double>(r.recordsRead) * 100.0 / static_cast<double>(total));
    if (p != lastProgress && progress) progress(static_cast<std::int32_t>(p));
    lastProgress = p;

    // A record of another type is not decoded: it has no time of its own.
    const RecordTime time = walk.time();
    if (!walk.decoded() || !time.valid()) {
      ++r.withoutTime;
      continue;
    }
    const double level = walk.value(0);
    if (!std::isfinite(level)) {
      ++r.withoutValue;
      continue;
    }
    const std::int64_t t = stampMilliseconds(time);
    IntervalRow* row = intervals.rowOf(t);
    // Intervals come first in the table's extent; days need a row as well.
    const std::int64_t day = floorDiv(t - dayStart, kDayMs);
    const std::int64_t sinceDayStart = t - dayStart - day * kDayMs;
    const std::int64_t ldnDay = floorDiv(t - kLdnDayStart, kDayMs);
    DayRow* dayRow = row ? days.at(day) : nullptr;
    DayRow* ldnRow = dayRow ? days.at(ldnDay) : nullptr;
    if (!ldnRow) {
      r.failure = AssessmentFailure::TooManyIntervals;
      break;
    }
    const bool over = flags && flags->overloadFlag != 0;
    const bool under = flags && flags->underloadFlag != 0;
    r.overloaded += over ? 1 : 0;
    r.underloaded += under ? 1 : 0;
    if ((over && settings.excludeOverload) || (under && settings.excludeUnderload)) {
      ++r.excluded;
      ++row->excluded;
      ++r.whole.excluded;
      continue;
    }

    ++r.used;
    const double energy = energyOf(level);
    intervals.addUsed(*row, level, energy);
    r.whole.levels.add(level, energy);
    wholeHistogram.add(level);
    const Period period = sinceDayStart < eveningFrom ? kDay : sinceDayStart < nightFrom ? kEvening : kNight;
    dayRow->periods[period].add(energy);
    r.wholeDays.periods[period].add(energy);
    const Period ldnPeriod = t - kLdnDayStart - ldnDay * kDayMs < kLdnDayHours * kHourMs ? kDayOfLdn : kNightOfLdn;
    ldnRow->periods[ldnPeriod].add(energy);
    r.wholeDays.periods[ldnPeriod].add(energy);
    events.add(t, level, energy);
  }
  events.finish();
  intervals.finishCurrent();
  r.eventsTooShort = events.tooShort();
  r.secondsAbove = static_cast<double>(events.loudRecords()) * step;

  // The figures of every row.
  for (IntervalRow& row : r.intervals) {
    row.coverage = coveragePercent(row.levels.count, step, static_cast<double>(intervalMs) / 1000.0);
    r.brokenIntervals = r.brokenIntervals || row.broken;
  }
  r.whole.coverage = coveragePercent(r.used, step, static_cast<double>(intervalMs) / 1000.0 * static_cast<double>(r.intervals.size()));
  r.whole.events = r.eventCount;
  wholeHistogram.percentiles(percents, r.whole.percentiles);
  for (DayRow& row : r.days) finishDay(row, hours, settings, step, 1);
  finishDay(r.wholeDays, hours, settings, step, static_cast<double>(r.days.size()));
  return finish();
}

}  // namespace sonvera
