#pragma once
// Writing measurement files: a record encoder (the inverse of the decoder)
// and a writer of the three file variants. Used by the sample generator and
// by tests to build their inputs.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "measurement/measurement_file.h"
#include "measurement/record_time.h"

namespace sonvera {

// The 32-bit instrument stamp of a time (days since 2000-01-01, hour, minute,
// second); 0 for a time before 2000 or an invalid one.
std::uint32_t stamp32(int year, int month, int day, int hour, int minute, int second);
std::uint32_t stamp32(const RecordTime& time);
// 64-bit stamps as (high << 32 | low): tag 15 seconds since 1970, tag 14 a
// 32-bit stamp, or the packed-decimal calendar image (years 2000 to 2399).
std::uint64_t stamp64Seconds(std::int64_t secondsSince1970);
std::uint64_t stamp64FromStamp32(std::uint32_t stamp);
std::uint64_t stamp64Calendar(int year, int month, int day, int hour, int minute, int second,
                              bool addSecond = false);
// Packed-decimal time of day, bytes 0 to 3 as a little-endian word.
std::uint32_t decimalTime(int hour, int minute, int second);

// Builds records of one layout. Values are set by code; an entry without a
// value is written as zero bytes. A code that occurs more than once in the
// layout gets the same bytes at each place (except code 0, see setRawWords).
class RecordEncoder {
 public:
  explicit RecordEncoder(const DeviceDescription& description)
      : layout_(description.layout), recordSize_(description.recordSize) {}

  // A value in the unit the decoder yields: banded values by their value
  // type; special codes as stored in the decoding state (dB, hertz, percent,
  // the time field for 0x0002 and 0x5033, a day number for 0x5007, 0xC03B
  // and value type 10, seconds for 0xF01A, the linear value for 0x500B and
  // 0x500C). Other codes store the rounded value as an integer.
  void setValue(ParameterCode code, double value);
  // The integer as it stands in the record, little-endian over the entry.
  void setRaw(ParameterCode code, std::uint64_t raw);
  // Exact bytes, zero-padded or cut to the entry's size.
  void setBytes(ParameterCode code, std::vector<std::uint8_t> bytes);
  // UTF-16 text of codes 0xF005 and 0xF02F, NUL-padded to the entry's size.
  void setText(ParameterCode code, std::string_view utf8);
  // Values of the entries whose code is 0, in layout order.
  void setRawWords(std::vector<std::uint16_t> words) { rawWords_ = std::move(words); }
  void clear();

  // The record: recordSize bytes (the layout's own size when recordSize is 0).
  std::vector<std::uint8_t> encode() const;

 private:
  std::vector<ParameterCode> layout_;
  std::uint32_t recordSize_;
  std::map<ParameterCode, std::vector<std::uint8_t>> payload_;
  std::vector<std::uint16_t> rawWords_;
};

struct CalibrationSource {
  float correction = 0.0f;
  float sensitivity = 0.0f;
  float reference = 0.0f;
  std::string sensorName;  // at most 16 characters
  std::string unitText;    // at most 6 characters
};

// The header of a self-describing file. Counts follow from the lists
// (C: the larger of channel names and calibration records, G: the largest of
// group names, band-name lists and band-name starts); text lengths of 0 take
// the longest text. Shorter lists are padded with empty entries.
struct HeaderSource {
  std::uint16_t typeCode = 0;
  std::uint16_t modelCode = 0;
  std::uint16_t flags = 0;
  std::uint32_t recordSize = 0;
  std::uint32_t vin = 0;
  std::string text;
  std::vector<std::string> channelNames;
  std::vector<std::uint16_t> channelWords;
  std::vector<std::string> parameterNames;
  std::uint16_t bandCount = 0;
  std::vector<std::vector<std::string>> bandNames;  // per group
  std::vector<std::string> groupNames;
  std::vector<std::uint16_t> bandNameStarts;
  std::vector<CalibrationSource> calibration;
  std::vector<ExtraRecord> extraRecords;
  std::vector<ParameterCode> layout;
  std::vector<std::uint16_t> formats;
  std::uint16_t textLength = 0, channelNameLength = 0, parameterNameLength = 0, bandNameLength = 0,
                groupNameLength = 0;
  std::optional<std::uint64_t> dataOffset;  // default: right after the tables
};

// The 68-byte header, its tables and any padding up to the data offset.
std::vector<std::uint8_t> headerBytes(const HeaderSource& header);

struct MeasurementFileSource {
  FileVariant variant = FileVariant::SelfDescribing;
  HeaderSource header;  // self-describing files only
  std::vector<std::vector<std::uint8_t>> records;
  std::vector<std::uint8_t> trailing;  // written after the records as they are
};

std::vector<std::uint8_t> measurementFileBytes(const MeasurementFileSource& source);
bool writeMeasurementFile(const std::string& path, const MeasurementFileSource& source);

}  // namespace sonvera
