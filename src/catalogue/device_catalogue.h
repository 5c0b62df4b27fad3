#pragma once
// The device catalogue: everything the program knows about instrument types
// and models, read once at start-up and read-only afterwards.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/parameter_code.h"

namespace sonvera {

// How one record of an instrument type is laid out, and what its groups and
// parameters are called. A value type: copies are deep.
struct DeviceDescription {
  std::vector<ParameterCode> layout;
  std::vector<std::uint32_t> formats;
  std::array<std::uint16_t, 2> bandNameStart{0, 0};
  std::array<std::uint16_t, 2> bandNameStep{3, 1};
  std::uint32_t bandNameStart2 = 0;  // group 2, whose step is always 1
  std::array<std::uint32_t, 3> reservedWords{0, 0, 0};
  std::uint32_t blockCount = 0;
  double reservedReal = 0.0;
  std::vector<std::uint32_t> reservedList;
  double defaultReference = 1.0;
  std::array<std::string, 3> groupTitles;
  std::array<std::string, 3> groupColumnTitles;
  std::map<std::uint32_t, std::string> parameterNames;
  std::uint32_t recordSize = 0;
  // Derived from the layout by deriveCounts().
  std::int32_t perChannelLimit = 0;
  std::int32_t channelCount = 0;
  std::array<std::int32_t, 3> bandCount{0, 0, 0};
  std::array<std::int32_t, 3> parameterCount{0, 0, 0};
  std::int32_t typeEchoOffset = -1;
  std::uint32_t wideBandIndex = 0;
  std::uint32_t reservedFlag = 0;

  // The format word of layout entry i; 0xFFFF (default format) past the list.
  std::uint32_t formatOf(std::size_t i) const { return i < formats.size() ? formats[i] : 0xFFFF; }

  bool operator==(const DeviceDescription&) const = default;
};

struct InstrumentModel {
  std::string name;
  std::array<std::string, 4> channelUnits;
  std::array<std::string, 4> channelNames;

  bool operator==(const InstrumentModel&) const = default;
};

// An extra value group of a type beyond the three banded groups.
struct ExtraParameterTable {
  std::string name;
  std::vector<std::string> bandNames;
  std::vector<std::string> parameterNames;
  std::vector<std::vector<ParameterCode>> codes;     // [parameter][band]
  std::vector<std::vector<std::uint32_t>> formats;   // [parameter][band]

  bool operator==(const ExtraParameterTable&) const = default;
};

using BandNameList = std::vector<std::string>;

// Unit names chosen by a 4-bit unit index.
struct UnitTable {
  std::array<std::string, 16> texts;

  void fill(bool russian);
  const std::string& operator[](std::size_t index) const { return texts[index & 0xF]; }
};

class DeviceCatalogue {
 public:
  std::map<std::int32_t, DeviceDescription> descriptions;
  std::map<std::int32_t, InstrumentModel> models;
  BandNameList bandNames;
  std::multimap<std::uint32_t, ExtraParameterTable> extraTableMap;
  UnitTable units;
  // The file it was read from; empty when it was built in memory.
  std::string sourcePath;
  // The languages of the models' text blocks, in the order the file has them
  // (also after a load that failed for want of the language asked for).
  std::vector<std::string> languages;

  const DeviceDescription* findDescription(std::int32_t typeCode) const;
  const InstrumentModel* findModel(std::int32_t modelCode) const;
  // The type's extra tables in file order; the k-th is value group 3 + k.
  std::vector<const ExtraParameterTable*> extraTables(std::uint32_t typeCode) const;
  std::optional<std::string> bandName(std::size_t index) const;
};

// Fills the derived counts of a description from its layout.
void deriveCounts(DeviceDescription& description);
// Byte offset in a record of the first layout entry equal to `code`, or -1.
std::int32_t codeOffset(const DeviceDescription& description, ParameterCode code);
// Byte offset of the type echo (code 0x201B0000) in a record, or -1.
std::int32_t computeTypeEchoOffset(const DeviceDescription& description);

}  // namespace sonvera
