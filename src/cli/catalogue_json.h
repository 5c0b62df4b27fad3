#pragma once
// The JSON form of a catalogue source (schema in docs/catalogue.md).

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "catalogue/catalogue_source.h"

namespace sonvera::cli {

struct CatalogueDocument {
  std::uint32_t version = 15;
  CatalogueSource source;
};

// Parses a document; on failure returns nothing and sets `error`.
std::optional<CatalogueDocument> catalogueFromJson(const nlohmann::ordered_json& json, std::string& error);
nlohmann::ordered_json catalogueToJson(const CatalogueDocument& document);

}  // namespace sonvera::cli
