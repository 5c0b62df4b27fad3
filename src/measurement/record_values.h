#pragma once
// The decoding state of a measurement file: the instrument-level values of
// the current record and the per-channel tables. Plain values; copies are deep.

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "catalogue/parameter_code.h"

namespace sonvera {

// A value the record does not carry (an empty field in result files).
inline constexpr double NoValue = 1e-200;
// A value shown as "---".
inline constexpr double DashValue = 1e-222;

inline constexpr std::size_t kChannelSlots = 16;
inline constexpr std::size_t kHistogramSlots = 1024;
inline constexpr std::uint32_t kEmptyHistogramSlot = 0xFFFFFFFF;
inline constexpr std::uint32_t kDefaultFormat = 0xFFFF;

struct PercentileEntry {
  double value = 0.0;  // dB
  std::string name;    // "L10" once delivered

  bool operator==(const PercentileEntry&) const = default;
};

using Histogram = std::array<std::uint32_t, kHistogramSlots>;  // kEmptyHistogramSlot where none

constexpr Histogram emptyHistogram() {
  Histogram h{};
  h.fill(kEmptyHistogramSlot);
  return h;
}

inline constexpr Histogram kNoHistogram = emptyHistogram();

// A block's histogram, made when the first part of it arrives: most files
// carry none, and 4 KB for every block of every channel slot was most of
// what opening a file and copying its state for a worker touched.
// Reads as all empty until then; compares by its slots.
class BlockHistogram {
 public:
  BlockHistogram() = default;
  BlockHistogram(const BlockHistogram& other)
      : slots_(other.slots_ ? std::make_unique<Histogram>(*other.slots_) : nullptr) {}
  BlockHistogram& operator=(const BlockHistogram& other) {
    if (!other.slots_) slots_.reset();
    else if (slots_) *slots_ = *other.slots_;
    else slots_ = std::make_unique<Histogram>(*other.slots_);
    return *this;
  }
  BlockHistogram(BlockHistogram&&) noexcept = default;
  BlockHistogram& operator=(BlockHistogram&&) noexcept = default;

  static constexpr std::size_t size() { return kHistogramSlots; }
  const Histogram& all() const { return slots_ ? *slots_ : kNoHistogram; }
  std::uint32_t operator[](std::size_t slot) const { return all()[slot]; }
  auto begin() const { return all().begin(); }
  auto end() const { return all().end(); }
  // The slots to write, made all empty the first time.
  Histogram& writable() {
    if (!slots_) slots_ = std::make_unique<Histogram>(kNoHistogram);
    return *slots_;
  }

  bool operator==(const BlockHistogram& other) const { return all() == other.all(); }

 private:
  std::unique_ptr<Histogram> slots_;
};

struct StatisticsBlock {
  std::vector<PercentileEntry> entries;
  BlockHistogram histogram;

  bool operator==(const StatisticsBlock&) const = default;
};

// A [parameter][band] table: a view of `rows` x `columns` cells inside the
// block its ChannelTables owns (row after row), so that a state's tables are
// one allocation and copy with one copy. Comparison is by the cells.
template <typename T>
class TableView {
 public:
  std::size_t size() const { return rows_; }  // parameters
  bool empty() const { return rows_ == 0; }
  std::size_t columns() const { return columns_; }  // bands
  std::span<T> operator[](std::size_t row) { return {data_ + row * columns_, columns_}; }
  std::span<const T> operator[](std::size_t row) const { return {data_ + row * columns_, columns_}; }
  std::span<T> cells() { return {data_, rows_ * columns_}; }
  std::size_t offset() const { return offset_; }  // of the first cell in the block
  std::span<const T> cells() const { return {data_, rows_ * columns_}; }
  bool operator==(const TableView& other) const {
    return rows_ == other.rows_ && columns_ == other.columns_ &&
           std::equal(data_, data_ + rows_ * columns_, other.data_);
  }

  // For the owner of the block.
  void bind(T* data, std::size_t offset, std::size_t rows, std::size_t columns) {
    data_ = data + offset;
    offset_ = offset;
    rows_ = rows;
    columns_ = columns;
  }
  void rebind(T* data) { data_ = data + offset_; }

