#include "measurement/record_values.h"

#include <utility>

namespace sonvera {

ChannelTables::ChannelTables(const ChannelTables& other)
    : channels_(other.channels_), shape_(other.shape_), values_(other.values_), formats_(other.formats_) {
  rebindTables();
}

ChannelTables& ChannelTables::operator=(const ChannelTables& other) {
  if (this != &other) {
    channels_ = other.channels_;
    shape_ = other.shape_;
    values_ = other.values_;
    formats_ = other.formats_;
    rebindTables();
  }
  return *this;
}

// A moved vector keeps its block, so the views stay right.
ChannelTables::ChannelTables(ChannelTables&& other) noexcept
    : channels_(std::move(other.channels_)), shape_(std::exchange(other.shape_, {})),
      values_(std::move(other.values_)), formats_(std::move(other.formats_)) {
  other.bindTables();
}

ChannelTables& ChannelTables::operator=(ChannelTables&& other) noexcept {
  if (this != &other) {
    channels_ = std::move(other.channels_);
    shape_ = std::exchange(other.shape_, {});
    values_ = std::move(other.values_);
    formats_ = std::move(other.formats_);
    rebindTables();
    other.values_.clear();
    other.formats_.clear();
    other.bindTables();
  }
  return *this;
}

void ChannelTables::bindTables() {
  std::size_t offset = 0;
  for (std::size_t c = 0; c < kChannelSlots; ++c)
    for (std::size_t g = 0; g < 3; ++g) {
      const auto [rows, bands] = shape_[c][g];
      channels_[c].values[g].bind(values_.data(), offset, rows, bands);
      channels_[c].formats[g].bind(formats_.data(), offset, rows, bands);
      offset += rows * bands;
    }
}

void ChannelTables::rebindTables() {
  for (ChannelValues& channel : channels_)
    for (std::size_t g = 0; g < 3; ++g) {
      channel.values[g].rebind(values_.data());
      channel.formats[g].rebind(formats_.data());
    }
}

void ChannelTables::resetTables(const Shape& shape) {
  std::size_t cells = 0;
  for (const auto& groups : shape)
    for (const auto& [rows, bands] : groups) cells += rows * bands;
  shape_ = shape;
  values_.assign(cells, NoValue);
  formats_.assign(cells, kDefaultFormat);
  bindTables();
}

void ChannelTables::clear() {
  for (ChannelValues& channel : channels_) {
    std::vector<StatisticsBlock> statistics = std::move(channel.statistics);
    std::vector<std::vector<std::uint32_t>> percentileFormats = std::move(channel.percentileFormats);
    statistics.clear();
    percentileFormats.clear();
    channel = ChannelValues{};
    channel.statistics = std::move(statistics);
    channel.percentileFormats = std::move(percentileFormats);
  }
  resetTables({});
}

}  // namespace sonvera
