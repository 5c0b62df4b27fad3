#pragma once
// Reads the records of a file in order, many at a time: one positioned read
// of up to about 1 MiB instead of one per record, for passes over a whole
// file. What each record holds is the same as readRecord gives.

#include <cstdint>
#include <span>
#include <vector>

#include "measurement/measurement_file.h"

namespace sonvera {

class RecordStream {
 public:
  // Records first .. first + count - 1 of the open file, as far as it has records.
  RecordStream(const MeasurementFile& file, std::uint32_t first, std::uint32_t count);

  // The next record (recordSize bytes; zero past a short read), or an empty
  // span after the last.
  std::span<const std::uint8_t> next();

 private:
  const MeasurementFile& file_;
  std::uint32_t recordSize_;
  std::uint32_t nextIndex_;
  std::uint32_t end_;
  std::vector<std::uint8_t> block_;
  std::uint32_t blockFirst_ = 0;
  std::uint32_t blockCount_ = 0;
};

}  // namespace sonvera