 private:
  T* data_ = nullptr;
  std::size_t offset_ = 0, rows_ = 0, columns_ = 0;
};

using ValueTable = TableView<double>;
using FormatTable = TableView<std::uint32_t>;

struct ChannelValues {
  std::array<ValueTable, 3> values;
  std::array<FormatTable, 3> formats;
  std::vector<StatisticsBlock> statistics;
  std::vector<std::vector<std::uint32_t>> percentileFormats;
  std::map<ParameterCode, double> otherValues;  // key: code with bits 28-31 cleared
  std::map<ParameterCode, std::string> texts;   // key: the whole code
  std::uint16_t overloadFlag = 0;
  std::uint16_t underloadFlag = 0;
  double correction = 0.0;   // dB
  double sensitivity = 0.0;  // linear
  double reference = 0.0;    // linear; not positive: use the description's default
  std::array<double, 3> extraReferences{0.0, 0.0, 0.0};
  std::string sensorName;
  std::string unitText;
  std::array<std::string, 3> channelTexts;

  bool operator==(const ChannelValues&) const = default;
};

// The per-channel state of all channel slots. The value and format tables of
// every slot lie in one block each, so copying the state (for a worker)
// copies each block at once.
class ChannelTables {
 public:
  // Rows and bands of each slot's table of each group.
  using Shape = std::array<std::array<std::pair<std::size_t, std::size_t>, 3>, kChannelSlots>;

  ChannelTables() = default;
  ChannelTables(const ChannelTables& other);
  ChannelTables& operator=(const ChannelTables& other);
  ChannelTables(ChannelTables&& other) noexcept;
  ChannelTables& operator=(ChannelTables&& other) noexcept;

  ChannelValues& operator[](std::size_t slot) { return channels_[slot]; }
  const ChannelValues& operator[](std::size_t slot) const { return channels_[slot]; }
  auto begin() { return channels_.begin(); }
  auto end() { return channels_.end(); }
  auto begin() const { return channels_.begin(); }
  auto end() const { return channels_.end(); }
  static constexpr std::size_t size() { return kChannelSlots; }

  const Shape& shape() const { return shape_; }
  // Value cells of all tables together.
  std::size_t cellCount() const { return values_.size(); }
  // The value cells of every table, table after table (TableView::offset).
  double* valueCells() { return values_.data(); }
  // Every table takes its shape, filled with NoValue and kDefaultFormat.
  void resetTables(const Shape& shape);
  // Back to the state of a new object, keeping the blocks' memory (the
  // tables' and the statistics blocks').
  void clear();

  bool operator==(const ChannelTables& other) const { return channels_ == other.channels_; }

 private:
  void bindTables();
  void rebindTables();

  std::array<ChannelValues, kChannelSlots> channels_;
  Shape shape_{};
  std::vector<double> values_;
  std::vector<std::uint32_t> formats_;
};

struct RecordValues {
  std::uint16_t modelCode = 0;
  std::uint16_t typeCode = 0;
  std::uint16_t date = 0;  // FAT date
  std::uint32_t time = 0;  // hour << 12 | minute << 6 | second
  std::string label;
  std::uint16_t aux0006 = 0;
  std::uint32_t vin = 0;
  std::uint32_t altSerial = 0;
  std::uint8_t charTable = 1;
  std::int32_t duration = -1;
  std::uint16_t modeWord = 0x3FFF;
  std::uint16_t aux4012 = 0xFFFE;
  std::uint16_t aux4010 = 0;
  std::array<std::vector<double>, 3> bandFrequencies;  // hertz
  std::uint32_t aux701D = 0;
  std::uint16_t aux2022 = 0;
  std::uint16_t markerFlag = 0;
  std::uint16_t channelKinds = 0xFFFF;  // 4-bit channel type index per channel
  std::uint32_t auxB034 = 0;
  std::array<std::vector<std::uint32_t>, 4> floatLists;  // raw IEEE single bits
  std::array<std::uint16_t, 3> bandCountOverride{0, 0, 0};
  std::array<std::uint16_t, 3> aux2036{0, 0, 0};
  std::uint16_t nextSequence = 0;
  std::uint32_t lostRecords = 0;
  std::uint32_t decodedCount = 0;
  std::uint32_t aux200E = 0;
  double aux800F = 0.0;
  double auxB039 = 0.0;
  std::uint16_t aux2030 = 0;
  float aux8031 = 0.0f;
  std::uint16_t unitIndexes = 0xFFFF;  // 4-bit unit index per channel
  std::uint16_t aux0028 = 0;
  float percentage = 0.0f;
  std::vector<std::uint16_t> rawWords;
  std::map<std::uint32_t, std::string> channelNames;
  std::array<std::map<std::uint32_t, std::string>, 3> bandNames;
  std::uint32_t aux703C = 0;
  std::array<std::uint32_t, 2> auxC03D{0, 0};

  bool operator==(const RecordValues&) const = default;
};

}  // namespace sonvera
