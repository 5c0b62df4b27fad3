#pragma once
// The records of a range in rising order, read a block at a time with
// positioned reads: one system call for many records instead of one each,
// for the passes that read every record of a long range. A record the file
// ends short of keeps the bytes of the record before it where nothing was
// read, as readRecord leaves its buffer.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/platform.h"

namespace sonvera {

class RecordBlocks {
 public:
  RecordBlocks(const platform::ReadOnlyFile& file, std::uint64_t dataOffset, std::uint32_t recordSize,
               std::uint32_t lastRecord, std::size_t blockBytes = std::size_t{1} << 16);

  // Record u (from 0, at most the last record, rising from call to call).
  std::span<const std::uint8_t> record(std::uint32_t u);

 private:
  void read(std::uint32_t first);

  const platform::ReadOnlyFile& file_;
  std::uint64_t dataOffset_;
  std::uint32_t recordSize_;
  std::uint32_t lastRecord_;
  std::uint32_t perBlock_;
  std::vector<std::uint8_t> block_;
  std::uint32_t first_ = 0, count_ = 0;  // the records the block holds
};

}  // namespace sonvera
