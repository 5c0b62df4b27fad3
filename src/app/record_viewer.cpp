#include "app/record_viewer.h"

#include <algorithm>

#include "export/item_text.h"
#include "measurement/channel_names.h"

namespace sonvera {
namespace {

// The type whose cells hold dates and times.
constexpr std::uint16_t kDateTimeType = 86;
constexpr ParameterCode kTextCode = 0xF0000000;

template <typename Table, typename Value>
Value cellOf(const Table& table, std::int32_t row, std::int32_t column, Value missing) {
  if (row < 0 || column < 0 || static_cast<std::size_t>(row) >= table.size()) return missing;
  const auto& cells = table[static_cast<std::size_t>(row)];
  return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)] : missing;
}

}  // namespace

std::vector<std::pair<std::int32_t, std::int32_t>> splitBands(std::int32_t bands) {
  std::vector<std::pair<std::int32_t, std::int32_t>> runs;
  if (bands <= 0) return runs;
  const std::int32_t tables = (bands + kMaxTableColumns - 1) / kMaxTableColumns;
  std::int32_t first = 0;
  for (std::int32_t t = 0; t < tables; ++t) {
    const std::int32_t columns = bands / tables + (t == 0 ? bands % tables : 0);
    runs.emplace_back(first, columns);
    first += columns;
  }
  return runs;
}

RecordViewer::RecordViewer(const DeviceCatalogue& catalogue, const RecordValues& values,
                           const ChannelTables& channels, const DeviceDescription& description)
    : catalogue_(catalogue),
      values_(values),
      channels_(channels),
      description_(description),
      extraTables_(catalogue.extraTables(values.typeCode)) {
  const std::int32_t channelCount = std::min<std::int32_t>(description.channelCount, kChannelSlots);
  for (std::int32_t c = 0; c < channelCount; ++c) {
    const ChannelValues& channel = channels[static_cast<std::size_t>(c)];
    references_[0].push_back(channel.reference > 0 ? channel.reference : description.defaultReference);
    for (std::size_t k = 0; k < 3; ++k) references_[k + 1].push_back(channel.extraReferences[k]);
    const std::string name = channelName(catalogue, values, c);
    channelEntries_.push_back(name.empty() ? " " : name);
  }

  std::vector<std::string> minimumWidths{"000.0E-00"};
  if (values.typeCode == kDateTimeType) minimumWidths.emplace_back("00:00:00 30/08/2000");
  for (std::int32_t g : {2, 0, 1}) {
    if (channels[0].values[static_cast<std::size_t>(g)].empty()) continue;
    const std::int32_t count = description.parameterCount[static_cast<std::size_t>(g)];
    const std::int32_t bands = effectiveBandCount(values, description, g);
    ViewerGroup group;
    group.group = g;
    group.title = description.groupColumnTitles[static_cast<std::size_t>(g)];
    for (std::int32_t i = firstCarriedParameter(g, count, bands, description.channelCount, channels); i < count; ++i) {
      group.parameters.push_back(i);
      const auto name = description.parameterNames.find(static_cast<std::uint32_t>(i));
      group.rowHeaders.push_back(name != description.parameterNames.end() ? name->second : std::string{});
    }
    group.bandHeaders.reserve(static_cast<std::size_t>(std::max(bands, 0)));  // thousands at times
    for (std::int32_t b = 0; b < bands; ++b)
      group.bandHeaders.push_back(
          bandedBandName(catalogue, values, description, g, static_cast<std::uint32_t>(b)).value_or(std::string{}));
    group.widthSamples = minimumWidths;
    if (!values.bandFrequencies[static_cast<std::size_t>(g)].empty()) group.widthSamples.emplace_back("999.999m");
    addGroup(std::move(group), bands);
  }
  for (std::size_t k = 0; k < extraTables_.size(); ++k) {
    const ExtraParameterTable& table = *extraTables_[k];
    ViewerGroup group;
    group.group = static_cast<std::int32_t>(3 + k);
    for (std::size_t p = 0; p < table.parameterNames.size(); ++p) group.parameters.push_back(static_cast<std::int32_t>(p));
    group.rowHeaders = table.parameterNames;
    group.bandHeaders = table.bandNames;
    group.widthSamples = minimumWidths;
    addGroup(std::move(group), static_cast<std::int32_t>(table.bandNames.size()));
  }
  fillExtraTables();
}

