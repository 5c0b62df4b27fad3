#include "measurement/record_stream.h"

#include <algorithm>
#include <cstring>

namespace sonvera {
namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

}  // namespace

RecordStream::RecordStream(const MeasurementFile& file, std::uint32_t first, std::uint32_t count)
    : file_(file), recordSize_(file.description.recordSize), nextIndex_(first),
      end_(std::min(file.recordCount, count > UINT32_MAX - first ? UINT32_MAX : first + count)) {}

std::span<const std::uint8_t> RecordStream::next() {
  if (recordSize_ == 0 || nextIndex_ >= end_) return {};
  if (nextIndex_ >= blockFirst_ + blockCount_ || nextIndex_ < blockFirst_) {
    const std::uint32_t perBlock = static_cast<std::uint32_t>(std::max<std::size_t>(1, kBlockBytes / recordSize_));
    blockFirst_ = nextIndex_;
    blockCount_ = std::min(perBlock, end_ - nextIndex_);
    block_.resize(std::size_t{blockCount_} * recordSize_);
    const std::uint64_t offset = file_.dataOffset + std::uint64_t{blockFirst_} * recordSize_;
    const std::size_t got = file_.handle.readAt(offset, block_.data(), block_.size());
    if (got < block_.size()) std::memset(block_.data() + got, 0, block_.size() - got);
  }
  const std::size_t at = std::size_t{nextIndex_ - blockFirst_} * recordSize_;
  ++nextIndex_;
  return std::span<const std::uint8_t>(block_.data() + at, recordSize_);
}

}  // namespace sonvera
