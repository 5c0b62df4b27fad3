#pragma once
// Noise events found record by record: a run of used records at or above the
// threshold, runs closer than the gap merged into one event (the quieter
// records between them belong to it), events shorter than the minimum
// duration dropped. Times are milliseconds on the record time's linear scale;
// each record stands for the logging step from its time stamp on.

#include <cstdint>
#include <functional>
#include <vector>

#include "assessment/energy_sum.h"

namespace sonvera {

struct NoiseEvent {
  std::int64_t start = 0;   // ms: the first record's stamp
  double end = 0;           // ms: the last loud record's stamp plus the step
  std::uint64_t records = 0;
  double durationSeconds = 0;  // records × step
  double lmax = 0;
  std::int64_t lmaxTime = 0;   // ms: the stamp of the first record at the maximum
  double leq = 0;
  double le = 0;               // 10·lg(Σ step·10^(L/10) / 1 s)
};

struct EventRules {
  double threshold = 75;
  double gapSeconds = 5;
  double minDurationSeconds = 0;
  double stepSeconds = 1;
};

class EventFinder {
 public:
  // `found` receives every event that is long enough, as it ends.
  EventFinder(const EventRules& rules, std::function<void(const NoiseEvent&)> found);

  // A used record, in record order.
  void add(std::int64_t time, double level, double energyOfLevel);
  // Ends an open event (at the end of the range).
  void finish();

  std::uint64_t loudRecords() const { return loudRecords_; }
  std::uint64_t tooShort() const { return tooShort_; }

 private:
  void close();

  EventRules rules_;
  double stepMs_, gapMs_;
  std::function<void(const NoiseEvent&)> found_;
  bool open_ = false;
  NoiseEvent event_;
  EnergySum energy_;
  std::int64_t lastLoud_ = 0;    // stamp of the event's last loud record
  std::int64_t lastSeen_ = 0;    // stamp of the last record added
  EnergySum pendingEnergy_;      // quieter records since the last loud one
  std::uint64_t pendingRecords_ = 0;
  std::uint64_t loudRecords_ = 0, tooShort_ = 0;
};

}  // namespace sonvera
