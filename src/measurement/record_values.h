#pragma once
// The decoding state of a measurement file: the instrument-level values of
// the current record and the per-channel tables. Plain values; copies are deep.

#include <array>
#include <cstdint>
#include <map>
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

struct StatisticsBlock {
  std::vector<PercentileEntry> entries;
  std::vector<std::uint32_t> histogram;  // kHistogramSlots, kEmptyHistogramSlot where none

  bool operator==(const StatisticsBlock&) const = default;
};

using ValueTable = std::vector<std::vector<double>>;          // [parameter][band]
using FormatTable = std::vector<std::vector<std::uint32_t>>;  // [parameter][band]

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

using ChannelTables = std::array<ChannelValues, kChannelSlots>;

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
