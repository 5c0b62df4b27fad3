#include "measurement/record_stream.h"

#include <algorithm>
#include <cstring>

namespace sonvera {
namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

}  // namespace

RecordStream::RecordStream(const MeasurementFile& file, std::uint32_t first, std::uint32_t count)
    : handle_(file.handle), dataOffset_(file.dataOffset), recordSize_(file.description.recordSize),
      nextIndex_(first), end_(std::min<std::uint64_t>(file.recordCount, std::uint64_t{first} + count)) {}

RecordStream::RecordStream(const platform::ReadOnlyFile& handle, std::uint64_t dataOffset, std::uint32_t recordSize,
                           std::uint32_t first, std::uint32_t last)
    : handle_(handle), dataOffset_(dataOffset), recordSize_(recordSize), nextIndex_(first),
      end_(std::uint64_t{last} + 1) {}

bool RecordStream::fill() {
  if (recordSize_ == 0 || nextIndex_ >= end_) return false;
  if (nextIndex_ >= blockFirst_ && nextIndex_ < blockFirst_ + blockCount_) return true;
  const auto perBlock = static_cast<std::uint32_t>(std::max<std::size_t>(1, kBlockBytes / recordSize_));
  blockFirst_ = nextIndex_;
  blockCount_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(perBlock, end_ - nextIndex_));
  block_.resize(std::size_t{blockCount_} * recordSize_);
  const std::uint64_t offset = dataOffset_ + blockFirst_ * recordSize_;
  // An offset that wraps reads nothing, as readRecord does.
  blockBytes_ = offset < dataOffset_ ? 0 : handle_.readAt(offset, block_.data(), block_.size());
  return true;
}

std::span<const std::uint8_t> RecordStream::next() {
  if (!fill()) return {};
  const std::size_t at = static_cast<std::size_t>(nextIndex_ - blockFirst_) * recordSize_;
  if (blockBytes_ < at + recordSize_) {  // zero what the read did not reach
    const std::size_t from = std::max(at, blockBytes_);
    std::memset(block_.data() + from, 0, at + recordSize_ - from);
  }
  ++nextIndex_;
  return std::span<const std::uint8_t>(block_.data() + at, recordSize_);
}

std::size_t RecordStream::next(std::span<std::uint8_t> buffer) {
  if (!fill()) return 0;
  const std::size_t at = static_cast<std::size_t>(nextIndex_ - blockFirst_) * recordSize_;
  ++nextIndex_;
  const std::size_t wanted = std::min<std::size_t>(buffer.size(), recordSize_);
  const std::size_t got = blockBytes_ > at ? std::min(wanted, blockBytes_ - at) : 0;
  std::memcpy(buffer.data(), block_.data() + at, got);
  return got;
}

}  // namespace sonvera
