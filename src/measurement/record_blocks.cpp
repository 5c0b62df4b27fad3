#include "measurement/record_blocks.h"

#include <algorithm>
#include <cstring>

namespace sonvera {

RecordBlocks::RecordBlocks(const platform::ReadOnlyFile& file, std::uint64_t dataOffset, std::uint32_t recordSize,
                           std::uint32_t lastRecord, std::size_t blockBytes)
    : file_(file),
      dataOffset_(dataOffset),
      recordSize_(recordSize),
      lastRecord_(lastRecord),
      perBlock_(static_cast<std::uint32_t>(std::max<std::size_t>(1, blockBytes / std::max<std::uint32_t>(recordSize, 1)))),
      block_(std::size_t{perBlock_} * recordSize, 0) {}

std::span<const std::uint8_t> RecordBlocks::record(std::uint32_t u) {
  if (recordSize_ == 0) return {};
  if (count_ == 0 || u < first_ || u - first_ >= count_) read(u);
  return {block_.data() + std::size_t{u - first_} * recordSize_, recordSize_};
}

void RecordBlocks::read(std::uint32_t first) {
  const std::uint32_t count = static_cast<std::uint32_t>(std::min<std::uint64_t>(perBlock_, std::uint64_t{lastRecord_} - first + 1));
  // The record before the new block's first one, for a record the file ends short of.
  if (count_ > 0) std::memmove(block_.data(), block_.data() + std::size_t{count_ - 1} * recordSize_, recordSize_);
  std::vector<std::uint8_t>& b = block_;
  const std::size_t bytes = std::size_t{count} * recordSize_;
  const std::uint64_t offset = dataOffset_ + std::uint64_t{first} * recordSize_;
  const std::size_t got = file_.readAt(offset, b.data(), bytes);
  // Where nothing was read, a record keeps the bytes of the one before it.
  for (std::size_t at = got; at < bytes; ++at) b[at] = at >= recordSize_ ? b[at - recordSize_] : b[at];
  first_ = first;
  count_ = count;
}

}  // namespace sonvera
