#pragma once
// Catalogues and decoding states for the measurement tests, built in code.

#include <cstdint>
#include <span>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "measurement/record_decoder.h"

namespace sonvera::test {

// A description with `layout`, default formats and, when `recordSize` is 0,
// the record size the layout takes.
DeviceDescription describe(std::vector<ParameterCode> layout, std::uint32_t recordSize = 0);

// Adds a type as the catalogue loader would (with its type-echo offset).
void addType(DeviceCatalogue& catalogue, std::uint16_t typeCode, DeviceDescription description);

// A catalogue with one model so that the naming operations find something.
DeviceCatalogue catalogueWithModel(std::uint16_t modelCode);

struct DecodingState {
  RecordValues values;
  ChannelTables channels;
  DeviceDescription description;

  bool prepare(const DeviceCatalogue& catalogue, std::uint16_t typeCode) {
    values.typeCode = typeCode;
    return prepareDecoding(catalogue, typeCode, values, channels, description);
  }
  std::uint16_t decode(std::span<const std::uint8_t> record) {
    return decodeRecord(record, channels, values, description);
  }
};

}  // namespace sonvera::test
