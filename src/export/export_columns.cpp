#include "export/export_columns.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "export/item_text.h"
#include "measurement/channel_names.h"

namespace sonvera {
namespace {

using namespace display_format;

class ColumnBuilder {
 public:
  ColumnBuilder(const DeviceCatalogue& catalogue, std::uint16_t typeCode, const DeviceDescription& description,
                const RecordValues& values, const ChannelTables& channels, char separator)
      : catalogue_(catalogue),
        typeCode_(typeCode),
        description_(description),
        values_(values),
        channels_(channels),
        separator_(separator) {
    buildReferenceTable();
  }

  std::vector<ExportColumn> build(const std::vector<ExportItem>& items) {
    const std::vector<const ExtraParameterTable*> extras = catalogue_.extraTables(typeCode_);
    for (const ExportItem& item : items) {
      if (item.group >= 0 && item.group <= 2)
        appendBandedColumns(item);
      else if (item.group >= 3)
        appendExtraColumns(item, extras);
    }
    return std::move(columns_);
  }

 private:
  void buildReferenceTable();
  void appendBandedColumns(const ExportItem& item);
  void appendExtraColumns(const ExportItem& item, const std::vector<const ExtraParameterTable*>& extras);
  // `firstCarried`: of the item's group, for a banded item.
  void addColumn(const double* value, DisplayFormat format, std::int32_t channel, const ExportItem& item,
                 std::int32_t band, std::optional<std::int32_t> firstCarried);
  std::int32_t channelLimit() const;

  const DeviceCatalogue& catalogue_;
  std::uint16_t typeCode_;
  const DeviceDescription& description_;
  const RecordValues& values_;
  const ChannelTables& channels_;
  char separator_;
  std::array<std::array<double, kChannelSlots>, 4> references_{};  // [kind][channel]
  std::vector<ExportColumn> columns_;
};

std::int32_t ColumnBuilder::channelLimit() const {
  return std::clamp<std::int32_t>(description_.channelCount, 0, static_cast<std::int32_t>(kChannelSlots));
}

void ColumnBuilder::buildReferenceTable() {
  for (std::int32_t c = 0; c < channelLimit(); ++c) {
    const ChannelValues& ch = channels_[static_cast<std::size_t>(c)];
    const auto i = static_cast<std::size_t>(c);
    references_[0][i] = ch.reference > 0 ? ch.reference : description_.defaultReference;
    for (std::size_t k = 1; k < 4; ++k) references_[k][i] = ch.extraReferences[k - 1];
  }
}

void ColumnBuilder::addColumn(const double* value, DisplayFormat format, std::int32_t channel,
                             const ExportItem& item, std::int32_t band, std::optional<std::int32_t> firstCarried) {
  // 0xFFFF stands for the default level format in every respect.
  const DisplayFormat meaning = format == kDefault ? kDefaultLevel : format;
  ExportColumn& column = columns_.emplace_back();
  column.value = value;
  column.format = format;
  column.channel = channel;
  column.reference = references_[static_cast<std::size_t>(referenceKind(meaning))][static_cast<std::size_t>(channel)];
  column.isLevel = (meaning & kIsLevel) != 0;
  column.decimating = (meaning & kDecimates) != 0;
  const ExportItem cell{item.group, item.parameter, band, channel};
  column.name = columnSafe(
      itemText(catalogue_, values_, channels_, description_, typeCode_, cell, true, firstCarried).value_or(""),
      separator_);
}

// The channels or bands an item names: all below `count`, or the one it
// names when that lies below `count` (a negative one does not).
template <typename Each>
void forEachIndex(std::int32_t chosen, std::int32_t count, Each each) {
  if (chosen == -1) {
    for (std::int32_t i = 0; i < count; ++i) each(i);
  } else if (count > 0 && static_cast<std::uint32_t>(chosen) < static_cast<std::uint32_t>(count)) {
    each(chosen);
  }
}

void ColumnBuilder::appendBandedColumns(const ExportItem& item) {
  const auto g = static_cast<std::size_t>(item.group);
  const std::int32_t bands = effectiveBandCount(values_, description_, item.group);
  const std::int32_t first = firstCarriedParameter(item.group, description_.parameterCount[g], bands,
                                                   description_.channelCount, channels_);
  const std::int64_t row = std::int64_t{first} + item.parameter;
  if (row < 0 || row >= description_.parameterCount[g]) return;
  const auto r = static_cast<std::size_t>(row);
  forEachIndex(item.channel, channelLimit(), [&](std::int32_t c) {
    const ChannelValues& ch = channels_[static_cast<std::size_t>(c)];
    forEachIndex(item.band, bands, [&](std::int32_t band) {
      const auto b = static_cast<std::size_t>(band);
      // Cells the layout does not size (an override beyond its bands) do not exist.
      if (r >= ch.values[g].size() || b >= ch.values[g][r].size()) return;
      const bool formatted = r < ch.formats[g].size() && b < ch.formats[g][r].size();
      addColumn(&ch.values[g][r][b], formatted ? ch.formats[g][r][b] : kDefault, c, item, band, first);
    });
  });
}

void ColumnBuilder::appendExtraColumns(const ExportItem& item,
                                      const std::vector<const ExtraParameterTable*>& extras) {
  const auto e = static_cast<std::size_t>(item.group - 3);
  if (e >= extras.size()) return;
  const ExtraParameterTable& table = *extras[e];
  const auto p = static_cast<std::uint32_t>(item.parameter);
  if (p >= table.parameterNames.size()) return;
  const auto bands = static_cast<std::int32_t>(std::min<std::size_t>(table.bandNames.size(), std::numeric_limits<std::int32_t>::max()));
  forEachIndex(item.channel, channelLimit(), [&](std::int32_t c) {
    const ChannelValues& ch = channels_[static_cast<std::size_t>(c)];
    forEachIndex(item.band, bands, [&](std::int32_t band) {
      const auto b = static_cast<std::size_t>(band);
      if (p >= table.codes.size() || b >= table.codes[p].size()) return;
      // Only codes the last decoding found have a cell to refer to.
      const auto found = ch.otherValues.find(table.codes[p][b] & 0x0FFFFFFF);
      if (found == ch.otherValues.end()) return;
      const bool formatted = p < table.formats.size() && b < table.formats[p].size();
      addColumn(&found->second, formatted ? table.formats[p][b] : kDefault, c, item, band, std::nullopt);
    });
  });
}


}  // namespace

std::vector<ExportColumn> buildExportColumns(const DeviceCatalogue& catalogue, std::uint16_t typeCode,
                                             const DeviceDescription& description, const RecordValues& values,
                                             const ChannelTables& channels, const std::vector<ExportItem>& items,
                                             char separator) {
  return ColumnBuilder(catalogue, typeCode, description, values, channels, separator).build(items);
}

}  // namespace sonvera
