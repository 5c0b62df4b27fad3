#pragma once
// Paired-word measurement files with time stamps, load flags and calibration
// per channel, for the summary and dialog tests.

#include <cstdint>
#include <vector>

#include "catalogue/catalogue_source.h"
#include "measurement/record_time.h"

namespace sonvera::test {

inline constexpr std::uint16_t kSummaryType = 40;
inline constexpr std::uint16_t kSummaryModel = 9;

struct SummaryRecord {
  RecordTime time;  // an invalid one is written as an hour of 31
  std::vector<std::uint16_t> overload, underload;  // per channel
  std::uint16_t marker = 0;
  double level = 60;                               // of channel 0; channel c gets level + c
};

// Layout: type echo, model, serial, stamp, marker, then per channel a level
// (group 2, parameter 0, band 0), overload, underload and calibration values.
DeviceDescription summaryLayout(int channels);

// A catalogue that knows the type (and the model "Модель" with channels A to D).
CatalogueSource summaryCatalogueSource(int channels);
DeviceCatalogue summaryCatalogue(int channels);

std::vector<std::uint8_t> summaryFileBytes(int channels, const std::vector<SummaryRecord>& records);

// `count` records `stepSeconds` apart from 2023-09-01 10:00:00.
std::vector<SummaryRecord> steadyRecords(int count, int stepSeconds);

}  // namespace sonvera::test
