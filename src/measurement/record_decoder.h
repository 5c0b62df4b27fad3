#pragma once
// Turns the untagged bytes of one record into the decoding state, walking the
// record layout of the file's description once per record.

#include <cstdint>
#include <span>

#include "catalogue/device_catalogue.h"
#include "measurement/record_time.h"
#include "measurement/record_values.h"

namespace sonvera {

// Copies the catalogue's description of `typeCode` into `description` and
// sizes every table of the state from its layout. False (and the state reset
// and empty) when the catalogue has no description with a layout.
bool prepareDecoding(const DeviceCatalogue& catalogue, std::uint16_t typeCode, RecordValues& values,
                     ChannelTables& channels, DeviceDescription& description);

// Decodes one record into the state and returns the type code found in it:
// its type echo, or values.typeCode when the layout has none. Entries that do
// not fit in `record` store nothing.
std::uint16_t decodeRecord(std::span<const std::uint8_t> record, ChannelTables& channels,
                           RecordValues& values, const DeviceDescription& description);

// True when the record carries the file's type: its type-echo word (if the
// layout has one) equals values.typeCode.
bool hasSameType(std::span<const std::uint8_t> record, const RecordValues& values,
                 const DeviceDescription& description);

// Decodes the record unless its type echo names another type; a foreign record
// leaves the previous values in place.
void decodeIfSameType(std::span<const std::uint8_t> record, ChannelTables& channels,
                      RecordValues& values, const DeviceDescription& description);

// The time of the last decoded record.
RecordTime recordTime(const RecordValues& values);

// Bytes a layout entry takes in a record, as the decoder walks it.
std::uint32_t recordValueSize(ParameterCode code);

}  // namespace sonvera
