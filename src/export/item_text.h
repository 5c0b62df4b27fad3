#pragma once
// The text of an export item: the export list shows it, the export worker
// names its columns with it (with the header flag).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/device_catalogue.h"
#include "export/export_item.h"
#include "measurement/record_values.h"

namespace sonvera {

namespace item_text {
inline constexpr std::string_view kAllChannels = "все каналы";  // string 140
inline constexpr std::string_view kAllBands = "все полосы";     // string 141
inline constexpr const char* kChannelNamed = "Канал %s";        // string 138
}  // namespace item_text

// The smallest parameter of banded group `group` that carries a value in
// some band below `bandCount` on some of the first min(channelCount, 16)
// channels; `parameterCount` when none does. 0 for no parameters and for
// groups other than 0 to 2.
std::int32_t firstCarriedParameter(std::int32_t group, std::int32_t parameterCount, std::int32_t bandCount,
                                   std::int32_t channelCount, const ChannelTables& channels);

// The band count of banded group `group` as the file's records give it (low
// 12 bits of a non-zero override), otherwise the description's. 0 for other
// groups.
std::int32_t effectiveBandCount(const RecordValues& values, const DeviceDescription& description, int group);

// The name of band `band` of banded group `group`: its frequency, else the
// file's band name, else the catalogue's band name list. Nothing when none
// applies.
std::optional<std::string> bandedBandName(const DeviceCatalogue& catalogue, const RecordValues& values,
                                          const DeviceDescription& description, int group,
                                          std::uint32_t band);

// "group,parameter,band", preceded by "channel," on files with more than one
// channel. `headerNames` takes the groups' column titles. Nothing when any
// part cannot be named for this file. `firstCarried`: the group's
// firstCarriedParameter when the caller has it already (the export names
// every column of a state, and finding it may walk the whole table).
std::optional<std::string> itemText(const DeviceCatalogue& catalogue, const RecordValues& values,
                                    const ChannelTables& channels, const DeviceDescription& description,
                                    std::uint16_t typeCode, const ExportItem& item, bool headerNames,
                                    std::optional<std::int32_t> firstCarried = std::nullopt);

}  // namespace sonvera
