#include "catalogue_json.h"

#include <cstdio>
#include <stdexcept>

namespace sonvera::cli {
namespace {

using json = nlohmann::ordered_json;

// Numbers may be written as JSON numbers or as "0x..." strings.
std::uint32_t word(const json& j) {
  if (j.is_string()) {
    const std::string s = j.get<std::string>();
    std::size_t used = 0;
    const unsigned long long v = std::stoull(s, &used, 0);
    if (used != s.size() || v > 0xFFFFFFFFull) throw std::invalid_argument("bad number \"" + s + "\"");
    return static_cast<std::uint32_t>(v);
  }
  if (j.is_number_integer()) {
    const auto v = j.get<std::int64_t>();
    if (v < INT32_MIN || v > 0xFFFFFFFFll) throw std::invalid_argument("number out of range");
    return static_cast<std::uint32_t>(v);
  }
  throw std::invalid_argument("expected a number, got " + j.dump());
}

std::string hex(std::uint32_t v) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", v);
  return buffer;
}

std::vector<std::uint32_t> words(const json& j) {
  std::vector<std::uint32_t> out;
  for (const auto& e : j) out.push_back(word(e));
  return out;
}

template <std::size_t N>
std::array<std::string, N> texts(const json& j) {
  std::array<std::string, N> out;
  if (j.size() > N) throw std::invalid_argument("more than " + std::to_string(N) + " texts");
  for (std::size_t i = 0; i < j.size(); ++i) out[i] = j[i].get<std::string>();
  return out;
}

std::vector<std::pair<std::uint32_t, std::string>> indexedNames(const json& j) {
  std::vector<std::pair<std::uint32_t, std::string>> out;
  for (const auto& [key, value] : j.items()) out.emplace_back(word(json(key)), value.get<std::string>());
  return out;
}

json indexedNamesJson(const std::vector<std::pair<std::uint32_t, std::string>>& names) {
  json j = json::object();
  for (const auto& [index, name] : names) j[std::to_string(index)] = name;
  return j;
}

template <typename T>
T valueOr(const json& j, const char* key, T fallback) {
  return j.contains(key) ? j.at(key).get<T>() : fallback;
}

TypeSource typeFromJson(const json& j) {
  TypeSource t;
  t.typeCode = word(j.at("typeCode"));
  t.layout = words(j.at("layout"));
  t.formats = j.contains("formats") ? words(j.at("formats")) : std::vector<std::uint32_t>(t.layout.size(), 0xFFFF);
  if (j.contains("bandNameStart")) {
    const auto start = words(j.at("bandNameStart"));
    if (start.size() != 3) throw std::invalid_argument("bandNameStart takes 3 numbers");
    t.bandNameStart = {static_cast<std::uint16_t>(start[0]), static_cast<std::uint16_t>(start[1])};
    t.bandNameStart2 = start[2];
  }
  if (j.contains("bandNameStep")) {
    const auto step = words(j.at("bandNameStep"));
    if (step.size() != 2) throw std::invalid_argument("bandNameStep takes 2 numbers");
    t.bandNameStep = {static_cast<std::uint16_t>(step[0]), static_cast<std::uint16_t>(step[1])};
  }
  if (j.contains("reservedWords")) {
    const auto w = words(j.at("reservedWords"));
    if (w.size() != 3) throw std::invalid_argument("reservedWords takes 3 numbers");
    t.reservedWords = {w[0], w[1], w[2]};
  }
  t.blockCount = j.contains("blockCount") ? word(j.at("blockCount")) : 0;
  t.reservedReal = valueOr(j, "reservedReal", 0.0);
  if (j.contains("reservedList")) t.reservedList = words(j.at("reservedList"));
  t.defaultReference = valueOr(j, "defaultReference", 1.0);
  for (const auto& b : j.value("titles", json::array()))
    t.titles.push_back({b.at("language").get<std::string>(), texts<3>(b.value("groupTitles", json::array())),
                        texts<3>(b.value("columnTitles", json::array()))});
  t.recordSize = word(j.at("recordSize"));
  t.wideBandIndex = j.contains("wideBandIndex") ? word(j.at("wideBandIndex")) : 0;
  t.reservedFlag = j.contains("reservedFlag") ? word(j.at("reservedFlag")) : 0;
  for (const auto& b : j.value("parameterNames", json::array()))
    t.parameterNames.push_back({b.at("language").get<std::string>(), indexedNames(b.at("names"))});
  return t;
}

json typeToJson(const TypeSource& t) {
  json j;
  j["typeCode"] = t.typeCode;
  json layout = json::array();
  for (const auto c : t.layout) layout.push_back(hex(c));
  j["layout"] = layout;
  json formats = json::array();
  for (const auto f : t.formats) formats.push_back(hex(f));
  j["formats"] = formats;
  j["bandNameStart"] = {t.bandNameStart[0], t.bandNameStart[1], t.bandNameStart2};
  j["bandNameStep"] = {t.bandNameStep[0], t.bandNameStep[1]};
  j["reservedWords"] = t.reservedWords;
  j["blockCount"] = t.blockCount;
  j["reservedReal"] = t.reservedReal;
  j["reservedList"] = t.reservedList;
  j["defaultReference"] = t.defaultReference;
  j["titles"] = json::array();
  for (const auto& b : t.titles)
    j["titles"].push_back({{"language", b.language}, {"groupTitles", b.groupTitles}, {"columnTitles", b.groupColumnTitles}});
  j["recordSize"] = t.recordSize;
  j["wideBandIndex"] = t.wideBandIndex;
  j["reservedFlag"] = t.reservedFlag;
  j["parameterNames"] = json::array();
  for (const auto& b : t.parameterNames)
    j["parameterNames"].push_back({{"language", b.language}, {"names", indexedNamesJson(b.names)}});
  return j;
}

ModelSource modelFromJson(const json& j) {
  ModelSource m;
  m.modelCode = word(j.at("modelCode"));
  for (const auto& b : j.at("blocks")) {
    ModelBlockSource block;
    block.language = b.at("language").get<std::string>();
    block.model.name = b.value("name", "");
    block.model.channelUnits = texts<4>(b.value("channelUnits", json::array()));
    block.model.channelNames = texts<4>(b.value("channelNames", json::array()));
    m.blocks.push_back(std::move(block));
  }
  return m;
}

json modelToJson(const ModelSource& m) {
  json blocks = json::array();
  for (const auto& b : m.blocks)
    blocks.push_back({{"language", b.language}, {"name", b.model.name},
                      {"channelUnits", b.model.channelUnits}, {"channelNames", b.model.channelNames}});
  return {{"modelCode", m.modelCode}, {"blocks", blocks}};
}

std::vector<std::vector<std::uint32_t>> matrix(const json& j) {
  std::vector<std::vector<std::uint32_t>> out;
  for (const auto& row : j) out.push_back(words(row));
  return out;
}

json matrixJson(const std::vector<std::vector<std::uint32_t>>& rows) {
  json j = json::array();
  for (const auto& row : rows) {
    json r = json::array();
    for (const auto v : row) r.push_back(hex(v));
    j.push_back(r);
  }
  return j;
}

ExtraTableSource extraFromJson(const json& j) {
  ExtraTableSource e;
  e.typeCode = word(j.at("typeCode"));
  e.language = j.at("language").get<std::string>();
  e.table.name = j.value("name", "");
  e.table.bandNames = j.value("bandNames", std::vector<std::string>{});
  e.table.parameterNames = j.value("parameterNames", std::vector<std::string>{});
  if (j.contains("codes")) e.table.codes = matrix(j.at("codes"));
  if (j.contains("formats")) e.table.formats = matrix(j.at("formats"));
  return e;
}

json extraToJson(const ExtraTableSource& e) {
  return {{"typeCode", e.typeCode},
          {"language", e.language},
          {"name", e.table.name},
          {"bandNames", e.table.bandNames},
          {"parameterNames", e.table.parameterNames},
          {"codes", matrixJson(e.table.codes)},
          {"formats", matrixJson(e.table.formats)}};
}

}  // namespace

