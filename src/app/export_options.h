#pragma once
// The options of an export as a script gives them (`sonvera-cli export`, the
// Python module's File.export), turned into what the dialog holds. Numbers
// are kept as typed: the dialog checks them with its own messages.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/statistics_dialog.h"
#include "export/text_encoding.h"

namespace sonvera {

struct SplitOption {
  std::string count;  // as typed
  bool byRecords = false;
};
// "N{min|rec}", e.g. "60min", "1000rec".
std::optional<SplitOption> parseSplit(std::string_view text);

struct DecimationOption {
  std::string count;
  bool byRecords = false;
  bool average = false;
  bool maximum = false;
};
// "N{sec|rec}[:avg|:max]", e.g. "10sec:avg".
std::optional<DecimationOption> parseDecimation(std::string_view text);

// "semicolon", "tab", "space" -> 0, 1, 2.
std::optional<int> parseSeparator(std::string_view text);

// "min,max,leq,le,n75,L10,L50,L90" as the statistics dialog's texts and boxes
// (up to six percentiles); nothing for an unknown word.
std::optional<StatisticsForm> parseStatistics(std::string_view text);

// The processing range as a script gives it (the export, the assessment).
struct RangeRequest {
  std::optional<std::string> from, to;  // the range fields as typed
  bool byTime = false;                  // from and to are times in the forms users type them
};

// Everything one export asks of the dialog besides the file, in the order it
// is applied: settings files, range, options, statistics, settings written.
struct ExportRequest {
  std::vector<std::string> settingsFiles;
  RangeRequest range;
  bool all = false;                     // the button "Все"
  std::optional<int> separator;
  bool decimalComma = false;
  bool recordNumber = false;
  bool dateTime = false;
  bool linear = false;
  bool shortNames = false;
  bool sourceInfo = false;
  std::optional<std::string> comment;
  std::optional<SplitOption> split;
  std::optional<DecimationOption> decimation;
  std::optional<StatisticsForm> statistics;
  std::optional<TextEncoding> encoding;
  std::optional<std::string> saveSettings;  // the settings file to write
};

// The options given as texts that need parsing, by their command-line names.
struct ExportOptionTexts {
  std::optional<std::string> split, decimate, separator, stats, encoding;
};

// An option whose text does not parse, and what it takes.
struct OptionFault {
  const char* option;  // "split", "decimate", ...
  const char* takes;   // "Nmin or Nrec", ...
};

// Parses the texts into `request`; the first fault, if any.
std::optional<OptionFault> parseExportOptionTexts(const ExportOptionTexts& texts, ExportRequest& request);

}  // namespace sonvera
