#include "catalogue_commands.h"

#include <algorithm>
#include <ostream>

#include "app/failure_reasons.h"
#include "app/strings.h"
#include "cli_host.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue_json.h"
#include "platform/platform.h"

namespace sonvera::cli {

int buildCatalogue(const BuildOptions& options, std::ostream& out, std::ostream& err) {
  std::vector<std::uint8_t> bytes;
  if (!platform::readWholeFile(options.sourcePath, bytes)) {
    err << "cannot read " << options.sourcePath << "\n";
    return 1;
  }
  const auto json = nlohmann::ordered_json::parse(bytes.begin(), bytes.end(), nullptr, false);
  if (json.is_discarded()) {
    err << options.sourcePath << ": not valid JSON\n";
    return 1;
  }
  std::string error;
  auto document = catalogueFromJson(json, error);
  if (!document) {
    err << options.sourcePath << ": " << error << "\n";
    return 1;
  }
  const std::uint32_t version = options.version >= 0 ? static_cast<std::uint32_t>(options.version) : document->version;
  if (version > kCatalogueLatestVersion) {
    err << "catalogue version must be 0 to " << kCatalogueLatestVersion << "\n";
    return 2;
  }
  if (writesOverFileInUse({options.sourcePath}, options.outputPath, err)) return 1;
  if (!platform::writeWholeFile(options.outputPath, writeCatalogue(document->source, version))) {
    err << "cannot write " << options.outputPath << "\n";
    return 1;
  }
  out << options.outputPath << ": " << document->source.types.size() << " types, "
      << document->source.models.size() << " models, version " << version << "\n";
  return 0;
}

int dumpCatalogue(const DumpOptions& options, std::ostream& out, std::ostream& err) {
  const std::string path = cliCataloguePath(options.cataloguePath);
  std::vector<std::uint8_t> bytes;
  DeviceCatalogue catalogue;
  if (!platform::readWholeFile(path, bytes) || !loadCatalogue(bytes, options.language, catalogue)) {
    const auto& languages = catalogue.languages;
    if (bytes.empty() || languages.empty() ||
        std::find(languages.begin(), languages.end(), options.language) != languages.end()) {
      reportCatalogueFailure(options.cataloguePath, catalogueFailureReason(path), err);
      return 1;
    }
    std::string known;
    for (const std::string& language : languages) known += (known.empty() ? "" : ", ") + language;
    err << path << ": в каталоге нет текстов на языке «" << options.language << "»; в нём есть: " << known << "\n";
    return 1;
  }
  CatalogueDocument document;
  document.version = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | std::uint32_t{bytes[7]} << 24;
  document.source = catalogueToSource(catalogue, options.language);
  out << catalogueToJson(document).dump(2) << "\n";
  return 0;
}

}  // namespace sonvera::cli
