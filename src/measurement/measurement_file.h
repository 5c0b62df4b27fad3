#pragma once
// Recognising, opening and reading measurement files: the self-describing
// variant with its own header, and the two headerless variants whose layout
// comes from the catalogue.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "measurement/record_time.h"
#include "measurement/record_values.h"
#include "platform/platform.h"

namespace sonvera {

enum class FileVariant { SelfDescribing, PairedWord, Legacy };

inline constexpr std::uint32_t kFileMagic = 0xA319F34A;
inline constexpr std::size_t kFileHeaderSize = 68;
inline constexpr std::size_t kCalibrationRecordSize = 84;
inline constexpr std::size_t kExtraRecordSize = 40;
// The 32-bit word at offset 4 of a paired-word file lies in this range.
inline constexpr std::uint32_t kPairedWordLow = 0x20000;
inline constexpr std::uint32_t kPairedWordHigh = 0x5FFFF;
// Legacy files name their type by the model code minus this, modulo 65536.
inline constexpr std::uint16_t kLegacyTypeOffset = 5536;

// The variant named by the first 8 bytes of a file.
FileVariant detectVariant(std::span<const std::uint8_t, 8> first);

// The 68-byte header of a self-describing file.
struct FileHeader {
  std::uint32_t magic = kFileMagic;
  std::uint16_t typeCode = 0;
  std::uint16_t modelCode = 0;
  std::uint16_t flags = 0;
  std::uint32_t recordSize = 0;
  std::uint32_t vin = 0;
  std::uint16_t textLength = 0;
  std::uint16_t channelNameLength = 0;
  std::uint16_t channelCount = 0;
  std::uint16_t parameterNameLength = 0;
  std::uint16_t parameterCount = 0;
  std::uint16_t bandNameLength = 0;
  std::uint16_t bandCount = 0;
  std::uint16_t groupNameLength = 0;
  std::uint16_t groupCount = 0;
  std::uint16_t extraRecordCount = 0;
  std::uint16_t codeCount = 0;
  std::uint16_t formatCount = 0;
  std::uint64_t dataOffset = 0;

  // Bytes of the eleven tables that follow the header.
  std::uint64_t tableBytes() const;
};

FileHeader parseFileHeader(std::span<const std::uint8_t, kFileHeaderSize> bytes);

using ExtraRecord = std::array<std::uint8_t, kExtraRecordSize>;

enum class OpenResult { Opened, CannotOpen, UnknownType, Empty };

struct MeasurementFile {
  std::string path;  // UTF-8
  platform::ReadOnlyFile handle;
  std::uint64_t dataOffset = 0;
  std::uint32_t recordCount = 0;
  RecordTime firstTime;
  RecordTime lastTime;
  ChannelTables channels;
  RecordValues values;
  DeviceDescription description;
};

// Reads the variant, type and model and, for a self-describing file, its
// header and tables into the state. Headerless variants: the result of
// prepareDecoding. Self-describing files: false only when the header or its
// tables run past the end of the file.
bool readFileHeader(const DeviceCatalogue& catalogue, const platform::ReadOnlyFile& file,
                    ChannelTables& channels, RecordValues& values, DeviceDescription& description,
                    std::uint64_t& dataOffset, std::vector<ExtraRecord>* extraRecords = nullptr);

// Back to a state with no file, as a new object; the tables and statistics
// blocks keep their memory for the next file.
void closeMeasurementFile(MeasurementFile& file);

// Opens `path` into `file`, closing what it held: header, decoding state,
// record count (without foreign records at the end), first and last time.
OpenResult openMeasurementFile(const DeviceCatalogue& catalogue, const std::string& path,
                               MeasurementFile& file);

// The number of whole records after the data offset.
std::uint32_t wholeRecordCount(const MeasurementFile& file);

// Decodes record 0 for the first time, then drops records at the end that
// carry another type echo or serial number and takes the last time from the
// last record that belongs. Needs recordCount >= 1.
void readFirstAndLastRecord(MeasurementFile& file);

// One positioned read of record `index` into `buffer` (recordSize bytes); the
// bytes read. A short read leaves the rest of the buffer as it was. Safe to
// call from several threads on one open file.
std::size_t readRecord(const platform::ReadOnlyFile& handle, std::uint64_t dataOffset,
                       std::uint32_t recordSize, std::uint32_t index, std::span<std::uint8_t> buffer);
std::size_t readRecord(const MeasurementFile& file, std::uint32_t index, std::span<std::uint8_t> buffer);

}  // namespace sonvera
