#include "assessment/noise_events.h"

#include <cmath>

namespace sonvera {
namespace {

// Stamps are whole milliseconds, a step may not be: half a millisecond is "no gap".
constexpr double kTouching = 0.5;

}  // namespace

EventFinder::EventFinder(const EventRules& rules, std::function<void(const NoiseEvent&)> found)
    : rules_(rules), stepMs_(rules.stepSeconds * 1000.0), gapMs_(rules.gapSeconds * 1000.0),
      found_(std::move(found)) {}

void EventFinder::add(std::int64_t time, double level, double energyOfLevel) {
  // A clock set back ends the event: it cannot run backwards in time.
  if (open_ && time < lastSeen_) close();
  lastSeen_ = time;
  const bool loud = level >= rules_.threshold;
  loudRecords_ += loud ? 1 : 0;
  if (open_) {
    // Silence from the end of the last loud record to this record's start.
    const double silence = static_cast<double>(time - lastLoud_) - stepMs_;
    const bool joins = silence <= kTouching || silence < gapMs_ - kTouching;
    if (!joins) {
      close();
    } else if (!loud) {
      pendingEnergy_.add(energyOfLevel);
      ++pendingRecords_;
      return;
    }
  }
  if (!loud) return;
  if (!open_) {
    open_ = true;
    event_ = NoiseEvent{};
    event_.start = time;
    event_.lmax = level;
    event_.lmaxTime = time;
    energy_ = EnergySum{};
  }
  // The quieter records of a merged gap belong to the event.
  energy_.add(pendingEnergy_);
  event_.records += pendingRecords_ + 1;
  energy_.add(energyOfLevel);
  pendingEnergy_ = EnergySum{};
  pendingRecords_ = 0;
  if (level > event_.lmax) {
    event_.lmax = level;
    event_.lmaxTime = time;
  }
  lastLoud_ = time;
}

void EventFinder::finish() {
  if (open_) close();
}

void EventFinder::close() {
  open_ = false;
  pendingEnergy_ = EnergySum{};
  pendingRecords_ = 0;
  event_.end = static_cast<double>(lastLoud_) + stepMs_;
  event_.durationSeconds = static_cast<double>(event_.records) * rules_.stepSeconds;
  event_.leq = levelOf(energy_, event_.records);
  event_.le = 10.0 * std::log10(energy_.value() * rules_.stepSeconds);
  if (event_.durationSeconds + 1e-9 < rules_.minDurationSeconds) {
    ++tooShort_;
    return;
  }
  found_(event_);
}

}  // namespace sonvera
