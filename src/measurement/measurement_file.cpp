#include "measurement/measurement_file.h"

#include <algorithm>
#include <limits>

#include "base/byte_reader.h"
#include "base/utf16.h"
#include "measurement/record_decoder.h"

namespace sonvera {
namespace {

// No banded code can address parameters or bands beyond these, so tables and
// names past them would stay empty; a header announcing more is cut to them.
std::int32_t parameterLimit(std::uint32_t wideBandIndex) { return wideBandIndex == 0 ? 256 : 16; }
std::int32_t bandLimit(std::uint32_t wideBandIndex) { return wideBandIndex == 0 ? 256 : 4096; }
constexpr std::uint32_t kParameterNameLimit = 256;
constexpr std::uint32_t kBandNameLimit = 4096;


// A fixed field of `length` UTF-16 characters, ending at its first NUL.
std::string textField(ByteReader& reader, std::size_t length) {
  std::u16string units = reader.units16(length);
  const auto nul = units.find(u'\0');
  if (nul != std::u16string::npos) units.resize(nul);
  return utf16ToUtf8(units);
}

void readCalibration(ByteReader& reader, ChannelValues* channel) {
  const float correction = reader.f32();
  const float sensitivity = reader.f32();
  const float reference = reader.f32();
  std::string sensor = textField(reader, 16);
  reader.skip(28);
  std::string unit = textField(reader, 6);
  if (channel == nullptr || !reader.ok()) return;
  channel->correction = correction;
  channel->sensitivity = sensitivity;
  channel->reference = reference;
  channel->sensorName = std::move(sensor);
  channel->unitText = std::move(unit);
}

// The header's counts: the tables of its channels take its parameters and
// bands, the parameters of the description (`d`) where it gives none.
std::int32_t headerParameters(const FileHeader& h) {
  return std::min<std::int32_t>(h.parameterCount, parameterLimit(h.flags & 1));
}
std::int32_t headerBands(const FileHeader& h) { return std::min<std::int32_t>(h.bandCount, bandLimit(h.flags & 1)); }

void applyHeaderCounts(const FileHeader& h, const DeviceDescription& d, ChannelTables::Shape& shape) {
  const auto parameters = static_cast<std::size_t>(headerParameters(h));
  const auto bands = static_cast<std::size_t>(headerBands(h));
  for (std::size_t c = 0; c < std::min<std::size_t>(h.channelCount, kChannelSlots); ++c)
    for (std::size_t g = 0; g < 3; ++g) {
      const std::size_t rows = h.parameterCount == 0 ? static_cast<std::size_t>(d.parameterCount[g])
                               : g < h.groupCount    ? parameters
                                                     : 0;
      shape[c][g] = {rows, bands};
    }
}

void readSelfDescribing(const DeviceCatalogue& catalogue, const FileHeader& h,
                        std::span<const std::uint8_t> tables, ChannelTables& channels, RecordValues& values,
                        DeviceDescription& d, std::vector<ExtraRecord>* extraRecords) {
  values.typeCode = h.typeCode;
  values.modelCode = h.modelCode;
  // The tables are made once, in the header's shape where it gives one.
  const auto headerShape = [&h](const DeviceDescription& fromCatalogue, ChannelTables::Shape& shape) {
    applyHeaderCounts(h, fromCatalogue, shape);
  };
  if (!prepareDecoding(catalogue, values.typeCode, values, channels, d, headerShape)) {
    ChannelTables::Shape shape = channels.shape();
    applyHeaderCounts(h, d, shape);
    channels.resetTables(shape);
  }
  d.recordSize = h.recordSize;
  d.wideBandIndex = h.flags & 1;
  values.vin = h.vin;

  ByteReader reader(tables);
  reader.skip(std::size_t{h.textLength} * 2);  // free text: not used
  for (std::uint32_t i = 0; i < h.channelCount; ++i)
    values.channelNames[i] = textField(reader, h.channelNameLength);
  reader.skip(std::size_t{h.channelCount} * 2);  // one word per channel: not used
  if (h.parameterCount > 0) d.parameterNames.clear();
  for (std::uint32_t i = 0; i < h.parameterCount; ++i) {
    std::string name = textField(reader, h.parameterNameLength);
    if (i < kParameterNameLimit) d.parameterNames[i] = std::move(name);
  }

  const std::int32_t parameters = headerParameters(h);
  const std::int32_t bands = headerBands(h);
  for (std::size_t g = 0; g < 3; ++g) {
    if (h.parameterCount > 0) d.parameterCount[g] = g < h.groupCount ? parameters : 0;
    d.bandCount[g] = g < h.groupCount ? bands : 0;
  }
  d.channelCount = h.channelCount;

  // Names that are not kept are skipped in one step: with a name length of 0
  // they take no bytes, and G x B of them would otherwise be a long walk.
  const std::size_t keptBands = std::min<std::size_t>(h.bandCount, kBandNameLimit);
  for (std::uint32_t g = 0; g < h.groupCount; ++g) {
    const std::size_t kept = g < 3 ? keptBands : 0;
    for (std::size_t j = 0; j < kept; ++j) values.bandNames[g][j] = textField(reader, h.bandNameLength);
    reader.skip((h.bandCount - kept) * std::size_t{h.bandNameLength} * 2);
  }
  for (std::uint32_t g = 0; g < h.groupCount; ++g) {
    std::string name = textField(reader, h.groupNameLength);
    if (g < 3) d.groupTitles[g] = d.groupColumnTitles[g] = name;
  }
  for (std::uint32_t g = 0; g < h.groupCount; ++g) {
    const std::uint16_t start = reader.u16();
    if (g == 0) {
      d.bandNameStart[0] = start;
      d.bandNameStep[0] = 3;
    } else if (g == 1) {
      d.bandNameStart[1] = start;
      d.bandNameStep[1] = 1;
    } else if (g == 2) {
      d.bandNameStart2 = start;
    }
  }
  for (std::uint32_t i = 0; i < h.channelCount; ++i)
    readCalibration(reader, i < kChannelSlots ? &channels[i] : nullptr);
  for (std::uint32_t i = 0; i < h.extraRecordCount; ++i) {
    const std::size_t at = reader.position();
    reader.skip(kExtraRecordSize);
    if (!reader.ok()) break;
    if (extraRecords) {
      ExtraRecord record;
      std::copy_n(tables.begin() + static_cast<std::ptrdiff_t>(at), kExtraRecordSize, record.begin());
      extraRecords->push_back(record);
    }
  }
  if (h.codeCount > 0) {
    d.layout.resize(h.codeCount);
    for (auto& c : d.layout) c = reader.u32();
  }
  if (h.formatCount > 0) {
    d.formats.resize(h.formatCount);
    for (auto& f : d.formats) f = reader.u16();
  }
  d.formats.resize(d.layout.size(), kDefaultFormat);
  d.typeEchoOffset = -1;
}

}  // namespace

FileVariant detectVariant(std::span<const std::uint8_t, 8> first) {
  if (loadLE32(first.data()) == kFileMagic) return FileVariant::SelfDescribing;
  const std::uint32_t second = loadLE32(first.data() + 4);
  return second >= kPairedWordLow && second <= kPairedWordHigh ? FileVariant::PairedWord : FileVariant::Legacy;
}

std::uint64_t FileHeader::tableBytes() const {
  const std::uint64_t c = channelCount, g = groupCount;
  return std::uint64_t{textLength} * 2 + c * channelNameLength * 2 + c * 2 +
         std::uint64_t{parameterCount} * parameterNameLength * 2 + g * bandCount * bandNameLength * 2 +
         g * groupNameLength * 2 + g * 2 + c * kCalibrationRecordSize +
         std::uint64_t{extraRecordCount} * kExtraRecordSize + std::uint64_t{codeCount} * 4 +
         std::uint64_t{formatCount} * 2;
}

FileHeader parseFileHeader(std::span<const std::uint8_t, kFileHeaderSize> bytes) {
  const std::uint8_t* p = bytes.data();
  FileHeader h;
  h.magic = loadLE32(p);
  h.typeCode = loadLE16(p + 6);
  h.modelCode = loadLE16(p + 8);
  h.flags = loadLE16(p + 10);
  h.recordSize = loadLE32(p + 12);
  h.vin = loadLE32(p + 16);
  h.textLength = loadLE16(p + 24);
  h.channelNameLength = loadLE16(p + 26);
  h.channelCount = loadLE16(p + 28);
  h.parameterNameLength = loadLE16(p + 30);
  h.parameterCount = loadLE16(p + 32);
  h.bandNameLength = loadLE16(p + 34);
  h.bandCount = loadLE16(p + 36);
  h.groupNameLength = loadLE16(p + 38);
  h.groupCount = loadLE16(p + 40);
  h.extraRecordCount = loadLE16(p + 42);
  h.codeCount = loadLE16(p + 48);
  h.formatCount = loadLE16(p + 50);
  h.dataOffset = loadLE32(p + 60) | std::uint64_t{loadLE32(p + 64)} << 32;
  return h;
}

bool readFileHeader(const DeviceCatalogue& catalogue, const platform::ReadOnlyFile& file,
                    ChannelTables& channels, RecordValues& values, DeviceDescription& description,
                    std::uint64_t& dataOffset, std::vector<ExtraRecord>* extraRecords) {
  dataOffset = 0;
  std::array<std::uint8_t, 20> start{};  // bytes a short file lacks read as 0
  file.readAt(0, start.data(), start.size());
  const FileVariant variant = detectVariant(std::span<const std::uint8_t, 8>(start.data(), 8));

  if (variant == FileVariant::SelfDescribing) {
    const std::uint64_t fileSize = file.size();
    std::array<std::uint8_t, kFileHeaderSize> headerBytes{};
    if (fileSize < kFileHeaderSize || file.readAt(0, headerBytes.data(), kFileHeaderSize) != kFileHeaderSize)
      return false;
    const FileHeader header = parseFileHeader(headerBytes);
    // Tables the file cannot hold describe nothing we could trust or read.
    const std::uint64_t tableBytes = header.tableBytes();
    if (tableBytes > fileSize - kFileHeaderSize) return false;
    std::vector<std::uint8_t> tables(static_cast<std::size_t>(tableBytes));
    if (file.readAt(kFileHeaderSize, tables.data(), tables.size()) != tables.size()) return false;
    dataOffset = header.dataOffset;
    readSelfDescribing(catalogue, header, tables, channels, values, description, extraRecords);
    return true;
  }

  if (variant == FileVariant::PairedWord) {
    values.typeCode = loadLE16(start.data());
    values.modelCode = loadLE16(start.data() + 2);
  } else {
    values.modelCode = loadLE16(start.data() + 18);
    values.typeCode = static_cast<std::uint16_t>(values.modelCode - kLegacyTypeOffset);
  }
  return prepareDecoding(catalogue, values.typeCode, values, channels, description);
}

std::size_t readRecord(const platform::ReadOnlyFile& handle, std::uint64_t dataOffset,
                       std::uint32_t recordSize, std::uint32_t index, std::span<std::uint8_t> buffer) {
  const std::size_t count = std::min<std::size_t>(buffer.size(), recordSize);
  const std::uint64_t offset = dataOffset + std::uint64_t{index} * recordSize;
  if (offset < dataOffset) return 0;
  return handle.readAt(offset, buffer.data(), count);
}

std::size_t readRecord(const MeasurementFile& file, std::uint32_t index, std::span<std::uint8_t> buffer) {
  return readRecord(file.handle, file.dataOffset, file.description.recordSize, index, buffer);
}

std::uint32_t wholeRecordCount(const MeasurementFile& file) {
  const std::uint32_t recordSize = file.description.recordSize;
  if (recordSize == 0) return 0;
  const std::uint64_t size = file.handle.size();
  const std::uint64_t records = size > file.dataOffset ? (size - file.dataOffset) / recordSize : 0;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(records, std::numeric_limits<std::uint32_t>::max()));
}

