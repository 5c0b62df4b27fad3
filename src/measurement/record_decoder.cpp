#include "measurement/record_decoder.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "base/byte_reader.h"
#include "base/utf16.h"
#include "measurement/instrument_stamps.h"
#include "measurement/instrument_text.h"

namespace sonvera {
namespace {

// Statistics blocks beyond this could hold no percentile (their low byte
// addresses at most 256 slots); the cap keeps a hostile block count from
// allocating without bound.
constexpr std::uint32_t kMaxStatisticsBlocks = 256;
// Cells of the dense value tables of all channel slots together. Real layouts
// need far fewer; a layout that asks for more (parameters up to 255 beside
// band frequencies up to 4095 give 50 million cells, over a gigabyte) is not
// usable, so that no description makes the program allocate without measure.
constexpr std::uint64_t kMaxTableCells = std::uint64_t{1} << 22;
constexpr std::size_t kHistogramBuffer = 256;
constexpr std::size_t kMaxTextUnits = 256;
constexpr std::size_t kNameBuffer = 64;

std::int32_t signed32(const std::uint8_t* p) { return static_cast<std::int32_t>(loadLE32(p)); }
float single(const std::uint8_t* p) {
  const std::uint32_t bits = loadLE32(p);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}
double fixed16(const std::uint8_t* p) { return signed32(p) / 65536.0; }

// Size of a value skipped or stored by its value type alone.
std::uint32_t sizeByType(std::uint32_t type) {
  switch (type) {
    case 0: case 1: case 2: case 3: case 4: case 6:
      return 2;
    case 12:
      return 8;
    default:
      return 4;
  }
}

// s of a band-frequency code folded to a group 1-3 (0 when none).
std::uint32_t frequencyGroupField(ParameterCode c) {
  std::uint32_t s = (c >> 12) & 0xF;
  if (s > 6)
    s -= 6;
  else if (s > 3)
    s -= 3;
  return s >= 1 && s <= 3 ? s : 0;
}

enum class EndPointMode : std::uint8_t { None, WholeList, Override };

struct Presence {
  bool date = false, time = false, label = false, aux0006 = false, mode = false, aux4010 = false,
       aux4012 = false, serial = false, altSerial = false, channelKinds = false, unitIndexes = false;
};

// Per-call scratch, on the stack.
struct Scratch {
  Presence present;
  std::array<std::uint32_t, kHistogramBuffer> histogram;
  std::uint32_t histogramCount = 0;  // K
  bool positionGiven = false;
  std::uint32_t position = 0;        // J
  std::array<EndPointMode, 3> endPoint{EndPointMode::None, EndPointMode::None, EndPointMode::None};
  std::uint32_t channelMark = 0;     // L
  std::size_t rawIndex = 0;
  // The record's percentile names, written when the record ends (nothing in
  // a record reads them), in order. Past the buffer they are written as they come.
  std::array<PercentileNameWord, kNameBuffer> names;
  std::size_t nameCount = 0;
  bool namesBuffered = true;
};

// The fixed-length UTF-16LE text at `p`, ending at its first NUL, into `out`
// (its storage is reused, so steady-state decoding does not allocate).
void utf16Field(std::string& out, const std::uint8_t* p, std::size_t units) {
  std::array<char16_t, kMaxTextUnits> buffer;
  units = std::min(units, buffer.size());
  std::size_t n = 0;
  while (n < units) {
    const char16_t c = static_cast<char16_t>(loadLE16(p + 2 * n));
    if (c == 0) break;
    buffer[n++] = c;
  }
  assignUtf8(out, std::u16string_view(buffer.data(), n));
}

// Target channel of the calibration codes: 1-based channel in bits 8-15 up to
// the per-channel limit, else the channel in bits 0-7.
std::uint32_t calibrationChannel(ParameterCode c, std::int32_t perChannelLimit) {
  const std::uint32_t k = (c >> 8) & 0xFF;
  if (k >= 1 && static_cast<std::int64_t>(k) <= perChannelLimit) return k - 1;
  return c & 0xFF;
}

void storeBandFrequency(RecordValues& values, Scratch& scratch, ParameterCode c, std::uint32_t raw,
                        double hertz) {
  const std::uint32_t s = frequencyGroupField(c);
  if (s == 0) return;
  const std::size_t g = s - 1;
  if (raw == 0xFFFFFFFF) hertz = 0.0;
  std::vector<double>& list = values.bandFrequencies[g];
  const std::uint32_t b = c & 0xFFF;
  std::size_t index = b;
  if (b == 0xFFE) {
    index = 0;
  } else if (b == 0xFFF || b == 0xFFD) {
    index = 1;
    scratch.endPoint[g] = b == 0xFFF ? EndPointMode::WholeList : EndPointMode::Override;
  }
  if (index < list.size()) list[index] = hertz;
}

// In line in the decoding loop, which asks it for most values of every record.
[[gnu::always_inline]] inline double bandedValue(std::uint32_t type, const std::uint8_t* p) {
  switch (type) {
    case 0: return loadLE16(p) / 256.0;
    case 2: return loadLE16(p);
    case 5: return fixed16(p);
    case 7: return loadLE32(p);
    case 10: return fromStamp32(loadLE32(p)).dayNumber();
    case 11: return single(p);
    case 12: {
      std::uint64_t bits = loadLE32(p) | std::uint64_t{loadLE32(p + 4)} << 32;
      double d;
      std::memcpy(&d, &bits, sizeof d);
      return d;
    }
    default: return 0.0;
  }
}

// Inlined into the decoding loop, which asks it for every value of every record.
inline std::uint32_t sizeInRecord(ParameterCode c) {
  const std::uint32_t type = code::valueType(c);
  if (!code::isBanded(c)) {
    if (type == 13) return 0;
    if (type == 15) {
      switch (code::upper16(c)) {
        case 0xF003: return 10;
        case 0xF005: return 66;
        case 0xF01A: return 6;
        case 0xF02F: return 2 * (((c >> 8) & 0xFF) + 1);
        case 0xF037: return 2 * (c & 0xFFF);
        default: return 4;
      }
    }
  }
  return sizeByType(type);
}

// One layout entry as the decoding loop takes it: its size in the record and
// where a banded value goes, worked out from the code and the tables' shape.
DecodeStep stepOf(ParameterCode c, const ChannelTables& channels, const DeviceDescription& description) {
  DecodeStep step;
  step.code = c;
  step.size = sizeInRecord(c);
  if (c == 0) {
    step.action = DecodeStep::Raw;
  } else if (!code::isBanded(c)) {
    step.action = DecodeStep::Special;
  } else {
    const std::uint32_t group = code::groupField(c);
    if (group < 1 || group > 3) {
      step.action = DecodeStep::Other;
    } else {
      const ValueTable& table = channels[code::channel(c)].values[group - 1];
      const std::uint32_t param = code::parameter(c, description.wideBandIndex);
      const std::uint32_t band = code::band(c, description.wideBandIndex);
      if (param < table.size() && band < table.columns()) {
        step.action = DecodeStep::Cell;
        step.cell = table.offset() + std::size_t{param} * table.columns() + band;
      } else {
        step.action = DecodeStep::Mark;  // no cell for it, yet it counts its channel
      }
    }
  }
  return step;
}

void decodeText(ParameterCode c, const std::uint8_t* p, ChannelTables& channels, RecordValues& values,
                Presence& present) {
  const std::uint32_t kind = (c >> 4) & 0xF;
  const std::uint32_t ch = c & 0xF;
  const std::size_t n = ((c >> 8) & 0xFF) + 1;
  ChannelValues& channel = channels[ch];
  switch (kind) {
    case 0:
      utf16Field(values.label, p, std::min<std::size_t>(n, 33));
      present.label = true;
      break;
    case 1: utf16Field(channel.sensorName, p, std::min<std::size_t>(n, 15)); break;
    case 2: utf16Field(channel.unitText, p, std::min<std::size_t>(n, 7)); break;
    case 3: case 4: case 5:
      utf16Field(channel.channelTexts[kind - 3], p, std::min<std::size_t>(n, 7));
      break;
    default: break;
  }
  utf16Field(channel.texts[c], p, n);
}

// Compared in line: the names are a few letters, and every record repeats
// them for every channel.
bool sameText(const std::string& a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < b.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

void decodePercentileName(ParameterCode c, std::uint16_t word, ChannelTables& channels) {
  const int percent = static_cast<int>((((std::uint32_t{word} * 100) >> 15) + 1) >> 1);
  char text[16] = {'L'};
  const std::string_view name(text, static_cast<std::size_t>(std::to_chars(text + 1, text + sizeof text, percent).ptr - text));
  const std::uint32_t slot = c & 0xFF;
  std::size_t entries = 0, r = 0;  // the slot's entry, found again only where the count differs
  for (ChannelValues& channel : channels) {
    if (channel.statistics.empty() || channel.statistics[0].entries.empty()) continue;
    if (channel.statistics[0].entries.size() != entries) {
      entries = channel.statistics[0].entries.size();
      r = slot % entries;
    }
    // Compared first, the names are rarely written.
    for (StatisticsBlock& block : channel.statistics)
      if (r < block.entries.size() && !sameText(block.entries[r].name, name)) block.entries[r].name.assign(name);
  }
}

void writeNames(std::span<const PercentileNameWord> names, ChannelTables& channels) {
  for (const PercentileNameWord& n : names) decodePercentileName(n.code, n.word, channels);
}

void takePercentileName(ParameterCode c, std::uint16_t word, ChannelTables& channels, Scratch& scratch) {
  if (scratch.namesBuffered && scratch.nameCount < scratch.names.size()) {
    scratch.names[scratch.nameCount++] = {c, word};
    return;
  }
  if (scratch.namesBuffered) {  // the buffer is full: what it holds first, in order
    writeNames({scratch.names.data(), scratch.nameCount}, channels);
    scratch.namesBuffered = false;
  }
  decodePercentileName(c, word, channels);
}

void decodePercentileValue(ParameterCode c, std::uint16_t word, ChannelTables& channels) {
  ChannelValues& channel = channels[(c >> 12) & 0xF];
  if (channel.statistics.empty() || channel.statistics[0].entries.empty()) return;
  const std::size_t entries = channel.statistics[0].entries.size();
  const std::size_t slot = c & 0xFF;
  const std::size_t n = slot / entries, r = slot % entries;
  if (n < channel.statistics.size() && r < channel.statistics[n].entries.size())
    channel.statistics[n].entries[r].value = word / 256.0;
}

// One special code; false when the record ends here (a foreign type echo).
bool decodeSpecial(ParameterCode c, const std::uint8_t* p, ChannelTables& channels, RecordValues& values,
                   const DeviceDescription& description, Scratch& scratch, std::uint16_t& result) {
  Presence& present = scratch.present;
  const auto channelOf = [&](std::uint32_t index) -> ChannelValues* {
    return index < kChannelSlots ? &channels[index] : nullptr;
  };
  switch (code::upper16(c)) {
    case 0x0001: values.date = loadLE16(p); present.date = true; break;
    case 0x0002:
      values.time = std::uint32_t{loadLE16(p)} * 2;
      values.modeWord &= 0x7FFF;
      present.time = true;
      break;
    case 0x0006: values.aux0006 = loadLE16(p); present.aux0006 = true; break;
    case 0x0017: decodePercentileValue(c, loadLE16(p), channels); break;
    case 0x0028: values.aux0028 = loadLE16(p); break;
    case 0x200E: values.aux200E = loadLE16(p); break;
    case 0x2011:
      values.modeWord = static_cast<std::uint16_t>((values.modeWord & 0x8000) | (loadLE16(p) & 3));
      present.mode = true;
      break;
    case 0x2019: values.charTable = static_cast<std::uint8_t>(loadLE16(p) & 0xFF); break;
    case 0x201B: {
      const std::uint16_t echo = loadLE16(p);
      result = echo;
      if (echo != values.typeCode) return false;
      break;
    }
    case 0x201C: values.modelCode = loadLE16(p); break;
    case 0x2021: {
      const std::uint16_t w = loadLE16(p);
      const std::uint16_t v = (w == 3 || w == 0x3FFF) ? w : static_cast<std::uint16_t>(2 - (w & 3));
      values.modeWord = static_cast<std::uint16_t>((values.modeWord & 0x8000) | v);
      present.mode = true;
      break;
    }
    case 0x2022: values.aux2022 = loadLE16(p); break;
    case 0x2025: {
      const std::uint16_t w = loadLE16(p);
      if (w != values.nextSequence) values.lostRecords += static_cast<std::uint16_t>(w - values.nextSequence);
      values.nextSequence = static_cast<std::uint16_t>(w + 1);
      break;
    }
    case 0x202E: values.channelKinds = loadLE16(p); present.channelKinds = true; break;
    case 0x2030: values.aux2030 = loadLE16(p); break;
    case 0x2032: values.unitIndexes = loadLE16(p); present.unitIndexes = true; break;
    case 0x2036: {
      const std::uint32_t s = c & 0xF;
      if (s >= 1 && s <= 3)
        values.bandCountOverride[s - 1] = loadLE16(p);
      else if (s >= 4 && s <= 6)
        values.aux2036[s - 4] = loadLE16(p);
      break;
    }
    case 0x3018:
      if (ChannelValues* ch = channelOf(calibrationChannel(c, description.perChannelLimit)))
        ch->correction = static_cast<std::int16_t>(loadLE16(p)) / 256.0;
      break;
    case 0x4010: values.aux4010 = loadLE16(p); present.aux4010 = true; break;
    case 0x4012: values.aux4012 = loadLE16(p); present.aux4012 = true; break;
    case 0x4013:
      if (ChannelValues* ch = channelOf(c & 0xFF)) ch->overloadFlag = loadLE16(p);
      break;
    case 0x4014:
      if (ChannelValues* ch = channelOf(c & 0xFF)) ch->underloadFlag = loadLE16(p);
      break;
    case 0x401E: values.markerFlag = loadLE16(p); break;
    case 0x5004: values.vin = loadLE32(p); present.serial = true; break;
    case 0x5007: {
      const std::uint32_t stamp = loadLE32(p);
      const DateTimeFields fields = stamp32Fields(stamp);
      values.date = fields.date;
      values.time = fields.time;
      values.modeWord = static_cast<std::uint16_t>((values.modeWord & 0x7FFF) | (stamp & 1) << 15);
      present.date = present.time = true;
      break;
    }
    case 0x5008: values.duration = signed32(p); break;
    case 0x500A:
      if (ChannelValues* ch = channelOf(calibrationChannel(c, description.perChannelLimit)))
        ch->correction = fixed16(p);
      break;
    case 0x500B: {
      const std::uint32_t k = (c >> 8) & 0xFF;
      if (k > 0 && static_cast<std::int64_t>(k) > description.perChannelLimit) {
        ChannelValues* ch = channelOf(c & 0xFF);
        if (ch && k >= 7 && k <= 9) ch->extraReferences[k - 7] = std::pow(10.0, fixed16(p));
      } else if (ChannelValues* ch = channelOf(calibrationChannel(c, description.perChannelLimit))) {
        ch->reference = std::pow(10.0, fixed16(p));
      }
      break;
    }
    case 0x500C:
      if (ChannelValues* ch = channelOf(calibrationChannel(c, description.perChannelLimit)))
        ch->sensitivity = std::pow(10.0, fixed16(p));
      break;
    case 0x502C: values.altSerial = loadLE32(p); present.altSerial = true; break;
    case 0x5033: {
      values.time = fromDecimalTime(p);
      // The parity of the seconds is that of their units digit, whether or
      // not the seconds fit the time field.
      values.modeWord = static_cast<std::uint16_t>((values.modeWord & 0x7FFF) | (p[1] & 1) << 15);
      present.time = true;
      break;
    }
    case 0x6016: takePercentileName(c, loadLE16(p), channels, scratch); break;
    case 0x700E: values.aux200E = loadLE32(p); break;
    case 0x701D: values.aux701D = loadLE32(p); break;
    case 0x7020: storeBandFrequency(values, scratch, c, loadLE32(p), loadLE32(p)); break;
    case 0x7023:
      scratch.position = loadLE32(p);
      scratch.positionGiven = true;
      break;
    case 0x7024: {
      const std::uint32_t k = c & 0xFF;
      for (std::uint32_t i = scratch.histogramCount; i < k; ++i) scratch.histogram[i] = kEmptyHistogramSlot;
      scratch.histogram[k] = loadLE32(p);
      scratch.histogramCount = std::max(scratch.histogramCount, k + 1);
      break;
    }
    case 0x703A: {
      const std::uint16_t a = loadLE16(p), b = loadLE16(p + 2);
      values.percentage = b == 0 ? 0.0f : static_cast<float>(std::uint32_t{a} * 100) / static_cast<float>(b);
      break;
    }
    case 0x703C: values.aux703C = loadLE32(p); break;
    case 0x800F: values.aux800F = signed32(p) / 256.0; break;
    case 0x8020: storeBandFrequency(values, scratch, c, loadLE32(p), loadLE32(p) / 256.0); break;
    case 0x8031: values.aux8031 = static_cast<float>(loadLE32(p) / 256.0); break;
    case 0x901F: {
      const std::uint32_t s = (c >> 12) & 0xF;
      const double f = s >= 1 && s <= 3 ? 1152000.0 : s >= 4 && s <= 6 ? 96000.0 : 1228800.0;
      storeBandFrequency(values, scratch, c, loadLE32(p), loadLE32(p) * f / 4294967296.0);
      break;
    }
    case 0xB00F: values.aux800F = single(p); break;
    case 0xB034: values.auxB034 = loadLE32(p); break;
    case 0xB035: {
      const std::uint32_t s = (c >> 12) & 0xF;
      const std::size_t i = c & 0xFFF;
      if (s >= 1 && s <= 4) {
        std::vector<std::uint32_t>& list = values.floatLists[s - 1];
        if (i >= list.size()) list.resize(i + 1, 0);
        list[i] = loadLE32(p);
      }
      break;
    }
    case 0xB039: values.auxB039 = single(p); break;
    case 0xB03A: values.percentage = single(p); break;
    case 0xC03B:
      if (const auto fields = fromStamp64(loadLE32(p), loadLE32(p + 4))) {
        values.date = fields->date;
        values.time = fields->time;
        present.date = present.time = true;
      }
      break;
    case 0xC03D:
      values.auxC03D = {loadLE32(p), loadLE32(p + 4)};
      break;
    case 0xF003:
      assignInstrumentText(values.label, p, values.charTable);
      present.label = true;
      break;
    case 0xF005:
      utf16Field(values.label, p, 33);
      present.label = true;
      break;
    case 0xF01A: {
      const std::uint16_t h0 = loadLE16(p), h1 = loadLE16(p + 2), h2 = loadLE16(p + 4);
      values.duration = h2 > 255 ? -1 : (h0 & 0xFF) + 60 * (h1 & 0xFF) + 3600 * (h2 & 0xFF);
      break;
    }
    case 0xF02F: decodeText(c, p, channels, values, present); break;
    default: break;  // 0xF037 and unknown codes: skipped
  }
  return true;
}

void resetRecord(RecordValues& values) {
  values.charTable = 1;
  values.duration = -1;
  values.aux2022 = 0;
  values.markerFlag = 0;
  values.auxB034 = 0;
  for (auto& list : values.floatLists) list.clear();
  values.bandCountOverride = {0, 0, 0};
  values.aux2036 = {0, 0, 0};
  values.aux2030 = 0;
  values.aux8031 = 0.0f;
  values.aux0028 = 0;
  values.aux703C = 0;
  values.auxC03D = {0, 0};
}

void applyDefaults(RecordValues& values, const Presence& present) {
  if (!present.date) values.date = 0;
  if (!present.time) values.time = 0;
  if (!present.label) values.label.clear();
  if (!present.aux0006) values.aux0006 = 0;
  if (!present.altSerial) values.altSerial = 0;
  if (!present.mode) values.modeWord = 0x3FFF;
  if (!present.aux4012) values.aux4012 = 0xFFFE;
  if (!present.aux4010) values.aux4010 = 0;
  if (!present.channelKinds) values.channelKinds = 0xFFFF;
  if (!present.unitIndexes) values.unitIndexes = 0xFFFF;
  if (!present.serial && present.altSerial) values.vin = 0;
  if (values.vin == 0 && values.altSerial != 0) values.vin = values.altSerial;
}

void placeHistogram(const Scratch& scratch, ChannelTables& channels) {
  const std::uint32_t k = scratch.histogramCount;
  if (!scratch.positionGiven || k == 0 || scratch.channelMark == 0) return;
  const std::uint32_t rows = static_cast<std::uint32_t>(kHistogramSlots) / k;
  const std::uint32_t row = scratch.position % rows;
  const std::uint32_t t = scratch.position / rows;
  const std::uint32_t channel = t % scratch.channelMark;
  const std::uint32_t block = t / scratch.channelMark;
  if (channel >= kChannelSlots || block >= channels[channel].statistics.size()) return;
  if (kHistogramSlots < std::size_t{row} * k + k) return;
  Histogram& slots = channels[channel].statistics[block].histogram.writable();
  std::copy_n(scratch.histogram.begin(), k, slots.begin() + std::size_t{row} * k);
}

void spreadEndPoints(const Scratch& scratch, RecordValues& values) {
  for (std::size_t g = 0; g < 3; ++g) {
    if (scratch.endPoint[g] == EndPointMode::None) continue;
    std::vector<double>& list = values.bandFrequencies[g];
    const std::size_t n = list.size();
    if (n < 2) continue;
    const double first = list[0], last = list[1];
    const std::size_t m = scratch.endPoint[g] == EndPointMode::WholeList
                              ? n
                              : std::min<std::size_t>(n, values.bandCountOverride[g]);
    for (std::size_t i = 0; i < m; ++i)
      // One point cannot be spread between two ends: it takes the first.
      list[i] = m == 1 ? first : first + static_cast<double>(i) * (last - first) / static_cast<double>(m - 1);
    for (std::size_t i = m; i < n; ++i) list[i] = 0.0;
  }
}

void resetState(RecordValues& values, ChannelTables& channels, DeviceDescription& description) {
  values.channelNames.clear();
  for (auto& names : values.bandNames) names.clear();
  for (auto& list : values.bandFrequencies) list.clear();
  values.vin = 0;
  description.channelCount = 0;
  description.bandCount = {0, 0, 0};
  description.parameterCount = {0, 0, 0};
  description.perChannelLimit = 1;
  for (ChannelValues& ch : channels) {
    ch.overloadFlag = ch.underloadFlag = 0;
    ch.correction = ch.sensitivity = ch.reference = 0.0;
    ch.extraReferences = {0.0, 0.0, 0.0};
    ch.sensorName.clear();
    ch.unitText.clear();
    for (auto& text : ch.channelTexts) text.clear();
    ch.statistics.clear();
    ch.percentileFormats.clear();
  }
  channels.resetTables({});
}

}  // namespace

bool prepareDecoding(const DeviceCatalogue& catalogue, std::uint16_t typeCode, RecordValues& values,
                     ChannelTables& channels, DeviceDescription& description, const ShapeTables& shapeTables) {
  const DeviceDescription* found = catalogue.findDescription(typeCode);
  const bool usable = found != nullptr && !found->layout.empty();
  if (usable) description = *found;
  resetState(values, channels, description);
  if (!usable) return false;

  deriveCounts(description);
  std::uint32_t slots = 0;  // S
  std::array<bool, 3> endPointAxis{false, false, false};
  for (const ParameterCode c : description.layout) {
    const std::uint32_t kind = code::kind(c);
    if (kind == 0x016 || kind == 0x017) {
      slots = std::max(slots, (c & 0xFF) + 1);
    } else if (kind == 0x01F || kind == 0x020) {
      const std::uint32_t s = frequencyGroupField(c);
      if (s == 0) continue;
      const std::size_t g = s - 1;
      const std::uint32_t b = c & 0xFFF;
      std::vector<double>& list = values.bandFrequencies[g];
      if (b == 0xFFE || b == 0xFFF || b == 0xFFD) {
        list.resize(2, 0.0);
        if (b != 0xFFE) endPointAxis[g] = true;
      } else if (b >= list.size()) {
        list.resize(b + 1, 0.0);
        description.bandCount[g] = std::max(description.bandCount[g], static_cast<std::int32_t>(b + 1));
      }
    }
  }
  for (std::size_t g = 0; g < 3; ++g)
    if (endPointAxis[g]) values.bandFrequencies[g].resize(static_cast<std::size_t>(description.bandCount[g]), 0.0);

  std::uint64_t cells = 0;
  for (std::size_t g = 0; g < 3; ++g)
    cells += static_cast<std::uint64_t>(std::max(description.parameterCount[g], 0)) *
             static_cast<std::uint64_t>(std::max(description.bandCount[g], 0));
  if (cells * kChannelSlots > kMaxTableCells) {
    resetState(values, channels, description);
    return false;
  }

  const std::uint32_t blocks = std::min(description.blockCount, kMaxStatisticsBlocks);
  const std::uint32_t perBlock = description.blockCount == 0 ? 0 : slots / description.blockCount;
  ChannelTables::Shape shape{};
  for (auto& groups : shape)
    for (std::size_t g = 0; g < 3; ++g)
      groups[g] = {static_cast<std::size_t>(description.parameterCount[g]),
                   static_cast<std::size_t>(description.bandCount[g])};
  const ChannelTables::Shape catalogueShape = shape;
  if (shapeTables) shapeTables(description, shape);
  channels.resetTables(shape);
  // One empty block made once and copied to every slot.
  StatisticsBlock block;
  block.entries.resize(perBlock);
  const std::vector<std::uint32_t> noFormats(perBlock, 0);
  for (ChannelValues& ch : channels) {
    ch.statistics.assign(blocks, block);
    ch.percentileFormats.assign(blocks, noFormats);
  }

  for (std::size_t i = 0; i < description.layout.size(); ++i) {
    const ParameterCode c = description.layout[i];
    if (code::isBanded(c)) {
      const std::uint32_t group = code::groupField(c);
      if (group < 1 || group > 3) continue;
      FormatTable& table = channels[code::channel(c)].formats[group - 1];
      const auto [rows, bands] = catalogueShape[code::channel(c)][group - 1];
      const std::uint32_t p = code::parameter(c, description.wideBandIndex);
      const std::uint32_t b = code::band(c, description.wideBandIndex);
      if (p < std::min(rows, table.size()) && b < std::min(bands, table.columns()))
        table[p][b] = description.formatOf(i);
    } else if (code::kind(c) == 0x017) {
      ChannelValues& ch = channels[(c >> 12) & 0xF];
      if (ch.statistics.empty() || ch.statistics[0].entries.empty()) continue;
      const std::size_t entries = ch.statistics[0].entries.size();
      const std::size_t n = (c & 0xFF) / entries, r = (c & 0xFF) % entries;
      if (n < ch.percentileFormats.size() && r < ch.percentileFormats[n].size())
        ch.percentileFormats[n][r] = description.formatOf(i);
    }
  }
  return true;
}

namespace {

// The decoding of one record, over the steps `stepAt(i)` gives for the i-th
// entry of the layout (a plan's, or each worked out as it comes).
// `lastNames`, when given, holds the names the record before wrote into this
// state, or is empty when not known: the same names in the same order
// would write nothing new.
template <typename StepAt>
std::uint16_t decodeSteps(std::span<const std::uint8_t> record, ChannelTables& channels, RecordValues& values,
                          const DeviceDescription& description, StepAt stepAt,
                          std::vector<PercentileNameWord>* lastNames, bool* namesKnown) {
  Scratch scratch;
  resetRecord(values);
  if (values.typeCode == 141 || values.typeCode == 143) {
    values.vin = 0x20000;
    scratch.present.serial = true;
  }
  std::uint16_t result = values.typeCode;

  double* const cells = channels.valueCells();
  std::size_t cursor = 0;
  for (std::size_t i = 0, n = description.layout.size(); i < n; ++i) {
    const DecodeStep& step = stepAt(i);
    if (step.size > record.size() - cursor) break;  // the rest of the layout lies past the record
    const std::uint8_t* p = record.data() + cursor;
    cursor += step.size;
    const ParameterCode c = step.code;
    switch (step.action) {
      case DecodeStep::Raw:
        if (scratch.rawIndex >= values.rawWords.size()) values.rawWords.resize(scratch.rawIndex + 1);
        values.rawWords[scratch.rawIndex++] = loadLE16(p);
        break;
      case DecodeStep::Cell:
        scratch.channelMark = std::max(scratch.channelMark, code::channel(c) + 1);
        cells[step.cell] = bandedValue(code::valueType(c), p);
        break;
      case DecodeStep::Other:
        scratch.channelMark = std::max(scratch.channelMark, code::channel(c) + 1);
        channels[code::channel(c)].otherValues[c & 0x0FFFFFFF] = bandedValue(code::valueType(c), p);
        break;
      case DecodeStep::Mark:
        scratch.channelMark = std::max(scratch.channelMark, code::channel(c) + 1);
        break;
      case DecodeStep::Special:
        if (!decodeSpecial(c, p, channels, values, description, scratch, result)) i = n;
        break;
    }
  }

  if (scratch.namesBuffered) {
    const std::span<const PercentileNameWord> names(scratch.names.data(), scratch.nameCount);
    const bool same = lastNames != nullptr && *namesKnown && std::equal(names.begin(), names.end(), lastNames->begin(), lastNames->end());
    if (!same) writeNames(names, channels);
    if (lastNames != nullptr) {
      lastNames->assign(names.begin(), names.end());  // within the capacity the plan gave it
      *namesKnown = true;
    }
  } else if (lastNames != nullptr) {
    *namesKnown = false;
  }
  applyDefaults(values, scratch.present);
  placeHistogram(scratch, channels);
  spreadEndPoints(scratch, values);
  ++values.decodedCount;
  return result;
}

}  // namespace

std::uint32_t recordValueSize(ParameterCode c) { return sizeInRecord(c); }

DecodingPlan::DecodingPlan(const DeviceDescription& description, const ChannelTables& channels)
    : shape_(channels.shape()), layoutSize_(description.layout.size()) {
  steps_.reserve(description.layout.size());
  for (const ParameterCode c : description.layout) steps_.push_back(stepOf(c, channels, description));
  lastNames_.reserve(kNameBuffer);  // a record buffers no more names than this
}

bool DecodingPlan::fits(const ChannelTables& channels, const DeviceDescription& description) const {
  return layoutSize_ == description.layout.size() && shape_ == channels.shape();
}

std::uint16_t decodeRecord(std::span<const std::uint8_t> record, ChannelTables& channels,
                           RecordValues& values, const DeviceDescription& description) {
  return decodeSteps(record, channels, values, description,
                     [&](std::size_t i) { return stepOf(description.layout[i], channels, description); }, nullptr,
                     nullptr);
}

std::uint16_t decodeRecord(std::span<const std::uint8_t> record, ChannelTables& channels, RecordValues& values,
                           const DeviceDescription& description, DecodingPlan& plan) {
  if (!plan.fits(channels, description)) {
    plan.namesKnown_ = false;  // written without the plan's knowing
    return decodeRecord(record, channels, values, description);
  }
  return decodeSteps(
      record, channels, values, description, [&](std::size_t i) -> const DecodeStep& { return plan.steps_[i]; },
      &plan.lastNames_, &plan.namesKnown_);
}

bool hasSameType(std::span<const std::uint8_t> record, const RecordValues& values,
                 const DeviceDescription& description) {
  if (description.typeEchoOffset < 0) return true;
  const std::size_t offset = static_cast<std::size_t>(description.typeEchoOffset) & ~std::size_t{1};
  if (offset + 2 > record.size()) return true;  // no echo to test within the record
  return loadLE16(record.data() + offset) == values.typeCode;
}

void decodeIfSameType(std::span<const std::uint8_t> record, ChannelTables& channels,
                      RecordValues& values, const DeviceDescription& description) {
  if (hasSameType(record, values, description)) decodeRecord(record, channels, values, description);
}

RecordTime recordTime(const RecordValues& values) { return recordTimeFromFields(values.date, values.time); }

}  // namespace sonvera
