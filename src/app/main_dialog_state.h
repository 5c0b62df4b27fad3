#pragma once
// Everything the main dialog shows and the user sets, as typed fields named
// after what they hold. The window mirrors these into its controls.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sonvera {

inline constexpr const char* kRecordRangeUnits = "записи";

struct MainDialogState {
  std::string title;

  // File summary.
  std::string model;                  // 1001
  std::string vin;                    // 1002
  std::string span;                   // 1003
  std::string records;                // 1004
  std::string step;                   // 1005
  bool over = false;                  // 1006
  bool under = false;                 // 1007
  std::string overloadSummary;        // 1039
  std::string underloadSummary;       // 1040
  std::string overloadDetails;        // tool tip of 1039
  std::string underloadDetails;       // tool tip of 1040
  std::vector<std::string> calibrationLines;  // 1045

  // Processing range.
  std::string rangeFrom;              // 1036
  std::string rangeTo;                // 1037
  bool rangeInRecords = false;        // 1038, unchecked at start-up
  std::string rangeUnits = kRecordRangeUnits;  // 1041

  // Splitting into several files.
  bool split = false;                 // 1042
  std::string splitPeriod = "60";     // 1011
  bool splitByRecords = false;        // 1032 checked; 1031 (minutes) otherwise

  // Decimation.
  bool decimate = false;              // 1017
  std::string decimationStep = "1";   // 1012
  bool decimateByRecords = false;     // 1014 checked; 1013 (seconds) otherwise
  bool averaging = false;             // 1015
  bool maxima = false;                // 1016

  // Output options. Radio groups hold the index of the checked radio; an index
  // outside the group (after loading a settings file) leaves none checked.
  std::int32_t valueSeparator = 0;    // 1022/1023/1024: semicolon, tab, space
  std::int32_t decimalSeparator = 0;  // 1020/1021: point, comma
  std::int32_t shortNames = 0;        // 1025
  std::int32_t linearUnits = 0;       // 1018
  std::int32_t sourceInfo = 0;        // 1026
  std::int32_t recordNumber = 0;      // 1048
  std::int32_t recordTime = 0;        // 1049
  std::string comment;                // 1019

  std::string statisticsSummary;      // 1010

  std::vector<std::string> exportListLines;      // 1033
  std::optional<std::size_t> exportListSelection;

  // The only controls ever disabled: those of the split and decimation blocks.
  bool splitControlsEnabled() const { return split; }
  bool decimationControlsEnabled() const { return decimate; }
};

}  // namespace sonvera
