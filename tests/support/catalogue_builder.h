#pragma once
// Small catalogues for tests, written with the production catalogue writer.

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_source.h"

namespace sonvera::test {

inline const std::string kRu{kRussianLanguage};

// A type with the given layout and record size, titled in Russian.
TypeSource makeType(std::uint32_t typeCode, std::vector<ParameterCode> layout,
                    std::uint32_t recordSize);

// A model with one Russian block.
ModelSource makeModel(std::uint32_t modelCode, const std::string& name,
                      const std::string& language = kRu);

// A source with one model so that it loads for Russian.
CatalogueSource minimalSource();

// Writes and loads `source` at `version` for `language`.
bool loadSource(const CatalogueSource& source, std::uint32_t version, DeviceCatalogue& out,
                const std::string& language = kRu);

}  // namespace sonvera::test
