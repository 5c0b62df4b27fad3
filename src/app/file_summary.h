#pragma once
// What the main dialog shows of an opened measurement file: model, serial,
// time span, record count, logging step, overload and underload, calibration.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "measurement/measurement_file.h"

namespace sonvera {

// The overload or underload of one channel as numbers (the texts give them
// rounded), for callers that compute with them.
struct LoadFigures {
  std::int32_t channel = 0;
  bool underload = false;
  std::uint32_t count = 0;        // records flagged
  double percent = 0;             // of all records
  std::uint32_t firstRecord = 0;  // the first flagged, from 1; 0 when none
  RecordTime firstTime;
};

struct FileSummary {
  std::string model;                // field 1001
  std::string vin;                  // 1002, "VIN: %05X"
  std::string span;                 // 1003
  std::string records;              // 1004, "%u записей"
  std::optional<std::string> step;  // 1005, written only when a step is known
  std::optional<double> stepSeconds;  // the same as a number (the text rounds it)
  bool over = false;                // 1006
  bool under = false;               // 1007
  std::string overloadSummary;      // 1039
  std::string overloadDetails;      // its tool tip
  std::string underloadSummary;     // 1040
  std::string underloadDetails;     // its tool tip
  // Every channel and kind whose flag the records carry, flagged or not.
  std::vector<LoadFigures> loads;
};

// The fields that follow from the open file alone: model, serial, span,
// count, step. `over` is taken from the state as the open left it.
FileSummary headlineSummary(const DeviceCatalogue& catalogue, const MeasurementFile& file);

// Reads every record once to count overloaded and underloaded records per
// channel; fills the four load texts and `under`. Decodes into the file's state
// (the first flagged record of each channel and kind), so callers decode the
// record they want afterwards.
void addLoadStatistics(const DeviceCatalogue& catalogue, MeasurementFile& file, FileSummary& summary);

// One line per channel of the calibration list.
std::vector<std::string> calibrationLines(const DeviceCatalogue& catalogue, const MeasurementFile& file);

// The 16-bit word at `offset` rounded down to even; 0 past the record.
std::uint16_t recordWord(std::span<const std::uint8_t> record, std::int32_t offset);

// The message of a failed open.
const char* openFailureText(OpenResult result);

// Byte position in a record of the overload (0x4013) or underload (0x4014)
// code of a channel, or -1.
std::int32_t loadFlagOffset(const DeviceDescription& description, bool underload, std::int32_t channel);

}  // namespace sonvera
