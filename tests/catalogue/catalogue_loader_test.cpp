#include <gtest/gtest.h>

#include "base/byte_writer.h"
#include "support/catalogue_builder.h"

namespace sonvera {
namespace {

using test::kRu;
using test::loadSource;
using test::makeModel;
using test::makeType;
using test::minimalSource;

// A source that uses every section, so each version leaves out something.
CatalogueSource richSource() {
  CatalogueSource s = minimalSource();
  TypeSource t = makeType(21, {0x01100000, 0x01100001, 0x201B0000}, 6);
  t.formats = {0x00D7, 0x12345, 0xFFFF};
  t.bandNameStart = {7, 4};
  t.bandNameStep = {2, 5};
  t.bandNameStart2 = 9;
  t.reservedWords = {1, 2, 3};
  t.blockCount = 2;
  t.reservedReal = 0.5;
  t.reservedList = {10, 11};
  t.defaultReference = 2e-5;
  t.wideBandIndex = 1;
  t.reservedFlag = 1;
  t.parameterNames.push_back({kRu, {{0, "Leq"}, {1, "Lmax"}}});
  s.types.push_back(t);
  s.models[0].blocks[0].model.channelNames = {"X", "Y", "Z", "D"};
  s.bandNames = {"31.5", "63", "125"};
  s.section4.push_back({7, 1.0, 2.0, 3, 4, {}, {}, {1, 2, 3}});
  s.section5.push_back({kRu, {{{"a", "b", "c"}, {1, 2, 3}}}});
  s.section6 = {{1, 2}, {3, 4}};
  s.bandNameTranslations.push_back({kRu, {{1, "63 Гц"}}});
  ExtraTableSource e{21, kRu, {"Доп", {"b0", "b1"}, {"p0"}, {{0x01400000, 0x01400001}}, {{0x00D7, 0x70000}}}};
  s.extraTables.push_back(e);
  return s;
}

TEST(CatalogueLoader, VersionsDecideWhichFieldsAreRead) {
  const CatalogueSource source = richSource();
  for (std::uint32_t version = 0; version <= 15; ++version) {
    SCOPED_TRACE(version);
    DeviceCatalogue c;
    ASSERT_TRUE(loadSource(source, version, c));
    const DeviceDescription& d = *c.findDescription(21);
    EXPECT_EQ(d.layout, source.types[0].layout);
    if (version < 4)
      EXPECT_EQ(d.formats, std::vector<std::uint32_t>(3, 0xFFFF));
    else if (version < 15)
      EXPECT_EQ(d.formats, (std::vector<std::uint32_t>{0x00D7, 0x2345, 0xFFFF}));
    else
      EXPECT_EQ(d.formats, (std::vector<std::uint32_t>{0x00D7, 0x12345, 0xFFFF}));
    EXPECT_EQ(d.wideBandIndex, version >= 3 ? 1u : 0u);
    EXPECT_EQ(d.reservedFlag, version >= 13 ? 1u : 0u);
    EXPECT_EQ(d.bandNameStart[0], 7);
    EXPECT_EQ(d.bandNameStep[0], 2);
    if (version >= 11) {
      EXPECT_EQ(d.bandNameStart[1], 4);
      EXPECT_EQ(d.bandNameStep[1], 5);
    } else {
      EXPECT_EQ(d.bandNameStart[1], 6);
      EXPECT_EQ(d.bandNameStep[1], 1);
    }
    EXPECT_EQ(d.bandNameStart2, 9u);
    EXPECT_EQ(d.reservedList, (std::vector<std::uint32_t>{10, 11}));
    EXPECT_EQ(d.blockCount, 2u);
    EXPECT_DOUBLE_EQ(d.defaultReference, 2e-5);
    EXPECT_EQ(d.recordSize, 6u);
    EXPECT_EQ(d.typeEchoOffset, 4);
    EXPECT_EQ(d.parameterNames.at(1), "Lmax");
    EXPECT_EQ(d.groupColumnTitles[2], "Общ");
    const InstrumentModel& m = *c.findModel(1);
    EXPECT_EQ(m.channelNames[3], version >= 7 ? "D" : "");
    EXPECT_EQ(c.bandNames[1], version >= 12 ? "63 Гц" : "63");
    EXPECT_EQ(c.extraTables(21).size(), version >= 14 ? 1u : 0u);
    if (version >= 14) {
      const ExtraParameterTable& t = *c.extraTables(21)[0];
      EXPECT_EQ(t.codes[0][1], 0x01400001u);
      EXPECT_EQ(t.formats[0][1], version >= 15 ? 0x70000u : 0u);
      EXPECT_EQ(t.bandNames[1], "b1");
    }
  }
  DeviceCatalogue refused;
  auto bytes = writeCatalogue(source, 15);
  bytes[4] = 16;
  EXPECT_FALSE(loadCatalogue(bytes, kRussianLanguage, refused));
  EXPECT_TRUE(refused.descriptions.empty());
}

TEST(CatalogueLoader, BandNameWordDefaults) {
  CatalogueSource s = minimalSource();
  TypeSource t = makeType(1, {}, 0);
  t.bandNameStart = {7, 0};
  t.bandNameStep = {0, 0};  // a high half of 0 means the default step
  t.bandNameStart2 = 40;
  s.types.push_back(t);
  t.typeCode = 2;
  t.bandNameStart = {0, 0};
  s.types.push_back(t);
  t.typeCode = 3;
  t.bandNameStep = {2, 0};
  s.types.push_back(t);

  DeviceCatalogue v10;
  ASSERT_TRUE(loadSource(s, 10, v10));
  const auto& d1 = *v10.findDescription(1);
  EXPECT_EQ(d1.bandNameStart, (std::array<std::uint16_t, 2>{7, 6}));
  EXPECT_EQ(d1.bandNameStep, (std::array<std::uint16_t, 2>{3, 1}));
  EXPECT_EQ(d1.bandNameStart2, 40u);
  const auto& d2 = *v10.findDescription(2);
  EXPECT_EQ(d2.bandNameStart, (std::array<std::uint16_t, 2>{0, 0xFFFF}));
  EXPECT_EQ(d2.bandNameStep, (std::array<std::uint16_t, 2>{3, 0xFFFF}));

  DeviceCatalogue v11;
  ASSERT_TRUE(loadSource(s, 11, v11));
  EXPECT_EQ(v11.findDescription(1)->bandNameStep, (std::array<std::uint16_t, 2>{3, 1}));
  EXPECT_EQ(v11.findDescription(2)->bandNameStart, (std::array<std::uint16_t, 2>{0, 0}));
  EXPECT_EQ(v11.findDescription(3)->bandNameStep[0], 2);
  EXPECT_EQ(v10.findDescription(3)->bandNameStep[0], 2);
}

TEST(CatalogueLoader, LanguageBlocksAreFilteredExactly) {
  CatalogueSource s;
  s.models.push_back(makeModel(5, "Only English", "English"));
  DeviceCatalogue english;
  EXPECT_FALSE(loadSource(s, 15, english));  // no Russian model: unusable
  EXPECT_TRUE(english.models.empty());

  s.models.push_back(makeModel(6, "Нижний регистр", "русский"));
  ModelSource both = makeModel(7, "Первый");
  both.blocks.push_back(makeModel(7, "Second", "English").blocks[0]);
  both.blocks.push_back(makeModel(7, "Второй").blocks[0]);
  s.models.push_back(both);

  TypeSource t = makeType(1, {0x01100000}, 2);
  t.titles.push_back({kRu, {"a", "b", "c"}, {"d", "e", "f"}});
  t.titles.push_back({"English", {"x", "y", "z"}, {"u", "v", "w"}});
  t.parameterNames.push_back({kRu, {{0, "первый"}, {1, "один"}, {1, "два"}}});
  t.parameterNames.push_back({kRu, {{2, "последний"}}});
  t.parameterNames.push_back({"English", {{3, "english"}}});
  s.types.push_back(t);
  s.types.push_back(makeType(2, {0x01100000}, 2));
  s.types.back().titles.clear();

  DeviceCatalogue c;
  ASSERT_TRUE(loadSource(s, 15, c));
  EXPECT_EQ(c.findModel(5), nullptr);
  EXPECT_EQ(c.findModel(6), nullptr);  // case differs: no match
  EXPECT_EQ(c.findModel(7)->name, "Второй");
  const auto& d = *c.findDescription(1);
  EXPECT_EQ(d.groupTitles, (std::array<std::string, 3>{"a", "b", "c"}));
  EXPECT_EQ(d.groupColumnTitles, (std::array<std::string, 3>{"d", "e", "f"}));
  // The last matching block replaces the names as a whole.
  EXPECT_EQ(d.parameterNames, (std::map<std::uint32_t, std::string>{{2, "последний"}}));
  EXPECT_TRUE(c.findDescription(2)->groupTitles[0].empty());
  EXPECT_TRUE(c.findDescription(2)->parameterNames.empty());
  EXPECT_EQ(c.units[1], "м/с2");

  DeviceCatalogue e;
  ASSERT_TRUE(loadSource(s, 15, e, "English"));
  EXPECT_EQ(e.findModel(7)->name, "Second");
  EXPECT_EQ(e.findDescription(1)->parameterNames.at(3), "english");
  EXPECT_EQ(e.units[1], "m/s2");
  EXPECT_EQ(e.units[3], "EU");
  EXPECT_EQ(e.units[15], "no");
}

TEST(CatalogueLoader, LaterRecordsReplaceEarlierOnes) {
  CatalogueSource s = minimalSource();
  s.types.push_back(makeType(3, {0x01100000}, 2));
  s.types.push_back(makeType(3, {0x01100000, 0x01100001}, 4));
  s.bandNames = {"a", "b"};
  s.bandNameTranslations.push_back({kRu, {{1, "B"}, {2, "ignored"}}});
  s.bandNameTranslations.push_back({"English", {{0, "not ours"}}});
  for (int i = 0; i < 3; ++i) s.extraTables.push_back({7, kRu, {"t" + std::to_string(i), {}, {}, {}, {}}});
  s.extraTables.insert(s.extraTables.begin() + 1, {8, kRu, {"eight", {}, {}, {}, {}}});
  s.extraTables.push_back({7, "English", {"foreign", {}, {}, {}, {}}});
  DeviceCatalogue c;
  ASSERT_TRUE(loadSource(s, 15, c));
  EXPECT_EQ(c.findDescription(3)->recordSize, 4u);
  EXPECT_EQ(c.bandNames, (BandNameList{"a", "B"}));
  EXPECT_EQ(c.bandName(1), "B");
  EXPECT_EQ(c.bandName(2), std::nullopt);
  const auto seven = c.extraTables(7);
  ASSERT_EQ(seven.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(seven[i]->name, "t" + std::to_string(i));
  ASSERT_EQ(c.extraTables(8).size(), 1u);
  EXPECT_EQ(c.extraTables(8)[0]->name, "eight");
  EXPECT_TRUE(c.extraTables(9).empty());
  EXPECT_TRUE(c.extraTables(6).empty());
}

TEST(CatalogueLoader, EmptyTextsAndEmptyCatalogueSections) {
  CatalogueSource s;
  ModelSource m;
  m.modelCode = 0;
  m.blocks.push_back({kRu, {}});
  s.models.push_back(m);
  s.types.push_back(makeType(0, {}, 0));
  s.types[0].titles = {{kRu, {"", "", ""}, {"", "", ""}}};
  DeviceCatalogue c;
  ASSERT_TRUE(loadSource(s, 15, c));
  EXPECT_EQ(c.findModel(0)->name, "");
  EXPECT_TRUE(c.findDescription(0)->layout.empty());
  EXPECT_EQ(c.findDescription(0)->typeEchoOffset, -1);
}

TEST(CatalogueLoader, EveryTruncationFailsCleanly) {
  const auto bytes = writeCatalogue(richSource(), 15);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    DeviceCatalogue c;
    EXPECT_FALSE(loadCatalogue(std::span(bytes.data(), n), kRussianLanguage, c)) << n;
  }
  DeviceCatalogue whole;
  EXPECT_TRUE(loadCatalogue(bytes, kRussianLanguage, whole));
}

TEST(CatalogueLoader, HostileCountsAndLengthsAreRefused) {
  const auto header = [](std::uint32_t version) {
    ByteWriter w;
    w.u32(kCatalogueMagic);
    w.u32(version);
    return w;
  };
  const auto refuses = [](ByteWriter& w) {
    DeviceCatalogue c;
    return !loadCatalogue(w.data(), kRussianLanguage, c);
  };
  {  // a type count far beyond the file
    ByteWriter w = header(15);
    w.u32(0xFFFFFFFF);
    EXPECT_TRUE(refuses(w));
  }
  {  // a text length that is negative as a signed number
    ByteWriter w = header(15);
    w.u32(0);
    w.u32(1);
    w.u32(5);
    w.u32(1);
    w.u32(0x80000000);
    EXPECT_TRUE(refuses(w));
  }
  {  // an extra table whose P x B cells cannot fit
    CatalogueSource s = minimalSource();
    auto bytes = writeCatalogue(s, 15);
    ByteWriter w;
    w.bytes(bytes.data(), bytes.size() - 4);  // drop the empty section 8 count
    w.u32(1);
    w.u32(7);
    w.text16(u"Русский");
    w.text16(u"t");
    w.u32(0x10000);
    w.u32(0x10000);
    EXPECT_TRUE(refuses(w));
  }
  {  // wrong magic
    ByteWriter w;
    w.u32(0x44545047);
    w.u32(0);
    EXPECT_TRUE(refuses(w));
  }
}

TEST(CatalogueLoader, MissingFileFails) {
  DeviceCatalogue c;
  EXPECT_FALSE(loadCatalogueFile("/nonexistent/TeleDescFile.bin", kRussianLanguage, c));
  EXPECT_FALSE(loadCatalogueFile("/", kRussianLanguage, c));
}

TEST(CatalogueWriter, SourceOfALoadedCatalogueRoundTrips) {
  DeviceCatalogue first;
  ASSERT_TRUE(loadSource(richSource(), 15, first));
  DeviceCatalogue second;
  ASSERT_TRUE(loadSource(catalogueToSource(first, kRu), 15, second));
  EXPECT_EQ(first.descriptions, second.descriptions);
  EXPECT_EQ(first.models, second.models);
  EXPECT_EQ(first.bandNames, second.bandNames);
  ASSERT_EQ(second.extraTableMap.size(), 1u);
  EXPECT_EQ(first.extraTableMap.begin()->second, second.extraTableMap.begin()->second);
}

}  // namespace
}  // namespace sonvera
