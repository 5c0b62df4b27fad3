#pragma once
// A multilingual catalogue as its author describes it: the input of the
// catalogue writer. Every text block carries its language name.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/device_catalogue.h"

namespace sonvera {

struct TitleBlockSource {
  std::string language;
  std::array<std::string, 3> groupTitles;
  std::array<std::string, 3> groupColumnTitles;
};

struct ParameterNameBlockSource {
  std::string language;
  std::vector<std::pair<std::uint32_t, std::string>> names;  // index, text
};

struct TypeSource {
  std::uint32_t typeCode = 0;
  std::vector<ParameterCode> layout;
  std::vector<std::uint32_t> formats;  // stored from version 4 on
  // Written as start | step << 16; a step of 0 reads back as the default.
  std::array<std::uint16_t, 2> bandNameStart{0, 0};
  std::array<std::uint16_t, 2> bandNameStep{3, 1};
  std::uint32_t bandNameStart2 = 0;
  std::array<std::uint32_t, 3> reservedWords{0, 0, 0};
  std::uint32_t blockCount = 0;
  double reservedReal = 0.0;
  std::vector<std::uint32_t> reservedList;
  double defaultReference = 1.0;
  std::vector<TitleBlockSource> titles;
  std::uint32_t recordSize = 0;
  std::uint32_t wideBandIndex = 0;  // from version 3 on
  std::uint32_t reservedFlag = 0;   // from version 13 on
  std::vector<ParameterNameBlockSource> parameterNames;
};

struct ModelBlockSource {
  std::string language;
  InstrumentModel model;  // channel names are stored from version 7 on
};

struct ModelSource {
  std::uint32_t modelCode = 0;
  std::vector<ModelBlockSource> blocks;
};

struct BandNameTranslationSource {
  std::string language;
  std::vector<std::pair<std::uint32_t, std::string>> names;  // index, text
};

struct ExtraTableSource {
  std::uint32_t typeCode = 0;
  std::string language;
  ExtraParameterTable table;
};

// Records of sections 4 to 6, which the program parses but does not use.
struct Section4Record {
  std::uint32_t key = 0;
  double real1 = 0, real2 = 0;
  std::uint32_t word1 = 0, word2 = 0;
  std::array<std::uint16_t, 16> shorts{};
  std::array<double, 6> reals{};
  std::vector<std::uint32_t> list;
};

struct Section5Entry {
  std::array<std::string, 3> texts;  // the second from version 8, the third from 9
  std::array<std::uint32_t, 3> words{};
};

struct Section5Block {
  std::string language;  // versions below 5 have one flat list without languages
  std::vector<Section5Entry> entries;
};

struct CatalogueSource {
  std::vector<TypeSource> types;
  std::vector<ModelSource> models;
  std::vector<std::string> bandNames;
  std::vector<Section4Record> section4;
  std::vector<Section5Block> section5;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> section6;  // from version 6 on
  std::vector<BandNameTranslationSource> bandNameTranslations;    // from version 12 on
  std::vector<ExtraTableSource> extraTables;                      // from version 14 on
};

// The catalogue file image of `source` in format `version` (0 to 15). Fields
// that the version does not have are left out.
std::vector<std::uint8_t> writeCatalogue(const CatalogueSource& source, std::uint32_t version);

// A source that writes back what `catalogue` holds, every block tagged with
// `language`: load, then this, then write round-trips for that language.
CatalogueSource catalogueToSource(const DeviceCatalogue& catalogue, const std::string& language);

}  // namespace sonvera