void readFirstAndLastRecord(MeasurementFile& file) {
  DeviceDescription& d = file.description;
  // At least one whole record lies in the file, so this is bounded by its size.
  std::vector<std::uint8_t> buffer(d.recordSize);
  readRecord(file, 0, buffer);
  decodeIfSameType(buffer, file.channels, file.values, d);
  file.firstTime = recordTime(file.values);
  const std::uint16_t type = file.values.typeCode;
  const std::uint32_t vin = file.values.vin;

  // Records at the end that are not of this measurement are not counted.
  file.lastTime = file.firstTime;
  while (file.recordCount > 1) {
    readRecord(file, file.recordCount - 1, buffer);
    if (hasSameType(buffer, file.values, d) &&
        decodeRecord(buffer, file.channels, file.values, d) == type && file.values.vin == vin) {
      file.lastTime = recordTime(file.values);
      break;
    }
    --file.recordCount;
  }
}

void closeMeasurementFile(MeasurementFile& file) {
  file.handle.close();
  file.path.clear();
  file.dataOffset = 0;
  file.recordCount = 0;
  file.firstTime = RecordTime{};
  file.lastTime = RecordTime{};
  file.channels.clear();  // keeps its memory for the next file
  file.values = RecordValues{};
  file.description = DeviceDescription{};
}

OpenResult openMeasurementFile(const DeviceCatalogue& catalogue, const std::string& path,
                               MeasurementFile& file) {
  closeMeasurementFile(file);
  file.path = path;
  if (!file.handle.open(path)) return OpenResult::CannotOpen;

  DeviceDescription& d = file.description;
  if (!readFileHeader(catalogue, file.handle, file.channels, file.values, d, file.dataOffset) ||
      d.recordSize == 0 || d.channelCount == 0)
    return OpenResult::UnknownType;

  file.recordCount = wholeRecordCount(file);
  if (file.recordCount == 0) return OpenResult::Empty;
  readFirstAndLastRecord(file);
  return OpenResult::Opened;
}

}  // namespace sonvera
