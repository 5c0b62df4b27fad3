#include "fuzz_case.h"

#include <sys/mman.h>
#include <unistd.h>

#include <filesystem>

#include "samples/measurement_writer.h"
#include "measurement/record_decoder.h"

namespace sonvera::fuzz {
namespace {

// The upper halves of the codes the decoder treats specially.
constexpr std::uint16_t kSpecialCodes[] = {
    0x0001, 0x0002, 0x0006, 0x0017, 0x0028, 0x200E, 0x2011, 0x2019, 0x201B, 0x201C, 0x2021, 0x2022, 0x2025,
    0x202E, 0x2030, 0x2032, 0x2036, 0x3018, 0x4010, 0x4012, 0x4013, 0x4014, 0x401E, 0x5004, 0x5007, 0x5008,
    0x500A, 0x500B, 0x500C, 0x502C, 0x5033, 0x6016, 0x700E, 0x701D, 0x7020, 0x7023, 0x7024, 0x703A, 0x703C,
    0x800F, 0x8020, 0x8031, 0x901F, 0xB00F, 0xB034, 0xB035, 0xB039, 0xB03A, 0xC03B, 0xC03D, 0xF003, 0xF005,
    0xF01A, 0xF02F, 0xF037};
// Kinds whose meaning does not depend on the value type.
constexpr std::uint16_t kKinds[] = {0x016, 0x017, 0x01F, 0x020, 0x00A, 0x018, 0x01B, 0x013, 0x014, 0x01E, 0x005};
constexpr double kReferences[] = {1.0, 2e-5, 1e-6, 1e-9, 0.0, -1.0, 1e300};

ParameterCode drawCode(FuzzInput& in) {
  switch (in.below(5)) {
    case 0: {
      const ParameterCode special = ParameterCode{kSpecialCodes[in.below(std::size(kSpecialCodes))]} << 16;
      std::uint32_t low = in.u16();
      // Band frequencies far out make the tables thousands of bands wide: now and then only.
      const std::uint32_t kind = code::kind(special);
      if ((kind == 0x01F || kind == 0x020) && in.below(32) != 0) low = (low & 0xF000) | low % 48;
      // So do percentile numbers far out: every channel slot gets blocks of that many entries.
      if ((kind == 0x016 || kind == 0x017) && in.below(32) != 0) low = (low & 0xFF00) | low % 48;
      return special | low;
    }
    case 1: {
      const std::uint32_t type = in.below(16), kindClass = 1 + in.below(2);
      const std::uint32_t group = in.below(8) == 0 ? in.below(16) : 1 + in.below(3);
      const std::uint32_t channel = in.below(4) == 0 ? in.below(16) : in.below(2);
      // Bands far out are drawn now and then: they make large tables, which are slow.
      const std::uint32_t parameter = in.below(6), band = in.below(32) == 0 ? in.u8() : in.below(20);
      return type << 28 | kindClass << 24 | group << 20 | channel << 16 | parameter << 8 | band;
    }
    case 2: {
      // Mostly small low halves: band frequencies far out make huge tables and a slow fuzzer.
      const std::uint32_t low = in.below(32) == 0 ? in.u16() : in.below(4) << 12 | in.below(48);
      return std::uint32_t{in.below(16)} << 28 | std::uint32_t{kKinds[in.below(std::size(kKinds))]} << 16 | low;
    }
    default: {
      // Any word; as a banded code it mostly keeps small parameter and band
      // numbers, since tables of 256 x 256 cells per group and channel slot
      // cost milliseconds to fill and copy for every input.
      const std::uint32_t word = in.u32();
      return code::isBanded(word) && in.below(64) != 0 ? (word & ~0xF0F0u) : word;
    }
  }
}

std::uint32_t drawFormat(FuzzInput& in) {
  switch (in.below(4)) {
    case 0: return kDefaultFormat;
    case 1: return in.u16();
    case 2: return 0x8000;
    default: return in.u32();
  }
}

std::vector<std::string> texts(FuzzInput& in, std::size_t maxCount, std::size_t maxLength) {
  std::vector<std::string> out(in.below(static_cast<std::uint32_t>(maxCount + 1)));
  for (auto& t : out) t = in.text(maxLength);
  return out;
}

DeviceDescription drawDescription(FuzzInput& in) {
  DeviceDescription d;
  const std::size_t entries = 1 + in.below(48);
  if (in.flag()) d.layout.push_back(code::kTypeEcho);
  while (d.layout.size() < entries) d.layout.push_back(drawCode(in));
  for (std::size_t i = 0; i < d.layout.size(); ++i) d.formats.push_back(drawFormat(in));
  if (in.flag()) d.formats.resize(in.below(static_cast<std::uint32_t>(d.formats.size() + 1)));
  d.bandNameStart = {static_cast<std::uint16_t>(in.below(12)), static_cast<std::uint16_t>(in.below(12))};
  d.bandNameStep = {static_cast<std::uint16_t>(in.below(4)), static_cast<std::uint16_t>(in.below(4))};
  d.bandNameStart2 = in.below(12);
  d.blockCount = in.below(4);
  d.wideBandIndex = in.below(8) == 0 ? 1 : 0;
  d.defaultReference = kReferences[in.below(std::size(kReferences))];
  for (std::size_t g = 0; g < 3; ++g) {
    d.groupTitles[g] = in.text(6);
    d.groupColumnTitles[g] = in.text(4);
  }
  for (std::uint32_t i = 0, n = in.below(8); i < n; ++i) d.parameterNames[in.below(10)] = in.text(6);
  for (const ParameterCode c : d.layout) d.recordSize += recordValueSize(c);
  if (in.below(8) == 0) d.recordSize = in.below(d.recordSize + 16);
  d.typeEchoOffset = computeTypeEchoOffset(d);
  return d;
}

ExtraParameterTable drawExtraTable(FuzzInput& in) {
  ExtraParameterTable t;
  t.name = in.text(6);
  t.bandNames = texts(in, 4, 4);
  t.parameterNames = texts(in, 4, 5);
  t.codes.resize(in.flag() ? t.parameterNames.size() : in.below(5));
  for (auto& row : t.codes) {
    row.resize(in.flag() ? t.bandNames.size() : in.below(5));
    for (auto& c : row) c = in.below(4) == 0 ? (0xF0000000u | in.u32()) : drawCode(in);
  }
  t.formats.resize(t.codes.size());
  for (std::size_t p = 0; p < t.codes.size(); ++p)
    for (std::size_t b = 0; b < t.codes[p].size(); ++b) t.formats[p].push_back(drawFormat(in));
  return t;
}

HeaderSource drawHeader(FuzzInput& in, const DeviceDescription& d, std::uint16_t typeCode, std::uint16_t model) {
  HeaderSource h;
  h.typeCode = in.below(16) == 0 ? in.u16() : typeCode;
  h.modelCode = model;
  h.flags = in.u16();
  h.recordSize = in.below(8) == 0 ? in.u32() % 100000 : d.recordSize;
  h.vin = in.u32();
  h.text = in.text(12);
  h.channelNames = texts(in, 5, 6);
  for (std::uint32_t i = 0, n = in.below(5); i < n; ++i) h.channelWords.push_back(in.u16());
  h.parameterNames = texts(in, 6, 6);
  h.bandCount = static_cast<std::uint16_t>(in.below(24));
  for (std::uint32_t g = 0, n = in.below(4); g < n; ++g) h.bandNames.push_back(texts(in, 6, 5));
  h.groupNames = texts(in, 3, 6);
  for (std::uint32_t i = 0, n = in.below(4); i < n; ++i) h.bandNameStarts.push_back(static_cast<std::uint16_t>(in.below(30)));
  for (std::uint32_t i = 0, n = in.below(5); i < n; ++i) {
    CalibrationSource c;
    c.correction = static_cast<float>(static_cast<std::int16_t>(in.u16())) / 100.0f;
    c.sensitivity = static_cast<float>(in.u16()) * 1e-5f;
    c.reference = in.flag() ? 0.0f : static_cast<float>(in.u16()) * 1e-7f;
    c.sensorName = in.text(16);
    c.unitText = in.text(6);
    h.calibration.push_back(c);
  }
  for (std::uint32_t i = 0, n = in.below(3); i < n; ++i) {
    ExtraRecord record{};
    for (auto& b : record) b = in.u8();
    h.extraRecords.push_back(record);
  }
  if (in.below(4) != 0) {
    h.layout = d.layout;
    for (const std::uint32_t f : d.formats) h.formats.push_back(static_cast<std::uint16_t>(f));
  }
  return h;
}

}  // namespace

std::string FuzzInput::text(std::size_t maxLength) {
  static const char* const kLetters[] = {"a", "Z", "7", " ", ".", "-", "Д", "ж", "Ё", "/", "%"};
  std::string out;
  for (std::size_t i = 0, n = below(static_cast<std::uint32_t>(maxLength + 1)); i < n; ++i)
    out += kLetters[below(std::size(kLetters))];
  return out;
}

FuzzCase buildCase(FuzzInput& in) {
  FuzzCase c;
  DeviceCatalogue& catalogue = c.catalogue;
  catalogue.units.fill(in.flag());
  catalogue.bandNames = {"b0", "b1", "Ж2", "b3", "b4", "b5", "b6", "b7"};
  const auto variant = static_cast<FileVariant>(in.below(3));
  switch (in.below(4)) {
    case 0: c.typeCode = 21; break;
    case 1: c.typeCode = 86; break;  // cells of dates and times
    case 2: c.typeCode = 0; break;
    default: c.typeCode = in.u16();
  }
  // Legacy files name their type by the model code.
  const auto model = static_cast<std::uint16_t>(variant == FileVariant::Legacy ? c.typeCode + kLegacyTypeOffset
                                                                                 : in.below(4));
  InstrumentModel m;
  m.name = in.text(8);
  for (auto& unit : m.channelUnits) unit = in.text(4);
  for (auto& name : m.channelNames) name = in.text(4);
  catalogue.models[model] = m;

  const DeviceDescription d = drawDescription(in);
  catalogue.descriptions[c.typeCode] = d;
  for (std::uint32_t i = 0, n = in.below(3); i < n; ++i) catalogue.extraTableMap.emplace(c.typeCode, drawExtraTable(in));

  // The header by the file writer, then the records straight from the input
  // into the same buffer.
  MeasurementFileSource source;
  source.variant = variant;
  if (variant == FileVariant::SelfDescribing) source.header = drawHeader(in, d, c.typeCode, model);
  c.fileBytes = measurementFileBytes(source);
  const std::uint32_t recordBytes = std::min<std::uint32_t>(d.recordSize, 8192);
  const std::uint32_t records = in.below(24);
  c.fileBytes.reserve(c.fileBytes.size() + std::size_t{records} * recordBytes + 8);
  for (std::uint32_t i = 0; i < records; ++i) {
    const std::size_t start = c.fileBytes.size();
    in.appendBytes(c.fileBytes, recordBytes);
    // Most records carry their type where the layout echoes it.
    if (d.typeEchoOffset >= 0 && static_cast<std::uint32_t>(d.typeEchoOffset) + 2 <= recordBytes && in.below(4) != 0) {
      c.fileBytes[start + static_cast<std::size_t>(d.typeEchoOffset)] = static_cast<std::uint8_t>(c.typeCode);
      c.fileBytes[start + static_cast<std::size_t>(d.typeEchoOffset) + 1] = static_cast<std::uint8_t>(c.typeCode >> 8);
    }
  }
  in.appendBytes(c.fileBytes, in.below(8));
  // A few bytes changed anywhere, headers included.
  for (std::uint32_t i = 0, n = in.below(4); i < n && !c.fileBytes.empty(); ++i)
    c.fileBytes[in.u32() % c.fileBytes.size()] = in.u8();
  return c;
}

MemoryFile::MemoryFile() {
  fd_ = ::memfd_create("sonvera-fuzz", 0);
  if (fd_ >= 0) path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool MemoryFile::store(std::span<const std::uint8_t> bytes) {
  if (fd_ < 0 || ::ftruncate(fd_, 0) != 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string scratchFolder(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path base =
      std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path(ec);
  const std::filesystem::path folder = base / (name + "-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder, ec);
  return folder.string();
}

}  // namespace sonvera::fuzz
