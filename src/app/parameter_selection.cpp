#include "app/parameter_selection.h"

#include "app/strings.h"
#include "base/printf_text.h"
#include "export/item_text.h"
#include "measurement/channel_names.h"

namespace sonvera {
namespace {

// A list position for a signed index, shifted past the "all" entry.
std::optional<std::size_t> positionFor(std::int32_t index, bool hasAllEntry) {
  const std::int64_t position = std::int64_t{index} + (hasAllEntry ? 1 : 0);
  if (position < 0) return std::nullopt;
  return static_cast<std::size_t>(position);
}

}  // namespace

void ChoiceList::select(std::optional<std::size_t> position) {
  selection = position && *position < entries.size() ? position : std::nullopt;
}

ParameterSelection::ParameterSelection(const DeviceCatalogue& catalogue, const RecordValues& values,
                                       const ChannelTables& channels, const DeviceDescription& description,
                                       const ExportItem& item)
    : catalogue_(catalogue),
      values_(values),
      channelTables_(channels),
      description_(description),
      extraTables_(catalogue.extraTables(values.typeCode)) {
  fillGroups();
  const std::optional<std::size_t> itemGroup = positionOf(item.group);
  if (itemGroup) groups_.select(itemGroup);
  fillParametersAndBands();
  fillChannels();
  if (!itemGroup) return;
  parameters_.select(positionFor(item.parameter, false));
  bands_.select(positionFor(item.band, bands_.hasAllEntry()));
  // "все каналы" of a file with more channels stands for the single channel
  // here, so that such an entry can still be confirmed.
  const bool allOnSingle = item.channel == -1 && !channels_.hasAllEntry();
  channels_.select(allOnSingle ? std::optional<std::size_t>{0} : positionFor(item.channel, channels_.hasAllEntry()));
}

void ParameterSelection::chooseGroup(std::optional<std::size_t> position) {
  groups_.select(position);
  fillParametersAndBands();
}

std::optional<ExportItem> ParameterSelection::accept() const {
  if (!parameters_.selection || !bands_.selection || !channels_.selection) return std::nullopt;
  ExportItem item;
  item.group = groups_.selection ? groupAt(*groups_.selection) : -1;
  item.parameter = static_cast<std::int32_t>(*parameters_.selection);
  item.band = static_cast<std::int32_t>(*bands_.selection) - (bands_.hasAllEntry() ? 1 : 0);
  item.channel = static_cast<std::int32_t>(*channels_.selection) - (channels_.hasAllEntry() ? 1 : 0);
  return item;
}

std::int32_t ParameterSelection::groupAt(std::size_t position) const {
  auto group = static_cast<std::int32_t>(position);
  if (!groupExists(0)) ++group;
  if (group >= 1 && !groupExists(1)) ++group;
  if (group >= 2 && !groupExists(2)) ++group;
  return group;
}

std::optional<std::size_t> ParameterSelection::positionOf(std::int32_t group) const {
  if (group < 0) return std::nullopt;
  if (group <= 2) {
    const auto g = static_cast<std::size_t>(group);
    if (!groupExists(g)) return std::nullopt;
    std::size_t before = 0;
    for (std::size_t k = 0; k < g; ++k) before += groupExists(k) ? 1 : 0;
    return before;
  }
  std::size_t banded = 0;
  for (std::size_t k = 0; k < 3; ++k) banded += groupExists(k) ? 1 : 0;
  const std::size_t position = static_cast<std::size_t>(group - 3) + banded;
  if (position >= groups_.entries.size()) return std::nullopt;
  return position;
}

void ParameterSelection::fillGroups() {
  groups_.entries.clear();
  for (std::size_t g = 0; g < 3; ++g)
    if (groupExists(g)) groups_.entries.push_back(description_.groupTitles[g]);
  for (const ExtraParameterTable* table : extraTables_) groups_.entries.push_back(table->name);
  groups_.select(0);
}

void ParameterSelection::fillParametersAndBands() {
  parameters_.entries.clear();
  bands_.entries.clear();
  firstParameter_ = 0;
  // Without a group (a file without value groups) both lists stay empty.
  if (groups_.selection) {
    const std::int32_t group = groupAt(*groups_.selection);
    if (group >= 3) {
      const auto k = static_cast<std::size_t>(group - 3);
      if (k < extraTables_.size()) {
        const ExtraParameterTable& table = *extraTables_[k];
        if (table.bandNames.size() > 1) bands_.entries.emplace_back(text(StringId::AllBands));
        parameters_.entries = table.parameterNames;
        bands_.entries.insert(bands_.entries.end(), table.bandNames.begin(), table.bandNames.end());
      }
    } else {
      const auto g = static_cast<std::size_t>(group);
      const std::int32_t count = description_.parameterCount[g];
      const std::int32_t bandCount = effectiveBandCount(values_, description_, group);
      firstParameter_ =
          firstCarriedParameter(group, count, bandCount, description_.channelCount, channelTables_);
      for (std::int32_t i = firstParameter_; i < count; ++i) {
        const auto named = description_.parameterNames.find(static_cast<std::uint32_t>(i));
        parameters_.entries.push_back(named != description_.parameterNames.end() ? named->second : "unknown");
      }
      // Files may have thousands of bands: room for them all at once.
      bands_.entries.reserve(static_cast<std::size_t>(std::max(bandCount, 0)) + 1);
      if (bandCount > 1) bands_.entries.emplace_back(text(StringId::AllBands));
      // A band without any name keeps its place with an empty entry.
      for (std::int32_t j = 0; j < bandCount; ++j)
        bands_.entries.push_back(
            bandedBandName(catalogue_, values_, description_, group, static_cast<std::uint32_t>(j))
                .value_or(std::string{}));
    }
  }
  parameters_.select(0);
  bands_.select(0);
}

void ParameterSelection::fillChannels() {
  channels_.entries.clear();
  channels_.enabled = description_.channelCount > 1;
  if (channels_.enabled) channels_.entries.emplace_back(text(StringId::AllChannels));
  for (std::int32_t c = 0; c < description_.channelCount; ++c)
    channels_.entries.push_back(
        printfText(text(StringId::ChannelNamed), channelName(catalogue_, values_, c).c_str()));
  channels_.select(0);
}

}  // namespace sonvera
