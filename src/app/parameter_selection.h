#pragma once
// The parameter selection dialog without a window: four drop-down lists
// (value group, parameter, band, channel) built from the open file, and the
// export item they stand for.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "export/export_item.h"
#include "measurement/record_values.h"

namespace sonvera {

// The item the dialog opens on when an entry is added.
inline constexpr ExportItem kNewItem{0, 0, 0, 0};

// One drop-down list: its entries in the order added, the selected one.
struct ChoiceList {
  std::vector<std::string> entries;
  std::optional<std::size_t> selection;
  bool enabled = true;

  // A position outside the list leaves it without a selection.
  void select(std::optional<std::size_t> position);
  // More than one entry: position 0 is the "all" entry.
  bool hasAllEntry() const { return entries.size() > 1; }
};

class ParameterSelection {
 public:
  // The dialog as it opens on `item` (lists 1009 to 1012 filled and selected).
  ParameterSelection(const DeviceCatalogue& catalogue, const RecordValues& values, const ChannelTables& channels,
                     const DeviceDescription& description, const ExportItem& item = kNewItem);

  const ChoiceList& groups() const { return groups_; }          // 1009
  const ChoiceList& parameters() const { return parameters_; }  // 1010
  const ChoiceList& bands() const { return bands_; }            // 1011
  const ChoiceList& channels() const { return channels_; }      // 1012
  // The parameter index that position 0 of the parameter list stands for.
  std::int32_t firstParameter() const { return firstParameter_; }

  // The user's choices. A new group refills the parameter and band lists.
  void chooseGroup(std::optional<std::size_t> position);
  void chooseParameter(std::optional<std::size_t> position) { parameters_.select(position); }
  void chooseBand(std::optional<std::size_t> position) { bands_.select(position); }
  void chooseChannel(std::optional<std::size_t> position) { channels_.select(position); }

  // "Да": the chosen item; nothing (the dialog stays open) while the
  // parameter, band or channel list has no selection.
  std::optional<ExportItem> accept() const;

  // The value group of a group-list position, and the position of a group.
  std::int32_t groupAt(std::size_t position) const;
  std::optional<std::size_t> positionOf(std::int32_t group) const;

 private:
  void fillGroups();
  void fillParametersAndBands();
  void fillChannels();
  bool groupExists(std::size_t group) const { return description_.bandCount[group] > 0; }

  const DeviceCatalogue& catalogue_;
  const RecordValues& values_;
  const ChannelTables& channelTables_;
  const DeviceDescription& description_;
  std::vector<const ExtraParameterTable*> extraTables_;
  ChoiceList groups_, parameters_, bands_, channels_;
  std::int32_t firstParameter_ = 0;
};

}  // namespace sonvera
