#include "assessment/logging_step.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "measurement/measurement_file.h"
#include "measurement/record_decoder.h"

namespace sonvera {
namespace {

constexpr std::uint32_t kSamples = 65;

}  // namespace

double loggingStep(const ExportJob& job, std::optional<double> summaryStepSeconds) {
  const bool summaryKnown = summaryStepSeconds && *summaryStepSeconds > 0;
  const double fallback = summaryKnown ? *summaryStepSeconds : 1.0;
  const std::uint32_t first = job.settings.firstRecord, last = job.settings.lastRecord;
  if (job.file == nullptr || last <= first || job.description.recordSize == 0) return fallback;

  RecordValues values = job.values;
  ChannelTables channels = job.channels;
  std::vector<std::uint8_t> record(job.description.recordSize, 0);
  const auto timeOf = [&](std::uint32_t u) -> std::optional<double> {
    readRecord(*job.file, job.dataOffset, job.description.recordSize, u, record);
    if (!hasSameType(record, values, job.description)) return std::nullopt;
    decodeRecord(record, channels, values, job.description);
    const RecordTime t = recordTime(values);
    if (!t.valid()) return std::nullopt;
    return t.linear() * kSecondsPerDay;
  };
  std::array<double, kSamples> spacings{};
  std::size_t n = 0;
  const std::uint64_t pairs = std::uint64_t{last} - first;  // neighbouring pairs in the range
  for (std::uint32_t k = 0; k < kSamples && k < pairs; ++k) {
    const auto u = static_cast<std::uint32_t>(first + pairs * k / std::min<std::uint64_t>(kSamples, pairs));
    const auto a = timeOf(u), b = timeOf(u + 1);
    if (a && b && *b > *a) spacings[n++] = *b - *a;
  }
  if (n == 0) return fallback;
  std::nth_element(spacings.begin(), spacings.begin() + n / 2, spacings.begin() + n);
  // Stamps are day numbers: a whole second reads a few microseconds off.
  const double median = std::round(spacings[n / 2] * 1000.0) / 1000.0;
  if (median <= 0) return fallback;
  if (!summaryKnown) return median;
  // Well below the mean: the mean spans a gap. (Whole-second stamps of
  // sub-second steps sample as 1 s, above the mean, and leave it.)
  return median < 0.9 * *summaryStepSeconds ? median : *summaryStepSeconds;
}

}  // namespace sonvera
