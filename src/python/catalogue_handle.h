#pragma once
// A device catalogue as the module holds it: loaded once, shared read-only by
// every file opened with it (a file keeps its catalogue alive).

#include <memory>
#include <optional>
#include <string>

#include "catalogue/device_catalogue.h"

namespace sonvera::python {

struct Catalogue {
  DeviceCatalogue catalogue;
  std::string path;
};
using CataloguePtr = std::shared_ptr<const Catalogue>;

// The catalogue at `path`, or where the program looks for it (beside the
// module, then in the installation's data folder; $SONVERA_CATALOGUE first).
// Throws Refusal with the program's message, the path and why.
CataloguePtr loadCatalogue(const std::optional<std::string>& path);

// The program's catalogue, loaded on first use and kept for the process.
CataloguePtr defaultCatalogue();

}  // namespace sonvera::python
