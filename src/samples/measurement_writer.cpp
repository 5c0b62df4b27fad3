#include "samples/measurement_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "base/byte_writer.h"
#include "base/utf16.h"
#include "measurement/record_decoder.h"
#include "platform/platform.h"

namespace sonvera {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
std::int64_t daysFromCivil(int year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int yoe = static_cast<int>(year - era * 400);
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::uint8_t bcd(int v) { return static_cast<std::uint8_t>((v / 10) << 4 | v % 10); }

template <typename T>
T clampRound(double v) {
  const double r = std::round(v);
  const double lo = static_cast<double>(std::numeric_limits<T>::min());
  const double hi = static_cast<double>(std::numeric_limits<T>::max());
  if (!(r >= lo)) return std::numeric_limits<T>::min();
  if (r > hi) return std::numeric_limits<T>::max();
  return static_cast<T>(r);
}

std::uint32_t floatBits(float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}
std::uint64_t doubleBits(double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return bits;
}

std::uint32_t fromTimeField(double field) {
  const auto t = static_cast<std::uint32_t>(field);
  return t;
}

// The raw integer a special code stores for `value`.
std::uint64_t specialRaw(ParameterCode c, double v) {
  switch (code::upper16(c)) {
    case 0x0002: return fromTimeField(v) / 2;
    case 0x0017: return clampRound<std::uint16_t>(v * 256);
    case 0x3018: return static_cast<std::uint16_t>(clampRound<std::int16_t>(v * 256));
    case 0x500A: return static_cast<std::uint32_t>(clampRound<std::int32_t>(v * 65536));
    case 0x500B:
    case 0x500C: return static_cast<std::uint32_t>(clampRound<std::int32_t>(std::log10(v) * 65536));
    case 0x5007: return stamp32(RecordTime::fromDayNumber(v));
    case 0x5033: {
      const std::uint32_t t = fromTimeField(v);
      return decimalTime(static_cast<int>(t >> 12 & 31), static_cast<int>(t >> 6 & 63), static_cast<int>(t & 63));
    }
    case 0x6016: return std::min<std::uint32_t>(clampRound<std::uint32_t>(v * 65536 / 100), 0xFFFF);
    case 0x7020: return clampRound<std::uint32_t>(v);
    case 0x8020: return clampRound<std::uint32_t>(v * 256);
    case 0x901F: {
      const std::uint32_t s = (c >> 12) & 0xF;
      const double f = s >= 1 && s <= 3 ? 1152000.0 : s >= 4 && s <= 6 ? 96000.0 : 1228800.0;
      return clampRound<std::uint32_t>(v * 4294967296.0 / f);
    }
    case 0x703A: return clampRound<std::uint16_t>(v * 100) | std::uint64_t{10000} << 16;
    case 0x800F: return static_cast<std::uint32_t>(clampRound<std::int32_t>(v * 256));
    case 0x8031: return clampRound<std::uint32_t>(v * 256);
    case 0xB00F:
    case 0xB039:
    case 0xB03A: return floatBits(static_cast<float>(v));
    case 0xC03B: return stamp64FromStamp32(stamp32(RecordTime::fromDayNumber(v)));
    case 0xF01A: {
      const auto s = clampRound<std::int64_t>(v);
      if (s < 0) return std::uint64_t{0x100} << 32;  // an hour word above 255 reads as -1
      return static_cast<std::uint64_t>(s % 60) | static_cast<std::uint64_t>(s / 60 % 60) << 16 |
             static_cast<std::uint64_t>(std::min<std::int64_t>(s / 3600, 255)) << 32;
    }
    default: return v < 0 ? static_cast<std::uint64_t>(clampRound<std::int64_t>(v)) : clampRound<std::uint64_t>(v);
  }
}

std::uint64_t bandedRaw(std::uint32_t type, double v) {
  switch (type) {
    case 0: return clampRound<std::uint16_t>(v * 256);
    case 2: return clampRound<std::uint16_t>(v);
    case 5: return static_cast<std::uint32_t>(clampRound<std::int32_t>(v * 65536));
    case 7: return clampRound<std::uint32_t>(v);
    case 10: return stamp32(RecordTime::fromDayNumber(v));
    case 11: return floatBits(static_cast<float>(v));
    case 12: return doubleBits(v);
    default: return 0;
  }
}

std::size_t longest(const std::vector<std::string>& texts) {
  std::size_t n = 0;
  for (const auto& t : texts) n = std::max(n, utf16Length(t));
  return n;
}

void field(ByteWriter& w, const std::string& text, std::size_t length) {
  std::u16string units = utf8ToUtf16(text);
  units.resize(length, u'\0');
  w.units16(units);
}

}  // namespace

std::uint32_t stamp32(int year, int month, int day, int hour, int minute, int second) {
  if (!RecordTime::fromParts(year, month, day, hour, minute, second).valid()) return 0;
  const std::int64_t days = daysFromCivil(year, month, day) - daysFromCivil(2000, 1, 1);
  if (days < 0 || days > 0x7FFF) return 0;
  return static_cast<std::uint32_t>(days) << 17 | static_cast<std::uint32_t>(hour) << 12 |
         static_cast<std::uint32_t>(minute) << 6 | static_cast<std::uint32_t>(second);
}

std::uint32_t stamp32(const RecordTime& t) {
  if (!t.valid()) return 0;
  return stamp32(t.year(), t.month(), t.day(), t.hour(), t.minute(), t.second());
}

std::uint64_t stamp64Seconds(std::int64_t seconds) {
  return (std::uint64_t{0xF} << 60) | (static_cast<std::uint64_t>(seconds) & ((std::uint64_t{1} << 60) - 1));
}

std::uint64_t stamp64FromStamp32(std::uint32_t stamp) { return (std::uint64_t{0xE} << 60) | stamp; }

std::uint64_t stamp64Calendar(int year, int month, int day, int hour, int minute, int second, bool addSecond) {
  const int century = std::clamp((year - 2000) / 100, 0, 3);
  const std::uint8_t bytes[8] = {0,
                                 bcd(second),
                                 bcd(minute),
                                 bcd(hour),
                                 0,
                                 bcd(day),
                                 static_cast<std::uint8_t>(bcd(month) | (addSecond ? 0x20 : 0) | century << 6),
                                 bcd(((year - 2000) % 100 + 100) % 100)};
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | bytes[i];
  return v;
}

std::uint32_t decimalTime(int hour, int minute, int second) {
  return std::uint32_t{bcd(second)} << 8 | std::uint32_t{bcd(minute)} << 16 | std::uint32_t{bcd(hour)} << 24;
}

void RecordEncoder::setValue(ParameterCode c, double value) {
  setRaw(c, code::isBanded(c) ? bandedRaw(code::valueType(c), value) : specialRaw(c, value));
}

void RecordEncoder::setRaw(ParameterCode c, std::uint64_t raw) {
  std::vector<std::uint8_t> bytes(recordValueSize(c));
  for (std::size_t i = 0; i < bytes.size() && i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(raw >> (8 * i));
  payload_[c] = std::move(bytes);
}

void RecordEncoder::setBytes(ParameterCode c, std::vector<std::uint8_t> bytes) {
  bytes.resize(recordValueSize(c), 0);
  payload_[c] = std::move(bytes);
}

void RecordEncoder::setText(ParameterCode c, std::string_view utf8) {
  ByteWriter w;
  w.units16(utf8ToUtf16(utf8));
  setBytes(c, w.take());
}

void RecordEncoder::clear() {
  payload_.clear();
  rawWords_.clear();
}

std::vector<std::uint8_t> RecordEncoder::encode() const {
  std::vector<std::uint8_t> out;
  std::size_t rawIndex = 0;
  for (const ParameterCode c : layout_) {
    const std::uint32_t size = recordValueSize(c);
    if (c == 0) {
      const std::uint16_t w = rawIndex < rawWords_.size() ? rawWords_[rawIndex] : 0;
      ++rawIndex;
      out.push_back(static_cast<std::uint8_t>(w));
      out.push_back(static_cast<std::uint8_t>(w >> 8));
      continue;
    }
    const auto it = payload_.find(c);
    if (it == payload_.end())
      out.insert(out.end(), size, 0);
    else
      out.insert(out.end(), it->second.begin(), it->second.end());
  }
  if (recordSize_ != 0) out.resize(recordSize_, 0);
  return out;
}

std::vector<std::uint8_t> headerBytes(const HeaderSource& h) {
  const std::size_t channels = std::max(h.channelNames.size(), h.calibration.size());
  const std::size_t groups = std::max({h.groupNames.size(), h.bandNames.size(), h.bandNameStarts.size()});
  std::vector<std::string> allBands;
  for (const auto& list : h.bandNames) allBands.insert(allBands.end(), list.begin(), list.end());
  const auto length = [](std::uint16_t given, std::size_t computed) {
    return given != 0 ? std::size_t{given} : computed;
  };
  const std::size_t textLength = length(h.textLength, utf16Length(h.text));
  const std::size_t channelNameLength = length(h.channelNameLength, longest(h.channelNames));
  const std::size_t parameterNameLength = length(h.parameterNameLength, longest(h.parameterNames));
  const std::size_t bandNameLength = length(h.bandNameLength, longest(allBands));
  const std::size_t groupNameLength = length(h.groupNameLength, longest(h.groupNames));

  ByteWriter tables;
  field(tables, h.text, textLength);
  for (std::size_t i = 0; i < channels; ++i)
    field(tables, i < h.channelNames.size() ? h.channelNames[i] : std::string{}, channelNameLength);
  for (std::size_t i = 0; i < channels; ++i) tables.u16(i < h.channelWords.size() ? h.channelWords[i] : 0);
  for (const auto& name : h.parameterNames) field(tables, name, parameterNameLength);
  for (std::size_t g = 0; g < groups; ++g)
    for (std::size_t j = 0; j < h.bandCount; ++j) {
      const bool has = g < h.bandNames.size() && j < h.bandNames[g].size();
      field(tables, has ? h.bandNames[g][j] : std::string{}, bandNameLength);
    }
  for (std::size_t g = 0; g < groups; ++g)
    field(tables, g < h.groupNames.size() ? h.groupNames[g] : std::string{}, groupNameLength);
  for (std::size_t g = 0; g < groups; ++g) tables.u16(g < h.bandNameStarts.size() ? h.bandNameStarts[g] : 0);
  for (std::size_t i = 0; i < channels; ++i) {
    const CalibrationSource c = i < h.calibration.size() ? h.calibration[i] : CalibrationSource{};
    tables.f32(c.correction);
    tables.f32(c.sensitivity);
    tables.f32(c.reference);
    field(tables, c.sensorName, 16);
    for (int k = 0; k < 28; ++k) tables.u8(0);
    field(tables, c.unitText, 6);
  }
  for (const auto& record : h.extraRecords) tables.bytes(record.data(), record.size());
  for (const ParameterCode c : h.layout) tables.u32(c);
  for (const std::uint16_t f : h.formats) tables.u16(f);

  const std::uint64_t end = kFileHeaderSize + tables.size();
  const std::uint64_t dataOffset = h.dataOffset.value_or(end);
  ByteWriter w;
  w.u32(kFileMagic);
  w.u16(0);
  w.u16(h.typeCode);
  w.u16(h.modelCode);
  w.u16(h.flags);
  w.u32(h.recordSize);
  w.u32(h.vin);
  w.u32(0);
  w.u16(static_cast<std::uint16_t>(textLength));
  w.u16(static_cast<std::uint16_t>(channelNameLength));
  w.u16(static_cast<std::uint16_t>(channels));
  w.u16(static_cast<std::uint16_t>(parameterNameLength));
  w.u16(static_cast<std::uint16_t>(h.parameterNames.size()));
  w.u16(static_cast<std::uint16_t>(bandNameLength));
  w.u16(h.bandCount);
  w.u16(static_cast<std::uint16_t>(groupNameLength));
  w.u16(static_cast<std::uint16_t>(groups));
  w.u16(static_cast<std::uint16_t>(h.extraRecords.size()));
  w.u32(0);
  w.u16(static_cast<std::uint16_t>(h.layout.size()));
  w.u16(static_cast<std::uint16_t>(h.formats.size()));
  w.u64(0);
  w.u64(dataOffset);
  std::vector<std::uint8_t> bytes = w.take();
  const auto& t = tables.data();
  bytes.insert(bytes.end(), t.begin(), t.end());
  if (dataOffset > bytes.size() && dataOffset - bytes.size() < (std::uint64_t{1} << 24))
    bytes.resize(static_cast<std::size_t>(dataOffset), 0);
  return bytes;
}

std::vector<std::uint8_t> measurementFileBytes(const MeasurementFileSource& source) {
  std::vector<std::uint8_t> bytes;
  if (source.variant == FileVariant::SelfDescribing) bytes = headerBytes(source.header);
  std::size_t size = bytes.size() + source.trailing.size();
  for (const auto& record : source.records) size += record.size();
  bytes.reserve(size);
  for (const auto& record : source.records) bytes.insert(bytes.end(), record.begin(), record.end());
  bytes.insert(bytes.end(), source.trailing.begin(), source.trailing.end());
  return bytes;
}

bool writeMeasurementFile(const std::string& path, const MeasurementFileSource& source) {
  return platform::writeWholeFile(path, measurementFileBytes(source));
}

}  // namespace sonvera
