#pragma once
// Turns the untagged bytes of one record into the decoding state, walking the
// record layout of the file's description once per record.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "measurement/record_time.h"
#include "measurement/record_values.h"

namespace sonvera {

// Copies the catalogue's description of `typeCode` into `description` and
// sizes every table of the state from its layout. False (and the state reset
// and empty) when the catalogue has no description with a layout.
// `shapeTables`, when given, sees the catalogue's description and the tables'
// shape it gives, and may change the shape before the tables are made (a
// file's header gives its own counts); format cells outside the catalogue's
// shape stay kDefaultFormat.
using ShapeTables = std::function<void(const DeviceDescription&, ChannelTables::Shape&)>;
bool prepareDecoding(const DeviceCatalogue& catalogue, std::uint16_t typeCode, RecordValues& values,
                     ChannelTables& channels, DeviceDescription& description,
                     const ShapeTables& shapeTables = {});

// One entry of a record layout as the decoder takes it.
struct DecodeStep {
  // Raw: a word kept in order; Cell: a banded value into its table cell;
  // Other: a banded value of no group, by its code; Mark: a banded value with
  // no cell, which still counts its channel; Special: every other code.
  enum Action : std::uint8_t { Raw, Cell, Other, Mark, Special };
  ParameterCode code = 0;
  std::uint32_t size = 0;  // bytes in the record
  Action action = Special;
  std::size_t cell = 0;    // of a Cell: its place among ChannelTables::valueCells()
};

// A percentile name as a record gives it: the code of its slot and its word.
struct PercentileNameWord {
  ParameterCode code = 0;
  std::uint16_t word = 0;
  bool operator==(const PercentileNameWord&) const = default;
};

// A description's layout worked out once against the shape of a state's
// tables, so that decoding a long range does not find each value's cell anew
// for every record. It serves the one state that it decodes record after
// record (a worker's or a walk's own copy), with nothing else changing that
// state's statistics in between: it remembers the percentile names it last
// wrote there, which every record repeats, so as not to write them again.
class DecodingPlan {
 public:
  DecodingPlan() = default;
  DecodingPlan(const DeviceDescription& description, const ChannelTables& channels);
  // Whether the plan was made for tables of this shape and this layout.
  bool fits(const ChannelTables& channels, const DeviceDescription& description) const;

 private:
  friend std::uint16_t decodeRecord(std::span<const std::uint8_t>, ChannelTables&, RecordValues&,
                                    const DeviceDescription&, DecodingPlan&);
  std::vector<DecodeStep> steps_;
  ChannelTables::Shape shape_{};
  std::size_t layoutSize_ = static_cast<std::size_t>(-1);
  std::vector<PercentileNameWord> lastNames_;  // as the last record wrote them, in order
  bool namesKnown_ = false;
};

// Decodes one record into the state and returns the type code found in it:
// its type echo, or values.typeCode when the layout has none. Entries that do
// not fit in `record` store nothing.
std::uint16_t decodeRecord(std::span<const std::uint8_t> record, ChannelTables& channels,
                           RecordValues& values, const DeviceDescription& description);
// The same through the state's plan (a plan that does not fit the state is
// not used: the record is decoded as above).
std::uint16_t decodeRecord(std::span<const std::uint8_t> record, ChannelTables& channels, RecordValues& values,
                           const DeviceDescription& description, DecodingPlan& plan);

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