void RecordViewer::addGroup(ViewerGroup group, std::int32_t bands) {
  if (bands <= 0) return;  // nothing is drawn for a group without bands
  groups_.push_back(std::move(group));
  for (const auto& [first, columns] : splitBands(bands)) tables_.push_back({groups_.size() - 1, first, columns});
}

const ExtraParameterTable* RecordViewer::extraTable(std::int32_t group) const {
  const auto k = static_cast<std::size_t>(group - 3);
  return group >= 3 && k < extraTables_.size() ? extraTables_[k] : nullptr;
}

void RecordViewer::fillExtraTables() {
  extraValues_.clear();
  if (channelEntries_.empty()) return;
  const ChannelValues& channel = channels_[static_cast<std::size_t>(channel_)];
  for (const ViewerGroup& group : groups_) {
    const ExtraParameterTable* table = extraTable(group.group);
    if (table == nullptr) continue;
    auto& [values, formats] = extraValues_[group.group];
    for (std::size_t p = 0; p < table->codes.size(); ++p) {
      values.emplace_back();
      formats.emplace_back();
      for (std::size_t b = 0; b < table->codes[p].size(); ++b) {
        const auto found = channel.otherValues.find(table->codes[p][b] & 0x0FFFFFFF);
        values.back().push_back(found != channel.otherValues.end() ? found->second : 0.0);
        formats.back().push_back(cellOf(table->formats, static_cast<std::int32_t>(p), static_cast<std::int32_t>(b),
                                        kDefaultFormat));
      }
    }
  }
}

bool RecordViewer::chooseChannel(std::int32_t channel) {
  if (channel < 0 || static_cast<std::size_t>(channel) >= channelEntries_.size()) return false;
  channel_ = channel;
  fillExtraTables();
  return true;
}

std::vector<std::string> RecordViewer::parameterNameTexts() const {
  std::vector<std::string> texts;
  for (const auto& [index, name] : description_.parameterNames) texts.push_back(name);
  for (const ExtraParameterTable* table : extraTables_)
    texts.insert(texts.end(), table->parameterNames.begin(), table->parameterNames.end());
  return texts;
}

ViewerLayout RecordViewer::layout(std::int32_t headerWidth, std::int32_t rowHeight,
                                  const std::vector<std::int32_t>& cellWidths, std::int32_t listBottom) const {
  ViewerLayout result;
  const std::int32_t w = headerWidth, h = rowHeight;
  const std::int32_t x = w + 15;
  std::int32_t y = listBottom + 15 + h;
  for (const ViewerTable& table : tables_) {
    const ViewerGroup& group = groups_[table.groupIndex];
    const std::int32_t cw = table.groupIndex < cellWidths.size() ? cellWidths[table.groupIndex] : 40;
    const auto rows = static_cast<std::int32_t>(group.parameters.size());
    PlacedTable placed;
    placed.cellWidth = cw;
    placed.cellHeight = h;
    if (group.group <= 2 && !group.title.empty()) placed.title = PixelRect{x - w, y - h - 1, x, y};
    for (std::int32_t i = 0; i < rows; ++i) placed.rowHeaders.push_back({x - w, y + 1 + i * h, x, y + 2 + (i + 1) * h});
    for (std::int32_t j = 0; j < table.columns; ++j)
      placed.columnHeaders.push_back({x + 1 + j * cw, y - h - 1, x + 2 + (j + 1) * cw, y});
    placed.grid = {x, y, x + table.columns * cw + 2, y + rows * h + 2};
    result.contentWidth = std::max(result.contentWidth, x + table.columns * cw);
    result.contentHeight = y + rows * h;
    y += rows * h + 2 * h;
    result.tables.push_back(std::move(placed));
  }
  return result;
}

