#pragma once
// The name and unit of a channel and the name of the instrument model: what
// the file says about itself first, then the codes its records carry, then
// the catalogue's entry for the model.

#include <cstdint>
#include <string>

#include "catalogue/device_catalogue.h"
#include "measurement/record_values.h"

namespace sonvera {

// The fixed names of the 4-bit channel type indexes.
const char* channelTypeName(std::uint32_t index);

// The catalogue model's display name; empty when the catalogue lacks it.
std::string modelName(const DeviceCatalogue& catalogue, std::uint16_t modelCode);

// From the header's channel names, the channel type word, the model.
std::string channelName(const DeviceCatalogue& catalogue, const RecordValues& values, std::int32_t channel);

// From the channel's calibration unit text, the unit word, the model.
std::string channelUnit(const DeviceCatalogue& catalogue, const RecordValues& values,
                        const ChannelTables& channels, std::int32_t channel);

}  // namespace sonvera
