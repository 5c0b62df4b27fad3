#pragma once
// The commands of the export list: each acts on the list of the open file's
// device type and says what the list box shows afterwards.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "export/export_item.h"
#include "measurement/record_values.h"

namespace sonvera {

struct ExportListContext {
  ExportLists& lists;
  const DeviceCatalogue& catalogue;
  // The open file's decoding state; values.typeCode is the current device
  // type, 0 when no file is open.
  const RecordValues& values;
  const ChannelTables& channels;
  const DeviceDescription& description;
  // A Yes/No question; true for Yes.
  std::function<bool(const std::string&)> askYesNo;
  // The parameter selection dialog, opened on `initial` when given; nothing on cancel.
  std::function<std::optional<ExportItem>(const std::optional<ExportItem>& initial)> chooseItem;
};

// What list box 1033 shows: one line per item (empty for an item that cannot
// be named) and the selected line.
struct ExportListView {
  std::vector<std::string> lines;
  std::optional<std::size_t> selection;

  bool operator==(const ExportListView&) const = default;
};

// The list of a device type, created empty when the type has none.
std::vector<ExportItem>& listOf(ExportLists& lists, std::uint16_t deviceType);

// The lines of the current list, without a selection; empty without a device type.
ExportListView refreshLines(const ExportListContext& context);

// Each command returns the new view, or nothing when it changed nothing (the
// list box keeps its lines and selection). `selection` is the selected line.
std::optional<ExportListView> addItem(const ExportListContext& context);
std::optional<ExportListView> addAll(const ExportListContext& context);
std::optional<ExportListView> moveUp(const ExportListContext& context, std::optional<std::size_t> selection);
std::optional<ExportListView> moveDown(const ExportListContext& context, std::optional<std::size_t> selection);
std::optional<ExportListView> deleteItem(const ExportListContext& context, std::optional<std::size_t> selection);
std::optional<ExportListView> clearList(const ExportListContext& context);
std::optional<ExportListView> editItem(const ExportListContext& context, std::optional<std::size_t> selection);

}  // namespace sonvera
