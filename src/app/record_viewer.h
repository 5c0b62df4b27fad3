#pragma once
// The last-record viewer without a window: the channel list, the reference
// values, the tables of each value group (bands split into tables of at most
// 15 columns), the text of every cell, where each table and header goes, and
// the texts copied to the clipboard.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/grid_selection.h"
#include "catalogue/device_catalogue.h"
#include "export/format_value.h"
#include "measurement/record_values.h"

namespace sonvera {

inline constexpr std::int32_t kMaxTableColumns = 15;

// The bands of a group split into tables: (first band, columns) each; the
// first table takes the remainder.
std::vector<std::pair<std::int32_t, std::int32_t>> splitBands(std::int32_t bands);

// One table of a group: every row of the group, a run of its bands.
struct ViewerTable {
  std::size_t groupIndex = 0;  // into RecordViewer::groups()
  std::int32_t firstBand = 0;
  std::int32_t columns = 0;
};

struct ViewerGroup {
  std::int32_t group = 0;                   // 0 to 2 banded, 3 and above extra
  std::string title;                        // the column title of a banded group, or empty
  std::vector<std::int32_t> parameters;     // the parameter index of each row
  std::vector<std::string> rowHeaders;
  std::vector<std::string> bandHeaders;     // one per band of the group
  // Texts whose width each column must at least have.
  std::vector<std::string> widthSamples;
};

// Pixel rectangles of the laid-out tables.
struct PixelRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const PixelRect&) const = default;
};
struct PlacedTable {
  std::optional<PixelRect> title;
  std::vector<PixelRect> rowHeaders, columnHeaders;
  PixelRect grid;
  std::int32_t cellWidth = 0, cellHeight = 0;
};
struct ViewerLayout {
  std::vector<PlacedTable> tables;  // in the order of RecordViewer::tables()
  std::int32_t contentWidth = 0, contentHeight = 0;
};

class RecordViewer {
 public:
  RecordViewer(const DeviceCatalogue& catalogue, const RecordValues& values, const ChannelTables& channels,
               const DeviceDescription& description);

  // List 1009: a name per channel (a single space for an empty name).
  const std::vector<std::string>& channelEntries() const { return channelEntries_; }
  std::int32_t channel() const { return channel_; }
  // A channel outside the list changes nothing; false then.
  bool chooseChannel(std::int32_t channel);

  bool linearUnits = false;     // 1006
  bool extendedFormat = false;  // 1007

  const std::vector<ViewerGroup>& groups() const { return groups_; }
  const std::vector<ViewerTable>& tables() const { return tables_; }

  // The texts that set the width of the row headers: every parameter name.
  std::vector<std::string> parameterNameTexts() const;
  std::array<std::string, 3> groupColumnTitles() const { return description_.groupColumnTitles; }

  // Places the tables: `headerWidth` and `rowHeight` for every header and row,
  // a cell width per group, the list's bottom edge as the top of the content.
  ViewerLayout layout(std::int32_t headerWidth, std::int32_t rowHeight, const std::vector<std::int32_t>& cellWidths,
                      std::int32_t listBottom) const;

  // Cell (column, row) of a table for the current channel.
  double cellValue(const ViewerTable& table, std::int32_t column, std::int32_t row) const;
  DisplayFormat cellFormat(const ViewerTable& table, std::int32_t column, std::int32_t row) const;
  std::string cellText(const ViewerTable& table, std::int32_t column, std::int32_t row) const;
  // The reference value of a kind (0 to 3) for the current channel.
  double reference(std::int32_t kind) const;

  // The grid's whole-table text (a dash cell gives an empty field), and the
  // text of "В буфер обмена": every table's text followed by a line feed.
  std::string tableText(const ViewerTable& table) const;
  std::string allTablesText() const;
  std::string selectionText(const ViewerTable& table, const GridSelection& selection) const;

 private:
  void addGroup(ViewerGroup group, std::int32_t bands);
  void fillExtraTables();
  const ExtraParameterTable* extraTable(std::int32_t group) const;
  // Where a cell's value and format live for the current channel.
  // The extra groups' rows may differ in length, as their tables in the catalogue do.
  using ExtraValues = std::vector<std::vector<double>>;
  using ExtraFormats = std::vector<std::vector<std::uint32_t>>;
  struct CellSource {
    const ValueTable* values;    // a banded group's; or
    const FormatTable* formats;
    const ExtraValues* extraValues;  // an extra group's
    const ExtraFormats* extraFormats;
    std::int32_t parameter, band;
    double missing;  // the value of a cell past the table
  };
  std::optional<CellSource> source(const ViewerTable& table, std::int32_t column, std::int32_t row) const;

  const DeviceCatalogue& catalogue_;
  const RecordValues& values_;
  const ChannelTables& channels_;
  const DeviceDescription& description_;
  std::vector<const ExtraParameterTable*> extraTables_;
  std::vector<std::string> channelEntries_;
  std::array<std::vector<double>, 4> references_;  // [kind][channel]
  std::int32_t channel_ = 0;
  std::vector<ViewerGroup> groups_;
  std::vector<ViewerTable> tables_;
  // The current channel's values and formats of each extra group: [parameter][band].
  std::map<std::int32_t, std::pair<ExtraValues, ExtraFormats>> extraValues_;
};

}  // namespace sonvera
