#include "catalogue/catalogue_loader.h"

#include <algorithm>

#include "base/byte_reader.h"
#include "base/utf16.h"
#include "platform/platform.h"

namespace sonvera {
namespace {

// The smallest encodings, used to refuse counts the remaining bytes cannot hold.
constexpr std::size_t kTextMin = 4;
constexpr std::size_t kTypeRecordMin = 4 * 9 + 8 * 2 + 4 * 3;
constexpr std::size_t kModelRecordMin = 8;
constexpr std::size_t kSection4Min = 4 + 8 + 8 + 4 + 4 + 32 + 48 + 4;

class Loader {
 public:
  Loader(std::span<const std::uint8_t> bytes, std::string_view language, DeviceCatalogue& out)
      : in_(bytes), language_(utf8ToUtf16(language)), out_(out) {}

  bool run() {
    if (in_.u32() != kCatalogueMagic || !in_.ok()) return false;
    version_ = in_.u32();
    if (!in_.ok() || version_ > kCatalogueLatestVersion) return false;
    if (!readTypes() || !readModels() || !readBandNames() || !skipUnusedSections()) return false;
    if (version_ >= 12 && !readTranslations()) return false;
    if (version_ >= 14 && !readExtraTables()) return false;
    for (auto& [code, description] : out_.descriptions)
      description.typeEchoOffset = computeTypeEchoOffset(description);
    out_.units.fill(language_ == utf8ToUtf16(kRussianLanguage));
    return anyModel_;
  }

 private:
  std::string text() { return utf16ToUtf8(in_.text16()); }
  void noteLanguage(const std::u16string& language) {
    if (!in_.ok()) return;
    const std::string name = utf16ToUtf8(language);
    auto& seen = out_.languages;
    if (std::find(seen.begin(), seen.end(), name) == seen.end()) seen.push_back(name);
  }
  bool matches() { return in_.text16() == language_ && in_.ok(); }

  // A u16 (versions below 15) or u32 format word.
  std::uint32_t formatWord() { return version_ >= 15 ? in_.u32() : in_.u16(); }

  bool readTypes() {
    const std::uint32_t n = in_.count(kTypeRecordMin);
    for (std::uint32_t i = 0; i < n && in_.ok(); ++i) {
      const auto typeCode = static_cast<std::int32_t>(in_.u32());
      DeviceDescription d;
      const std::uint32_t layoutCount = in_.count(4);
      d.layout.reserve(layoutCount);
      for (std::uint32_t k = 0; k < layoutCount; ++k) d.layout.push_back(in_.u32());
      if (version_ >= 4) {
        const std::uint32_t formatCount = in_.count(version_ >= 15 ? 4 : 2);
        d.formats.reserve(formatCount);
        for (std::uint32_t k = 0; k < formatCount; ++k) d.formats.push_back(formatWord());
      } else {
        d.formats.assign(d.layout.size(), 0xFFFF);
      }
      const std::uint32_t word1 = in_.u32();
      d.bandNameStart[0] = static_cast<std::uint16_t>(word1);
      d.bandNameStep[0] = (word1 >> 16) == 0 ? 3 : static_cast<std::uint16_t>(word1 >> 16);
      if (version_ >= 11) {
        const std::uint32_t word2 = in_.u32();
        d.bandNameStart[1] = static_cast<std::uint16_t>(word2);
        d.bandNameStep[1] = (word2 >> 16) == 0 ? 1 : static_cast<std::uint16_t>(word2 >> 16);
      } else if (d.bandNameStart[0] == 0) {
        d.bandNameStart[1] = 0xFFFF;
        d.bandNameStep[1] = 0xFFFF;
      } else {
        d.bandNameStart[1] = static_cast<std::uint16_t>(d.bandNameStart[0] - 1);
        d.bandNameStep[1] = 1;
      }
      d.bandNameStart2 = in_.u32();
      for (auto& w : d.reservedWords) w = in_.u32();
      d.blockCount = in_.u32();
      d.reservedReal = in_.f64();
      const std::uint32_t reservedCount = in_.count(4);
      d.reservedList.reserve(reservedCount);
      for (std::uint32_t k = 0; k < reservedCount; ++k) d.reservedList.push_back(in_.u32());
      d.defaultReference = in_.f64();
      readTitleBlocks(d);
      d.recordSize = in_.u32();
      d.wideBandIndex = version_ >= 3 ? in_.u32() : 0;
      d.reservedFlag = version_ >= 13 ? in_.u32() : 0;
      readParameterNameBlocks(d);
      if (!in_.ok()) return false;
      out_.descriptions.insert_or_assign(typeCode, std::move(d));
    }
    return in_.ok();
  }

