#pragma once
// What an export writes, byte for byte: the header and data lines of a data
// file, and the source block and statistics table of its information file.
// Texts are UTF-8 here and go out in Windows-1251; every field is followed
// by the separator, the last of a line included.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "export/column_statistics.h"
#include "export/format_value.h"
#include "export/result_writer.h"
#include "export/statistics_settings.h"
#include "measurement/record_time.h"

namespace sonvera {

// The fixed texts of result files; the string table shows the same ones.
namespace result_text {
inline constexpr std::string_view kDate = "Дата";                      // string 159
inline constexpr std::string_view kTime = "Время";                     // string 160
inline constexpr std::string_view kRecordRange = "Диапазон записей:";  // string 152
inline constexpr std::string_view kOverload = "Перегрузка";            // string 153
inline constexpr std::string_view kUnderload = "Недогрузка";           // string 154
inline constexpr std::string_view kMarkers = "Маркеры";                // string 157
inline constexpr const char* kVinFormat = "VIN=%05X";
}  // namespace result_text

// The separator of the value-separator option: 0 ';', 1 tab, any other ' '.
char valueSeparator(std::int32_t index);

struct ResultFormatOptions {
  char separator = ';';
  bool decimalComma = false;   // every "." of a number becomes ","
  bool shortNames = false;     // column headers by shortName
  bool linearUnits = false;    // passed to formatValue
  bool recordNumber = false;   // "N" column
  bool dateTime = false;       // date and time columns
};

// The first line of a data file: "N", date and time headers as chosen, then
// the column names.
void writeDataHeader(ResultWriter& out, const ResultFormatOptions& options,
                     std::span<const std::string> columnNames);

// A data line in pieces, for a writer that works out each value as it goes:
// the record number (from 1) and the date and time as chosen, then one field
// per value, then out.endLine().
void writeLinePrefix(ResultWriter& out, const ResultFormatOptions& options, std::uint32_t recordNumber,
                     const RecordTime& time);
void writeValueField(ResultWriter& out, const ResultFormatOptions& options, double value,
                     DisplayFormat format, double reference);

struct FieldValue {
  double value = 0;
  DisplayFormat format = display_format::kDefault;
  double reference = 0;  // of the value's reference kind and channel
};

// A whole data line.
void writeDataLine(ResultWriter& out, const ResultFormatOptions& options, std::uint32_t recordNumber,
                   const RecordTime& time, std::span<const FieldValue> values);

struct ChannelLabel {
  std::string name;
  std::string unit;
};

// Marker records of a data file: record number (from 0) to its time.
using MarkerList = std::map<std::uint32_t, RecordTime>;

// What the information file says about the source of its data file.
struct SourceInformation {
  std::string path;
  std::string comment;
  std::string instrumentTitle;
  std::uint32_t vin = 0;                // of the last decoded record
  std::uint32_t firstRecordNumber = 0;  // of the data file, counted from 1
  std::uint32_t lastRecordNumber = 0;   // counted from 1
  RecordTime firstTime;
  RecordTime lastTime;
  std::vector<std::string> calibrationLines;
  std::vector<ChannelLabel> channels;  // from channel 0 on
  std::string underload;               // empty: no line
  std::string overload;                // empty: no line
  MarkerList markers;
};

void writeSourceBlock(ResultWriter& out, char separator, const SourceInformation& source);

// One column as the statistics table reads it.
struct StatisticsColumn {
  std::string_view name;  // the full name, never the short one
  DisplayFormat format = display_format::kDefault;
  double reference = 0;
  ColumnAccumulator* statistics = nullptr;  // started afresh once its row is written
};

// The statistics table: a header of the chosen figures, then one row per
// column that received values in this data file. Nothing at all when no
// statistic is chosen. `durationSeconds` is the file's duration in whole
// seconds, for LE.
void writeStatisticsTable(ResultWriter& out, const ResultFormatOptions& options,
                          const StatisticsSettings& settings, std::span<const StatisticsColumn> columns,
                          double durationSeconds);

}  // namespace sonvera
