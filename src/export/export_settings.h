#pragma once
// The options of one export as the main dialog hands them over when the
// export starts: splitting, decimation, the text of the result files, the
// source of the information file, the range and the result path.

#include <cstdint>
#include <string>
#include <vector>

#include "export/text_encoding.h"

namespace sonvera {

struct ExportSettings {
  bool splitEnabled = false;
  std::uint32_t splitCount = 0;
  bool splitByRecords = false;       // off: every splitCount minutes
  bool decimationEnabled = false;
  std::uint32_t decimationCount = 0;
  bool decimationByRecords = false;  // off: every decimationCount seconds
  bool decimationAverage = false;
  bool decimationMaximum = false;    // wins over averaging
  std::int32_t valueSeparator = 0;   // 0 semicolon, 1 tab, other space
  std::int32_t decimalSeparator = 0; // 0 point, 1 comma
  bool shortNames = false;
  bool linearUnits = false;
  bool saveSourceInfo = false;
  std::string comment;
  bool writeRecordNumber = false;
  bool writeDateTime = false;
  std::string sourcePath;
  std::string instrumentTitle;       // the model's name as the summary shows it
  std::vector<std::string> calibrationLines;
  std::uint32_t firstRecord = 0;     // from 0
  std::uint32_t lastRecord = 0;      // from 0, inclusive
  std::string resultBase;            // the chosen path before its last "."
  std::string resultExtension;       // from that "." on, or empty
  TextEncoding encoding = TextEncoding::Windows1251;

  bool operator==(const ExportSettings&) const = default;
};

}  // namespace sonvera
