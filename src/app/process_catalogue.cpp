#include "app/process_catalogue.h"

#include "catalogue/catalogue_loader.h"

namespace sonvera {
namespace {

DeviceCatalogue& instance() {
  static DeviceCatalogue catalogue;
  return catalogue;
}

}  // namespace

const DeviceCatalogue& processCatalogue() { return instance(); }

bool loadProcessCatalogue(const std::string& path) {
  return loadCatalogueFile(path.empty() ? defaultCataloguePath() : path, kRussianLanguage, instance());
}

}  // namespace sonvera