std::optional<RecordViewer::CellSource> RecordViewer::source(const ViewerTable& table, std::int32_t column,
                                                             std::int32_t row) const {
  const ViewerGroup& group = groups_[table.groupIndex];
  if (row < 0 || static_cast<std::size_t>(row) >= group.parameters.size()) return std::nullopt;
  CellSource cell{nullptr, nullptr, nullptr, nullptr, group.parameters[static_cast<std::size_t>(row)],
                  table.firstBand + column, NoValue};
  if (group.group >= 3) {
    // Extra values the record does not carry read as 0.
    const auto found = extraValues_.find(group.group);
    if (found == extraValues_.end()) return std::nullopt;
    cell.extraValues = &found->second.first;
    cell.extraFormats = &found->second.second;
    cell.missing = 0.0;
    return cell;
  }
  if (channelEntries_.empty()) return std::nullopt;
  const ChannelValues& channel = channels_[static_cast<std::size_t>(channel_)];
  cell.values = &channel.values[static_cast<std::size_t>(group.group)];
  cell.formats = &channel.formats[static_cast<std::size_t>(group.group)];
  return cell;
}

double RecordViewer::cellValue(const ViewerTable& table, std::int32_t column, std::int32_t row) const {
  const auto cell = source(table, column, row);
  if (!cell) return groups_[table.groupIndex].group >= 3 ? 0.0 : NoValue;
  return cell->extraValues ? cellOf(*cell->extraValues, cell->parameter, cell->band, cell->missing)
                           : cellOf(*cell->values, cell->parameter, cell->band, cell->missing);
}

DisplayFormat RecordViewer::cellFormat(const ViewerTable& table, std::int32_t column, std::int32_t row) const {
  const auto cell = source(table, column, row);
  if (!cell) return kDefaultFormat;
  return cell->extraFormats ? cellOf(*cell->extraFormats, cell->parameter, cell->band, DisplayFormat{kDefaultFormat})
                            : cellOf(*cell->formats, cell->parameter, cell->band, DisplayFormat{kDefaultFormat});
}

double RecordViewer::reference(std::int32_t kind) const {
  if (kind < 0 || kind > 3) return 1.0;
  const std::vector<double>& list = references_[static_cast<std::size_t>(kind)];
  return static_cast<std::size_t>(channel_) < list.size() ? list[static_cast<std::size_t>(channel_)] : 1.0;
}

std::string RecordViewer::cellText(const ViewerTable& table, std::int32_t column, std::int32_t row) const {
  const ViewerGroup& group = groups_[table.groupIndex];
  if (const ExtraParameterTable* extra = extraTable(group.group); extra != nullptr && !channelEntries_.empty()) {
    const ParameterCode code = cellOf(extra->codes, row, table.firstBand + column, ParameterCode{0});
    if ((code & kTextCode) == kTextCode) {
      const auto& texts = channels_[static_cast<std::size_t>(channel_)].texts;
      if (const auto found = texts.find(code); found != texts.end()) return found->second;
    }
  }
  const DisplayFormat format = cellFormat(table, column, row);
  return formatValue(cellValue(table, column, row), format, linearUnits, extendedFormat,
                     reference(display_format::referenceKind(format)));
}

std::string RecordViewer::tableText(const ViewerTable& table) const {
  const ViewerGroup& group = groups_[table.groupIndex];
  TableHeaders headers;
  if (group.group <= 2 && !group.title.empty()) headers.corner = group.title;
  for (std::int32_t j = 0; j < table.columns; ++j) {
    const auto band = static_cast<std::size_t>(table.firstBand + j);
    headers.columns.push_back(band < group.bandHeaders.size() ? group.bandHeaders[band] : std::string{});
  }
  headers.rows = group.rowHeaders;
  return sonvera::tableText(table.columns, static_cast<std::int32_t>(group.parameters.size()), headers,
                            [&](std::int32_t column, std::int32_t row) {
                              return cellValue(table, column, row) == DashValue ? std::string{}
                                                                                : cellText(table, column, row);
                            });
}

std::string RecordViewer::allTablesText() const {
  std::string text;
  for (const ViewerTable& table : tables_) text += tableText(table) + "\n";
  return text;
}

std::string RecordViewer::selectionText(const ViewerTable& table, const GridSelection& selection) const {
  return sonvera::selectionText(selection,
                                [&](std::int32_t column, std::int32_t row) { return cellText(table, column, row); });
}

}  // namespace sonvera