  void readTitleBlocks(DeviceDescription& d) {
    const std::uint32_t blocks = in_.count(kTextMin * 7);
    for (std::uint32_t b = 0; b < blocks && in_.ok(); ++b) {
      const bool match = matches();
      std::array<std::string, 6> titles;
      for (auto& t : titles) t = text();
      if (match && in_.ok()) {
        for (std::size_t g = 0; g < 3; ++g) {
          d.groupTitles[g] = std::move(titles[g]);
          d.groupColumnTitles[g] = std::move(titles[g + 3]);
        }
      }
    }
  }

  void readParameterNameBlocks(DeviceDescription& d) {
    const std::uint32_t blocks = in_.count(kTextMin + 4);
    for (std::uint32_t b = 0; b < blocks && in_.ok(); ++b) {
      const bool match = matches();
      std::map<std::uint32_t, std::string> names;
      const std::uint32_t entries = in_.count(4 + kTextMin);
      for (std::uint32_t e = 0; e < entries && in_.ok(); ++e) {
        const std::uint32_t index = in_.u32();
        names[index] = text();
      }
      if (match && in_.ok()) d.parameterNames = std::move(names);
    }
  }

  bool readModels() {
    const std::uint32_t n = in_.count(kModelRecordMin);
    for (std::uint32_t i = 0; i < n && in_.ok(); ++i) {
      const auto modelCode = static_cast<std::int32_t>(in_.u32());
      const std::uint32_t blocks = in_.count(kTextMin * (version_ >= 7 ? 10 : 6));
      for (std::uint32_t b = 0; b < blocks && in_.ok(); ++b) {
        const std::u16string language = in_.text16();
        const bool match = language == language_ && in_.ok();
        noteLanguage(language);
        InstrumentModel model;
        model.name = text();
        for (auto& u : model.channelUnits) u = text();
        if (version_ >= 7)
          for (auto& name : model.channelNames) name = text();
        if (match && in_.ok()) {
          out_.models.insert_or_assign(modelCode, std::move(model));
          anyModel_ = true;
        }
      }
    }
    return in_.ok();
  }

  bool readBandNames() {
    const std::uint32_t n = in_.count(kTextMin);
    BandNameList names;
    names.reserve(n);
    for (std::uint32_t i = 0; i < n && in_.ok(); ++i) names.push_back(text());
    if (!in_.ok()) return false;
    out_.bandNames = std::move(names);
    return true;
  }

  // Sections 4, 5 and 6 are parsed only to reach what follows them.
  bool skipUnusedSections() {
    const std::uint32_t n4 = in_.count(kSection4Min);
    for (std::uint32_t i = 0; i < n4 && in_.ok(); ++i) {
      in_.skip(kSection4Min - 4);
      const std::uint32_t listCount = in_.count(4);
      in_.skip(std::size_t{listCount} * 4);
    }
    if (version_ < 5) {
      const std::uint32_t n5 = in_.count(kTextMin + 12);
      for (std::uint32_t i = 0; i < n5 && in_.ok(); ++i) {
        in_.text16();
        in_.skip(12);
      }
    } else {
      const std::size_t entryMin = kTextMin * (1 + (version_ >= 8) + (version_ >= 9)) + 12;
      const std::uint32_t blocks = in_.count(kTextMin + 4);
      for (std::uint32_t b = 0; b < blocks && in_.ok(); ++b) {
        in_.text16();
        const std::uint32_t entries = in_.count(entryMin);
        for (std::uint32_t e = 0; e < entries && in_.ok(); ++e) {
          in_.text16();
          if (version_ >= 8) in_.text16();
          if (version_ >= 9) in_.text16();
          in_.skip(12);
        }
      }
    }
    if (version_ >= 6) {
      const std::uint32_t n6 = in_.count(8);
      in_.skip(std::size_t{n6} * 8);
    }
    return in_.ok();
  }

