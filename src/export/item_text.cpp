#include "export/item_text.h"

#include <algorithm>

#include "export/format_value.h"
#include "measurement/channel_names.h"

namespace sonvera {
namespace {

bool isBandedGroup(std::int32_t group) { return group >= 0 && group <= 2; }

// The table may be smaller than the counts say (an override can exceed the
// layout's bands): what lies outside it carries nothing.
bool carries(const ValueTable& table, std::size_t parameter, std::int32_t bandCount) {
  if (parameter >= table.size()) return false;
  const std::span<const double> row = table[parameter];
  const std::size_t bands = std::min(row.size(), static_cast<std::size_t>(std::max(bandCount, 0)));
  for (std::size_t j = 0; j < bands; ++j)
    if (row[j] != NoValue) return true;
  return false;
}

std::optional<std::string> groupText(const DeviceDescription& description,
                                     const std::vector<const ExtraParameterTable*>& extras,
                                     std::int32_t group, bool headerNames) {
  if (isBandedGroup(group)) {
    const auto g = static_cast<std::size_t>(group);
    if (description.bandCount[g] <= 0) return std::nullopt;
    return headerNames ? description.groupColumnTitles[g] : description.groupTitles[g];
  }
  if (group < 3 || static_cast<std::size_t>(group - 3) >= extras.size()) return std::nullopt;
  return extras[static_cast<std::size_t>(group - 3)]->name;
}

// Unsigned index into a list: negative indexes are out of range.
template <typename List>
std::optional<std::string> entryAt(const List& list, std::int32_t index) {
  const auto i = static_cast<std::uint32_t>(index);
  if (i >= list.size()) return std::nullopt;
  return list[i];
}

}  // namespace

std::int32_t firstCarriedParameter(std::int32_t group, std::int32_t parameterCount, std::int32_t bandCount,
                                   std::int32_t channelCount, const ChannelTables& channels) {
  if (parameterCount <= 0 || !isBandedGroup(group)) return 0;
  const auto g = static_cast<std::size_t>(group);
  const std::size_t channelLimit =
      std::min(static_cast<std::size_t>(std::max(channelCount, 0)), channels.size());
  for (std::int32_t i = 0; i < parameterCount; ++i)
    for (std::size_t k = 0; k < channelLimit; ++k)
      if (carries(channels[k].values[g], static_cast<std::size_t>(i), bandCount)) return i;
  return parameterCount;
}

std::int32_t effectiveBandCount(const RecordValues& values, const DeviceDescription& description, int group) {
  if (!isBandedGroup(group)) return 0;
  const auto g = static_cast<std::size_t>(group);
  const std::uint16_t fromRecords = values.bandCountOverride[g];
  return fromRecords != 0 ? fromRecords & 0xFFF : description.bandCount[g];
}

std::optional<std::string> bandedBandName(const DeviceCatalogue& catalogue, const RecordValues& values,
                                          const DeviceDescription& description, int group,
                                          std::uint32_t band) {
  if (!isBandedGroup(group)) return std::nullopt;
  const auto g = static_cast<std::size_t>(group);
  if (band < values.bandFrequencies[g].size()) return formatFrequency(values.bandFrequencies[g][band]);
  const auto named = values.bandNames[g].find(band);
  if (named != values.bandNames[g].end()) return named->second;
  const std::uint64_t start = g == 2 ? description.bandNameStart2 : description.bandNameStart[g];
  const std::uint64_t step = g == 2 ? 1 : description.bandNameStep[g];
  const std::uint64_t index = start + std::uint64_t{band} * step;
  if (index >= catalogue.bandNames.size()) return std::nullopt;
  return catalogue.bandNames[static_cast<std::size_t>(index)];
}

std::optional<std::string> itemText(const DeviceCatalogue& catalogue, const RecordValues& values,
                                    const ChannelTables& channels, const DeviceDescription& description,
                                    std::uint16_t typeCode, const ExportItem& item, bool headerNames,
                                    std::optional<std::int32_t> firstCarried) {
  const std::vector<const ExtraParameterTable*> extras =
      isBandedGroup(item.group) ? std::vector<const ExtraParameterTable*>{} : catalogue.extraTables(typeCode);

  const std::optional<std::string> group = groupText(description, extras, item.group, headerNames);
  if (!group) return std::nullopt;

  std::optional<std::string> parameter;
  std::optional<std::string> band;
  if (isBandedGroup(item.group)) {
    const auto g = static_cast<std::size_t>(item.group);
    const std::int32_t bands = effectiveBandCount(values, description, item.group);
    const std::int32_t first =
        firstCarried ? *firstCarried
                     : firstCarriedParameter(item.group, description.parameterCount[g], bands, description.channelCount,
                                             channels);
    const std::uint32_t key = static_cast<std::uint32_t>(first) + static_cast<std::uint32_t>(item.parameter);
    const auto named = description.parameterNames.find(key);
    if (named != description.parameterNames.end()) parameter = named->second;
    if (item.band == -1)
      band = std::string(item_text::kAllBands);
    else if (static_cast<std::uint32_t>(item.band) < static_cast<std::uint32_t>(bands))
      band = bandedBandName(catalogue, values, description, item.group, static_cast<std::uint32_t>(item.band));
  } else {
    const ExtraParameterTable& table = *extras[static_cast<std::size_t>(item.group - 3)];
    parameter = entryAt(table.parameterNames, item.parameter);
    band = item.band == -1 ? std::string(item_text::kAllBands) : entryAt(table.bandNames, item.band);
  }
  if (!parameter || !band) return std::nullopt;

  std::string channel;
  if (item.channel == -1) {
    channel = item_text::kAllChannels;
  } else {
    if (static_cast<std::uint32_t>(item.channel) >= static_cast<std::uint32_t>(description.channelCount))
      return std::nullopt;
    channel = channelName(catalogue, values, item.channel);
  }

  std::string text;
  if (description.channelCount > 1) text = channel + ",";
  text += *group + "," + *parameter + "," + *band;
  return text;
}

}  // namespace sonvera
