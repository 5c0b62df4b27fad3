#pragma once
// Sums of sound energies over many records. A year of one-second records is
// 31.5 million terms spanning many orders of magnitude; a plain double sum
// loses up to a few parts in 10^9 of it, the compensated (Neumaier) sum keeps
// it to the last bit for the cost of a few additions.

#include <cmath>
#include <cstdint>
#include <limits>

namespace sonvera {

class EnergySum {
 public:
  void add(double x) {
    const double t = sum_ + x;
    compensation_ += std::fabs(sum_) >= std::fabs(x) ? (sum_ - t) + x : (x - t) + sum_;
    sum_ = t;
  }
  void add(const EnergySum& other) {
    add(other.sum_);
    add(other.compensation_);
  }
  double value() const { return sum_ + compensation_; }

 private:
  double sum_ = 0;
  double compensation_ = 0;
};

// The energy 10^(L/10) of a level L in dB.
inline double energyOf(double level) { return std::pow(10.0, level / 10.0); }

// 10·lg of a mean energy; NaN without records.
inline double levelOf(const EnergySum& energy, std::uint64_t count) {
  if (count == 0) return std::numeric_limits<double>::quiet_NaN();
  return 10.0 * std::log10(energy.value() / static_cast<double>(count));
}

// Count, energy, maximum and minimum of the records of one span.
struct LevelStats {
  std::uint64_t count = 0;
  EnergySum energy;
  double maximum = -std::numeric_limits<double>::infinity();
  double minimum = std::numeric_limits<double>::infinity();

  void add(double level, double energyOfLevel) {
    ++count;
    energy.add(energyOfLevel);
    if (level > maximum) maximum = level;
    if (level < minimum) minimum = level;
  }
  double leq() const { return levelOf(energy, count); }
  double max() const { return count ? maximum : std::numeric_limits<double>::quiet_NaN(); }
  double min() const { return count ? minimum : std::numeric_limits<double>::quiet_NaN(); }
};

}  // namespace sonvera