  bool readTranslations() {
    const std::uint32_t blocks = in_.count(kTextMin + 4);
    for (std::uint32_t b = 0; b < blocks && in_.ok(); ++b) {
      const bool match = matches();
      const std::uint32_t entries = in_.count(4 + kTextMin);
      for (std::uint32_t e = 0; e < entries && in_.ok(); ++e) {
        const std::uint32_t index = in_.u32();
        std::string name = text();
        if (match && in_.ok() && index < out_.bandNames.size())
          out_.bandNames[index] = std::move(name);
      }
    }
    return in_.ok();
  }

  bool readExtraTables() {
    const std::uint32_t n = in_.count(4 + kTextMin * 2 + 8);
    const std::size_t wordSize = version_ >= 15 ? 4 : 2;
    for (std::uint32_t i = 0; i < n && in_.ok(); ++i) {
      const std::uint32_t typeCode = in_.u32();
      const bool match = matches();
      ExtraParameterTable table;
      table.name = text();
      const std::uint32_t bands = in_.u32();
      const std::uint32_t parameters = in_.u32();
      // The texts and the two P x B word tables must fit in what is left.
      const std::uint64_t cells = std::uint64_t{bands} * parameters;
      const std::uint64_t least = (std::uint64_t{bands} + parameters) * kTextMin + cells * (4 + wordSize);
      if (!in_.ok() || least > in_.remaining()) return false;
      table.bandNames.reserve(bands);
      for (std::uint32_t b = 0; b < bands; ++b) table.bandNames.push_back(text());
      table.parameterNames.reserve(parameters);
      for (std::uint32_t p = 0; p < parameters; ++p) table.parameterNames.push_back(text());
      table.codes.assign(parameters, std::vector<ParameterCode>(bands));
      for (auto& row : table.codes)
        for (auto& c : row) c = in_.u32();
      table.formats.assign(parameters, std::vector<std::uint32_t>(bands));
      for (auto& row : table.formats)
        for (auto& f : row) f = formatWord();
      if (match && in_.ok()) out_.extraTableMap.emplace(typeCode, std::move(table));
    }
    return in_.ok();
  }

  ByteReader in_;
  std::u16string language_;
  DeviceCatalogue& out_;
  std::uint32_t version_ = 0;
  bool anyModel_ = false;
};

}  // namespace

bool loadCatalogue(std::span<const std::uint8_t> bytes, std::string_view language,
                   DeviceCatalogue& catalogue) {
  return Loader(bytes, language, catalogue).run();
}

bool loadCatalogueFile(const std::string& path, std::string_view language,
                       DeviceCatalogue& catalogue) {
  std::vector<std::uint8_t> bytes;
  if (!platform::readWholeFile(path, bytes)) return false;
  catalogue.sourcePath = path;
  return loadCatalogue(bytes, language, catalogue);
}

std::string cataloguePathFor(const std::string& programFolder, const std::string& dataFolder) {
  if (const auto env = platform::environmentVariable("SONVERA_CATALOGUE"); env && !env->empty()) return *env;
  const std::string beside = programFolder + std::string(kCatalogueFileName);
  if (platform::isRegularFile(beside)) return beside;
  // An installed program finds its catalogue in the installation's data folder.
  if (!dataFolder.empty()) {
    const std::string installed = dataFolder + std::string(kCatalogueFileName);
    if (platform::isRegularFile(installed)) return installed;
  }
  return beside;
}

std::string defaultCataloguePath() {
  return cataloguePathFor(platform::executableDirectory(), platform::installedDataDirectory());
}

}  // namespace sonvera
