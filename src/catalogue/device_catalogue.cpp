#include "catalogue/device_catalogue.h"

#include <algorithm>
#include <cstdint>

namespace sonvera {

void UnitTable::fill(bool russian) {
  static const char* const kRussian[11] = {"Па", "м/с2", "мВ", "EU",   "А/м", "В/м",
                                           "м/с", "м",    "мВ/с", "мВ*с", "Гц"};
  static const char* const kLatin[11] = {"Pa",  "m/s2", "mV",  "EU",   "A/m", "V/m",
                                         "m/s", "m",    "mV/s", "mV*s", "Hz"};
  for (std::size_t i = 0; i < texts.size(); ++i)
    texts[i] = i < 11 ? (russian ? kRussian[i] : kLatin[i]) : "no";
}

const DeviceDescription* DeviceCatalogue::findDescription(std::int32_t typeCode) const {
  const auto it = descriptions.find(typeCode);
  return it == descriptions.end() ? nullptr : &it->second;
}

const InstrumentModel* DeviceCatalogue::findModel(std::int32_t modelCode) const {
  const auto it = models.find(modelCode);
  return it == models.end() ? nullptr : &it->second;
}

std::vector<const ExtraParameterTable*> DeviceCatalogue::extraTables(std::uint32_t typeCode) const {
  std::vector<const ExtraParameterTable*> tables;
  for (auto it = extraTableMap.lower_bound(typeCode);
       it != extraTableMap.end() && it->first == typeCode; ++it)
    tables.push_back(&it->second);
  return tables;
}

std::optional<std::string> DeviceCatalogue::bandName(std::size_t index) const {
  if (index >= bandNames.size()) return std::nullopt;
  return bandNames[index];
}

void deriveCounts(DeviceDescription& d) {
  d.channelCount = 0;
  d.bandCount = {0, 0, 0};
  d.parameterCount = {0, 0, 0};
  d.perChannelLimit = 1;
  for (const ParameterCode c : d.layout) {
    const std::uint32_t kind = code::kind(c);
    if (kind == 0x00A || kind == 0x018) {
      d.perChannelLimit = std::max(d.perChannelLimit, static_cast<std::int32_t>(code::highByte(c)));
    } else if (code::isBanded(c)) {
      const std::uint32_t group = code::groupField(c);
      if (group < 1 || group > 3) continue;
      const std::size_t g = group - 1;
      const auto ch = static_cast<std::int32_t>(code::channel(c));
      const auto p = static_cast<std::int32_t>(code::parameter(c, d.wideBandIndex));
      const auto b = static_cast<std::int32_t>(code::band(c, d.wideBandIndex));
      d.channelCount = std::max(d.channelCount, ch + 1);
      d.bandCount[g] = std::max(d.bandCount[g], b + 1);
      d.parameterCount[g] = std::max(d.parameterCount[g], p + 1);
    }
  }
  if (d.channelCount > 1)
    d.perChannelLimit = 1;
  else if (d.perChannelLimit > 16)
    d.perChannelLimit = 16;
}

std::int32_t codeOffset(const DeviceDescription& d, ParameterCode wanted) {
  std::int64_t offset = 0;
  for (const ParameterCode c : d.layout) {
    if (c == wanted) return offset > INT32_MAX ? -1 : static_cast<std::int32_t>(offset);
    offset += code::byteSize(c);
  }
  return -1;
}

std::int32_t computeTypeEchoOffset(const DeviceDescription& d) { return codeOffset(d, code::kTypeEcho); }

}  // namespace sonvera
