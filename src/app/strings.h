#pragma once
// The program's string table: every text the user sees, by its number.

#include <string>

namespace sonvera {

enum class StringId : int {
  CannotOpenFileNamed = 132,   // "%s"
  UnknownDeviceType = 133,
  CatalogueNotFound = 134,
  ChannelNamed = 138,          // "%s"
  AllChannels = 140,
  AllBands = 141,
  BadFileFormat = 143,
  BadThreshold = 144,
  BadPercentile = 145,
  BadSplitValue = 146,
  BadDecimationValue = 147,
  BadRangeStart = 148,
  BadRangeEnd = 149,
  EmptyExportList = 150,
  TooManyFiles = 151,
  RecordRange = 152,
  Overload = 153,
  Underload = 154,
  VersionFormat = 156,         // "%d.%02d"
  Markers = 157,
  DuplicateItem = 158,
  Date = 159,
  Time = 160,
  CopyToClipboard = 163,
  // Texts without a number of their own.
  CannotOpenFile = 1000,
  EmptyFile = 1001,
  WriteFailedNamed = 1002,  // "%s": a result file that could not be written whole
  NoWorkbooks = 1003,       // a build without the workbook library
  WouldReplaceFileInUse = 1004,  // "%s" written, "%s" read: refused before anything is written
  SameResultFile = 1005,         // "%s", "%s": two results of one command are one file
  // The noise assessment.
  BadPeriodHours = 1006,
  BadPenalties = 1007,
  BadEventGap = 1008,
  BadMinimumDuration = 1009,
  NotALevelColumn = 1010,     // "%s": the column
  TooManyTableRows = 1011,    // "%u": the most rows of a table
};

// The text of a string; empty for an unknown id. The texts written into result
// files live with their writers and are the same strings.
const char* text(StringId id);

// The application's name, the caption of every message box.
constexpr const char* kApplicationName = "Универсальный транслятор";
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 1;

// "версия 1.01".
std::string versionText();
// "1.01".
std::string versionNumber();
// "Универсальный транслятор версия 1.01".
std::string baseTitle();

}  // namespace sonvera
