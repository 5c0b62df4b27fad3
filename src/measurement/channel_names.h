#pragma once
// Names and units of the channels of an open file, and the instrument model's
// name: what the file says of itself first, then the codes its records carry,
// then the catalogue's model entry.

#include <cstdint>
#include <string>

#include "catalogue/device_catalogue.h"
#include "measurement/record_values.h"

namespace sonvera {

// The texts of the 4-bit channel type index.
const char* channelTypeName(unsigned index);

std::string modelName(const DeviceCatalogue& catalogue, std::uint16_t modelCode);

std::string channelName(const DeviceCatalogue& catalogue, const RecordValues& values, std::int32_t channel);

std::string channelUnit(const DeviceCatalogue& catalogue, const RecordValues& values,
                        const ChannelTables& channels, std::int32_t channel);

}  // namespace sonvera
