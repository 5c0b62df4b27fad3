#pragma once
// Reads the records of a file in order, many at a time: one positioned read
// of up to about 1 MiB instead of one per record, for passes over a range.
// What each record holds is the same as readRecord gives.

#include <cstdint>
#include <span>
#include <vector>

#include "measurement/measurement_file.h"

namespace sonvera {

class RecordStream {
 public:
  // Records first .. first + count - 1 of the open file, as far as it has records.
  RecordStream(const MeasurementFile& file, std::uint32_t first, std::uint32_t count);
  // Records first .. last (from 0, inclusive) of an open handle, whatever its
  // record count says (a file that shrinks reads short).
  RecordStream(const platform::ReadOnlyFile& handle, std::uint64_t dataOffset, std::uint32_t recordSize,
               std::uint32_t first, std::uint32_t last);

  // The next record (recordSize bytes; zero past a short read), or an empty
  // span after the last.
  std::span<const std::uint8_t> next();
  // The next record into `buffer`, as readRecord gives it: the bytes read, and
  // after a short read the rest of `buffer` as it was; 0 also after the last.
  std::size_t next(std::span<std::uint8_t> buffer);

 private:
  // The block holding record nextIndex_ is read; false after the last.
  bool fill();

  const platform::ReadOnlyFile& handle_;
  std::uint64_t dataOffset_;
  std::uint32_t recordSize_;
  std::uint64_t nextIndex_;
  std::uint64_t end_;  // one past the last
  std::vector<std::uint8_t> block_;
  std::uint64_t blockFirst_ = 0;
  std::uint32_t blockCount_ = 0;
  std::size_t blockBytes_ = 0;  // read of the block
};

}  // namespace sonvera
