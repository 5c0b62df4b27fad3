#pragma once
// Measurement files for the export tests: a paired-word layout with a time
// stamp, a marker flag and, per channel, a level and a linear value of the
// broadband group, plus one value of an extra group on channel 0.

#include <cstdint>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "measurement/record_time.h"

namespace sonvera::test {

inline constexpr std::uint16_t kExportType = 52;
inline constexpr std::uint16_t kExportModel = 7;
inline constexpr std::uint32_t kExportVin = 0x2ABCD;
inline constexpr std::uint32_t kLevelFormat = 0x00DF;   // dB, decimating, 2 decimals as written
inline constexpr std::uint32_t kLinearFormat = 0x101C;  // linear, decimating, "%.2f"
inline constexpr std::uint32_t kExtraFormat = 0xFFFF;   // the default level format

struct ExportRecord {
  RecordTime time;
  double level = 60;   // channel c gets level + c
  double linear = 1;   // channel c gets linear * (c + 1)
  double extra = 20;   // the extra group's value, channel 0
  std::uint16_t marker = 0;
  std::uint16_t typeEcho = kExportType;
};

// Group 2 ("Общ"/"Общие") has the parameters "Leq" (the level) and "Lin"
// (the linear value) with the one band "Полоса"; the extra group "Доп" has
// the parameter "Темп" with the band "x". The model "Модель" names the
// channels A to D with the units Па, м/с2, мВ, EU.
DeviceCatalogue exportCatalogue(int channels);

std::vector<std::uint8_t> exportFileBytes(int channels, const std::vector<ExportRecord>& records);

// `count` records `stepSeconds` apart from `start`, levels 60.
std::vector<ExportRecord> exportRecords(int count, int stepSeconds, const RecordTime& start);

}  // namespace sonvera::test