std::optional<CatalogueDocument> catalogueFromJson(const json& j, std::string& error) {
  try {
    CatalogueDocument doc;
    doc.version = j.contains("version") ? word(j.at("version")) : 15;
    auto& s = doc.source;
    for (const auto& t : j.value("types", json::array())) s.types.push_back(typeFromJson(t));
    for (const auto& m : j.value("models", json::array())) s.models.push_back(modelFromJson(m));
    s.bandNames = j.value("bandNames", std::vector<std::string>{});
    for (const auto& b : j.value("bandNameTranslations", json::array()))
      s.bandNameTranslations.push_back({b.at("language").get<std::string>(), indexedNames(b.at("names"))});
    for (const auto& e : j.value("extraTables", json::array())) s.extraTables.push_back(extraFromJson(e));
    return doc;
  } catch (const std::exception& e) {
    error = e.what();
    return std::nullopt;
  }
}

json catalogueToJson(const CatalogueDocument& doc) {
  const auto& s = doc.source;
  json j;
  j["version"] = doc.version;
  j["types"] = json::array();
  for (const auto& t : s.types) j["types"].push_back(typeToJson(t));
  j["models"] = json::array();
  for (const auto& m : s.models) j["models"].push_back(modelToJson(m));
  j["bandNames"] = s.bandNames;
  j["bandNameTranslations"] = json::array();
  for (const auto& b : s.bandNameTranslations)
    j["bandNameTranslations"].push_back({{"language", b.language}, {"names", indexedNamesJson(b.names)}});
  j["extraTables"] = json::array();
  for (const auto& e : s.extraTables) j["extraTables"].push_back(extraToJson(e));
  return j;
}

}  // namespace sonvera::cli
