#pragma once
// The settings file (*.cfg): export lists of all device types, the options of
// the main dialog, the statistics choices and the comment.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "export/export_item.h"
#include "export/statistics_settings.h"

namespace sonvera {

constexpr std::uint32_t kSettingsFileMagic = 0x7821F4A6;
constexpr std::uint32_t kSettingsFileVersion = 2;

// Every field of a settings file, as stored (flags are taken as they stand).
struct SettingsFileContents {
  ExportLists lists;
  std::uint32_t splitOn = 0;
  std::uint32_t splitPeriod = 0;   // 0: the field is empty
  std::uint32_t splitByRecords = 0;
  std::uint32_t decimationOn = 0;
  std::uint32_t decimationStep = 0;
  std::uint32_t decimationByRecords = 0;
  std::uint32_t averaging = 0;
  std::uint32_t maxima = 0;
  std::int32_t valueSeparator = 0;
  std::int32_t decimalSeparator = 0;
  std::int32_t shortNames = 0;
  std::int32_t linearUnits = 0;
  std::int32_t sourceInfo = 0;
  StatisticsSettings statistics;
  std::string comment;
  // Only in files of version 2 and later.
  std::optional<std::int32_t> recordNumber;
  std::optional<std::int32_t> recordTime;

  bool operator==(const SettingsFileContents&) const = default;
};

// The bytes of a version-2 file. Absent record-number and time fields are written as 0.
std::vector<std::uint8_t> encodeSettingsFile(const SettingsFileContents& contents);

// Parses a settings file; nothing when the magic or version is wrong or the
// data ends early or describes more than the file holds.
std::optional<SettingsFileContents> decodeSettingsFile(std::span<const std::uint8_t> bytes);

}  // namespace sonvera
